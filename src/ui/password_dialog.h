// The prompt that unlocks editing of a locked model with its password.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "platform/prompts.h"
#include "ui/dialog_controls.h"

namespace morv {

class Tpassword : public TEditDialog {
  Q_OBJECT

 public:
  explicit Tpassword(Prompts& prompts, QWidget* parent = nullptr);

  // OK: the model's password unlocks editing; anything else is denied.
  void BitBtn1Click();
  // Cancel: closes, nothing changes.
  void Button1Click();
  void Cancel() override { Button1Click(); }

  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton* BitBtn1;
  QPushButton* Button1;

 private:
  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern Tpassword* password;

}  // namespace morv
