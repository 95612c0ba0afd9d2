// Adding, deleting and colouring elements through the main window's buttons and menus, with the
// dialogs answered by script.
#include <QTest>

#include "application_fixture.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"

namespace morv::test {
namespace {

class ElementCommandsTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  void AddVertex(int x, int y, int z) {
    Script<Tnewcontrol>([&](Tnewcontrol& d) {
      d.xVal->setValue(x);
      d.yVal->setValue(y);
      d.zVal->setValue(z);
      d.BitBtn1->click();
    });
    Form1->BitBtn5->click();
  }

  void SelectPlane(QRadioButton* plane, int level) {
    plane->click();
    Form1->PLv->setValue(level);
  }
};

TEST_F(ElementCommandsTest, NewControlVertexStartsAtThePlaneLevelOfTheShownPlane) {
  struct Case {
    QRadioButton* plane;
    int level;
    int x, y, z;
  };
  for (const Case& c : {Case{Form1->PLyz, 37, 37, 0, 0}, Case{Form1->PLxy, 150, 0, 0, 150},
                        Case{Form1->PLxz, 150, 0, 100, 0}, Case{Form1->PLyz, -180, -100, 0, 0}}) {
    SelectPlane(c.plane, c.level);
    int seen[3] = {};
    Script<Tnewcontrol>([&](Tnewcontrol& d) {
      seen[0] = d.xVal->value();
      seen[1] = d.yVal->value();
      seen[2] = d.zVal->value();
      d.Button1->click();
    });
    Form1->BitBtn5->click();
    EXPECT_EQ(seen[0], c.x);
    EXPECT_EQ(seen[1], c.y);
    EXPECT_EQ(seen[2], c.z);
  }
  EXPECT_EQ(CurrentModel.ControlCount, 0) << "cancel adds nothing";
  EXPECT_EQ(newcontrol->zVal->value(), 0) << "closing resets the fields";
}

TEST_F(ElementCommandsTest, OkAppendsTheControlVertexAndResetsTheFields) {
  AddVertex(-100, 100, 123456);
  AddVertex(5, -3, 0);
  ASSERT_EQ(CurrentModel.ControlCount, 2);
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{-100, 100, 123456}));
  EXPECT_EQ(CurrentModel.Controls[2], (TControlVertex{5, -3, 0}));
  EXPECT_EQ(newcontrol->xVal->value(), 0);
  EXPECT_EQ(newcontrol->zVal->value(), 0);
  newcontrol->xVal->setValue(250);
  EXPECT_EQ(newcontrol->xVal->value(), 100) << "the field keeps to -100..100";
  EXPECT_TRUE(newcontrol->BitBtn1->isDefault());
}

TEST_F(ElementCommandsTest, NewPatchFieldsNameOnlyExistingVertices) {
  for (int i = 0; i < 5; ++i) AddVertex(i, 0, 0);
  int maximum = 0;
  Script<Tnewbezier>([&](Tnewbezier& d) {
    maximum = d.p8->maximum();
    d.p1->setValue(9);
    EXPECT_EQ(d.p1->value(), 5);
    d.Button1->click();
  });
  Form1->BitBtn4->click();
  EXPECT_EQ(maximum, 5);
  EXPECT_EQ(newbezier->p1->value(), 1) << "cancel resets";
  EXPECT_EQ(CurrentModel.PatchCount, 0);

  AddVertex(6, 0, 0);
  Script<Tnewbezier>([&](Tnewbezier& d) {
    maximum = d.p1->maximum();
    d.Button1->click();
  });
  Form1->BitBtn4->click();
  EXPECT_EQ(maximum, 6);
}

