// The dialog that picks the eight control vertices and the colour of a new Bézier patch.
#pragma once

#include <QDialog>

namespace morv {

class Tnewbezier : public QDialog {
  Q_OBJECT

 public:
  explicit Tnewbezier(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tnewbezier* newbezier;

}  // namespace morv
