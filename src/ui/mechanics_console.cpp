// The mechanics console: forces on joints, the gravitational constant and motion resets.
#include "ui/mechanics_console.h"

#include "ui/fixed_layout.h"

namespace morv {

Tphys* phys = nullptr;

Tphys::Tphys(QWidget* parent) : QWidget(parent, BareWindowFlags) {
  // The console closes through its own "Stop!" only, which also ends the simulation.
  FixClientSize(this, "phys", QStringLiteral("Newtonian Mechanics"), 697, 65);
  setFont(DefaultWindowFont());
}

}  // namespace morv
