// The working model's history: each change one step to undo and redo, and whether it is saved.
#include "ui/model_history.h"

#include <QUndoCommand>

namespace morv {

namespace {

// What a boundary names a change that came with no command of its own.
const QString UnnamedChange = QStringLiteral("Change");

}  // namespace

class TModelHistory::TStep : public QUndoCommand {
 public:
  TStep(TModelHistory& history, const QString& name, TModelDiff diff)
      : QUndoCommand(name), history_(history), diff_(std::move(diff)), bytes_(diff_.Bytes()) {
    history_.bytes_ += bytes_;
  }
  ~TStep() override { history_.bytes_ -= bytes_; }

  // The difference holds the other end of the step from the model's, so both ways exchange it.
  void undo() override { history_.Exchange(diff_); }
  void redo() override {
    // Pushed after the change was made: the first redo has happened already.
    if (done_) history_.Exchange(diff_);
    done_ = true;
  }

 private:
  TModelHistory& history_;
  TModelDiff diff_;
  const std::size_t bytes_;
  bool done_ = false;
};

TModelHistory::TModelHistory(TMorvObject& model, QObject* parent)
    : QObject(parent),
      model_(model),
      recorded_(std::make_unique<TMorvObject>(model)),
      saved_(std::make_unique<TMorvObject>(model)) {
  stack_.setUndoLimit(StepLimit);
  connect(&stack_, &QUndoStack::indexChanged, this, &TModelHistory::StepsChanged);
}

// The steps refer back to the history while the stack deletes them. The stack says nothing as it
// goes: its owner's window may be half gone by then.
TModelHistory::~TModelHistory() {
  stack_.blockSignals(true);
  stack_.clear();
}

void TModelHistory::Reset() {
  stack_.clear();
  pendingName_.clear();
  *recorded_ = model_;
  *saved_ = model_;
  emit StepsChanged();
  emit Saved();
}

void TModelHistory::MarkSaved() {
  Record();
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

void TModelHistory::Record() {
  TModelDiff diff = DiffModels(*recorded_, model_);
  const QString name = pendingName_.isEmpty() ? UnnamedChange : pendingName_;
  pendingName_.clear();
  if (diff.Empty()) return;
  CopyCovered(*recorded_, model_, diff);
  stack_.push(new TStep(*this, name, std::move(diff)));
  // At the limit the oldest step goes and the position stays where it was.
  emit StepsChanged();
  emit Touched();
}

bool TModelHistory::Undo() {
  Record();
  if (!stack_.canUndo()) return false;
  stack_.undo();
  return true;
}

bool TModelHistory::Redo() {
  Record();
  if (!stack_.canRedo()) return false;
  stack_.redo();
  return true;
}

QString TModelHistory::UndoText() const {
  return CanUndo() ? QStringLiteral("Undo ") + stack_.undoText() : QStringLiteral("Undo");
}

QString TModelHistory::RedoText() const {
  return CanRedo() ? QStringLiteral("Redo ") + stack_.redoText() : QStringLiteral("Redo");
}

void TModelHistory::Exchange(TModelDiff& diff) {
  morv::Exchange(model_, diff);
  CopyCovered(*recorded_, model_, diff);
  emit Applied();
  emit Touched();
}

}  // namespace morv
