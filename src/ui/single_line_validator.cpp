// A text edit filter that keeps line breaks and NUL out of texts the model file stores on one line.
#include "ui/single_line_validator.h"

namespace morv {

namespace {

bool BreaksTheLine(QChar c) {
  return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0);
}

}  // namespace

QValidator::State TSingleLineValidator::validate(QString& text, int& position) const {
  QString kept;
  kept.reserve(text.size());
  int keptPosition = position;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!BreaksTheLine(text[i])) {
      kept.append(text[i]);
    } else if (i < position) {
      --keptPosition;
    }
  }
  text = kept;
  position = keptPosition;
  return Acceptable;
}

}  // namespace morv
