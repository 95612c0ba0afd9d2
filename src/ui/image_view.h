// An image control: a picture of fixed size that the program draws into and the user clicks on.
#pragma once

#include <QImage>
#include <QWidget>

namespace morv {

class TImageView : public QWidget {
  Q_OBJECT

 public:
  TImageView(QWidget* parent, int width, int height);

  // The picture itself; whoever draws into it calls update() so the control shows the change.
  QImage& Picture() { return picture_; }
  const QImage& Picture() const { return picture_; }

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
  QImage picture_;
};

}  // namespace morv
