// The 3D display window: the rendered model in a 360 x 360 image and the controls that steer it.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include "engine/scene_file.h"
#include "input/joystickex.h"
#include "platform/prompts.h"
#include "ui/bevel.h"
#include "ui/colour_swatch.h"
#include "ui/image_view.h"
#include "ui/spin_edit.h"

namespace morv {

class TDisplay : public QWidget {
  Q_OBJECT

 public:
  TDisplay(Prompts& prompts, JoystickService& joystick, QWidget* parent = nullptr);

  // Caption "3D Display - " followed by the model name.
  void ShowModelName(const QString& name);
  // What the view shows now besides the model: background, scale, light and the three angles.
  TSceneSettings ViewScene() const;

  // Keeps the window to the right of the main window, top edges level.
  void FormActivate();

  // Hover-rotate: the pointer's row turns the model about x, its column about y.
  void MainViewMouseMove(QPoint position);
  // The light comes from the direction of the clicked point.
  void MainViewMouseDown(QPoint position);
  // Picks the background colour.
  void Shape1MouseDown();
  // "&BMP": saves the picture as a 24-bit Windows bitmap.
  void BitBtn1Click();

  // Starts the joystick's capture; without a joystick nothing happens.
  void FormShow();
  // The stick and the Z axis turn the view by 5 degrees per event, away from the middle
  // position 5 on each axis.
  void JoystickJoyMove(TJoystickex& Sender, int XPos, int YPos, uint16_t ButtonStatus,
                       bool IsCalibrating);
  void JoystickJoyZMove(TJoystickex& Sender, int ZPos, uint16_t ButtonStatus, bool IsCalibrating);

  static FileDialogOptions SaveDialog1();

  TImageView* MainView;
  QLabel* Label2;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  TSpinEdit* xV;
  TSpinEdit* yV;
  TSpinEdit* zV;
  QToolButton* BitBtn1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox3;
  QLabel* Label4;
  QLabel* Label1;
  TColourSwatch* Shape1;
  TBevel* Bevel3;
  TBevel* Bevel4;
  TJoystickex Joystick;

 protected:
  bool event(QEvent* event) override;

 private:
  Prompts& prompts_;
};

// The one instance, valid while the application owns it.
extern TDisplay* Display;

}  // namespace morv
