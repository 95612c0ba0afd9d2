// A label for a reading ("Magnitude = 5.00 N") narrower than its longest text.
#include "ui/reading_label.h"

#include <QPainter>
#include <QStyle>

namespace morv {

QString TReadingLabel::ShownText() const {
  const QString whole = text();
  const QString sign = QStringLiteral("= ");
  const qsizetype at = whole.indexOf(sign);
  const QRect room = contentsRect();
  // The ink, not the advance: a last glyph may reach past its advance by a pixel.
  if (at < 0 || fontMetrics().boundingRect(room, Qt::AlignLeft, whole).width() <= room.width()) {
    return whole;
  }
  return whole.left(at + 1) + QLatin1Char('\n') + whole.mid(at + sign.size());
}

void TReadingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop, palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

}  // namespace morv
