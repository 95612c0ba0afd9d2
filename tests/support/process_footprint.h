// What a running process holds, read from /proc: its open file descriptors and resident memory.
#pragma once

#include <QtGlobal>
#include <optional>

namespace morv::load {

struct TProcessFootprint {
  int OpenFiles = 0;
  qint64 RssKiB = 0;
};

// Empty when the process is gone or /proc cannot be read.
std::optional<TProcessFootprint> ReadFootprint(qint64 pid);

// Reads until two readings a little apart agree on the open files: a server that has just
// closed its connections may still be releasing them.
std::optional<TProcessFootprint> SettledFootprint(qint64 pid);

}  // namespace morv::load
