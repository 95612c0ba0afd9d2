// An integer spin edit that clamps every value into its range and can refuse typed input.
#pragma once

#include <QSpinBox>

namespace morv {

class TSpinEdit : public QSpinBox {
 public:
  TSpinEdit(QWidget* parent, int minimum, int maximum, int value);

  // With typing off only the arrows and the program change the value.
  void SetTypingAllowed(bool allowed);
};

}  // namespace morv
