// The animation console: building, loading, saving and playing the animation set.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <cstdint>

#include "engine/animation.h"
#include "engine/one_based_array.h"
#include "platform/prompts.h"
#include "ui/bevel.h"
#include "ui/spin_edit.h"

namespace morv {

class Tanim : public QWidget {
  Q_OBJECT

 public:
  explicit Tanim(Prompts& prompts, QWidget* parent = nullptr);

  // Keeps the console just under the main window and lets jID name every joint of the model.
  void FormActivate();
  void Edit1Change();
  void BitBtn1Click();  // "Load"
  void BitBtn2Click();  // "Save"
  void BitBtn4Click();  // copies the joint's position into the location fields
  void BitBtn6Click();  // "Add Location"
  void BitBtn8Click();  // "Add"
  void BitBtn3Click();  // "Play"
  void BitBtn9Click();  // "Stop"

  // One tick of the main window's AnimationPump: the caption names the playing animations, every
  // playing animation steps, and both views are redrawn.
  void AnimationPumpTick();

  static FileDialogOptions OpenDialog1();
  static FileDialogOptions SaveDialog1();

  QLabel* Label1;
  QLineEdit* Edit1;
  QToolButton* BitBtn1;
  QToolButton* BitBtn2;
  TBevel* GroupBox1;
  QLabel* Label2;
  QLineEdit* Edit2;
  QLabel* Label3;
  TSpinEdit* jID;
  QToolButton* BitBtn4;
  TSpinEdit* xL;
  TSpinEdit* yL;
  TSpinEdit* zL;
  QToolButton* BitBtn6;
  QCheckBox* repeator;
  QLabel* Label4;
  TSpinEdit* Speed;
  QToolButton* BitBtn8;
  TBevel* GroupBox2;
  QLabel* Label5;
  QComboBox* animlistbox;
  QToolButton* BitBtn3;
  QToolButton* BitBtn9;

  // The locations "Add Location" has collected for the animation being built.
  int32_t PendingCount = 0;
  OneBasedArray<TPoint3D, MaxLocations> PendingLocations;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  // The list names animations 1..Count, and no entry is selected.
  void FillAnimationList();
  // The animation of the selected list entry, or 0 when none is selected.
  int32_t SelectedAnimation() const;

  Prompts& prompts_;
  bool shownBefore_ = false;
};

// The one instance, valid while the application owns it.
extern Tanim* anim;

}  // namespace morv
