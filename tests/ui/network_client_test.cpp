// Network rendering against a fake render server in the test: the files written to the share, the
// request bytes, the bitmap shown, and the request's failures.
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <deque>

#include "application_fixture.h"
#include "engine/model_file.h"
#include "platform/text_file.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::test {
namespace {

constexpr int Patience = 10000;  // ms; generous, only a limit for a fault

// Accepts connections and collects what each one sends; the test decides when to close.
class FakeRenderServer {
 public:
  FakeRenderServer() {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        const std::size_t index = sockets.size();
        sockets.push_back(socket);
        received.emplace_back();
        QObject::connect(socket, &QTcpSocket::readyRead,
                         [this, socket, index] { received[index] += socket->readAll(); });
      }
    });
  }

  quint16 Port() const { return server_.serverPort(); }
  std::size_t Connections() const { return sockets.size(); }

  // Waits until connection `index` has sent `bytes` bytes.
  bool WaitForRequest(std::size_t index, qsizetype bytes) {
    return QTest::qWaitFor(
        [&] { return received.size() > index && received[index].size() >= bytes; }, Patience);
  }

  std::deque<QTcpSocket*> sockets;
  std::deque<QByteArray> received;

 private:
  QTcpServer server_;
};

QImage Filled(QColor colour, int size = 360) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

class NetworkClientTest : public ApplicationTest {
 protected:
  void SetUp() override {
    UsePort(server.Port());
    Start();
    folder = scratch.Path(QStringLiteral("share")) + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(folder));
    network->Edit1->setText(QStringLiteral("127.0.0.1"));
    network->Edit2->setText(folder);
    Form1->show();  // binds the 3D view's picture for local renders
    // Its activation redraws; that redraw is done before network mode goes on.
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->NetworkRendering->trigger();
    ASSERT_TRUE(Form1->NetworkRendering->isChecked());
    Display->MainView->Picture().fill(Qt::red);
  }

  void TearDown() override {
    ApplicationTest::TearDown();
    qunsetenv("MORV_RENDER_PORT");
  }

  static void UsePort(quint16 port) { qputenv("MORV_RENDER_PORT", QByteArray::number(port)); }

  QString File(const char* extension) const {
    return folder + network->Edit3->text() + QLatin1String(extension);
  }

  static QRgb ViewPixel() {
    Form1->FinishRendering();
    return Display->MainView->Canvas().Snapshot().pixel(180, 180);
  }

  // The server's answer: the picture written to the share, then the connection closed.
  void Answer(std::size_t index, const QImage& picture) {
    ASSERT_TRUE(picture.save(File(".BMP"), "BMP"));
    server.sockets[index]->disconnectFromHost();
  }

  int32_t ControlsOnShare() const {
    TMorvObject written;
    LoadModel(ReadTextLines(File(".MVD")), written);
    return written.ControlCount;
  }

  static bool WaitUntilClosed() {
    return QTest::qWaitFor([] { return !Form1->NetworkClient->RequestOpen(); }, Patience);
  }

  // A failed redraw gives network mode up: one message naming the cause, "Use Network" off, and
  // the view drawn locally at once (the empty model shows the background); later redraws stay
  // local and quiet until "Use Network" is ticked again.
  void ExpectGaveUp(const QString& cause) {
    EXPECT_EQ(prompts.messages, QStringList{NetworkGiveUpMessage(cause)});
    EXPECT_FALSE(Form1->NetworkRendering->isChecked());
    EXPECT_FALSE(Form1->NetworkClient->RequestOpen());
    EXPECT_EQ(ViewPixel(), qRgb(0, 128, 0));
    const std::size_t connections = server.Connections();
    Display->MainView->Picture().fill(Qt::red);
    Form1->DrawTheThing();
    QTest::qWait(50);
    EXPECT_EQ(ViewPixel(), qRgb(0, 128, 0));
    EXPECT_EQ(server.Connections(), connections);
    EXPECT_EQ(prompts.messages.size(), 1);
    prompts.messages.clear();
    Display->MainView->Picture().fill(Qt::red);
    Form1->NetworkRendering->trigger();
  }

  FakeRenderServer server;
  ScratchDir scratch;
  QString folder;
};

