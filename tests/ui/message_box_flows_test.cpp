// Flows driven by timers, sockets and the joystick, with the real message boxes: a box runs its
// own event loop, in which the ticks and events go on, so a failure must show one box, not one
// per tick, and the user must be able to close the program afterwards.
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>
#include <memory>

#include "application_fixture.h"
#include "engine/model_file.h"
#include "platform/headless_render.h"
#include "platform/recovery_file.h"
#include "platform/text_file.h"
#include "support/manual_delay.h"
#include "support/sample_models.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"
#include "widgets/qt_prompts.h"

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

// The recovery files go to another state folder for one test, and none is left behind by it.
class RecoveryState {
 public:
  explicit RecoveryState(const QString& path) : before_(qgetenv("XDG_STATE_HOME")) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(path));
  }
  ~RecoveryState() {
    QDir(RecoveryFolder()).removeRecursively();
    qputenv("XDG_STATE_HOME", before_);
  }

 private:
  QByteArray before_;
};

TEST_F(MessageBoxFlowsTest, ARecoveryFolderThatCannotBeUsedShowsOneBoxFromTheKeepersTimer) {
  const QString blocker = scratch.Path(QStringLiteral("state"));
  WriteBytes(blocker, "");
  const RecoveryState state(blocker);
  StartProgram();
  ManualDelay& clock = ManualKeeperDelay(*Form1->Recovery);
  BoxWatcher boxes(Dismiss::OkButton, 600);
  Form1->Edit1->setText(QStringLiteral("Unkept"));
  // The delay runs out on a turn of the event loop, as the keeper's timer does; while the box is
  // open the next change falls due too.
  bool nextDue = false;
  QTimer::singleShot(0, [&] { clock.Advance(TRecoveryKeeper::WriteDelayMs); });
  QTimer::singleShot(200, [&] {
    Form1->Edit1->setText(QStringLiteral("Again"));
    clock.Advance(TRecoveryKeeper::WriteDelayMs);
    nextDue = true;
  });
  const QString expected = QStringLiteral(
                               "Changes to the model are not being kept for recovery: Cannot "
                               "create folder ") +
                           RecoveryFolder() + QStringLiteral(": Not a directory.");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return nextDue && !boxes.texts.isEmpty() && boxes.Open() == 0; }, Patience));
  EXPECT_EQ(boxes.texts.join('|').toStdString(), expected.toStdString());
  EXPECT_EQ(boxes.mostOpen, 1);
  EXPECT_EQ(CurrentModel.Name, "Again");

  Form1->History->MarkSaved();
  EXPECT_TRUE(Form1->close());
  QTest::qWait(100);
  EXPECT_TRUE(closed);
}

TEST_F(MessageBoxFlowsTest, TheStartsRecoveryQuestionsComeOneAtATime) {
  const RecoveryState state(scratch.Path(QStringLiteral("state")));
  ASSERT_TRUE(QDir().mkpath(RecoveryFolder()));
  TMorvObject lost;
  lost.Name = "Lost";
  TextLines lines;
  SaveModel(lost, lines);
  const QString readable = RecoveryFolder() + QStringLiteral("/4242-0badcafe.MVD");
  const QString broken = RecoveryFolder() + QStringLiteral("/4343-0badcafe.MVD");
  WriteTextLines(readable, lines);
  WriteTextLines(broken, {"Broken", " ", "0", " ", "x"});
  // Each box goes with Escape. While one is open the main window is activated again and again, as
  // a window manager may do, and every activation asks for the questions once more.
  BoxWatcher boxes(Dismiss::EscapeKey, 300);
  QTimer activations;
  activations.setInterval(50);
  QObject::connect(&activations, &QTimer::timeout, [&] {
    if (boxes.Open() == 0 || Form1 == nullptr) return;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(Form1, &activate);
  });
  activations.start();
  StartProgram();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return boxes.texts.size() >= 2 && boxes.Open() == 0; }, Patience))
      << boxes.texts.join('|').toStdString();
  // Time for a question asked once too often to show.
  QTest::qWait(300);
  activations.stop();
  ASSERT_EQ(boxes.texts.size(), 2) << boxes.texts.join('|').toStdString();
  EXPECT_TRUE(boxes.texts[0].startsWith(
      QStringLiteral("Morv! 5 was not closed properly. Recover the model \"Lost\"")));
  const QString deleteQuestion =
      QStringLiteral("The recovery file ") + broken +
      QStringLiteral(" cannot be read: Line 5: 'x' is not a valid integer value. Delete it?");
  EXPECT_EQ(boxes.texts[1].toStdString(), deleteQuestion.toStdString());
  EXPECT_EQ(boxes.mostOpen, 1);
  // Escape leaves the model for the next start and sets the broken file aside.
  EXPECT_TRUE(QFile::exists(readable));
  EXPECT_FALSE(QFile::exists(broken));
  EXPECT_TRUE(QFile::exists(broken + QStringLiteral(".unreadable")));
}

TEST_F(MessageBoxFlowsTest, ABoxThatOpensDuringADragEndsTheDragWhereItStands) {
  StartProgram();
  CurrentModel = TMorvObject{};
  const int vertex = AddControl(10, 20, 0);
  Form1->History->Reset();
  Form1->DrawTheDrag();
  qputenv("MORV_RENDER_PORT", QByteArray::number(ClosedPort()));
  Form1->NetworkRendering->trigger();
  BoxWatcher boxes(Dismiss::OkButton);
  QTest::mousePress(Form1->DragSpace, Qt::LeftButton, {}, QPoint(110, 80));
  ASSERT_TRUE(Form1->Dragging);
  // The move redraws through the render server, whose refusal opens the box over the drag.
  QTest::mouseMove(Form1->DragSpace, QPoint(130, 60));
  const TControlVertex dropped{30, 40, 0};
  ASSERT_EQ(CurrentModel.Controls[vertex], dropped);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return boxes.texts.size() == 1 && boxes.Open() == 0; }, Patience));
  EXPECT_EQ(boxes.texts.value(0), NetworkGiveUpMessage(QStringLiteral("Connection refused")));
  EXPECT_FALSE(Form1->Dragging) << "the recovery file waits for no drag";
  EXPECT_EQ(Form1->History->UndoText(), "Undo Drag Control");

  // After OK the pointer moves on with no button down, and the next click lands elsewhere.
  QMouseEvent hover(QEvent::MouseMove, QPointF(170, 170),
                    Form1->DragSpace->mapToGlobal(QPointF(170, 170)), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(Form1->DragSpace, &hover);
  QTest::mouseRelease(Form1->DragSpace, Qt::LeftButton, {}, QPoint(170, 170));
  QTest::mouseClick(Form1->DragSpace, Qt::LeftButton, {}, QPoint(180, 30));
  EXPECT_EQ(CurrentModel.Controls[vertex], dropped);
  EXPECT_EQ(Form1->History->Steps(), 1);
}

}  // namespace
}  // namespace morv::test
