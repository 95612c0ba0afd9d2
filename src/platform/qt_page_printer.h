// Page images printed on the system's default printer.
#pragma once

#include <QPrinterInfo>
#include <functional>

#include "platform/page_printer.h"

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

}  // namespace morv
