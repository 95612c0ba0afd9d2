// The buttons a window's frame offers, told to an X11 window manager in the Motif hints.
#pragma once

class QWidget;

namespace morv {

enum class FrameButtons {
  // A title and border only: no close, minimise or maximise button and no window menu.
  None,
  // Minimise and the window menu (with its close item and button); never maximise.
  MinimiseAndMenu,
};

// Tells the window manager which frame buttons and functions the window has, every time the
// window is shown, just before it is mapped. Qt names only the functions it allows when a window
// asks for some buttons, and allows every function when it asks for none, so a window without
// buttons would be offered all three; the hints written here say exactly what the window offers.
// Does nothing on a platform other than X11.
void SetFrameButtons(QWidget& window, FrameButtons buttons);

}  // namespace morv
