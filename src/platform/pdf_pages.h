// Page images written as the pages of one PDF document, for printing without a printer.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "platform/page_printer.h"

namespace morv {

// A PDF of the pages in order, each page as large as its image at 96 pixels per inch, the image
// filling it without margins, its pixels kept exactly.
QByteArray PdfOfPages(const std::vector<QImage>& pages);

// Writes that PDF atomically; throws FileError "Cannot create file <path>".
void WritePdfPages(const std::vector<QImage>& pages, const QString& path);

// Every job adds its page to one PDF file, written anew after each job, so the file always holds
// every page printed so far.
class PdfPagePrinter : public PagePrinter {
 public:
  explicit PdfPagePrinter(QString path) : path_(std::move(path)) {}
  void PrintPage(const QImage& page) override;

 private:
  QString path_;
  std::vector<QImage> pages_;
};

}  // namespace morv
