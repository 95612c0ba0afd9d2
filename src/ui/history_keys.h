// The undo and redo keys of a whole window, wherever its focus is.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace morv {

enum class THistoryKey { None, Undo, Redo };

// Ctrl+Z undoes; Ctrl+Shift+Z and Ctrl+Y redo.
THistoryKey HistoryKeyOf(const QKeyEvent& event);

// Takes the history keys from the window and every control it holds, before any of them acts on
// them: a field with an undo of its own would otherwise take back its typing behind the model's
// back.
class THistoryKeys : public QObject {
 public:
  THistoryKeys(QWidget& window, std::function<void()> undo, std::function<void()> redo);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> undo_;
  std::function<void()> redo_;
};

}  // namespace morv
