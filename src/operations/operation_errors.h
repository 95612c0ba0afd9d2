// The errors of the operations beyond the engine's own: a request the files cannot satisfy, and a
// value an operation does not take.
#pragma once

#include <stdexcept>

namespace morv {

// A request the files cannot satisfy, such as an animation or a joint they do not hold, or content
// a file cannot be read as. The text names the file where there is one and carries no final full
// stop.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value outside what the operation takes: an angle past 360, a 1001st vertex, a patch of seven
// vertices, an output suffix no writer has. Nothing has changed when it is thrown.
class RequestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace morv
