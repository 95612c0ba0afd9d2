// Scratch folders and raw file contents for tests.
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace morv::test {

ScratchDir::ScratchDir() { EXPECT_TRUE(dir_.isValid()); }

QString ScratchDir::Path(const QString& name) const { return dir_.filePath(name); }

QString TestDataPath(const QString& name) {
  QString root = qEnvironmentVariable("MORV_TEST_DATA");
  if (root.isEmpty()) root = QStringLiteral(MORV_SOURCE_TEST_DATA);
  return QDir(root).filePath(name);
}

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

}  // namespace morv::test
