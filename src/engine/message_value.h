// Values read from files and command lines, made fit to quote in a message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morv {

// A quoted value shows at most this many characters before it is cut.
inline constexpr std::size_t MessageValueLength = 60;

// The 8-bit `latin1` value as UTF-8 that prints on one line: tab, CR and LF become \t, \r and
// \n, a backslash becomes \\, and every other character that does not print (control characters,
// DEL, the no-break space and the soft hyphen) becomes \x and two upper-case hex digits. A value
// that would show more than MessageValueLength characters is cut there, never inside an escape,
// and ends with "…", which no 8-bit value can hold.
std::string MessageValue(std::string_view latin1);

}  // namespace morv
