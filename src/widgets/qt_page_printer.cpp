// Page images printed on the system's default printer.
#include "widgets/qt_page_printer.h"

#include <QPainter>
#include <QPrinter>
#include <utility>

namespace morv {

QtPagePrinter::QtPagePrinter(std::function<QPrinterInfo()> findPrinter)
    : findPrinter_(std::move(findPrinter)) {}

void QtPagePrinter::PrintPage(const QImage& page) {
  const QPrinterInfo info = findPrinter_();
  if (info.isNull()) throw PrinterError("No printer is set up");
  QPrinter printer(info, QPrinter::HighResolution);
  PrintPageOn(printer, page);
}

void PrintPageOn(QPrinter& printer, const QImage& page) {
  // Painting starts at the printable area's corner, not the paper's: a printer's unprintable
  // margin would otherwise cut off the sheet's left and top edge.
  printer.setFullPage(false);
  printer.setDocName(QStringLiteral("Morv! 5"));
  QPainter painter;
  if (!painter.begin(&printer)) throw PrinterError("The printer cannot print");
  const double scale = static_cast<double>(printer.resolution()) / PagePixelsPerInch;
  painter.scale(scale, scale);
  painter.setRenderHint(QPainter::LosslessImageRendering);
  painter.drawImage(0, 0, page);
  if (!painter.end()) throw PrinterError("The printer cannot print");
}

}  // namespace morv
