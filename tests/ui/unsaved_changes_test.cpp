// Changes that are not saved: the questions before closing and loading, and the recovery file that
// keeps them for the next start after a crash, offered then before anything else.
#include <sys/file.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "application_fixture.h"
#include "drawing/drag_space_drawing.h"
#include "engine/model_file.h"
#include "platform/recovery_file.h"
#include "platform/text_file.h"
#include "support/manual_delay.h"
#include "widgets/qt_prompts.h"

namespace morv::test {
namespace {

constexpr int Patience = 15000;  // ms; only a limit for a fault

QStringList RecoveryFiles() {
  return QDir(RecoveryFolder()).entryList({QStringLiteral("*.MVD")}, QDir::Files);
}

QString SaveQuestion(const QString& name, const QString& before) {
  return QStringLiteral("The model \"") + name +
         QStringLiteral("\" has changes that are not saved. Save them before ") + before +
         QStringLiteral("?");
}

class UnsavedChangesTest : public ApplicationTest {
 protected:
  void TearDown() override {
    ApplicationTest::TearDown();
    QDir(RecoveryFolder()).removeRecursively();
  }

  // A model a run that was killed left in the recovery folder, written at 09:07 today.
  QString LeaveBehind(const std::string& name) {
    TMorvObject model;
    model.Name = name;
    model.ControlCount = 1;
    model.Controls[1] = {7, 8, 9};
    TextLines lines;
    SaveModel(model, lines);
    EXPECT_TRUE(QDir().mkpath(RecoveryFolder()));
    const QString path = RecoveryFolder() + QStringLiteral("/4242-0badcafe.MVD");
    WriteTextLines(path, lines);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_TRUE(file.setFileTime(QDateTime(QDate::currentDate(), QTime(9, 7)),
                                 QFileDevice::FileModificationTime));
    return path;
  }

  void ShowAndAnswer() {
    Form1->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.yesNoAnswers.empty(); }, Patience));
    QTest::qWait(50);
  }

  ScratchDir scratch;
};

