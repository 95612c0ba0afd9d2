// Flows driven by timers, sockets and the joystick, with the real message boxes: a box runs its
// own event loop, in which the ticks and events go on, so a failure must show one box, not one
// per tick, and the user must be able to close the program afterwards.
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>
#include <memory>

#include "application_fixture.h"
#include "platform/headless_render.h"
#include "platform/qt_prompts.h"
#include "support/sample_models.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::test {
namespace {

constexpr int Patience = 15000;  // ms; only a limit for a fault

// How a user gets rid of a box.
enum class Dismiss { OkButton, EscapeKey, FrameClose };

// Watches for message boxes as a user would see them, and closes each a while after it appeared.
class BoxWatcher {
 public:
  explicit BoxWatcher(Dismiss how, int afterMs = 300) : how_(how), afterMs_(afterMs) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start();
  }

  // The texts of the boxes seen, in the order they appeared.
  QStringList texts;
  // The most boxes open at one time.
  int mostOpen = 0;

  int Open() const {
    int open = 0;
    for (const QPointer<QMessageBox>& box : seen_) open += box != nullptr && box->isVisible();
    return open;
  }

 private:
  void Look() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (box == nullptr || !box->isVisible() || seen_.contains(box)) continue;
      seen_.push_back(box);
      texts.push_back(box->text());
      QTimer::singleShot(afterMs_, box, [box, how = how_] {
        switch (how) {
          case Dismiss::OkButton:
            box->button(QMessageBox::Ok)->click();
            break;
          case Dismiss::EscapeKey:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
          case Dismiss::FrameClose:
            box->close();
            break;
        }
      });
    }
    mostOpen = std::max(mostOpen, Open());
  }

  Dismiss how_;
  int afterMs_;
  QTimer timer_;
  QList<QPointer<QMessageBox>> seen_;
};

// A render server that takes each request and closes the connection, having written the given
// picture as its answer, or none when the path is empty.
class QuickServer {
 public:
  explicit QuickServer(QString answerPath = QString()) : answerPath_(std::move(answerPath)) {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        ++connections;
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          socket->readAll();
          if (!answerPath_.isEmpty()) {
            QImage answer(360, 360, QImage::Format_RGB32);
            answer.fill(Qt::blue);
            EXPECT_TRUE(answer.save(answerPath_, "BMP"));
          }
          socket->disconnectFromHost();
        });
      }
    });
  }
  quint16 Port() const { return server_.serverPort(); }
  int connections = 0;

 private:
  QString answerPath_;
  QTcpServer server_;
};

quint16 ClosedPort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  return probe.serverPort();
}

class MessageBoxFlowsTest : public ::testing::Test {
 protected:
  // A fresh program with a model, shown and active, its network settings on a scratch share.
  void StartProgram() {
    joystick.devices[0] = JoystickCaps{};
    application = std::make_unique<TMorvApplication>(prompts, joystick, QString());
    CurrentModel = bench::TorusModel(12, 8);
    share = scratch.Path(QStringLiteral("share"));
    ASSERT_TRUE(QDir().mkpath(share));
    network->Edit1->setText(QStringLiteral("127.0.0.1"));
    network->Edit2->setText(share + QLatin1Char('/'));
    closed = false;
    QObject::connect(Form1, &TForm1::Closed, [this] { closed = true; });
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  }

  void TearDown() override {
    application.reset();
    qunsetenv("MORV_RENDER_PORT");
  }

  static QImage View() {
    Form1->FinishRendering();
    return Display->MainView->Canvas().Snapshot();
  }

  // The picture the view shows when it draws the model itself.
  static QImage LocalRender() { return RenderScene(Display->ViewScene(), CurrentModel).Image; }

  QtPrompts prompts;
  FakeJoystickService joystick;
  std::unique_ptr<TMorvApplication> application;
  ScratchDir scratch;
  QString share;
  bool closed = false;
};

