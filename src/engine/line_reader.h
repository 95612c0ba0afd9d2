// Reading a file's lines by position: values of one line each, counts checked against capacity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/line_text.h"

namespace morv {

// Every error names the line as a text editor numbers it, from 1: "Line 7: ...".
class LineReader {
 public:
  explicit LineReader(const TextLines& lines) : lines_(lines) {}

  // Line n counted from 0; lines past the end of the file read as empty text.
  const std::string& Text(std::size_t n) const;

  // Throws ConversionError for a line that is not an integer, and for a line past the end of
  // the file, saying that the file ends there.
  int32_t Integer(std::size_t n) const;

  // An integer of 0..limit; anything else throws FormatError naming the line.
  int32_t Count(std::size_t n, int32_t limit, const char* what) const;

 private:
  const TextLines& lines_;
};

}  // namespace morv
