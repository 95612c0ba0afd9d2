// Picking and dragging control vertices and joints in the drag space with the mouse.
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>
#include <functional>

#include "application_fixture.h"
#include "ui/password_dialog.h"

namespace morv::test {
namespace {

class DragSpaceEditingTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  void TearDown() override {
    // The test library remembers held buttons between tests; none may stay down.
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
      if (held_ & button) QTest::mouseRelease(Form1->DragSpace, button, {}, QPoint(1, 1));
    }
    ApplicationTest::TearDown();
  }

  // Pixel positions; QTest takes (0, 0) for the widget's centre, so no test presses there.
  void Press(Qt::MouseButton button, QPoint at) {
    held_ |= button;
    QTest::mousePress(Form1->DragSpace, button, {}, at);
  }
  void Move(QPoint at) { QTest::mouseMove(Form1->DragSpace, at); }
  void Release(Qt::MouseButton button, QPoint at) {
    held_ &= ~Qt::MouseButtons(button);
    QTest::mouseRelease(Form1->DragSpace, button, {}, at);
  }
  // A move with no button held, as the window system reports it while the pointer hovers.
  static void Hover(QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, Form1->DragSpace->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Form1->DragSpace, &move);
  }

  static void SelectPlane(QRadioButton* plane) {
    QTest::mouseClick(plane, Qt::LeftButton, {}, QPoint(5, 8));
  }

  Qt::MouseButtons held_;
};

TEST_F(DragSpaceEditingTest, LeftPressWithinTwoPixelsOfAVertexPicksIt) {
  AddControl(-70, 70, 0);
  const int vertex = AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(112, 78));
  EXPECT_TRUE(Form1->Dragging);
  EXPECT_TRUE(Form1->DragIsControl);
  EXPECT_EQ(Form1->DragSlot, 2);
  EXPECT_EQ(Form1->PlaneControls.Items[Form1->DragSlot], vertex);
  EXPECT_EQ(Form1->Label9->text(), "2 (10,20,0)");
}

TEST_F(DragSpaceEditingTest, ThePickBoxIsFiveByFivePixelsBoundsIncluded) {
  AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  for (const QPoint miss :
       {QPoint(113, 80), QPoint(107, 80), QPoint(110, 77), QPoint(110, 83), QPoint(113, 83)}) {
    SCOPED_TRACE(testing::Message() << miss.x() << "," << miss.y());
    Press(Qt::LeftButton, miss);
    EXPECT_FALSE(Form1->Dragging);
    EXPECT_EQ(Form1->DragSlot, 0);
    EXPECT_EQ(Form1->Label9->text(), "0 (0,0,0)");
    Release(Qt::LeftButton, miss);
  }
  for (const QPoint hit :
       {QPoint(108, 78), QPoint(112, 82), QPoint(108, 82), QPoint(112, 78), QPoint(110, 80)}) {
    SCOPED_TRACE(testing::Message() << hit.x() << "," << hit.y());
    Press(Qt::LeftButton, hit);
    EXPECT_TRUE(Form1->Dragging);
    Release(Qt::LeftButton, hit);
  }
}

TEST_F(DragSpaceEditingTest, OfOverlappingSquaresTheLatestInTheListIsPicked) {
  for (int i = 1; i <= 8; ++i) AddControl(i == 3 ? 30 : i == 8 ? 32 : -60 + 5 * i, 0, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(131, 100));
  EXPECT_EQ(Form1->DragSlot, 8);
  EXPECT_EQ(Form1->Label9->text(), "8 (32,0,0)");
  Release(Qt::LeftButton, QPoint(131, 100));
  Press(Qt::LeftButton, QPoint(128, 100));
  EXPECT_EQ(Form1->DragSlot, 3) << "only vertex 3 lies within reach";
  EXPECT_EQ(Form1->Label9->text(), "3 (30,0,0)");
}

