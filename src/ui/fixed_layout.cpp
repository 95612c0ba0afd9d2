// Building windows with fixed pixel layouts: named controls at exact client positions.
#include "ui/fixed_layout.h"

#include <QEvent>
#include <QScreen>

#include "platform/fonts.h"
#include "widgets/window_frame.h"

namespace morv {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QToolButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph, GlyphPlacement placement, int left,
                             int top, int width, int height) {
  auto* button = Place(new QToolButton(parent), name, left, top, width, height);
  button->setText(caption);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->setIconSize(QSize(16, 16));
  button->setToolButtonStyle(placement == GlyphPlacement::Above ? Qt::ToolButtonTextUnderIcon
                                                                : Qt::ToolButtonTextBesideIcon);
  // Buttons take the keyboard focus like any other control, so the tab order reaches them.
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

void FixClientSize(QWidget* window, const char* name, const QString& caption, int width,
                   int height) {
  window->setObjectName(QString::fromLatin1(name));
  window->setWindowTitle(caption);
  window->setFixedSize(width, height);
  // The frame offers what the flags ask for and nothing more, under any window manager that
  // reads the hints.
  SetFrameButtons(*window, window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)
                               ? FrameButtons::MinimiseAndMenu
                               : FrameButtons::None);
}

QFont DefaultWindowFont() { return PixelFont(QStringLiteral("MS Sans Serif"), 11); }

bool RefuseFrameClose(QEvent* event) {
  if (event->type() != QEvent::Close || !event->spontaneous()) return false;
  event->ignore();
  return true;
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window->move(area.left() + (area.width() - window->width()) / 2,
               area.top() + (area.height() - window->height()) / 2);
}

}  // namespace morv
