// Text files as lists of 8-bit lines.
#include "engine/line_text.h"

namespace morv {

TextLines SplitLines(std::string_view bytes) {
  // One allocation for the whole list: growing it step by step costs far more than a count.
  std::size_t ends = 0;
  for (char c : bytes) ends += (c == '\r' || c == '\n') ? 1 : 0;
  TextLines lines;
  lines.reserve(ends + 1);
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::string JoinLines(const TextLines& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace morv
