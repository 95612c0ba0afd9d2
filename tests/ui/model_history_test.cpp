// The model's history through the real commands: every kind of change undoes and redoes as one
// named step, the keys reach it wherever the focus is, and the steps stay within their memory.
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "application_fixture.h"
#include "bench/full_model.h"
#include "drawing/drag_space_drawing.h"
#include "engine/animation.h"
#include "engine/mechanics.h"
#include "engine/model_diff.h"
#include "engine/model_file.h"
#include "platform/text_file.h"
#include "ui/animation_console.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/mechanics_console.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"
#include "ui/owner_info_dialog.h"
#include "ui/password_dialog.h"

namespace morv::test {
namespace {

// The pixel of the drag space that stands for a point of the x-y plane.
QPoint PixelOf(const TControlVertex& at) {
  for (int py = 0; py < 200; ++py) {
    for (int px = 0; px < 200; ++px) {
      const TDragPoint p = PixelToDrag(px, py);
      if (p.H == at.X && p.V == at.Y) return {px, py};
    }
  }
  ADD_FAILURE() << "no pixel for (" << at.X << "," << at.Y << ")";
  return {};
}

class ModelHistoryTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  // A drag of several moves with one button from `from` to `to` in the x-y plane.
  static void Drag(Qt::MouseButton button, const TControlVertex& from, const TControlVertex& to) {
    QTest::mousePress(Form1->DragSpace, button, {}, PixelOf(from));
    for (int step = 1; step <= 4; ++step) {
      const TControlVertex at{from.X + (to.X - from.X) * step / 4,
                              from.Y + (to.Y - from.Y) * step / 4, 0};
      QMouseEvent move(QEvent::MouseMove, PixelOf(at), Form1->DragSpace->mapToGlobal(PixelOf(at)),
                       button, button, Qt::NoModifier);
      QApplication::sendEvent(Form1->DragSpace, &move);
    }
    QTest::mouseRelease(Form1->DragSpace, button, {}, PixelOf(to));
  }

  // Both views show the working model: the 3D view's scene and the drag space as drawn afresh.
  static void ExpectViewsShowTheModel(const char* when) {
    Form1->FinishRendering();
    EXPECT_TRUE(SameModel(SceneObject, CurrentModel)) << when << ": the 3D view";
    QImage expected(200, 200, QImage::Format_RGB32);
    TPlaneList controls;
    TPlaneList joints;
    DrawDragSpace(CurrentModel, Form1->ViewPlane(), Form1->PlaneLevel(), expected, controls,
                  joints);
    EXPECT_TRUE(Form1->DragSpace->Picture() == expected) << when << ": the drag space";
    EXPECT_EQ(Form1->Edit1->text(), QString::fromLatin1(CurrentModel.Name.c_str())) << when;
  }

  // Answers the next password prompt with `typed` and OK.
  void AnswerPassword(const std::string& typed) {
    prompts.dialogActions.push_back([typed](QDialog& dialog) {
      auto& prompt = dynamic_cast<Tpassword&>(dialog);
      prompt.Edit1->setText(QString::fromStdString(typed));
      prompt.BitBtn1->click();
      return prompt.result();
    });
  }

  // The keys of the history, as the user presses them in the main window.
  static void UndoKey() { QTest::keyClick(Form1, Qt::Key_Z, Qt::ControlModifier); }
  static void RedoKey() { QTest::keyClick(Form1, Qt::Key_Y, Qt::ControlModifier); }

  static TMorvObject ModelOfFile(const QString& name) {
    TMorvObject model;
    LoadModel(ReadTextLines(DataFile(name)), model);
    return model;
  }

