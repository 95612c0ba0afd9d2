// morv-render-server: requests over TCP served from a shared folder, refusals, several clients,
// start-up failures and a clean stop.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <thread>

#include "app/render_job.h"
#include "engine/line_text.h"
#include "engine/render_request.h"
#include "engine/scene_file.h"
#include "support/fault_seed.h"
#include "support/render_server_process.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;
using test::WriteBytes;

const QByteArray Mark(1, static_cast<char>(0xD7));

using Server = test::RenderServerProcess;

std::unique_ptr<QTcpSocket> Connect(quint16 port, int milliseconds = 10000) {
  auto socket = std::make_unique<QTcpSocket>();
  socket->connectToHost(QStringLiteral("127.0.0.1"), port);
  EXPECT_TRUE(socket->waitForConnected(milliseconds));
  return socket;
}

// Sends one request and waits until the server closes the connection; false when it keeps it open
// for longer than each step may take.
bool Request(quint16 port, const QByteArray& bytes, int milliseconds = 10000) {
  const auto socket = Connect(port, milliseconds);
  socket->write(bytes);
  socket->waitForBytesWritten(milliseconds);
  const bool closed = socket->state() == QAbstractSocket::UnconnectedState ||
                      socket->waitForDisconnected(milliseconds);
  EXPECT_TRUE(closed) << "the server keeps the connection open";
  return closed;
}

void WriteScene(const QString& path, const TSceneSettings& scene) {
  WriteBytes(path, JoinLines(SceneLines(scene)));
}

// The name is joined on rather than resolved: QDir takes a name that begins with ':' for a
// resource.
void PutRequestFiles(const QString& dir, const QString& name, const TSceneSettings& scene) {
  QDir().mkpath(dir);
  WriteScene(dir + "/" + name + ".MED", scene);
  WriteBytes(dir + "/" + name + ".MVD", ReadBytes(TestDataPath("ring.MVD")));
}

// What morv-cli render writes for the ring with these settings, its angles brought into 0..360 as
// the server brings a scene's.
std::string CliPicture(const ScratchDir& dir, const TSceneSettings& s) {
  const QString out = dir.Path("cli.BMP");
  const auto angle = [](int32_t a) { return QString::number(std::clamp(a, 0, 360)); };
  QProcess cli;
  cli.start(QStringLiteral(MORV_CLI_PATH),
            {"render", TestDataPath("ring.MVD"), out, "--angles", angle(s.AngleX), angle(s.AngleY),
             angle(s.AngleZ), "--light", QString::number(s.Light.X), QString::number(s.Light.Y),
             QString::number(s.Light.Z), "--background", QString::number(s.Background)});
  EXPECT_TRUE(cli.waitForFinished(60000));
  const std::string bytes = ReadBytes(out);
  QFile::remove(out);
  EXPECT_FALSE(bytes.empty()) << cli.readAllStandardError().toStdString();
  return bytes;
}

TSceneSettings Scene(int32_t x, int32_t y, int32_t z, TPoint3D light = {200, 0, -70}) {
  TSceneSettings scene;
  scene.AngleX = x;
  scene.AngleY = y;
  scene.AngleZ = z;
  scene.Light = light;
  return scene;
}

TEST(RenderServer, ServesThePictureMorvCliRendersAndLogsTheCounts) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  QDir().mkpath(share);
  // A share user made LINKED's picture a link to a file of somebody else's outside the share.
  const QString outside = dir.Path("outside.txt");
  WriteBytes(outside, "not the server's to write");
  ASSERT_TRUE(QFile::link(outside, share + "/LINKED.BMP"));
  Server server({"--share", share, "--port", "0"});
  const quint16 port = server.Port();
  TSceneSettings blue = Scene(30, 20, 0, {-180, 180, -70});
  blue.Background = 0xFF0000;
  const struct {
    QString name;
    TSceneSettings scene;
    QString notice;
  } rows[] = {
      {"OBJECT1", blue, {}},
      {"CLAMPED", Scene(-30, 999, 0), {}},
      {"DARK", Scene(10, 20, 30, {0, 0, 0}),
       "^DARK: Morv! 3D Error! Division by 0 in LightVector\\.$"},
      {":COLON", Scene(0, 40, 0), {}},
      {"LINKED", Scene(0, 0, 20), {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name.toStdString());
    PutRequestFiles(share, row.name, row.scene);
    Request(port, Mark + row.name.toLatin1());
    EXPECT_TRUE(server.WaitFor("^" + row.name + ": 2496 points, 1152 polygons, \\d+ ms$"));
    EXPECT_EQ(ReadBytes(share + "/" + row.name + ".BMP"), CliPicture(dir, row.scene));
    EXPECT_FALSE(QFileInfo(share + "/" + row.name + ".BMP").isSymLink());
    if (!row.notice.isEmpty()) {
      EXPECT_TRUE(server.WaitFor(row.notice, true)) << server.Err();
    }
  }
  EXPECT_EQ(ReadBytes(outside), "not the server's to write");
}

