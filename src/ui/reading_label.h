// A label for a reading ("Magnitude = 5.00 N") narrower than its longest text.
#pragma once

#include <QLabel>
#include <QString>

namespace morv {

// Shown on one line while the text fits the label; otherwise broken once, after the first "= ",
// so that the number and its unit stay together on the second line.
class TReadingLabel : public QLabel {
 public:
  using QLabel::QLabel;

  // The text as the label draws it, with the line break it takes.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace morv