  // The animation pump's ticks while `run` runs.
  static int TicksDuring(const std::function<void()>& run) {
    int ticks = 0;
    const QMetaObject::Connection counting =
        QObject::connect(Form1->AnimationPump, &QTimer::timeout, [&ticks] { ++ticks; });
    run();
    QObject::disconnect(counting);
    return ticks;
  }
};

TEST_F(ModelHistoryTest, EveryKindOfCommandUndoesAndRedoesAsOneNamedStep) {
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  const TMorvObject start = CurrentModel;
  struct Row {
    QString step;
    std::function<void()> command;
  };
  auto addControl = [this](int x, int y) {
    return [this, x, y] {
      Script<Tnewcontrol>([x, y](Tnewcontrol& d) {
        d.xVal->setValue(x);
        d.yVal->setValue(y);
        d.BitBtn1->click();
      });
      Form1->BitBtn5->click();
    };
  };
  const std::vector<Row> rows = {
      {"Add Control", addControl(-30, 40)},
      {"Add Control", addControl(50, -20)},
      {QStringLiteral("Add Bézier"),
       [&] {
         Script<Tnewbezier>([](Tnewbezier& d) {
           for (TSpinEdit* p : {d.p1, d.p2, d.p3, d.p4}) p->setValue(1);
           for (TSpinEdit* p : {d.p5, d.p6, d.p7, d.p8}) p->setValue(2);
           d.BitBtn1->click();
         });
         Form1->BitBtn4->click();
       }},
      {"Add Joint",
       [&] {
         Script<Tnewjoint>([](Tnewjoint& d) {
           d.xVal->setValue(10);
           d.yVal->setValue(10);
           d.mass->setValue(4);
           d.refcon->setValue(2);
           d.BitBtn2->click();
           d.BitBtn1->click();
         });
         Form1->BitBtn6->click();
       }},
      {"Drag Control",
       [] {
         Drag(Qt::LeftButton, {-30, 40, 0}, {-60, 70, 0});
       }},
      {"Drag Joint",
       [] {
         Drag(Qt::RightButton, {10, 10, 0}, {30, -40, 0});
       }},
      {"Rename",
       [] {
         Form1->Edit1->setFocus();
         Form1->Edit1->selectAll();
         QTest::keyClicks(Form1->Edit1, "Bird");
         Form1->BitBtn1->setFocus();
       }},
      {QStringLiteral("Edit Bézier Colour"),
       [&] {
         Script<Teditbez>([](Teditbez& d) {
           d.SpinEdit1->setValue(1);
           d.Shape1->SetColour(0x123456);
           d.Button1->click();
         });
         Form1->EditBzierColour1->trigger();
       }},
      {QStringLiteral("Randomize Bézier Colours"),
       [] { Form1->RandomizeBzierColours1->trigger(); }},
      {"Set Owner Information",
       [&] {
         Script<Townerinfo>([](Townerinfo& d) {
           d.Edit1->setText("Ann");
           d.Edit2->setText("pw");
           d.CheckBox1->setChecked(true);
           d.BitBtn1->click();
         });
         Form1->SetOwnerInfo1->trigger();
       }},
      {"Animation",
       [] {
         // Recorded in the console as a user would.
         anim->jID->setValue(1);
         for (const TControlVertex& at : {TControlVertex{80, 0, 0}, TControlVertex{80, 60, 0}}) {
           anim->xL->setValue(at.X);
           anim->yL->setValue(at.Y);
           anim->BitBtn6->click();
         }
         anim->Speed->setValue(5);
         anim->BitBtn8->click();
         anim->animlistbox->setCurrentIndex(AnimationSet.Count - 1);
         // Play puts the joint on its first location at once.
         anim->BitBtn3->click();
         for (int tick = 0; tick < 6; ++tick) Form1->AnimationPumpTimer();
       }},
      {"Mechanics",
       [] {
         ApplyForce(CurrentModel, 1, {0, 500, 0});
         for (int tick = 0; tick < 3; ++tick) Form1->PhysicsPumpTimer();
       }},
      {"Delete Last Joint", [] { Form1->Last1->trigger(); }},
      {QStringLiteral("Delete Last Bézier"), [] { Form1->LastB1->trigger(); }},
      {"Delete Last Control", [] { Form1->LastControl1->trigger(); }},
      {"Load",
       [&] {
         prompts.saveAnswers = {SaveAnswer::Discard};
         prompts.fileAnswers = {DataFile("tetra.MVD")};
         Form1->BitBtn1->click();
       }},
  };
  std::vector<TMorvObject> states{CurrentModel};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.step.toStdString());
    const TMorvObject before = CurrentModel;
    row.command();
    // The menu names what a timer has changed once it is opened.
    Form1->History->Record();
    ASSERT_FALSE(SameModel(before, CurrentModel)) << "the command changed nothing";
    const TMorvObject after = CurrentModel;
    EXPECT_EQ(Form1->Undo1->text(), "Undo " + row.step);
    EXPECT_FALSE(Form1->Redo1->isEnabled());

