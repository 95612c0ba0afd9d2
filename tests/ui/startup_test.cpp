// Program start: the empty model, and a model file named on the command line.
#include <QSignalSpy>

#include <fcntl.h>
#include <unistd.h>

#include "app/morv_command_line.h"
#include "application_fixture.h"
#include "engine/angle_tables.h"
#include "engine/animation.h"
#include "engine/view_parameters.h"
#include "platform/text_file.h"
#include "ui/new_control_dialog.h"

namespace morv::test {
namespace {

const QString StartQuestion = QStringLiteral(
    "Are you sure this is a MVD4 (jointed bézier with mass) file? Morv! 5 V1 and 4 files are "
    "not compatible. Press Yes to continue loading, and No to quit.");

using StartupTest = ApplicationTest;

TEST_F(StartupTest, WithoutArgumentsStartsWithTheEmptyModelAndAsksNothing) {
  CurrentModel.Name = "Left over";
  CurrentModel.ControlCount = 3;
  Start();
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  EXPECT_EQ(CurrentModel.ControlCount, 0);
  EXPECT_EQ(CurrentModel.PatchCount, 0);
  EXPECT_EQ(CurrentModel.JointCount, 0);
  EXPECT_FALSE(CurrentModel.Locked);
  EXPECT_TRUE(Form1->EditAllowed());
  EXPECT_EQ(Form1->Edit1->text(), "MyObject");
  EXPECT_EQ(DisplayCaption(), "3D Display - MyObject");
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_TRUE(prompts.questions.isEmpty());
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(StartupTest, SetsTheStartValuesOfTheSharedState) {
  // Every value start-up sets is spoilt first, so none passes by keeping what it held.
  ViewCentreX = 1;
  ViewCentreY = 2;
  ViewDistance = 5;
  ViewScale = 6;
  LightVector = {1, 2, 3};
  BackgroundColour = 0;
  TargetWidth = 7;
  TargetHeight = 8;
  CosTable[0] = 0;
  SinTable[90] = 0;
  Start();
  EXPECT_EQ(ViewCentreX, 180);
  EXPECT_EQ(ViewCentreY, 180);
  EXPECT_EQ(ViewDistance, -200);
  EXPECT_EQ(ViewScale, 200);
  EXPECT_EQ(LightVector.X, 200);
  EXPECT_EQ(LightVector.Y, 0);
  EXPECT_EQ(LightVector.Z, -70);
  EXPECT_EQ(BackgroundColour, 32768);
  EXPECT_EQ(TargetWidth, 360);
  EXPECT_EQ(TargetHeight, 360);
  EXPECT_DOUBLE_EQ(CosTable[0], 1.0);
  EXPECT_DOUBLE_EQ(SinTable[90], 1.0);
  EXPECT_EQ(AnimationSet.ModelName, "Something.");
  EXPECT_FALSE(Form1->Dragging);
  EXPECT_FALSE(Form1->DragIsControl);
  EXPECT_EQ(Form1->DragSlot, 0);
  EXPECT_EQ(Form1->PlaneControls.Count, 0);
  EXPECT_EQ(Form1->PlaneJoints.Count, 0);
}

TEST_F(StartupTest, CommandLineFileAnsweredYesIsLoaded) {
  prompts.yesNoAnswers = {Answer::Yes};
  Start(DataFile("tetra.MVD"));
  ASSERT_EQ(prompts.questions, QStringList{StartQuestion});
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_EQ(CurrentModel.Owner, "Ann ");
  EXPECT_EQ(CurrentModel.ControlCount, 4);
  EXPECT_EQ(CurrentModel.Controls[4].Z, 50);
  EXPECT_EQ(CurrentModel.PatchCount, 1);
  EXPECT_EQ(CurrentModel.Patches[1].Colour, 255);
  EXPECT_EQ(CurrentModel.JointCount, 1);
  EXPECT_EQ(CurrentModel.Joints[1].RefCount, 2);
  EXPECT_EQ(Form1->Memo1, ReadTextLines(DataFile("tetra.MVD")));
  EXPECT_EQ(Form1->Edit1->text(), "Tetra");
  EXPECT_EQ(DisplayCaption(), "3D Display - Tetra");
  EXPECT_TRUE(Form1->EditAllowed());
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(StartupTest, TheQuestionComesWhileTheMainWindowIsTheOnlyWindow) {
  struct WindowsAtQuestion : ScriptedPrompts {
    Answer AskYesNoError(const QString& text) override {
      mainWindowExisted = Form1 != nullptr;
      otherWindowsExisted = newcontrol != nullptr || Display != nullptr;
      return ScriptedPrompts::AskYesNoError(text);
    }
    bool mainWindowExisted = false;
    bool otherWindowsExisted = true;
  } observer;
  observer.yesNoAnswers = {Answer::Yes};
  TMorvApplication started(observer, joystick, DataFile("tetra.MVD"));
  EXPECT_TRUE(observer.mainWindowExisted);
  EXPECT_FALSE(observer.otherWindowsExisted);
  EXPECT_EQ(Display->windowTitle(), "3D Display - Tetra");
}

TEST_F(StartupTest, TheViewIsDrawnOnActivationNotDuringCreation) {
  prompts.yesNoAnswers = {Answer::Yes};
  SceneObject.Name = "Before";
  Start(DataFile("tetra.MVD"));
  EXPECT_EQ(SceneObject.Name, "");
  Form1->FormActivate();
  EXPECT_TRUE(SceneObject == CurrentModel);
}

TEST_F(StartupTest, CommandLineFileAnsweredNoEndsBeforeAnyWindowShows) {
  prompts.yesNoAnswers = {Answer::No};
  Start(DataFile("tetra.MVD"));
  EXPECT_EQ(prompts.questions, QStringList{StartQuestion});
  EXPECT_TRUE(application->QuitRequested());
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  EXPECT_FALSE(Form1->isVisible());
  EXPECT_EQ(Display, nullptr);
  EXPECT_EQ(newcontrol, nullptr);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(StartupTest, DismissingTheQuestionCarriesOnLoading) {
  prompts.yesNoAnswers = {Answer::Dismissed};
  Start(DataFile("tetra.MVD"));
  EXPECT_EQ(prompts.questions, QStringList{StartQuestion});
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_EQ(CurrentModel.ControlCount, 4);
  ASSERT_NE(Display, nullptr);
  EXPECT_EQ(DisplayCaption(), "3D Display - Tetra");
}

TEST_F(StartupTest, LockedCommandLineModelBlocksEditingAndNamesTheOwner) {
  prompts.yesNoAnswers = {Answer::Yes};
  Start(DataFile("vault.MVD"));
  EXPECT_TRUE(CurrentModel.Locked);
  EXPECT_EQ(CurrentModel.Password, "key");
  EXPECT_FALSE(Form1->EditAllowed());
  EXPECT_EQ(Form1->Edit1->text(), "Vault");
  EXPECT_EQ(prompts.messages,
            QStringList{"The owner of this object (Zed ) requires you to enter a password to edit "
                        "this model."});
}

TEST_F(StartupTest, UnreadableCommandLineFileIsReportedAndTheEmptyModelStays) {
  ScratchDir scratch;
  const QString missing = scratch.Path("missing.MVD");
  prompts.yesNoAnswers = {Answer::Yes};
  Start(missing);
  EXPECT_EQ(prompts.messages, QStringList{"Cannot open file " + missing + ": no such file."});
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  EXPECT_EQ(DisplayCaption(), "3D Display - MyObject");
  EXPECT_TRUE(Form1->EditAllowed());
}

// The name on the command line is bytes, and need not be UTF-8: the file it names is loaded.
TEST_F(StartupTest, ACommandLineFileWhoseNameIsNotUtf8IsLoaded) {
  ScratchDir scratch;
  const std::string name = QFile::encodeName(scratch.Path("")).toStdString() + "/t\xE9tra.MVD";
  const std::string bytes = ReadBytes(DataFile("tetra.MVD"));
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);
  prompts.yesNoAnswers = {Answer::Yes};
  Start(ModelFileArgument({"--", name}));
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('|').toStdString();
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_EQ(CurrentModel.ControlCount, 4);
}

TEST_F(StartupTest, CommandLineFileWithABadNumberIsReportedAndTheEmptyModelStays) {
  ScratchDir scratch;
  const QString bad = scratch.Path("bad.MVD");
  WriteBytes(bad, "Broken\r\n \r\n1\r\nOwner \r\nabc\r\n0\r\n0\r\n");
  prompts.yesNoAnswers = {Answer::Yes};
  Start(bad);
  EXPECT_EQ(prompts.messages, QStringList{"Line 5: 'abc' is not a valid integer value."});
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  EXPECT_FALSE(CurrentModel.Locked);
  EXPECT_EQ(Form1->Edit1->text(), "MyObject");
  EXPECT_TRUE(Form1->EditAllowed());
}

TEST_F(StartupTest, ClosingTheMainWindowWithAnUnchangedModelAsksNothingAndSignalsTheEnd) {
  Start();
  Form1->show();
  QSignalSpy closed(Form1, &TForm1::Closed);
  EXPECT_TRUE(Form1->close());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_TRUE(prompts.questions.isEmpty());
}

}  // namespace
}  // namespace morv::test
