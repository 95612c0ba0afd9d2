// morv-cli: checking and re-saving model files from the command line.
#include "app/cli_commands.h"

#include <gtest/gtest.h>
#include <QProcess>

#include "cli_capture.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::CliResult;
using test::ReadBytes;
using test::RunCliCapture;
using test::ScratchDir;
using test::WriteBytes;

const std::string LockedCube =
    "Caf\xE9\r\n"
    "\xE1\xCE\xD3\r\n"  // "qbc" scrambled
    "1\r\n"
    "Ann \r\n"
    "1\r\n0\r\n1\r\n"
    "5\r\n-3\r\n0\r\n"
    "1\r\n2\r\n3\r\n0\r\n1\r\n1\r\n";

TEST(CliCheck, PrintsTheModelSummary) {
  ScratchDir dir;
  WriteBytes(dir.Path("cube.MVD"), LockedCube);
  const CliResult r = RunCliCapture({"check", dir.Path("cube.MVD").toStdString()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "Name: Caf\xC3\xA9\nOwner: Ann \nLocked: yes\nControls: 1\nB\xC3\xA9ziers: 0\n"
            "Joints: 1\n");
  EXPECT_EQ(r.err, "");
}

TEST(CliCheck, ABadFileGivesTheLoadersErrorAndExitCodeOne) {
  ScratchDir dir;
  WriteBytes(dir.Path("bad.MVD"), "M\r\n \r\n0\r\n \r\nseven\r\n");
  CliResult r = RunCliCapture({"check", dir.Path("bad.MVD").toStdString()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "morv-cli: " + dir.Path("bad.MVD").toStdString() +
                       ": Line 5: 'seven' is not a valid integer value.\n");

  r = RunCliCapture({"check", dir.Path("none.MVD").toStdString()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "morv-cli: Cannot open file " + dir.Path("none.MVD").toStdString() +
                       ": no such file.\n");
}

TEST(CliResave, WritesTheModelBackInCanonicalForm) {
  ScratchDir dir;
  WriteBytes(dir.Path("in.MVD"), "M\n \n0\nOwner\n1\n0\n0\n+4\n 5\n6\nextra\n");
  const CliResult r = RunCliCapture(
      {"resave", dir.Path("in.MVD").toStdString(), dir.Path("out.MVD").toStdString()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir.Path("out.MVD")),
            "M\r\n \r\n0\r\nOwner \r\n1\r\n0\r\n0\r\n4\r\n5\r\n6\r\n");
}

TEST(CliResave, AFailedLoadWritesNothing) {
  ScratchDir dir;
  WriteBytes(dir.Path("in.MVD"), "M\n \n0\n \n2000\n0\n0\n");
  WriteBytes(dir.Path("out.MVD"), "untouched");
  const CliResult r = RunCliCapture(
      {"resave", dir.Path("in.MVD").toStdString(), dir.Path("out.MVD").toStdString()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "morv-cli: " + dir.Path("in.MVD").toStdString() +
                       ": Line 5: 2000 is not a valid number of control vertices (0 to 1000).\n");
  EXPECT_EQ(ReadBytes(dir.Path("out.MVD")), "untouched");
}

// A usage error is one line saying what is wrong and where to look, as GNU programs do; only
// --help prints the whole usage, on stdout.
TEST(CliUsage, WrongArgumentsExitWithTwoAndOneLineThatPointsToHelp) {
  const struct {
    std::vector<std::string> args;
    const char* what;
  } rows[] = {
      {{}, "no command given"},
      {{"check"}, "check takes one file: MODEL.MVD"},
      {{"check", "a", "b"}, "check takes one file: MODEL.MVD"},
      {{"resave", "a"}, "resave takes two files: IN.MVD OUT.MVD"},
      {{"frobnicate"}, "unknown command frobnicate"},
  };
  for (const auto& row : rows) {
    const CliResult r = RunCliCapture(row.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("morv-cli: ") + row.what +
                         "\nTry 'morv-cli --help' for more information.\n");
  }
  for (const char* help : {"--help", "help"}) {
    const CliResult r = RunCliCapture({help});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.starts_with("Usage: morv-cli COMMAND ...\n")) << r.out;
    EXPECT_NE(r.out.find("\nExit codes: "), std::string::npos) << "the whole usage, to its end";
  }
}

TEST(CliProgram, ExitCodesReachTheShell) {
  const QString cli = QStringLiteral(MORV_CLI_PATH);
  ScratchDir dir;
  WriteBytes(dir.Path("cube.MVD"), LockedCube);
  QProcess p;
  p.start(cli, {"check", dir.Path("cube.MVD")});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardOutput().startsWith("Name: Caf\xC3\xA9\n"));
  p.start(cli, {});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 2);
}

}  // namespace
}  // namespace morv
