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

}  // namespace

bool NameSettled(const QString& share, const std::string& name) {
  if (name.find_first_of("*?[]") != std::string::npos) return false;
  const QDir folder(share);
  const QString base = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  if (!QFileInfo::exists(folder.filePath(base + ".MED")) ||
      !QFileInfo::exists(folder.filePath(base + ".MVD"))) {
    return false;
  }
  return folder
      .entryList({base + QStringLiteral("?*.MED"), base + QStringLiteral("?*.MVD")},
                 QDir::Files | QDir::CaseSensitive | QDir::Hidden)
      .isEmpty();
}

TServedRender ServeRender(const QString& share, const std::string& name) {
  const QDir folder(share);
  const QString base = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  const TSceneSettings scene = ParseScene(ReadTextLines(folder.filePath(base + ".MED")));
  if (scene.Width != ViewSize || scene.Height != ViewSize) {
    throw RequestRefused("the picture is " + std::to_string(scene.Width) + " x " +
                         std::to_string(scene.Height) + ", this server renders only 360 x 360");
  }
  // A model is too large a value for the stack of a server that may run in a small one.
  auto model = std::make_unique<TMorvObject>();
  LoadModel(ReadTextLines(folder.filePath(base + ".MVD")), *model);
  const TRenderedScene rendered = RenderScene(scene, *model);
  SaveBitmap24(rendered.Image, folder.filePath(base + ".BMP"));
  return {rendered.Points, rendered.Polygons, rendered.Report};
}

}  // namespace morv
