// The command-line conventions the three programs share: --help, --version and unknown options,
// checked on the built programs run as processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <string>

#include "app/version.h"
#include "support/test_files.h"

namespace morv {
namespace {

struct ProgramRun {
  int code;
  std::string out;
  std::string err;
};

// A desktop session's environment: Qt warns on stderr where it has no private runtime folder.
QProcessEnvironment Session() {
  static const test::ScratchDir runtimeDir;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.Path(QString()));
  return env;
}

// A platform that does not exist: a program that opened a Qt GUI session would fail with it.
QProcessEnvironment WithoutDisplay() {
  QProcessEnvironment env = Session();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
  return env;
}

QProcessEnvironment Offscreen() {
  QProcessEnvironment env = Session();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return env;
}

ProgramRun RunProgram(const char* program, const QStringList& args, const QProcessEnvironment& env,
                      const QString& folder = QString()) {
  QProcess process;
  process.setProcessEnvironment(env);
  if (!folder.isEmpty()) process.setWorkingDirectory(folder);
  process.start(QString::fromUtf8(program), args);
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished(10000);
    ADD_FAILURE() << program << " did not finish";
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

struct Program {
  const char* path;
  std::string name;
  std::string usage;  // how its usage text begins
  // What follows the line that names a usage error: the usage, or only where to find it.
  std::string afterUsageError;
};

const std::string CliTryHelp = "Try 'morv-cli --help' for more information.\n";

const Program Programs[] = {
    {MORV_PATH, "morv", "Usage: morv [MODEL.MVD]\n", "Usage: morv [MODEL.MVD]\n"},
    {MORV_CLI_PATH, "morv-cli", "Usage: morv-cli COMMAND ...\n", CliTryHelp},
    {MORV_RENDER_SERVER_PATH, "morv-render-server", "Usage: morv-render-server --share DIR",
     "Usage: morv-render-server --share DIR"},
};

TEST(ProgramCommandLine, TheVersionComesFromTheProject) {
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+(\\.\\d+)*$"))
                  .match(QString::fromLatin1(MorvVersion))
                  .hasMatch())
      << MorvVersion;
}

TEST(ProgramCommandLine, HelpAndVersionGoToStdoutWithExitZeroAndNeedNoDisplay) {
  for (const Program& program : Programs) {
    SCOPED_TRACE(program.name);
    const ProgramRun help = RunProgram(program.path, {"--help"}, WithoutDisplay());
    EXPECT_EQ(help.code, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with(program.usage)) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    const ProgramRun version = RunProgram(program.path, {"--version"}, WithoutDisplay());
    EXPECT_EQ(version.code, 0) << version.err;
    EXPECT_EQ(version.out, program.name + " " + MorvVersion + "\n");
    EXPECT_EQ(version.err, "");
  }
}

TEST(ProgramCommandLine, AnUnknownOptionIsNamedOnStderrWithTheUsageOrWhereToFindItAndExitTwo) {
  for (const Program& program : Programs) {
    SCOPED_TRACE(program.name);
    const ProgramRun r = RunProgram(program.path, {"--frobnicate"}, Offscreen());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(program.name + ": unknown option --frobnicate\n" +
                                  program.afterUsageError))
        << r.err;
  }
}

