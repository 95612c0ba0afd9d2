// Model texts are 8-bit (ISO 8859-1); messages and terminals speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace morv {

std::string Latin1ToUtf8(std::string_view latin1);

// Characters beyond ISO 8859-1, and malformed sequences, become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

}  // namespace morv
