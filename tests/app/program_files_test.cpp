// Files as the programs are given them: names that are not UTF-8, on morv-cli's command line and
// in the render server's share and requests, a folder named as a file, and standard output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/line_text.h"
#include "engine/model_file.h"
#include "engine/scene_file.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;

// Files named by bytes, which the tests' Qt-based helpers would take as UTF-8 text.
void WriteRaw(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);
}

std::string ReadRaw(const std::string& path) {
  std::string bytes;
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return "(missing)";
  char buffer[4096];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return bytes;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

// A program started with arguments as bytes, in `folder`, its output going to files there.
class TProgram {
 public:
  TProgram(const char* program, const std::vector<std::string>& args, const std::string& folder)
      : out_(folder + "/.out"), err_(folder + "/.err") {
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || err < 0 || chdir(folder.c_str()) != 0 || dup2(out, 1) < 0 ||
          dup2(err, 2) < 0) {
        _exit(126);
      }
      execv(program, argv.data());
      _exit(127);
    }
  }
  ~TProgram() {
    if (pid_ > 0 && !finished_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  // The exit code, or -1 for a program killed by a signal.
  int Finish() {
    int status = 0;
    EXPECT_EQ(waitpid(pid_, &status, 0), pid_);
    finished_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Stop() { kill(pid_, SIGTERM); }
  std::string Out() const { return ReadRaw(out_); }
  std::string Err() const { return ReadRaw(err_); }

 private:
  std::string out_, err_;
  pid_t pid_ = -1;
  bool finished_ = false;
};

struct TRun {
  int code;
  std::string out, err;
};

TRun RunCliProgram(const std::vector<std::string>& args, const std::string& folder) {
  TProgram cli(MORV_CLI_PATH, args, folder);
  const int code = cli.Finish();
  return {code, cli.Out(), cli.Err()};
}

TEST(ProgramFiles, MorvCliReadsAndWritesNamesThatAreNotUtf8AsTheyAreGiven) {
  ScratchDir scratch;
  const std::string dir = QFile::encodeName(scratch.Path("")).toStdString();
  const std::string model = ReadBytes(TestDataPath(QStringLiteral("ring.MVD")));
  WriteRaw(dir + "/caf\xE9.MVD", model);

  const TRun check = RunCliProgram({"check", "caf\xE9.MVD"}, dir);
  EXPECT_EQ(check.code, 0) << check.err;
  EXPECT_EQ(check.out.substr(0, 6), "Name: ");

  const TRun resave = RunCliProgram({"resave", "caf\xE9.MVD", "\xFF\xFE.MVD"}, dir);
  EXPECT_EQ(resave.code, 0) << resave.err;
  TextLines lines;
  SaveModel(
      [&] {
        TMorvObject m;
        LoadModel(SplitLines(model), m);
        return m;
      }(),
      lines);
  EXPECT_EQ(ReadRaw(dir + "/\xFF\xFE.MVD"), JoinLines(lines));

  const TRun exported = RunCliProgram({"export", "caf\xE9.MVD", "caf\xE9.gltf"}, dir);
  EXPECT_EQ(exported.code, 0) << exported.err;
  EXPECT_TRUE(Exists(dir + "/caf\xE9.bin"));
  const nlohmann::json gltf = nlohmann::json::parse(ReadRaw(dir + "/caf\xE9.gltf"));
  EXPECT_EQ(gltf["buffers"][0]["uri"], "caf%E9.bin");

  const TRun missing = RunCliProgram({"check", "\xE9t\xE9.MVD"}, dir);
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("Cannot open file \xE9t\xE9.MVD: no such file"), std::string::npos)
      << missing.err;
}

// /dev/stdout is a link to /proc/self/fd/1, which leads to the pipe the output goes into; a link
// of the test's own stands for it, so that a save that replaced the link instead of writing
// through it could only harm the test's folder.
TEST(ProgramFiles, MorvCliWritesThroughALinkToItsStandardOutputAndNamesAFolderInTheWay) {
  ScratchDir scratch;
  const QString ring = TestDataPath(QStringLiteral("ring.MVD"));
  const QString stdoutLink = scratch.Path("stdout.MVD");
  ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/fd/1"), stdoutLink));
  QProcess cli;
  cli.start(QStringLiteral(MORV_CLI_PATH), {QStringLiteral("resave"), ring, stdoutLink});
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  TMorvObject model;
  LoadModel(SplitLines(ReadBytes(ring)), model);
  TextLines lines;
  SaveModel(model, lines);
  EXPECT_EQ(cli.readAllStandardOutput().toStdString(), JoinLines(lines));
  EXPECT_EQ(QFileInfo(stdoutLink).symLinkTarget(), QStringLiteral("/proc/self/fd/1"));

  const std::string dir = QFile::encodeName(scratch.Path("")).toStdString();
  ASSERT_EQ(mkdir((dir + "/outdir").c_str(), 0755), 0);
  const TRun folder =
      RunCliProgram({"resave", QFile::encodeName(ring).toStdString(), "outdir"}, dir);
  EXPECT_EQ(folder.code, 1);
  EXPECT_NE(folder.err.find("Cannot create file outdir: it is a folder"), std::string::npos)
      << folder.err;
}

// The share's own name and the names in requests are bytes: the server reads and writes the
// files they name, whatever character set a client used.
TEST(ProgramFiles, TheRenderServerServesNamesThatAreNotUtf8FromAShareNamedSo) {
  ScratchDir scratch;
  const std::string dir = QFile::encodeName(scratch.Path("")).toStdString();
  const std::string share = dir + "/sh\xE4re";
  ASSERT_EQ(mkdir(share.c_str(), 0755), 0);
  const std::string model = ReadBytes(TestDataPath(QStringLiteral("ring.MVD")));
  const struct {
    std::string name;
    std::string logged;
  } rows[] = {{"Kugel\xE9", "Kugel\\xE9"},
              {"Kugel\xC3\xA9", "Kugel\xC3\xA9"},
              // A control character in UTF-8 (CSI) would steer a terminal showing the log.
              {"Kugel\xC2\x9B", "Kugel\\xC2\\x9B"}};
  for (const auto& row : rows) {
    WriteRaw(share + "/" + row.name + ".MED", JoinLines(SceneLines(TSceneSettings{})));
    WriteRaw(share + "/" + row.name + ".MVD", model);
  }

  TProgram server(MORV_RENDER_SERVER_PATH, {"--share", "sh\xE4re", "--port", "0"}, dir);
  QElapsedTimer clock;
  clock.start();
  std::string out;
  while (out.find('\n') == std::string::npos && clock.elapsed() < 10000) {
    QThread::msleep(20);
    out = server.Out();
  }
  const std::size_t colon = out.rfind(':');
  ASSERT_NE(colon, std::string::npos) << out << server.Err();
  const auto port = static_cast<quint16>(std::stoi(out.substr(colon + 1)));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.logged);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(socket.waitForConnected(10000));
    socket.write(QByteArray(1, static_cast<char>(0xD7)) + QByteArray::fromStdString(row.name));
    EXPECT_TRUE(socket.waitForDisconnected(10000));
    EXPECT_EQ(ReadRaw(share + "/" + row.name + ".BMP").substr(0, 2), "BM");
  }
  server.Stop();
  EXPECT_EQ(server.Finish(), 0);
  const std::string log = server.Out();
  for (const auto& row : rows) {
    EXPECT_NE(log.find("\n" + row.logged + ": 2496 points, 1152 polygons, "), std::string::npos)
        << log << server.Err();
  }
}

}  // namespace
}  // namespace morv
