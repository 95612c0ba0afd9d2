// The buttons a window's frame offers, told to an X11 window manager in the Motif hints.
#include "widgets/window_frame.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace morv {

namespace {

// The Motif window manager hints: flags, functions, decorations, input mode, status.
constexpr uint32_t HintsFunctions = 1U << 0;
constexpr uint32_t HintsDecorations = 1U << 1;
constexpr uint32_t FunctionMove = 1U << 2;
constexpr uint32_t FunctionMinimise = 1U << 3;
constexpr uint32_t FunctionClose = 1U << 5;
constexpr uint32_t DecorationBorder = 1U << 1;
constexpr uint32_t DecorationTitle = 1U << 3;
constexpr uint32_t DecorationMenu = 1U << 4;
constexpr uint32_t DecorationMinimise = 1U << 5;

std::array<uint32_t, 5> MotifHints(FrameButtons buttons) {
  uint32_t functions = FunctionMove;
  uint32_t decorations = DecorationBorder | DecorationTitle;
  if (buttons == FrameButtons::MinimiseAndMenu) {
    functions |= FunctionMinimise | FunctionClose;
    decorations |= DecorationMenu | DecorationMinimise;
  }
  return {HintsFunctions | HintsDecorations, functions, decorations, 0, 0};
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

void WriteMotifHints(QWidget& window, FrameButtons buttons) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t atom = InternAtom(connection, "_MOTIF_WM_HINTS");
  if (atom == XCB_ATOM_NONE) return;
  const std::array<uint32_t, 5> hints = MotifHints(buttons);
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      atom, atom, 32, static_cast<uint32_t>(hints.size()), hints.data());
  xcb_flush(connection);
}

// Qt writes its own hints when it creates the native window and whenever the flags change, so
// ours go in at every showing, after Qt's and before the window manager reads them at the map.
class FrameHints : public QObject {
 public:
  FrameHints(QWidget& window, FrameButtons buttons) : QObject(&window), buttons_(buttons) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched == parent()) {
      WriteMotifHints(*static_cast<QWidget*>(watched), buttons_);
    }
    return false;
  }

 private:
  FrameButtons buttons_;
};

}  // namespace

void SetFrameButtons(QWidget& window, FrameButtons buttons) { new FrameHints(window, buttons); }

}  // namespace morv
