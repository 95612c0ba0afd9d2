// The main window: model name, file commands, the drag space and the buttons of every editor.
#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "drawing/drag_space_drawing.h"
#include "engine/line_text.h"
#include "engine/model.h"
#include "engine/one_based_array.h"
#include "engine/render_driver.h"
#include "platform/error_report.h"
#include "platform/page_printer.h"
#include "platform/prompts.h"
#include "platform/recovery_file.h"
#include "ui/bevel.h"
#include "ui/image_view.h"
#include "ui/model_history.h"
#include "ui/network_client.h"
#include "ui/recovery_keeper.h"

namespace morv {

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // `commandLineFile` is the model file named on the command line, empty when there is none.
  TForm1(Prompts& prompts, const QString& commandLineFile, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start values of the shared state, the drag space, and the model named on the command line.
  // Runs once, before any other window exists.
  void FormCreate();
  // Shows the 3D display beside this window.
  void FormShow();
  // Puts this window back at the middle of the screen with its companions around it, and
  // redraws the 3D view.
  void FormActivate();
  void Edit1Change();
  // "&Load"; with unsaved changes it first asks whether to save them.
  void BitBtn1Click();
  // "&Save"; true when the model was written.
  bool BitBtn2Click();
  // "&Print Model": three pages, planes X-Y, Y-Z and X-Z, each its own print job.
  void BitBtn3Click();
  // The printer "&Print Model" prints on; null (the start value) is the system's default printer.
  // The printer must outlive its use here.
  void SetPagePrinter(PagePrinter* printer) { pagePrinter_ = printer; }
  void button5Click();  // opens PopupMenu1
  void button4Click();  // opens PopupMenu2

  // Element commands: add, delete the last, colour, owner information.
  void BitBtn5Click();  // "Add &Control"
  void BitBtn4Click();  // "Add &Bézier"
  void BitBtn6Click();  // "Add &Joint"
  void LastControl1Click();
  void LastB1Click();
  void Last1Click();
  void RandomizeBzierColours1Click();
  void EditBzierColour1Click();
  void SetOwnerInfo1Click();
  // "Set Up Network": the network settings dialog, modally. ("Use Network" is a checkable item:
  // each click toggles network mode, which DrawTheThing reads.)
  void SetUpNetwork1Click();
  // Take back or bring again one step of the model's history, behind the editing gate. The keys
  // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y do the same in this window and the 3D display.
  void Undo1Click();
  void Redo1Click();
  // With unsaved changes, asks whether to save them before `what` ("closing"); true when the
  // flow may go on: the changes were saved or discarded, or there were none.
  bool SaveChangesBefore(const QString& what);
  // Once the windows are shown: offers the model a run that ended improperly left behind, offers
  // each left-behind file that cannot be read for deletion, then loads the command-line model if
  // that waited for the answers.
  void OfferRecovery();
  // The animation and mechanics buttons start their timer and show their console; each makes the
  // other unavailable. A locked model is changed at the user's peril.
  void BitBtn7Click();
  void BitBtn8Click();
  // The ticks of the two timers: one animation step or one mechanics step, then both redraws.
  void AnimationPumpTimer();
  void PhysicsPumpTimer();

  // The gate of every editing command: true when the model may be edited; otherwise the password
  // prompt is shown modally, and the command must not act even if the password was right.
  bool EditGate();
  // The model may be edited in this run: cleared by loading a locked model, and by an undo or redo
  // that brings one back whose password was not given in this run.
  bool EditAllowed() const { return editAllowed_; }
  // Also makes the name field read-only while editing is not allowed.
  void SetEditAllowed(bool allowed);
  // The password prompt was answered with the model's own password: editing is allowed, and stays
  // so when an undo or redo brings back a model locked with that password.
  void PasswordGiven();

  // Redraws the 3D view from CurrentModel.
  void DrawTheThing();
  // Waits for a render worker that may still be drawing on the 3D view.
  void FinishRendering() { renderDriver_.Finish(); }
  // The 3D view's light and background, changed once no render worker reads them.
  void SetLightVector(const TPoint3D& light) { renderDriver_.SetLightVector(light); }
  void SetBackgroundColour(int32_t colour) { renderDriver_.SetBackgroundColour(colour); }
  // Redraws the drag space from CurrentModel.
  void DrawTheDrag();
  // The axis plane the drag space shows, and its depth.
  TViewPlane ViewPlane() const;
  int32_t PlaneLevel() const;

  // Shared by the three view-plane radio buttons.
  void PLxyClick();
  void PLvChange(int value);
  // Left picks a control vertex, right a joint; moving drags it within the shown plane.
  void DragSpaceMouseDown(Qt::MouseButton button, QPoint position);
  void DragSpaceMouseMove(QPoint position);
  void DragSpaceMouseUp();

  // True when the user declined the command-line file at start: the program ends at once.
  bool QuitRequested() const { return quitRequested_; }

  // Where the two consoles stand: left edges level with this window's, 4 pixels under its frame.
  QPoint ConsolePosition() const;

  // Where a button's popup menu opens, in screen coordinates: just under the button's lower left
  // corner, counted from the window's outer edges.
  QPoint PopupPosition(const QWidget* button) const;

  static FileDialogOptions OpenDialog1();
  static FileDialogOptions SaveDialog1();

  QToolButton* BitBtn1;
  QToolButton* BitBtn2;
  TBevel* Bevel1;
  QToolButton* BitBtn3;
  TBevel* Bevel6;
  QToolButton* BitBtn7;
  QToolButton* BitBtn8;
  TBevel* Bevel2;
  TImageView* DragSpace;
  QLineEdit* Edit1;
  QToolButton* BitBtn5;
  QToolButton* BitBtn4;
  QToolButton* BitBtn6;
  QLabel* Label3;
  QRadioButton* PLxy;
  QRadioButton* PLyz;
  QRadioButton* PLxz;
  QLabel* Label9;
  QLabel* Label8;
  QScrollBar* PLv;
  QToolButton* button5;
  QToolButton* button4;

  QMenu* PopupMenu1;
  QAction* LastControl1;
  QAction* LastB1;
  QAction* Last1;
  QMenu* PopupMenu2;
  QAction* RandomizeBzierColours1;
  QAction* EditBzierColour1;
  QAction* SetOwnerInfo1;
  QAction* NetworkRendering;
  QAction* SetUpNetwork1;
  QAction* Undo1;
  QAction* Redo1;

  QTimer* AnimationPump;
  QTimer* PhysicsPump;
  QTcpSocket* Sock;
  // The request state of network mode, on Sock and Memo2.
  TNetworkClient* NetworkClient;

  // Line buffers: Memo1 stages the model files the user loads and saves, Memo2 the model sent
  // to the render server.
  TextLines Memo1;
  TextLines Memo2;

  // Every change of the working model, and whether it is saved; the recovery file while it is not.
  TModelHistory* History;
  TRecoveryKeeper* Recovery;

  // Drag state of the drag space.
  bool Dragging = false;
  bool DragIsControl = false;
  int32_t DragSlot = 0;

  TPlaneList PlaneControls;
  TPlaneList PlaneJoints;

 signals:
  // The main window was closed: the program ends.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void ConnectDragSpace();
  void ConnectElementCommands();
  // The depth of a new element: the plane level in the field of the shown plane's depth axis.
  void PresetDepth(QSpinBox* x, QSpinBox* y, QSpinBox* z) const;
  // Lowers one of the model's counts by one and redraws both views.
  void RemoveLast(int32_t& count, const QString& name);
  void StartUp();
  // The model named on the command line, after the question whether it is an MVD4 file.
  void LoadCommandLineFile(bool redrawView);
  // Finds the first readable file a run that ended improperly left behind, and those that cannot
  // be read, for OfferRecovery.
  void FindRecovery();
  // OfferRecovery has something to ask.
  bool RecoveryQuestionsWait() const;
  // Shows the model after an undo or a redo, and locks editing when that brought back a locked
  // model whose password was not given in this run.
  void HistoryApplied();
  // Puts the model's name into the name field, which shows what fits of it; that is no rename.
  void ShowModelName();
  // Stops the animations where they stand and ends the mechanics as "Stop!" does.
  void HaltMotion();
  void UpdateHistoryItems();
  // A command of the model's history: its changes become one step named `name`.
  template <typename Handler>
  void RunCommand(const QString& name, Handler&& handler) {
    History->Command(name);
    RunReported(prompts_, std::forward<Handler>(handler));
    History->Record();
  }
  // Loads Memo1 into CurrentModel and shows the result; shared by start-up and "&Load".
  void LoadMemo1(bool redrawView);

  Prompts& prompts_;
  PagePrinter* pagePrinter_ = nullptr;
  TRenderDriver renderDriver_;
  QString commandLineFile_;
  bool quitRequested_ = false;
  bool shownBefore_ = false;
  // A recovery file waiting to be offered, its lines and model name, and whether the command-line
  // model waits for the answer.
  std::optional<TRecoveryFile> recoveryOffer_;
  TextLines recoveryLines_;
  QString recoveryName_;
  // Left-behind files that cannot be read, and why, each to be offered for deletion once.
  struct TUnreadableRecovery {
    TRecoveryFile File;
    QString Reason;
  };
  std::vector<TUnreadableRecovery> unreadableRecovery_;
  bool commandLineWaits_ = false;
  // A tick that shows a message keeps running while the box is open; later ticks wait for it.
  bool pumpBusy_ = false;
  bool editAllowed_ = true;
  // The passwords given in this run, in the password prompt or the owner information.
  std::set<std::string> knownPasswords_;
  // The program, not the user, is putting the model's name into the name field.
  bool showingName_ = false;
};

// The one instance, valid while the application owns it.
extern TForm1* Form1;

}  // namespace morv
