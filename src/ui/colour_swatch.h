// A colour swatch: a filled rectangle with a black outline that shows one model colour.
#pragma once

#include <QWidget>
#include <cstdint>

namespace morv {

class TColourSwatch : public QWidget {
  Q_OBJECT

 public:
  TColourSwatch(QWidget* parent, int32_t colour);

  // Colours in the model's form, red in the lowest byte.
  int32_t Colour() const { return colour_; }
  void SetColour(int32_t colour);

 signals:
  void MouseDown(Qt::MouseButton button, QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int32_t colour_;
};

}  // namespace morv
