// The main window: model name, file commands, the drag space and the buttons of every editor.
#include "ui/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "engine/angle_tables.h"
#include "engine/animation.h"
#include "engine/animation_playback.h"
#include "engine/model_file.h"
#include "engine/view_parameters.h"
#include "platform/error_report.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "platform/text_file.h"
#include "ui/animation_console.h"
#include "ui/display_window.h"
#include "ui/fixed_layout.h"
#include "ui/history_keys.h"
#include "ui/mechanics_console.h"
#include "ui/network_dialog.h"
#include "ui/password_dialog.h"
#include "ui/single_line_validator.h"

namespace morv {

TForm1* Form1 = nullptr;

namespace {

constexpr int RecoveryOfferDelayMs = 500;

// What a user who loads a locked model is told.
QString LockedMessage() {
  return QStringLiteral("The owner of this object (") + FromModelText(CurrentModel.Owner) +
         QStringLiteral(") requires you to enter a password to edit this model.");
}

// Both model file dialogs show MVD4 files and add ".MVD" to a name typed without extension.
FileDialogOptions ModelFileDialog(const QString& title) {
  FileDialogOptions options;
  options.title = title;
  options.filter = QStringLiteral("Morv! Object Data (MVD4) (*.MVD *.mvd)");
  options.defaultSuffix = QStringLiteral("MVD");
  return options;
}

}  // namespace

TForm1::TForm1(Prompts& prompts, const QString& commandLineFile, QWidget* parent)
    : QWidget(parent, MainWindowFlags), prompts_(prompts), commandLineFile_(commandLineFile) {
  FixClientSize(this, "Form1", QStringLiteral("Morv! 5 - Bézier Modeller"), 328, 329);
  setFont(DefaultWindowFont());
  History = new TModelHistory(CurrentModel, this);
  // The middle of a drag is no state to come back to.
  Recovery = new TRecoveryKeeper(
      *History, CurrentModel, prompts_, [this] { return Dragging; }, this);
  BuildControls();
  BuildMenus();
  ConnectElementCommands();
  connect(History, &TModelHistory::Applied, this, &TForm1::HistoryApplied);
  connect(History, &TModelHistory::StepsChanged, this, &TForm1::UpdateHistoryItems);
  UpdateHistoryItems();
  new THistoryKeys(
      *this, [this] { Undo1Click(); }, [this] { Redo1Click(); });

  AnimationPump = new QTimer(this);
  AnimationPump->setObjectName(QStringLiteral("AnimationPump"));
  AnimationPump->setInterval(100);
  PhysicsPump = new QTimer(this);
  PhysicsPump->setObjectName(QStringLiteral("PhysicsPump"));
  PhysicsPump->setInterval(1000);
  connect(AnimationPump, &QTimer::timeout, this, &TForm1::AnimationPumpTimer);
  connect(PhysicsPump, &QTimer::timeout, this, &TForm1::PhysicsPumpTimer);
  Sock = new QTcpSocket(this);
  Sock->setObjectName(QStringLiteral("Sock"));
  NetworkClient = new TNetworkClient(
      prompts_, *Sock, Memo2, *NetworkRendering, [this] { FinishRendering(); },
      [this] { DrawTheThing(); }, this);
  connect(SetUpNetwork1, &QAction::triggered, this, &TForm1::SetUpNetwork1Click);
}

// The name field loses the focus as the window goes, and must not report that to a window whose
// own parts are gone already.
TForm1::~TForm1() { Edit1->disconnect(this); }

void TForm1::BuildControls() {
  BitBtn1 = MakeGlyphButton(this, "BitBtn1", QStringLiteral("&Load"), QStyle::SP_DialogOpenButton,
                            GlyphPlacement::Above, 8, 8, 33, 41);
  BitBtn2 = MakeGlyphButton(this, "BitBtn2", QStringLiteral("&Save"), QStyle::SP_DialogSaveButton,
                            GlyphPlacement::Above, 48, 8, 33, 41);
  Bevel1 = Place(new TBevel(this, TBevel::Shape::LeftLine), "Bevel1", 88, 8, 9, 41);
  BitBtn3 = MakeGlyphButton(this, "BitBtn3", QStringLiteral("&Print Model"), QStyle::SP_FileIcon,
                            GlyphPlacement::Above, 96, 8, 65, 41);
  Bevel6 = Place(new TBevel(this, TBevel::Shape::LeftLine), "Bevel6", 168, 8, 9, 41);
  BitBtn7 = MakeGlyphButton(this, "BitBtn7", QStringLiteral("&Animation"), QStyle::SP_MediaPlay,
                            GlyphPlacement::Above, 176, 8, 57, 41);
  BitBtn8 = MakeGlyphButton(this, "BitBtn8", QStringLiteral("Ph&ysics"),
                            QStyle::SP_MediaSeekForward, GlyphPlacement::Above, 240, 8, 49, 41);
  Bevel2 = Place(new TBevel(this, TBevel::Shape::Box), "Bevel2", 8, 56, 313, 233);
  DragSpace = Place(new TImageView(this, 200, 200), "DragSpace", 16, 64, 200, 200);
  Edit1 = Place(new QLineEdit(QStringLiteral("MyObject"), this), "Edit1", 224, 64, 89, 21);
  // The name is one line of the model file.
  Edit1->setValidator(new TSingleLineValidator(Edit1));
  BitBtn5 =
      MakeGlyphButton(this, "BitBtn5", QStringLiteral("Add &Control"),
                      QStyle::SP_FileDialogNewFolder, GlyphPlacement::Beside, 224, 88, 89, 25);
  BitBtn4 =
      MakeGlyphButton(this, "BitBtn4", QStringLiteral("Add &Bézier"),
                      QStyle::SP_FileDialogNewFolder, GlyphPlacement::Beside, 224, 120, 89, 25);
  BitBtn6 =
      MakeGlyphButton(this, "BitBtn6", QStringLiteral("Add &Joint"), QStyle::SP_FileDialogNewFolder,
                      GlyphPlacement::Beside, 224, 152, 89, 25);
  Label3 = MakeLabel(this, "Label3", QStringLiteral("View Plane:"), 224, 184);

  const QFont planeFont = PixelFont(QStringLiteral("Times New Roman"), 13, true);
  PLxy = Place(new QRadioButton(QStringLiteral("x-y"), this), "PLxy", 240, 200, 41, 17);
  PLyz = Place(new QRadioButton(QStringLiteral("y-z"), this), "PLyz", 240, 216, 49, 17);
  PLxz = Place(new QRadioButton(QStringLiteral("x-z"), this), "PLxz", 240, 232, 57, 17);
  for (QRadioButton* plane : {PLxy, PLyz, PLxz}) plane->setFont(planeFont);
  PLxy->setChecked(true);

  // The status text reaches to the window's right edge, room for the longest pick it shows.
  Label9 = Place(new QLabel(QStringLiteral("0 (0,0,0)"), this), "Label9", 224, 256, 328 - 224, 17);
  Label9->setFont(planeFont);
  // The level readout fills the gap up to the scroll bar, room for "-200".
  Label8 = Place(new QLabel(QStringLiteral("0"), this), "Label8", 16, 266, 24, 13);
  PLv = Place(new QScrollBar(Qt::Horizontal, this), "PLv", 40, 265, 176, 17);
  PLv->setRange(-200, 200);
  PLv->setSingleStep(1);
  PLv->setPageStep(1);
  PLv->setValue(0);
  PLv->setFocusPolicy(Qt::StrongFocus);
  // A scroll bar's keys and wheel normally move the content; here they move the level, the same
  // way as its arrow buttons: left, down and the wheel towards the user lower it.
  PLv->setInvertedControls(false);

  button5 = MakeGlyphButton(this, "button5", QStringLiteral("&Delete ..."), QStyle::SP_TrashIcon,
                            GlyphPlacement::Beside, 8, 296, 81, 25);
  button4 =
      MakeGlyphButton(this, "button4", QStringLiteral("&Other Things ..."),
                      QStyle::SP_FileDialogDetailedView, GlyphPlacement::Beside, 96, 296, 105, 25);

  // The bevels decorate; the controls they frame sit above them.
  Bevel2->lower();
  Bevel1->lower();
  Bevel6->lower();

  QWidget* const order[] = {BitBtn1, BitBtn2, BitBtn3, BitBtn7, BitBtn8, Edit1,   BitBtn5, BitBtn4,
                            BitBtn6, PLxy,    PLyz,    PLxz,    PLv,     button5, button4};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(BitBtn1, &QToolButton::clicked, this, &TForm1::BitBtn1Click);
  connect(BitBtn2, &QToolButton::clicked, this, &TForm1::BitBtn2Click);
  connect(BitBtn3, &QToolButton::clicked, this, &TForm1::BitBtn3Click);
  connect(button5, &QToolButton::clicked, this, &TForm1::button5Click);
  connect(button4, &QToolButton::clicked, this, &TForm1::button4Click);
  ConnectDragSpace();
  // Connected after the start text is in, so the start text does not count as a rename.
  connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
  // The typing of one visit of the field is one step.
  connect(Edit1, &QLineEdit::editingFinished, this, [this] { History->Record(); });
}

void TForm1::BuildMenus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  LastControl1 = PopupMenu1->addAction(QStringLiteral("Last Control"));
  LastControl1->setObjectName(QStringLiteral("LastControl1"));
  LastB1 = PopupMenu1->addAction(QStringLiteral("Last Bézier"));
  LastB1->setObjectName(QStringLiteral("LastB1"));
  Last1 = PopupMenu1->addAction(QStringLiteral("Last Joint"));
  Last1->setObjectName(QStringLiteral("Last1"));

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  RandomizeBzierColours1 = PopupMenu2->addAction(QStringLiteral("Randomize Bézier Colours"));
  RandomizeBzierColours1->setObjectName(QStringLiteral("RandomizeBzierColours1"));
  EditBzierColour1 = PopupMenu2->addAction(QStringLiteral("Edit Bézier Colour"));
  EditBzierColour1->setObjectName(QStringLiteral("EditBzierColour1"));
  SetOwnerInfo1 = PopupMenu2->addAction(QStringLiteral("Set Owner Information"));
  SetOwnerInfo1->setObjectName(QStringLiteral("SetOwnerInfo1"));
  NetworkRendering = PopupMenu2->addAction(QStringLiteral("Use Network"));
  NetworkRendering->setObjectName(QStringLiteral("NetworkRendering"));
  NetworkRendering->setCheckable(true);
  // A group that may be left empty draws its one item with a radio mark that can be cleared.
  auto* networkGroup = new QActionGroup(PopupMenu2);
  networkGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  networkGroup->addAction(NetworkRendering);
  SetUpNetwork1 = PopupMenu2->addAction(QStringLiteral("Set Up Network"));
  SetUpNetwork1->setObjectName(QStringLiteral("SetUpNetwork1"));
  PopupMenu2->addSeparator();
  Undo1 = PopupMenu2->addAction(QStringLiteral("Undo"));
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Redo1 = PopupMenu2->addAction(QStringLiteral("Redo"));
  Redo1->setObjectName(QStringLiteral("Redo1"));
  connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);

  // Popups are windows of their own and do not take the font of the window that opens them.
  PopupMenu1->setFont(font());
  PopupMenu2->setFont(font());
}

