// The working model's history: each change one step to undo and redo, and whether it is saved.
#include "ui/model_history.h"

#include <utility>

namespace morv {

namespace {

// What a boundary names a change that came with no command of its own.
const QString UnnamedChange = QStringLiteral("Change");

}  // namespace

std::size_t TModelHistory::StepBytes(const TModelDiff& diff) {
  return sizeof(TStep) - sizeof(TModelDiff) + diff.Bytes();
}

TModelHistory::TModelHistory(TMorvObject& model, QObject* parent)
    : QObject(parent),
      model_(model),
      recorded_(std::make_unique<TMorvObject>(model)),
      saved_(std::make_unique<TMorvObject>(model)),
      commandState_(std::make_unique<TMorvObject>()),
      lastAfterTick_(std::make_unique<TMorvObject>()) {}

TModelHistory::~TModelHistory() = default;

void TModelHistory::Reset() {
  steps_.clear();
  done_ = 0;
  bytes_ = 0;
  pendingName_.clear();
  backgroundName_.clear();
  shadowed_ = false;
  gathering_ = false;
  *recorded_ = model_;
  *saved_ = model_;
  if (inTick_) RestartTick();
  emit StepsChanged();
  emit Saved();
}

void TModelHistory::MarkSaved() {
  Record();
  // A saved state stays one to come back to.
  gathering_ = false;
  *saved_ = model_;
  emit Saved();
}

bool TModelHistory::Changed() const { return !SameModel(model_, *saved_); }

void TModelHistory::Command(const QString& name) {
  Record();
  pendingName_ = name;
}

void TModelHistory::Continue(const QString& name) {
  if (name != pendingName_) Command(name);
  emit Touched();
}

void TModelHistory::Background(const QString& name, const std::function<void()>& tick) {
  // A tick started while another one waits in a message box belongs to that one.
  if (inTick_) return tick();
  // The movement of one timer is one step; another timer's starts the next.
  if (!backgroundName_.isEmpty() && backgroundName_ != name) Record();
  if (shadowed_) {
    SyncCommands();
  } else {
    *commandState_ = model_;
    *lastAfterTick_ = model_;
    shadowed_ = true;
  }
  tickName_ = name;
  inTick_ = true;
  struct TEnd {
    bool& inTick;
    ~TEnd() { inTick = false; }
  } end{inTick_};
  tick();
  TModelDiff moved = DiffModels(*lastAfterTick_, model_);
  if (moved.Empty()) return;
  CopyCovered(*lastAfterTick_, model_, moved);
  backgroundName_ = name;
  emit Touched();
}

void TModelHistory::SyncCommands() {
  TModelDiff changed = DiffModels(*lastAfterTick_, model_);
  if (changed.Empty()) return;
  CopyCovered(*commandState_, model_, changed);
  CopyCovered(*lastAfterTick_, model_, changed);
}

void TModelHistory::RestartTick() {
  *commandState_ = model_;
  *lastAfterTick_ = model_;
  shadowed_ = true;
}

void TModelHistory::Record() {
  if (inTick_) {
    // A boundary inside a tick, while the tick waits in a message box: what the tick has moved
    // so far is its own, not the command's.
    TModelDiff moved = DiffModels(*lastAfterTick_, model_);
    if (!moved.Empty()) {
      CopyCovered(*lastAfterTick_, model_, moved);
      backgroundName_ = tickName_;
    }
  }
  if (shadowed_) SyncCommands();
  const QString name = pendingName_.isEmpty() ? UnnamedChange : pendingName_;
  const QString background = backgroundName_.isEmpty() ? UnnamedChange : backgroundName_;
  pendingName_.clear();
  backgroundName_.clear();
  bool pushed = false;
  // The command's step first, from the last boundary to the model without the ticks' movement;
  // then the ticks' step, from there to the model: undone in turn they return exactly.
  const TMorvObject& commandEnd = shadowed_ ? *commandState_ : model_;
  TModelDiff commands = DiffModels(*recorded_, commandEnd);
  if (!commands.Empty()) {
    CopyCovered(*recorded_, commandEnd, commands);
    Push(name, std::move(commands));
    pushed = true;
  }
  if (shadowed_) {
    TModelDiff moved = DiffModels(*recorded_, model_);
    if (!moved.Empty()) {
      CopyCovered(*recorded_, model_, moved);
      // What the ticks moved between two commands is one step, also when a boundary without a
      // command of its own came between.
      if (gathering_ && done_ == steps_.size() && steps_.back().Name == background) {
        Gather(std::move(moved));
      } else {
        Push(background, std::move(moved));
        gathering_ = true;
      }
      pushed = true;
    }
    shadowed_ = false;
  }
  if (inTick_) RestartTick();
  if (!pushed) return;
  emit StepsChanged();
  emit Touched();
}

void TModelHistory::Push(const QString& name, TModelDiff diff) {
  // A new step takes the place of every step that was undone.
  while (steps_.size() > done_) {
    bytes_ -= steps_.back().Bytes;
    steps_.pop_back();
  }
  const std::size_t bytes = StepBytes(diff);
  steps_.push_back({name, std::move(diff), bytes});
  bytes_ += bytes;
  ++done_;
  gathering_ = false;
  Trim();
}

void TModelHistory::Gather(TModelDiff diff) {
  TStep& newest = steps_.back();
  bytes_ -= newest.Bytes;
  Combine(newest.Diff, std::move(diff));
  newest.Bytes = StepBytes(newest.Diff);
  bytes_ += newest.Bytes;
  Trim();
}

void TModelHistory::Trim() {
  while (steps_.size() > 1 &&
         (steps_.size() > static_cast<std::size_t>(StepLimit) || bytes_ > ByteLimit)) {
    bytes_ -= steps_.front().Bytes;
    steps_.pop_front();
    --done_;
  }
}

bool TModelHistory::Undo() {
  Record();
  gathering_ = false;
  if (done_ == 0) return false;
  --done_;
  Exchange(steps_[done_].Diff);
  emit StepsChanged();
  return true;
}

bool TModelHistory::Redo() {
  Record();
  gathering_ = false;
  if (done_ == steps_.size()) return false;
  ++done_;
  Exchange(steps_[done_ - 1].Diff);
  emit StepsChanged();
  return true;
}

QString TModelHistory::PendingName() const {
  // Of a command's step and the ticks' step, the ticks' comes last.
  if (!backgroundName_.isEmpty()) return backgroundName_;
  if (DiffModels(*recorded_, model_).Empty()) return {};
  return pendingName_.isEmpty() ? UnnamedChange : pendingName_;
}

bool TModelHistory::CanUndo() const { return done_ > 0 || !PendingName().isEmpty(); }

// Recording a pending change throws the undone steps away.
bool TModelHistory::CanRedo() const { return done_ < steps_.size() && PendingName().isEmpty(); }

QString TModelHistory::UndoText() const {
  const QString pending = PendingName();
  if (!pending.isEmpty()) return QStringLiteral("Undo ") + pending;
  return done_ > 0 ? QStringLiteral("Undo ") + steps_[done_ - 1].Name : QStringLiteral("Undo");
}

QString TModelHistory::RedoText() const {
  return CanRedo() ? QStringLiteral("Redo ") + steps_[done_].Name : QStringLiteral("Redo");
}

void TModelHistory::Exchange(TModelDiff& diff) {
  morv::Exchange(model_, diff);
  CopyCovered(*recorded_, model_, diff);
  if (inTick_) RestartTick();
  emit Applied();
  emit Touched();
}

}  // namespace morv
