// Network rendering end to end: the modeller against a real morv-render-server on loopback.
#include <signal.h>

#include <QTest>

#include "application_fixture.h"
#include "support/render_server_process.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::test {
namespace {

constexpr int Patience = 20000;  // ms; only a limit for a fault

class NetworkRenderTest : public ApplicationTest {
 protected:
  void SetUp() override {
    share = scratch.Path(QStringLiteral("share"));
    ASSERT_TRUE(QDir().mkpath(share));
    prompts.yesNoAnswers = {Answer::Yes};
    Start(DataFile(QStringLiteral("ring.MVD")));
    network->Edit1->setText(QStringLiteral("127.0.0.1"));
    network->Edit2->setText(share + QLatin1Char('/'));
    Form1->show();  // binds the 3D view's picture for local renders
  }

  void TearDown() override {
    ApplicationTest::TearDown();
    qunsetenv("MORV_RENDER_PORT");
  }

  // Starts a server on `port` (0: any free one) and points the client at it.
  std::unique_ptr<RenderServerProcess> StartServer(quint16 port = 0) {
    auto server = std::make_unique<RenderServerProcess>(QStringList{
        QStringLiteral("--share"), share, QStringLiteral("--port"), QString::number(port)});
    qputenv("MORV_RENDER_PORT", QByteArray::number(server->Port()));
    return server;
  }

  static QImage Filled(QRgb colour) {
    QImage image(360, 360, QImage::Format_RGB32);
    image.fill(colour);
    return image;
  }

  static QImage View() {
    Form1->FinishRendering();
    return Display->MainView->Canvas().Snapshot();
  }

  static QImage LocalRender() {
    const bool networked = Form1->NetworkRendering->isChecked();
    Form1->NetworkRendering->setChecked(false);
    Form1->DrawTheThing();
    Form1->NetworkRendering->setChecked(networked);
    return View();
  }

  static bool NetworkRedraw() {
    Form1->DrawTheThing();
    return QTest::qWaitFor([] { return !Form1->NetworkClient->RequestOpen(); }, Patience);
  }

  ScratchDir scratch;
  QString share;
};

TEST_F(NetworkRenderTest, TheServersPictureIsTheLocalRender) {
  auto server = StartServer();
  for (const int angle : {0, 35, 290}) {
    Display->xV->setValue(angle);
    Display->yV->setValue(angle / 2);
    Form1->SetLightVector({angle - 100, 20, -70});
    const QImage local = LocalRender();
    ASSERT_NE(local, Filled(local.pixel(0, 0))) << "the ring is in the picture";
    Display->MainView->Picture().fill(Qt::red);
    Form1->NetworkRendering->setChecked(true);
    ASSERT_TRUE(NetworkRedraw());
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
    EXPECT_TRUE(View() == local) << "angle " << angle;
    EXPECT_TRUE(server->WaitFor(QStringLiteral("^OBJECT1: 2496 points, 1152 polygons, \\d+ ms$")));
  }
}

TEST_F(NetworkRenderTest,
       AServerKilledMidRequestIsReportedTheViewDrawnLocallyAndARestartedOneServes) {
  auto server = StartServer();
  const quint16 port = server->Port();
  Form1->NetworkRendering->setChecked(true);
  ASSERT_TRUE(NetworkRedraw());
  const QImage served = View();
  ASSERT_NE(served.pixel(180, 180), qRgb(255, 255, 255));

  // While another client's files extend the name, the server waits for the client to fall quiet
  // before it takes the name: killed in that time, it has written nothing.
  WriteBytes(share + QStringLiteral("/OBJECT12.MED"), "");
  Display->xV->setValue(90);
  Form1->DrawTheThing();
  ASSERT_TRUE(QTest::qWaitFor(
      [] { return Form1->Sock->state() == QAbstractSocket::ConnectedState; }, Patience));
  kill(static_cast<pid_t>(server->Process().processId()), SIGKILL);
  ASSERT_TRUE(QTest::qWaitFor([] { return !Form1->NetworkClient->RequestOpen(); }, Patience));
  EXPECT_EQ(prompts.messages, QStringList{NetworkGiveUpMessage("Cannot open file " + share +
                                                               "/OBJECT1.BMP: no such file")});
  EXPECT_FALSE(Form1->NetworkRendering->isChecked());
  const QImage drawnHere = View();
  EXPECT_NE(drawnHere, served);
  EXPECT_EQ(drawnHere, LocalRender()) << "the view is drawn locally at once";
  server.reset();

  QFile::remove(share + QStringLiteral("/OBJECT12.MED"));
  server = StartServer(port);
  prompts.messages.clear();
  Form1->NetworkRendering->setChecked(true);
  Display->xV->setValue(100);
  ASSERT_TRUE(NetworkRedraw());
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
  const QImage turned = View();
  EXPECT_NE(turned, served);
  EXPECT_EQ(turned, LocalRender());
}

}  // namespace
}  // namespace morv::test
