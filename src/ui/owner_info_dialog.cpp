// The dialog that sets the model's owner, password and editing lock.
#include "ui/owner_info_dialog.h"

#include "ui/fixed_layout.h"

namespace morv {

Townerinfo* ownerinfo = nullptr;

Townerinfo::Townerinfo(QWidget* parent) : QDialog(parent, BareDialogFlags) {
  // It closes through its OK button only.
  FixClientSize(this, "ownerinfo", QStringLiteral("Object Owner Information"), 281, 97);
  setFont(DefaultWindowFont());
}

}  // namespace morv
