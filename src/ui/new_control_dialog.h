// The dialog that asks where a new control vertex goes.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "ui/dialog_controls.h"

namespace morv {

class Tnewcontrol : public TEditDialog {
  Q_OBJECT

 public:
  explicit Tnewcontrol(QWidget* parent = nullptr);

  // OK: appends a control vertex at the three fields and redraws the drag space.
  void BitBtn1Click();
  // Cancel.
  void Button1Click();
  void Cancel() override { Button1Click(); }

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  TSpinEdit* xVal;
  TSpinEdit* yVal;
  TSpinEdit* zVal;
  QPushButton* BitBtn1;
  QPushButton* Button1;

 private:
  void ResetFields();
};

// The one instance, valid while the application owns it.
extern Tnewcontrol* newcontrol;

}  // namespace morv
