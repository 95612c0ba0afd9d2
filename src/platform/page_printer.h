// Printing a page image: the seam between the print command and the printer it prints on.
#pragma once

#include <QImage>
#include <stdexcept>

namespace morv {

// A printer that is missing or fails; its text is shown by the error report.
class PrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Page images are laid out at this many pixels per inch; printers scale them to their own.
constexpr int PagePixelsPerInch = 96;

class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  // Prints one page image as one print job at its physical size, its top-left corner at the
  // top-left of what the printer can print on (of the page itself where that is all of it).
  // Throws PrinterError when the job cannot be printed.
  virtual void PrintPage(const QImage& page) = 0;
};

}  // namespace morv
