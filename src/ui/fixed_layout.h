// Building windows with fixed pixel layouts: named controls at exact client positions.
#pragma once

#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

namespace morv {

// Names the control (its name is how other windows and tests find it) and puts it at
// (left, top) with the given size in client pixels.
template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

// A label sized to its caption, as the windows' labels grow with their text.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);

// A push button that shows a glyph beside its caption, or above it.
enum class GlyphPlacement { Beside, Above };
QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph, GlyphPlacement placement, int left,
                             int top, int width, int height);

// Fixes the client area of a top-level window; the user cannot resize it. Its frame offers the
// buttons its flags name, and no others.
void FixClientSize(QWidget* window, const char* name, const QString& caption, int width,
                   int height);

// The default font of the program's windows: MS Sans Serif 8 point, which is 11 pixels at the
// 96 pixels per inch the layouts were made for. Pixel sizes keep layouts fixed on any screen.
QFont DefaultWindowFont();

// Window frames: a main window with minimise and system menu only, a window without any frame
// buttons, and a dialog without any frame buttons.
constexpr Qt::WindowFlags MainWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
constexpr Qt::WindowFlags BareWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
constexpr Qt::WindowFlags BareDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// For a window without a close button that lives as long as the program: a close the window
// manager asks for (some offer a close button whatever the window says) is refused. Returns true
// when the event was such a close.
bool RefuseFrameClose(QEvent* event);

// Puts a window at the centre of its screen.
void CentreOnScreen(QWidget* window);

}  // namespace morv