FileDialogOptions TForm1::OpenDialog1() {
  FileDialogOptions options = ModelFileDialog(QStringLiteral("Open MVD (Bézier Type)"));
  options.mustExist = true;
  return options;
}

FileDialogOptions TForm1::SaveDialog1() {
  FileDialogOptions options = ModelFileDialog(QStringLiteral("Save MVD"));
  options.confirmOverwrite = true;
  return options;
}

void TForm1::FormCreate() {
  RunReported(prompts_, [this] { StartUp(); });
}

void TForm1::StartUp() {
  SetEditAllowed(true);
  Dragging = false;
  DragIsControl = false;
  DragSlot = 0;

  CurrentModel.Name = "MyObject";
  AnimationSet.ModelName = "Something.";

  SetStartViewParameters();
  MakeAngleTables();

  PlaneControls.Count = 0;
  PlaneJoints.Count = 0;
  DrawTheDrag();

  FindRecovery();
  // A model to recover is offered first, once the windows are shown; the command-line model
  // waits for the answer.
  commandLineWaits_ = RecoveryQuestionsWait() && !commandLineFile_.isEmpty();
  // The 3D view is drawn once the display window exists, when this window is activated.
  if (!commandLineWaits_) LoadCommandLineFile(false);
  History->Reset();
}

