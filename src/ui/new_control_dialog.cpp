// The dialog that asks where a new control vertex goes.
#include "ui/new_control_dialog.h"

#include "engine/model.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"

namespace morv {

Tnewcontrol* newcontrol = nullptr;

Tnewcontrol::Tnewcontrol(QWidget* parent)
    : TEditDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newcontrol", QStringLiteral("Create New Control Vertex"), 241, 89);
  setFont(DefaultWindowFont());
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Create at:"), 8, 8);
  Label2 = MakeAxisLetter(this, "Label2", QStringLiteral("x"), 8, 24);
  Label3 = MakeAxisLetter(this, "Label3", QStringLiteral("y"), 88, 24);
  Label4 = MakeAxisLetter(this, "Label4", QStringLiteral("z"), 168, 24);
  xVal = MakeSpinEdit(this, "xVal", -100, 100, 0, 24, 24, 49, 22);
  yVal = MakeSpinEdit(this, "yVal", -100, 100, 0, 104, 24, 49, 22);
  zVal = MakeUnlimitedSpinEdit(this, "zVal", 184, 24, 49, 22);
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), 80, 56, 75, 25, true);
  Button1 = MakeButton(this, "Button1", QStringLiteral("Cancel"), 160, 56, 75, 25);
  setTabOrder(xVal, yVal);
  setTabOrder(yVal, zVal);
  setTabOrder(zVal, BitBtn1);
  setTabOrder(BitBtn1, Button1);
  connect(BitBtn1, &QPushButton::clicked, this, &Tnewcontrol::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &Tnewcontrol::Button1Click);
}

void Tnewcontrol::BitBtn1Click() {
  // The main window refuses a full list before it opens the dialog; this is the last guard.
  if (CurrentModel.ControlCount < MaxControls) {
    const int32_t index = ++CurrentModel.ControlCount;
    CurrentModel.Controls[index] = {xVal->value(), yVal->value(), zVal->value()};
    if (Form1 != nullptr) Form1->DrawTheDrag();
  }
  ResetFields();
  accept();
}

void Tnewcontrol::Button1Click() {
  ResetFields();
  QDialog::reject();
}

void Tnewcontrol::ResetFields() {
  xVal->setValue(0);
  yVal->setValue(0);
  zVal->setValue(0);
}

}  // namespace morv
