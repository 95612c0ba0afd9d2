// The printed model sheet made headless: its three pages, written as one PDF and page images.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"
#include "platform/headless_render.h"

namespace morv {

struct TModelSheet {
  std::vector<QImage> Pages;
  // The header's line of model data, as the sheet prints it.
  std::string ModelData;
};

// The sheet's pages (planes X-Y, Y-Z, X-Z); the thumbnail and the counts are those of `view`, the
// 3D view's render of the model with its start light and background.
TModelSheet MakeModelSheet(const TMorvObject& model, const TRenderedScene& view);

// Writes the pages as one PDF and, with a prefix, as PREFIX1.png .. PREFIX3.png: all of them or
// none, no old file replaced unless all are written.
void WriteModelSheet(const TModelSheet& sheet, const std::string& pdf,
                     const std::optional<std::string>& pngPrefix);

}  // namespace morv
