// The prompt that unlocks editing of a locked model with its password.
#include "ui/password_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Tpassword* password = nullptr;

Tpassword::Tpassword(QWidget* parent) : QDialog(parent, BareDialogFlags) {
  // It closes through its own OK and Cancel only.
  FixClientSize(this, "password", QStringLiteral("Enter Object Password"), 265, 81);
  setFont(DefaultWindowFont());
}

}  // namespace morv
