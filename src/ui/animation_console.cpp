// The animation console: building, loading, saving and playing the animation set.
#include "ui/animation_console.h"

#include <QEvent>
#include <QShowEvent>
#include <algorithm>
#include <functional>

#include "engine/animation_file.h"
#include "engine/animation_playback.h"
#include "engine/model.h"
#include "platform/error_report.h"
#include "platform/qt_text.h"
#include "platform/text_file.h"
#include "ui/dialog_controls.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"
#include "ui/single_line_validator.h"

namespace morv {

Tanim* anim = nullptr;

namespace {

const QString NewAnimationName = QStringLiteral("Animation Name");

// What Play and Stop move belongs to the playback's own step.
void InPlayback(const std::function<void()>& move) {
  if (Form1 == nullptr) return move();
  Form1->History->Background(QStringLiteral("Animation"), move);
}

// Both set dialogs show animation files and add ".MVA" to a name typed without extension.
FileDialogOptions AnimationFileDialog(const QString& title) {
  FileDialogOptions options;
  options.title = title;
  options.filter = QStringLiteral("Morv! Object (MVD3/4) Animation (*.MVA *.mva)");
  options.defaultSuffix = QStringLiteral("MVA");
  return options;
}

}  // namespace

Tanim::Tanim(Prompts& prompts, QWidget* parent)
    : QWidget(parent, BareWindowFlags), prompts_(prompts) {
  // The console has no close button: it stays open beside the model while animations play.
  FixClientSize(this, "anim", QStringLiteral("Animation Console - Playing : {0}"), 697, 105);
  setFont(DefaultWindowFont());
  BuildControls();
}

void Tanim::BuildControls() {
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Animations Designed For:"), 8, 12);
  Edit1 = Place(new QLineEdit(QStringLiteral("Type Model Name / Filename"), this), "Edit1", 136, 8,
                193, 21);
  // Both names are single lines of the animation file.
  Edit1->setValidator(new TSingleLineValidator(Edit1));
  BitBtn1 = MakeGlyphButton(this, "BitBtn1", QStringLiteral("Load"), QStyle::SP_DialogOpenButton,
                            GlyphPlacement::Beside, 352, 4, 65, 25);
  BitBtn2 = MakeGlyphButton(this, "BitBtn2", QStringLiteral("Save"), QStyle::SP_DialogSaveButton,
                            GlyphPlacement::Beside, 424, 4, 65, 25);

  // The frames only decorate: their controls belong to the console itself.
  GroupBox1 = Place(new TBevel(this, TBevel::Shape::Box), "GroupBox1", 8, 32, 481, 65);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("New Animation:"), 16, 48);
  Edit2 = Place(new QLineEdit(NewAnimationName, this), "Edit2", 16, 64, 89, 21);
  Edit2->setValidator(new TSingleLineValidator(Edit2));
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Joint:"), 120, 48);
  jID = MakeSpinEdit(this, "jID", 1, 1, 1, 120, 64, 49, 22);
  BitBtn4 = MakeGlyphButton(this, "BitBtn4", QString(), QStyle::SP_ArrowRight,
                            GlyphPlacement::Beside, 184, 39, 33, 25);
  BitBtn4->setToolButtonStyle(Qt::ToolButtonIconOnly);
  BitBtn4->setToolTip(QStringLiteral("Take the joint's position"));
  xL = MakeSpinEdit(this, "xL", -100, 100, 0, 224, 40, 41, 22);
  yL = MakeSpinEdit(this, "yL", -100, 100, 0, 264, 40, 41, 22);
  zL = MakeSpinEdit(this, "zL", -100, 100, 0, 304, 40, 41, 22);
  BitBtn6 = MakeGlyphButton(this, "BitBtn6", QStringLiteral("Add Location"),
                            QStyle::SP_DialogApplyButton, GlyphPlacement::Beside, 184, 64, 161, 25);
  repeator = Place(new QCheckBox(QStringLiteral("Repeat"), this), "repeator", 352, 40, 65, 17);
  Label4 = MakeLabel(this, "Label4", QStringLiteral("Speed:"), 352, 68);
  Speed = MakeSpinEdit(this, "Speed", 1, 8, 1, 392, 64, 41, 22);
  BitBtn8 = MakeGlyphButton(this, "BitBtn8", QStringLiteral("Add"), QStyle::SP_FileDialogNewFolder,
                            GlyphPlacement::Above, 440, 40, 41, 49);

