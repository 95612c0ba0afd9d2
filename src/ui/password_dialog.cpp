// The prompt that unlocks editing of a locked model with its password.
#include "ui/password_dialog.h"

#include "engine/model.h"
#include "platform/qt_text.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"

namespace morv {

Tpassword* password = nullptr;

Tpassword::Tpassword(Prompts& prompts, QWidget* parent)
    : TEditDialog(parent, BareDialogFlags), prompts_(prompts) {
  // It closes through its own OK and Cancel only.
  FixClientSize(this, "password", QStringLiteral("Enter Object Password"), 265, 81);
  setFont(DefaultWindowFont());
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Enter object password to edit:"), 8, 8);
  Edit1 = Place(new QLineEdit(this), "Edit1", 8, 24, 249, 21);
  Edit1->setEchoMode(QLineEdit::Password);
  Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), 104, 48, 75, 25, true);
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  Button1 = MakeButton(this, "Button1", QStringLiteral("Cancel"), 184, 48, 75, 25);
  setTabOrder(Edit1, BitBtn1);
  setTabOrder(BitBtn1, Button1);
  connect(BitBtn1, &QPushButton::clicked, this, &Tpassword::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &Tpassword::Button1Click);
}

void Tpassword::BitBtn1Click() {
  // Character for character, case counts. The edit keeps its text for the next time.
  if (Edit1->text() == FromModelText(CurrentModel.Password)) {
    if (Form1 != nullptr) Form1->PasswordGiven();
  } else {
    prompts_.ShowMessage(QStringLiteral("Access denied!"));
  }
  accept();
}

void Tpassword::Button1Click() { QDialog::reject(); }

}  // namespace morv
