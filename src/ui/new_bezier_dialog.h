// The dialog that picks the eight control vertices and the colour of a new Bézier patch.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>

#include "platform/prompts.h"
#include "ui/colour_swatch.h"
#include "ui/dialog_controls.h"

namespace morv {

class Tnewbezier : public TEditDialog {
  Q_OBJECT

 public:
  explicit Tnewbezier(Prompts& prompts, QWidget* parent = nullptr);

  // Lets the eight fields name the control vertices 1..count.
  void SetControlRange(int32_t count);

  // The swatch opens the colour dialog.
  void Shape1MouseDown();
  // OK: appends the patch and redraws both views.
  void BitBtn1Click();
  // Cancel.
  void Button1Click();
  void Cancel() override { Button1Click(); }

  // p1..p8: the patch's control indices 1 to 8.
  std::array<TSpinEdit*, 8> Fields() const { return {p1, p2, p3, p4, p5, p6, p7, p8}; }

  QLabel* Label1;
  TSpinEdit* p1;
  TSpinEdit* p2;
  TSpinEdit* p3;
  TSpinEdit* p4;
  TSpinEdit* p5;
  TSpinEdit* p6;
  TSpinEdit* p7;
  TSpinEdit* p8;
  TColourSwatch* Shape1;
  QPushButton* BitBtn1;
  QPushButton* Button1;

 private:
  void ResetFields();

  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Tnewbezier* newbezier;

}  // namespace morv
