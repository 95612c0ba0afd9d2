// A file size limit, which makes a save fail midway as a full disk does.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QProcess>

namespace morv::test {

// Limits the files this process writes to `bytes` while it lives. SIGXFSZ is ignored, so a write
// past the limit fails with EFBIG instead of ending the process; unlike a real full disk, this
// works for root and needs no mount. Start no child process while one is held: children inherit
// the limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

// Gives a child process started by `process` the same limit, set between fork and exec.
inline void LimitChildFileSize(QProcess& process, rlim_t bytes) {
  process.setChildProcessModifier([bytes] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limited{};
    getrlimit(RLIMIT_FSIZE, &limited);
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  });
}

}  // namespace morv::test