    Form1->Undo1->trigger();
    EXPECT_TRUE(SameModel(CurrentModel, before));
    EXPECT_EQ(Form1->Redo1->text(), "Redo " + row.step);
    ExpectViewsShowTheModel("undone");
    Form1->Redo1->trigger();
    EXPECT_TRUE(SameModel(CurrentModel, after));
    ExpectViewsShowTheModel("redone");
    states.push_back(CurrentModel);
  }
  EXPECT_TRUE(prompts.AllAnswersUsed());
  // The motion of the mechanics is no step: undoing leaves the joint's velocity as it is.
  const TVelocity3D moving = CurrentModel.Joints[1].Velocity;

  // Back to the start, one step at a time; the lock set above does not stop the owner's own run.
  for (std::size_t s = states.size() - 1; s-- > 0;) {
    Form1->Undo1Click();
    ASSERT_TRUE(SameModel(CurrentModel, states[s]))
        << "back to before " << rows[s].step.toStdString();
  }
  EXPECT_TRUE(SameModel(CurrentModel, start));
  EXPECT_EQ(CurrentModel.Joints[1].Velocity, moving);
  EXPECT_FALSE(Form1->Undo1->isEnabled());
  EXPECT_EQ(Form1->Undo1->text(), "Undo");
  ExpectViewsShowTheModel("at the start");
  // The model last loaded is the one the last step brought; back there it is unchanged again.
  EXPECT_TRUE(Form1->History->Changed());
  while (Form1->Redo1->isEnabled()) Form1->Redo1->trigger();
  EXPECT_TRUE(SameModel(CurrentModel, states.back()));
  EXPECT_FALSE(Form1->History->Changed());
}

