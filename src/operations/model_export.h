// A model written in one of the export formats, picked by the output file's suffix.
#pragma once

#include <string>

#include "engine/model.h"

namespace morv {

// Writes the model's patches as the 3D view cuts them into `path` (and the files that go with it
// beside the file really written); returns the writer's summary line. RequestError when no
// format has the file's suffix; nothing is written unless every file is.
std::string ExportModel(const TMorvObject& model, const std::string& path);

}  // namespace morv
