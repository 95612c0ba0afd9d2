// The mechanics console: forces on joints, the gravitational constant and motion resets.
#pragma once

#include <QWidget>

namespace morv {

class Tphys : public QWidget {
  Q_OBJECT

 public:
  explicit Tphys(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tphys* phys;

}  // namespace morv
