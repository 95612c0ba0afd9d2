// Reading a file's lines by position: values of one line each, counts checked against capacity.
#include "engine/line_reader.h"

#include "engine/errors.h"
#include "engine/integer_text.h"

namespace morv {

namespace {

std::string LinePrefix(std::size_t n) { return "Line " + std::to_string(n + 1) + ": "; }

}  // namespace

const std::string& LineReader::Text(std::size_t n) const {
  static const std::string empty;
  return n < lines_.size() ? lines_[n] : empty;
}

int32_t LineReader::Integer(std::size_t n) const {
  // A file cut short is told apart from an empty line, which a text editor would show.
  if (n >= lines_.size()) {
    throw ConversionError(LinePrefix(n) +
                          "the file ends before this line, which should hold an integer value");
  }
  try {
    return StrToInt(lines_[n]);
  } catch (const ConversionError& error) {
    throw ConversionError(LinePrefix(n) + error.what());
  }
}

int32_t LineReader::Count(std::size_t n, int32_t limit, const char* what) const {
  const int32_t value = Integer(n);
  if (value < 0 || value > limit) {
    throw FormatError(LinePrefix(n) + std::to_string(value) + " is not a valid number of " + what +
                      " (0 to " + std::to_string(limit) + ")");
  }
  return value;
}

}  // namespace morv
