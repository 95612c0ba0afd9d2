// The recovery file: when a change reaches it, what a stop from outside keeps, what the user is
// told when it cannot be written, and left-behind files that cannot be read.
#include <sys/file.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <functional>
#include <optional>

#include "application_fixture.h"
#include "engine/model_file.h"
#include "platform/recovery_file.h"
#include "platform/text_file.h"
#include "support/manual_delay.h"

namespace morv::test {
namespace {

constexpr int Patience = 15000;  // ms; only a limit for a fault

QStringList RecoveryFiles() {
  return QDir(RecoveryFolder()).entryList({QStringLiteral("*.MVD")}, QDir::Files);
}

// Everything in the folder: models, locks and files set aside.
QStringList FolderEntries() { return QDir(RecoveryFolder()).entryList(QDir::Files); }

// The model the one recovery file holds; nothing when there is not exactly one.
std::optional<TMorvObject> Kept() {
  const QStringList files = RecoveryFiles();
  if (files.size() != 1) return std::nullopt;
  TMorvObject model;
  LoadModel(ReadTextLines(QDir(RecoveryFolder()).filePath(files.at(0))), model);
  return model;
}

std::optional<std::string> KeptName() {
  const std::optional<TMorvObject> model = Kept();
  if (!model) return std::nullopt;
  return model->Name;
}

// No run holds the lock of the file.
bool Unheld(const QString& file) {
  QFile lock(QDir(RecoveryFolder()).filePath(file) + QStringLiteral(".lock"));
  return lock.open(QIODevice::ReadWrite) && flock(lock.handle(), LOCK_EX | LOCK_NB) == 0;
}

// The state folder of the recovery files, somewhere else for one test.
class StateHome {
 public:
  explicit StateHome(const QString& path) : before_(qgetenv("XDG_STATE_HOME")) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(path));
  }
  ~StateHome() { qputenv("XDG_STATE_HOME", before_); }

 private:
  QByteArray before_;
};

class RecoveryTest : public ApplicationTest {
 protected:
  void TearDown() override {
    ApplicationTest::TearDown();
    QDir(RecoveryFolder()).removeRecursively();
  }

  // A fresh program whose keeper waits on a clock of the test's.
  ManualDelay& StartWithClock() {
    Start();
    return ManualKeeperDelay(*Form1->Recovery);
  }

  // Shows the main window and waits until the start's questions have their answers.
  void ShowAndAnswer() {
    Form1->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.yesNoAnswers.empty(); }, Patience));
    QTest::qWait(50);
  }

  // A file in the recovery folder as a run that was killed left it.
  static QString LeaveBehind(const QString& name, const TextLines& lines) {
    EXPECT_TRUE(QDir().mkpath(RecoveryFolder()));
    const QString path = QDir(RecoveryFolder()).filePath(name);
    WriteTextLines(path, lines);
    return path;
  }

  ScratchDir scratch;
};

