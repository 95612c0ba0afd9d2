// The dialog that gives one Bézier patch a new colour.
#pragma once

#include <QDialog>

namespace morv {

class Teditbez : public QDialog {
  Q_OBJECT

 public:
  explicit Teditbez(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Teditbez* editbez;

}  // namespace morv
