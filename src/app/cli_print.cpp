// morv-cli print: the printed model sheet's three pages as one PDF and, if asked, as PNG files.
#include "app/cli_print.h"

#include <optional>

#include "app/cli_arguments.h"
#include "app/cli_render.h"
#include "drawing/print_sheet.h"
#include "engine/errors.h"
#include "engine/renderer.h"
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

int Print(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  static const TOptionShape Options[] = {AnglesOption, {"--png", {}, true}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "print", "MODEL.MVD OUT.pdf");
  RequireOutputSuffix(files[1], "pdf");
  int32_t angles[3] = {0, 0, 0};
  GivenAngles(line, angles);
  std::optional<QString> pngPrefix;
  if (const TGivenOption* png = LastGiven(line, "--png")) pngPrefix = PathArgument(png->Text);

  // The thumbnail and the counts are those of the 3D view's render with its start settings.
  const TMorvObject model = LoadModelFile(files[0]);
  const std::optional<QImage> view =
      RenderHeadless(model, angles, TPoint3D{200, 0, -70}, 32768, false, err);
  if (!view) return 1;
  const TPrintHeader header =
      MakePrintHeader(model, *view, PointCount, PolygonCount, QStringLiteral("0 ms"));

  std::vector<QImage> pages;
  for (int page = 1; page <= SheetPageCount; ++page) {
    pages.push_back(DrawSheetPage(model, page, header));
  }
  // The PDF and the page images are one result: none replaces an old file unless all are written.
  std::vector<QByteArray> encoded{PdfOfPages(pages)};
  std::vector<TFileBytes> outputs{{PathArgument(files[1]), {}}};
  if (pngPrefix) {
    for (int page = 1; page <= SheetPageCount; ++page) {
      const QString path = *pngPrefix + QString::number(page) + QStringLiteral(".png");
      encoded.push_back(EncodeImage(pages[static_cast<std::size_t>(page - 1)], "PNG"));
      if (encoded.back().isEmpty()) throw FileError("Cannot create file " + FileNameBytes(path));
      outputs.push_back({path, {}});
    }
  }
  for (std::size_t k = 0; k < outputs.size(); ++k) outputs[k].Bytes = View(encoded[k]);
  WriteFilesAtomically(outputs);
  out << header.modeldata.toStdString() << '\n';
  return 0;
}

}  // namespace morv