TEST_F(NetworkClientTest, RequestWritesTheSceneAndModelSendsTheNameAndShowsTheAnswer) {
  AddControl(5, -6, 7);
  Form1->DrawTheThing();
  EXPECT_EQ(ReadBytes(File(".MED")),
            "360\r\n360\r\n32768\r\n200\r\n200\r\n0\r\n-70\r\n0\r\n0\r\n0\r\n");
  TMorvObject written;
  LoadModel(ReadTextLines(File(".MVD")), written);
  EXPECT_EQ(written.Name, "MyObject");
  ASSERT_EQ(written.ControlCount, 1);
  EXPECT_EQ(written.Controls[1].Y, -6);
  EXPECT_EQ(Form1->Memo2, ReadTextLines(File(".MVD"))) << "the buffer holds the model last";

  ASSERT_TRUE(server.WaitForRequest(0, 8));
  EXPECT_EQ(server.received[0], QByteArray("\xD7OBJECT1"));
  EXPECT_EQ(ViewPixel(), qRgb(255, 0, 0)) << "the view waits for the server";
  Answer(0, Filled(Qt::blue));
  ASSERT_TRUE(QTest::qWaitFor([] { return ViewPixel() == qRgb(0, 0, 255); }, Patience));
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();

  // The next redraw carries the present view, under a name beyond ASCII: the request carries the
  // bytes its files are named with.
  Display->xV->setValue(10);
  Display->yV->setValue(20);
  Display->zV->setValue(345);
  Form1->SetBackgroundColour(0x123456);
  Form1->SetLightVector({-3, 4, -70});
  network->Edit3->setText(QStringLiteral("Kugel\u00e9"));
  Form1->DrawTheThing();
  EXPECT_EQ(ReadBytes(File(".MED")),
            "360\r\n360\r\n1193046\r\n200\r\n-3\r\n4\r\n-70\r\n10\r\n20\r\n345\r\n");
  ASSERT_TRUE(server.WaitForRequest(1, 7));
  EXPECT_EQ(server.received[1], QByteArray("\xD7Kugel\xC3\xA9"));
  Answer(1, Filled(Qt::yellow));
  ASSERT_TRUE(QTest::qWaitFor([] { return ViewPixel() == qRgb(255, 255, 0); }, Patience));
}

// A folder typed without its final separator, either way round, is still that folder: the files go
// into it, not beside it under names that begin with the folder's. A text that names no folder is
// the start of the files' names, as typed.
TEST_F(NetworkClientTest, APathWithoutItsFinalSeparatorNamesTheFolder) {
  const QString share = folder.chopped(1);
  const QString typed[] = {share, QString(share).replace(QLatin1Char('/'), QLatin1Char('\\'))};
  std::size_t request = 0;
  for (const QString& path : typed) {
    SCOPED_TRACE(path.toStdString());
    network->Edit2->clear();
    QTest::keyClicks(network->Edit2, path);
    Form1->DrawTheThing();
    ASSERT_TRUE(server.WaitForRequest(request, 8));
    EXPECT_EQ(ControlsOnShare(), 0) << "the model is in the folder";
    EXPECT_EQ(ReadBytes(File(".MED")),
              "360\r\n360\r\n32768\r\n200\r\n200\r\n0\r\n-70\r\n0\r\n0\r\n0\r\n");
    Answer(request, Filled(Qt::blue));
    ASSERT_TRUE(QTest::qWaitFor([] { return ViewPixel() == qRgb(0, 0, 255); }, Patience));
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
    EXPECT_EQ(QDir(scratch.Path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"share"})
        << "nothing beside the folder";
    Display->MainView->Picture().fill(Qt::red);
    ++request;
  }

  network->Edit2->setText(folder + QStringLiteral("scene-"));
  Form1->DrawTheThing();
  ASSERT_TRUE(server.WaitForRequest(request, 8));
  EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("scene-OBJECT1.MED")));
  EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("scene-OBJECT1.MVD")));
}

TEST_F(NetworkClientTest, RedrawsWhileARequestIsOpenBecomeOneRequestAfterItCloses) {
  Form1->DrawTheThing();
  ASSERT_TRUE(server.WaitForRequest(0, 8));
  const std::string firstScene = ReadBytes(File(".MED"));
  Display->xV->setValue(90);
  AddControl(1, 2, 3);
  for (int i = 0; i < 3; ++i) Form1->DrawTheThing();
  EXPECT_EQ(ReadBytes(File(".MED")), firstScene) << "the open request's files stay";
  EXPECT_EQ(ControlsOnShare(), 0);
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();

  Answer(0, Filled(Qt::blue));
  ASSERT_TRUE(server.WaitForRequest(1, 8));
  EXPECT_EQ(ReadBytes(File(".MED")),
            "360\r\n360\r\n32768\r\n200\r\n200\r\n0\r\n-70\r\n90\r\n0\r\n0\r\n");
  EXPECT_EQ(ControlsOnShare(), 1);
  Answer(1, Filled(Qt::green));
  ASSERT_TRUE(QTest::qWaitFor([] { return ViewPixel() == qRgb(0, 255, 0); }, Patience));
  ASSERT_TRUE(WaitUntilClosed());
  QTest::qWait(200);  // room for a request that should not come
  EXPECT_EQ(server.Connections(), 2u);
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
}

