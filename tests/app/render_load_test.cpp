// morv-load against morv-render-server: sixteen clients at once, alone and through HAProxy.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <string>

#include "support/render_server_process.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;
using ::testing::HasSubstr;
using Server = test::RenderServerProcess;

struct TLoadRun {
  int Code = -1;
  std::string Output;
};

// Runs morv-load to its end with the event loop going, so that the servers' QProcess objects
// keep reading what the servers log: a full pipe would stall a server mid-run.
TLoadRun RunLoad(const QStringList& args) {
  QProcess load;
  load.setProcessChannelMode(QProcess::MergedChannels);
  QEventLoop loop;
  QObject::connect(&load, &QProcess::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(300000, &loop, &QEventLoop::quit);
  load.start(QStringLiteral(MORV_LOAD_PATH), args);
  if (load.waitForStarted(10000)) loop.exec();
  if (load.state() != QProcess::NotRunning) {
    load.kill();
    load.waitForFinished(10000);
    return {-1, "morv-load did not finish within 5 minutes\n" + load.readAll().toStdString()};
  }
  return {load.exitStatus() == QProcess::NormalExit ? load.exitCode() : -1,
          load.readAll().toStdString()};
}

// A port nobody listens on at the moment.
quint16 FreePort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  return probe.serverPort();
}

TEST(RenderLoad, OneServerServesEveryPictureAndKeepsNothingOfTheRequests) {
  ScratchDir dir;
  const QString share = dir.Path("share");
  QDir().mkpath(share);
  Server server({"--share", share, "--port", "0"});
  const quint16 port = server.Port();
  const qint64 pid = server.Process().processId();
  QStringList args = {"--share",           share, "--port", QString::number(port), "--pid",
                      QString::number(pid)};
#ifdef __SANITIZE_ADDRESS__
  // The address checker keeps freed memory aside, so the server's memory grows by design; its
  // leak checker judges the server at the stop below instead.
  args << "--rss-tolerance"
       << "1048576";
#endif
  const TLoadRun run = RunLoad(args);
  EXPECT_EQ(run.Code, 0) << run.Output << server.Err();
  EXPECT_THAT(run.Output, HasSubstr("1600 sent, 1600 served, 0 lost, 0 mismatched")) << run.Output;
  EXPECT_THAT(run.Output, HasSubstr("server " + std::to_string(pid) + ": ")) << run.Output;
  kill(static_cast<pid_t>(pid), SIGTERM);
  EXPECT_EQ(server.Finish(), 0) << server.Err();
}

TEST(RenderLoad, LostRequestsFailTheRun) {
  ScratchDir dir;
  QDir().mkpath(dir.Path("share"));
  QDir().mkpath(dir.Path("elsewhere"));
  Server server({"--share", dir.Path("share"), "--port", "0"});
  const QString port = QString::number(server.Port());
  const struct {
    const char* what;
    QStringList args;
    std::string failure;
  } rows[] = {
      {"the server reads another folder",
       {"--share", dir.Path("elsewhere"), "--port", port},
       "no picture after the server closed the connection"},
      {"nobody listens", {"--share", dir.Path("share"), "--port", QString::number(FreePort())}, ""},
      {"the server is gone",
       {"--share", dir.Path("share"), "--port", port, "--pid", "999999999"},
       "/proc/999999999 cannot be read"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const TLoadRun run = RunLoad(row.args + QStringList{"--clients", "2", "--requests", "3"});
    EXPECT_EQ(run.Code, 1) << run.Output;
    EXPECT_THAT(run.Output, HasSubstr("FAILED: ")) << run.Output;
    EXPECT_THAT(run.Output, HasSubstr(row.failure)) << run.Output;
  }
}

// The shipped example configuration with its addresses replaced by loopback ports.
QString BalancerConfig(quint16 front, quint16 first, quint16 second) {
  QString config = QString::fromStdString(ReadBytes(QStringLiteral(MORV_HAPROXY_CONFIG)));
  const struct {
    QString pattern, replacement;
  } substitutions[] = {
      {"^(\\s*bind) \\S+$", "\\1 127.0.0.1:" + QString::number(front)},
      {"^(\\s*server render1) \\S+", "\\1 127.0.0.1:" + QString::number(first)},
      {"^(\\s*server render2) \\S+", "\\1 127.0.0.1:" + QString::number(second)},
  };
  for (const auto& s : substitutions) {
    const QRegularExpression re(s.pattern, QRegularExpression::MultilineOption);
    EXPECT_TRUE(re.match(config).hasMatch()) << s.pattern.toStdString();
    config.replace(re, s.replacement);
  }
  return config;
}

bool Accepts(quint16 port) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 10000) {
    QTcpSocket probe;
    probe.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (probe.waitForConnected(1000)) return true;
    QThread::msleep(50);
  }
  return false;
}

TEST(RenderLoad, TwoServersOnOneFolderBehindHaproxyServeEveryPictureAndOneMayStop) {
  // Debian puts it in /usr/sbin, which only root's search path holds.
  QString haproxy = QStandardPaths::findExecutable(QStringLiteral("haproxy"));
  if (haproxy.isEmpty()) {
    haproxy =
        QStandardPaths::findExecutable(QStringLiteral("haproxy"), {QStringLiteral("/usr/sbin")});
  }
  if (haproxy.isEmpty()) {
    GTEST_SKIP() << "haproxy is not installed (Debian package haproxy, see scripts/install-deps)";
  }
  ScratchDir dir;
  const QString share = dir.Path("share");
  QDir().mkpath(share);
  Server first({"--share", share, "--port", "0"});
  Server second({"--share", share, "--port", "0"});
  const quint16 front = FreePort();
  WriteBytes(dir.Path("morv-render.cfg"),
             BalancerConfig(front, first.Port(), second.Port()).toStdString());

  QProcess balancer;
  balancer.setProcessChannelMode(QProcess::MergedChannels);
  balancer.start(haproxy, {"-f", dir.Path("morv-render.cfg"), "-db"});
  ASSERT_TRUE(balancer.waitForStarted(10000));
  ASSERT_TRUE(Accepts(front)) << balancer.readAll().toStdString();

  const TLoadRun run = RunLoad({"--share", share, "--port", QString::number(front)});
  EXPECT_EQ(run.Code, 0) << run.Output << first.Err() << second.Err();
  EXPECT_THAT(run.Output, HasSubstr("1600 sent, 1600 served, 0 lost, 0 mismatched")) << run.Output;
  // Sixteen clients at once keep both servers busy.
  for (Server* server : {&first, &second}) {
    EXPECT_TRUE(server->WaitFor(QStringLiteral("^L\\d\\d: \\d+ points, \\d+ polygons, \\d+ ms$")));
  }

  // A server that stops is passed over: a refused connection is tried again on the other one.
  kill(static_cast<pid_t>(second.Process().processId()), SIGTERM);
  EXPECT_EQ(second.Finish(), 0) << second.Err();
  const TLoadRun afterStop =
      RunLoad({"--share", share, "--port", QString::number(front), "--requests", "10"});
  EXPECT_EQ(afterStop.Code, 0) << afterStop.Output << first.Err();
  EXPECT_THAT(afterStop.Output, HasSubstr("160 sent, 160 served, 0 lost, 0 mismatched"))
      << afterStop.Output;
  balancer.terminate();
  if (!balancer.waitForFinished(10000)) balancer.kill();
}

}  // namespace
}  // namespace morv
