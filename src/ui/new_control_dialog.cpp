// The dialog that asks where a new control vertex goes.
#include "ui/new_control_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Tnewcontrol* newcontrol = nullptr;

Tnewcontrol::Tnewcontrol(QWidget* parent)
    : QDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newcontrol", QStringLiteral("Create New Control Vertex"), 241, 89);
  setFont(DefaultWindowFont());
}

}  // namespace morv