void TForm1::LoadCommandLineFile(bool redrawView) {
  if (commandLineFile_.isEmpty()) return;
  // Only No ends the program; Escape or the close button carry on loading.
  if (prompts_.AskYesNoError(QStringLiteral(
          "Are you sure this is a MVD4 (jointed bézier with mass) file? Morv! 5 V1 and 4 files "
          "are not compatible. Press Yes to continue loading, and No to quit.")) == Answer::No) {
    quitRequested_ = true;
    return;
  }
  // A file that cannot be read is reported, and the program goes on with the empty model.
  RunReported(prompts_, [this, redrawView] {
    Memo1 = ReadTextLines(commandLineFile_);
    LoadMemo1(redrawView);
  });
}

void TForm1::FindRecovery() {
  // Each file this run holds until it is asked about; the readable ones after the first stay
  // for a later start.
  for (TRecoveryFile& file : TRecoveryFile::LeftBehind()) {
    try {
      TextLines lines = ReadTextLines(file.Path());
      TMorvObject model;
      LoadModel(lines, model);
      if (recoveryOffer_) continue;
      recoveryLines_ = std::move(lines);
      recoveryName_ = FromModelText(model.Name);
      recoveryOffer_ = std::move(file);
    } catch (const std::exception& error) {
      unreadableRecovery_.push_back({std::move(file), QString::fromUtf8(error.what())});
    }
  }
}