TEST_F(NetworkClientTest, AServerThatNeverClosesIsAbandonedOnceAndTheViewIsDrawnLocally) {
  Form1->NetworkClient->SetTimeout(300);
  Form1->DrawTheThing();
  Form1->DrawTheThing();  // remembered, then dropped with the abandoned request
  ASSERT_TRUE(server.WaitForRequest(0, 8));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.messages.isEmpty(); }, Patience));
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return server.sockets[0]->state() == QAbstractSocket::UnconnectedState; }, Patience))
      << "the client let go of the connection";
  ExpectGaveUp(QStringLiteral("The render server did not answer within 0.3 seconds"));

  // Ticked again, the next redraw asks the server again.
  Form1->DrawTheThing();
  ASSERT_TRUE(server.WaitForRequest(1, 8));
}

TEST_F(NetworkClientTest, ARefusedConnectionIsReportedOnceAndTheViewIsDrawnLocally) {
  quint16 closedPort = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    closedPort = probe.serverPort();
  }
  UsePort(closedPort);
  for (int request = 1; request <= 2; ++request) {
    Filled(Qt::blue).save(File(".BMP"), "BMP");  // an old answer that must not be shown
    Form1->DrawTheThing();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.messages.isEmpty(); }, Patience));
    QTest::qWait(50);  // room for a second report that should not come
    ExpectGaveUp(QStringLiteral("Connection refused"));
  }
}

TEST_F(NetworkClientTest, SwitchingNetworkModeOffMidRequestLoadsNothing) {
  Form1->DrawTheThing();
  ASSERT_TRUE(server.WaitForRequest(0, 8));
  Form1->NetworkRendering->trigger();
  Answer(0, Filled(Qt::blue));
  ASSERT_TRUE(WaitUntilClosed());
  QTest::qWait(50);
  EXPECT_EQ(ViewPixel(), qRgb(255, 0, 0));
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
}

TEST_F(NetworkClientTest, AClosedConnectionWithoutAGoodBitmapIsReportedOnceAndDrawnLocally) {
  const struct {
    const char* what;
    std::string bitmap;  // empty: the server wrote none
    const char* reason;
  } cases[] = {{"no bitmap", "", "no such file"},
               {"not a bitmap", "BM this is no picture", "it holds no bitmap that reads"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t index = server.Connections();
    Filled(Qt::blue).save(File(".BMP"), "BMP");  // the last request's answer
    Form1->DrawTheThing();
    EXPECT_FALSE(QFileInfo::exists(File(".BMP"))) << "the old answer is gone before the request";
    ASSERT_TRUE(server.WaitForRequest(index, 8));
    if (!c.bitmap.empty()) WriteBytes(File(".BMP"), c.bitmap);
    server.sockets[index]->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.messages.isEmpty(); }, Patience));
    ExpectGaveUp("Cannot open file " + File(".BMP") + ": " + c.reason);
  }
}

TEST_F(NetworkClientTest, AShareThatCannotBeWrittenStopsTheRequestAndDrawsLocally) {
  const QString missing = folder + QStringLiteral("missing/");
  network->Edit2->setText(missing);
  Form1->DrawTheThing();
  ExpectGaveUp("Cannot create file " + missing + "OBJECT1.MED: no such folder");

  // The start text names a share of the other platform's kind: it fails the same way, and no file
  // with backslashes in its name lands in the working folder.
  network->Edit2->setText(QStringLiteral("\\\\PCNAME\\FOLDER\\"));
  Form1->DrawTheThing();
  ExpectGaveUp(QStringLiteral("Cannot create file //PCNAME/FOLDER/OBJECT1.MED: no such folder"));
  EXPECT_TRUE(QDir::current().entryList({QStringLiteral("*PCNAME*")}).isEmpty());

  // The folder written with backslashes is the same folder.
  network->Edit2->setText(QString(folder).replace(QLatin1Char('/'), QLatin1Char('\\')));
  Form1->DrawTheThing();
  ASSERT_TRUE(server.WaitForRequest(0, 8)) << "a failed request leaves nothing open";
  EXPECT_TRUE(QFileInfo::exists(File(".MED")));
}

}  // namespace
}  // namespace morv::test
