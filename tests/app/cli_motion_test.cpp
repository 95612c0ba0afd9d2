// morv-cli animate and physics: playback and mechanics run headless on model and set files.
#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>

#include <algorithm>
#include <sstream>

#include "cli_capture.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::CliResult;
using test::ReadBytes;
using test::RunCliCapture;
using test::ScratchDir;
using test::WriteBytes;

// Two joints: joint 1 (mass 3) at the origin carries vertex 1, joint 2 (mass 1) stands at 50 0 0.
const std::string TwoJoints =
    "Pair\r\n \r\n0\r\n \r\n"
    "1\r\n0\r\n2\r\n"
    "0\r\n10\r\n0\r\n"
    "0\r\n0\r\n0\r\n3\r\n1\r\n1\r\n"
    "50\r\n0\r\n0\r\n1\r\n0\r\n";

// 1: joint 1 from the origin to 0 20 0 at speed 10, repeating; 2: joint 2, a single location;
// 3: joint 2 from 50 0 0 toward 100 0 0 at speed 4.
const std::string ThreeAnimations =
    "Pair\r\n3\r\n"
    "Up\r\n1\r\n2\r\n0\r\n0\r\n0\r\n0\r\n20\r\n0\r\n10\r\nREPEAT\r\n"
    "Lone\r\n2\r\n1\r\n5\r\n5\r\n5\r\n1\r\nNO REPEAT\r\n"
    "Right\r\n2\r\n2\r\n50\r\n0\r\n0\r\n100\r\n0\r\n0\r\n4\r\nNO REPEAT\r\n";

class CliMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir.Path("pair.MVD"), TwoJoints);
    WriteBytes(dir.Path("pair.MVA"), ThreeAnimations);
  }
  std::string Path(const char* name) const { return dir.Path(name).toStdString(); }
  ScratchDir dir;
};

TEST_F(CliMotion, AnimatePlaysTheChosenAnimationsAndSavesTheMovedModel) {
  const CliResult r = RunCliCapture({"animate", Path("pair.MVD"), Path("pair.MVA"), Path("out.MVD"),
                                     "--ticks", "4", "--play", "1", "--play", "3"});
  ASSERT_EQ(r.code, 0) << r.err;
  // Up: 10, 20, back to 0, 10. Right: 4 per tick from 50.
  EXPECT_EQ(r.out, "Playing: {1 3 }\nJoint 1: 0 10 0\nJoint 2: 66 0 0\n");
  EXPECT_EQ(r.err, "");
  const CliResult check = RunCliCapture({"check", Path("out.MVD")});
  EXPECT_EQ(check.code, 0);
  // The vertex travelled with joint 1.
  EXPECT_NE(ReadBytes(dir.Path("out.MVD")).find("1\r\n0\r\n2\r\n0\r\n20\r\n0\r\n"),
            std::string::npos);

  const CliResult idle = RunCliCapture(
      {"animate", Path("pair.MVD"), Path("pair.MVA"), Path("idle.MVD"), "--ticks", "0"});
  EXPECT_EQ(idle.out, "Playing: {}\nJoint 1: 0 0 0\nJoint 2: 50 0 0\n");
  ASSERT_EQ(RunCliCapture({"resave", Path("pair.MVD"), Path("resaved.MVD")}).code, 0);
  EXPECT_EQ(ReadBytes(dir.Path("idle.MVD")), ReadBytes(dir.Path("resaved.MVD")));
}

struct JointMotion {
  std::string position;
  double velocity[3];
  double acceleration[3];
};

// "Joint J: position X Y Z velocity VX VY VZ acceleration AX AY AZ"
JointMotion ParseMotion(const std::string& line) {
  JointMotion m;
  std::istringstream in(line);
  std::string word, x, y, z;
  in >> word >> word >> word >> x >> y >> z;
  m.position = x + " " + y + " " + z;
  in >> word >> m.velocity[0] >> m.velocity[1] >> m.velocity[2];
  in >> word >> m.acceleration[0] >> m.acceleration[1] >> m.acceleration[2];
  return m;
}