TEST_F(ElementCommandsTest, OkAppendsThePatchWithItsColourAndRedrawsBothViews) {
  for (int i = 0; i < 8; ++i) AddVertex(i * 10, i < 4 ? 30 : 0, 0);
  Form1->show();
  prompts.colourAnswers = {255};
  Script<Tnewbezier>([&](Tnewbezier& d) {
    for (int k = 0; k < 8; ++k) d.Fields()[k]->setValue(k < 4 ? 4 - k : k + 1);
    QTest::mouseClick(d.Shape1, Qt::LeftButton);
    d.BitBtn1->click();
  });
  Form1->BitBtn4->click();
  ASSERT_EQ(CurrentModel.PatchCount, 1);
  const TBezierPatch& p = CurrentModel.Patches[1];
  EXPECT_EQ(p.ControlIndex[1], 4);
  EXPECT_EQ(p.ControlIndex[4], 1);
  EXPECT_EQ(p.ControlIndex[5], 5);
  EXPECT_EQ(p.ControlIndex[8], 8);
  EXPECT_EQ(p.Colour, 255);
  EXPECT_EQ(prompts.colourPresets, std::vector<int32_t>{ColourWhite});
  EXPECT_EQ(newbezier->Shape1->Colour(), ColourWhite) << "OK resets the swatch";
  EXPECT_EQ(newbezier->p4->value(), 1);
  EXPECT_EQ(SceneObject.PatchCount, 1) << "the 3D view was redrawn";
}

TEST_F(ElementCommandsTest, APatchNeedsAControlVertex) {
  Form1->BitBtn4->click();
  EXPECT_EQ(prompts.messages,
            QStringList{QStringLiteral(
                "A Bézier patch joins control vertices: add a control vertex first.")});
  EXPECT_EQ(CurrentModel.PatchCount, 0);
  EXPECT_TRUE(prompts.AllAnswersUsed());
}

TEST_F(ElementCommandsTest, JointCollectsItsReferencesInOrderAndCarriesThem) {
  for (int i = 0; i < 9; ++i) AddVertex(i, i, 0);
  SelectPlane(Form1->PLxz, 12);
  Script<Tnewjoint>([&](Tnewjoint& d) {
    EXPECT_EQ(d.yVal->value(), 12);
    EXPECT_EQ(d.refcon->maximum(), 9);
    d.xVal->setValue(3);
    d.mass->setValue(2000);
    EXPECT_EQ(d.mass->value(), 1000);
    for (int ref : {4, 4, 9}) {
      d.refcon->setValue(ref);
      d.BitBtn2->click();
      EXPECT_EQ(d.refcon->value(), 1) << "the field goes back to the first vertex";
    }
    d.BitBtn1->click();
  });
  Form1->BitBtn6->click();
  ASSERT_EQ(CurrentModel.JointCount, 1);
  const TJoint& j = CurrentModel.Joints[1];
  EXPECT_EQ(j.Position, (TControlVertex{3, 12, 0}));
  EXPECT_EQ(j.Mass, 1000);
  ASSERT_EQ(j.RefCount, 3);
  EXPECT_EQ(j.ControlRefs[1], 4);
  EXPECT_EQ(j.ControlRefs[2], 4);
  EXPECT_EQ(j.ControlRefs[3], 9);
  EXPECT_EQ(newjoint->mass->value(), 1);
  EXPECT_EQ(newjoint->PendingRefs.Count, 0);
  MoveJoint(CurrentModel, 1, 4, 12, 0);
  EXPECT_EQ(CurrentModel.Controls[4], (TControlVertex{5, 3, 0})) << "listed twice, moved twice";
}

TEST_F(ElementCommandsTest, ACancelledJointLeavesNoReferencesForTheNext) {
  AddVertex(1, 1, 1);
  Script<Tnewjoint>([&](Tnewjoint& d) {
    d.BitBtn2->click();
    d.BitBtn2->click();
    d.Button1->click();
  });
  Form1->BitBtn6->click();
  EXPECT_EQ(CurrentModel.JointCount, 0);
  Script<Tnewjoint>([&](Tnewjoint& d) { d.BitBtn1->click(); });
  Form1->BitBtn6->click();
  ASSERT_EQ(CurrentModel.JointCount, 1);
  EXPECT_EQ(CurrentModel.Joints[1].RefCount, 0);
}

