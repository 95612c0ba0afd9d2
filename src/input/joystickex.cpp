// The joystick component: turns the joystick service's notifications into stick, Z and button
// events, scales readings around a calibrated centre and keeps that calibration in an INI file.
#include "input/joystickex.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "engine/rounding.h"
#include "platform/ini_file.h"

namespace morv {

QString CalibrationFilePath(const QString& programPath) {
  const QString name = QFileInfo(programPath).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  // A name that starts with its only dot is a hidden file, not an extension.
  if (dot <= 0) return programPath + QStringLiteral(".INI");
  return programPath.left(programPath.size() - (name.size() - dot)) + QStringLiteral(".INI");
}

// Receives the service's notifications for the component; the service reaches the component
// only through it, and only while it exists.
class TJoystickex::MessageWindow : public JoystickSink {
 public:
  explicit MessageWindow(TJoystickex& owner) : owner_(owner) {}
  void StickMoved(uint16_t x, uint16_t y, uint16_t buttons) override {
    owner_.StickMoved(x, y, buttons);
  }
  void ZMoved(uint16_t z, uint16_t buttons) override { owner_.ZMoved(z, buttons); }
  void ButtonsChanged(uint16_t changed, uint16_t pressed, uint16_t x, uint16_t y) override {
    owner_.ButtonsChanged(changed, pressed, x, y);
  }
  // A host that asks whether the stick is still captured must not be told yes for a device that
  // is gone; a new capture finds it again once it is back.
  void CaptureLost() override { owner_.active_ = false; }

 private:
  TJoystickex& owner_;
};

TJoystickex::TJoystickex(JoystickService& service, QString iniPath)
    : service_(service),
      iniPath_(std::move(iniPath)),
      window_(std::make_unique<MessageWindow>(*this)) {}

TJoystickex::~TJoystickex() {
  window_.reset();
  service_.ReleaseCapture(Joystick());
  if (calAutoSave_) SaveCalibration();
}

bool TJoystickex::StartCapture() {
  service_.ReleaseCapture(Joystick());
  // A device plugged in after the port was chosen gives its ranges now, as it would have then;
  // a calibration the host loads from the file still has the last word.
  if (!caps_ && ReadDeviceCaps() && calAutoLoad_) LoadCalibration();
  if (!service_.SetCapture(*window_, Joystick(), interval_, !polling_)) {
    // The old capture, if any, was released above.
    active_ = false;
    return false;
  }
  const int32_t xMax = caps_ ? caps_->Xmax : 0;
  service_.SetThreshold(Joystick(), RoundToInt(xMax * eventThreshold_ / 100.0));
  active_ = true;
  ComputeScaleFactors();
  return true;
}

void TJoystickex::StopCapture() {
  service_.ReleaseCapture(Joystick());
  active_ = false;
}

bool TJoystickex::ReadDeviceCaps() {
  const std::optional<JoystickCaps> caps = service_.DeviceCaps(Joystick());
  if (!caps) return false;
  caps_ = caps;
  maxLeftUpX_ = caps->Xmin;
  maxLeftUpY_ = caps->Ymin;
  maxRightDownX_ = caps->Xmax;
  maxRightDownY_ = caps->Ymax;
  maxZ_ = caps->Zmax;
  minZ_ = caps->Zmin;
  periodMin_ = caps->PeriodMin;
  periodMax_ = caps->PeriodMax;
  numButtons_ = caps->NumButtons;
  return true;
}

void TJoystickex::SetGamePort(TGamePort port) {
  const bool wasActive = active_;
  if (wasActive) StopCapture();
  gamePort_ = port;
  // Another device: what was known of the old one no longer holds.
  caps_.reset();
  ReadDeviceCaps();
  if (wasActive) StartCapture();
}

void TJoystickex::SetPolling(bool polling) {
  polling_ = polling;
  if (active_) {
    StopCapture();
    StartCapture();
  }
}

void TJoystickex::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  if (active_) StartCapture();
}

void TJoystickex::SetEventThreshold(double percent) {
  // NaN fails both comparisons and would pass the clamp unchanged.
  eventThreshold_ = std::isnan(percent) ? 0.0 : std::clamp(percent, 0.0, 10.0);
  const double range = caps_ ? static_cast<double>(caps_->Xmax) - caps_->Xmin : 0.0;
  service_.SetThreshold(Joystick(), RoundToInt(range * eventThreshold_ / 100.0));
}

void TJoystickex::SetXScaledBy(uint16_t value) {
  xScaledBy_ = std::max<uint16_t>(value, 1);
  ComputeScaleFactors();
}

void TJoystickex::SetYScaledBy(uint16_t value) {
  yScaledBy_ = std::max<uint16_t>(value, 1);
  ComputeScaleFactors();
}

void TJoystickex::SetZScaledBy(uint16_t value) {
  zScaledBy_ = std::max<uint16_t>(value, 1);
  ComputeScaleFactors();
}

void TJoystickex::SetCalAutoLoad(bool on) {
  calAutoLoad_ = on;
  if (on) LoadCalibration();
}

