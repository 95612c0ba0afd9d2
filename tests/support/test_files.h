// Scratch folders and raw file contents for tests.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace morv::test {

class ScratchDir {
 public:
  ScratchDir();
  QString Path(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// A file of the test data folder: tests/data of the sources, or MORV_TEST_DATA when set.
QString TestDataPath(const QString& name);

void WriteBytes(const QString& path, const std::string& bytes);
std::string ReadBytes(const QString& path);

}  // namespace morv::test
