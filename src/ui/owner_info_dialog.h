// The dialog that sets the model's owner, password and editing lock.
#pragma once

#include <QDialog>

namespace morv {

class Townerinfo : public QDialog {
  Q_OBJECT

 public:
  explicit Townerinfo(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Townerinfo* ownerinfo;

}  // namespace morv
