// The program's windows: their order of creation, captions, sizes, visibility and placement.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "application_fixture.h"
#include "ui/animation_console.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/mechanics_console.h"
#include "ui/network_dialog.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"
#include "ui/owner_info_dialog.h"
#include "ui/password_dialog.h"
#include "ui/print_form.h"

namespace morv::test {
namespace {

struct ExpectedWindow {
  const char* className;
  const char* instance;
  QString caption;
  QSize clientSize;
};

const std::vector<ExpectedWindow>& ExpectedWindows() {
  static const std::vector<ExpectedWindow> windows = {
      {"morv::TForm1", "Form1", QStringLiteral("Morv! 5 - Bézier Modeller"), {328, 329}},
      {"morv::Tnewcontrol", "newcontrol", QStringLiteral("Create New Control Vertex"), {241, 89}},
      {"morv::Tnewbezier", "newbezier", QStringLiteral("Create New Bézier Patch"), {266, 114}},
      {"morv::Tnewjoint", "newjoint", QStringLiteral("Create New Joint"), {201, 185}},
      {"morv::Tanim", "anim", QStringLiteral("Animation Console - Playing : {0}"), {697, 105}},
      {"morv::Teditbez", "editbez", QStringLiteral("Edit Bézier Colour"), {209, 105}},
      {"morv::Townerinfo", "ownerinfo", QStringLiteral("Object Owner Information"), {281, 97}},
      {"morv::Tpassword", "password", QStringLiteral("Enter Object Password"), {265, 81}},
      {"morv::Tphys", "phys", QStringLiteral("Newtonian Mechanics"), {697, 65}},
      {"morv::TPrintForm", "PrintForm", QStringLiteral("PrintF"), {617, 1000}},
      {"morv::TDisplay", "Display", QStringLiteral("3D Display - MyObject"), {361, 457}},
      {"morv::Tnetwork", "network", QStringLiteral("Network Rendering"), {217, 161}},
  };
  return windows;
}

std::vector<QWidget*> Instances() {
  return {Form1,     newcontrol, newbezier, newjoint,  anim,    editbez,
          ownerinfo, password,   phys,      PrintForm, Display, network};
}

using WindowsTest = ApplicationTest;

TEST_F(WindowsTest, TwelveWindowsAreCreatedInTheirOrderWithTheirCaptionsAndSizes) {
  Start();
  const auto& expected = ExpectedWindows();
  const auto& windows = application->Windows();
  ASSERT_EQ(windows.size(), expected.size());
  const std::vector<QWidget*> instances = Instances();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].instance);
    EXPECT_STREQ(windows[i]->metaObject()->className(), expected[i].className);
    EXPECT_EQ(windows[i]->objectName(), expected[i].instance);
    EXPECT_EQ(windows[i], instances[i]);
    EXPECT_TRUE(windows[i]->isWindow());
    EXPECT_EQ(windows[i]->windowTitle(), expected[i].caption);
    EXPECT_EQ(windows[i]->size(), expected[i].clientSize);
    EXPECT_EQ(windows[i]->minimumSize(), expected[i].clientSize);
    EXPECT_EQ(windows[i]->maximumSize(), expected[i].clientSize);
  }
}

TEST_F(WindowsTest, InstanceNamesAreClearedWhenTheApplicationEnds) {
  Start();
  application.reset();
  for (QWidget* instance : Instances()) EXPECT_EQ(instance, nullptr);
  Start();
  for (QWidget* instance : Instances()) EXPECT_NE(instance, nullptr);
}

TEST_F(WindowsTest, ShowingTheMainWindowShowsTheDisplayAndNothingElse) {
  Start();
  for (QWidget* window : application->Windows()) EXPECT_FALSE(window->isVisible());
  Form1->show();
  for (QWidget* window : application->Windows()) {
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_EQ(window->isVisible(), window == Form1 || window == Display);
  }
}

TEST_F(WindowsTest, MainWindowCanBeMinimisedButNotMaximised) {
  Start();
  const Qt::WindowFlags flags = Form1->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowsTest, DisplayHasNoFrameButtons) {
  Start();
  const Qt::WindowFlags flags = Display->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
}

TEST_F(WindowsTest, ActivationPutsTheMainWindowLeftOfTheScreenMiddleWithItsCompanions) {
  Start();
  Form1->show();
  anim->show();
  phys->show();
  Form1->move(17, 43);
  const QRect before = Form1->frameGeometry();
  Form1->FormActivate();

  const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
  const QRect main = Form1->frameGeometry();
  EXPECT_EQ(main.left(), screenWidth / 2 - before.width());
  EXPECT_EQ(main.top(), before.top());
  EXPECT_EQ(main.right() + 1, screenWidth / 2);
  EXPECT_EQ(Display->frameGeometry().topLeft(), QPoint(main.left() + main.width() + 4, main.top()));
  const QPoint below(main.left(), main.top() + main.height() + 4);
  EXPECT_EQ(anim->frameGeometry().topLeft(), below);
  EXPECT_EQ(phys->frameGeometry().topLeft(), below);
}

