// The dialogs' number fields as the keyboard uses them: typed values are brought into range,
// text that is not a number reads as the lower bound, and the typed value is what OK stores.
#include <QLineEdit>
#include <QTest>

#include "application_fixture.h"
#include "ui/animation_console.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/mechanics_console.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"
#include "widgets/qt_prompts.h"

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

// One keystroke or a run of typed text, sent to whatever holds the keyboard focus.
struct Stroke {
  QString text;
  Qt::Key key = Qt::Key_unknown;
};

Stroke Key(Qt::Key key) { return {QString(), key}; }

// Types into `window` as a user would, once it is shown and active: each stroke goes to the
// widget that has the focus at that moment.
void TypeOnceActive(QWidget* window, std::vector<Stroke> strokes, bool& typed) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, window, strokes, &typed] {
    if (!window->isVisible() || QApplication::activeWindow() != window) return;
    poll->deleteLater();
    poll->stop();
    typed = true;
    for (const Stroke& stroke : strokes) {
      QWidget* focus = QApplication::focusWidget();
      if (focus == nullptr) return ADD_FAILURE() << "nothing has the focus";
      if (stroke.key == Qt::Key_unknown) {
        QTest::keyClicks(focus, stroke.text);
      } else {
        QTest::keyClick(focus, stroke.key);
      }
    }
  });
  poll->start(10);
}

// The windows with the real dialogs, opened by their buttons and typed into with real keys.
class TypedNumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application = std::make_unique<TMorvApplication>(prompts, joystick, QString());
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  }
  void TearDown() override { application.reset(); }

  // Opens a dialog through its button, types `strokes` and waits until it has closed.
  static void OpenAndType(QToolButton* button, QDialog* dialog, std::vector<Stroke> strokes) {
    bool typed = false;
    TypeOnceActive(dialog, std::move(strokes), typed);
    // The dialog runs its own event loop inside the click: the keys arrive from a timer.
    QTimer::singleShot(0, button, [button] { button->click(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return typed && !dialog->isVisible(); }, 5000));
  }

  QtPrompts prompts;
  FakeJoystickService joystick;
  std::unique_ptr<TMorvApplication> application;
};

TEST_F(TypedNumbersTest, DialogsOpenOnTheirFirstFieldAndTypingReplacesEachNumber) {
  const auto tab = Key(Qt::Key_Tab);
  const auto enter = Key(Qt::Key_Return);
  // Twice, so the second opening starts from the first field again, not the one used last.
  OpenAndType(Form1->BitBtn5, newcontrol, {{"-60"}, tab, {"40"}, tab, {"0"}, enter});
  OpenAndType(Form1->BitBtn5, newcontrol, {{"-20"}, tab, {"60"}, tab, {"7"}, enter});
  ASSERT_EQ(CurrentModel.ControlCount, 2);
  EXPECT_EQ(CurrentModel.Controls[1], (TControlVertex{-60, 40, 0}));
  EXPECT_EQ(CurrentModel.Controls[2], (TControlVertex{-20, 60, 7}));

  std::vector<Stroke> patch;
  for (const char* index : {"2", "1", "2", "1", "1", "2", "2", "1"}) {
    patch.push_back({QString::fromLatin1(index)});
    patch.push_back(tab);
  }
  patch.back() = enter;
  OpenAndType(Form1->BitBtn4, newbezier, patch);
  ASSERT_EQ(CurrentModel.PatchCount, 1);
  const int32_t expected[] = {2, 1, 2, 1, 1, 2, 2, 1};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(CurrentModel.Patches[1].ControlIndex[k + 1], expected[k]);

  OpenAndType(Form1->BitBtn6, newjoint, {{"-5"}, tab, {"15"}, tab, {"25"}, tab, {"300"}, enter});
  ASSERT_EQ(CurrentModel.JointCount, 1);
  EXPECT_EQ(CurrentModel.Joints[1].Position, (TControlVertex{-5, 15, 25}));
  EXPECT_EQ(CurrentModel.Joints[1].Mass, 300);
}

TEST_F(TypedNumbersTest, ConsoleFieldsReachedByTheKeyboardTakeTheTypedNumber) {
  CurrentModel.Joints[++CurrentModel.JointCount] = TJoint{};
  for (QWidget* console : {static_cast<QWidget*>(anim), static_cast<QWidget*>(phys)}) {
    console->show();
    console->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(console));
  }
  const struct {
    QWidget* before;
    TSpinEdit* field;
    Qt::Key key;
  } rows[] = {{anim->BitBtn4, anim->xL, Qt::Key_Tab},
              {anim->zL, anim->yL, Qt::Key_Backtab},
              {anim->repeator, anim->Speed, Qt::Key_Tab},
              {phys->jsel, phys->fX, Qt::Key_Tab},
              {phys->fZ, phys->fY, Qt::Key_Backtab}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.field->objectName().toStdString());
    QWidget* console = row.field->window();
    console->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(console));
    row.field->setValue(5);
    row.before->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(row.before, row.key);
    ASSERT_EQ(QApplication::focusWidget(), row.field);
    QTest::keyClicks(row.field, "3");
    EXPECT_EQ(row.field->value(), 3);
  }
}

TEST_F(TypedNumbersTest, TheColourDialogShowsTheSelectedPatchsColourFromTheStart) {
  for (int i = 0; i < 2; ++i) CurrentModel.Controls[++CurrentModel.ControlCount] = {i, i, i};
  CurrentModel.PatchCount = 2;
  CurrentModel.Patches[1].Colour = 0x2860B4;
  CurrentModel.Patches[2].Colour = 0x00FF00;
  std::optional<int32_t> seen;
  auto* poll = new QTimer(Form1);
  QObject::connect(poll, &QTimer::timeout, [poll, &seen] {
    if (!editbez->isVisible()) return;
    poll->stop();
    seen = editbez->Shape1->Colour();
    editbez->Button1->click();  // OK without a change
  });
  poll->start(10);
  QTimer::singleShot(0, [] { Form1->EditBzierColour1->trigger(); });
  ASSERT_TRUE(QTest::qWaitFor([&seen] { return seen.has_value() && !editbez->isVisible(); }, 5000));
  EXPECT_EQ(*seen, 0x2860B4);
  EXPECT_EQ(CurrentModel.Patches[1].Colour, 0x2860B4) << "a look keeps the colour";
  EXPECT_EQ(CurrentModel.Patches[2].Colour, 0x00FF00);
}

}  // namespace
}  // namespace morv::test
