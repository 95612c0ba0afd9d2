// The prompt that unlocks editing of a locked model with its password.
#pragma once

#include <QDialog>

namespace morv {

class Tpassword : public QDialog {
  Q_OBJECT

 public:
  explicit Tpassword(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tpassword* password;

}  // namespace morv
