// A render canvas over a QImage, and bitmap export.
#include "platform/qimage_canvas.h"

#include <QBuffer>
#include <QPainter>

#include "engine/errors.h"
#include "platform/file_system.h"
#include "platform/fonts.h"

namespace morv {

QImageCanvas::QImageCanvas(int width, int height)
    // 8 points on a 96 dpi screen, fixed in pixels so that the picture is the same on any screen
    // and in the programs that have none.
    : image_(width, height, QImage::Format_RGB32),
      font_(PixelFont(QStringLiteral("MS Sans Serif"), 11)) {
  image_.fill(Qt::white);
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
  // The point given is the text's top-left corner; QPainter places text by its baseline.
  painter.drawText(x, y + painter.fontMetrics().ascent(), QString::fromUtf8(text.c_str()));
}

QByteArray EncodeImage(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) return {};
  return bytes;
}

void SaveImage(const QImage& image, const QString& path, const char* format, TLinks links) {
  const QByteArray bytes = EncodeImage(image, format);
  if (bytes.isEmpty()) throw FileError("Cannot create file " + FileNameBytes(path));
  WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), links);
}

void SaveBitmap24(const QImage& image, const QString& path, TLinks links) {
  SaveImage(image.convertToFormat(QImage::Format_RGB32), path, "BMP", links);
}

}  // namespace morv
