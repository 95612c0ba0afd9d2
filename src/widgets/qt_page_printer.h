// Page images printed on the system's default printer.
#pragma once

#include <QPrinterInfo>
#include <functional>

#include "platform/page_printer.h"

class QPrinter;

namespace morv {

class QtPagePrinter : public PagePrinter {
 public:
  // `findPrinter` names the printer to use at each job; a null printer means none is set up.
  explicit QtPagePrinter(std::function<QPrinterInfo()> findPrinter = &QPrinterInfo::defaultPrinter);

  // Throws PrinterError "No printer is set up" when there is no default printer, and
  // "The printer cannot print" when the job cannot start.
  void PrintPage(const QImage& page) override;

 private:
  std::function<QPrinterInfo()> findPrinter_;
};

// Prints `page` as one job on `printer`, which is chosen but not yet begun: its top-left corner at
// the top-left of the printer's printable area, so that no margin the printer cannot print on cuts
// off the page's top and left edge, and scaled from PagePixelsPerInch to the printer's resolution.
// Throws PrinterError "The printer cannot print" when the job cannot start or finish.
void PrintPageOn(QPrinter& printer, const QImage& page);

}  // namespace morv
