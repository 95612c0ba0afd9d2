// The joystick component: turns the joystick service's notifications into stick, Z and button
// events, scales readings around a calibrated centre and keeps that calibration in an INI file.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "input/joystick_service.h"

namespace morv {

class TJoystickex;

enum class TGamePort { Gameport1, Gameport2 };

using TJoyMoveEvent = std::function<void(TJoystickex& Sender, int XPos, int YPos,
                                         uint16_t ButtonStatus, bool IsCalibrating)>;
using TJoyZMoveEvent =
    std::function<void(TJoystickex& Sender, int ZPos, uint16_t ButtonStatus, bool IsCalibrating)>;
using TButtonNotifyEvent =
    std::function<void(TJoystickex& Sender, bool pressed, int Xpos, int YPos)>;

// The program path with its extension replaced by ".INI", or ".INI" appended when it has none.
QString CalibrationFilePath(const QString& programPath);

class TJoystickex {
 public:
  // `iniPath` is where the calibration is loaded from and saved to.
  TJoystickex(JoystickService& service, QString iniPath);
  // Ends the capture and, with CalAutoSave, saves the calibration.
  ~TJoystickex();

  TJoystickex(const TJoystickex&) = delete;
  TJoystickex& operator=(const TJoystickex&) = delete;

  // True when the service accepted the capture.
  bool StartCapture();
  void StopCapture();
  // A missing file or key gives that key's default. False, with nothing changed, when the file
  // exists but cannot be read.
  bool LoadCalibration();
  // False when the file cannot be written; the calibration is kept all the same.
  bool SaveCalibration();

  TGamePort GamePort() const { return gamePort_; }
  // Takes the device's ranges, buttons and periods; a running capture moves to the new joystick.
  void SetGamePort(TGamePort port);
  bool Polling() const { return polling_; }
  void SetPolling(bool polling);
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  // Percent of the X axis range, kept within 0..10.
  double EventThreshold() const { return eventThreshold_; }
  void SetEventThreshold(double percent);
  bool Scaled() const { return scaled_; }
  void SetScaled(bool scaled) { scaled_ = scaled; }
  uint16_t XScaledBy() const { return xScaledBy_; }
  uint16_t YScaledBy() const { return yScaledBy_; }
  uint16_t ZScaledBy() const { return zScaledBy_; }
  // 0 becomes 1.
  void SetXScaledBy(uint16_t value);
  void SetYScaledBy(uint16_t value);
  void SetZScaledBy(uint16_t value);
  bool CalAutoSave() const { return calAutoSave_; }
  void SetCalAutoSave(bool on) { calAutoSave_ = on; }
  bool CalAutoLoad() const { return calAutoLoad_; }
  // Switching it on loads the calibration.
  void SetCalAutoLoad(bool on);
  int MaxZ() const { return maxZ_; }
  int MinZ() const { return minZ_; }
  int NumButtons() const { return numButtons_; }

  bool Active() const { return active_; }
  int MaxLeftUpX() const { return maxLeftUpX_; }
  int MaxLeftUpY() const { return maxLeftUpY_; }
  int MaxRightDownX() const { return maxRightDownX_; }
  int MaxRightDownY() const { return maxRightDownY_; }
  int PeriodMin() const { return periodMin_; }
  int PeriodMax() const { return periodMax_; }

  // Set by the host only: while true, stick moves widen the X and Y ranges.
  bool Calibrating = false;
  // The raw stick position taken as the centre.
  int CenterX = 0;
  int CenterY = 0;

  TButtonNotifyEvent OnButton1_Change;
  TButtonNotifyEvent OnButton2_Change;
  TButtonNotifyEvent OnButton3_Change;
  TButtonNotifyEvent OnButton4_Change;
  TJoyZMoveEvent JoyZMove;
  TJoyMoveEvent JoyMove;

 private:
  class MessageWindow;

  int Joystick() const { return gamePort_ == TGamePort::Gameport1 ? 0 : 1; }
  // True when the device answered; otherwise the ranges stay as they were.
  bool ReadDeviceCaps();
  void ComputeScaleFactors();
  // The distance from the centre divided by the factor of its side, or the raw reading unscaled.
  int ScaleAxis(uint16_t raw, int centre, double above, double below) const;
  int ScaleX(uint16_t raw) const;
  int ScaleY(uint16_t raw) const;
  int ScaleZ(uint16_t raw) const;

  void StickMoved(uint16_t x, uint16_t y, uint16_t buttons);
  void ZMoved(uint16_t z, uint16_t buttons);
  void ButtonsChanged(uint16_t changed, uint16_t pressed, uint16_t x, uint16_t y);

  JoystickService& service_;
  QString iniPath_;
  std::unique_ptr<MessageWindow> window_;

  TGamePort gamePort_ = TGamePort::Gameport1;
  bool polling_ = false;
  int interval_ = 50;
  double eventThreshold_ = 0.1;
  bool scaled_ = true;
  uint16_t xScaledBy_ = 400;
  uint16_t yScaledBy_ = 300;
  uint16_t zScaledBy_ = 100;
  bool calAutoSave_ = true;
  bool calAutoLoad_ = true;
  int maxZ_ = 32767;
  int minZ_ = 0;
  int numButtons_ = 2;

  bool active_ = false;
  int maxLeftUpX_ = -32767;
  int maxLeftUpY_ = -32767;
  int maxRightDownX_ = 32767;
  int maxRightDownY_ = 32767;
  int periodMin_ = 10;
  int periodMax_ = 1000;
  // Kept from the last time the device answered; a device first seen when a capture starts
  // gives its ranges then.
  std::optional<JoystickCaps> caps_;
  // X above and below the centre, Y above and below, Z.
  std::array<double, 5> factors_{1.0, 1.0, 1.0, 1.0, 1.0};
};

}  // namespace morv