TEST_F(ElementCommandsTest, AJointWithoutVerticesGetsNoReferenceAndAFullOneNoMore) {
  Script<Tnewjoint>([&](Tnewjoint& d) {
    d.BitBtn2->click();
    d.BitBtn1->click();
  });
  Form1->BitBtn6->click();
  EXPECT_EQ(prompts.messages,
            QStringList{QStringLiteral("There is no control vertex for the joint to carry.")});
  ASSERT_EQ(CurrentModel.JointCount, 1);
  EXPECT_EQ(CurrentModel.Joints[1].RefCount, 0);

  AddVertex(0, 0, 0);
  Script<Tnewjoint>([&](Tnewjoint& d) {
    for (int i = 0; i < 101; ++i) d.BitBtn2->click();
    d.BitBtn1->click();
  });
  Form1->BitBtn6->click();
  EXPECT_EQ(CurrentModel.Joints[2].RefCount, 100);
  EXPECT_EQ(prompts.messages.back(), "A joint carries at most 100 control vertices.");
}

TEST_F(ElementCommandsTest, FullListsRefuseWithAMessage) {
  CurrentModel.ControlCount = MaxControls;
  CurrentModel.PatchCount = MaxPatches;
  CurrentModel.JointCount = MaxJoints;
  Form1->BitBtn5->click();
  Form1->BitBtn4->click();
  Form1->BitBtn6->click();
  EXPECT_EQ(prompts.messages,
            (QStringList{QStringLiteral("A model holds at most 1000 control vertices."),
                         QStringLiteral("A model holds at most 1000 Bézier patches."),
                         QStringLiteral("A model holds at most 1000 joints.")}));
  EXPECT_EQ(CurrentModel.ControlCount, MaxControls);
}

TEST_F(ElementCommandsTest, DeletingTheLastKeepsReferencesForTheNextElement) {
  for (int i = 1; i <= 10; ++i) AddVertex(i, 0, 0);
  CurrentModel.PatchCount = 2;
  CurrentModel.Patches[2].ControlIndex[3] = 10;
  Form1->LastControl1->trigger();
  EXPECT_EQ(CurrentModel.ControlCount, 9);
  EXPECT_EQ(CurrentModel.Patches[2].ControlIndex[3], 10);
  AddVertex(77, 0, 0);
  EXPECT_EQ(CurrentModel.Controls[CurrentModel.Patches[2].ControlIndex[3]].X, 77);

  Form1->LastB1->trigger();
  Form1->LastB1->trigger();
  Form1->LastB1->trigger();
  EXPECT_EQ(CurrentModel.PatchCount, 0) << "never below zero";
  Form1->Last1->trigger();
  EXPECT_EQ(CurrentModel.JointCount, 0);
}

TEST_F(ElementCommandsTest, EachLastCommandRedrawsThe3DView) {
  // Two flat patches facing the viewer, red on the left and blue on the right; the red one ends
  // on the last control vertex, and a joint carries the first.
  auto addPatch = [](int left, int32_t colour, int lastCorner) {
    TBezierPatch& patch = CurrentModel.Patches[++CurrentModel.PatchCount];
    for (int k = 0; k < 8; ++k) {
      patch.ControlIndex[k + 1] = AddControl(left + (k % 4) * 25, k < 4 ? 60 : 0, 0);
    }
    if (lastCorner != 0) patch.ControlIndex[8] = lastCorner;
    patch.Colour = colour;
  };
  addPatch(-90, 255, 17);
  addPatch(15, 0xFF0000, 0);
  AddControl(-15, 0, 0);
  ASSERT_EQ(CurrentModel.ControlCount, 17);
  AddJoint({0, 0, 0}, {1});
  Form1->show();
  Form1->DrawTheThing();

  struct Seen {
    int red = 0;
    int blue = 0;
  };
  auto picture = [&] {
    Form1->FinishRendering();
    const QImage image = Display->MainView->Canvas().Snapshot();
    Seen seen;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        seen.red += qRed(p) > 0 && qGreen(p) == 0 && qBlue(p) == 0 ? 1 : 0;
        seen.blue += qBlue(p) > 0 && qRed(p) == 0 && qGreen(p) == 0 ? 1 : 0;
      }
    }
    return seen;
  };
  const Seen both = picture();
  ASSERT_GT(both.red, 1000);
  ASSERT_GT(both.blue, 1000);

  // A joint does not show in the 3D view; the view's snapshot of the model does lose it.
  Form1->Last1->trigger();
  EXPECT_EQ(SceneObject.JointCount, 0);
  EXPECT_EQ(SceneObject, CurrentModel);

  // Without its last corner the red patch is no longer drawn.
  Form1->LastControl1->trigger();
  EXPECT_EQ(SceneObject.ControlCount, 16);
  EXPECT_EQ(SceneObject, CurrentModel);
  const Seen blueOnly = picture();
  EXPECT_EQ(blueOnly.red, 0);
  EXPECT_EQ(blueOnly.blue, both.blue);

  Form1->LastB1->trigger();
  EXPECT_EQ(SceneObject.PatchCount, 1);
  EXPECT_EQ(SceneObject, CurrentModel);
  EXPECT_EQ(picture().blue, 0);
}