TEST(ProgramCommandLine, TheModellerLeavesQtItsOptionsAndRefusesTheRest) {
  struct Case {
    QStringList args;
    std::string message;
  };
  // -platform given on the command line wins over the environment's platform, which would fail.
  const Case cases[] = {
      {{"-platform", "offscreen", "-x"}, "morv: unknown option -x\n"},
      {{"model.MVD", "-platform", "offscreen", "-style", "fusion", "--frobnicate"},
       "morv: unknown option --frobnicate\n"},
      {{"-platform", "offscreen", "a.MVD", "b.MVD"}, "morv: only one model file can be opened\n"},
      {{"-platform", "offscreen", "--", "-a.MVD", "b.MVD"},
       "morv: only one model file can be opened\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProgramRun r = RunProgram(MORV_PATH, c.args, WithoutDisplay());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(c.message)) << r.err;
    EXPECT_NE(r.err.find("Usage: morv [MODEL.MVD]"), std::string::npos) << r.err;
  }
}

TEST(ProgramCommandLine, TheCompanionNamesWhatItDoesNotKnowOrTakesOutOfRange) {
  // Run in a folder of their own, where a typo taken for a file name would show as a file.
  const test::ScratchDir dir;
  const std::string ring = test::ReadBytes(test::TestDataPath("ring.MVD"));
  test::WriteBytes(dir.Path("m.MVD"), ring);
  test::WriteBytes(dir.Path("-m.MVD"), ring);
  test::WriteBytes(dir.Path("s.MVA"), "Ring\r\n0\r\n");
  const QStringList inputs = QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden);
  struct Case {
    QStringList args;
    std::string message;
  };
  const QStringList physics{"physics", "m.MVD", "o.MVD", "--ticks", "1"};
  const QStringList animate{"animate", "m.MVD", "s.MVA", "o.MVD", "--ticks", "1"};
  const Case cases[] = {
      {{}, "morv-cli: no command given\n"},
      {{"frobnicate"}, "morv-cli: unknown command frobnicate\n"},
      {{"-x"}, "morv-cli: unknown option -x\n"},
      {{"check"}, "morv-cli: check takes one file: MODEL.MVD\n"},
      {{"check", "-x"}, "morv-cli: unknown option -x\n"},
      {{"resave", "a.MVD"}, "morv-cli: resave takes two files: IN.MVD OUT.MVD\n"},
      {{"resave", "m.MVD", "-o.MVD"}, "morv-cli: unknown option -o.MVD\n"},
      {{"render", "m.MVD", "--bogus"}, "morv-cli: unknown option --bogus\n"},
      {{"render", "m.MVD", "-"}, "morv-cli: unknown option -\n"},
      {{"render", "m.MVD", "o.BMP", "x.BMP"},
       "morv-cli: render takes two files: MODEL.MVD OUT.BMP|OUT.png\n"},
      // After "--" an option is a file like any other.
      {{"render", "--", "-m.MVD", "o.BMP", "--threads"},
       "morv-cli: render takes two files: MODEL.MVD OUT.BMP|OUT.png\n"},
      {{"render", "m.MVD", "o.BMP", "--angles", "400", "0", "0"},
       "morv-cli: --angles: 400 is outside 0..360\n"},
      {{"render", "m.MVD", "o.BMP", "--angles", "0", "0", "-1"},
       "morv-cli: --angles: -1 is outside 0..360\n"},
      {{"render", "m.MVD", "o.BMP", "--angles", "1", "2", "--threads"},
       "morv-cli: --angles needs three values\n"},
      {{"render", "m.MVD", "o.BMP", "--light", "1", "2", "3x"},
       "morv-cli: '3x' is not a whole number\n"},
      {{"render", "m.MVD", "o.BMP", "--background", "16777216"},
       "morv-cli: --background: 16777216 is outside 0..16777215\n"},
      {{"print", "m.MVD", "o.pdf", "--angles", "30", "361", "0"},
       "morv-cli: --angles: 361 is outside 0..360\n"},
      {{"print", "m.MVD", "o.pdf", "--png"}, "morv-cli: --png needs one value\n"},
      {{"export", "m.MVD", "--stl"}, "morv-cli: unknown option --stl\n"},
      {physics + QStringList{"--g", "20", "-11"}, "morv-cli: --g: 20 is outside 1..10\n"},
      {physics + QStringList{"--g", "0", "-11"}, "morv-cli: --g: 0 is outside 1..10\n"},
      {physics + QStringList{"--g", "7", "13"}, "morv-cli: --g: 13 is outside -12..12\n"},
      {physics + QStringList{"--force", "0", "1", "1", "1"},
       "morv-cli: --force: 0 is outside 1..1000\n"},
      {physics + QStringList{"--force", "1", "1", "1", "1", "1001", "0", "0", "0"},
       "morv-cli: --force: 1001 is outside 1..1000\n"},
      {{"physics", "m.MVD", "o.MVD", "--ticks", "-1"},
       "morv-cli: --ticks: -1 is outside 0..2147483647\n"},
      {animate + QStringList{"--play", "1", "101"}, "morv-cli: --play: 101 is outside 1..100\n"},
      {animate + QStringList{"--play", "0"}, "morv-cli: --play: 0 is outside 1..100\n"},
      {{"animate", "m.MVD", "-s.MVA", "o.MVD", "--ticks", "1"},
       "morv-cli: unknown option -s.MVA\n"},
      // An output file the command cannot write, in any case of its suffix.
      {{"print", "m.MVD", "o.txt"}, "morv-cli: the output file must end in .pdf (in any case)\n"},
      {{"print", "m.MVD", "o.pdf.png", "--png", "page"},
       "morv-cli: the output file must end in .pdf (in any case)\n"},
      {{"render", "m.MVD", "o.jpg"},
       "morv-cli: the output file must end in .bmp or .png (in any case)\n"},
      {{"render", "m.MVD", "o"},
       "morv-cli: the output file must end in .bmp or .png (in any case)\n"},
      {{"turntable", "m.MVD", "o.avi"},
       "morv-cli: the video file must end in .mp4, .webm or .gif (in any case)\n"},
      {animate + QStringList{"--video", "o.png"},
       "morv-cli: the video file must end in .mp4, .webm or .gif (in any case)\n"},
      // Sizes, samples and frame rates past what the pictures and videos take.
      {{"render", "m.MVD", "o.png", "--size", "0", "360"},
       "morv-cli: --size: 0 is outside 1..8192\n"},
      {{"render", "m.MVD", "o.bmp", "--size", "360", "8193"},
       "morv-cli: --size: 8193 is outside 1..8192\n"},
      {{"render", "m.MVD", "o.png", "--samples", "0"}, "morv-cli: --samples: 0 is outside 1..8\n"},
      {{"render", "m.MVD", "o.png", "--samples", "9"}, "morv-cli: --samples: 9 is outside 1..8\n"},
      {{"render", "m.MVD", "o.png", "--size", "640", "360", "--threads"},
       "morv-cli: --threads draws only the 360 x 360 picture at 1 sample\n"},
      {{"turntable", "m.MVD", "o.gif", "--size", "8193", "10"},
       "morv-cli: --size: 8193 is outside 1..8192\n"},
      {{"turntable", "m.MVD", "o.webm", "--samples", "9"},
       "morv-cli: --samples: 9 is outside 1..8\n"},
      {{"turntable", "m.MVD", "o.mp4", "--size", "361", "360"},
       "morv-cli: an MP4 video's width and height must be even, not 361 x 360\n"},
      {{"turntable", "m.MVD", "o.gif", "--frames", "0"},
       "morv-cli: --frames: 0 is outside 1..3600\n"},
      {{"turntable", "m.MVD", "o.gif", "--axis", "w"}, "morv-cli: --axis takes x, y or z, not w\n"},
      {{"turntable", "m.MVD", "o.gif", "--fps", "0"}, "morv-cli: --fps: 0 is outside 1..100\n"},
      {animate + QStringList{"--video", "o.gif", "--size", "0", "0"},
       "morv-cli: --size: 0 is outside 1..8192\n"},
      {physics + QStringList{"--video", "o.webm", "--samples", "0"},
       "morv-cli: --samples: 0 is outside 1..8\n"},
      {physics + QStringList{"--size", "64", "64"}, "morv-cli: --size is an option of --video\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProgramRun r = RunProgram(MORV_CLI_PATH, c.args, Offscreen(), dir.Path(""));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message + CliTryHelp);
    EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden), inputs)
        << "a refused command line writes nothing";
  }

  // "--" lets files whose names begin with '-' be named, after the options or among them.
  const ProgramRun dashed =
      RunProgram(MORV_CLI_PATH, {"render", "--angles", "30", "20", "0", "--", "-m.MVD", "-o.BMP"},
                 Offscreen(), dir.Path(""));
  EXPECT_EQ(dashed.code, 0) << dashed.err;
  EXPECT_EQ(dashed.err, "");
  const ProgramRun plain =
      RunProgram(MORV_CLI_PATH, {"render", "m.MVD", "o.bmp", "--angles", "30", "20", "0"},
                 Offscreen(), dir.Path(""));
  EXPECT_EQ(plain.code, 0) << plain.err;
  EXPECT_FALSE(test::ReadBytes(dir.Path("-o.BMP")).empty());
  EXPECT_EQ(test::ReadBytes(dir.Path("-o.BMP")), test::ReadBytes(dir.Path("o.bmp")));
}