TEST_F(ModelHistoryTest, TheKeysReachTheHistoryWhereverTheFocusIsAndOnlyThere) {
  Form1->show();
  Display->show();
  // One visit of the name field is one step, and Ctrl+Z there is the model's undo, not the field's.
  Form1->Edit1->setFocus();
  Form1->Edit1->selectAll();
  QTest::keyClicks(Form1->Edit1, "Cat");
  QTest::keyClicks(Form1->Edit1, "fish");
  QTest::keyClick(Form1->Edit1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  EXPECT_EQ(Form1->Edit1->text(), "MyObject");
  struct Press {
    QWidget* target;
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    const char* name;
  };
  for (const Press& p :
       {Press{Display->xV, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, "Catfish"},
        Press{Form1->DragSpace, Qt::ControlModifier, Qt::Key_Z, "MyObject"},
        Press{Display, Qt::ControlModifier, Qt::Key_Y, "Catfish"},
        Press{Form1->PLv, Qt::ControlModifier, Qt::Key_Z, "MyObject"},
        Press{Form1->Edit1, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, "Catfish"}}) {
    QTest::keyClick(p.target, p.key, p.modifiers);
    EXPECT_EQ(CurrentModel.Name, p.name) << p.target->objectName().toStdString();
  }
  EXPECT_EQ(Form1->Edit1->text(), "Catfish");
  EXPECT_EQ(Display->windowTitle(), "3D Display - Catfish");

  // The dialogs keep their own keys.
  QTest::keyClick(newcontrol->xVal, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(CurrentModel.Name, "Catfish");

  // Behind the editing gate, a key shows the password prompt and takes nothing back.
  Form1->SetEditAllowed(false);
  int prompted = 0;
  prompts.dialogActions.push_back([&](QDialog& dialog) {
    prompted += &dialog == password;
    return QDialog::Rejected;
  });
  QTest::keyClick(Form1->Edit1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(prompted, 1);
  EXPECT_EQ(CurrentModel.Name, "Catfish");
}

TEST_F(ModelHistoryTest, AThousandStepsOfAFullModelStayWithinTheirMemory) {
  CurrentModel = bench::FullCapacityModel();
  Form1->History->Reset();
  const int steps = TModelHistory::StepLimit + 50;
  std::vector<TMorvObject> kept;
  for (int i = 0; i < steps; ++i) {
    if (i == 50) kept.push_back(CurrentModel);
    // Drags of joints that carry 100 vertices, and new colours for all 1000 patches.
    Form1->History->Command(QStringLiteral("Step"));
    if (i % 2 == 0) {
      const int32_t joint = i % MaxJoints + 1;
      MoveJoint(CurrentModel, joint, CurrentModel.Joints[joint].Position.X + 3, 0, i % 7);
    } else {
      for (int32_t p = 1; p <= MaxPatches; ++p) CurrentModel.Patches[p].Colour = (p * i) & 0xFFFFFF;
    }
    Form1->History->Record();
  }
  EXPECT_EQ(Form1->History->Steps(), TModelHistory::StepLimit);
  const std::size_t bytes = Form1->History->Bytes();
  std::cout << "history of " << Form1->History->Steps()
            << " full-model steps, drags and colourings in turn: " << bytes << " bytes\n";
  EXPECT_LE(bytes, std::size_t{64} << 20);
  // The oldest kept step takes the model back to where it stood before it.
  while (Form1->History->Undo()) {
  }
  EXPECT_TRUE(SameModel(CurrentModel, kept.front()));
}

TEST_F(ModelHistoryTest, AnUndoThatBringsBackALockedModelLocksItUnlessItsOwnPasswordWasGiven) {
  const TMorvObject vault = ModelOfFile("vault.MVD");
  const TMorvObject tetra = ModelOfFile("tetra.MVD");
  ASSERT_TRUE(vault.Locked);
  ASSERT_FALSE(tetra.Locked);
  const QString lockMessage = QStringLiteral(
      "The owner of this object (Zed ) requires you to enter a password to edit "
      "this model.");
  const struct {
    const char* what;
    bool ownPasswordGiven;
  } rows[] = {{"only the password of the model loaded over it was given", false},
              {"its own password was given before the other model was loaded", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    application.reset();
    prompts = ScriptedPrompts{};
    prompts.yesNoAnswers = {Answer::Yes};
    Start(DataFile("vault.MVD"));
    Form1->show();
    ASSERT_FALSE(Form1->EditAllowed());
    if (row.ownPasswordGiven) {
      AnswerPassword(vault.Password);
      Form1->BitBtn5->click();
      ASSERT_TRUE(Form1->EditAllowed());
    }
    prompts.fileAnswers = {DataFile("tetra.MVD")};
    Form1->BitBtn1->click();
    ASSERT_EQ(CurrentModel.Name, "Tetra");
    if (!row.ownPasswordGiven) {
      // The lock of the model before stays on the unlocked one until its own password is given.
      ASSERT_FALSE(Form1->EditAllowed());
      AnswerPassword(tetra.Password);
      UndoKey();
      ASSERT_TRUE(Form1->EditAllowed());
      ASSERT_EQ(CurrentModel.Name, "Tetra") << "the key that opened the prompt undid nothing";
    }
    prompts.messages.clear();

    UndoKey();
    EXPECT_EQ(CurrentModel.Name, "Vault");
    EXPECT_TRUE(CurrentModel.Locked);
    const bool locked = !row.ownPasswordGiven;
    EXPECT_EQ(Form1->EditAllowed(), !locked);
    EXPECT_EQ(Form1->Edit1->isReadOnly(), locked);
    EXPECT_EQ(prompts.messages, locked ? QStringList{lockMessage} : QStringList{});
    if (!locked) continue;
    // Locked as a Load leaves it: the owner information, with its password, is out of reach, the
    // name field changes nothing, and a redo asks for the password first.
    prompts.dialogActions.push_back([](QDialog& dialog) {
      EXPECT_EQ(&dialog, password);
      return int{QDialog::Rejected};
    });
    Form1->button4->click();
    EXPECT_FALSE(Form1->PopupMenu2->isVisible());
    Form1->Edit1->setFocus();
    QTest::keyClicks(Form1->Edit1, "Mine");
    EXPECT_EQ(CurrentModel.Name, "Vault");
    prompts.dialogActions.push_back([](QDialog&) { return int{QDialog::Rejected}; });
    RedoKey();
    EXPECT_EQ(CurrentModel.Name, "Vault");
    EXPECT_TRUE(prompts.AllAnswersUsed());
  }
}

TEST_F(ModelHistoryTest, WhileThePumpTicksEachCommandIsOneStepUnderItsOwnName) {
  const int vertex = AddControl(10, 20, 0);
  Form1->History->Reset();
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  Form1->DrawTheDrag();
  Form1->BitBtn7->click();
  ASSERT_TRUE(Form1->AnimationPump->isActive());
  // The console came up over the main window; the user goes back to it.
  Form1->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  // Ticks that move nothing leave no trace.
  QSignalSpy touched(Form1->History, &TModelHistory::Touched);
  EXPECT_GE(TicksDuring([] { QTest::qWait(350); }), 2);
  EXPECT_EQ(touched.count(), 0);
  EXPECT_EQ(Form1->History->Steps(), 0);
  EXPECT_EQ(Form1->History->UndoText(), "Undo");

  struct Row {
    QString step;
    std::function<void()> command;
  };
  const std::vector<Row> rows = {
      {"Add Control",
       [this] {
         // The dialog stays open over a few ticks, as a user takes a moment to fill it in.
         Script<Tnewcontrol>([](Tnewcontrol& d) {
           QTest::qWait(250);
           d.xVal->setValue(-40);
           d.BitBtn1->click();
         });
         Form1->BitBtn5->click();
       }},
      {"Rename",
       [] {
         Form1->Edit1->setFocus();
         Form1->Edit1->end(false);
         for (const char* typed : {"a", "b", "c"}) {
           QTest::keyClicks(Form1->Edit1, typed);
           QTest::qWait(150);
         }
         Form1->PLv->setFocus();
       }},
      {"Drag Control",
       [vertex] {
         const QPoint from = PixelOf(CurrentModel.Controls[vertex]);
         QTest::mousePress(Form1->DragSpace, Qt::LeftButton, {}, from);
         QTest::mouseMove(Form1->DragSpace, from + QPoint(15, 5));
         QTest::qWait(250);
         QTest::mouseMove(Form1->DragSpace, from + QPoint(30, 10));
         QTest::mouseRelease(Form1->DragSpace, Qt::LeftButton, {}, from + QPoint(30, 10));
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.step.toStdString());
    const TMorvObject before = CurrentModel;
    const int steps = Form1->History->Steps();
    EXPECT_GE(TicksDuring(row.command), 1);
    const TMorvObject after = CurrentModel;
    ASSERT_FALSE(SameModel(before, after));
    EXPECT_EQ(Form1->Undo1->text(), "Undo " + row.step);
    EXPECT_EQ(Form1->History->Steps(), steps + 1);
    UndoKey();
    EXPECT_TRUE(SameModel(CurrentModel, before));
    RedoKey();
    EXPECT_TRUE(SameModel(CurrentModel, after));
  }
  EXPECT_EQ(CurrentModel.Name, "MyObjectabc");
}

TEST_F(ModelHistoryTest, PlaybackIsOneStepAndUndoHaltsItAndReachesTheStepBeforeInTwoPresses) {
  const struct {
    const char* what;
    std::function<void()> start;
    // Moves the model as the timer would, over a while.
    std::function<void()> run;
    std::function<bool()> halted;
  } rows[] = {
      {"Animation",
       [] {
         Form1->BitBtn7->click();
         anim->jID->setValue(1);
         for (const int x : {0, 90}) {
           anim->xL->setValue(x);
           anim->BitBtn6->click();
         }
         anim->Speed->setValue(3);
         anim->repeator->setChecked(true);
         anim->BitBtn8->click();
         anim->animlistbox->setCurrentIndex(0);
         anim->BitBtn3->click();
       },
       [] { ASSERT_GE(TicksDuring([] { QTest::qWait(250); }), 1); },
       [] {
         return !AnimationSet.Animations[1].Playing && Form1->AnimationPump->isActive() &&
                TicksDuring([] { QTest::qWait(250); }) >= 1;
       }},
      {"Mechanics",
       [] {
         Form1->BitBtn8->click();
         phys->jsel->setValue(1);
         phys->fY->setValue(3);
         phys->BitBtn1->click();
       },
       [] {
         for (int tick = 0; tick < 3; ++tick) Form1->PhysicsPumpTimer();
       },
       [] {
         return !Form1->PhysicsPump->isActive() && !phys->isVisible() &&
                !Form1->BitBtn8->isEnabled() && Form1->BitBtn7->isEnabled();
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    application.reset();
    prompts = ScriptedPrompts{};
    Start();
    const int joint = AddJoint({0, 0, 0}, {AddControl(5, 5, 0)});
    CurrentModel.Joints[joint].Mass = 1;
    Form1->History->Reset();
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const TMorvObject beforePlayback = CurrentModel;
    row.start();
    row.run();
    const TMorvObject beforeCommand = CurrentModel;
    ASSERT_FALSE(SameModel(beforeCommand, beforePlayback)) << "the playback moved the joint";

    // A command while the playback goes on, over the dialog it opens.
    Script<Tnewcontrol>([&row](Tnewcontrol& d) {
      row.run();
      d.yVal->setValue(-50);
      d.BitBtn1->click();
    });
    Form1->BitBtn5->click();
    ASSERT_EQ(CurrentModel.ControlCount, beforeCommand.ControlCount + 1);
    TMorvObject commandAlone = beforeCommand;
    commandAlone.Controls[++commandAlone.ControlCount] =
        CurrentModel.Controls[CurrentModel.ControlCount];
    row.run();
    // A menu opened meanwhile names the playback and does not split it.
    Form1->button4->click();
    EXPECT_EQ(Form1->Undo1->text(), QStringLiteral("Undo ") + row.what);
    Form1->PopupMenu2->hide();
    row.run();
    const TMorvObject moved = CurrentModel;

    UndoKey();
    EXPECT_TRUE(SameModel(CurrentModel, commandAlone)) << "all the playback since the command";
    EXPECT_TRUE(row.halted());
    EXPECT_TRUE(SameModel(CurrentModel, commandAlone)) << "nothing moves it again";
    EXPECT_EQ(Form1->History->RedoText(), QStringLiteral("Redo ") + row.what);
    EXPECT_EQ(Form1->History->UndoText(), "Undo Add Control");
    UndoKey();
    EXPECT_TRUE(SameModel(CurrentModel, beforeCommand)) << "then the command";
    EXPECT_EQ(Form1->History->UndoText(), QStringLiteral("Undo ") + row.what);
    UndoKey();
    EXPECT_TRUE(SameModel(CurrentModel, beforePlayback)) << "then the playback before it";
    for (int redo = 0; redo < 3; ++redo) RedoKey();
    EXPECT_TRUE(SameModel(CurrentModel, moved)) << "back to where the playback halted";
    EXPECT_TRUE(prompts.AllAnswersUsed());
  }
}

TEST_F(ModelHistoryTest, SavingInTheMiddleOfTypingAStepStopsItThere) {
  const ScratchDir scratch;
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  Form1->Edit1->setFocus();
  Form1->Edit1->end(false);
  QTest::keyClicks(Form1->Edit1, "abc");
  prompts.fileAnswers = {scratch.Path("saved.MVD")};
  // The button takes no focus: the visit of the field goes on.
  Form1->BitBtn2->click();
  ASSERT_TRUE(Form1->Edit1->hasFocus());
  QTest::keyClicks(Form1->Edit1, "def");
  EXPECT_TRUE(Form1->History->Changed());
  UndoKey();
  EXPECT_EQ(CurrentModel.Name, "MyObjectabc");
  EXPECT_FALSE(Form1->History->Changed()) << "back at the saved model";
  UndoKey();
  EXPECT_EQ(CurrentModel.Name, "MyObject");
}

TEST_F(ModelHistoryTest, ANameLongerThanTheFieldHoldsIsLoadedUndoneAndSavedWhole) {
  const ScratchDir scratch;
  TMorvObject model;
  model.Name = std::string(40000, 'n') + "end";
  TextLines lines;
  SaveModel(model, lines);
  const QString file = scratch.Path("long.MVD");
  WriteTextLines(file, lines);

  prompts.fileAnswers = {file};
  Form1->BitBtn1->click();
  // Compared as truths: a failure would print 40000 characters.
  EXPECT_TRUE(CurrentModel.Name == model.Name);
  EXPECT_TRUE(Form1->Edit1->text() ==
              QString::fromStdString(model.Name).left(Form1->Edit1->maxLength()));
  EXPECT_FALSE(Form1->History->Changed());
  EXPECT_EQ(Form1->History->Steps(), 1);
  EXPECT_EQ(Form1->History->UndoText(), "Undo Load");

  UndoKey();
  EXPECT_EQ(CurrentModel.Name, "MyObject");
  RedoKey();
  EXPECT_TRUE(CurrentModel.Name == model.Name);
  EXPECT_FALSE(Form1->History->Changed());
  const QString saved = scratch.Path("saved.MVD");
  prompts.fileAnswers = {saved};
  ASSERT_TRUE(Form1->BitBtn2Click());
  EXPECT_TRUE(ReadTextLines(saved).at(0) == model.Name);
}

// Loads of two models with 5 MB names in turn: each step holds the name it replaced.
TEST(ModelHistoryMemory, StepsStayWithinTheirBytesOldestFirstAndTheNewestAloneMayExceedThem) {
  TMorvObject model;
  TModelHistory history(model);
  const std::size_t nameBytes = std::size_t{5} << 20;
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back(model.Name);
    history.Command(QStringLiteral("Load"));
    model.Name = std::string(nameBytes, static_cast<char>('a' + i % 26));
    history.Record();
  }
  EXPECT_LE(history.Bytes(), TModelHistory::ByteLimit);
  EXPECT_EQ(history.Steps(), static_cast<int>(TModelHistory::ByteLimit / nameBytes));
  // The kept steps are the newest: undone, they reach the name before the oldest of them.
  const int kept = history.Steps();
  while (history.Undo()) {
  }
  EXPECT_EQ(model.Name, names[names.size() - static_cast<std::size_t>(kept)]);
  while (history.Redo()) {
  }

  // A step larger than the whole budget replaces all the others and stays.
  history.Command(QStringLiteral("Load"));
  model.Name = std::string(TModelHistory::ByteLimit + 1, 'z');
  history.Record();
  history.Command(QStringLiteral("Rename"));
  model.Name = "Small";
  history.Record();
  EXPECT_EQ(history.Steps(), 1);
  EXPECT_GT(history.Bytes(), TModelHistory::ByteLimit);
  EXPECT_EQ(history.UndoText(), "Undo Rename");
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(model.Name.size(), TModelHistory::ByteLimit + 1);
  EXPECT_FALSE(history.Undo());
}

}  // namespace
}  // namespace morv::test