TEST_F(ElementCommandsTest, EditColourStartsWhiteLoadsOnSelectionAndSetsOnOk) {
  CurrentModel.PatchCount = 3;
  for (int i = 1; i <= 3; ++i) CurrentModel.Patches[i].Colour = 100 * i;
  Script<Teditbez>([&](Teditbez& d) {
    EXPECT_EQ(d.SpinEdit1->maximum(), 3);
    EXPECT_EQ(d.Shape1->Colour(), ColourWhite);
    d.Button1->click();
  });
  Form1->EditBzierColour1->trigger();
  EXPECT_EQ(CurrentModel.Patches[1].Colour, ColourWhite) << "OK at once whitens patch 1";

  prompts.colourAnswers = {0x00FF00};
  Script<Teditbez>([&](Teditbez& d) {
    d.SpinEdit1->setValue(3);
    EXPECT_EQ(d.Shape1->Colour(), 300);
    QTest::mouseClick(d.Shape1, Qt::LeftButton);
    d.Button1->click();
  });
  Form1->EditBzierColour1->trigger();
  EXPECT_EQ(CurrentModel.Patches[3].Colour, 0x00FF00);
  EXPECT_EQ(prompts.colourPresets, std::vector<int32_t>{300});
  EXPECT_EQ(editbez->SpinEdit1->value(), 1);
  EXPECT_EQ(editbez->Shape1->Colour(), ColourWhite);

  Script<Teditbez>([&](Teditbez& d) {
    d.SpinEdit1->setValue(2);
    d.Button2->click();
  });
  Form1->EditBzierColour1->trigger();
  EXPECT_EQ(CurrentModel.Patches[2].Colour, 200) << "cancel changes nothing";
}

TEST_F(ElementCommandsTest, EditColourWithoutPatchesWritesNothing) {
  const int32_t before = CurrentModel.Patches[1].Colour;
  Form1->EditBzierColour1->trigger();
  EXPECT_EQ(prompts.messages,
            QStringList{QStringLiteral("The model has no Bézier patch to colour.")});
  EXPECT_EQ(CurrentModel.Patches[1].Colour, before);
}

TEST_F(ElementCommandsTest, RandomColoursAreNeverWhiteAndShowOnlyAtTheNextRedraw) {
  CurrentModel.PatchCount = 1000;
  for (int i = 1; i <= 1000; ++i) CurrentModel.Patches[i].Colour = ColourWhite;
  Form1->DrawTheThing();
  Form1->RandomizeBzierColours1->trigger();
  int distinct = 0;
  for (int i = 1; i <= 1000; ++i) {
    const int32_t c = CurrentModel.Patches[i].Colour;
    EXPECT_GE(c, 0);
    EXPECT_LT(c, ColourWhite);
    distinct += c != CurrentModel.Patches[1].Colour ? 1 : 0;
  }
  EXPECT_GT(distinct, 900);
  EXPECT_EQ(SceneObject.Patches[1].Colour, ColourWhite) << "nothing redrawn";
}

