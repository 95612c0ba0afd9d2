// Conversion between the 8-bit texts of model files and UTF-8.
#include "engine/latin1.h"

namespace morv {

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char ch : latin1) {
    const unsigned c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::size_t length = (c >= 0xF0) ? 4 : (c >= 0xE0) ? 3 : (c >= 0xC0) ? 2 : 1;
    bool well_formed = length > 1 && i + length <= utf8.size();
    unsigned code = c & (0x3F >> (length - 1));
    for (std::size_t k = 1; well_formed && k < length; ++k) {
      const unsigned next = static_cast<unsigned char>(utf8[i + k]);
      well_formed = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    out += (well_formed && code <= 0xFF) ? static_cast<char>(code) : '?';
    i += well_formed ? length : 1;
  }
  return out;
}

}  // namespace morv
