// morv-cli import: a bicubic set read, imported and written as a model, and its refusals.
#include <gtest/gtest.h>
#include <QFile>

#include <string>

#include "cli_capture.h"
#include "operations/model_files.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::RunCliCapture;
using test::ScratchDir;

void Write(const QString& path, const std::string& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

// Two patches: a flat bilinear square and a bicubic dome beside it.
const char* const TwoPatches =
    "2\n1 1\n0 0 0\n10 0 0\n0 10 0\n10 10 0\n"
    "3 3\n"
    "20 0 0\n23 0 2\n27 0 2\n30 0 0\n"
    "20 3 2\n23 3 6\n27 3 6\n30 3 2\n"
    "20 7 2\n23 7 6\n27 7 6\n30 7 2\n"
    "20 10 0\n23 10 2\n27 10 2\n30 10 0\n";

TEST(CliImport, WritesTheModelAndSaysWhatItMade) {
  ScratchDir dir;
  Write(dir.Path("pair.bpt"), TwoPatches);
  const std::string out = dir.Path("pair.MVD").toStdString();
  const auto r = RunCliCapture({"import", dir.Path("pair.bpt").toStdString(), out, "--bands", "3",
                                "--both-sides", "--colour", "255"});
  ASSERT_EQ(r.code, 0) << r.err;
  const TMorvObject model = LoadModelFile(out);
  EXPECT_EQ(model.Name, "pair");
  EXPECT_EQ(model.PatchCount, 12);
  EXPECT_EQ(model.Patches[1].Colour, 255);
  // Flat and ruled in one band would be exact; three bands of a flat square share edges: 4
  // curves of 4 vertices, the square's inner thirds rounded onto whole units.
  EXPECT_EQ(r.out.substr(0, r.out.find(',')), "2 patches → 12 bands");
  EXPECT_NE(
      r.out.find(std::to_string(model.ControlCount) + " control vertices, largest deviation "),
      std::string::npos)
      << r.out;
}

TEST(CliImport, BadFilesAndOptionsWriteNothing) {
  ScratchDir dir;
  Write(dir.Path("bad.bpt"), "1\n1 1\n0 0 0\n1 0 0\n0 x 0\n1 1 0\n");
  Write(dir.Path("good.bpt"), TwoPatches);
  const std::string out = dir.Path("out.MVD").toStdString();
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } cases[] = {
      {{"import", dir.Path("bad.bpt").toStdString(), out},
       1,
       "morv-cli: " + dir.Path("bad.bpt").toStdString() +
           ": Line 5: 'x' is not a finite number.\n"},
      {{"import", dir.Path("none.bpt").toStdString(), out}, 1, ""},
      {{"import", dir.Path("good.bpt").toStdString(), out, "--scale", "-2"}, 2, ""},
      {{"import", dir.Path("good.bpt").toStdString(), out, "--bands", "0"}, 2, ""},
      {{"import", dir.Path("good.bpt").toStdString(), out, "--scale", "1e12"},
       1,
       "morv-cli: " + dir.Path("good.bpt").toStdString() +
           ": The coordinates would pass the 32-bit range once placed.\n"},
      {{"import", dir.Path("good.bpt").toStdString(), dir.Path("out.obj").toStdString()}, 2, ""},
  };
  for (const auto& c : cases) {
    const auto r = RunCliCapture(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    if (!c.err.empty()) {
      EXPECT_EQ(r.err, c.err);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
  }
}

}  // namespace
}  // namespace morv