bool TForm1::RecoveryQuestionsWait() const {
  return recoveryOffer_.has_value() || !unreadableRecovery_.empty();
}

void TForm1::OfferRecovery() {
  if (!RecoveryQuestionsWait()) return;
  // Everything is taken before the first question: its box runs an event loop, in which the
  // activation asks for this again.
  std::optional<TRecoveryFile> offer = std::move(recoveryOffer_);
  recoveryOffer_.reset();
  std::vector<TUnreadableRecovery> unreadable = std::move(unreadableRecovery_);
  unreadableRecovery_.clear();
  Answer answer = Answer::Dismissed;
  if (offer) {
    TRecoveryFile file = std::move(*offer);
    answer =
        prompts_.AskYesNo(QStringLiteral("Morv! 5 was not closed properly. Recover the model \"") +
                          recoveryName_ + QStringLiteral("\" as it was at ") +
                          file.Written().toString(QStringLiteral("HH:mm")) + QStringLiteral("?"));
    if (answer == Answer::No) file.Remove();
    if (answer == Answer::Yes) {
      // Changed and unsaved: the model last loaded or saved is still the one of the start.
      RunCommand(QStringLiteral("Recover"), [this] {
        Memo1 = std::move(recoveryLines_);
        LoadMemo1(true);
      });
      Recovery->Adopt(std::move(file));
    }
    recoveryLines_.clear();
  }
  // Asked once: a file kept is set aside where the user finds it and later starts do not.
  for (TUnreadableRecovery& file : unreadable) {
    const QString path = QDir::toNativeSeparators(file.File.Path());
    if (prompts_.AskYesNo(QStringLiteral("The recovery file ") + path +
                          QStringLiteral(" cannot be read: ") + file.Reason +
                          QStringLiteral(". Delete it?")) == Answer::Yes) {
      file.File.Remove();
    } else {
      file.File.SetAside();
    }
  }
  if (answer == Answer::Yes || !commandLineWaits_) return;
  commandLineWaits_ = false;
  LoadCommandLineFile(true);
  History->Reset();
  if (quitRequested_) close();
}

void TForm1::LoadMemo1(bool redrawView) {
  LoadModel(Memo1, CurrentModel);
  if (redrawView) DrawTheThing();
  DrawTheDrag();
  ShowModelName();
  if (CurrentModel.Locked) {
    SetEditAllowed(false);
    prompts_.ShowMessage(LockedMessage());
  }
}

