// The morv-cli command that hands a model to other 3D programs as OBJ or STL.
#include "app/cli_export.h"

#include <QFileInfo>

#include "app/cli_arguments.h"
#include "engine/export_mesh.h"
#include "engine/obj_export.h"
#include "engine/stl_export.h"
#include "platform/text_file.h"

namespace morv {

int Export(const std::vector<std::string>& args, std::ostream& out) {
  const TCommandLine line = ReadCommandLine(args, {});
  const std::vector<std::string>& named = CommandFiles(line, "export", "MODEL.MVD OUT.obj|OUT.stl");
  const QString path = PathArgument(named[1]);
  const QFileInfo target(path);
  const QString suffix = target.suffix().toLower();
  if (suffix != QStringLiteral("obj") && suffix != QStringLiteral("stl")) {
    throw UsageError("the output file must end in .obj or .stl");
  }
  const TMorvObject model = LoadModelFile(named[0]);
  const std::vector<TExportPatch> mesh = ExportPatches(model);
  const auto patches = static_cast<int64_t>(mesh.size());
  if (suffix == QStringLiteral("stl")) {
    WriteFileAtomically(path, ExportBinaryStl(mesh));
    out << "Patches: " << patches << " Triangles: " << patches * PolygonsPerPatch * 2 << '\n';
    return 0;
  }
  // The material file sits beside the OBJ file under the same base name. Both are written out
  // before either replaces an old file, so a failure leaves the old pair; the material file goes
  // in first, so the OBJ file never names materials that are not there.
  const QString mtlPath =
      target.path() + QLatin1Char('/') + target.completeBaseName() + QStringLiteral(".mtl");
  const TObjFiles files = ExportObj(model.Name, mesh, QFileInfo(mtlPath).fileName().toStdString());
  WriteFilesAtomically({{mtlPath, files.Mtl}, {path, files.Obj}});
  out << "Patches: " << patches << " Vertices: " << patches * PointsPerPatch
      << " Faces: " << patches * PolygonsPerPatch << '\n';
  return 0;
}

}  // namespace morv
