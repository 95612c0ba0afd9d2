// Keeps the working model in a recovery file for as long as it has changes that are not saved.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "engine/model.h"
#include "platform/prompts.h"
#include "platform/recovery_file.h"
#include "ui/model_history.h"

namespace morv {

// When the keeper looks at the model next. The program waits on a timer of the event loop; a test
// puts in a clock of its own, which it moves on itself.
class TDelay {
 public:
  virtual ~TDelay() = default;
  // `due` runs once when `ms` have passed, in place of any call still waiting.
  virtual void Start(int ms, std::function<void()> due) = 0;
  virtual void Stop() = 0;
  virtual bool Waiting() const = 0;
};

class TTimerDelay : public TDelay {
 public:
  TTimerDelay();
  void Start(int ms, std::function<void()> due) override;
  void Stop() override { timer_.stop(); }
  bool Waiting() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> due_;
};

class TRecoveryKeeper : public QObject {
 public:
  // A change reaches the file this long after it was made, or once the edit under way is done.
  static constexpr int WriteDelayMs = 5000;
  static constexpr int BusyRetryMs = 1000;

  // `busy` is true while an edit is under way whose middle must not be kept, such as a drag. A
  // file that cannot be written is told to the user through `prompts`, once in the run.
  TRecoveryKeeper(TModelHistory& history, const TMorvObject& model, Prompts& prompts,
                  std::function<bool()> busy, QObject* parent = nullptr);
  // The run ends properly: its file goes.
  ~TRecoveryKeeper() override;

  // A file left behind by another run, whose model the working one now is, becomes this run's.
  void Adopt(TRecoveryFile file);
  // The file this run keeps; it does not exist while the model has no unsaved changes.
  const TRecoveryFile& File() const { return file_; }

  // The run is ended from outside, by a logout or a shutdown, and nobody is there to answer: the
  // unsaved changes are written at once, even in the middle of a drag, and the file stays for the
  // next start to offer, as after a crash. Without unsaved changes no file stays. The keeper keeps
  // nothing after this.
  void KeepForNextStart();

  // Waits on `delay` from now on instead of its timer.
  void UseDelay(std::unique_ptr<TDelay> delay);

 private:
  void ModelTouched();
  void WriteIfChanged();
  // Writes the model unless the file holds it already; on failure returns the reason.
  std::optional<QString> Write();

  TModelHistory& history_;
  const TMorvObject& model_;
  Prompts& prompts_;
  std::function<bool()> busy_;
  TRecoveryFile file_;
  // The model as the file holds it.
  std::unique_ptr<TMorvObject> written_;
  std::unique_ptr<TDelay> delay_;
  bool warned_ = false;
  bool ended_ = false;
};

}  // namespace morv