TEST_F(MessageBoxFlowsTest, ANetworkFailureShowsOneBoxDrawsLocallyAndLetsTheUserClose) {
  QuickServer silent;
  QTimer stick;  // a stick held to one side sends a move every 50 ms
  QObject::connect(&stick, &QTimer::timeout, [this] { joystick.Move(0, 0, 32768); });
  const struct {
    const char* what;
    std::function<QString()> fail;  // sets the failure up and returns its cause
    std::function<void()> drive;    // what keeps redrawing
    Dismiss how;
  } rows[] = {
      {"refused connection, animation ticks",
       [] {
         qputenv("MORV_RENDER_PORT", QByteArray::number(ClosedPort()));
         return QStringLiteral("Connection refused");
       },
       [] { Form1->BitBtn7->click(); }, Dismiss::OkButton},
      {"share that cannot be written, animation ticks",
       [this] {
         network->Edit2->setText(share + QStringLiteral("/missing/"));
         return "Cannot create file " + share + "/missing/OBJECT1.MED: no such folder";
       },
       [] { Form1->BitBtn7->click(); }, Dismiss::EscapeKey},
      {"server closes without a bitmap, animation ticks",
       [this, &silent] {
         qputenv("MORV_RENDER_PORT", QByteArray::number(silent.Port()));
         return "Cannot open file " + share + "/OBJECT1.BMP: no such file";
       },
       [] { Form1->BitBtn7->click(); }, Dismiss::FrameClose},
      {"server that never answers, animation ticks",
       [] {
         Form1->NetworkClient->SetTimeout(400);
         QTcpServer* hung = new QTcpServer(Form1);  // listens, never accepts an answer
         EXPECT_TRUE(hung->listen(QHostAddress::LocalHost, 0));
         qputenv("MORV_RENDER_PORT", QByteArray::number(hung->serverPort()));
         return QStringLiteral("The render server did not answer within 0.4 seconds");
       },
       [] { Form1->BitBtn7->click(); }, Dismiss::OkButton},
      {"refused connection, mechanics ticks",
       [] {
         qputenv("MORV_RENDER_PORT", QByteArray::number(ClosedPort()));
         return QStringLiteral("Connection refused");
       },
       [] { Form1->BitBtn8->click(); }, Dismiss::OkButton},
      {"refused connection, joystick moves",
       [] {
         qputenv("MORV_RENDER_PORT", QByteArray::number(ClosedPort()));
         return QStringLiteral("Connection refused");
       },
       [&stick] { stick.start(50); }, Dismiss::EscapeKey},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    StartProgram();
    const QString cause = row.fail();
    Form1->NetworkRendering->trigger();
    ASSERT_TRUE(Form1->NetworkRendering->isChecked());
    BoxWatcher boxes(row.how);
    row.drive();

    const QString expected = NetworkGiveUpMessage(cause);
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.texts.contains(expected); }, Patience))
        << boxes.texts.join('|').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Open() == 0; }, Patience));
    // The drive goes on well past the box; a second failure would show by now.
    QTest::qWait(1500);
    EXPECT_EQ(boxes.texts.count(expected), 1) << boxes.texts.join('|').toStdString();
    EXPECT_EQ(boxes.mostOpen, 1);
    EXPECT_FALSE(Form1->NetworkRendering->isChecked());
    stick.stop();
    Form1->AnimationPump->stop();
    Form1->PhysicsPump->stop();
    EXPECT_TRUE(View() == LocalRender()) << "the view is drawn locally";

    // The drives moved joints; whether to keep those is another question than this one.
    Form1->History->MarkSaved();
    EXPECT_TRUE(Form1->close());
    QTest::qWait(100);
    EXPECT_TRUE(closed);
    EXPECT_EQ(boxes.Open(), 0);
    TearDown();
  }
}

TEST_F(MessageBoxFlowsTest, TheRenderTimeOfAFailedRedrawLeavesOutTheTimeItsBoxWasOpen) {
  StartProgram();
  network->Edit2->setText(share + QStringLiteral("/missing/"));
  Display->CheckBox3->setChecked(true);
  Form1->NetworkRendering->trigger();
  BoxWatcher boxes(Dismiss::OkButton, 500);
  QTimer::singleShot(0, [] { Form1->DrawTheThing(); });
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return boxes.texts.size() == 1 && boxes.Open() == 0; }, Patience));
  const QString readout = Display->Label4->text();
  ASSERT_TRUE(readout.endsWith(QStringLiteral(" ms"))) << readout.toStdString();
  EXPECT_LT(readout.chopped(3).toInt(), 500) << "the readout is the local render's time";
}

TEST_F(MessageBoxFlowsTest, NoRedrawAsksTheServerWhileABoxIsShown) {
  StartProgram();
  QuickServer silent(share + QStringLiteral("/OBJECT1.BMP"));
  qputenv("MORV_RENDER_PORT", QByteArray::number(silent.Port()));
  Form1->NetworkRendering->trigger();
  // A box that has nothing to do with the network, shown while the animation ticks. The box
  // runs its own event loop, so everything while it is open happens in timers.
  BoxWatcher boxes(Dismiss::OkButton, 600);
  int before = -1;
  int duringBox = -1;
  QTimer::singleShot(0, [&] {
    before = silent.connections;
    Form1->AnimationPump->start();
    QTimer::singleShot(450, [&] { duringBox = silent.connections; });
    prompts.ShowMessage(QStringLiteral("A box of another flow."));
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return duringBox >= 0; }, Patience));
  EXPECT_EQ(duringBox, before) << "the ticks while the box was open asked the server nothing";
  ASSERT_TRUE(QTest::qWaitFor([&] { return silent.connections > before; }, Patience))
      << "once the box is gone the redraws go out again";
  Form1->AnimationPump->stop();
  EXPECT_EQ(boxes.texts, QStringList{"A box of another flow."});
  EXPECT_TRUE(Form1->NetworkRendering->isChecked());
}

}  // namespace
}  // namespace morv::test
