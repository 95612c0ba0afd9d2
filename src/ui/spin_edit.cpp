// An integer spin edit that clamps every value into its range and can refuse typed input.
#include "ui/spin_edit.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace morv {

namespace {

// An optional sign and digits; a lone sign or nothing at all is text that is not a number.
const QRegularExpression& TypableText() {
  static const QRegularExpression pattern(QStringLiteral("^\\s*[-+]?[0-9]*\\s*$"));
  return pattern;
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent, int minimum, int maximum, int value)
    : QSpinBox(parent), nonNumberValue_(minimum) {
  setRange(minimum, maximum);
  setValue(value);
  // Values past either end stop there; an angle of 361 is not 1.
  setWrapping(false);
}

void TSpinEdit::SetTypingAllowed(bool allowed) { lineEdit()->setReadOnly(!allowed); }

void TSpinEdit::focusInEvent(QFocusEvent* event) {
  QSpinBox::focusInEvent(event);
  // A click places the caret where it lands and a closing menu gives the focus back as it was.
  switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::ActiveWindowFocusReason:
      selectAll();
      break;
    default:
      break;
  }
}

QValidator::State TSpinEdit::validate(QString& text, int& /*position*/) const {
  // Every keystroke that keeps the text a possible number is taken, even past the range: the
  // value is brought into the range, not the typing refused.
  return TypableText().match(text).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

int TSpinEdit::valueFromText(const QString& text) const {
  const QString digits = text.trimmed();
  bool ok = false;
  const qlonglong number = digits.toLongLong(&ok);
  if (ok) return static_cast<int>(std::clamp<qlonglong>(number, minimum(), maximum()));
  // Typing keeps the text to a sign and digits, so what does not convert is either nothing or a
  // lone sign, or more digits than any integer holds, which lie past one end of the range.
  if (digits.size() <= 1) return std::clamp(nonNumberValue_, minimum(), maximum());
  return digits.startsWith(QLatin1Char('-')) ? minimum() : maximum();
}

}  // namespace morv
