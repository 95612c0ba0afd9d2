// Bicubic patch sets imported from BPT files into models.
#include "operations/bicubic_files.h"

#include "engine/latin1.h"
#include "operations/model_files.h"
#include "operations/operation_errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

TBicubicImport ImportBicubicPatches(const std::vector<TBicubicPatch>& patches,
                                    const TBicubicOptions& options) {
  try {
    return ImportBicubic(patches, options);
  } catch (const ImportError& error) {
    throw CommandError(error.what());
  }
}

TBicubicImport ImportBicubicFile(const std::string& path, const TBicubicOptions& options) {
  const TextLines lines = ReadTextLines(FilePath(path));
  std::vector<TBicubicPatch> patches;
  ForFile(path, [&] { patches = ReadBicubicPatches(lines); });
  TBicubicImport result;
  try {
    result = ImportBicubic(patches, options);
  } catch (const ImportError& error) {
    throw CommandError(path + ": " + error.what());
  }
  std::string stem = SplitPath(path).second;
  if (const std::size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0) {
    stem.resize(dot);
  }
  // The file's name is bytes; the model's texts are ISO 8859-1, as a UTF-8 name becomes.
  result.Model.Name = Utf8ToLatin1(stem);
  return result;
}

}  // namespace morv
