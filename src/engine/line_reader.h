// Reading a file's lines by position: values of one line each, counts checked against capacity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/line_text.h"

namespace morv {

class LineReader {
 public:
  // With `numberErrors` a line that is not an integer is reported with its line number.
  LineReader(const TextLines& lines, bool numberErrors) : lines_(lines), numbered_(numberErrors) {}

  // Line n counted from 0; lines past the end of the file read as empty text.
  const std::string& Text(std::size_t n) const;

  int32_t Integer(std::size_t n) const;

  // An integer of 0..limit; anything else throws FormatError naming the line.
  int32_t Count(std::size_t n, int32_t limit, const char* what) const;

 private:
  const TextLines& lines_;
  bool numbered_;
};

}  // namespace morv
