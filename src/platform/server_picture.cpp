// The picture a render server answers with: read from its bitmap file and placed into the 3D view.
#include "platform/server_picture.h"

#include <QImageReader>
#include <QPainter>

#include "engine/errors.h"

namespace morv {

namespace {

QImage Read(QImageReader& reader, const QString& name) {
  const QImage picture = reader.read();
  if (picture.isNull()) throw FileError("Cannot open file " + name.toStdString());
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
