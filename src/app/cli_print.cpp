// morv-cli print: the printed model sheet's three pages as one PDF and, if asked, as PNG files.
#include "app/cli_print.h"

#include <optional>

#include "app/cli_arguments.h"
#include "app/cli_render.h"
#include "operations/model_sheet.h"

namespace morv {

int Print(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  static const TOptionShape Options[] = {AnglesOption, {"--png", {}, true}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "print", "MODEL.MVD OUT.pdf");
  RequireOutputSuffix(files[1], "pdf");
  std::optional<std::string> pngPrefix;
  if (const TGivenOption* png = LastGiven(line, "--png")) pngPrefix = png->Text;

  const TMorvObject model = LoadModelFile(files[0]);
  TViewRequest request;
  request.Angles = GivenAngles(line);
  const std::optional<TRenderedScene> view = RenderHeadless(model, request, err);
  if (!view) return 1;
  const TModelSheet sheet = MakeModelSheet(model, *view);
  WriteModelSheet(sheet, files[1], pngPrefix);
  out << sheet.ModelData << '\n';
  return 0;
}

}  // namespace morv