// Where the session names no runtime folder (cron, su, ssh, a service), a successful run of each
// program prints nothing on stderr, and the folder made in its place is the user's private one.
TEST(ProgramCommandLine, ASuccessfulRunWithoutARuntimeFolderPrintsNothingOnStderr) {
  const test::ScratchDir dir;
  test::WriteBytes(dir.Path("m.MVD"), test::ReadBytes(test::TestDataPath("ring.MVD")));
  ASSERT_TRUE(QDir().mkpath(dir.Path("tmp")));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  env.insert(QStringLiteral("TMPDIR"), dir.Path("tmp"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  // The server runs until it is stopped and the modeller until its window is closed: each is
  // stopped once it has got as far as any warning would have come.
  enum class TEnd { Itself, StoppedWhenListening, KilledWhenItsPlatformIsLoaded };
  const struct {
    const char* path;
    QStringList args;
    TEnd end;
  } rows[] = {
      {MORV_CLI_PATH, {"render", "m.MVD", "o.BMP"}, TEnd::Itself},
      {MORV_RENDER_SERVER_PATH, {"--share", ".", "--port", "0"}, TEnd::StoppedWhenListening},
      {MORV_PATH, {}, TEnd::KilledWhenItsPlatformIsLoaded},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.Path(""));
    process.start(QString::fromUtf8(row.path), row.args);
    ASSERT_TRUE(process.waitForStarted(10000));
    const auto pid = static_cast<pid_t>(process.processId());
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    const auto reached = [&] {
      if (row.end == TEnd::StoppedWhenListening) {
        process.waitForReadyRead(20);
        out += process.readAllStandardOutput();
        return out.contains("listening on ");
      }
      QThread::msleep(20);
      return test::ReadBytes(QStringLiteral("/proc/%1/maps").arg(pid)).find("libqoffscreen") !=
             std::string::npos;
    };
    if (row.end != TEnd::Itself) {
      while (!reached() && process.state() == QProcess::Running && clock.elapsed() < 30000) {
      }
      EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
      kill(pid, row.end == TEnd::StoppedWhenListening ? SIGTERM : SIGKILL);
    }
    ASSERT_TRUE(process.waitForFinished(30000));
    if (row.end != TEnd::KilledWhenItsPlatformIsLoaded) {
      EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(process.exitCode(), 0);
    }
    EXPECT_EQ(process.readAllStandardError().toStdString(), "");
  }
  const QFileInfoList made = QDir(dir.Path("tmp")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(made.size(), 1);
  EXPECT_TRUE(made[0].fileName().startsWith(QStringLiteral("runtime-")));
  struct stat folder {};
  ASSERT_EQ(stat(QFile::encodeName(made[0].filePath()).constData(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 07777, 0700u);
}

}  // namespace
}  // namespace morv
