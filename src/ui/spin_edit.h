// An integer spin edit that clamps every value into its range and can refuse typed input.
#pragma once

#include <QSpinBox>

namespace morv {

// Any number may be typed: the value is the typed number brought to the nearer bound of the
// range, and text that is not a number reads as the lower bound (or as 0, see below). The text
// shows the value again once editing is finished. A field reached by the keyboard, or holding the
// focus when its window comes up, has its whole text selected, so typing replaces the number
// instead of adding digits to it.
class TSpinEdit : public QSpinBox {
 public:
  TSpinEdit(QWidget* parent, int minimum, int maximum, int value);

  // With typing off only the arrows and the program change the value.
  void SetTypingAllowed(bool allowed);

  // What text that is not a number reads as; a field without a range of its own reads it as 0.
  void SetNonNumberValue(int value) { nonNumberValue_ = value; }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  QValidator::State validate(QString& text, int& position) const override;
  int valueFromText(const QString& text) const override;

 private:
  int nonNumberValue_;
};

}  // namespace morv
