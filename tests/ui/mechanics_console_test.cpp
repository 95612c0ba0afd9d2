// The mechanics console and the "Ph&ysics" button: forces, the gravitational constant, "Stop!".
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <tuple>

#include "application_fixture.h"
#include "engine/mechanics.h"
#include "ui/mechanics_console.h"

namespace morv::test {
namespace {

const QString PhysicsPeril = QStringLiteral(
    "Use physics at your peril! You will not be able to restore the original object since you "
    "cannot edit it.");
const QString PhysicsWarning = QStringLiteral(
    "Warning! The physics used here are real-world-based and can cause your PC to crash (in an "
    "overloading way). Be particularly wary of gravity.");

using MechanicsConsoleTest = ApplicationTest;

TEST_F(MechanicsConsoleTest, ControlsSitAtTheirPlacesWithTheirCaptionsInTabOrder) {
  Start();
  EXPECT_EQ(phys->windowTitle(), "Newtonian Mechanics");
  EXPECT_FALSE(phys->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  // In tab order; the text is the caption or the start value.
  const QStringList names =
      ExpectControls(phys, {{"BitBtn5", {8, 8, 41, 25}, "Stop!"},
                            {"jsel", {88, 8, 57, 22}, "1"},
                            {"fX", {232, 8, 49, 22}, "0"},
                            {"fY", {288, 8, 49, 22}, "0"},
                            {"fZ", {344, 8, 49, 22}, "0"},
                            {"BitBtn1", {400, 8, 89, 25}, "Apply Force"},
                            {"G", {136, 40, 129, 25}, ""},
                            {"GPower", {264, 40, 129, 25}, ""},
                            {"BitBtn3", {504, 7, 113, 25}, "Remove Velocity"},
                            {"BitBtn4", {616, 7, 73, 25}, "Return"},
                            {"BitBtn2", {504, 32, 185, 25}, "Remove Acceleration"}});
  EXPECT_EQ(TabOrder(phys, names), names);
  EXPECT_EQ(phys->Label3->geometry(), QRect(400, 38, 96, 27));
  EXPECT_EQ(phys->Label3->text(), "Magnitude = 0 N");
  EXPECT_EQ(phys->Label4->text(), "Gravitational Constant, G:");
  EXPECT_EQ(phys->Bevel2->pos(), QPoint(496, 7));
  const std::tuple<QSlider*, int, int, int> bars[] = {{phys->G, 1, 10, 7},
                                                      {phys->GPower, -12, 12, -11}};
  for (const auto& [bar, low, high, value] : bars) {
    EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->value()),
              std::tuple(low, high, value));
  }
  EXPECT_EQ(phys->jsel->minimum(), INT32_MIN);
}

// "Magnitude = ... N" shows whole for every force the fields hold, up to ten digits before the
// point: inside the console, clear of every other control, on one line while it fits and otherwise
// with the number and its unit together on the second.
TEST_F(MechanicsConsoleTest, TheMagnitudeShowsWholeUpToTheLargestForces) {
  Start();
  phys->show();
  TReadingLabel* const label = phys->Label3;
  EXPECT_EQ(QFontInfo(label->font()).family(), "Liberation Sans");
  const struct {
    int32_t x, y, z;
    const char* text;
    const char* shown;
  } rows[] = {
      {0, 0, 0, "Magnitude = 0.00 N", "Magnitude =\n0.00 N"},
      {30, 40, 0, "Magnitude = 50.00 N", "Magnitude =\n50.00 N"},
      {100, 0, 0, "Magnitude = 100.00 N", "Magnitude =\n100.00 N"},
      {INT32_MAX, 0, 0, "Magnitude = 2147483647.00 N", "Magnitude =\n2147483647.00 N"},
      // The largest: each square is 2^62.
      {INT32_MIN, INT32_MIN, INT32_MIN, "Magnitude = 3719550786.76 N",
       "Magnitude =\n3719550786.76 N"},
  };
  const QFontMetrics metrics(label->font());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    phys->fX->setValue(row.x ^ 1);  // a change whatever the field held
    phys->fX->setValue(row.x);
    phys->fY->setValue(row.y);
    phys->fZ->setValue(row.z);
    EXPECT_EQ(label->text(), row.text);
    EXPECT_EQ(label->ShownText(), row.shown);
    const QRect room = label->contentsRect();
    const QRect needed =
        metrics.boundingRect(room, Qt::AlignLeft | Qt::AlignTop, label->ShownText());
    EXPECT_TRUE(room.contains(needed)) << needed.width() << " x " << needed.height() << " in "
                                       << room.width() << " x " << room.height();
  }
  EXPECT_TRUE(phys->rect().contains(label->geometry()));
  for (QWidget* other : phys->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == label || !other->isVisibleTo(phys)) continue;
    EXPECT_FALSE(other->geometry().intersects(label->geometry()))
        << other->objectName().toStdString();
  }
}

