// Controls shared by the editing dialogs.
#include "ui/dialog_controls.h"

#include <cstdint>

#include "platform/fonts.h"
#include "ui/fixed_layout.h"

namespace morv {

TSpinEdit* MakeSpinEdit(QWidget* parent, const char* name, int minimum, int maximum, int value,
                        int left, int top, int width, int height) {
  return Place(new TSpinEdit(parent, minimum, maximum, value), name, left, top, width, height);
}

TSpinEdit* MakeUnlimitedSpinEdit(QWidget* parent, const char* name, int left, int top, int width,
                                 int height) {
  TSpinEdit* edit = MakeSpinEdit(parent, name, INT32_MIN, INT32_MAX, 0, left, top, width, height);
  edit->SetNonNumberValue(0);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height, bool isDefault) {
  auto* button = Place(new QPushButton(caption, parent), name, left, top, width, height);
  button->setDefault(isDefault);
  button->setAutoDefault(isDefault);
  return button;
}

QLabel* MakeAxisLetter(QWidget* parent, const char* name, const QString& letter, int left,
                       int top) {
  QLabel* label = MakeLabel(parent, name, letter, left, top);
  label->setFont(PixelFont(QStringLiteral("Times New Roman"), 16, true));
  label->adjustSize();
  return label;
}

TEditDialog::TEditDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
  setModal(true);
}

void TEditDialog::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  QDialog::showEvent(event);
  for (QWidget* next = nextInFocusChain(); next != this; next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(this)) {
      next->setFocus(Qt::TabFocusReason);
      break;
    }
  }
}

}  // namespace morv
