// The dialog that recolours one Bézier patch.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "platform/prompts.h"
#include "ui/colour_swatch.h"
#include "ui/dialog_controls.h"

namespace morv {

class Teditbez : public TEditDialog {
  Q_OBJECT

 public:
  explicit Teditbez(Prompts& prompts, QWidget* parent = nullptr);

  // Lets the selector name the patches 1..count.
  void SetPatchRange(int32_t count);

  // The selector loads the swatch with the selected patch's colour.
  void SpinEdit1Change();
  // The swatch opens the colour dialog.
  void Shape1MouseDown();
  // OK: the selected patch takes the swatch's colour.
  void Button1Click();
  // Cancel.
  void Button2Click();
  void Cancel() override { Button2Click(); }

  QLabel* Label1;
  TSpinEdit* SpinEdit1;
  TColourSwatch* Shape1;
  QPushButton* Button1;
  QPushButton* Button2;

 protected:
  // The swatch shows the selected patch's colour from the start, so OK without a change keeps it.
  void showEvent(QShowEvent* event) override;

 private:
  void ResetFields();

  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Teditbez* editbez;

}  // namespace morv
