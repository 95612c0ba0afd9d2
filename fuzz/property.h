// A broken property stops the fuzz run: the message names it and the trap leaves a reproducer.
#pragma once

#include <cstdio>

namespace morv {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "Property broken: %s\n", property);
  __builtin_trap();
}

}  // namespace morv
