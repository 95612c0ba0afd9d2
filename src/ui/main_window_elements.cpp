// The main window's element commands: adding, deleting and colouring elements, owner information,
// and starting the animation or the mechanics with their two timers.
#include <QSpinBox>
#include <chrono>
#include <random>

#include "engine/mechanics.h"
#include "engine/model.h"
#include "platform/error_report.h"
#include "ui/animation_console.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/main_window.h"
#include "ui/mechanics_console.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"
#include "ui/owner_info_dialog.h"

namespace morv {

namespace {

const QString FullControls = QStringLiteral("A model holds at most 1000 control vertices.");
const QString FullPatches = QStringLiteral("A model holds at most 1000 Bézier patches.");
const QString FullJoints = QStringLiteral("A model holds at most 1000 joints.");

}  // namespace

void TForm1::ConnectElementCommands() {
  connect(BitBtn5, &QToolButton::clicked, this, &TForm1::BitBtn5Click);
  connect(BitBtn4, &QToolButton::clicked, this, &TForm1::BitBtn4Click);
  connect(BitBtn6, &QToolButton::clicked, this, &TForm1::BitBtn6Click);
  connect(BitBtn7, &QToolButton::clicked, this, &TForm1::BitBtn7Click);
  connect(BitBtn8, &QToolButton::clicked, this, &TForm1::BitBtn8Click);
  connect(LastControl1, &QAction::triggered, this, &TForm1::LastControl1Click);
  connect(LastB1, &QAction::triggered, this, &TForm1::LastB1Click);
  connect(Last1, &QAction::triggered, this, &TForm1::Last1Click);
  connect(RandomizeBzierColours1, &QAction::triggered, this, &TForm1::RandomizeBzierColours1Click);
  connect(EditBzierColour1, &QAction::triggered, this, &TForm1::EditBzierColour1Click);
  connect(SetOwnerInfo1, &QAction::triggered, this, &TForm1::SetOwnerInfo1Click);
}

void TForm1::PresetDepth(QSpinBox* x, QSpinBox* y, QSpinBox* z) const {
  // Each field's own range brings a level beyond it to the nearer bound.
  const TViewPlane plane = ViewPlane();
  QSpinBox* depth = plane == TViewPlane::YZ ? x : plane == TViewPlane::XZ ? y : z;
  depth->setValue(PlaneLevel());
}

void TForm1::BitBtn5Click() {
  RunCommand(QStringLiteral("Add Control"), [this] {
    if (!EditGate()) return;
    if (CurrentModel.ControlCount >= MaxControls) return prompts_.ShowMessage(FullControls);
    PresetDepth(newcontrol->xVal, newcontrol->yVal, newcontrol->zVal);
    prompts_.ExecDialog(*newcontrol);
  });
}

void TForm1::BitBtn4Click() {
  RunCommand(QStringLiteral("Add Bézier"), [this] {
    if (!EditGate()) return;
    if (CurrentModel.PatchCount >= MaxPatches) return prompts_.ShowMessage(FullPatches);
    if (CurrentModel.ControlCount < 1) {
      return prompts_.ShowMessage(
          QStringLiteral("A Bézier patch joins control vertices: add a control vertex first."));
    }
    newbezier->SetControlRange(CurrentModel.ControlCount);
    prompts_.ExecDialog(*newbezier);
  });
}

void TForm1::BitBtn6Click() {
  RunCommand(QStringLiteral("Add Joint"), [this] {
    if (!EditGate()) return;
    if (CurrentModel.JointCount >= MaxJoints) return prompts_.ShowMessage(FullJoints);
    PresetDepth(newjoint->xVal, newjoint->yVal, newjoint->zVal);
    newjoint->SetControlRange(CurrentModel.ControlCount);
    prompts_.ExecDialog(*newjoint);
  });
}

// Only the last element goes; references to it stay, and an empty list stays empty.
void TForm1::RemoveLast(int32_t& count, const QString& name) {
  RunCommand(name, [&] {
    if (count < 1) return;
    --count;
    DrawTheDrag();
    DrawTheThing();
  });
}

void TForm1::LastControl1Click() {
  RemoveLast(CurrentModel.ControlCount, QStringLiteral("Delete Last Control"));
}

void TForm1::LastB1Click() {
  RemoveLast(CurrentModel.PatchCount, QStringLiteral("Delete Last Bézier"));
}

void TForm1::Last1Click() {
  RemoveLast(CurrentModel.JointCount, QStringLiteral("Delete Last Joint"));
}

void TForm1::RandomizeBzierColours1Click() {
  RunCommand(QStringLiteral("Randomize Bézier Colours"), [] {
    const auto timeOfDay = std::chrono::system_clock::now().time_since_epoch();
    std::mt19937 random(static_cast<std::mt19937::result_type>(
        std::chrono::duration_cast<std::chrono::milliseconds>(timeOfDay).count() % 86400000));
    // Up to but not including white.
    std::uniform_int_distribution<int32_t> colours(0, ColourWhite - 1);
    for (int32_t i = 1; i <= CurrentModel.PatchCount; ++i) {
      CurrentModel.Patches[i].Colour = colours(random);
    }
  });
}

void TForm1::EditBzierColour1Click() {
  RunCommand(QStringLiteral("Edit Bézier Colour"), [this] {
    if (CurrentModel.PatchCount < 1) {
      return prompts_.ShowMessage(QStringLiteral("The model has no Bézier patch to colour."));
    }
    editbez->SetPatchRange(CurrentModel.PatchCount);
    prompts_.ExecDialog(*editbez);
  });
}

void TForm1::SetOwnerInfo1Click() {
  RunCommand(QStringLiteral("Set Owner Information"), [this] {
    if (!editAllowed_) return;
    ownerinfo->LoadFromModel();
    prompts_.ExecDialog(*ownerinfo);
    // The dialog shows the password in plain text, and the user may have typed a new one: either
    // way it is known in this run.
    knownPasswords_.insert(CurrentModel.Password);
  });
}

void TForm1::BitBtn7Click() {
  RunReported(prompts_, [this] {
    if (!editAllowed_) {
      prompts_.ShowMessage(QStringLiteral(
          "Animate at your peril! You will not be able to restore the original object since you "
          "cannot edit it."));
    }
    // Once animation has run, the mechanics stay unavailable for the rest of the run.
    BitBtn8->setEnabled(false);
    // Starting a running timer again would put its next tick off by a whole interval.
    if (!AnimationPump->isActive()) AnimationPump->start();
    if (anim != nullptr) anim->show();
  });
}

void TForm1::BitBtn8Click() {
  RunReported(prompts_, [this] {
    if (!editAllowed_) {
      prompts_.ShowMessage(QStringLiteral(
          "Use physics at your peril! You will not be able to restore the original object since "
          "you cannot edit it."));
    }
    prompts_.ShowMessage(QStringLiteral(
        "Warning! The physics used here are real-world-based and can cause your PC to crash (in "
        "an overloading way). Be particularly wary of gravity."));
    BitBtn7->setEnabled(false);
    // Whatever the track bars show; they set their own value only when moved.
    GravitationalConstant = StartingGravitationalConstant();
    if (!PhysicsPump->isActive()) PhysicsPump->start();
    if (phys != nullptr) phys->show();
  });
}

void TForm1::AnimationPumpTimer() {
  if (pumpBusy_) return;
  pumpBusy_ = true;
  // What playback moves between two commands is one step, apart from the command under way.
  History->Background(QStringLiteral("Animation"), [this] {
    RunReported(prompts_, [] {
      if (anim != nullptr) anim->AnimationPumpTick();
    });
  });
  pumpBusy_ = false;
}

void TForm1::PhysicsPumpTimer() {
  if (pumpBusy_) return;
  pumpBusy_ = true;
  History->Background(QStringLiteral("Mechanics"), [this] {
    RunReported(prompts_, [this] {
      PhysicsStep(CurrentModel);
      DrawTheDrag();
      DrawTheThing();
    });
  });
  pumpBusy_ = false;
}

}  // namespace morv
