// The undo and redo keys of a whole window, wherever its focus is.
#include "ui/history_keys.h"

#include <QKeyEvent>

namespace morv {

THistoryKey HistoryKeyOf(const QKeyEvent& event) {
  // The keypad's flag and the like do not change what a key means here.
  const Qt::KeyboardModifiers modifiers =
      event.modifiers() &
      (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  if (event.key() == Qt::Key_Z && modifiers == Qt::ControlModifier) return THistoryKey::Undo;
  if (event.key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    return THistoryKey::Redo;
  }
  if (event.key() == Qt::Key_Y && modifiers == Qt::ControlModifier) return THistoryKey::Redo;
  return THistoryKey::None;
}

THistoryKeys::THistoryKeys(QWidget& window, std::function<void()> undo, std::function<void()> redo)
    : QObject(&window), undo_(std::move(undo)), redo_(std::move(redo)) {
  window.installEventFilter(this);
  for (QWidget* control : window.findChildren<QWidget*>()) control->installEventFilter(this);
}

bool THistoryKeys::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress;
  if (!press && event->type() != QEvent::ShortcutOverride) {
    return QObject::eventFilter(watched, event);
  }
  const THistoryKey key = HistoryKeyOf(*static_cast<QKeyEvent*>(event));
  if (key == THistoryKey::None) return QObject::eventFilter(watched, event);
  // Claiming the override brings the key to the focus as a press, which is where it acts.
  event->accept();
  if (press) (key == THistoryKey::Undo ? undo_ : redo_)();
  return true;
}

}  // namespace morv
