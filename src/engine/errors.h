// The errors that commands report to the user; their text is UTF-8 and carries no final full stop.
#pragma once

#include <stdexcept>
#include <string>

namespace morv {

// A value that does not convert, such as a line that must hold an integer and does not.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened, created or written.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that reads but whose content the model cannot hold, or a model a file cannot hold.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace morv
