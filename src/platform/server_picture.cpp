// The picture a render server answers with: read from its bitmap file and placed into the 3D view.
#include "platform/server_picture.h"

#include <QImageReader>
#include <QPainter>

#include "engine/errors.h"

namespace morv {

namespace {

// Whether an image of this size and format stays within what the reader itself would allocate.
bool WithinAllocationLimit(const QSize& size, QImage::Format format) {
  const qint64 limitBits = qint64{QImageReader::allocationLimit()} * 1024 * 1024 * 8;
  const qint64 pixels = qint64{size.width()} * size.height();
  return limitBits > 0 && pixels <= limitBits / QImage::toPixelFormat(format).bitsPerPixel();
}

QImage Read(QImageReader& reader, const QString& name) {
  // Run-length coded bitmaps may skip pixels, and Qt leaves those as whatever memory held before:
  // decoded into a cleared image of the size and format the header announces, they show the
  // first colour instead of stray memory. A header announcing too much is left for the reader to
  // refuse.
  QImage picture;
  const QSize size = reader.size();
  const QImage::Format format = reader.imageFormat();
  if (size.isValid() && !size.isEmpty() && format != QImage::Format_Invalid &&
      WithinAllocationLimit(size, format)) {
    picture = QImage(size, format);
    picture.fill(0);
  }
  if (!reader.read(&picture) || picture.isNull()) {
    throw FileError("Cannot open file " + name.toStdString());
  }
  return picture;
}

}  // namespace

QImage ReadServerPicture(const QString& path) {
  QImageReader reader(path, "bmp");
  return Read(reader, path);
}

QImage ReadServerPicture(QIODevice& device, const QString& name) {
  QImageReader reader(&device, "bmp");
  return Read(reader, name);
}

void PlaceServerPicture(const QImage& picture, QImage& view) {
  view.fill(Qt::white);
  QPainter painter(&view);
  painter.drawImage(0, 0, picture);
}

}  // namespace morv
