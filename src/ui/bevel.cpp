// A bevel: a sunken separator line or frame outline that only decorates a window.
#include "ui/bevel.h"

#include <QPainter>

namespace morv {

TBevel::TBevel(QWidget* parent, Shape shape) : QWidget(parent), shape_(shape) {
  // A bevel is drawn over whatever lies inside it, so clicks must reach the controls beneath.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  const int right = width() - 1;
  const int bottom = height() - 1;
  switch (shape_) {
    case Shape::Box:
      // Lowered: shadow on the top and left edges, light on the bottom and right.
      painter.setPen(shadow);
      painter.drawLine(0, 0, right, 0);
      painter.drawLine(0, 0, 0, bottom);
      painter.setPen(light);
      painter.drawLine(0, bottom, right, bottom);
      painter.drawLine(right, 0, right, bottom);
      break;
    case Shape::LeftLine:
      painter.setPen(shadow);
      painter.drawLine(0, 0, 0, bottom);
      painter.setPen(light);
      painter.drawLine(1, 0, 1, bottom);
      break;
    case Shape::RightLine:
      painter.setPen(shadow);
      painter.drawLine(right - 1, 0, right - 1, bottom);
      painter.setPen(light);
      painter.drawLine(right, 0, right, bottom);
      break;
  }
}

}  // namespace morv