TEST_F(DragSpaceEditingTest, LeftPicksOnlyControlsAndRightOnlyJoints) {
  AddControl(-40, 0, 0);
  AddJoint({40, 0, 0}, {});
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(140, 100));
  EXPECT_FALSE(Form1->Dragging);
  Release(Qt::LeftButton, QPoint(140, 100));
  Press(Qt::RightButton, QPoint(60, 100));
  EXPECT_FALSE(Form1->Dragging);
  Release(Qt::RightButton, QPoint(60, 100));
  Press(Qt::MiddleButton, QPoint(60, 100));
  EXPECT_FALSE(Form1->Dragging);
  Release(Qt::MiddleButton, QPoint(60, 100));
  EXPECT_EQ(Form1->Label9->text(), "0 (0,0,0)");

  Press(Qt::RightButton, QPoint(141, 101));
  EXPECT_TRUE(Form1->Dragging);
  EXPECT_FALSE(Form1->DragIsControl);
  EXPECT_EQ(Form1->DragSlot, 1);
  EXPECT_EQ(Form1->Label9->text(), "1 (40,0,0)");
}

TEST_F(DragSpaceEditingTest, DraggingAVertexInXyChangesXAndYAndRedraws) {
  const int vertex = AddControl(10, 20, 7);
  Form1->PLv->setValue(7);
  // The 3D view reports its render time on every redraw.
  Display->CheckBox3->setChecked(true);
  Display->Label4->clear();
  Press(Qt::LeftButton, QPoint(111, 79));
  const QImage before = Form1->DragSpace->Picture().copy();
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{10, 20, 7})) << "a press moves nothing";
  EXPECT_TRUE(Display->Label4->text().isEmpty()) << "a press redraws nothing";
  Move(QPoint(150, 40));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{50, 60, 7}));
  EXPECT_EQ(Form1->Label9->text(), "1 (50,60,7)");
  EXPECT_EQ(Form1->DragSpace->Picture().pixel(150, 40), qRgb(0, 0, 0));
  EXPECT_NE(Form1->DragSpace->Picture(), before);
  Form1->FinishRendering();
  EXPECT_FALSE(Display->Label4->text().isEmpty()) << "the 3D view is redrawn";
  Move(QPoint(60, 130));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{-40, -30, 7}));
}

TEST_F(DragSpaceEditingTest, DraggingAVertexInYzChangesOnlyZAndY) {
  const int vertex = AddControl(0, 30, -40);
  SelectPlane(Form1->PLyz);
  Press(Qt::LeftButton, QPoint(60, 70));
  ASSERT_TRUE(Form1->Dragging);
  Move(QPoint(125, 90));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{0, 10, 25}));
  EXPECT_EQ(Form1->Label9->text(), "1 (0,10,25)");
}

TEST_F(DragSpaceEditingTest, DraggingAVertexInXzChangesOnlyXAndZ) {
  const int vertex = AddControl(-40, 12, 30);
  SelectPlane(Form1->PLxz);
  Form1->PLv->setValue(12);
  Press(Qt::LeftButton, QPoint(60, 70));
  ASSERT_TRUE(Form1->Dragging);
  Move(QPoint(125, 90));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{25, 12, 10}));
}

TEST_F(DragSpaceEditingTest, TheFirstMoveSetsThePointerPositionExactly) {
  const int vertex = AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(112, 78));
  Move(QPoint(112, 78));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{12, 22, 0}));
}

TEST_F(DragSpaceEditingTest, DraggingAJointCarriesItsVerticesInAndOutOfThePlane) {
  AddControl(-90, -90, 0);
  const int inPlane = AddControl(20, 10, 0);
  const int twice = AddControl(-20, 10, 0);
  const int outOfPlane = AddControl(5, 5, 50);
  const int untouched = AddControl(30, 30, 0);
  const int joint = AddJoint({0, 0, 0}, {inPlane, outOfPlane, twice, twice});
  Form1->DrawTheDrag();
  Press(Qt::RightButton, QPoint(100, 100));
  ASSERT_TRUE(Form1->Dragging);
  Move(QPoint(104, 103));
  EXPECT_EQ(CurrentModel.Joints[joint].Position, (TControlVertex{4, -3, 0}));
  EXPECT_EQ(CurrentModel.Controls[inPlane], (TControlVertex{24, 7, 0}));
  EXPECT_EQ(CurrentModel.Controls[outOfPlane], (TControlVertex{9, 2, 50}));
  EXPECT_EQ(CurrentModel.Controls[twice], (TControlVertex{-12, 4, 0}));
  EXPECT_EQ(CurrentModel.Controls[untouched], (TControlVertex{30, 30, 0}));
  EXPECT_EQ(Form1->Label9->text(), "1 (4,-3,0)");
  // The moved joint's square is drawn where the pointer is.
  EXPECT_EQ(Form1->DragSpace->Picture().pixel(104, 103), qRgb(255, 0, 0));
}

