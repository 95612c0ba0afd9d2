// The mechanics console: forces on joints, the gravitational constant and motion resets.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <cstdint>

#include "platform/prompts.h"
#include "ui/bevel.h"
#include "ui/reading_label.h"
#include "ui/spin_edit.h"

namespace morv {

class Tphys : public QWidget {
  Q_OBJECT

 public:
  explicit Tphys(Prompts& prompts, QWidget* parent = nullptr);

  // Keeps the console just under the main window.
  void FormActivate();
  // "Stop!": ends the mechanics for the rest of the run and makes animation available.
  void BitBtn5Click();
  void BitBtn1Click();  // "Apply Force"
  void BitBtn3Click();  // "Remove Velocity"
  void BitBtn2Click();  // "Remove Acceleration"
  void BitBtn4Click();  // "Return": the joint goes back to the origin
  // Shows the magnitude of the force in the three fields.
  void ForceChange();
  // Either track bar sets the gravitational constant from both.
  void GChange();

  QPushButton* BitBtn5;
  QLabel* Label1;
  TSpinEdit* jsel;
  TBevel* Bevel1;
  QLabel* Label2;
  TSpinEdit* fX;
  TSpinEdit* fY;
  TSpinEdit* fZ;
  QPushButton* BitBtn1;
  TReadingLabel* Label3;
  QLabel* Label4;
  QSlider* G;
  QSlider* GPower;
  TBevel* Bevel2;
  QPushButton* BitBtn3;
  QPushButton* BitBtn4;
  QPushButton* BitBtn2;

 protected:
  bool event(QEvent* event) override;
  // Enter presses "Stop!" unless a focused button takes it for itself.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  // The joint jsel names, or 0 when it names none of the model's joints.
  int32_t SelectedJoint() const;

  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Tphys* phys;

}  // namespace morv
