// The server's bitmap: read from a file or a device, refused when it is none, and drawn into the
// view.
#include "platform/server_picture.h"

#include <gtest/gtest.h>
#include <QBuffer>

#include "engine/errors.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ScratchDir;
using test::TestDataPath;
using test::WriteBytes;

QImage Filled(int width, int height, Qt::GlobalColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(ServerPicture, ReadsABitmapFromAFileOrADevice) {
  ScratchDir dir;
  const QString path = dir.Path("OBJECT1.BMP");
  const QImage written = Filled(3, 2, Qt::blue);
  ASSERT_TRUE(written.save(path, "BMP"));
  EXPECT_EQ(ReadServerPicture(path).convertToFormat(QImage::Format_RGB32), written);

  QByteArray bytes;
  QBuffer device(&bytes);
  device.open(QIODevice::WriteOnly);
  ASSERT_TRUE(written.save(&device, "BMP"));
  device.close();
  device.open(QIODevice::ReadOnly);
  EXPECT_EQ(ReadServerPicture(device, "any").convertToFormat(QImage::Format_RGB32), written);
}

TEST(ServerPicture, RefusesAMissingFileAndOneThatHoldsNoBitmap) {
  ScratchDir dir;
  const QString png = dir.Path("PNG.BMP");
  ASSERT_TRUE(Filled(2, 2, Qt::red).save(png, "PNG"));
  const QString text = dir.Path("TEXT.BMP");
  WriteBytes(text, "BM this is no picture");
  const struct {
    QString path;
    std::string reason;
  } rows[] = {{dir.Path("MISSING.BMP"), "no such file"},
              {png, "it holds no bitmap that reads"},
              {text, "it holds no bitmap that reads"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    try {
      ReadServerPicture(row.path);
      ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
      EXPECT_EQ(e.what(), "Cannot open file " + row.path.toStdString() + ": " + row.reason);
    }
  }
}

TEST(ServerPicture, PixelsThatARunLengthBitmapSkipsShowItsFirstColour) {
  // Six by two pixels in 16 colours: the lower row full, the upper one ending after four pixels.
  const QImage picture = ReadServerPicture(TestDataPath("fuzz/rle4_row_ends_early.bmp"));
  ASSERT_EQ(picture.size(), QSize(6, 2));
  for (int x = 0; x < 6; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(picture.pixelIndex(x, 0), x < 4 ? x + 3 : 0);
    EXPECT_EQ(picture.pixelIndex(x, 1), x % 2 == 0 ? 1 : 2);
  }
}

TEST(ServerPicture, PixelsNamingColoursTheTableLacksShowBlack) {
  // Sixteen-colour pixels with a table of two colours.
  const QImage picture = ReadServerPicture(TestDataPath("fuzz/four_bit_two_colour_table.bmp"));
  ASSERT_EQ(picture.size(), QSize(6, 3));
  ASSERT_EQ(picture.colorCount(), 256);
  QImage view = Filled(360, 360, Qt::red);
  PlaceServerPicture(picture, view);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) {
      SCOPED_TRACE(QStringLiteral("%1,%2").arg(x).arg(y).toStdString());
      const int index = picture.pixelIndex(x, y);
      EXPECT_EQ(view.pixel(x, y), index < 2 ? picture.color(index) : qRgb(0, 0, 0));
    }
  }
}

TEST(ServerPicture, PixelsMissingFromAShortFileShowOpaqueBlack) {
  // Three by two pixels stored top row first, the file ending after the first pixel.
  const QImage picture = ReadServerPicture(TestDataPath("fuzz/rgb24_top_down_short.bmp"));
  ASSERT_EQ(picture.size(), QSize(3, 2));
  QImage view = Filled(360, 360, Qt::red);
  PlaceServerPicture(picture, view);
  for (int y = 0; y < 2; ++y) {
    // The view's own words: an alpha other than opaque would be wrong in a 32-bit RGB image.
    const auto* line = reinterpret_cast<const QRgb*>(view.constScanLine(y));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(line[x], qRgb(0, 0, 0)) << x << "," << y;
  }
}

TEST(ServerPicture, FillsTheViewFromTheTopLeftCornerAndWhitensTheRest) {
  const struct { int width, height; } sizes[] = {{100, 50}, {400, 500}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(size.width);
    QImage view = Filled(360, 360, Qt::red);
    PlaceServerPicture(Filled(size.width, size.height, Qt::blue), view);
    EXPECT_EQ(view.size(), QSize(360, 360));
    EXPECT_EQ(view.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(view.pixel(std::min(size.width, 360) - 1, std::min(size.height, 360) - 1),
              qRgb(0, 0, 255));
    const bool narrow = size.width < 360;
    EXPECT_EQ(view.pixel(359, 359), narrow ? qRgb(255, 255, 255) : qRgb(0, 0, 255));
    if (narrow) {
      EXPECT_EQ(view.pixel(size.width, 0), qRgb(255, 255, 255));
    }
  }
}

}  // namespace
}  // namespace morv
