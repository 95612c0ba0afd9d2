// The animation console and the "&Animation" button: building, playing, loading and saving sets.
#include <QTest>

#include "application_fixture.h"
#include "engine/animation.h"
#include "ui/animation_console.h"

namespace morv::test {
namespace {

const QString LoadWarning =
    QStringLiteral("Only open MVA2 (for jointed bézier (MVD3/4) object) files!");
const QString AnimatePeril = QStringLiteral(
    "Animate at your peril! You will not be able to restore the original object since you cannot "
    "edit it.");

class AnimationConsoleTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  void AddLocation(int x, int y, int z) {
    anim->xL->setValue(x);
    anim->yL->setValue(y);
    anim->zL->setValue(z);
    anim->BitBtn6->click();
  }

  // Builds an animation of the joint in jID through the console.
  void AddAnimation(const QString& name, std::initializer_list<TPoint3D> locations, int speed = 1,
                    bool repeat = false) {
    anim->Edit2->setText(name);
    for (const TPoint3D& at : locations) AddLocation(at.X, at.Y, at.Z);
    anim->Speed->setValue(speed);
    anim->repeator->setChecked(repeat);
    anim->BitBtn8->click();
  }

  QStringList ListEntries() const {
    QStringList entries;
    for (int i = 0; i < anim->animlistbox->count(); ++i) entries += anim->animlistbox->itemText(i);
    return entries;
  }

