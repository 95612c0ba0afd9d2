// morv-cli export: models read back by a widely used 3D importer, and refused arguments.
#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <climits>

#include "app/cli_arguments.h"
#include "cli_capture.h"
#include "engine/export_mesh.h"
#include "support/file_size_limit.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::CliResult;
using test::RunCliCapture;
using test::ScratchDir;

// What the importer reports of a file it has read, without post-processing, so every face
// arrives as written.
QString ImportReport(const QString& path) {
  QProcess importer;
  importer.start(QStringLiteral("assimp"), {QStringLiteral("info"), path, QStringLiteral("--raw")});
  EXPECT_TRUE(importer.waitForFinished(60000)) << "assimp did not finish";
  EXPECT_EQ(importer.exitCode(), 0) << importer.readAllStandardError().toStdString();
  return QString::fromUtf8(importer.readAllStandardOutput());
}

QString Field(const QString& report, const QString& name) {
  const QRegularExpression line(QRegularExpression::escape(name) + QStringLiteral(R"(\s+(.*))"));
  return line.match(report).captured(1).trimmed();
}

TEST(CliExport, ObjAndStlReadBackWithTheRenderersPatches) {
  ScratchDir dir;
  const std::string model = test::TestDataPath(QStringLiteral("ring.MVD")).toStdString();
  const std::vector<TExportPatch> patches = ExportPatches(LoadModelFile(model));
  ASSERT_FALSE(patches.empty());
  const auto count = static_cast<int>(patches.size());
  TPoint3D low{INT32_MAX, INT32_MAX, INT32_MAX}, high{INT32_MIN, INT32_MIN, INT32_MIN};
  for (const TExportPatch& patch : patches) {
    for (const TPoint3D& p : patch.Points) {
      low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
      high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
    }
  }
  auto point = [](const TPoint3D& p) {
    return QStringLiteral("(%1.000000 %2.000000 %3.000000)").arg(p.X).arg(p.Y).arg(p.Z);
  };

  const CliResult obj = RunCliCapture({"export", model, dir.Path("ring.obj").toStdString()});
  ASSERT_EQ(obj.code, 0) << obj.err;
  EXPECT_EQ(obj.out, "Patches: " + std::to_string(count) +
                         " Vertices: " + std::to_string(count * 26) +
                         " Faces: " + std::to_string(count * 12) + "\n");
  const QString objReport = ImportReport(dir.Path("ring.obj"));
  EXPECT_EQ(Field(objReport, QStringLiteral("Meshes:")).toInt(), count);
  EXPECT_EQ(Field(objReport, QStringLiteral("Faces:")).toInt(), count * 12);
  EXPECT_EQ(Field(objReport, QStringLiteral("Primitive Types:")), QStringLiteral("n-polygons"));
  EXPECT_EQ(Field(objReport, QStringLiteral("Minimum point")), point(low));
  EXPECT_EQ(Field(objReport, QStringLiteral("Maximum point")), point(high));
  // The ring's three colours, and the importer's own default material.
  EXPECT_EQ(Field(objReport, QStringLiteral("Materials:")).toInt(), 4);

  const CliResult stl = RunCliCapture({"export", model, dir.Path("ring.STL").toStdString()});
  ASSERT_EQ(stl.code, 0) << stl.err;
  const QString stlReport = ImportReport(dir.Path("ring.STL"));
  EXPECT_EQ(Field(stlReport, QStringLiteral("Faces:")).toInt(), count * 24);
  EXPECT_EQ(Field(stlReport, QStringLiteral("Primitive Types:")), QStringLiteral("triangles"));
  EXPECT_EQ(Field(stlReport, QStringLiteral("Minimum point")), point(low));
  EXPECT_EQ(Field(stlReport, QStringLiteral("Maximum point")), point(high));
}

TEST(CliExport, RefusesUnknownFormatsMissingModelsAndUnwritableFiles) {
  ScratchDir dir;
  const std::string model = test::TestDataPath(QStringLiteral("ring.MVD")).toStdString();
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"export", model, dir.Path("ring.ply").toStdString()}, 2},
      {{"export", model}, 2},
      {{"export", dir.Path("none.MVD").toStdString(), dir.Path("a.stl").toStdString()}, 1},
      {{"export", model, dir.Path("no/such/folder/a.stl").toStdString()}, 1},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCliCapture(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back();
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(QFile::exists(dir.Path("ring.ply")));
  EXPECT_FALSE(QFile::exists(dir.Path("a.stl")));
}

// The OBJ file and its material file are replaced together or not at all: with the material file
// blocked by a folder, and with a size limit that lets the small material file through but stops
// the OBJ file midway, as a full disk would.
TEST(CliExport, AFailedObjExportLeavesNeitherFileNew) {
  const QString ring = test::TestDataPath(QStringLiteral("ring.MVD"));
  for (const bool blocked : {true, false}) {
    SCOPED_TRACE(blocked ? "material file blocked by a folder" : "disk full in the OBJ file");
    ScratchDir dir;
    const QString obj = dir.Path("ring.obj");
    const QString mtl = dir.Path("ring.mtl");
    if (blocked) {
      ASSERT_TRUE(QDir().mkdir(mtl));
    } else {
      test::WriteBytes(obj, "old obj");
      test::WriteBytes(mtl, "old mtl");
    }
    QProcess cli;
    if (!blocked) test::LimitChildFileSize(cli, 1024);
    cli.start(QStringLiteral(MORV_CLI_PATH), {QStringLiteral("export"), ring, obj});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    // Qt may warn about the environment before the command's own line.
    EXPECT_EQ(cli.readAllStandardError().trimmed().split('\n').last().toStdString(),
              "Cannot create file " + (blocked ? mtl : obj).toStdString() + ".");
    if (blocked) {
      EXPECT_FALSE(QFile::exists(obj));
      EXPECT_TRUE(QFileInfo(mtl).isDir());
      EXPECT_TRUE(QDir(mtl).isEmpty());
    } else {
      EXPECT_EQ(test::ReadBytes(obj), "old obj");
      EXPECT_EQ(test::ReadBytes(mtl), "old mtl");
    }
    EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (blocked ? QStringList{"ring.mtl"} : QStringList{"ring.mtl", "ring.obj"}))
        << "nothing is left beside the files";
  }
}

}  // namespace
}  // namespace morv
