// The dialog that picks the eight control vertices and the colour of a new Bézier patch.
#include "ui/new_bezier_dialog.h"

#include <algorithm>

#include "engine/model.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"

namespace morv {

Tnewbezier* newbezier = nullptr;

Tnewbezier::Tnewbezier(Prompts& prompts, QWidget* parent)
    : TEditDialog(parent, BareDialogFlags | Qt::WindowStaysOnTopHint), prompts_(prompts) {
  // It closes through its own OK and Cancel only and stays above the windows it edits.
  FixClientSize(this, "newbezier", QStringLiteral("Create New Bézier Patch"), 266, 114);
  setFont(DefaultWindowFont());
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Controls:"), 8, 8);
  const char* names[8] = {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"};
  TSpinEdit** fields[8] = {&p1, &p2, &p3, &p4, &p5, &p6, &p7, &p8};
  const int lefts[4] = {8, 72, 136, 200};
  for (int k = 0; k < 8; ++k) {
    *fields[k] = MakeSpinEdit(this, names[k], 1, 1, 1, lefts[k % 4], k < 4 ? 24 : 48, 57, 22);
  }
  Shape1 = Place(new TColourSwatch(this, ColourWhite), "Shape1", 8, 80, 89, 25);
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), 104, 80, 75, 25, true);
  Button1 = MakeButton(this, "Button1", QStringLiteral("Cancel"), 184, 80, 73, 25);
  for (int k = 1; k < 8; ++k) setTabOrder(*fields[k - 1], *fields[k]);
  setTabOrder(p8, BitBtn1);
  setTabOrder(BitBtn1, Button1);
  connect(Shape1, &TColourSwatch::MouseDown, this, &Tnewbezier::Shape1MouseDown);
  connect(BitBtn1, &QPushButton::clicked, this, &Tnewbezier::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &Tnewbezier::Button1Click);
}

void Tnewbezier::SetControlRange(int32_t count) {
  for (TSpinEdit* field : Fields()) field->setRange(1, std::max(count, 1));
}

void Tnewbezier::Shape1MouseDown() {
  const std::optional<int32_t> colour = prompts_.ChooseColour(Shape1->Colour());
  if (colour) Shape1->SetColour(*colour);
}

void Tnewbezier::BitBtn1Click() {
  // The main window opens the dialog only when the model has a control vertex and room for
  // another patch; this is the last guard.
  const bool fits = CurrentModel.PatchCount < MaxPatches && CurrentModel.ControlCount > 0;
  if (fits) {
    TBezierPatch& patch = CurrentModel.Patches[++CurrentModel.PatchCount];
    const auto fields = Fields();
    for (int32_t k = 1; k <= PatchControlCount; ++k) patch.ControlIndex[k] = fields[k - 1]->value();
    patch.Colour = Shape1->Colour();
  }
  ResetFields();
  accept();
  if (fits && Form1 != nullptr) {
    Form1->DrawTheDrag();
    Form1->DrawTheThing();
  }
}

void Tnewbezier::Button1Click() {
  ResetFields();
  QDialog::reject();
}

void Tnewbezier::ResetFields() {
  for (TSpinEdit* field : Fields()) field->setValue(1);
  Shape1->SetColour(ColourWhite);
}

}  // namespace morv