  GroupBox2 = Place(new TBevel(this, TBevel::Shape::Box), "GroupBox2", 496, 8, 193, 89);
  Label5 = MakeLabel(this, "Label5", QStringLiteral("Animation:"), 504, 24);
  animlistbox = Place(new QComboBox(this), "animlistbox", 504, 40, 177, 21);
  animlistbox->setEditable(false);
  BitBtn3 = MakeGlyphButton(this, "BitBtn3", QStringLiteral("Play"), QStyle::SP_MediaPlay,
                            GlyphPlacement::Beside, 552, 64, 59, 25);
  BitBtn9 = MakeGlyphButton(this, "BitBtn9", QStringLiteral("Stop"), QStyle::SP_MediaStop,
                            GlyphPlacement::Beside, 616, 64, 65, 25);

  GroupBox1->lower();
  GroupBox2->lower();

  QWidget* const order[] = {Edit1,   BitBtn1,     BitBtn2, Edit2,   jID,      BitBtn4,
                            xL,      yL,          zL,      BitBtn6, repeator, Speed,
                            BitBtn8, animlistbox, BitBtn3, BitBtn9};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(BitBtn1, &QToolButton::clicked, this, &Tanim::BitBtn1Click);
  connect(BitBtn2, &QToolButton::clicked, this, &Tanim::BitBtn2Click);
  connect(BitBtn4, &QToolButton::clicked, this, &Tanim::BitBtn4Click);
  connect(BitBtn6, &QToolButton::clicked, this, &Tanim::BitBtn6Click);
  connect(BitBtn8, &QToolButton::clicked, this, &Tanim::BitBtn8Click);
  connect(BitBtn3, &QToolButton::clicked, this, &Tanim::BitBtn3Click);
  connect(BitBtn9, &QToolButton::clicked, this, &Tanim::BitBtn9Click);
  // Connected after the start text is in: the set keeps its own name until the field is edited.
  connect(Edit1, &QLineEdit::textChanged, this, &Tanim::Edit1Change);
}

FileDialogOptions Tanim::OpenDialog1() {
  FileDialogOptions options =
      AnimationFileDialog(QStringLiteral("Open Morv! Object Animation Set"));
  options.mustExist = true;
  return options;
}

FileDialogOptions Tanim::SaveDialog1() {
  FileDialogOptions options =
      AnimationFileDialog(QStringLiteral("Save Morv! Object Animation Set"));
  options.confirmOverwrite = true;
  return options;
}

void Tanim::Edit1Change() {
  RunReported(prompts_, [this] { AnimationSet.ModelName = ToModelText(Edit1->text()); });
}

void Tanim::BitBtn1Click() {
  RunReported(prompts_, [this] {
    prompts_.ShowMessage(
        QStringLiteral("Only open MVA2 (for jointed bézier (MVD3/4) object) files!"));
    const std::optional<QString> file = prompts_.OpenFileName(OpenDialog1());
    if (!file) return;
    // The file is staged where the model files are; a file that fails to read or parse leaves
    // the set, the list and the name field as they were.
    Form1->Memo1 = ReadTextLines(*file);
    LoadAnimations(Form1->Memo1, AnimationSet);
    FillAnimationList();
    Edit1->setText(FromModelText(AnimationSet.ModelName));
    prompts_.ShowMessage(QStringLiteral("This animation file is designed for [") +
                         FromModelText(AnimationSet.ModelName) + QStringLiteral("] specifically."));
  });
}

void Tanim::BitBtn2Click() {
  RunReported(prompts_, [this] {
    const std::optional<QString> file = prompts_.SaveFileName(SaveDialog1());
    if (!file) return;
    SaveAnimations(AnimationSet, Form1->Memo1);
    WriteTextLines(*file, Form1->Memo1);
  });
}

