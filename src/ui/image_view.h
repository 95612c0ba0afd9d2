// An image control: a picture of fixed size that the program draws into and the user clicks on.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/qimage_canvas.h"

namespace morv {

class TImageView : public QWidget {
  Q_OBJECT

 public:
  TImageView(QWidget* parent, int width, int height);

  // The picture itself; whoever draws into it calls update() so the control shows the change.
  // A render worker may be drawing into it: read it through Canvas().Snapshot() then.
  QImage& Picture() { return canvas_.Image(); }
  const QImage& Picture() const { return canvas_.Image(); }
  QImageCanvas& Canvas() { return canvas_; }

 signals:
  void MouseDown(Qt::MouseButton button, QPoint position);
  void MouseMove(Qt::MouseButtons buttons, QPoint position);
  void MouseUp(Qt::MouseButton button, QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImageCanvas canvas_;
};

}  // namespace morv