TEST_F(MechanicsConsoleTest, PhysicsButtonOnALockedModelWarnsTwiceResetsGAndRunsUntilStop) {
  Start();
  Form1->SetEditAllowed(false);
  Form1->show();
  GravitationalConstant = 1;

  Form1->BitBtn8->click();
  EXPECT_EQ(prompts.messages, (QStringList{PhysicsPeril, PhysicsWarning}));
  EXPECT_EQ(GravitationalConstant, StartingGravitationalConstant());
  EXPECT_FALSE(Form1->BitBtn7->isEnabled());
  EXPECT_TRUE(Form1->PhysicsPump->isActive());
  EXPECT_TRUE(phys->isVisible());
  // Pressed again, the button warns again but leaves the running timer on its schedule.
  QTest::qWait(300);
  Form1->BitBtn8->click();
  EXPECT_EQ(prompts.messages.size(), 4);
  EXPECT_LE(Form1->PhysicsPump->remainingTime(), 750);

  // The main window places the console too when it becomes active: that comes first here.
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  phys->move(0, 0);
  phys->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(phys));
  const QRect main = Form1->frameGeometry();
  EXPECT_EQ(phys->frameGeometry().topLeft(), QPoint(main.left(), main.bottom() + 1 + 4));

  // Enter in a field presses "Stop!".
  QTest::keyClick(phys->fX, Qt::Key_Return);
  EXPECT_FALSE(phys->isVisible());
  EXPECT_FALSE(Form1->PhysicsPump->isActive());
  EXPECT_FALSE(Form1->BitBtn8->isEnabled());
  EXPECT_TRUE(Form1->BitBtn7->isEnabled());
}

TEST_F(MechanicsConsoleTest, CommandsActOnTheSelectedJointAndTheTrackBarsSetG) {
  Start();
  Form1->BitBtn8->click();
  EXPECT_EQ(prompts.messages, QStringList{PhysicsWarning}) << "shown on an editable model too";
  AddControl(4, 0, 0);
  AddJoint({3, 3, 3}, {1});
  CurrentModel.Joints[1].Mass = 1;
  phys->fX->setValue(3);
  phys->fY->setValue(4);
  EXPECT_EQ(phys->Label3->text(), "Magnitude = 5.00 N");
  phys->BitBtn1->click();
  EXPECT_EQ(CurrentModel.Joints[1].Acceleration, (TVelocity3D{3, 4, 0}));
  EXPECT_EQ(phys->fX->value(), 0);
  EXPECT_EQ(phys->Label3->text(), "Magnitude = 0.00 N");

  // A tick moves the joint by its grown velocity and redraws.
  Form1->PhysicsPumpTimer();
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{6, 7, 3}));
  EXPECT_TRUE(SceneObject == CurrentModel);
  phys->BitBtn4->click();
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{1, -3, -3}));
  EXPECT_TRUE(SceneObject == CurrentModel);
  EXPECT_EQ(CurrentModel.Joints[1].Velocity, (TVelocity3D{3, 4, 0}));

  const auto before = std::make_unique<TMorvObject>(CurrentModel);
  for (const int jsel : {0, 2}) {
    phys->jsel->setValue(jsel);
    phys->fX->setValue(10);
    for (QPushButton* command : {phys->BitBtn1, phys->BitBtn3, phys->BitBtn2, phys->BitBtn4}) {
      command->click();
    }
    EXPECT_TRUE(CurrentModel == *before) << jsel;
  }
  phys->jsel->setValue(1);
  phys->BitBtn3->click();
  EXPECT_EQ(CurrentModel.Joints[1].Velocity, TVelocity3D{});
  EXPECT_EQ(CurrentModel.Joints[1].Acceleration, (TVelocity3D{3, 4, 0}));
  phys->BitBtn2->click();
  EXPECT_EQ(CurrentModel.Joints[1].Acceleration, TVelocity3D{});

  phys->G->setValue(3);
  EXPECT_EQ(GravitationalConstant, GravitationalConstantFrom(3, -11));
  phys->GPower->setValue(2);
  EXPECT_EQ(GravitationalConstant, GravitationalConstantFrom(3, 2));
}

}  // namespace
}  // namespace morv::test
