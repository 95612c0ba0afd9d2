// The printers behind the print command: the system's default printer and PDF documents.
#include <gtest/gtest.h>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

#include "engine/errors.h"
#include "platform/pdf_pages.h"
#include "support/test_files.h"
#include "widgets/qt_page_printer.h"

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

// The toolkit's PDF output stands in for a printer whose paper has margins it cannot print on.
TEST(PagePrinterTest, APrinterPrintsThePageAtItsPrintableAreasCornerAtItsPhysicalSize) {
  test::ScratchDir dir;
  const QString pdf = dir.Path("margins.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageSize(QPageSize(QPageSize::A4));
  // A caller that asked for the whole paper still gets the printable area.
  printer.setFullPage(true);
  ASSERT_TRUE(printer.setPageMargins(QMarginsF(20, 30, 10, 10), QPageLayout::Millimeter));
  QImage page(300, 400, QImage::Format_RGB32);
  page.fill(QColor(0, 0, 255));
  PrintPageOn(printer, page);

  // Back as pixels at the sheet's own 96 per inch.
  QProcess raster;
  raster.start(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), pdf, dir.Path("margins")});
  ASSERT_TRUE(raster.waitForFinished(60000));
  ASSERT_EQ(raster.exitCode(), 0) << raster.readAllStandardError().toStdString();
  const QImage printed(dir.Path("margins.png"));
  ASSERT_FALSE(printed.isNull());
  QRect blue;
  for (int y = 0; y < printed.height(); ++y) {
    for (int x = 0; x < printed.width(); ++x) {
      const QColor c = printed.pixelColor(x, y);
      if (c.blue() - c.red() > 127) blue |= QRect(x, y, 1, 1);
    }
  }
  const double perMillimetre = PagePixelsPerInch / 25.4;
  EXPECT_NEAR(blue.left(), 20 * perMillimetre, 1.0);
  EXPECT_NEAR(blue.top(), 30 * perMillimetre, 1.0);
  EXPECT_NEAR(blue.width(), page.width(), 1.0);
  EXPECT_NEAR(blue.height(), page.height(), 1.0);
}

// A reader finds every object through the cross-reference table: the table and the trailer's
// /Size count each object once, with object 0 as the free head, and every offset points at its
// object's first byte, as startxref points at the table.
void ExpectCrossReferencesFindEveryObject(const QByteArray& pdf) {
  const QRegularExpression trailer(
      QStringLiteral("trailer\n<< /Size (\\d+) .*>>\nstartxref\n(\\d+)\n%%EOF\n$"));
  const QRegularExpressionMatch end = trailer.match(QString::fromLatin1(pdf));
  ASSERT_TRUE(end.hasMatch());
  const int size = end.captured(1).toInt();
  const qsizetype xref = end.captured(2).toLongLong();
  ASSERT_EQ(pdf.mid(xref, 5), "xref\n");
  const QByteArray header = "xref\n0 " + QByteArray::number(size) + "\n";
  ASSERT_EQ(pdf.mid(xref, header.size()), header);
  const qsizetype entries = xref + header.size();
  EXPECT_EQ(pdf.mid(entries, 20), "0000000000 65535 f \n");
  // Every object the file holds, found by its own header at the start of a line.
  int objects = 0;
  for (qsizetype at = pdf.indexOf(" 0 obj\n"); at >= 0; at = pdf.indexOf(" 0 obj\n", at + 1)) {
    const qsizetype lineStart = pdf.lastIndexOf('\n', at) + 1;
    const QByteArray number = pdf.mid(lineStart, at - lineStart);
    if (lineStart < xref && !number.isEmpty() &&
        std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      ++objects;
      EXPECT_LT(number.toInt(), size) << "object " << number.toStdString() << " is not counted";
    }
  }
  EXPECT_EQ(size, objects + 1);
  for (int object = 1; object < size; ++object) {
    const QByteArray entry = pdf.mid(entries + 20 * object, 20);
    ASSERT_EQ(entry.size(), 20);
    EXPECT_EQ(entry.mid(10), " 00000 n \n") << "entry " << object;
    const qsizetype offset = entry.left(10).toLongLong();
    const QByteArray start = QByteArray::number(object) + " 0 obj\n";
    EXPECT_EQ(pdf.mid(offset, start.size()), start) << "entry " << object;
  }
  EXPECT_EQ(pdf.mid(entries + 20 * size, 8), "trailer\n") << "entries beyond /Size";
}

TEST(PagePrinterTest, ThePdfsCrossReferencesFindEveryObject) {
  for (const int count : {1, 3}) {
    SCOPED_TRACE(count);
    std::vector<QImage> pages;
    for (int n = 0; n < count; ++n) {
      QImage page(617, 1000, QImage::Format_RGB32);
      page.fill(QColor(30 * n, 200, 90));
      pages.push_back(page);
    }
    ExpectCrossReferencesFindEveryObject(PdfOfPages(pages));
  }
}

}  // namespace
}  // namespace morv