  ScratchDir scratch;
};

TEST_F(AnimationConsoleTest, ControlsSitAtTheirPlacesWithTheirCaptionsInTabOrder) {
  EXPECT_EQ(anim->windowTitle(), "Animation Console - Playing : {0}");
  EXPECT_FALSE(anim->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  // In tab order; the text is the caption or the start text.
  const QStringList names =
      ExpectControls(anim, {{"Edit1", {136, 8, 193, 21}, "Type Model Name / Filename"},
                            {"BitBtn1", {352, 4, 65, 25}, "Load"},
                            {"BitBtn2", {424, 4, 65, 25}, "Save"},
                            {"Edit2", {16, 64, 89, 21}, "Animation Name"},
                            {"jID", {120, 64, 49, 22}, "1"},
                            {"BitBtn4", {184, 39, 33, 25}, ""},
                            {"xL", {224, 40, 41, 22}, "0"},
                            {"yL", {264, 40, 41, 22}, "0"},
                            {"zL", {304, 40, 41, 22}, "0"},
                            {"BitBtn6", {184, 64, 161, 25}, "Add Location"},
                            {"repeator", {352, 40, 65, 17}, "Repeat"},
                            {"Speed", {392, 64, 41, 22}, "1"},
                            {"BitBtn8", {440, 40, 41, 49}, "Add"},
                            {"animlistbox", {504, 40, 177, 21}, ""},
                            {"BitBtn3", {552, 64, 59, 25}, "Play"},
                            {"BitBtn9", {616, 64, 65, 25}, "Stop"}});
  EXPECT_EQ(TabOrder(anim, names), names);
  EXPECT_EQ(anim->GroupBox1->geometry(), QRect(8, 32, 481, 65));
  EXPECT_EQ(anim->GroupBox2->geometry(), QRect(496, 8, 193, 89));
  EXPECT_EQ(anim->Label1->text(), "Animations Designed For:");
  EXPECT_EQ(anim->Label4->pos(), QPoint(352, 68));
  EXPECT_EQ(anim->Label5->pos(), QPoint(504, 24));
  EXPECT_EQ(anim->BitBtn8->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_EQ(anim->Speed->maximum(), 8);
  EXPECT_EQ(anim->xL->minimum(), -100);
}

TEST_F(AnimationConsoleTest, AddCollectsTheLocationsAndResetsTheConsole) {
  EXPECT_EQ(AnimationSet.ModelName, "Something.") << "the start text is not the set's name";
  anim->Edit1->setText(QStringLiteral("Tétra"));
  EXPECT_EQ(AnimationSet.ModelName, "T\xe9tra");

  AddJoint({7, -300, 12}, {});
  AddJoint({1, 2, 3}, {});
  anim->FormActivate();
  EXPECT_EQ(anim->jID->maximum(), 2);
  // The joint's position comes into the fields, clamped to them.
  anim->BitBtn4->click();
  EXPECT_EQ(anim->yL->value(), -100);
  anim->BitBtn6->click();
  EXPECT_EQ(anim->xL->value(), 0);
  anim->jID->setValue(2);
  AddAnimation("Walk", {{50, 0, -20}}, 3, true);

  ASSERT_EQ(AnimationSet.Count, 1);
  const TAnimation& walk = AnimationSet.Animations[1];
  EXPECT_EQ(walk.Name, "Walk");
  EXPECT_EQ(walk.Joint, 2);
  EXPECT_EQ(walk.LocationCount, 2);
  EXPECT_EQ(walk.Locations[1], (TPoint3D{7, -100, 12}));
  EXPECT_EQ(walk.Locations[2], (TPoint3D{50, 0, -20}));
  EXPECT_EQ(walk.Speed, 3);
  EXPECT_TRUE(walk.Repeat);
  EXPECT_EQ(anim->PendingCount, 0);
  EXPECT_EQ(anim->jID->value(), 1);
  EXPECT_EQ(anim->Speed->value(), 1);
  EXPECT_EQ(anim->Edit2->text(), "Animation Name");
  EXPECT_FALSE(anim->repeator->isChecked());

  AddAnimation("Run", {});
  EXPECT_EQ(ListEntries(), (QStringList{"Walk", "Run"}));
  EXPECT_EQ(anim->animlistbox->currentIndex(), -1);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(AnimationConsoleTest, LimitsAreRefusedWithAMessage) {
  anim->BitBtn8->click();
  EXPECT_EQ(AnimationSet.Count, 0);
  AddJoint({0, 0, 0}, {});
  for (int i = 1; i <= 101; ++i) AddLocation(i - 1, 0, 0);
  anim->BitBtn8->click();
  EXPECT_EQ(AnimationSet.Animations[1].LocationCount, 100);
  EXPECT_EQ(AnimationSet.Animations[1].Locations[100].X, 99);
  for (int i = 2; i <= 101; ++i) anim->BitBtn8->click();
  EXPECT_EQ(AnimationSet.Count, 100);
  EXPECT_EQ(anim->animlistbox->count(), 100);
  EXPECT_EQ(prompts.messages, (QStringList{"An animation moves a joint: add a joint first.",
                                           "An animation holds at most 100 locations.",
                                           "An animation set holds at most 100 animations."}));
}

TEST_F(AnimationConsoleTest, PlayAndStopMoveTheJointWithItsVerticesAndTheTickNamesThePlaying) {
  AddControl(2, 0, 0);
  AddJoint({5, 5, 5}, {1});
  AddAnimation("Slide", {{10, 0, 0}, {30, 0, 0}});
  AddAnimation("Still", {{10, 0, 0}});
  anim->BitBtn3->click();
  EXPECT_FALSE(AnimationSet.Animations[1].Playing) << "nothing selected";

  anim->animlistbox->setCurrentIndex(0);
  anim->BitBtn3->click();
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{10, 0, 0}));
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{7, -5, -5}));
  Form1->AnimationPumpTimer();
  EXPECT_EQ(anim->windowTitle(), "Animation Console - Playing : {1 }");
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{8, -5, -5}));
  EXPECT_TRUE(SceneObject == CurrentModel) << "the 3D view was redrawn";

  anim->BitBtn9->click();
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{10, 0, 0}));
  Form1->AnimationPumpTimer();
  EXPECT_EQ(anim->windowTitle(), "Animation Console - Playing : {}");
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{10, 0, 0}));

  // One location is not enough to play.
  anim->animlistbox->setCurrentIndex(1);
  anim->BitBtn3->click();
  EXPECT_FALSE(AnimationSet.Animations[2].Playing);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].contains("\"Still\"")) << prompts.messages[0].toStdString();
}