TEST(RenderServer, RefusalsWriteNothingAndTheServerGoesOn) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  // Files a name that climbs out of the share, or into a subfolder, would reach.
  PutRequestFiles(dir.Path(""), "x", Scene(0, 0, 0));
  PutRequestFiles(share + "/a", "b", Scene(0, 0, 0));
  PutRequestFiles(share, "EAST", Scene(0, 0, 0));
  TextLines east = SceneLines(Scene(0, 0, 0));
  east[4] = "east";
  WriteBytes(share + "/EAST.MED", JoinLines(east));
  TSceneSettings narrow = Scene(0, 0, 0);
  narrow.Width = 100;
  PutRequestFiles(share, "NARROW", narrow);
  PutRequestFiles(share, "NOMODEL", Scene(0, 0, 0));
  QFile::remove(share + "/NOMODEL.MVD");
  PutRequestFiles(share, "BROKEN", Scene(0, 0, 0));
  WriteBytes(share + "/BROKEN.MVD", "MVD4\r\n");
  PutRequestFiles(share, "SHORT", Scene(0, 0, 0));
  TextLines shortScene = SceneLines(Scene(0, 0, 0));
  shortScene.resize(5);
  WriteBytes(share + "/SHORT.MED", JoinLines(shortScene));
  PutRequestFiles(share, "EMPTY", Scene(0, 0, 0));
  WriteBytes(share + "/EMPTY.MED", "");
  std::mt19937 random(test::FaultSeed());
  const auto noise = [&random](int size) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(random() & 0xFF);
    return bytes;
  };
  PutRequestFiles(share, "JUNK", Scene(0, 0, 0));
  WriteBytes(share + "/JUNK.MVD", noise(20000).toStdString());
  PutRequestFiles(share, "GOOD", Scene(0, 0, 0));
  // Links a share user made to the good files outside, and a pipe nobody will ever write into.
  for (const QString linked : {"LINKMED.MED", "LINKMVD.MVD"}) {
    PutRequestFiles(share, linked.chopped(4), Scene(0, 0, 0));
    QFile::remove(share + "/" + linked);
    ASSERT_TRUE(QFile::link(dir.Path("x") + linked.right(4), share + "/" + linked));
  }
  PutRequestFiles(share, "PIPE", Scene(0, 0, 0));
  QFile::remove(share + "/PIPE.MED");
  ASSERT_EQ(mkfifo(QFile::encodeName(share + "/PIPE.MED").constData(), 0600), 0);
  QByteArray unmarked = noise(4096);
  if (unmarked[0] == Mark[0]) unmarked[0] = 'X';
  const QString firstByte =
      QStringLiteral("0x%1").arg(static_cast<unsigned char>(unmarked[0]), 2, 16, QLatin1Char('0'));

  Server server({"--share", share, "--port", "0"});
  const quint16 port = server.Port();
  const struct {
    QByteArray request;
    QString logged;
  } rows[] = {
      {"XGOOD", "request from 127\\.0\\.0\\.1:\\d+: the request starts with byte 0x58, not 0xD7"},
      {Mark + "../x", "\\.\\./x: the name holds '/'"},
      {Mark + "a/b", "a/b: the name holds '/'"},
      {Mark + QByteArray("GO\0OD", 5), "GO\\\\x00OD: the name holds the control character 0x00"},
      {Mark, "request from 127\\.0\\.0\\.1:\\d+: the name is empty"},
      {Mark + "GHOST", "GHOST: Cannot open file .*GHOST\\.MED: no such file"},
      {Mark + "NOMODEL", "NOMODEL: Cannot open file .*NOMODEL\\.MVD: no such file"},
      {Mark + "EAST", "EAST: Line 5: 'east' is not a valid integer value"},
      {Mark + "NARROW", "NARROW: the picture is 100 x 360, this server renders only 360 x 360"},
      {Mark + "BROKEN", "BROKEN: .+"},
      {Mark + "..", "\\.\\.: the name holds \"\\.\\.\""},
      {unmarked, "request from 127\\.0\\.0\\.1:\\d+: the request starts with byte " +
                     firstByte.toUpper().replace("0X", "0x") + ", not 0xD7"},
      {Mark + noise(4096),
       ".*: the name (holds the control character 0x[0-9A-F]{2}|holds '[/\\\\]'|is longer than 255 "
       "bytes)"},
      {Mark + QByteArray(65536, 'N'), "N{255}: the name is longer than 255 bytes"},
      {Mark + "SHORT", "SHORT: Line 6: a scene file has ten lines, this one 5"},
      {Mark + "EMPTY", "EMPTY: Line 1: .+"},
      {Mark + "JUNK", "JUNK: .+"},
      {Mark + "LINKMED", "LINKMED: Cannot open file .*/share/LINKMED\\.MED: it is a symbolic link"},
      {Mark + "LINKMVD", "LINKMVD: Cannot open file .*/share/LINKMVD\\.MVD: it is a symbolic link"},
      {Mark + "PIPE", "PIPE: Cannot open file .*/share/PIPE\\.MED: it is not a regular file"},
  };
  // Every step answers within milliseconds, so a server that stops answering or leaves a refusal
  // out fails the test at once, and the first row that fails ends the table: the rows after it
  // would only count the wrong refusals.
  constexpr int StepMilliseconds = 3000;
  int refusals = 0;
  bool allRefused = true;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.logged.toStdString());
    const bool closed = Request(port, row.request, StepMilliseconds);
    // Each request adds one refusal, in order: the last one must be this row's.
    const QString line =
        closed ? server.WaitForLine(QStringLiteral("^refused "), ++refusals, StepMilliseconds)
               : QString();
    allRefused = QRegularExpression("^refused " + row.logged + "$").match(line).hasMatch();
    EXPECT_TRUE(allRefused) << line.toStdString() << "\n" << server.Err();
    if (!allRefused) break;
  }
  for (const QString& picture :
       {dir.Path("x.BMP"), share + "/a/b.BMP", share + "/GOOD.BMP", share + "/EAST.BMP",
        share + "/NARROW.BMP", share + "/BROKEN.BMP", share + "/SHORT.BMP", share + "/EMPTY.BMP",
        share + "/JUNK.BMP", share + "/LINKMED.BMP", share + "/LINKMVD.BMP", share + "/PIPE.BMP"}) {
    EXPECT_FALSE(QFile::exists(picture)) << picture.toStdString();
  }
  if (!allRefused) return;
  Request(port, Mark + "GOOD", StepMilliseconds);
  EXPECT_TRUE(server.WaitFor("^GOOD: 2496 points", false, StepMilliseconds));
  EXPECT_TRUE(QFile::exists(share + "/GOOD.BMP"));
}

