// The program's one animation set.
#include "engine/animation.h"

namespace morv {

TAnimationList AnimationSet;

}  // namespace morv
