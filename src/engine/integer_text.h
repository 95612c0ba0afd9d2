// Conversion between 32-bit integers and their decimal text in files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morv {

// Accepts an optional sign and decimal digits, with blanks around them; anything else, and any
// value outside the 32-bit range, throws ConversionError "'<text>' is not a valid integer value"
// with the text as MessageValue shows it.
int32_t StrToInt(std::string_view text);

// Plain decimal: an optional minus sign and digits.
std::string IntToStr(int32_t value);

}  // namespace morv
