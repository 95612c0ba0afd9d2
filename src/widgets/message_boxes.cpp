// Whether a message box is on screen, whoever opened it.
#include "widgets/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>

namespace morv {

bool AnyMessageBoxOpen() {
  // Boxes are top-level windows of their own, also those a file dialog opens over itself.
  const QWidgetList windows = QApplication::topLevelWidgets();
  return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
    return window->isVisible() && qobject_cast<const QMessageBox*>(window) != nullptr;
  });
}

}  // namespace morv
