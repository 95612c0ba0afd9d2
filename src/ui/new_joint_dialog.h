// The dialog that places a new joint, gives it a mass and collects the control vertices it carries.
#pragma once

#include <QDialog>

namespace morv {

class Tnewjoint : public QDialog {
  Q_OBJECT

 public:
  explicit Tnewjoint(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tnewjoint* newjoint;

}  // namespace morv
