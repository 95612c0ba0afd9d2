// The dialog that asks where a new control vertex goes.
#pragma once

#include <QDialog>

namespace morv {

class Tnewcontrol : public QDialog {
  Q_OBJECT

 public:
  explicit Tnewcontrol(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tnewcontrol* newcontrol;

}  // namespace morv