TEST_F(UnsavedChangesTest, ClosingAndLoadingAskFirstAndGoOnOnlyWhenTheChangesAreSafeOrDropped) {
  struct Row {
    bool load;
    SaveAnswer answer;
    // The save dialog's answer when the user chose Save: a file, or a cancel.
    bool saveDialogGivesAFile;
    bool goesOn;
  };
  const Row rows[] = {
      {false, SaveAnswer::Save, true, true},     {false, SaveAnswer::Save, false, false},
      {false, SaveAnswer::Discard, false, true}, {false, SaveAnswer::Cancel, false, false},
      {true, SaveAnswer::Save, true, true},      {true, SaveAnswer::Save, false, false},
      {true, SaveAnswer::Discard, false, true},  {true, SaveAnswer::Cancel, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << "load " << row.load << ", answer " << static_cast<int>(row.answer) << ", file "
                 << row.saveDialogGivesAFile);
    Start();
    Form1->show();
    QSignalSpy closed(Form1, &TForm1::Closed);
    Form1->Edit1->setText("Edited");
    const QString saved = scratch.Path("saved.MVD");
    QFile::remove(saved);
    prompts = ScriptedPrompts{};
    prompts.saveAnswers = {row.answer};
    if (row.answer == SaveAnswer::Save) {
      prompts.fileAnswers.push_back(row.saveDialogGivesAFile ? std::optional(saved) : std::nullopt);
    }
    if (row.load && row.goesOn) prompts.fileAnswers.push_back(DataFile("tetra.MVD"));

    if (row.load) {
      Form1->BitBtn1->click();
      EXPECT_EQ(CurrentModel.Name, row.goesOn ? "Tetra" : "Edited");
      EXPECT_EQ(prompts.messages.size(), row.goesOn ? 1 : 0) << "the load's own flow";
    } else {
      EXPECT_EQ(Form1->close(), row.goesOn);
      EXPECT_EQ(closed.count(), row.goesOn ? 1 : 0);
    }
    EXPECT_EQ(prompts.questions.value(0),
              SaveQuestion("Edited", row.load ? "loading another" : "closing"));
    EXPECT_EQ(QFile::exists(saved), row.saveDialogGivesAFile);
    if (row.saveDialogGivesAFile) {
      EXPECT_EQ(ReadTextLines(saved).at(0), "Edited");
    }
    EXPECT_TRUE(prompts.AllAnswersUsed());
    // A model just saved or loaded asks nothing more.
    EXPECT_EQ(Form1->History->Changed(), !row.saveDialogGivesAFile && !(row.load && row.goesOn));
    TearDown();
  }

  // A change taken back leaves nothing to ask about.
  prompts = ScriptedPrompts{};
  Start();
  Form1->show();
  Form1->Edit1->setText("Edited");
  Form1->Undo1Click();
  QSignalSpy closed(Form1, &TForm1::Closed);
  EXPECT_TRUE(Form1->close());
  EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(UnsavedChangesTest, ChangesReachTheRecoveryFileSoonButNeverMidDragAndGoWithASave) {
  Start();
  ManualDelay& clock = ManualKeeperDelay(*Form1->Recovery);
  AddControl(10, 20, 0);
  Form1->History->Reset();
  Form1->show();
  Form1->DrawTheDrag();
  Form1->Edit1->setText("Kept");
  // A drag that goes on past the time the change was due: its middle is no state to keep.
  const QPoint vertex(112, 78);
  QTest::mousePress(Form1->DragSpace, Qt::LeftButton, {}, vertex);
  QMouseEvent move(QEvent::MouseMove, QPoint(140, 60), Form1->DragSpace->mapToGlobal(vertex),
                   Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Form1->DragSpace, &move);
  ASSERT_TRUE(Form1->Dragging);
  clock.Advance(TRecoveryKeeper::WriteDelayMs + 1500);
  EXPECT_TRUE(RecoveryFiles().isEmpty());
  QTest::mouseRelease(Form1->DragSpace, Qt::LeftButton, {}, QPoint(140, 60));
  // Written soon after the drag ends, with the atomic writer's whole file.
  clock.Advance(TRecoveryKeeper::BusyRetryMs);
  ASSERT_FALSE(RecoveryFiles().isEmpty());
  const QString path = Form1->Recovery->File().Path();
  EXPECT_EQ(QDir(RecoveryFolder()).filePath(RecoveryFiles().at(0)), path);
  TextLines model;
  SaveModel(CurrentModel, model);
  EXPECT_EQ(ReadTextLines(path), model);
  TMorvObject kept;
  LoadModel(model, kept);
  EXPECT_EQ(kept.Name, "Kept");
  EXPECT_NE(kept.Controls[1], (TControlVertex{10, 20, 0}));
  EXPECT_TRUE(QFile::exists(path + QStringLiteral(".lock")));

  // Saved, the model has nothing left to recover.
  prompts.fileAnswers.push_back(scratch.Path("kept.MVD"));
  ASSERT_TRUE(Form1->BitBtn2Click());
  EXPECT_TRUE(RecoveryFiles().isEmpty());
  EXPECT_FALSE(QFile::exists(path + QStringLiteral(".lock")));
  // Changed again and then ended properly, the run leaves nothing either.
  Form1->Edit1->setText("Again");
  clock.Advance(TRecoveryKeeper::WriteDelayMs);
  ASSERT_FALSE(RecoveryFiles().isEmpty());
  application.reset();
  EXPECT_TRUE(QDir(RecoveryFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(UnsavedChangesTest, AModelLeftBehindIsOfferedFirstOnceTheWindowsAreShown) {
  const QString question = QStringLiteral(
      "Morv! 5 was not closed properly. Recover the model \"Lost\" as it was at 09:07?");
  const QString isItMvd4 = QStringLiteral(
      "Are you sure this is a MVD4 (jointed bézier with mass) file? Morv! 5 V1 and 4 files are "
      "not compatible. Press Yes to continue loading, and No to quit.");
  struct Row {
    Answer answer;
    bool commandLine;
    const char* model;
    bool fileStays;
  };
  const Row rows[] = {
      {Answer::Yes, false, "Lost", true},       {Answer::Yes, true, "Lost", true},
      {Answer::No, true, "Tetra", false},       {Answer::Dismissed, false, "MyObject", true},
      {Answer::Dismissed, true, "Tetra", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "answer " << static_cast<int>(row.answer)
                                    << ", command line " << row.commandLine);
    const QString path = LeaveBehind("Lost");
    prompts = ScriptedPrompts{};
    prompts.yesNoAnswers = {row.answer};
    const bool loads = row.commandLine && row.answer != Answer::Yes;
    if (loads) prompts.yesNoAnswers.push_back(Answer::Yes);
    Start(row.commandLine ? DataFile("tetra.MVD") : QString());
    EXPECT_TRUE(prompts.questions.isEmpty()) << "asked before the windows were shown";
    ShowAndAnswer();
    EXPECT_EQ(prompts.questions, loads ? QStringList({question, isItMvd4}) : QStringList{question});
    EXPECT_EQ(CurrentModel.Name, row.model);
    EXPECT_EQ(Form1->Edit1->text(), row.model);
    EXPECT_EQ(QFile::exists(path), row.fileStays);
    if (row.answer == Answer::Yes) {
      // The working model, changed and unsaved, kept in the file it came from.
      EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{7, 8, 9}));
      EXPECT_TRUE(Form1->History->Changed());
      EXPECT_EQ(Form1->Undo1->text(), "Undo Recover");
      EXPECT_EQ(Form1->Recovery->File().Path(), path);
    } else {
      EXPECT_FALSE(Form1->History->Changed());
    }
    TearDown();
  }

  // A file whose run still holds it belongs to that run.
  const QString path = LeaveBehind("Lost");
  QFile lock(path + QStringLiteral(".lock"));
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_EQ(flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
  prompts = ScriptedPrompts{};
  Start();
  Form1->show();
  QTest::qWait(100);
  EXPECT_TRUE(prompts.questions.isEmpty());
  EXPECT_TRUE(QFile::exists(path));
}

TEST_F(UnsavedChangesTest, TheRealRecoveryQuestionTakesReturnForYes) {
  LeaveBehind("Lost");
  QtPrompts real;
  application = std::make_unique<TMorvApplication>(real, joystick, QString());
  QString seen;
  bool yesIsDefault = false;
  QTimer look;
  look.setInterval(20);
  QObject::connect(&look, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (box == nullptr || !box->isVisible() || !seen.isEmpty()) continue;
      seen = box->windowTitle() + QLatin1Char('|') + box->text();
      yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
      QTimer::singleShot(200, box, [box] { QTest::keyClick(box, Qt::Key_Return); });
    }
  });
  look.start();
  Form1->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentModel.Name == "Lost"; }, Patience))
      << seen.toStdString();
  EXPECT_EQ(seen, QStringLiteral("Morv! 5|Morv! 5 was not closed properly. Recover the model "
                                 "\"Lost\" as it was at 09:07?"));
  EXPECT_TRUE(yesIsDefault);
  // Marked as saved, the recovered model lets the test end without the close question.
  Form1->History->MarkSaved();
}

}  // namespace
}  // namespace morv::test
