// The morv-cli command that hands a model to other 3D programs in one of the export formats.
#include "app/cli_export.h"

#include <QFileInfo>

#include "app/cli_arguments.h"
#include "engine/export_formats.h"
#include "engine/export_mesh.h"
#include "platform/text_file.h"

namespace morv {

namespace {

// "OUT.obj|OUT.stl|..." for the usage error that names the files the command takes.
std::string OutputNames(std::string_view separator) {
  std::string names;
  for (const TExportFormat& format : ExportFormats()) {
    if (!names.empty()) names += separator;
    names += "OUT." + std::string(format.Suffix);
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
      CommandFiles(line, "export", "MODEL.MVD " + OutputNames("|"));
  const QString path = PathArgument(named[1]);
  const QFileInfo target(path);
  const TExportFormat* format = FindExportFormat(target.suffix().toStdString());
  if (format == nullptr) {
    throw UsageError("the output file must end in " + OutputNames(", ") + " (any case)");
  }
  const TMorvObject model = LoadModelFile(named[0]);
  const TExportOutput output =
      format->Write(ExportPatches(model), model.Name, target.fileName().toStdString());
  // All files are written out before any replaces an old one, so a failure leaves the old set;
  // the rows put companions first, so a file never names one that is not there yet.
  std::vector<TFileBytes> files;
  for (const TExportFile& file : output.Files) {
    files.push_back(
        {target.path() + QLatin1Char('/') + QString::fromStdString(file.Name), file.Bytes});
  }
  WriteFilesAtomically(files);
  out << output.Summary << '\n';
  return 0;
}

}  // namespace morv
