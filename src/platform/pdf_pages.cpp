// Page images written as the pages of one PDF document, for printing without a printer.
#include "platform/pdf_pages.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <utility>

#include "engine/errors.h"

namespace morv {

namespace {

QPageSize PageSizeOf(const QImage& page) {
  constexpr double PointsPerPixel = 72.0 / PagePixelsPerInch;
  return QPageSize(QSizeF(page.width() * PointsPerPixel, page.height() * PointsPerPixel),
                   QPageSize::Point, QString(), QPageSize::ExactMatch);
}

}  // namespace

QByteArray PdfOfPages(const std::vector<QImage>& pages) {
  QByteArray bytes;
  if (pages.empty()) return bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Morv! 5"));
    writer.setResolution(PagePixelsPerInch);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(PageSizeOf(pages.front()));
    QPainter painter;
    if (!painter.begin(&writer)) throw PrinterError("The PDF document cannot be made");
    painter.setRenderHint(QPainter::LosslessImageRendering);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) {
        writer.setPageSize(PageSizeOf(pages[i]));
        writer.newPage();
      }
      painter.drawImage(0, 0, pages[i]);
    }
    painter.end();
  }
  return bytes;
}

void WritePdfPages(const std::vector<QImage>& pages, const QString& path) {
  const QByteArray bytes = PdfOfPages(pages);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw FileError("Cannot create file " + path.toStdString());
  }
}

void PdfPagePrinter::PrintPage(const QImage& page) {
  std::vector<QImage> pages = pages_;
  pages.push_back(page);
  WritePdfPages(pages, path_);
  pages_ = std::move(pages);
}

}  // namespace morv
