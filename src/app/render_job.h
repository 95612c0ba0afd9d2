// One render request served from the shared folder: scene and model in, bitmap out.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine/model.h"
#include "engine/renderer.h"
#include "engine/scene_file.h"
#include "platform/headless_render.h"

namespace morv {

// A request whose files the server will not render: the message says why.
class RequestRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TServedRender {
  int32_t Points = 0;
  int32_t Polygons = 0;
  TRenderReport Report;
};

// True when the share holds both files of `name` and no other files whose base name begins with
// it. Clients write their files before they connect, so a name that is settled cannot still grow
// into the name of some other client's files, and the server need not wait for the client to fall
// quiet before serving it. Names holding wildcard characters are never settled: they wait for the
// quiet time.
bool NameSettled(const QString& share, const std::string& name);

// Reads NAME.MED and NAME.MVD from `share`, renders them and writes NAME.BMP there atomically.
// `name` holds the bytes of the files' names and is already judged safe. Only regular files that
// are no links are read, and a link named NAME.BMP is replaced by the bitmap rather than written
// through. Throws (RequestRefused, ConversionError, FormatError, FileError) without writing
// anything when a file is missing, malformed, a link or no regular file, or the picture is not 360
// x 360.
TServedRender ServeRender(const QString& share, const std::string& name);

}  // namespace morv