TEST_F(DragSpaceEditingTest, DraggingAJointInYzKeepsItsX) {
  const int vertex = AddControl(3, 0, 0);
  const int joint = AddJoint({3, 10, 10}, {vertex});
  SelectPlane(Form1->PLyz);
  Form1->PLv->setValue(3);
  Press(Qt::RightButton, QPoint(110, 90));
  Move(QPoint(90, 95));
  EXPECT_EQ(CurrentModel.Joints[joint].Position, (TControlVertex{3, 5, -10}));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{3, -5, -20}));
}

TEST_F(DragSpaceEditingTest, DraggingAReferencedVertexLeavesItsJoint) {
  const int vertex = AddControl(20, 0, 0);
  const int joint = AddJoint({-20, 0, 0}, {vertex});
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(120, 100));
  Move(QPoint(130, 80));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{30, 20, 0}));
  EXPECT_EQ(CurrentModel.Joints[joint].Position, (TControlVertex{-20, 0, 0}));
}

TEST_F(DragSpaceEditingTest, MovesAfterTheReleaseChangeNothing) {
  const int vertex = AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(110, 80));
  Move(QPoint(120, 90));
  Release(Qt::LeftButton, QPoint(30, 30));
  EXPECT_FALSE(Form1->Dragging);
  EXPECT_FALSE(Form1->DragIsControl);
  EXPECT_EQ(Form1->DragSlot, 0);
  Hover(QPoint(150, 150));
  Press(Qt::MiddleButton, QPoint(160, 160));
  QTest::mouseMove(Form1->DragSpace, QPoint(170, 170));
  Release(Qt::MiddleButton, QPoint(170, 170));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{20, 10, 0}));
  EXPECT_EQ(Form1->Label9->text(), "1 (20,10,0)");
}

TEST_F(DragSpaceEditingTest, HoveringWithoutAPickChangesNothing) {
  const int vertex = AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  const QImage before = Form1->DragSpace->Picture().copy();
  Hover(QPoint(110, 80));
  Hover(QPoint(150, 150));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{10, 20, 0}));
  EXPECT_EQ(Form1->DragSpace->Picture(), before);
}

TEST_F(DragSpaceEditingTest, APressThatMissesDuringADragKeepsTheDragGoing) {
  const int first = AddControl(-50, 0, 0);
  const int joint = AddJoint({50, 0, 0}, {});
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(50, 100));
  Press(Qt::RightButton, QPoint(20, 20));
  EXPECT_TRUE(Form1->DragIsControl);
  Move(QPoint(40, 90));
  EXPECT_EQ(CurrentModel.Controls[first], (TControlVertex{-60, 10, 0}));
  // A press that hits switches the drag to the joint.
  Release(Qt::RightButton, QPoint(20, 20));
  Press(Qt::LeftButton, QPoint(40, 90));
  Press(Qt::RightButton, QPoint(150, 100));
  EXPECT_FALSE(Form1->DragIsControl);
  Move(QPoint(160, 110));
  EXPECT_EQ(CurrentModel.Joints[joint].Position, (TControlVertex{60, -10, 0}));
  EXPECT_EQ(CurrentModel.Controls[first], (TControlVertex{-60, 10, 0}));
}

TEST_F(DragSpaceEditingTest, PositionsBeyondThePictureAreStoredUnclamped) {
  const int vertex = AddControl(90, 0, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(190, 100));
  Move(QPoint(230, -15));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{130, 115, 0}));
  EXPECT_EQ(Form1->PlaneControls.Count, 1) << "it stays in the plane";
  Move(QPoint(-20, 300));
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{-120, -200, 0}));
}

