// The working model's history: each change one step to undo and redo, and whether it is saved.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>

#include "engine/model.h"
#include "engine/model_diff.h"

namespace morv {

// Commands do not undo themselves: the history compares the model at the boundaries of commands
// and keeps what differs, so a change no command announced is still caught at the next boundary.
// Between two boundaries every change belongs to the name given last, except what the timers move
// on their own: that gathers into a step of its own, which follows the command's and takes in what
// the timers move until the next command.
class TModelHistory : public QObject {
  Q_OBJECT

 public:
  // The most steps kept, and the most memory they may hold in all; the oldest go first, and the
  // newest stays even when it alone holds more.
  static constexpr int StepLimit = 1000;
  static constexpr std::size_t ByteLimit = std::size_t{64} << 20;

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
  // before, until the next boundary: each keystroke in a field.
  void Continue(const QString& name);
  // Runs `tick`, one tick of a timer that moves the model on its own. What ticks move between two
  // commands is one step named `name`, apart from the command under way, which keeps its own
  // changes and its name; a tick is no boundary, and one that moves nothing leaves the history
  // alone. A save, an undo and a redo close the step.
  void Background(const QString& name, const std::function<void()>& tick);
  // A boundary: what the command changed since the last one becomes one step, and what the ticks
  // moved meanwhile the next.
  void Record();

  // Each records what is pending first; false when there was no step to take back or bring again.
  bool Undo();
  bool Redo();
  // Pending changes count: they are recorded, and so can be undone, before anything is undone.
  bool CanUndo() const;
  bool CanRedo() const;
  // "Undo Add Bézier", or "Undo" when there is nothing to undo; the same for redo. A pending step
  // is named before it is recorded.
  QString UndoText() const;
  QString RedoText() const;
  int Steps() const { return static_cast<int>(steps_.size()); }
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
  struct TStep {
    QString Name;
    // The other end of the step from the model's: exchanged with the model, it undoes or redoes.
    TModelDiff Diff;
    std::size_t Bytes = 0;
  };

  static std::size_t StepBytes(const TModelDiff& diff);
  void Push(const QString& name, TModelDiff diff);
  // Takes more of the ticks' movement into the newest step.
  void Gather(TModelDiff diff);
  // Lets the oldest steps go while there are too many or they hold too much.
  void Trim();
  // Takes the model, and the state the next boundary compares with, to the step's other end.
  void Exchange(TModelDiff& diff);
  // Brings what commands changed since the last tick into the commands' own state.
  void SyncCommands();
  // Within a tick: the rest of the tick is measured from the model as it is now.
  void RestartTick();
  // The name of the step that recording now would push last; empty when nothing is pending.
  QString PendingName() const;

  TMorvObject& model_;
  // Large records: the model at the last boundary and the one last loaded or saved.
  std::unique_ptr<TMorvObject> recorded_;
  std::unique_ptr<TMorvObject> saved_;
  // While `shadowed_`: the model at the last boundary with only the commands' changes since, and
  // the model as the last tick left it.
  std::unique_ptr<TMorvObject> commandState_;
  std::unique_ptr<TMorvObject> lastAfterTick_;
  bool shadowed_ = false;
  QString pendingName_;
  // The timer whose ticks moved the model since the last boundary; empty when none did.
  QString backgroundName_;
  // The newest step holds the ticks' movement since the last command and takes in more of it.
  bool gathering_ = false;
  // The tick under way, while one runs.
  QString tickName_;
  bool inTick_ = false;
  std::deque<TStep> steps_;
  // The steps before this position are done; those from it on are undone, waiting for a redo.
  std::size_t done_ = 0;
  std::size_t bytes_ = 0;
};

}  // namespace morv
