// The morv-cli command that hands a model to other 3D programs in one of the export formats.
#include "app/cli_export.h"

#include "app/cli_arguments.h"
#include "engine/export_formats.h"
#include "operations/model_export.h"
#include "platform/file_system.h"

namespace morv {

namespace {

// The table's suffixes after `prefix`, as in "OUT.obj|OUT.stl|..." or ".obj, .stl or .glb".
std::string OutputNames(const std::string& prefix, std::string_view separator,
                        std::string_view last) {
  std::string names;
  const auto formats = ExportFormats();
  for (std::size_t k = 0; k < formats.size(); ++k) {
    if (k > 0) names += k + 1 == formats.size() ? last : separator;
    names += prefix + std::string(formats[k].Suffix);
  }
  return names;
}

}  // namespace

std::string ExportUsage() {
  std::string text =
      "  export MODEL.MVD OUT.FORMAT\n"
      "                           write the patches as the 3D view cuts them, in\n"
      "                           model coordinates, leaving out faces of no area;\n"
      "                           FORMAT is the output file's suffix:\n";
  for (const TExportFormat& format : ExportFormats()) {
    std::string suffix(format.Suffix);
    suffix.resize(6, ' ');
    text += "                             " + suffix + std::string(format.Description) + "\n";
  }
  return text;
}

int Export(const std::vector<std::string>& args, std::ostream& out) {
  const TCommandLine line = ReadCommandLine(args, {});
  const std::vector<std::string>& named =
      CommandFiles(line, "export", "MODEL.MVD " + OutputNames("OUT.", "|", "|"));
  const std::string asked = SplitPath(named[1]).second;
  const std::size_t dot = asked.rfind('.');
  if (dot == std::string::npos ||
      FindExportFormat(std::string_view(asked).substr(dot + 1)) == nullptr) {
    throw UsageError("the output file must end in " + OutputNames(".", ", ", " or ") +
                     " (in any case)");
  }
  out << ExportModel(LoadModelFile(named[0]), named[1]) << '\n';
  return 0;
}

}  // namespace morv
