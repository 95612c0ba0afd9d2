// A render canvas over a QImage, and bitmap export.
#include "platform/qimage_canvas.h"

#include <QPainter>
#include <QSaveFile>

#include "engine/errors.h"
#include "platform/fonts.h"

namespace morv {

QImageCanvas::QImageCanvas(int width, int height)
    : image_(width, height, QImage::Format_RGB32), font_(QStringLiteral("MS Sans Serif")) {
  image_.fill(Qt::white);
  font_.setPointSize(8);
}

TPixelBuffer QImageCanvas::Pixels() {
  // bits() detaches the image first, so a copy shown elsewhere is never written behind its back.
  return {reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
          image_.bytesPerLine() / 4};
}

QImage QImageCanvas::Snapshot() {
  Lock();
  QImage copy = image_.copy();
  Unlock();
  return copy;
}

void QImageCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  QPainter painter(&image_);
  painter.setFont(font_);
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QFontMetrics metrics(font_);
  painter.drawText(x, y + metrics.ascent(), QString::fromUtf8(text.c_str()));
}

void SaveBitmap24(const QImage& image, const QString& path) {
  QSaveFile file(path);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  if (!file.open(QIODevice::WriteOnly) || !rgb.save(&file, "BMP") || !file.commit()) {
    throw FileError("Cannot create file " + path.toStdString());
  }
}

}  // namespace morv