void Tanim::BitBtn4Click() {
  RunReported(prompts_, [this] {
    const int32_t joint = jID->value();
    if (!JointInModel(CurrentModel, joint)) return;
    // The fields bring a coordinate beyond their range to the nearer bound.
    const TControlVertex& position = CurrentModel.Joints[joint].Position;
    xL->setValue(position.X);
    yL->setValue(position.Y);
    zL->setValue(position.Z);
  });
}

void Tanim::BitBtn6Click() {
  RunReported(prompts_, [this] {
    if (PendingCount >= MaxLocations) {
      return prompts_.ShowMessage(QStringLiteral("An animation holds at most 100 locations."));
    }
    PendingLocations[++PendingCount] = {xL->value(), yL->value(), zL->value()};
    xL->setValue(0);
    yL->setValue(0);
    zL->setValue(0);
  });
}

void Tanim::BitBtn8Click() {
  RunReported(prompts_, [this] {
    if (CurrentModel.JointCount < 1) {
      return prompts_.ShowMessage(QStringLiteral("An animation moves a joint: add a joint first."));
    }
    if (AnimationSet.Count >= MaxAnimations) {
      return prompts_.ShowMessage(QStringLiteral("An animation set holds at most 100 animations."));
    }
    // Only these fields are written: the slot's playback state and its locations beyond the new
    // count stay as they were.
    TAnimation& animation = AnimationSet.Animations[++AnimationSet.Count];
    animation.Name = ToModelText(Edit2->text());
    animation.Joint = jID->value();
    animation.LocationCount = PendingCount;
    for (int32_t i = 1; i <= PendingCount; ++i) animation.Locations[i] = PendingLocations[i];
    animation.Speed = Speed->value();
    animation.Repeat = repeator->isChecked();
    animation.Playing = false;

    jID->setValue(1);
    PendingCount = 0;
    Speed->setValue(1);
    Edit2->setText(NewAnimationName);
    repeator->setChecked(false);
    FillAnimationList();
  });
}

void Tanim::BitBtn3Click() {
  RunReported(prompts_, [this] {
    const int32_t k = SelectedAnimation();
    if (k == 0) return;
    PlayOutcome outcome = PlayOutcome::Started;
    InPlayback([&] { outcome = PlayAnimation(CurrentModel, AnimationSet, k); });
    if (outcome != PlayOutcome::Started) {
      prompts_.ShowMessage(QString::fromStdString(PlayRefusalText(outcome, AnimationSet, k)));
    }
  });
}

void Tanim::BitBtn9Click() {
  RunReported(prompts_, [this] {
    const int32_t k = SelectedAnimation();
    if (k == 0) return;
    InPlayback([&] { StopAnimation(CurrentModel, AnimationSet, k); });
  });
}

void Tanim::AnimationPumpTick() {
  setWindowTitle(QStringLiteral("Animation Console - Playing : ") +
                 QString::fromStdString(PlayingList(AnimationSet)));
  AnimationStep(CurrentModel, AnimationSet);
  // Every tick redraws, whether or not anything moved.
  if (Form1 == nullptr) return;
  Form1->DrawTheDrag();
  Form1->DrawTheThing();
}

void Tanim::FillAnimationList() {
  animlistbox->clear();
  for (int32_t k = 1; k <= AnimationSet.Count; ++k) {
    animlistbox->addItem(FromModelText(AnimationSet.Animations[k].Name));
  }
  // Filling selects the first entry; Play and Stop wait for the user's choice.
  animlistbox->setCurrentIndex(-1);
}

int32_t Tanim::SelectedAnimation() const {
  const int index = animlistbox->currentIndex();
  return index < 0 ? 0 : index + 1;
}

void Tanim::FormActivate() {
  RunReported(prompts_, [this] {
    if (Form1 == nullptr) return;
    move(Form1->ConsolePosition());
    // A model without joints still leaves jID a valid range; "Add" refuses it.
    jID->setRange(1, std::max(CurrentModel.JointCount, 1));
  });
}

bool Tanim::event(QEvent* event) {
  if (RefuseFrameClose(event)) return true;
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

void Tanim::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!shownBefore_) {
    shownBefore_ = true;
    CentreOnScreen(this);
  }
  PendingCount = 0;
}

}  // namespace morv
