// The dialog that places a new joint, gives it a mass and collects the control vertices it carries.
#include "ui/new_joint_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Tnewjoint* newjoint = nullptr;

Tnewjoint::Tnewjoint(QWidget* parent)
    : QDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newjoint", QStringLiteral("Create New Joint"), 201, 185);
  setFont(DefaultWindowFont());
}

}  // namespace morv
