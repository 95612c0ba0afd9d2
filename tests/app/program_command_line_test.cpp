// The command-line conventions the three programs share: --help, --version and unknown options,
// checked on the built programs run as processes.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
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

ProgramRun RunProgram(const char* program, const QStringList& args,
                      const QProcessEnvironment& env) {
  QProcess process;
  process.setProcessEnvironment(env);
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
};

const Program Programs[] = {
    {MORV_PATH, "morv", "Usage: morv [MODEL.MVD]\n"},
    {MORV_CLI_PATH, "morv-cli", "Usage: morv-cli COMMAND ...\n"},
    {MORV_RENDER_SERVER_PATH, "morv-render-server", "Usage: morv-render-server --share DIR"},
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

TEST(ProgramCommandLine, AnUnknownOptionIsNamedOnStderrWithTheUsageAndExitTwo) {
  for (const Program& program : Programs) {
    SCOPED_TRACE(program.name);
    const ProgramRun r = RunProgram(program.path, {"--frobnicate"}, Offscreen());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(program.name + ": unknown option --frobnicate\n")) << r.err;
    EXPECT_NE(r.err.find(program.usage), std::string::npos) << r.err;
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

TEST(ProgramCommandLine, TheCompanionNamesWhatItDoesNotKnow) {
  struct Case {
    QStringList args;
    std::string message;
  };
  const Case cases[] = {
      {{}, "morv-cli: no command given\n"},
      {{"frobnicate"}, "morv-cli: unknown command frobnicate\n"},
      {{"-x"}, "morv-cli: unknown option -x\n"},
      {{"check"}, "morv-cli: check takes one file: MODEL.MVD\n"},
      {{"resave", "a.MVD"}, "morv-cli: resave takes two files: IN.MVD OUT.MVD\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProgramRun r = RunProgram(MORV_CLI_PATH, c.args, Offscreen());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(c.message + "Usage: morv-cli")) << r.err;
  }
}

}  // namespace
}  // namespace morv
