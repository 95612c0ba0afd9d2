// The dialog that picks the eight control vertices and the colour of a new Bézier patch.
#include "ui/new_bezier_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Tnewbezier* newbezier = nullptr;

Tnewbezier::Tnewbezier(QWidget* parent)
    : QDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newbezier", QStringLiteral("Create New Bézier Patch"), 266, 114);
  setFont(DefaultWindowFont());
}

}  // namespace morv
