// An image control: a picture of fixed size that the program draws into and the user clicks on.
#include "ui/image_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace morv {

TImageView::TImageView(QWidget* parent, int width, int height)
    : QWidget(parent), canvas_(width, height) {
  setFixedSize(width, height);
  // Hover rotation follows the pointer with no button held, so every move is reported.
  setMouseTracking(true);
}

void TImageView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // The lock keeps a render worker from drawing while the picture is shown.
  canvas_.Lock();
  painter.drawImage(0, 0, canvas_.Image());
  canvas_.Unlock();
}

void TImageView::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->position().toPoint());
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(event->buttons(), event->position().toPoint());
}

void TImageView::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(event->button(), event->position().toPoint());
}

}  // namespace morv
