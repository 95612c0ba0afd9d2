// The set-up dialog of network rendering: server address, shared folder and file base name.
#include "ui/network_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Tnetwork* network = nullptr;

Tnetwork::Tnetwork(QWidget* parent) : QDialog(parent, BareDialogFlags) {
  // Its fields are read at the moment of every network render, so the dialog lives for the whole
  // run.
  FixClientSize(this, "network", QStringLiteral("Network Rendering"), 217, 161);
  setFont(DefaultWindowFont());
}

}  // namespace morv
