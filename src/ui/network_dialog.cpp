// The set-up dialog of network rendering: server address, shared folder and file base name.
#include "ui/network_dialog.h"

#include <QStyle>

#include "ui/dialog_controls.h"
#include "ui/fixed_layout.h"

namespace morv {

Tnetwork* network = nullptr;

Tnetwork::Tnetwork(QWidget* parent) : QDialog(parent, BareDialogFlags) {
  // Its fields are read at the moment of every network render, so the dialog lives for the whole
  // run and closes through its own OK only.
  FixClientSize(this, "network", QStringLiteral("Network Rendering"), 217, 161);
  setFont(DefaultWindowFont());
  setModal(true);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Network Render Server IP:"), 8, 8);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Path:"), 8, 48);
  Label3 = MakeLabel(this, "Label3", QStringLiteral("FileName:"), 8, 88);
  // The user completes the address of the server on the private network.
  Edit1 = Place(new QLineEdit(QStringLiteral("192.168.0."), this), "Edit1", 8, 24, 201, 21);
  Edit2 =
      Place(new QLineEdit(QStringLiteral("\\\\PCNAME\\FOLDER\\"), this), "Edit2", 8, 64, 201, 21);
  Edit3 = Place(new QLineEdit(QStringLiteral("OBJECT1"), this), "Edit3", 8, 104, 201, 21);
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("&OK"), 136, 128, 75, 25, true);
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, BitBtn1);
  connect(BitBtn1, &QPushButton::clicked, this, &Tnetwork::BitBtn1Click);
}

void Tnetwork::BitBtn1Click() { accept(); }

void Tnetwork::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace morv