TEST(RenderServer, ClientsAtOnceAllGetTheirOwnPictures) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  const TSceneSettings scenes[] = {Scene(0, 0, 0), Scene(40, 0, 0), Scene(0, 90, 0),
                                   Scene(200, 10, 300)};
  for (int i = 0; i < 4; ++i) PutRequestFiles(share, "C" + QString::number(i), scenes[i]);
  Server server({"--share", share, "--port", "0"});
  const quint16 port = server.Port();

  std::vector<std::unique_ptr<QTcpSocket>> clients;
  for (int i = 0; i < 4; ++i) clients.push_back(Connect(port));
  const auto silent = Connect(port);
  const auto leaving = Connect(port);
  // The last client's name arrives in two pieces, well inside the quiet time.
  for (int i = 0; i < 4; ++i)
    clients[i]->write(Mark + (i == 3 ? "C" : "C" + QByteArray::number(i)));
  leaving->write(Mark + "C");  // names no files of its own: it waits for more
  for (auto& client : clients) client->waitForBytesWritten(10000);
  leaving->waitForBytesWritten(10000);
  leaving->abort();
  QThread::msleep(10);
  clients[3]->write("3");
  clients[3]->waitForBytesWritten(10000);

  for (auto& client : clients) EXPECT_TRUE(client->waitForDisconnected(10000));
  EXPECT_TRUE(silent->waitForDisconnected(10000)) << "a silent client is refused";
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ReadBytes(share + "/C" + QString::number(i) + ".BMP"), CliPicture(dir, scenes[i]));
  }
  EXPECT_TRUE(server.WaitFor("^refused request from .*: no request arrived$", true));
  EXPECT_TRUE(server.WaitFor("^dropped request from .*: the client closed the connection", true));
}

