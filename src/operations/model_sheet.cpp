// The printed model sheet made headless: its three pages, written as one PDF and page images.
#include "operations/model_sheet.h"

#include "drawing/print_sheet.h"
#include "engine/errors.h"
#include "operations/model_files.h"
#include "platform/file_system.h"
#include "platform/pdf_pages.h"
#include "platform/qimage_canvas.h"
#include "platform/text_file.h"

namespace morv {

namespace {

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

TModelSheet MakeModelSheet(const TMorvObject& model, const TRenderedScene& view) {
  const TPrintHeader header =
      MakePrintHeader(model, view.Image, view.Points, view.Polygons, QStringLiteral("0 ms"));
  TModelSheet sheet;
  for (int page = 1; page <= SheetPageCount; ++page) {
    sheet.Pages.push_back(DrawSheetPage(model, page, header));
  }
  sheet.ModelData = header.modeldata.toStdString();
  return sheet;
}

void WriteModelSheet(const TModelSheet& sheet, const std::string& pdf,
                     const std::optional<std::string>& pngPrefix) {
  std::vector<QByteArray> encoded{PdfOfPages(sheet.Pages)};
  std::vector<TFileBytes> outputs{{FilePath(pdf), {}}};
  if (pngPrefix) {
    for (std::size_t page = 0; page < sheet.Pages.size(); ++page) {
      const QString path = FilePath(*pngPrefix + std::to_string(page + 1)) + QStringLiteral(".png");
      encoded.push_back(EncodeImage(sheet.Pages[page], "PNG"));
      if (encoded.back().isEmpty()) throw FileError("Cannot create file " + FileNameBytes(path));
      outputs.push_back({path, {}});
    }
  }
  for (std::size_t k = 0; k < outputs.size(); ++k) outputs[k].Bytes = View(encoded[k]);
  WriteFilesAtomically(outputs);
}

}  // namespace morv
