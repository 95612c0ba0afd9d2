// Keeps the working model in a recovery file for as long as it has changes that are not saved.
#include "ui/recovery_keeper.h"

#include <QtGlobal>

#include "engine/errors.h"
#include "engine/model_diff.h"
#include "engine/model_file.h"

namespace morv {

TRecoveryKeeper::TRecoveryKeeper(TModelHistory& history, const TMorvObject& model,
                                 std::function<bool()> busy, QObject* parent)
    : QObject(parent),
      history_(history),
      model_(model),
      busy_(std::move(busy)),
      written_(std::make_unique<TMorvObject>()) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TRecoveryKeeper::WriteIfChanged);
  connect(&history_, &TModelHistory::Touched, this, &TRecoveryKeeper::ModelTouched);
  connect(&history_, &TModelHistory::Saved, this, [this] {
    timer_.stop();
    file_.Remove();
  });
}

TRecoveryKeeper::~TRecoveryKeeper() { file_.Remove(); }

void TRecoveryKeeper::Adopt(TRecoveryFile file) {
  file_.Remove();
  file_ = std::move(file);
  *written_ = model_;
}

void TRecoveryKeeper::ModelTouched() {
  // A change coming soon after another does not put the write off. Whether there is anything to
  // keep is asked when the time comes: the model may be told of a change before it is made.
  if (!timer_.isActive()) timer_.start(WriteDelayMs);
}

void TRecoveryKeeper::WriteIfChanged() {
  if (busy_()) {
    timer_.start(BusyRetryMs);
    return;
  }
  // Undone back to what was saved: nothing is left to recover.
  if (!history_.Changed()) {
    file_.Remove();
    return;
  }
  if (file_.Exists() && SameModel(model_, *written_)) return;
  TextLines lines;
  SaveModel(model_, lines);
  try {
    file_.Write(lines);
    *written_ = model_;
    warned_ = false;
  } catch (const FileError& error) {
    // Said once, not at every change: the user is editing, and a save of their own still works.
    if (!warned_) qWarning("morv: the model cannot be kept for recovery: %s", error.what());
    warned_ = true;
  }
}

}  // namespace morv
