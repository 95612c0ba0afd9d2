// Text files as lists of 8-bit lines: split at CR LF, CR or LF; written with CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morv {

using TextLines = std::vector<std::string>;

// A final line end does not start another line: "a\r\nb\r\n" holds two lines.
TextLines SplitLines(std::string_view bytes);

// Every line, the last one included, ends with CR LF.
std::string JoinLines(const TextLines& lines);

}  // namespace morv
