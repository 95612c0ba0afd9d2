// A render canvas over a QImage: polygons are filled straight into its pixels, text goes through
// QPainter.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>

#include "engine/render_canvas.h"
#include "platform/text_file.h"

namespace morv {

class QImageCanvas : public TRenderCanvas {
 public:
  QImageCanvas(int width, int height);

  TPixelBuffer Pixels() override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

  // A copy of the picture taken under the lock, safe while a render worker may be drawing.
  QImage Snapshot();

 private:
  QImage image_;
  QFont font_;
};

// The bytes of the image in a format Qt writes ("BMP", "PNG"); empty when it cannot be encoded.
QByteArray EncodeImage(const QImage& image, const char* format);

// Writes an image in a format Qt writes ("BMP", "PNG"), replacing the file only once all of it is
// written, a link as WriteFileAtomically says; throws FileError "Cannot create file <name>".
void SaveImage(const QImage& image, const QString& path, const char* format,
               TLinks links = TLinks::Follow);

// Writes an image as a 24-bit Windows bitmap; throws FileError "Cannot create file <name>".
void SaveBitmap24(const QImage& image, const QString& path, TLinks links = TLinks::Follow);

}  // namespace morv
