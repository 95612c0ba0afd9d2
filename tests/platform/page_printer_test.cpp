// The printers behind the print command: the system's default printer and PDF documents.
#include <gtest/gtest.h>
#include <QImage>
#include <QPrinterInfo>

#include "engine/errors.h"
#include "platform/pdf_pages.h"
#include "platform/qt_page_printer.h"
#include "support/test_files.h"

namespace morv {
namespace {

TEST(PagePrinterTest, WithoutADefaultPrinterNothingIsPrintedAndThatIsSaid) {
  QtPagePrinter printer([] { return QPrinterInfo(); });
  QImage page(617, 1000, QImage::Format_RGB32);
  try {
    printer.PrintPage(page);
    FAIL() << "printed without a printer";
  } catch (const PrinterError& error) {
    EXPECT_STREQ(error.what(), "No printer is set up");
  }
}

TEST(PagePrinterTest, EachPdfJobAddsAPageAndAnUnwritablePathIsAFileError) {
  test::ScratchDir dir;
  const QString path = dir.Path("sheet.pdf");
  PdfPagePrinter printer(path);
  QImage page(617, 1000, QImage::Format_RGB32);
  page.fill(Qt::white);
  printer.PrintPage(page);
  const std::string one = test::ReadBytes(path);
  printer.PrintPage(page);
  const std::string two = test::ReadBytes(path);
  EXPECT_EQ(one.substr(0, 5), "%PDF-");
  EXPECT_NE(one, two);
  EXPECT_GT(two.size(), one.size());

  PdfPagePrinter nowhere(dir.Path("missing/sheet.pdf"));
  EXPECT_THROW(nowhere.PrintPage(page), FileError);
}

}  // namespace
}  // namespace morv
