// The main window: its controls, fonts, tab order, popup menus, timers and redraws.
#include <QActionGroup>
#include <QTest>

#include "application_fixture.h"

namespace morv::test {
namespace {

struct ExpectedControl {
  const char* name;
  QRect geometry;
};

using MainWindowTest = ApplicationTest;

TEST_F(MainWindowTest, EveryControlSitsAtItsClientGeometry) {
  Start();
  const ExpectedControl controls[] = {
      {"BitBtn1", {8, 8, 33, 41}},       {"BitBtn2", {48, 8, 33, 41}},
      {"Bevel1", {88, 8, 9, 41}},        {"BitBtn3", {96, 8, 65, 41}},
      {"Bevel6", {168, 8, 9, 41}},       {"BitBtn7", {176, 8, 57, 41}},
      {"BitBtn8", {240, 8, 49, 41}},     {"Bevel2", {8, 56, 313, 233}},
      {"DragSpace", {16, 64, 200, 200}}, {"Edit1", {224, 64, 89, 21}},
      {"BitBtn5", {224, 88, 89, 25}},    {"BitBtn4", {224, 120, 89, 25}},
      {"BitBtn6", {224, 152, 89, 25}},   {"PLxy", {240, 200, 41, 17}},
      {"PLyz", {240, 216, 49, 17}},      {"PLxz", {240, 232, 57, 17}},
      {"PLv", {40, 265, 176, 17}},       {"button5", {8, 296, 81, 25}},
      {"button4", {96, 296, 105, 25}},
  };
  for (const ExpectedControl& control : controls) {
    SCOPED_TRACE(control.name);
    const auto* widget = Form1->findChild<QWidget*>(QString::fromLatin1(control.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), control.geometry);
  }
  EXPECT_EQ(Form1->Label3->pos(), QPoint(224, 184));
  EXPECT_EQ(Form1->Label9->pos(), QPoint(224, 256));
  EXPECT_EQ(Form1->Label8->pos(), QPoint(16, 266));
}

TEST_F(MainWindowTest, ControlsStartWithTheirCaptions) {
  Start();
  EXPECT_EQ(Form1->BitBtn1->text(), "&Load");
  EXPECT_EQ(Form1->BitBtn2->text(), "&Save");
  EXPECT_EQ(Form1->BitBtn3->text(), "&Print Model");
  EXPECT_EQ(Form1->BitBtn7->text(), "&Animation");
  EXPECT_EQ(Form1->BitBtn8->text(), "Ph&ysics");
  EXPECT_EQ(Form1->BitBtn5->text(), "Add &Control");
  EXPECT_EQ(Form1->BitBtn4->text(), QStringLiteral("Add &Bézier"));
  EXPECT_EQ(Form1->BitBtn6->text(), "Add &Joint");
  EXPECT_EQ(Form1->button5->text(), "&Delete ...");
  EXPECT_EQ(Form1->button4->text(), "&Other Things ...");
  EXPECT_EQ(Form1->Label3->text(), "View Plane:");
  EXPECT_EQ(Form1->Label9->text(), "0 (0,0,0)");
  EXPECT_EQ(Form1->Label8->text(), "0");
  EXPECT_EQ(Form1->PLxy->text(), "x-y");
  EXPECT_EQ(Form1->PLyz->text(), "y-z");
  EXPECT_EQ(Form1->PLxz->text(), "x-z");
  EXPECT_TRUE(Form1->PLxy->isChecked());
  EXPECT_FALSE(Form1->PLyz->isChecked());
  EXPECT_FALSE(Form1->PLxz->isChecked());
}

TEST_F(MainWindowTest, FileButtonsShowTheirGlyphAboveTheirText) {
  Start();
  for (QToolButton* button :
       {Form1->BitBtn1, Form1->BitBtn2, Form1->BitBtn3, Form1->BitBtn7, Form1->BitBtn8}) {
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_FALSE(button->icon().isNull());
  }
  EXPECT_EQ(Form1->BitBtn5->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
}

TEST_F(MainWindowTest, PlaneLevelScrollBarRunsFromMinus200To200) {
  Start();
  EXPECT_EQ(Form1->PLv->orientation(), Qt::Horizontal);
  EXPECT_EQ(Form1->PLv->minimum(), -200);
  EXPECT_EQ(Form1->PLv->maximum(), 200);
  EXPECT_EQ(Form1->PLv->value(), 0);
  EXPECT_EQ(Form1->PLv->singleStep(), 1);
}

TEST_F(MainWindowTest, FontsAreMsSansSerifAndTimesItalicForThePlaneControls) {
  Start();
  EXPECT_EQ(Form1->font().family(), "MS Sans Serif");
  EXPECT_EQ(Form1->Edit1->font().family(), "MS Sans Serif");
  EXPECT_EQ(Form1->Edit1->font().pixelSize(), 11);
  for (QWidget* control :
       std::initializer_list<QWidget*>{Form1->Label9, Form1->PLxy, Form1->PLyz, Form1->PLxz}) {
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_EQ(control->font().family(), "Times New Roman");
    EXPECT_TRUE(control->font().italic());
    EXPECT_EQ(control->font().pixelSize(), 13);
  }
}

TEST_F(MainWindowTest, TabOrderFollowsTheLayout) {
  Start();
  const QStringList expected = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn7", "BitBtn8",
                                "Edit1",   "BitBtn5", "BitBtn4", "BitBtn6", "PLxy",
                                "PLyz",    "PLxz",    "PLv",     "button5", "button4"};
  QStringList order;
  QWidget* widget = Form1->BitBtn1;
  for (int i = 0; i < 200 && order.size() < expected.size(); ++i) {
    if (widget->focusPolicy() & Qt::TabFocus && expected.contains(widget->objectName()) &&
        !order.contains(widget->objectName())) {
      order.push_back(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(order, expected);
}

TEST_F(MainWindowTest, PopupMenusHoldTheirItemsInOrder) {
  Start();
  QStringList deleteItems;
  for (QAction* action : Form1->PopupMenu1->actions()) deleteItems.push_back(action->text());
  EXPECT_EQ(deleteItems,
            (QStringList{"Last Control", QStringLiteral("Last Bézier"), "Last Joint"}));
  QStringList otherItems;
  for (QAction* action : Form1->PopupMenu2->actions()) otherItems.push_back(action->text());
  EXPECT_EQ(otherItems, (QStringList{QStringLiteral("Randomize Bézier Colours"),
                                     QStringLiteral("Edit Bézier Colour"), "Set Owner Information",
                                     "Use Network", "Set Up Network", "", "Undo", "Redo"}));
  EXPECT_TRUE(Form1->NetworkRendering->isCheckable());
  EXPECT_FALSE(Form1->NetworkRendering->isChecked());
  Form1->NetworkRendering->trigger();
  EXPECT_TRUE(Form1->NetworkRendering->isChecked());
  Form1->NetworkRendering->trigger();
  EXPECT_FALSE(Form1->NetworkRendering->isChecked());
}

TEST_F(MainWindowTest, MenuButtonsOpenTheirMenuJustUnderTheButton) {
  Start();
  Form1->show();
  Form1->move(100, 50);
  const QRect frame = Form1->frameGeometry();

  const QPoint deleteAt(frame.left() + 8 + 4, frame.top() + 296 + 25 + 22);
  EXPECT_EQ(Form1->PopupPosition(Form1->button5), deleteAt);
  QTest::mouseClick(Form1->button5, Qt::LeftButton);
  ASSERT_TRUE(Form1->PopupMenu1->isVisible());
  EXPECT_EQ(Form1->PopupMenu1->pos(), deleteAt);
  Form1->PopupMenu1->hide();

  const QPoint otherAt(frame.left() + 96 + 4, frame.top() + 296 + 25 + 22);
  EXPECT_EQ(Form1->PopupPosition(Form1->button4), otherAt);
  Form1->button4->click();
  ASSERT_TRUE(Form1->PopupMenu2->isVisible());
  EXPECT_EQ(Form1->PopupMenu2->pos(), otherAt);
  Form1->PopupMenu2->hide();
}

TEST_F(MainWindowTest, TimersAreSetButStopped) {
  Start();
  EXPECT_EQ(Form1->AnimationPump->interval(), 100);
  EXPECT_FALSE(Form1->AnimationPump->isActive());
  EXPECT_EQ(Form1->PhysicsPump->interval(), 1000);
  EXPECT_FALSE(Form1->PhysicsPump->isActive());
  EXPECT_EQ(Form1->Sock->state(), QAbstractSocket::UnconnectedState);
  EXPECT_TRUE(Form1->Memo2.empty());
}

TEST_F(MainWindowTest, DrawTheThingTakesASnapshotOfTheModel) {
  Start();
  CurrentModel.ControlCount = 1;
  CurrentModel.Controls[1] = {4, 5, 6};
  Form1->DrawTheThing();
  EXPECT_TRUE(SceneObject == CurrentModel);
  CurrentModel.Controls[1].X = 9;
  EXPECT_EQ(SceneObject.Controls[1].X, 4);
}

TEST_F(MainWindowTest, DragSpaceIsAWhite200By200Picture) {
  Start();
  QImage& picture = Form1->DragSpace->Picture();
  EXPECT_EQ(picture.size(), QSize(200, 200));
  picture.fill(Qt::black);
  Form1->DrawTheDrag();
  for (const QPoint pixel : {QPoint(0, 0), QPoint(10, 190), QPoint(199, 199)}) {
    EXPECT_EQ(picture.pixelColor(pixel), QColor(Qt::white));
  }
}

}  // namespace
}  // namespace morv::test
