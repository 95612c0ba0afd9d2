// The picture a render server answers with: read from its bitmap file and placed into the 3D view.
#include "platform/server_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <limits>

#include "engine/errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

namespace {

// Whether an image of this size and format stays within what the reader itself would allocate.
bool WithinAllocationLimit(const QSize& size, QImage::Format format) {
  const qint64 limitBits = qint64{QImageReader::allocationLimit()} * 1024 * 1024 * 8;
  const qint64 pixels = qint64{size.width()} * size.height();
  return limitBits > 0 && pixels <= limitBits / QImage::toPixelFormat(format).bitsPerPixel();
}

// How many colours the pixels of an indexed format can name; 0 for formats that hold colours.
qsizetype IndexCount(QImage::Format format) {
  switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      return 2;
    case QImage::Format_Indexed8:
      return 256;
    default:
      return 0;
  }
}

// Qt's painter looks the pixels of an indexed image up in its colour table unchecked, so a bitmap
// whose pixels name colours its table lacks would be drawn from memory past the table. The table
// is completed to every index the pixels can hold; the added colours are black.
void CompleteColourTable(QImage& picture) {
  const qsizetype indices = IndexCount(picture.format());
  if (picture.colorCount() >= indices) return;
  QList<QRgb> table = picture.colorTable();
  table.resize(indices, qRgb(0, 0, 0));
  picture.setColorTable(table);
}

QImage Read(QImageReader& reader, const QString& name) {
  // Qt leaves the pixels a bitmap does not set, skipped by its run-length codes or missing from a
  // short file, as whatever memory held before. Decoded into a prepared image of the size and
  // format the header announces, they show the first colour of an indexed bitmap and opaque black
  // in any other. A header announcing too much is left for the reader to refuse.
  QImage picture;
  QSize size = reader.size();
  // A bitmap stored top row first announces its height negative.
  if (size.height() < 0 && size.height() > std::numeric_limits<int>::min()) {
    size.setHeight(-size.height());
  }
  const QImage::Format format = reader.imageFormat();
  if (size.isValid() && !size.isEmpty() && format != QImage::Format_Invalid &&
      WithinAllocationLimit(size, format)) {
    picture = QImage(size, format);
    if (IndexCount(format) > 0) {
      picture.fill(0u);
    } else {
      picture.fill(QColor(Qt::black));
    }
  }
  if (!reader.read(&picture) || picture.isNull()) {
    throw FileError("Cannot open file " + FileNameBytes(name) + ": it holds no bitmap that reads");
  }
  CompleteColourTable(picture);
  return picture;
}

}  // namespace

QImage ReadServerPicture(const QString& path) {
  QByteArray bytes = QByteArray::fromStdString(ReadFileBytes(path));
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);
  return ReadServerPicture(device, path);
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