// Cancel must leave every field as the next opening expects to find it, whatever was entered.
TEST_F(ElementCommandsTest, CancelResetsEveryFieldOfTheControlVertexDialog) {
  Script<Tnewcontrol>([&](Tnewcontrol& d) {
    d.xVal->setValue(-7);
    d.yVal->setValue(55);
    d.zVal->setValue(123456);
    d.Button1->click();
  });
  Form1->BitBtn5->click();
  EXPECT_EQ(CurrentModel.ControlCount, 0);
  EXPECT_EQ(newcontrol->xVal->value(), 0);
  EXPECT_EQ(newcontrol->yVal->value(), 0);
  EXPECT_EQ(newcontrol->zVal->value(), 0);
}

TEST_F(ElementCommandsTest, CancelResetsEveryFieldOfThePatchDialogAndItsSwatch) {
  for (int i = 0; i < 9; ++i) AddControl(i, 0, 0);
  prompts.colourAnswers = {0x123456};
  Script<Tnewbezier>([&](Tnewbezier& d) {
    for (int k = 0; k < 8; ++k) d.Fields()[k]->setValue(k + 2);
    QTest::mouseClick(d.Shape1, Qt::LeftButton);
    EXPECT_EQ(d.Shape1->Colour(), 0x123456);
    d.Button1->click();
  });
  Form1->BitBtn4->click();
  EXPECT_EQ(CurrentModel.PatchCount, 0);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(newbezier->Fields()[k]->value(), 1) << "p" << k + 1;
  EXPECT_EQ(newbezier->Shape1->Colour(), ColourWhite);
}

TEST_F(ElementCommandsTest, CancelResetsEveryFieldOfTheJointDialogAndDropsItsReferences) {
  for (int i = 0; i < 3; ++i) AddControl(i, 0, 0);
  Script<Tnewjoint>([&](Tnewjoint& d) {
    d.xVal->setValue(5);
    d.yVal->setValue(-6);
    d.zVal->setValue(7);
    d.mass->setValue(500);
    d.refcon->setValue(3);
    d.BitBtn2->click();
    d.BitBtn2->click();
    EXPECT_EQ(d.PendingRefs.Count, 2);
    d.Button1->click();
  });
  Form1->BitBtn6->click();
  EXPECT_EQ(CurrentModel.JointCount, 0);
  EXPECT_EQ(newjoint->xVal->value(), 0);
  EXPECT_EQ(newjoint->yVal->value(), 0);
  EXPECT_EQ(newjoint->zVal->value(), 0);
  EXPECT_EQ(newjoint->mass->value(), 1);
  EXPECT_EQ(newjoint->PendingRefs.Count, 0);
}

TEST_F(ElementCommandsTest, CancelResetsTheColourDialogsSelectorAndSwatchToWhite) {
  CurrentModel.PatchCount = 3;
  for (int i = 1; i <= 3; ++i) CurrentModel.Patches[i].Colour = 100 * i;
  const TMorvObject before = CurrentModel;
  prompts.colourAnswers = {0x00FF00};
  Script<Teditbez>([&](Teditbez& d) {
    d.SpinEdit1->setValue(2);
    QTest::mouseClick(d.Shape1, Qt::LeftButton);
    EXPECT_EQ(d.Shape1->Colour(), 0x00FF00);
    d.Button2->click();
  });
  Form1->EditBzierColour1->trigger();
  EXPECT_EQ(CurrentModel, before);
  EXPECT_EQ(editbez->SpinEdit1->value(), 1);
  // White, not the colour of patch 1 that the selector's return to 1 loads.
  EXPECT_EQ(editbez->Shape1->Colour(), ColourWhite);
}

TEST_F(ElementCommandsTest, TheMenusOpenUnderTheirButtons) {
  Form1->show();
  Form1->button5->click();
  EXPECT_TRUE(Form1->PopupMenu1->isVisible());
  EXPECT_EQ(Form1->PopupMenu1->pos(), Form1->PopupPosition(Form1->button5));
  Form1->PopupMenu1->close();
  Form1->button4->click();
  EXPECT_TRUE(Form1->PopupMenu2->isVisible());
  Form1->PopupMenu2->close();
}

}  // namespace
}  // namespace morv::test