void TJoystickex::ComputeScaleFactors() {
  // In doubles: a calibration file may hold any integers, and their differences may not fit.
  const auto span = [](int high, int low, uint16_t by) {
    return (static_cast<double>(high) - static_cast<double>(low)) / by;
  };
  factors_[0] = span(maxRightDownX_, CenterX, xScaledBy_);
  factors_[1] = span(CenterX, maxLeftUpX_, xScaledBy_);
  factors_[2] = span(maxRightDownY_, CenterY, yScaledBy_);
  factors_[3] = span(CenterY, maxLeftUpY_, yScaledBy_);
  if (maxZ_ == 0) maxZ_ = 32767;
  factors_[4] = span(maxZ_, minZ_, zScaledBy_);
  for (int i = 0; i < 4; ++i) factors_[i] = std::max(factors_[i], 1.0);
  // An empty Z range would divide by zero.
  if (factors_[4] == 0.0) factors_[4] = 1.0;
}

int TJoystickex::ScaleAxis(uint16_t raw, int centre, double above, double below) const {
  if (!scaled_) return raw;
  const double d = static_cast<double>(raw) - centre;
  return RoundToInt(d / (raw >= centre ? above : below));
}

int TJoystickex::ScaleX(uint16_t raw) const {
  return ScaleAxis(raw, CenterX, factors_[0], factors_[1]);
}

int TJoystickex::ScaleY(uint16_t raw) const {
  return ScaleAxis(raw, CenterY, factors_[2], factors_[3]);
}

int TJoystickex::ScaleZ(uint16_t raw) const {
  if (!scaled_) return raw;
  return RoundToInt((static_cast<double>(raw) - minZ_) / factors_[4]);
}

void TJoystickex::StickMoved(uint16_t x, uint16_t y, uint16_t buttons) {
  if (Calibrating) {
    int* const ends[] = {&maxLeftUpX_, &maxRightDownX_, &maxLeftUpY_, &maxRightDownY_};
    const int readings[] = {x, x, y, y};
    for (int i = 0; i < 4; ++i) {
      const bool lower = i % 2 == 0;
      if (lower ? readings[i] < *ends[i] : readings[i] > *ends[i]) {
        *ends[i] = readings[i];
        ComputeScaleFactors();
      }
    }
  }
  if (JoyMove) JoyMove(*this, ScaleX(x), ScaleY(y), buttons, Calibrating);
}

void TJoystickex::ZMoved(uint16_t z, uint16_t buttons) {
  // The Z range widens whether or not the host is calibrating; the factor follows at the next
  // computation.
  minZ_ = std::min<int>(minZ_, z);
  maxZ_ = std::max<int>(maxZ_, z);
  if (JoyZMove) JoyZMove(*this, ScaleZ(z), buttons, Calibrating);
}

void TJoystickex::ButtonsChanged(uint16_t changed, uint16_t pressed, uint16_t x, uint16_t y) {
  const TButtonNotifyEvent* const events[] = {&OnButton1_Change, &OnButton2_Change,
                                              &OnButton3_Change, &OnButton4_Change};
  for (int i = 0; i < 4; ++i) {
    const uint16_t bit = static_cast<uint16_t>(1u << i);
    if ((changed & bit) != 0 && *events[i]) {
      (*events[i])(*this, (pressed & bit) != 0, ScaleX(x), ScaleY(y));
    }
  }
}

namespace {

// The keys in the order they are read and written; the first names its section "Range", the
// others of that section "range", which is the same section.
struct CalibrationKey {
  const char* section;
  const char* key;
  int fallback;
};
constexpr CalibrationKey CalibrationKeys[] = {
    {"Range", "MaxLeftUPX", -32767},   {"range", "MaxLeftUPy", -32767},
    {"range", "MaxrightDownx", 32767}, {"range", "MaxrightDowny", 32767},
    {"range", "MaxZ", 32000},          {"range", "MinZ", 0},
    {"Center", "CenterX", 0},          {"Center", "CenterY", 0},
};

}  // namespace

bool TJoystickex::LoadCalibration() {
  IniFile ini(iniPath_);
  if (ini.Load()) return false;
  int* const fields[] = {&maxLeftUpX_, &maxLeftUpY_, &maxRightDownX_, &maxRightDownY_,
                         &maxZ_,       &minZ_,       &CenterX,        &CenterY};
  for (std::size_t i = 0; i < std::size(CalibrationKeys); ++i) {
    const CalibrationKey& k = CalibrationKeys[i];
    *fields[i] =
        ini.ReadInteger(QString::fromLatin1(k.section), QString::fromLatin1(k.key), k.fallback);
  }
  // A capture already running scales by the new ranges at once.
  if (active_) ComputeScaleFactors();
  return true;
}

bool TJoystickex::SaveCalibration() {
  IniFile ini(iniPath_);
  // Other contents of a file that cannot be read would be lost by writing it anew.
  if (ini.Load()) return false;
  const int fields[] = {maxLeftUpX_, maxLeftUpY_, maxRightDownX_, maxRightDownY_,
                        maxZ_,       minZ_,       CenterX,        CenterY};
  for (std::size_t i = 0; i < std::size(CalibrationKeys); ++i) {
    const CalibrationKey& k = CalibrationKeys[i];
    ini.WriteInteger(QString::fromLatin1(k.section), QString::fromLatin1(k.key), fields[i]);
  }
  return !ini.Save();
}

}  // namespace morv
