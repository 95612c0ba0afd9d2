// Text files as lists of 8-bit lines on disk; saving is atomic.
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "engine/errors.h"

namespace morv {

TextLines ReadTextLines(const QString& path) {
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    throw FileError("Cannot open file " + path.toStdString());
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw FileError("Cannot open file " + path.toStdString());
  }
  return SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void WriteFileAtomically(const QString& path, std::string_view bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    throw FileError("Cannot create file " + path.toStdString());
  }
}

void WriteTextLines(const QString& path, const TextLines& lines) {
  WriteFileAtomically(path, JoinLines(lines));
}

}  // namespace morv