void TForm1::FormShow() {
  RunReported(prompts_, [] {
    if (Display == nullptr) return;
    Display->show();
    TargetCanvas = &Display->MainView->Canvas();
  });
}

void TForm1::FormActivate() {
  RunReported(prompts_, [this] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect frame = frameGeometry();
    const int left = (screen != nullptr ? screen->geometry().width() : 0) / 2 - frame.width();
    const int top = frame.top();
    move(left, top);
    if (Display != nullptr) Display->move(left + frame.width() + 4, top);
    if (anim != nullptr) anim->move(ConsolePosition());
    if (phys != nullptr) phys->move(ConsolePosition());
    DrawTheThing();
  });
}

QPoint TForm1::ConsolePosition() const {
  const QRect frame = frameGeometry();
  return {frame.left(), frame.top() + frame.height() + 4};
}

void TForm1::Edit1Change() {
  RunReported(prompts_, [this] {
    const std::string name = ToModelText(Edit1->text());
    // Only the user renames, and only while editing is allowed: a name put in from the model may
    // be longer than the field holds, and the model keeps all of it.
    if (!showingName_ && editAllowed_ && name != CurrentModel.Name) {
      History->Continue(QStringLiteral("Rename"));
      CurrentModel.Name = name;
    }
    // While the main window is being created the display does not exist yet; it takes the name
    // from the model when it is created.
    if (Display != nullptr) Display->ShowModelName(FromModelText(CurrentModel.Name));
  });
}

void TForm1::BitBtn1Click() {
  if (!SaveChangesBefore(QStringLiteral("loading another"))) return;
  bool loaded = false;
  RunCommand(QStringLiteral("Load"), [this, &loaded] {
    prompts_.ShowMessage(
        QStringLiteral("Only open MVD4 (jointed bézier with mass) files! Morv! 5 V1 and 4 files "
                       "are not compatible."));
    const std::optional<QString> file = prompts_.OpenFileName(OpenDialog1());
    if (!file) return;
    Memo1 = ReadTextLines(*file);
    LoadMemo1(true);
    loaded = true;
  });
  if (loaded) History->MarkSaved();
}

bool TForm1::BitBtn2Click() {
  bool saved = false;
  RunReported(prompts_, [this, &saved] {
    const std::optional<QString> file = prompts_.SaveFileName(SaveDialog1());
    if (!file) return;
    SaveModel(CurrentModel, Memo1);
    WriteTextLines(*file, Memo1);
    saved = true;
  });
  if (saved) History->MarkSaved();
  return saved;
}

