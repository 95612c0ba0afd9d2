// Keeps the working model in a recovery file for as long as it has changes that are not saved.
#include "ui/recovery_keeper.h"

#include <QFile>
#include <QtGlobal>

#include "engine/errors.h"
#include "engine/model_diff.h"
#include "engine/model_file.h"

namespace morv {

TTimerDelay::TTimerDelay() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The call may start the next wait, which replaces the one running.
    const std::function<void()> due = due_;
    due();
  });
}

void TTimerDelay::Start(int ms, std::function<void()> due) {
  due_ = std::move(due);
  timer_.start(ms);
}

TRecoveryKeeper::TRecoveryKeeper(TModelHistory& history, const TMorvObject& model, Prompts& prompts,
                                 std::function<bool()> busy, QObject* parent)
    : QObject(parent),
      history_(history),
      model_(model),
      prompts_(prompts),
      busy_(std::move(busy)),
      written_(std::make_unique<TMorvObject>()),
      delay_(std::make_unique<TTimerDelay>()) {
  connect(&history_, &TModelHistory::Touched, this, &TRecoveryKeeper::ModelTouched);
  connect(&history_, &TModelHistory::Saved, this, [this] {
    delay_->Stop();
    file_.Remove();
  });
}

TRecoveryKeeper::~TRecoveryKeeper() { file_.Remove(); }

void TRecoveryKeeper::Adopt(TRecoveryFile file) {
  file_.Remove();
  file_ = std::move(file);
  *written_ = model_;
}

void TRecoveryKeeper::UseDelay(std::unique_ptr<TDelay> delay) {
  const bool waiting = delay_->Waiting();
  delay_->Stop();
  delay_ = std::move(delay);
  if (waiting) delay_->Start(WriteDelayMs, [this] { WriteIfChanged(); });
}

void TRecoveryKeeper::ModelTouched() {
  if (ended_) return;
  // A change coming soon after another does not put the write off. Whether there is anything to
  // keep is asked when the time comes: the model may be told of a change before it is made.
  if (!delay_->Waiting()) delay_->Start(WriteDelayMs, [this] { WriteIfChanged(); });
}

std::optional<QString> TRecoveryKeeper::Write() {
  if (file_.Exists() && SameModel(model_, *written_)) return std::nullopt;
  try {
    TextLines lines;
    SaveModel(model_, lines);
    file_.Write(lines);
    *written_ = model_;
    return std::nullopt;
  } catch (const FileError& error) {
    return QString::fromUtf8(error.what());
  } catch (const FormatError& error) {
    return QString::fromUtf8(error.what());
  }
}

void TRecoveryKeeper::WriteIfChanged() {
  if (ended_) return;
  if (busy_()) {
    delay_->Start(BusyRetryMs, [this] { WriteIfChanged(); });
    return;
  }
  // Undone back to what was saved: nothing is left to recover.
  if (!history_.Changed()) {
    file_.Remove();
    return;
  }
  const std::optional<QString> failure = Write();
  // Told once in the run, not at every change: the user is editing, and a save of their own
  // still works. The box runs its own event loop, in which this may run again.
  if (!failure || warned_) return;
  warned_ = true;
  qWarning("morv: the model cannot be kept for recovery: %s", qUtf8Printable(*failure));
  prompts_.ShowMessage(QStringLiteral("Changes to the model are not being kept for recovery: ") +
                       *failure + QLatin1Char('.'));
}

void TRecoveryKeeper::KeepForNextStart() {
  if (ended_) return;
  ended_ = true;
  delay_->Stop();
  if (!history_.Changed()) {
    file_.Remove();
    return;
  }
  if (const std::optional<QString> failure = Write()) {
    qWarning("morv: the model cannot be kept for recovery: %s", qUtf8Printable(*failure));
    // A lock claimed for a file that was never written would be left alone.
    if (!QFile::exists(file_.Path())) file_.Remove();
  }
  // Let go: the lock goes with this run, the file stays.
  file_ = TRecoveryFile();
}

}  // namespace morv
