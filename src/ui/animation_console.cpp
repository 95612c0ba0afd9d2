// The animation console: building, loading, saving and playing the animation set.
#include "ui/animation_console.h"

#include "ui/fixed_layout.h"

namespace morv {

Tanim* anim = nullptr;

Tanim::Tanim(QWidget* parent) : QWidget(parent, BareWindowFlags) {
  // The console has no close button: it stays open beside the model while animations play.
  FixClientSize(this, "anim", QStringLiteral("Animation Console - Playing : {0}"), 697, 105);
  setFont(DefaultWindowFont());
}

}  // namespace morv
