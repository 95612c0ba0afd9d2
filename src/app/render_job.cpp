// One render request served from the shared folder: scene and model in, bitmap out.
#include "app/render_job.h"

#include <algorithm>
#include <memory>

#include "engine/model_file.h"
#include "platform/file_system.h"
#include "platform/headless_render.h"
#include "platform/qimage_canvas.h"
#include "platform/text_file.h"

namespace morv {

namespace {

constexpr int32_t ViewSize = 360;

// A file of the request in the share, named by the request's bytes as they are. The name is
// joined on, not resolved against the folder: a name that begins with ':' stays in the share.
QString ShareFile(const QString& share, const std::string& name, const char* extension) {
  return share + QLatin1Char('/') + FileNameFromBytes(name + extension);
}

}  // namespace

bool NameSettled(const QString& share, const std::string& name) {
  if (name.find_first_of("*?[]") != std::string::npos) return false;
  const std::vector<std::string> files = FilesInFolder(share);
  const auto holds = [&files](const std::string& file) {
    return std::ranges::find(files, file) != files.end();
  };
  if (!holds(name + ".MED") || !holds(name + ".MVD")) return false;
  // Another client's name may begin with this one, and its files may still be coming.
  return std::ranges::none_of(files, [&name](const std::string& file) {
    return file.size() > name.size() + 4 && file.starts_with(name) &&
           (file.ends_with(".MED") || file.ends_with(".MVD"));
  });
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
