// The dialog that recolours one Bézier patch.
#include "ui/edit_bezier_dialog.h"

#include <algorithm>

#include "engine/model.h"
#include "ui/fixed_layout.h"

namespace morv {

Teditbez* editbez = nullptr;

Teditbez::Teditbez(Prompts& prompts, QWidget* parent)
    : TEditDialog(parent, BareDialogFlags), prompts_(prompts) {
  // It closes through its own OK and Cancel only.
  FixClientSize(this, "editbez", QStringLiteral("Edit Bézier Colour"), 209, 105);
  setFont(DefaultWindowFont());
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Select Bézier:"), 8, 12);
  SpinEdit1 = MakeSpinEdit(this, "SpinEdit1", 1, 1, 1, 80, 8, 121, 22);
  Shape1 = Place(new TColourSwatch(this, ColourWhite), "Shape1", 8, 40, 193, 25);
  Button1 = MakeButton(this, "Button1", QStringLiteral("OK"), 48, 72, 75, 25);
  Button2 = MakeButton(this, "Button2", QStringLiteral("Cancel"), 128, 72, 75, 25);
  setTabOrder(SpinEdit1, Button1);
  setTabOrder(Button1, Button2);
  connect(SpinEdit1, &QSpinBox::valueChanged, this, &Teditbez::SpinEdit1Change);
  connect(Shape1, &TColourSwatch::MouseDown, this, &Teditbez::Shape1MouseDown);
  connect(Button1, &QPushButton::clicked, this, &Teditbez::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &Teditbez::Button2Click);
}

void Teditbez::SetPatchRange(int32_t count) { SpinEdit1->setRange(1, std::max(count, 1)); }

void Teditbez::SpinEdit1Change() {
  const int32_t selected = SpinEdit1->value();
  if (selected >= 1 && selected <= CurrentModel.PatchCount) {
    Shape1->SetColour(CurrentModel.Patches[selected].Colour);
  }
}

void Teditbez::showEvent(QShowEvent* event) {
  SpinEdit1Change();
  TEditDialog::showEvent(event);
}

void Teditbez::Shape1MouseDown() {
  const std::optional<int32_t> colour = prompts_.ChooseColour(Shape1->Colour());
  if (colour) Shape1->SetColour(*colour);
}

void Teditbez::Button1Click() {
  const int32_t selected = SpinEdit1->value();
  // The main window opens the dialog only when there is a patch; this is the last guard.
  if (selected >= 1 && selected <= CurrentModel.PatchCount) {
    CurrentModel.Patches[selected].Colour = Shape1->Colour();
  }
  accept();
  ResetFields();
}

void Teditbez::Button2Click() {
  QDialog::reject();
  ResetFields();
}

void Teditbez::ResetFields() {
  // The selector first: its change loads the swatch, which then turns white.
  SpinEdit1->setValue(1);
  Shape1->SetColour(ColourWhite);
}

}  // namespace morv
