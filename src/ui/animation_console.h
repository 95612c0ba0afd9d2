// The animation console: building, loading, saving and playing the animation set.
#pragma once

#include <QWidget>

namespace morv {

class Tanim : public QWidget {
  Q_OBJECT

 public:
  explicit Tanim(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tanim* anim;

}  // namespace morv
