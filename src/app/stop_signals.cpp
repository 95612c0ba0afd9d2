// Signals that ask a program to stop turned into a call on the event loop's thread.
#include "app/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace morv {

namespace {

// A signal handler may do next to nothing: it writes one byte into a pipe whose other end the
// event loop watches.
int pipeFds[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a pending stop.
  [[maybe_unused]] const ssize_t written = write(pipeFds[1], &byte, 1);
  errno = saved;
}

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

}  // namespace

TStopSignals::TStopSignals(std::function<void()> stop)
    : TStopSignals({SIGTERM, SIGINT}, std::move(stop)) {}

TStopSignals::TStopSignals(std::initializer_list<int> caught, std::function<void()> stop)
    : stop_(std::move(stop)) {
  for (const int signal : caught) {
    struct sigaction before;
    if (signal == SIGHUP && sigaction(SIGHUP, nullptr, &before) == 0 &&
        before.sa_handler == SIG_IGN) {
      continue;
    }
    signals_.push_back(signal);
  }
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error(std::string("cannot create the signal pipe: ") + std::strerror(errno));
  }
  notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    stop_();
  });
  for (const int signal : signals_) SetHandler(signal, OnStopSignal);
}

TStopSignals::~TStopSignals() {
  for (const int signal : signals_) SetHandler(signal, SIG_DFL);
  notifier_.reset();
  close(pipeFds[0]);
  close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

}  // namespace morv
