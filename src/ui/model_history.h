// The working model's history: each change one step to undo and redo, and whether it is saved.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <memory>

#include "engine/model.h"
#include "engine/model_diff.h"

namespace morv {

// Commands do not undo themselves: the history compares the model at the boundaries of commands
// and keeps what differs, so a change no command announced is still caught at the next boundary.
// Between two boundaries every change belongs to the name given last.
class TModelHistory : public QObject {
  Q_OBJECT

 public:
  // The fewest steps kept; older ones go.
  static constexpr int StepLimit = 1000;

  explicit TModelHistory(TMorvObject& model, QObject* parent = nullptr);
  ~TModelHistory() override;

  // Starts over: no steps, and the model as it is now is the one last loaded or saved.
  void Reset();
  // The model as it is now was loaded or saved.
  void MarkSaved();
  // The model differs from the one last loaded or saved.
  bool Changed() const;

  // A command starts: what changed before it becomes a step under its own name, and what changes
  // from here on belongs to `name`.
  void Command(const QString& name);
  // What changes from here on belongs to `name` and gathers into one step with what it changed
  // before, until the next boundary: each keystroke in a field and each tick of a timer.
  void Continue(const QString& name);
  // A boundary: what changed since the last one becomes one step.
  void Record();

  // Each records what is pending first; false when there was no step to take back or bring again.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return stack_.canUndo(); }
  bool CanRedo() const { return stack_.canRedo(); }
  // "Undo Add Bézier", or "Undo" when there is nothing to undo; the same for redo.
  QString UndoText() const;
  QString RedoText() const;
  int Steps() const { return stack_.count(); }
  // The memory the steps hold.
  std::size_t Bytes() const { return bytes_; }

 signals:
  // An undo or redo changed the model: whatever shows it must be redrawn.
  void Applied();
  // The steps or their position changed: menus naming them must be updated.
  void StepsChanged();
  // The model may have changed, or may be about to: Continue tells before the change is made.
  void Touched();
  // The model as it is now was loaded or saved.
  void Saved();

 private:
  class TStep;
  // Takes the model, and the state the next boundary compares with, to the step's other end.
  void Exchange(TModelDiff& diff);

  TMorvObject& model_;
  // Large records: the model at the last boundary and the one last loaded or saved.
  std::unique_ptr<TMorvObject> recorded_;
  std::unique_ptr<TMorvObject> saved_;
  QString pendingName_;
  std::size_t bytes_ = 0;
  QUndoStack stack_;
};

}  // namespace morv
