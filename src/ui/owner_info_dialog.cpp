// The dialog that sets the model's owner, password and editing lock.
#include "ui/owner_info_dialog.h"

#include "engine/model.h"
#include "engine/model_file.h"
#include "platform/qt_text.h"
#include "ui/fixed_layout.h"
#include "ui/single_line_validator.h"

namespace morv {

Townerinfo* ownerinfo = nullptr;

namespace {

// A password must survive the model file unchanged: every character 8-bit, and none whose
// scrambled form would break the file's lines.
bool StorablePassword(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0xFF) return false;
  }
  return PasswordFitsModelFile(ToModelText(text));
}

}  // namespace

Townerinfo::Townerinfo(Prompts& prompts, QWidget* parent)
    : QDialog(parent, BareDialogFlags), prompts_(prompts) {
  // It closes through its own OK only.
  FixClientSize(this, "ownerinfo", QStringLiteral("Object Owner Information"), 281, 97);
  setFont(DefaultWindowFont());
  setModal(true);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Owner:"), 8, 12);
  Edit1 = Place(new QLineEdit(this), "Edit1", 64, 8, 209, 21);
  // The owner is one line of the model file.
  Edit1->setValidator(new TSingleLineValidator(Edit1));
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Password:"), 8, 36);
  Edit2 = Place(new QLineEdit(this), "Edit2", 64, 32, 209, 21);
  CheckBox1 = Place(new QCheckBox(QStringLiteral("Prevent editing without password"), this),
                    "CheckBox1", 8, 64, 185, 17);
  BitBtn1 = MakeGlyphButton(this, "BitBtn1", QStringLiteral("OK"), QStyle::SP_DialogOkButton,
                            GlyphPlacement::Beside, 200, 64, 75, 25);
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, CheckBox1);
  setTabOrder(CheckBox1, BitBtn1);
  connect(BitBtn1, &QToolButton::clicked, this, &Townerinfo::BitBtn1Click);
}

void Townerinfo::LoadFromModel() {
  Edit1->setText(FromModelText(CurrentModel.Owner));
  Edit2->setText(FromModelText(CurrentModel.Password));
  CheckBox1->setChecked(CurrentModel.Locked);
}

void Townerinfo::BitBtn1Click() {
  if (!StorablePassword(Edit2->text())) {
    // Saving would lose the password; the dialog stays open for another one.
    prompts_.ShowMessage(QStringLiteral(
        "This password holds a character that a model file cannot store. Please choose another "
        "password."));
    return;
  }
  CurrentModel.Owner = ToModelText(Edit1->text());
  CurrentModel.Password = ToModelText(Edit2->text());
  CurrentModel.Locked = CheckBox1->isChecked();
  accept();
}

void Townerinfo::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace morv
