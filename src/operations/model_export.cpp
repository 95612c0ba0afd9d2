// A model written in one of the export formats, picked by the output file's suffix.
#include "operations/model_export.h"

#include "engine/export_formats.h"
#include "engine/export_mesh.h"
#include "operations/model_files.h"
#include "operations/operation_errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

std::string ExportModel(const TMorvObject& model, const std::string& path) {
  const std::string asked = SplitPath(path).second;
  const std::size_t dot = asked.rfind('.');
  const TExportFormat* format = FindExportFormat(
      dot == std::string::npos ? std::string_view() : std::string_view(asked).substr(dot + 1));
  if (format == nullptr) {
    throw RequestError(path + ": no export format has the suffix of this file");
  }
  // Through a link, the files that go with the one asked for go beside the file really written
  // and are named after it, so that the pair stays together wherever the link leads.
  const auto [folder, written] = SplitPath(FileNameBytes(SaveTarget(FilePath(path))));
  const TExportOutput output =
      format->Write(ExportPatches(model, format->Coordinates), model.Name, written);
  // All files are written out before any replaces an old one, so a failure leaves the old set;
  // the rows put companions first, so a file never names one that is not there yet.
  std::vector<TFileBytes> files;
  for (const TExportFile& file : output.Files) {
    files.push_back({FileNameFromBytes(folder + "/" + file.Name), file.Bytes});
  }
  WriteFilesAtomically(files);
  return output.Summary;
}

}  // namespace morv
