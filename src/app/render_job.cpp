// One render request served from the shared folder: scene and model in, bitmap out.
#include "app/render_job.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

#include "engine/model_file.h"
#include "platform/headless_render.h"
#include "platform/qimage_canvas.h"
#include "platform/text_file.h"

namespace morv {

namespace {

constexpr int32_t ViewSize = 360;

// A file of the request in the share. The name is joined on, not resolved against the folder:
// QDir would take a name that begins with ':' for a Qt resource and leave the share out.
QString ShareFile(const QString& share, const std::string& name, const char* extension) {
  return share + QLatin1Char('/') +
         QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
         QLatin1String(extension);
}

}  // namespace

bool NameSettled(const QString& share, const std::string& name) {
  if (name.find_first_of("*?[]") != std::string::npos) return false;
  if (!QFileInfo::exists(ShareFile(share, name, ".MED")) ||
      !QFileInfo::exists(ShareFile(share, name, ".MVD"))) {
    return false;
  }
  const QString base = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  return QDir(share)
      .entryList({base + QStringLiteral("?*.MED"), base + QStringLiteral("?*.MVD")},
                 QDir::Files | QDir::CaseSensitive | QDir::Hidden)
      .isEmpty();
}

// Share users name the files, so a link among them could make the server read or overwrite a file
// outside the share with its own rights: links are never followed.
TServedRender ServeRender(const QString& share, const std::string& name) {
  const TSceneSettings scene =
      ParseScene(ReadTextLines(ShareFile(share, name, ".MED"), TLinks::StayInFolder));
  if (scene.Width != ViewSize || scene.Height != ViewSize) {
    throw RequestRefused("the picture is " + std::to_string(scene.Width) + " x " +
                         std::to_string(scene.Height) + ", this server renders only 360 x 360");
  }
  // A model is too large a value for the stack of a server that may run in a small one.
  auto model = std::make_unique<TMorvObject>();
  LoadModel(ReadTextLines(ShareFile(share, name, ".MVD"), TLinks::StayInFolder), *model);
  const TRenderedScene rendered = RenderScene(scene, *model);
  SaveBitmap24(rendered.Image, ShareFile(share, name, ".BMP"), TLinks::StayInFolder);
  return {rendered.Points, rendered.Polygons, rendered.Report};
}

}  // namespace morv
