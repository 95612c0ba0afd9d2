// The mechanics console: forces on joints, the gravitational constant and motion resets.
#include "ui/mechanics_console.h"

#include <QEvent>
#include <QKeyEvent>

#include "engine/mechanics.h"
#include "engine/model.h"
#include "platform/error_report.h"
#include "ui/dialog_controls.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"

namespace morv {

Tphys* phys = nullptr;

namespace {

QSlider* MakeTrackBar(QWidget* parent, const char* name, int minimum, int maximum, int value,
                      int left, int top) {
  auto* bar = Place(new QSlider(Qt::Horizontal, parent), name, left, top, 129, 25);
  bar->setRange(minimum, maximum);
  bar->setValue(value);
  bar->setSingleStep(1);
  bar->setPageStep(2);
  bar->setTickPosition(QSlider::NoTicks);
  bar->setFocusPolicy(Qt::StrongFocus);
  return bar;
}

}  // namespace

Tphys::Tphys(Prompts& prompts, QWidget* parent)
    : QWidget(parent, BareWindowFlags), prompts_(prompts) {
  // The console closes through its own "Stop!" only, which also ends the simulation.
  FixClientSize(this, "phys", QStringLiteral("Newtonian Mechanics"), 697, 65);
  setFont(DefaultWindowFont());
  BuildControls();
}

void Tphys::BuildControls() {
  BitBtn5 = MakeButton(this, "BitBtn5", QStringLiteral("Stop!"), 8, 8, 41, 25, true);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Joint:"), 56, 12);
  jsel = MakeUnlimitedSpinEdit(this, "jsel", 88, 8, 57, 22);
  jsel->setValue(1);
  Bevel1 = Place(new TBevel(this, TBevel::Shape::LeftLine), "Bevel1", 152, 8, 9, 49);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Force (vector):"), 160, 12);
  fX = MakeUnlimitedSpinEdit(this, "fX", 232, 8, 49, 22);
  fY = MakeUnlimitedSpinEdit(this, "fY", 288, 8, 49, 22);
  fZ = MakeUnlimitedSpinEdit(this, "fZ", 344, 8, 49, 22);
  BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Apply Force"), 400, 8, 89, 25);
  // From a hundred newtons on the magnitude is wider than the 96 pixels between the button's left
  // edge and the line at 496, and the button beyond would cover the rest: the number goes on into
  // the second of the two rows left below the button instead.
  Label3 =
      Place(new TReadingLabel(QStringLiteral("Magnitude = 0 N"), this), "Label3", 400, 38, 96, 27);
  Label4 = MakeLabel(this, "Label4", QStringLiteral("Gravitational Constant, G:"), 8, 44);
  G = MakeTrackBar(this, "G", 1, 10, 7, 136, 40);
  GPower = MakeTrackBar(this, "GPower", -12, 12, -11, 264, 40);
  Bevel2 = Place(new TBevel(this, TBevel::Shape::LeftLine), "Bevel2", 496, 7, 9, 50);
  BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("Remove Velocity"), 504, 7, 113, 25);
  BitBtn4 = MakeButton(this, "BitBtn4", QStringLiteral("Return"), 616, 7, 73, 25);
  BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Remove Acceleration"), 504, 32, 185, 25);
  // Enter presses a focused button itself, and "Stop!" from anywhere else.
  for (QPushButton* button : {BitBtn1, BitBtn3, BitBtn4, BitBtn2}) button->setAutoDefault(true);

  Bevel1->lower();
  Bevel2->lower();

  QWidget* const order[] = {BitBtn5, jsel,   fX,      fY,      fZ,     BitBtn1,
                            G,       GPower, BitBtn3, BitBtn4, BitBtn2};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(BitBtn5, &QPushButton::clicked, this, &Tphys::BitBtn5Click);
  connect(BitBtn1, &QPushButton::clicked, this, &Tphys::BitBtn1Click);
  connect(BitBtn3, &QPushButton::clicked, this, &Tphys::BitBtn3Click);
  connect(BitBtn2, &QPushButton::clicked, this, &Tphys::BitBtn2Click);
  connect(BitBtn4, &QPushButton::clicked, this, &Tphys::BitBtn4Click);
  for (TSpinEdit* field : {fX, fY, fZ}) {
    connect(field, &QSpinBox::valueChanged, this, &Tphys::ForceChange);
  }
  connect(G, &QSlider::valueChanged, this, &Tphys::GChange);
  connect(GPower, &QSlider::valueChanged, this, &Tphys::GChange);
}

int32_t Tphys::SelectedJoint() const {
  const int32_t joint = jsel->value();
  return JointInModel(CurrentModel, joint) ? joint : 0;
}

void Tphys::BitBtn5Click() {
  RunReported(prompts_, [this] {
    hide();
    if (Form1 == nullptr) return;
    Form1->PhysicsPump->stop();
    Form1->BitBtn8->setEnabled(false);
    Form1->BitBtn7->setEnabled(true);
  });
}

void Tphys::BitBtn1Click() {
  RunReported(prompts_, [this] {
    const int32_t joint = SelectedJoint();
    if (joint == 0) return;
    ApplyForce(CurrentModel, joint,
               {static_cast<double>(fX->value()), static_cast<double>(fY->value()),
                static_cast<double>(fZ->value())});
    fX->setValue(0);
    fY->setValue(0);
    fZ->setValue(0);
    // Fields that were 0 already do not signal a change, yet the label always shows the reset.
    ForceChange();
  });
}

void Tphys::BitBtn3Click() {
  RunReported(prompts_, [this] {
    if (const int32_t joint = SelectedJoint()) CurrentModel.Joints[joint].Velocity = {};
  });
}

void Tphys::BitBtn2Click() {
  RunReported(prompts_, [this] {
    if (const int32_t joint = SelectedJoint()) CurrentModel.Joints[joint].Acceleration = {};
  });
}

void Tphys::BitBtn4Click() {
  RunReported(prompts_, [this] {
    const int32_t joint = SelectedJoint();
    if (joint == 0) return;
    // The motion state stays: a moving joint drifts off again on the next tick.
    const auto home = [joint] { MoveJoint(CurrentModel, joint, 0, 0, 0); };
    if (Form1 == nullptr) return home();
    // Part of the mechanics' own step.
    Form1->History->Background(QStringLiteral("Mechanics"), home);
    Form1->DrawTheDrag();
    Form1->DrawTheThing();
  });
}

void Tphys::ForceChange() {
  Label3->setText(QString::asprintf("Magnitude = %.2f N",
                                    ForceMagnitude(fX->value(), fY->value(), fZ->value())));
}

void Tphys::GChange() {
  GravitationalConstant = GravitationalConstantFrom(G->value(), GPower->value());
}

void Tphys::FormActivate() {
  if (Form1 != nullptr) move(Form1->ConsolePosition());
}

bool Tphys::event(QEvent* event) {
  if (RefuseFrameClose(event)) return true;
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

void Tphys::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    BitBtn5->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace morv
