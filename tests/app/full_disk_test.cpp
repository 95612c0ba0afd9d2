// Saves onto a full disk from morv-cli and the render server: reported as failures, old files kept.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTcpSocket>

#include "engine/line_text.h"
#include "engine/scene_file.h"
#include "support/file_size_limit.h"
#include "support/render_server_process.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;
using test::WriteBytes;

TEST(FullDisk, MorvCliExitsWithOneAndKeepsTheOldFile) {
  ScratchDir dir;
  const QString ring = TestDataPath(QStringLiteral("ring.MVD"));
  const struct {
    QStringList args;
    QString out;
  } rows[] = {
      {{"render", ring, dir.Path("ring.BMP")}, dir.Path("ring.BMP")},
      {{"resave", ring, dir.Path("ring.MVD")}, dir.Path("ring.MVD")},
      {{"export", ring, dir.Path("ring.stl")}, dir.Path("ring.stl")},
      {{"print", ring, dir.Path("ring.pdf")}, dir.Path("ring.pdf")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    WriteBytes(row.out, "old");
    QProcess cli;
    test::LimitChildFileSize(cli, 1024);
    cli.start(QStringLiteral(MORV_CLI_PATH), row.args);
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    // Qt may warn about the environment before the command's own line.
    EXPECT_EQ(
        cli.readAllStandardError().trimmed().split('\n').last().toStdString(),
        "morv-cli: Cannot create file " + row.out.toStdString() + ": the file would be too large.");
    EXPECT_EQ(ReadBytes(row.out), "old");
    EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(row.out).fileName()})
        << "nothing is left beside the file";
    QFile::remove(row.out);
  }
}

TEST(FullDisk, TheRenderServerRefusesTheRequestKeepsTheOldPictureAndGoesOnServing) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  ASSERT_TRUE(QDir().mkpath(share));
  WriteBytes(share + "/OBJECT1.MED", JoinLines(SceneLines(TSceneSettings{})));
  WriteBytes(share + "/OBJECT1.MVD", ReadBytes(TestDataPath(QStringLiteral("ring.MVD"))));
  WriteBytes(share + "/OBJECT1.BMP", "old");
  test::RenderServerProcess server({"--share", share, "--port", "0"}, 65536);
  const quint16 port = server.Port();
  for (int request = 1; request <= 2; ++request) {
    SCOPED_TRACE(request);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(socket.waitForConnected(10000));
    socket.write(QByteArray(1, static_cast<char>(0xD7)) + "OBJECT1");
    EXPECT_TRUE(socket.waitForDisconnected(10000)) << "the server closes the request";
    EXPECT_EQ(server.WaitForLine(QStringLiteral("^refused OBJECT1: "), request),
              "refused OBJECT1: Cannot create file " + share +
                  "/OBJECT1.BMP: the file would be too large")
        << server.Err();
    EXPECT_EQ(ReadBytes(share + "/OBJECT1.BMP"), "old");
    EXPECT_EQ(QDir(share).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"OBJECT1.BMP", "OBJECT1.MED", "OBJECT1.MVD"}));
  }
  EXPECT_EQ(server.Process().state(), QProcess::Running);
}

}  // namespace
}  // namespace morv