TEST_F(DragSpaceEditingTest, ALockedModelAsksForThePasswordAndNeverPicks) {
  const int vertex = AddControl(10, 20, 0);
  AddJoint({10, 20, 0}, {vertex});
  Form1->DrawTheDrag();
  Form1->SetEditAllowed(false);
  QStringList asked;
  for (int i = 0; i < 3; ++i) {
    prompts.dialogActions.push_back([&asked](QDialog& dialog) {
      asked << dialog.windowTitle();
      return int{QDialog::Rejected};
    });
  }
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    Press(button, QPoint(110, 80));
    Move(QPoint(150, 150));
    Release(button, QPoint(150, 150));
  }
  EXPECT_EQ(asked, QStringList(3, QStringLiteral("Enter Object Password")));
  EXPECT_TRUE(prompts.AllAnswersUsed());
  EXPECT_FALSE(Form1->Dragging);
  EXPECT_EQ(CurrentModel.Controls[vertex], (TControlVertex{10, 20, 0}));
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{10, 20, 0}));
  EXPECT_EQ(Form1->Label9->text(), "0 (0,0,0)");
}

TEST_F(DragSpaceEditingTest, ADragFollowsItsListPositionAcrossARedraw) {
  AddControl(-50, 0, 0);
  AddControl(0, 50, 0);
  const int third = AddControl(50, 0, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(100, 50));
  ASSERT_EQ(Form1->DragSlot, 2);
  // Vertex 1 leaves the plane: the second position of the list now holds vertex 3.
  CurrentModel.Controls[1].Z = 9;
  Form1->DrawTheDrag();
  Move(QPoint(160, 120));
  EXPECT_EQ(CurrentModel.Controls[third], (TControlVertex{60, -20, 0}));
  EXPECT_EQ(CurrentModel.Controls[2], (TControlVertex{0, 50, 0}));
  EXPECT_EQ(Form1->Label9->text(), "3 (60,-20,0)");
}

TEST_F(DragSpaceEditingTest, ADragWhoseListPositionWasEmptiedRestsUntilTheRelease) {
  AddControl(-50, 0, 0);
  const int second = AddControl(50, 0, 0);
  Form1->DrawTheDrag();
  Press(Qt::LeftButton, QPoint(150, 100));
  ASSERT_EQ(Form1->DragSlot, 2);
  CurrentModel.Controls[1].Z = 9;
  Form1->DrawTheDrag();
  ASSERT_EQ(Form1->PlaneControls.Count, 1);
  Move(QPoint(160, 120));
  EXPECT_EQ(CurrentModel.Controls[second], (TControlVertex{50, 0, 0}));
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{-50, 0, 9}));
}

TEST_F(DragSpaceEditingTest, ADragEndsWhereItStandsWhenTheDragSpaceLosesTheMouse) {
  const struct {
    const char* what;
    std::function<void()> lose;
  } rows[] = {
      {"a move arrives with no button held", [] { Hover(QPoint(170, 40)); }},
      {"another window becomes active",
       [] {
         Display->activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(Display));
       }},
      {"a modal window opens over it",
       [] {
         QDialog blocker(Form1);
         blocker.setModal(true);
         blocker.show();
         QTest::qWait(50);
       }},
      {"the window is hidden",
       [] {
         Form1->hide();
         Form1->show();
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ApplicationTest::TearDown();
    Start();
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const int vertex = AddControl(10, 20, 0);
    Form1->DrawTheDrag();
    Form1->History->Reset();
    Press(Qt::LeftButton, QPoint(110, 80));
    Move(QPoint(130, 60));
    const TControlVertex dropped{30, 40, 0};
    ASSERT_EQ(CurrentModel.Controls[vertex], dropped);

    row.lose();
    EXPECT_FALSE(Form1->Dragging);
    EXPECT_EQ(Form1->History->UndoText(), "Undo Drag Control");
    // The release that went astray, and the moves and clicks after it, leave the vertex be.
    Move(QPoint(170, 170));
    Release(Qt::LeftButton, QPoint(170, 170));
    QTest::mouseClick(Form1->DragSpace, Qt::LeftButton, {}, QPoint(180, 30));
    EXPECT_EQ(CurrentModel.Controls[vertex], dropped);
    EXPECT_EQ(Form1->History->Steps(), 1);
  }
}

}  // namespace
}  // namespace morv::test
