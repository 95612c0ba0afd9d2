// Bicubic patch sets imported from BPT files into models.
#pragma once

#include <string>

#include "engine/bicubic_import.h"

namespace morv {

// Reads the BPT file and imports its patches; the model is named after the file's stem. FileError
// when it cannot be read; CommandError, naming the file and the line, for content that is no
// patch set or a set that does not fit.
TBicubicImport ImportBicubicFile(const std::string& path, const TBicubicOptions& options);

// ImportBicubic with its refusals as CommandError.
TBicubicImport ImportBicubicPatches(const std::vector<TBicubicPatch>& patches,
                                    const TBicubicOptions& options);

}  // namespace morv
