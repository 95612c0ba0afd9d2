// A delay on a clock the test moves on itself, for what the program does some time after a change.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "ui/recovery_keeper.h"

namespace morv::test {

class ManualDelay : public TDelay {
 public:
  void Start(int ms, std::function<void()> due) override {
    dueAt_ = now_ + ms;
    due_ = std::move(due);
    waiting_ = true;
  }
  void Stop() override { waiting_ = false; }
  bool Waiting() const override { return waiting_; }

  // Moves the clock on by `ms`; each call that falls due on the way runs at its own time, and may
  // start the next.
  void Advance(long long ms) {
    const long long end = now_ + ms;
    while (waiting_ && dueAt_ <= end) {
      now_ = dueAt_;
      waiting_ = false;
      const std::function<void()> due = due_;
      due();
    }
    now_ = end;
  }

  long long Now() const { return now_; }

 private:
  long long now_ = 0;
  long long dueAt_ = 0;
  bool waiting_ = false;
  std::function<void()> due_;
};

// Puts a manual delay into the keeper of the running program; the keeper owns it.
inline ManualDelay& ManualKeeperDelay(TRecoveryKeeper& keeper) {
  auto delay = std::make_unique<ManualDelay>();
  ManualDelay& held = *delay;
  keeper.UseDelay(std::move(delay));
  return held;
}

}  // namespace morv::test
