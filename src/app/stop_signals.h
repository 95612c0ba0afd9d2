// SIGTERM and SIGINT turned into a call on the event loop's thread.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace morv {

// While it lives, SIGTERM and SIGINT call `stop` from the event loop instead of ending the
// process at once. Only one may live at a time.
class TStopSignals {
 public:
  explicit TStopSignals(std::function<void()> stop);
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;
  ~TStopSignals();

 private:
  std::function<void()> stop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace morv
