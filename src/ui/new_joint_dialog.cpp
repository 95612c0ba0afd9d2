// The dialog that places a new joint, gives it a mass and collects the vertices it carries.
#include "ui/new_joint_dialog.h"

#include <algorithm>

#include "ui/fixed_layout.h"
#include "ui/main_window.h"

namespace morv {

Tnewjoint* newjoint = nullptr;

Tnewjoint::Tnewjoint(Prompts& prompts, QWidget* parent)
    : TEditDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint), prompts_(prompts) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newjoint", QStringLiteral("Create New Joint"), 201, 185);
  setFont(DefaultWindowFont());
  GroupBox1 = Place(new TBevel(this, TBevel::Shape::Box), "GroupBox1", 8, 88, 185, 57);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Create at:"), 8, 8);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Mass (kg):"), 8, 60);
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Control:"), 16, 96);
  xVal = MakeSpinEdit(this, "xVal", -100, 100, 0, 8, 24, 57, 22);
  yVal = MakeSpinEdit(this, "yVal", -100, 100, 0, 72, 24, 57, 22);
  zVal = MakeSpinEdit(this, "zVal", -100, 100, 0, 136, 24, 57, 22);
  mass = MakeSpinEdit(this, "mass", 1, 1000, 1, 64, 56, 129, 22);
  refcon = MakeSpinEdit(this, "refcon", 1, 1, 1, 16, 112, 81, 22);
  BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Add Ref."), 112, 104, 75, 25);
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), 40, 152, 75, 25, true);
  Button1 = MakeButton(this, "Button1", QStringLiteral("Cancel"), 120, 152, 75, 25);
  GroupBox1->lower();
  QWidget* const order[] = {xVal, yVal, zVal, mass, refcon, BitBtn2, BitBtn1, Button1};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  connect(BitBtn2, &QPushButton::clicked, this, &Tnewjoint::BitBtn2Click);
  connect(BitBtn1, &QPushButton::clicked, this, &Tnewjoint::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &Tnewjoint::Button1Click);
}

void Tnewjoint::SetControlRange(int32_t count) { refcon->setRange(1, std::max(count, 1)); }

void Tnewjoint::BitBtn2Click() {
  if (CurrentModel.ControlCount < 1) {
    prompts_.ShowMessage(QStringLiteral("There is no control vertex for the joint to carry."));
    return;
  }
  if (PendingRefs.Count >= MaxJointRefs) {
    prompts_.ShowMessage(QStringLiteral("A joint carries at most 100 control vertices."));
    return;
  }
  PendingRefs.Items[++PendingRefs.Count] = refcon->value();
  refcon->setValue(0);  // the range turns it into the first vertex
}

void Tnewjoint::BitBtn1Click() {
  // The main window refuses a full list before it opens the dialog; this is the last guard.
  if (CurrentModel.JointCount < MaxJoints) {
    // Only these fields are written: the slot's motion state stays as it was.
    TJoint& joint = CurrentModel.Joints[++CurrentModel.JointCount];
    joint.Position = {xVal->value(), yVal->value(), zVal->value()};
    joint.Mass = mass->value();
    joint.RefCount = PendingRefs.Count;
    for (int32_t k = 1; k <= PendingRefs.Count; ++k) joint.ControlRefs[k] = PendingRefs.Items[k];
    if (Form1 != nullptr) Form1->DrawTheDrag();
  }
  accept();
  ResetFields();
}

void Tnewjoint::Button1Click() {
  QDialog::reject();
  ResetFields();
}

void Tnewjoint::done(int result) {
  QDialog::done(result);
  PendingRefs.Count = 0;
}

void Tnewjoint::ResetFields() {
  xVal->setValue(0);
  yVal->setValue(0);
  zVal->setValue(0);
  mass->setValue(1);
}

}  // namespace morv
