// Page images written as the pages of one PDF document, for printing without a printer.
#include "platform/pdf_pages.h"

#include <utility>

#include "platform/text_file.h"

namespace morv {

namespace {

// A page's size in points, as PDF writes it: 617 pixels at 96 per inch are 462.75 points. The
// document is written here rather than through the toolkit's PDF writer, which rounds page boxes
// to whole points.
QByteArray Points(int pixels) {
  return QByteArray::number(pixels * 72.0 / PagePixelsPerInch, 'g', 12);
}

// The image's rows top to bottom as 8-bit RGB, compressed for the Flate filter.
QByteArray FlateRgb(const QImage& page) {
  const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
  QByteArray raw;
  raw.reserve(rgb.width() * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y) {
    raw.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
  }
  // qCompress puts the length in four bytes before the zlib stream that Flate reads.
  return qCompress(raw).mid(4);
}

class TPdfDocument {
 public:
  // Starts object `number`, which must be the next one.
  void Begin(int number) {
    offsets_.push_back(bytes_.size());
    bytes_ += QByteArray::number(number) + " 0 obj\n";
  }
  void Stream(int number, const QByteArray& dictionary, const QByteArray& data) {
    Begin(number);
    bytes_ += "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" +
              data + "\nendstream\nendobj\n";
  }
  void Object(int number, const QByteArray& body) {
    Begin(number);
    bytes_ += body + "\nendobj\n";
  }
  QByteArray& Bytes() { return bytes_; }

  QByteArray Finish() {
    const qsizetype xref = bytes_.size();
    const QByteArray count = QByteArray::number(offsets_.size() + 1);
    bytes_ += "xref\n0 " + count + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets_) {
      bytes_ += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    bytes_ += "trailer\n<< /Size " + count + " /Root 1 0 R >>\nstartxref\n" +
              QByteArray::number(xref) + "\n%%EOF\n";
    return std::move(bytes_);
  }

 private:
  QByteArray bytes_;
  std::vector<qsizetype> offsets_;
};

}  // namespace

QByteArray PdfOfPages(const std::vector<QImage>& pages) {
  TPdfDocument pdf;
  pdf.Bytes() = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  // Objects 1 and 2 are the catalogue and the page tree; page n is object 3n, its content 3n+1
  // and its image 3n+2.
  QByteArray kids;
  for (std::size_t n = 1; n <= pages.size(); ++n) kids += QByteArray::number(3 * n) + " 0 R ";
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [ " + kids + "] /Count " + QByteArray::number(pages.size()) +
                    " >>");
  for (std::size_t n = 1; n <= pages.size(); ++n) {
    const QImage& page = pages[n - 1];
    const QByteArray width = Points(page.width());
    const QByteArray height = Points(page.height());
    const QByteArray image = QByteArray::number(3 * n + 2);
    pdf.Object(static_cast<int>(3 * n), "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + width +
                                            " " + height + "] /Resources << /XObject << /Page " +
                                            image + " 0 R >> >> /Contents " +
                                            QByteArray::number(3 * n + 1) + " 0 R >>");
    pdf.Stream(static_cast<int>(3 * n + 1), QByteArray(),
               "q " + width + " 0 0 " + height + " 0 0 cm /Page Do Q");
    pdf.Stream(static_cast<int>(3 * n + 2),
               "/Type /XObject /Subtype /Image /Width " + QByteArray::number(page.width()) +
                   " /Height " + QByteArray::number(page.height()) +
                   " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode",
               FlateRgb(page));
  }
  return pdf.Finish();
}

void WritePdfPages(const std::vector<QImage>& pages, const QString& path) {
  const QByteArray bytes = PdfOfPages(pages);
  WriteFileAtomically(path,
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void PdfPagePrinter::PrintPage(const QImage& page) {
  std::vector<QImage> pages = pages_;
  pages.push_back(page);
  WritePdfPages(pages, path_);
  pages_ = std::move(pages);
}

}  // namespace morv
