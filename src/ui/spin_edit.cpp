// An integer spin edit that clamps every value into its range and can refuse typed input.
#include "ui/spin_edit.h"

#include <QLineEdit>

namespace morv {

TSpinEdit::TSpinEdit(QWidget* parent, int minimum, int maximum, int value) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setValue(value);
  // Values past either end stop there; an angle of 361 is not 1.
  setWrapping(false);
}

void TSpinEdit::SetTypingAllowed(bool allowed) { lineEdit()->setReadOnly(!allowed); }

}  // namespace morv