TEST_F(CliMotion, PhysicsAppliesEachForceOnceAndPrintsTheMotion) {
  CliResult r = RunCliCapture({"physics", Path("pair.MVD"), Path("out.MVD"), "--ticks", "2",
                               "--force", "1", "3", "-6", "0", "1", "0", "0", "3"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.out.rfind("Joint 1: position ", 0), 0u) << r.out;
  // The forces give joint 1 (mass 3) an acceleration of 1 -2 1; gravity toward the 1 kg joint
  // 50 m away adds about G / 2500 each tick.
  const JointMotion m = ParseMotion(r.out.substr(0, r.out.find('\n')));
  EXPECT_EQ(m.position, "3 -6 3");
  const double expectedVelocity[3] = {2, -4, 2}, expectedAcceleration[3] = {1, -2, 1};
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(m.velocity[axis], expectedVelocity[axis], 1e-12);
    EXPECT_NEAR(m.acceleration[axis], expectedAcceleration[axis], 1e-12);
  }
  EXPECT_NE(m.acceleration[0], 1);
  EXPECT_NE(ReadBytes(dir.Path("out.MVD")).find("3\r\n-6\r\n3\r\n3\r\n1\r\n"), std::string::npos);

  // With G = 10^12 the 3 kg joint is pulled 3e12 / 2500 / 3 = 4e8 m/s^2 toward the other.
  r = RunCliCapture(
      {"physics", Path("pair.MVD"), Path("out.MVD"), "--ticks", "1", "--g", "1", "12"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "Joint 1: position 400000000 0 0 velocity 4e+08 0 0 acceleration 4e+08 0 0");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
}

TEST_F(CliMotion, BadCommandLinesAndFiles) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* err;
  };
  const std::string model = Path("pair.MVD"), set = Path("pair.MVA"), out = Path("out.MVD");
  const Case cases[] = {
      {{"animate", model, set, out}, 2, "morv-cli: --ticks N is required\n"},
      {{"animate", model, set, out, "--ticks", "-1"},
       2,
       "morv-cli: --ticks: -1 is outside 0..2147483647\n"},
      {{"animate", model, set, out, "--ticks", "1", "--play"},
       2,
       "morv-cli: --play needs one value\n"},
      {{"animate", model, set},
       2,
       "morv-cli: animate takes three files: MODEL.MVD SET.MVA OUT.MVD\n"},
      {{"animate", model, set, out, "--ticks", "x"}, 2, "morv-cli: 'x' is not a whole number"},
      {{"animate", model, Path("none.MVA"), out, "--ticks", "1"}, 1, "morv-cli: Cannot open file"},
      {{"physics", model, out, "--ticks", "1", "--force", "1", "2", "3"},
       2,
       "morv-cli: --force needs four values\n"},
      {{"physics", model, out, "--ticks", "1", "--g", "7"}, 2, "morv-cli: --g needs two values\n"},
      {{"physics", model, out, "--speed", "1"}, 2, "morv-cli: unknown option --speed"},
      {{"physics", Path("none.MVD"), out, "--ticks", "1"}, 1, "morv-cli: Cannot open file"},
  };
  for (const Case& c : cases) {
    const CliResult r = RunCliCapture(c.args);
    EXPECT_EQ(r.code, c.code) << c.err;
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
  // Nothing was written by any refused command.
  EXPECT_EQ(ReadBytes(dir.Path("out.MVD")), "");
}

// What the real program prints and leaves in its working folder when the files cannot satisfy the
// request: exit 1, one line naming the file and the reason, and the output file as it was.
TEST_F(CliMotion, RequestsTheFilesCannotSatisfyFailAndWriteNothing) {
  // Joint 2 of a four-joint model; the set's first line names a model this one is not.
  WriteBytes(dir.Path("other.MVA"),
             "Other\r\n1\r\nUp\r\n1\r\n2\r\n0\r\n0\r\n0\r\n0\r\n20\r\n0\r\n"
             "10\r\nREPEAT\r\n");
  WriteBytes(dir.Path("far.MVA"),
             "Pair\r\n1\r\nFar\r\n9\r\n2\r\n0\r\n0\r\n0\r\n0\r\n20\r\n0\r\n"
             "10\r\nREPEAT\r\n");
  WriteBytes(dir.Path("bad.MVA"), "Pair\r\n1\r\nA\r\n1\r\nmany\r\n");
  WriteBytes(dir.Path("out.MVD"), "old");
  const QStringList before = QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden);
  const QStringList animate{"animate", "pair.MVD", "pair.MVA", "out.MVD", "--ticks", "3"};
  const struct {
    QStringList args;
    std::string err;
  } rows[] = {
      {animate + QStringList{"--play", "1", "7"},
       "pair.MVA: There is no animation 7 to play: the set holds 3 animations."},
      {animate + QStringList{"--play", "2"},
       "pair.MVA: The animation \"Lone\" has fewer than two locations, so it cannot play."},
      {{"animate", "pair.MVD", "far.MVA", "out.MVD", "--ticks", "1", "--play", "1"},
       "far.MVA: The animation \"Far\" moves joint 9, which the model does not have, so it "
       "cannot play."},
      // Whether or not anything plays, the set belongs to its own model.
      {{"animate", "pair.MVD", "other.MVA", "out.MVD", "--ticks", "1"},
       "other.MVA: This animation file is designed for [Other], not for [Pair]."},
      {{"animate", "pair.MVD", "bad.MVA", "out.MVD", "--ticks", "1"},
       "bad.MVA: Line 5: 'many' is not a valid integer value."},
      // The model and the set given the wrong way round: each reader names its file.
      {{"animate", "pair.MVA", "pair.MVD", "out.MVD", "--ticks", "1"},
       "pair.MVA: Line 13: 'REPEAT' is not a valid integer value."},
      {{"physics", "pair.MVD", "out.MVD", "--ticks", "1", "--force", "1", "1", "1", "1", "7", "0",
        "5", "0"},
       "pair.MVD: There is no joint 7 to apply a force to: the model has 2 joints."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    QProcess cli;
    cli.setWorkingDirectory(dir.Path(""));
    cli.start(QStringLiteral(MORV_CLI_PATH), row.args);
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_EQ(cli.readAllStandardError().toStdString(), "morv-cli: " + row.err + "\n");
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), "");
    EXPECT_EQ(ReadBytes(dir.Path("out.MVD")), "old");
    EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden), before);
  }
}

}  // namespace
}  // namespace morv