TEST_F(RecoveryTest, AChangeReachesTheFileOnlyOnceItsDelayIsUpAndALaterOneDoesNotPutItOff) {
  const struct {
    const char* what;
    std::function<void()> edit;
  } rows[] = {
      {"name typed", [] { Form1->Edit1->setText("Typed"); }},
      {"last control deleted", [] { Form1->LastControl1->trigger(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Start();
    AddControl(10, 20, 30);
    Form1->History->Reset();
    ManualDelay& clock = ManualKeeperDelay(*Form1->Recovery);
    row.edit();
    ASSERT_TRUE(Form1->History->Changed());
    clock.Advance(1000);
    EXPECT_TRUE(RecoveryFiles().isEmpty()) << "written a second after the change";
    clock.Advance(TRecoveryKeeper::WriteDelayMs - 1000 - 1);
    EXPECT_TRUE(RecoveryFiles().isEmpty()) << "written before its delay was up";
    clock.Advance(1);
    ASSERT_EQ(RecoveryFiles().size(), 1);
    TextLines model;
    SaveModel(CurrentModel, model);
    EXPECT_EQ(ReadTextLines(Form1->Recovery->File().Path()), model);

    // Changes coming one after another: the first one's delay holds for all of them.
    Form1->Edit1->setText("First");
    clock.Advance(TRecoveryKeeper::WriteDelayMs - 1000);
    Form1->Edit1->setText("Second");
    clock.Advance(999);
    EXPECT_NE(KeptName(), "Second");
    clock.Advance(1);
    EXPECT_EQ(KeptName(), "Second");
    TearDown();
  }
}

TEST_F(RecoveryTest, AStopFromOutsideKeepsTheChangesAtOnceForTheNextStart) {
  const struct {
    const char* what;
    std::function<void(ManualDelay&)> edit;
    bool kept;
  } rows[] = {
      {"changed, never written, typing still in the field",
       [](ManualDelay&) {
         Form1->show();
         ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
         Form1->Edit1->setFocus();
         Form1->Edit1->clear();
         QTest::keyClicks(Form1->Edit1, "Kept");
       },
       true},
      {"changed after its last write",
       [](ManualDelay& clock) {
         Form1->Edit1->setText("Written");
         clock.Advance(TRecoveryKeeper::WriteDelayMs);
         EXPECT_EQ(KeptName(), "Written");
         Form1->Edit1->setText("Kept");
       },
       true},
      {"changed, written and undone",
       [](ManualDelay& clock) {
         Form1->Edit1->setText("Undone");
         clock.Advance(TRecoveryKeeper::WriteDelayMs);
         Form1->Undo1Click();
       },
       false},
      {"unchanged", [](ManualDelay&) {}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ManualDelay& clock = StartWithClock();
    row.edit(clock);
    Form1->Recovery->KeepForNextStart();
    if (row.kept) {
      EXPECT_EQ(KeptName(), "Kept");
      ASSERT_EQ(RecoveryFiles().size(), 1);
      EXPECT_TRUE(Unheld(RecoveryFiles().at(0))) << "the next start could not take the file";
    } else {
      EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();
    }
    // The program ends now; what is changed on the way keeps to nothing.
    Form1->Edit1->setText("After");
    clock.Advance(2 * TRecoveryKeeper::WriteDelayMs);
    application.reset();
    EXPECT_EQ(RecoveryFiles().size(), row.kept ? 1 : 0);
    if (row.kept) {
      EXPECT_EQ(KeptName(), "Kept");
    }

    prompts = ScriptedPrompts{};
    if (row.kept) prompts.yesNoAnswers = {Answer::Yes};
    Start();
    ShowAndAnswer();
    EXPECT_EQ(prompts.questions.size(), row.kept ? 1 : 0);
    EXPECT_EQ(CurrentModel.Name, row.kept ? "Kept" : "MyObject");
    Form1->History->MarkSaved();
    TearDown();
  }
}

TEST_F(RecoveryTest, AFolderThatCannotBeUsedIsToldOnceWithItsReason) {
  const struct {
    const char* what;
    const char* state;
    const char* blockedBy;  // a file where a folder should be
  } rows[] = {
      {"state folder is a file", "plain", "plain"},
      {"recovery folder is a file", "state", "state/morv/recovery"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const QString blocker = scratch.Path(QString::fromUtf8(row.blockedBy));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(blocker).path()));
    WriteBytes(blocker, "not a folder");
    const StateHome state(scratch.Path(QString::fromUtf8(row.state)));
    prompts = ScriptedPrompts{};
    ManualDelay& clock = StartWithClock();
    Form1->Edit1->setText("Unkept");
    clock.Advance(TRecoveryKeeper::WriteDelayMs);
    const QString expected =
        QStringLiteral(
            "Changes to the model are not being kept for recovery: Cannot create folder ") +
        RecoveryFolder() + QStringLiteral(": Not a directory.");
    EXPECT_EQ(prompts.messages.join('|').toStdString(), expected.toStdString());
    // Every later change fails the same way, and says nothing more.
    for (const char* name : {"Again", "And again"}) {
      Form1->Edit1->setText(name);
      clock.Advance(TRecoveryKeeper::WriteDelayMs);
    }
    EXPECT_EQ(prompts.messages.join('|').toStdString(), expected.toStdString());
    EXPECT_EQ(CurrentModel.Name, "And again");
    EXPECT_EQ(ReadBytes(blocker), "not a folder");
    Form1->History->MarkSaved();
    application.reset();
  }
}

TEST_F(RecoveryTest, AFileThatCannotBeReadIsOfferedForDeletionOnce) {
  const struct {
    const char* what;
    TextLines lines;
    const char* reason;
    Answer answer;
  } rows[] = {
      {"a letter for a count",
       {"Broken", " ", "0", " ", "abc"},
       "Line 5: 'abc' is not a valid integer value",
       Answer::Yes},
      {"cut short",
       {"Short", " ", "0", " ", "2", "0", "0", "5"},
       "Line 9: the file ends before this line, which should hold an integer value",
       Answer::No},
      {"a count beyond capacity",
       {"Huge", " ", "0", " ", "1001", "0", "0"},
       "Line 5: 1001 is not a valid number of control vertices (0 to 1000)",
       Answer::Dismissed},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const QString path = LeaveBehind(QStringLiteral("4242-0badcafe.MVD"), row.lines);
    const std::string bytes = ReadBytes(path);
    prompts = ScriptedPrompts{};
    prompts.yesNoAnswers = {row.answer};
    Start();
    EXPECT_TRUE(prompts.questions.isEmpty()) << "asked before the windows were shown";
    ShowAndAnswer();
    const QString question = QStringLiteral("The recovery file ") + path +
                             QStringLiteral(" cannot be read: ") + QString::fromUtf8(row.reason) +
                             QStringLiteral(". Delete it?");
    EXPECT_EQ(prompts.questions.join('|').toStdString(), question.toStdString());
    EXPECT_EQ(CurrentModel.Name, "MyObject");
    if (row.answer == Answer::Yes) {
      EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();
    } else {
      // Kept for the user to look at, out of the way of later starts, and no lock of ours beside
      // it.
      EXPECT_EQ(FolderEntries(), QStringList{"4242-0badcafe.MVD.unreadable"});
      EXPECT_EQ(ReadBytes(path + QStringLiteral(".unreadable")), bytes);
    }

    application.reset();
    prompts = ScriptedPrompts{};
    Start();
    Form1->show();
    QTest::qWait(100);
    EXPECT_TRUE(prompts.questions.isEmpty()) << "asked again at the next start";
    TearDown();
  }
}

TEST_F(RecoveryTest, TheCommandLineModelWaitsForTheQuestionAboutAnUnreadableFile) {
  const QString broken =
      LeaveBehind(QStringLiteral("4343-0badcafe.MVD"), {"Broken", " ", "0", " ", "x"});
  prompts.yesNoAnswers = {Answer::Yes, Answer::Yes};
  Start(DataFile("tetra.MVD"));
  EXPECT_TRUE(prompts.questions.isEmpty()) << "asked before the windows were shown";
  ShowAndAnswer();
  ASSERT_EQ(prompts.questions.size(), 2);
  EXPECT_TRUE(prompts.questions[0].startsWith(QStringLiteral("The recovery file ") + broken));
  EXPECT_TRUE(prompts.questions[1].startsWith("Are you sure this is a MVD4"));
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_TRUE(FolderEntries().isEmpty()) << FolderEntries().join(' ').toStdString();
}

}  // namespace
}  // namespace morv::test
