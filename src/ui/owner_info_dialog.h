// The dialog that sets the model's owner, password and editing lock.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "platform/prompts.h"

namespace morv {

class Townerinfo : public QDialog {
  Q_OBJECT

 public:
  explicit Townerinfo(Prompts& prompts, QWidget* parent = nullptr);

  // Fills the fields from the model.
  void LoadFromModel();
  // OK: the model takes the three fields.
  void BitBtn1Click();

  QLabel* Label1;
  QLineEdit* Edit1;
  QLabel* Label2;
  QLineEdit* Edit2;
  QCheckBox* CheckBox1;
  QToolButton* BitBtn1;

  // The dialog has no Cancel: Escape and the window frame do not close it.
  void reject() override {}

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Townerinfo* ownerinfo;

}  // namespace morv