TEST(RenderServer, AClientThatDribblesItsNameIsCutOffAtTheDeadlineWithoutHoldingUpOthers) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  PutRequestFiles(share, "GOOD", Scene(0, 0, 0));
  Server server({"--share", share, "--port", "0"});
  const quint16 port = server.Port();

  // One byte at a time, each well inside the quiet time, so the name never falls quiet; at this
  // pace it would reach the length limit only after the deadline.
  std::atomic<bool> connected = false;
  std::atomic<bool> cut = false;
  std::atomic<int> sent = 0;
  std::thread dribbler([&] {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(10000)) return;
    socket.write(Mark);
    socket.waitForBytesWritten(10000);
    connected = true;
    for (int i = 0; i < 1000; ++i) {
      if (socket.state() != QAbstractSocket::ConnectedState || socket.waitForDisconnected(25)) {
        cut = true;
        return;
      }
      socket.write("D");
      socket.waitForBytesWritten(10000);
      ++sent;
    }
  });
  while (!connected && sent == 0 && !cut) QThread::msleep(5);
  QThread::msleep(200);

  Request(port, Mark + "GOOD");
  EXPECT_TRUE(server.WaitFor("^GOOD: 2496 points"));
  EXPECT_TRUE(QFile::exists(share + "/GOOD.BMP"));
  EXPECT_FALSE(cut) << "the dribbling client is still connected while another is served";

  dribbler.join();
  EXPECT_TRUE(cut);
  EXPECT_LT(sent, static_cast<int>(MaxRequestNameLength)) << "cut off before the length limit";
  EXPECT_TRUE(server.WaitFor(QStringLiteral("^refused D+: the request was not complete within 5 "
                                            "seconds$"),
                             true))
      << server.Err();
}

TEST(RenderServer, StartFailuresExitWithAMessage) {
  ScratchDir dir;
  WriteBytes(dir.Path("file"), "not a folder");
  Server first({"--share", dir.Path(""), "--port", "0"});
  const QString busy = QString::number(first.Port());
  const struct {
    QStringList args;
    int code;
    QString message;
  } rows[] = {
      {{"--share", dir.Path(""), "--port", busy}, 1, "cannot listen on 127\\.0\\.0\\.1:" + busy},
      {{"--share", dir.Path("file")}, 1, "is not a folder$"},
      {{"--port", "0"}, 2, "--share DIR is required"},
      {{"--share", dir.Path(""), "--port", "70000"}, 2, "'70000' is not a port number"},
      {{"--share", dir.Path(""), "--address", "nowhere"}, 2, "'nowhere' is not an IP address"},
      {{"--share", dir.Path(""), "--frob"}, 2, "unknown option --frob"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    Server server(row.args);
    EXPECT_EQ(server.Finish(), row.code);
    EXPECT_TRUE(server.WaitFor("^morv-render-server: .*" + row.message, true)) << server.Err();
  }
}

TEST(RenderServer, StopSignalsCloseOpenConnectionsAndExitCleanly) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    ScratchDir dir;
    PutRequestFiles(dir.Path(""), "ab", Scene(0, 0, 0));
    Server server({"--share", dir.Path(""), "--port", "0"});
    const auto client = Connect(server.Port());
    // A client that keeps talking keeps its request open until the signal comes.
    client->write(Mark + "a");
    client->waitForBytesWritten(10000);
    QThread::msleep(30);
    kill(static_cast<pid_t>(server.Process().processId()), signal);
    EXPECT_TRUE(client->waitForDisconnected(10000));
    EXPECT_EQ(server.Finish(), 0) << server.Err();
    EXPECT_FALSE(QFile::exists(dir.Path("a.BMP")));
  }
}

}  // namespace
}  // namespace morv

namespace morv {
namespace {

TEST(RenderServer, ANameIsSettledWhenItsFilesAreThereAndNoLongerNameStartsWithIt) {
  ScratchDir dir;
  for (const char* file : {"A.MED", "A.MVD", "AB.MED", "AB.MVD", "ABC.MED", "M.MED", "Q*.MED",
                           "Q*.MVD", "lower.med", "lower.mvd"}) {
    WriteBytes(dir.Path(QString::fromLatin1(file)), "");
  }
  const struct {
    const char* name;
    bool settled;
  } rows[] = {
      {"ABC", false},    // no model file yet: its client may still be writing
      {"AB", false},     // ABC's scene could belong to a client whose name goes on
      {"A", false},      // likewise, through AB
      {"M", false},      // only the scene
      {"Q*", false},     // a pattern, never trusted
      {"lower", false},  // the extensions are the exchange's upper-case ones
      {"none", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(NameSettled(dir.Path(""), row.name), row.settled) << row.name;
  WriteBytes(dir.Path("ABC.MVD"), "");
  EXPECT_TRUE(NameSettled(dir.Path(""), "ABC"));
  EXPECT_FALSE(NameSettled(dir.Path(""), "AB"));
  QFile::remove(dir.Path("ABC.MED"));
  QFile::remove(dir.Path("ABC.MVD"));
  EXPECT_TRUE(NameSettled(dir.Path(""), "AB"));
}

}  // namespace
}  // namespace morv