TEST_F(WindowsTest, ActivationRedrawsTheView) {
  Start();
  Form1->show();
  CurrentModel.Name = "Changed";
  Form1->FormActivate();
  EXPECT_EQ(SceneObject.Name, "Changed");
}

TEST_F(WindowsTest, BecomingActiveRunsThePlacement) {
  Start();
  Form1->show();
  Display->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Display));
  Form1->move(3, 40);
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_EQ(Form1->frameGeometry().right() + 1, screenWidth / 2);
  EXPECT_EQ(Display->frameGeometry().left(), Form1->frameGeometry().right() + 1 + 4);
}

TEST_F(WindowsTest, DisplayActivationKeepsItBesideTheMainWindow) {
  Start();
  Form1->show();
  Display->move(0, 0);
  Display->FormActivate();
  const QRect main = Form1->frameGeometry();
  EXPECT_EQ(Display->frameGeometry().topLeft(), QPoint(main.left() + main.width() + 4, main.top()));
}

TEST_F(WindowsTest, DisplayStartsWithItsControlsAtTheirPlaces) {
  Start();
  EXPECT_EQ(Display->MainView->geometry(), QRect(0, 0, 360, 360));
  EXPECT_EQ(Display->MainView->Picture().size(), QSize(360, 360));
  for (TSpinEdit* angle : {Display->xV, Display->yV, Display->zV}) {
    EXPECT_EQ(angle->value(), 0);
    EXPECT_EQ(angle->minimum(), 0);
    EXPECT_EQ(angle->maximum(), 360);
    EXPECT_EQ(angle->size(), QSize(49, 22));
  }
  EXPECT_EQ(Display->xV->pos(), QPoint(72, 376));
  EXPECT_EQ(Display->yV->pos(), QPoint(152, 376));
  EXPECT_EQ(Display->zV->pos(), QPoint(232, 376));
  EXPECT_EQ(Display->BitBtn1->geometry(), QRect(296, 376, 57, 25));
  EXPECT_EQ(Display->BitBtn1->text(), "&BMP");
  EXPECT_TRUE(Display->CheckBox2->isChecked());
  EXPECT_EQ(Display->CheckBox2->text(), "Allow hover-rotate");
  EXPECT_FALSE(Display->CheckBox1->isChecked());
  EXPECT_EQ(Display->CheckBox1->text(), "Use multi-threading");
  EXPECT_FALSE(Display->CheckBox3->isChecked());
  EXPECT_EQ(Display->CheckBox3->text(), "Get Render Time");
  EXPECT_EQ(Display->Label4->text(), "0 ms");
  EXPECT_EQ(Display->Label4->pos(), QPoint(144, 432));
  EXPECT_EQ(Display->Label1->text(), "Background:");
  EXPECT_EQ(Display->Shape1->geometry(), QRect(256, 424, 65, 25));
  EXPECT_EQ(Display->Shape1->Colour(), 32768);
  EXPECT_EQ(Display->Bevel3->geometry(), QRect(128, 408, 9, 41));
  EXPECT_EQ(Display->Bevel4->geometry(), QRect(240, 408, 9, 41));
  EXPECT_EQ(Display->Label5->text(), "x");
  EXPECT_EQ(Display->Label5->pos(), QPoint(56, 376));
  EXPECT_TRUE(Display->Label6->font().italic());
  EXPECT_EQ(Display->Label7->font().pixelSize(), 16);
  EXPECT_EQ(Display->Label7->font().family(), "Times New Roman");
}

TEST_F(WindowsTest, AnglesCannotBeTypedButStepAndClamp) {
  Start();
  Display->show();
  Display->xV->setFocus();
  QTest::keyClicks(Display->xV, "45");
  EXPECT_EQ(Display->xV->value(), 0);
  Display->xV->stepUp();
  EXPECT_EQ(Display->xV->value(), 1);
  Display->yV->setValue(400);
  EXPECT_EQ(Display->yV->value(), 360);
  Display->yV->stepUp();
  EXPECT_EQ(Display->yV->value(), 360);
  Display->zV->setValue(-5);
  EXPECT_EQ(Display->zV->value(), 0);
}

}  // namespace
}  // namespace morv::test
