// A text edit filter that keeps line breaks and NUL out of texts the model file stores on one line.
#pragma once

#include <QValidator>

namespace morv {

// Pasted or set text loses its CR, LF and NUL characters; everything else is kept as typed.
class TSingleLineValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& text, int& position) const override;
};

}  // namespace morv
