// A bevel: a sunken separator line or frame outline that only decorates a window.
#pragma once

#include <QWidget>

namespace morv {

class TBevel : public QWidget {
 public:
  enum class Shape { Box, LeftLine, RightLine };

  TBevel(QWidget* parent, Shape shape);

  Shape BevelShape() const { return shape_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Shape shape_;
};

}  // namespace morv
