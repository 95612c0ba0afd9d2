// Fuzzes the bitmap a render server answers with, read and drawn into the 3D view as the network
// client does: it reads or is refused with a FileError, and drawn it fills the view exactly.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/errors.h"
#include "platform/server_picture.h"
#include "property.h"

using namespace morv;

namespace {

constexpr int ViewSize = 360;

// Never destroyed: Qt's own globals are gone by the time static objects end at exit.
QGuiApplication* application = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  application = new QGuiApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);
  QImage picture;
  try {
    picture = ReadServerPicture(device, QStringLiteral("FUZZ.BMP"));
  } catch (const FileError&) {
    return 0;
  }
  Require(!picture.isNull(), "a picture that reads is not empty");
  if (picture.format() == QImage::Format_Indexed8 || picture.depth() == 1) {
    Require(picture.colorCount() >= 1 << picture.depth(),
            "an indexed picture has a colour for every index its pixels can hold");
  }

  QImage view(ViewSize, ViewSize, QImage::Format_RGB32);
  view.fill(Qt::red);
  PlaceServerPicture(picture, view);
  Require(view.size() == QSize(ViewSize, ViewSize) && view.format() == QImage::Format_RGB32,
          "the view keeps its size and format");
  const QRect covered = view.rect() & picture.rect();
  for (int y = 0; y < ViewSize; ++y) {
    // Read straight from the scan line: pixel() for every point of the view would halve the rate.
    const auto* line = reinterpret_cast<const QRgb*>(view.constScanLine(y));
    for (int x = 0; x < ViewSize; ++x) {
      if (!covered.contains(x, y)) {
        Require(line[x] == qRgb(255, 255, 255), "the view outside the picture is white");
      } else if (!picture.hasAlphaChannel()) {
        Require(line[x] == picture.pixel(x, y), "an opaque picture is shown as it is");
      }
    }
  }
  return 0;
}
