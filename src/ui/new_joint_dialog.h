// The dialog that places a new joint, gives it a mass and collects the vertices it carries.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "engine/model.h"
#include "engine/one_based_array.h"
#include "platform/prompts.h"
#include "ui/bevel.h"
#include "ui/dialog_controls.h"

namespace morv {

// The control vertices "Add Ref." has collected while the dialog is open.
struct TPendingRefs {
  int32_t Count = 0;
  OneBasedArray<int32_t, MaxJointRefs> Items;
};

class Tnewjoint : public TEditDialog {
  Q_OBJECT

 public:
  explicit Tnewjoint(Prompts& prompts, QWidget* parent = nullptr);

  // Lets the "Control:" field name the control vertices 1..count.
  void SetControlRange(int32_t count);

  // "Add Ref.": collects the vertex in the "Control:" field.
  void BitBtn2Click();
  // OK: appends the joint and redraws the drag space.
  void BitBtn1Click();
  // Cancel.
  void Button1Click();
  void Cancel() override { Button1Click(); }

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  TSpinEdit* xVal;
  TSpinEdit* yVal;
  TSpinEdit* zVal;
  TSpinEdit* mass;
  TBevel* GroupBox1;
  TSpinEdit* refcon;
  QPushButton* BitBtn2;
  QPushButton* BitBtn1;
  QPushButton* Button1;

  TPendingRefs PendingRefs;

 protected:
  // However the dialog closes, the collected references go with it.
  void done(int result) override;

 private:
  void ResetFields();

  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Tnewjoint* newjoint;

}  // namespace morv