bool TForm1::SaveChangesBefore(const QString& what) {
  History->Record();
  if (!History->Changed()) return true;
  switch (
      prompts_.AskToSave(QStringLiteral("The model \"") + FromModelText(CurrentModel.Name) +
                         QStringLiteral("\" has changes that are not saved. Save them before ") +
                         what + QStringLiteral("?"))) {
    case SaveAnswer::Save:
      return BitBtn2Click();
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}

QPoint TForm1::PopupPosition(const QWidget* button) const {
  const QRect frame = frameGeometry();
  return {frame.left() + button->x() + 4, frame.top() + button->y() + button->height() + 22};
}

void TForm1::button5Click() {
  if (EditGate()) PopupMenu1->popup(PopupPosition(button5));
}

void TForm1::button4Click() {
  if (!EditGate()) return;
  // The undo item names what a timer has been changing until now, which goes on gathering into
  // one step while the menu is open.
  UpdateHistoryItems();
  PopupMenu2->popup(PopupPosition(button4));
}

void TForm1::Undo1Click() {
  RunReported(prompts_, [this] {
    if (!EditGate()) return;
    // Playback going on would move the model again at once and throw the redo away: it halts,
    // and what it moved since the last command is the first step to go.
    HaltMotion();
    // A drag under way ends here and is a step of its own.
    DragSpaceMouseUp();
    History->Undo();
  });
}

void TForm1::Redo1Click() {
  RunReported(prompts_, [this] {
    if (!EditGate()) return;
    HaltMotion();
    DragSpaceMouseUp();
    History->Redo();
  });
}

void TForm1::HistoryApplied() {
  ShowModelName();
  DrawTheDrag();
  DrawTheThing();
  // An undo must not get round a lock: a locked model it brings back is locked as a Load of it
  // leaves it, unless the user has given its password in this run.
  if (CurrentModel.Locked && editAllowed_ && !knownPasswords_.contains(CurrentModel.Password)) {
    SetEditAllowed(false);
    prompts_.ShowMessage(LockedMessage());
  }
}

void TForm1::ShowModelName() {
  const QString name = FromModelText(CurrentModel.Name);
  showingName_ = true;
  if (Edit1->text() != name) Edit1->setText(name);
  showingName_ = false;
  if (Display != nullptr) Display->ShowModelName(name);
}

void TForm1::HaltMotion() {
  HaltAnimations(AnimationSet);
  if (PhysicsPump->isActive() && phys != nullptr) phys->BitBtn5Click();
}

void TForm1::UpdateHistoryItems() {
  Undo1->setText(History->UndoText());
  Undo1->setEnabled(History->CanUndo());
  Redo1->setText(History->RedoText());
  Redo1->setEnabled(History->CanRedo());
}

void TForm1::SetEditAllowed(bool allowed) {
  editAllowed_ = allowed;
  Edit1->setReadOnly(!allowed);
}

void TForm1::PasswordGiven() {
  knownPasswords_.insert(CurrentModel.Password);
  SetEditAllowed(true);
}

bool TForm1::EditGate() {
  if (editAllowed_) return true;
  if (password != nullptr) prompts_.ExecDialog(*password);
  return false;
}

// The redraws run inside the handler that asked for them: a failure ends that handler. A network
// request reports its own failure, as a redraw is also asked for by handlers that report nothing.
void TForm1::DrawTheThing() {
  if (Display == nullptr) return;
  const bool timed = Display->CheckBox3->isChecked();
  const auto start = std::chrono::steady_clock::now();
  TRenderReport report;
  if (NetworkRendering->isChecked()) {
    // A failed request has left network mode and drawn the view locally, readout and all; the
    // time its message was shown is no render time.
    if (!NetworkClient->Request()) return;
  } else {
    report = renderDriver_.Render(CurrentModel, Display->xV->value(), Display->yV->value(),
                                  Display->zV->value(), Display->CheckBox1->isChecked());
  }
  if (timed) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    Display->Label4->setText(QString::number(elapsed.count()) + QStringLiteral(" ms"));
  }
  Display->MainView->update();
  if (report.LightFailed) prompts_.ShowMessage(QString::fromUtf8(LightErrorText));
  if (report.SortCrashed) {
    prompts_.ShowMessage(QString::fromUtf8(SortCrashText));
    QCoreApplication::exit(1);
  }
}

void TForm1::SetUpNetwork1Click() {
  RunReported(prompts_, [this] {
    if (network != nullptr) prompts_.ExecDialog(*network);
  });
}

bool TForm1::event(QEvent* event) {
  // The drag space loses the mouse to a modal box, another window or another grab, and with it
  // the release: the drag ends where it stands.
  if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowDeactivate ||
      event->type() == QEvent::UngrabMouse || event->type() == QEvent::Hide) {
    DragSpaceMouseUp();
  }
  if (event->type() == QEvent::WindowActivate) {
    FormActivate();
    // Asked over the windows once they stand in their places, which the activation puts them in.
    if (RecoveryQuestionsWait()) QTimer::singleShot(0, this, &TForm1::OfferRecovery);
  }
  return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!shownBefore_) {
    shownBefore_ = true;
    CentreOnScreen(this);
    // A window manager that does not activate the window still gets the question.
    if (RecoveryQuestionsWait()) {
      QTimer::singleShot(RecoveryOfferDelayMs, this, &TForm1::OfferRecovery);
    }
  }
  FormShow();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!SaveChangesBefore(QStringLiteral("closing"))) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
  emit Closed();
}

}  // namespace morv
