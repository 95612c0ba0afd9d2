// The dialogs' number fields as the keyboard uses them: typed values are brought into range,
// text that is not a number reads as the lower bound, and the typed value is what OK stores.
#include <QLineEdit>
#include <QTest>

#include "application_fixture.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"

namespace morv::test {
namespace {

// Replaces the field's text by typing, as a user selecting all and typing over it would.
void TypeInto(TSpinEdit* field, const QString& keys) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, keys);
}

// The keyboard rule of one field with range [low, high] whose non-numbers read as `blank`.
void ExpectTypingRule(TSpinEdit* field, int low, int high, int blank) {
  const std::string name = field->objectName().toStdString();
  EXPECT_EQ(field->minimum(), low) << name;
  EXPECT_EQ(field->maximum(), high) << name;

  TypeInto(field, QString::number(high) + "0");
  EXPECT_EQ(field->value(), high) << name << ": past the top";
  // Each non-number follows a value other than the one it reads as, so keeping the old value
  // shows.
  TypeInto(field, QString());
  EXPECT_EQ(field->value(), blank) << name << ": cleared";
  TypeInto(field, low > 0 ? "-" + QString::number(low) : QString::number(low) + "0");
  EXPECT_EQ(field->value(), low) << name << ": past the bottom";
  TypeInto(field, QString::number(high));
  TypeInto(field, QStringLiteral("-"));
  EXPECT_EQ(field->value(), blank) << name << ": a lone sign";
  TypeInto(field, QString::number(high));
  TypeInto(field, QStringLiteral("x"));
  EXPECT_EQ(field->value(), blank) << name << ": letters are not taken";
  EXPECT_EQ(field->text(), "") << name;

  // A value inside the range is taken as typed, digit by digit.
  TypeInto(field, QString::number(high));
  EXPECT_EQ(field->value(), high) << name;
  // Finishing the edit shows the value the field holds.
  TypeInto(field, QString::number(high) + "9");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), QString::number(high)) << name;
}

class NumberFieldsTest : public ApplicationTest {
 protected:
  void SetUp() override {
    Start();
    for (int i = 0; i < 5; ++i) CurrentModel.Controls[++CurrentModel.ControlCount] = {i, i, i};
    CurrentModel.PatchCount = 3;
  }

  template <typename Dialog>
  void Open(const std::function<void()>& command, std::function<void(Dialog&)> action) {
    bool ran = false;
    prompts.dialogActions.push_back([&ran, action](QDialog& dialog) {
      action(dynamic_cast<Dialog&>(dialog));
      ran = true;
      return dialog.result();
    });
    command();
    EXPECT_TRUE(ran);
  }
};

TEST_F(NumberFieldsTest, NewControlVertex) {
  Open<Tnewcontrol>([] { Form1->BitBtn5->click(); },
                    [](Tnewcontrol& d) {
                      ExpectTypingRule(d.xVal, -100, 100, -100);
                      ExpectTypingRule(d.yVal, -100, 100, -100);
                      // The depth has no range: a cleared field reads as 0, and any 32-bit value is
                      // taken.
                      ExpectTypingRule(d.zVal, INT32_MIN, INT32_MAX, 0);
                      TypeInto(d.xVal, "150");
                      TypeInto(d.yVal, "-");
                      TypeInto(d.zVal, "-2147483648");
                      d.BitBtn1->click();
                    });
  const TControlVertex& added = CurrentModel.Controls[6];
  EXPECT_EQ(CurrentModel.ControlCount, 6);
  EXPECT_EQ(added.X, 100);
  EXPECT_EQ(added.Y, -100);
  EXPECT_EQ(added.Z, INT32_MIN);
}

TEST_F(NumberFieldsTest, NewBezierPatch) {
  Open<Tnewbezier>([] { Form1->BitBtn4->click(); },
                   [](Tnewbezier& d) {
                     for (TSpinEdit* field : d.Fields()) ExpectTypingRule(field, 1, 5, 1);
                     TypeInto(d.p1, "9");
                     TypeInto(d.p2, "");
                     TypeInto(d.p3, "-3");
                     TypeInto(d.p8, "4");
                     d.BitBtn1->click();
                   });
  ASSERT_EQ(CurrentModel.PatchCount, 4);
  const TBezierPatch& added = CurrentModel.Patches[4];
  EXPECT_EQ(added.ControlIndex[1], 5);
  EXPECT_EQ(added.ControlIndex[2], 1);
  EXPECT_EQ(added.ControlIndex[3], 1);
  EXPECT_EQ(added.ControlIndex[8], 4);
}

TEST_F(NumberFieldsTest, NewJoint) {
  Open<Tnewjoint>([] { Form1->BitBtn6->click(); },
                  [](Tnewjoint& d) {
                    for (TSpinEdit* field : {d.xVal, d.yVal, d.zVal})
                      ExpectTypingRule(field, -100, 100, -100);
                    ExpectTypingRule(d.mass, 1, 1000, 1);
                    ExpectTypingRule(d.refcon, 1, 5, 1);
                    TypeInto(d.refcon, "77");
                    d.BitBtn2->click();
                    TypeInto(d.refcon, "");
                    d.BitBtn2->click();
                    TypeInto(d.mass, "0");
                    TypeInto(d.zVal, "250");
                    d.BitBtn1->click();
                  });
  ASSERT_EQ(CurrentModel.JointCount, 1);
  const TJoint& added = CurrentModel.Joints[1];
  EXPECT_EQ(added.RefCount, 2);
  EXPECT_EQ(added.ControlRefs[1], 5);
  EXPECT_EQ(added.ControlRefs[2], 1);
  EXPECT_EQ(added.Mass, 1);
  EXPECT_EQ(added.Position.Z, 100);
}

TEST_F(NumberFieldsTest, EditBezierColour) {
  CurrentModel.Patches[3].Colour = 0x123456;
  Open<Teditbez>([] { Form1->EditBzierColour1->trigger(); },
                 [](Teditbez& d) {
                   ExpectTypingRule(d.SpinEdit1, 1, 3, 1);
                   // Each value the typing gives loads that patch's colour into the swatch.
                   TypeInto(d.SpinEdit1, "8");
                   EXPECT_EQ(d.Shape1->Colour(), 0x123456);
                   d.Button1->click();
                 });
}

}  // namespace
}  // namespace morv::test
