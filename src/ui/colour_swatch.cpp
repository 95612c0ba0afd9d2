// A colour swatch: a filled rectangle with a black outline that shows one model colour.
#include "ui/colour_swatch.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/colour.h"

namespace morv {

TColourSwatch::TColourSwatch(QWidget* parent, int32_t colour) : QWidget(parent), colour_(colour) {}

void TColourSwatch::SetColour(int32_t colour) {
  colour_ = colour;
  update();
}

void TColourSwatch::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.setBrush(ColourToQColor(colour_));
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

void TColourSwatch::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->position().toPoint());
}

}  // namespace morv
