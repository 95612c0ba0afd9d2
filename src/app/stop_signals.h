// Signals that ask a program to stop turned into a call on the event loop's thread.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace morv {

// While it lives, the signals given (SIGTERM and SIGINT unless told) call `stop` from the event
// loop instead of ending the process at once; a SIGHUP that the program was started with ignored,
// as nohup starts it, stays ignored. Only one may live at a time.
class TStopSignals {
 public:
  explicit TStopSignals(std::function<void()> stop);
  TStopSignals(std::initializer_list<int> caught, std::function<void()> stop);
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;
  ~TStopSignals();

 private:
  std::vector<int> signals_;
  std::function<void()> stop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace morv
