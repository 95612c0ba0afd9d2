// Compares a picture with a committed golden image.
#include "support/golden_image.h"

#include <QDir>
#include <QFileInfo>

#include "support/test_files.h"

namespace morv::test {

::testing::AssertionResult MatchesGolden(const QImage& actual, const QString& goldenName) {
  const QImage golden(TestDataPath(goldenName));
  if (golden.isNull())
    return ::testing::AssertionFailure() << "no golden image " << goldenName.toStdString();
  const QImage a = actual.convertToFormat(QImage::Format_RGB32);
  const QImage g = golden.convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  QImage diff(g.size(), QImage::Format_RGB32);
  diff.fill(Qt::white);
  if (a.size() == g.size()) {
    for (int y = 0; y < g.height(); ++y) {
      for (int x = 0; x < g.width(); ++x) {
        if (a.pixel(x, y) != g.pixel(x, y)) {
          ++differing;
          diff.setPixel(x, y, qRgb(255, 0, 0));
        }
      }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
  }
  const QString base = QFileInfo(goldenName).completeBaseName();
  const QString actualPath = QDir::current().filePath(base + ".actual.png");
  const QString diffPath = QDir::current().filePath(base + ".diff.png");
  a.save(actualPath);
  diff.save(diffPath);
  return ::testing::AssertionFailure()
         << differing << " pixels differ from " << goldenName.toStdString() << " (size "
         << a.width() << "x" << a.height() << " vs " << g.width() << "x" << g.height()
         << "); wrote " << actualPath.toStdString() << " and " << diffPath.toStdString();
}

}  // namespace morv::test
