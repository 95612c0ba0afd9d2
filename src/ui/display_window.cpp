// The 3D display window: the rendered model in a 360 x 360 image and the controls that steer it.
#include "ui/display_window.h"

#include <QEvent>

#include "engine/model.h"
#include "engine/view_parameters.h"
#include "platform/error_report.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "ui/fixed_layout.h"
#include "ui/history_keys.h"
#include "ui/main_window.h"

namespace morv {

TDisplay* Display = nullptr;

namespace {

TSpinEdit* MakeAngleEdit(QWidget* parent, const char* name, int left) {
  auto* edit = Place(new TSpinEdit(parent, 0, 360, 0), name, left, 376, 49, 22);
  // The angles change by their arrows, the hover and the joystick; a typed angle is no use.
  edit->SetTypingAllowed(false);
  return edit;
}

QLabel* MakeAxisLabel(QWidget* parent, const char* name, const QString& caption, int left) {
  auto* label = new QLabel(caption, parent);
  label->setFont(PixelFont(QStringLiteral("Times New Roman"), 16, true));
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, 376);
  label->adjustSize();
  return label;
}

}  // namespace

TDisplay::TDisplay(Prompts& prompts, JoystickService& joystick, QWidget* parent)
    : QWidget(parent, BareWindowFlags),
      Joystick(joystick, CalibrationFilePath(ProgramFile())),
      prompts_(prompts) {
  FixClientSize(this, "Display", QString(), 361, 457);
  setFont(DefaultWindowFont());
  // The name may have been set before this window existed, while the main window was created.
  ShowModelName(FromModelText(CurrentModel.Name));

  MainView = Place(new TImageView(this, 360, 360), "MainView", 0, 0, 360, 360);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Rotation:"), 8, 380);
  Label5 = MakeAxisLabel(this, "Label5", QStringLiteral("x"), 56);
  Label6 = MakeAxisLabel(this, "Label6", QStringLiteral("y"), 136);
  Label7 = MakeAxisLabel(this, "Label7", QStringLiteral("z"), 216);
  xV = MakeAngleEdit(this, "xV", 72);
  yV = MakeAngleEdit(this, "yV", 152);
  zV = MakeAngleEdit(this, "zV", 232);
  BitBtn1 = MakeGlyphButton(this, "BitBtn1", QStringLiteral("&BMP"), QStyle::SP_DialogSaveButton,
                            GlyphPlacement::Beside, 296, 376, 57, 25);
  CheckBox2 = Place(new QCheckBox(QStringLiteral("Allow hover-rotate"), this), "CheckBox2", 8, 408,
                    120, 17);
  CheckBox2->setChecked(true);
  CheckBox1 = Place(new QCheckBox(QStringLiteral("Use multi-threading"), this), "CheckBox1", 8, 432,
                    120, 17);
  CheckBox3 =
      Place(new QCheckBox(QStringLiteral("Get Render Time"), this), "CheckBox3", 136, 408, 104, 17);
  // The readout ends at the separator on its right, wide enough for any render time.
  Label4 = Place(new QLabel(QStringLiteral("0 ms"), this), "Label4", 144, 432, 96, 13);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Background:"), 256, 408);
  Shape1 = Place(new TColourSwatch(this, BackgroundColour), "Shape1", 256, 424, 65, 25);
  Bevel3 = Place(new TBevel(this, TBevel::Shape::LeftLine), "Bevel3", 128, 408, 9, 41);
  Bevel4 = Place(new TBevel(this, TBevel::Shape::RightLine), "Bevel4", 240, 408, 9, 41);

  connect(MainView, &TImageView::MouseMove, this,
          [this](Qt::MouseButtons, QPoint position) { MainViewMouseMove(position); });
  connect(MainView, &TImageView::MouseDown, this,
          [this](Qt::MouseButton, QPoint position) { MainViewMouseDown(position); });
  connect(Shape1, &TColourSwatch::MouseDown, this, [this] { Shape1MouseDown(); });
  connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });

  // In the order of the component's properties, so the port reads the device's ranges before
  // any calibration could replace them.
  Joystick.SetGamePort(TGamePort::Gameport1);
  Joystick.SetPolling(false);
  Joystick.SetInterval(100);
  Joystick.SetEventThreshold(0.1);
  Joystick.SetScaled(true);
  Joystick.SetXScaledBy(10);
  Joystick.SetYScaledBy(10);
  Joystick.SetZScaledBy(10);
  Joystick.SetCalAutoSave(false);
  Joystick.SetCalAutoLoad(false);
  Joystick.JoyMove = [this](TJoystickex& sender, int x, int y, uint16_t buttons, bool calibrating) {
    JoystickJoyMove(sender, x, y, buttons, calibrating);
  };
  Joystick.JoyZMove = [this](TJoystickex& sender, int z, uint16_t buttons, bool calibrating) {
    JoystickJoyZMove(sender, z, buttons, calibrating);
  };

  setTabOrder(xV, yV);
  setTabOrder(yV, zV);
  setTabOrder(zV, BitBtn1);
  setTabOrder(BitBtn1, CheckBox2);
  setTabOrder(CheckBox2, CheckBox1);
  setTabOrder(CheckBox1, CheckBox3);
  // The model's history answers its keys here as in the main window.
  new THistoryKeys(
      *this,
      [] {
        if (Form1 != nullptr) Form1->Undo1Click();
      },
      [] {
        if (Form1 != nullptr) Form1->Redo1Click();
      });
}

