// The dialog that gives one Bézier patch a new colour.
#include "ui/edit_bezier_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Teditbez* editbez = nullptr;

Teditbez::Teditbez(QWidget* parent) : QDialog(parent, BareDialogFlags) {
  // It closes through its own OK and Cancel only.
  FixClientSize(this, "editbez", QStringLiteral("Edit Bézier Colour"), 209, 105);
  setFont(DefaultWindowFont());
}

}  // namespace morv