TEST_F(AnimationConsoleTest, SaveAndLoadGoThroughTheirDialogsAndABadFileChangesNothing) {
  AddJoint({0, 0, 0}, {});
  anim->Edit1->setText("Teapot");
  AddAnimation("Lid", {{1, -2, 3}}, 4, true);
  const QString file = scratch.Path("lid.MVA");
  prompts.fileAnswers = {std::nullopt, file};
  anim->BitBtn2->click();
  anim->BitBtn2->click();
  EXPECT_EQ(ReadBytes(file), "Teapot\r\n1\r\nLid\r\n1\r\n1\r\n1\r\n-2\r\n3\r\n4\r\nREPEAT\r\n");

  const QString bad = scratch.Path("bad.MVA");
  WriteBytes(bad, "Robot\r\n1\r\nWave\r\nabc\r\n");
  AddAnimation("Spare", {});
  prompts.fileAnswers = {bad, std::nullopt, file};
  anim->BitBtn1->click();
  EXPECT_EQ(AnimationSet.Count, 2);
  EXPECT_EQ(ListEntries(), (QStringList{"Lid", "Spare"}));
  anim->BitBtn1->click();
  anim->BitBtn1->click();
  ASSERT_EQ(prompts.messages.size(), 5);
  EXPECT_TRUE(prompts.messages[1].contains("'abc'")) << prompts.messages[1].toStdString();
  EXPECT_EQ(prompts.messages[4], "This animation file is designed for [Teapot] specifically.");
  EXPECT_EQ(prompts.messages.count(LoadWarning), 3);
  EXPECT_EQ(AnimationSet.Count, 1);
  EXPECT_EQ(ListEntries(), QStringList{"Lid"});
  EXPECT_EQ(anim->animlistbox->currentIndex(), -1);

  // The name field shows the loaded name.
  anim->Edit1->setText("Changed");
  prompts.fileAnswers = {file};
  anim->BitBtn1->click();
  EXPECT_EQ(anim->Edit1->text(), "Teapot");

  const FileDialogOptions& save = prompts.fileDialogs[0];
  EXPECT_EQ(save.title, "Save Morv! Object Animation Set");
  EXPECT_EQ(save.filter, "Morv! Object (MVD3/4) Animation (*.MVA *.mva)");
  EXPECT_EQ(save.defaultSuffix, "MVA");
  EXPECT_TRUE(save.confirmOverwrite);
  const FileDialogOptions& open = prompts.fileDialogs[2];
  EXPECT_EQ(open.title, "Open Morv! Object Animation Set");
  EXPECT_EQ(open.filter, save.filter);
  EXPECT_EQ(open.defaultSuffix, "MVA");
}

TEST_F(AnimationConsoleTest, AnimationButtonOnALockedModelWarnsStartsThePumpAndShowsTheConsole) {
  Form1->SetEditAllowed(false);
  Form1->show();
  AddJoint({0, 0, 0}, {});
  AddJoint({0, 0, 0}, {});
  anim->PendingCount = 3;

  // A long interval, so that a restart of the timer shows against the wait below.
  Form1->AnimationPump->setInterval(1000);
  Form1->BitBtn7->click();
  EXPECT_EQ(prompts.messages, QStringList{AnimatePeril});
  EXPECT_FALSE(Form1->BitBtn8->isEnabled());
  EXPECT_TRUE(Form1->AnimationPump->isActive());
  EXPECT_TRUE(anim->isVisible());
  EXPECT_EQ(anim->PendingCount, 0);
  // Pressed again, the button leaves the running timer on its schedule.
  QTest::qWait(300);
  Form1->BitBtn7->click();
  EXPECT_LE(Form1->AnimationPump->remainingTime(), 750);

  // The main window places the console too when it becomes active: that comes first here.
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  anim->move(0, 0);
  anim->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(anim));
  const QRect main = Form1->frameGeometry();
  EXPECT_EQ(anim->frameGeometry().topLeft(), QPoint(main.left(), main.bottom() + 1 + 4));
  EXPECT_EQ(anim->jID->maximum(), 2);
}

}  // namespace
}  // namespace morv::test