FileDialogOptions TDisplay::SaveDialog1() {
  FileDialogOptions options;
  options.title = QStringLiteral("Save BMP");
  options.filter = QStringLiteral("Bitmap (*.BMP *.bmp)");
  options.defaultSuffix = QStringLiteral("BMP");
  options.confirmOverwrite = true;
  return options;
}

void TDisplay::MainViewMouseMove(QPoint position) {
  RunReported(prompts_, [&] {
    if (!CheckBox2->isChecked() || Form1 == nullptr) return;
    // While a button is held the pointer may leave the picture; the spin edits clamp.
    xV->setValue(position.y());
    yV->setValue(position.x());
    Form1->DrawTheThing();
  });
}

void TDisplay::MainViewMouseDown(QPoint position) {
  RunReported(prompts_, [&] {
    if (Form1 == nullptr) return;
    Form1->SetLightVector({position.x() - 180, 180 - position.y(), LightVector.Z});
    Form1->DrawTheThing();
  });
}

void TDisplay::Shape1MouseDown() {
  RunReported(prompts_, [&] {
    const std::optional<int32_t> colour = prompts_.ChooseColour(Shape1->Colour());
    if (!colour) return;
    Shape1->SetColour(*colour);
    if (Form1 == nullptr) return;
    Form1->SetBackgroundColour(*colour);
    Form1->DrawTheThing();
  });
}

void TDisplay::BitBtn1Click() {
  RunReported(prompts_, [&] {
    // The picture is held in 32-bit form and always written with 24 bits per pixel, so there is
    // nothing to switch before the dialog.
    const std::optional<QString> file = prompts_.SaveFileName(SaveDialog1());
    if (!file) return;
    SaveBitmap24(MainView->Canvas().Snapshot(), *file);
  });
}

void TDisplay::FormShow() { Joystick.StartCapture(); }

namespace {

// Positions run from 0 to 10 with the middle at 5; the spin edit keeps the angle within 0..360.
void Turn(TSpinEdit* angle, int position) {
  if (position <= 4) angle->setValue(angle->value() - 5);
  if (position >= 6) angle->setValue(angle->value() + 5);
}

}  // namespace

void TDisplay::JoystickJoyMove(TJoystickex&, int XPos, int YPos, uint16_t, bool) {
  RunReported(prompts_, [&] {
    Turn(yV, XPos);
    Turn(xV, YPos);
    if (Form1 != nullptr) Form1->DrawTheThing();
  });
}

void TDisplay::JoystickJoyZMove(TJoystickex&, int ZPos, uint16_t, bool) {
  RunReported(prompts_, [&] {
    Turn(zV, ZPos);
    if (Form1 != nullptr) Form1->DrawTheThing();
  });
}

void TDisplay::ShowModelName(const QString& name) {
  setWindowTitle(QStringLiteral("3D Display - ") + name);
}

TSceneSettings TDisplay::ViewScene() const {
  TSceneSettings scene;
  scene.Background = BackgroundColour;
  scene.Scale = ViewScale;
  scene.Light = LightVector;
  scene.AngleX = xV->value();
  scene.AngleY = yV->value();
  scene.AngleZ = zV->value();
  return scene;
}

void TDisplay::FormActivate() {
  if (Form1 == nullptr) return;
  const QRect main = Form1->frameGeometry();
  move(main.left() + main.width() + 4, main.top());
}

bool TDisplay::event(QEvent* event) {
  if (RefuseFrameClose(event)) return true;
  if (event->type() == QEvent::WindowActivate) FormActivate();
  // Shown by the program, not brought back from an icon.
  if (event->type() == QEvent::Show && !event->spontaneous()) FormShow();
  return QWidget::event(event);
}

}  // namespace morv
