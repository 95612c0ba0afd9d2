// Whether a message box is on screen, whoever opened it.
#pragma once

namespace morv {

// True while any message box of the program is shown. A message box runs its own event loop, in
// which timers, sockets and window activation go on; flows that could show another message wait
// for this to be false.
bool AnyMessageBoxOpen();

}  // namespace morv
