// The joystick component against a scripted service: properties, scaling, calibration, capture
// restarts, button events and the calibration file.
#include "input/joystickex.h"

#include <gtest/gtest.h>
#include <QFileInfo>

#include <cmath>
#include <vector>

#include "support/fake_joystick_service.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::FakeJoystickService;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

struct Move {
  int x, y;
  uint16_t buttons;
  bool calibrating;
  bool operator==(const Move&) const = default;
};

class JoystickexTest : public ::testing::Test {
 protected:
  JoystickexTest() {
    service.devices[0] = JoystickCaps{};
    service.devices[0]->NumButtons = 4;
  }

  // A component on a plugged-in stick with raw range 0..65535, recording its events.
  std::unique_ptr<TJoystickex> Make() {
    auto stick = std::make_unique<TJoystickex>(service, dir.Path("morv.INI"));
    stick->SetCalAutoSave(false);
    stick->SetCalAutoLoad(false);
    stick->SetGamePort(TGamePort::Gameport1);
    stick->JoyMove = [this](TJoystickex&, int x, int y, uint16_t buttons, bool calibrating) {
      moves.push_back({x, y, buttons, calibrating});
    };
    stick->JoyZMove = [this](TJoystickex&, int z, uint16_t, bool) { zs.push_back(z); };
    return stick;
  }

  ScratchDir dir;
  FakeJoystickService service;
  std::vector<Move> moves;
  std::vector<int> zs;
};

TEST_F(JoystickexTest, StartsWithItsDefaults) {
  TJoystickex stick(service, dir.Path("none.INI"));
  EXPECT_EQ(stick.GamePort(), TGamePort::Gameport1);
  EXPECT_FALSE(stick.Polling());
  EXPECT_EQ(stick.Interval(), 50);
  EXPECT_EQ(stick.EventThreshold(), 0.1);
  EXPECT_TRUE(stick.Scaled());
  EXPECT_EQ(stick.XScaledBy(), 400);
  EXPECT_EQ(stick.YScaledBy(), 300);
  EXPECT_EQ(stick.ZScaledBy(), 100);
  EXPECT_TRUE(stick.CalAutoSave());
  EXPECT_TRUE(stick.CalAutoLoad());
  EXPECT_EQ(stick.MaxZ(), 32767);
  EXPECT_EQ(stick.MinZ(), 0);
  EXPECT_EQ(stick.NumButtons(), 2);
  EXPECT_EQ(stick.MaxLeftUpX(), -32767);
  EXPECT_EQ(stick.MaxRightDownY(), 32767);
  EXPECT_FALSE(stick.Active());
  stick.SetCalAutoSave(false);
}

TEST_F(JoystickexTest, ScalesReadingsAroundTheCentre) {
  auto stick = Make();
  stick->SetXScaledBy(10);
  stick->SetYScaledBy(0);
  EXPECT_EQ(stick->YScaledBy(), 1) << "0 becomes 1";
  stick->SetYScaledBy(10);
  ASSERT_TRUE(stick->StartCapture());
  service.Move(0, 0, 65535);
  service.Move(0, 32767, 32768);
  service.Move(0, 65535, 0);
  EXPECT_EQ(moves, (std::vector<Move>{{0, 10, 0, false}, {5, 5, 0, false}, {10, 0, 0, false}}));

  moves.clear();
  stick->SetScaled(false);
  service.Move(0, 1234, 60000, 0b0101);
  EXPECT_EQ(moves, (std::vector<Move>{{1234, 60000, 0b0101, false}}));

  // A range smaller than its scale bounds the factor at 1: the raw distance from the centre.
  moves.clear();
  service.devices[0]->Xmax = 6;
  stick->SetGamePort(TGamePort::Gameport1);
  stick->SetScaled(true);
  stick->CenterX = 2;
  stick->SetXScaledBy(10);
  service.Move(0, 0, 0);
  service.Move(0, 5, 0);
  EXPECT_EQ(moves.at(0).x, -2);
  EXPECT_EQ(moves.at(1).x, 3);

  // Halves go to the even neighbour: a factor of 2 takes 1, 3 and 5 to 0, 2 and 2.
  moves.clear();
  service.devices[0]->Xmax = 20;
  stick->SetGamePort(TGamePort::Gameport1);
  stick->CenterX = 0;
  stick->SetXScaledBy(10);
  for (const uint16_t raw : {1, 3, 5}) service.Move(0, raw, 0);
  ASSERT_EQ(moves.size(), 3u);
  EXPECT_EQ(std::vector<int>({moves[0].x, moves[1].x, moves[2].x}), std::vector<int>({0, 2, 2}));
}

TEST_F(JoystickexTest, ScalesZFromTheBottomOfItsRange) {
  service.devices[0]->Zmin = 1000;
  service.devices[0]->Zmax = 11000;
  auto stick = Make();
  stick->SetZScaledBy(10);
  ASSERT_TRUE(stick->StartCapture());
  service.MoveZ(0, 1000);
  service.MoveZ(0, 6000);
  service.MoveZ(0, 11000);
  EXPECT_EQ(zs, (std::vector<int>{0, 5, 10}));

  // A device without a Z axis reports 0 as its top: it counts as 32767.
  service.devices[0]->Zmin = 0;
  service.devices[0]->Zmax = 0;
  stick->SetGamePort(TGamePort::Gameport1);
  EXPECT_EQ(stick->MaxZ(), 32767) << "the port restarted the capture, which computes the factors";
  zs.clear();
  service.MoveZ(0, 32767);
  EXPECT_EQ(zs, (std::vector<int>{10}));
}

TEST_F(JoystickexTest, AnEmptyZRangeDoesNotDivideByZero) {
  service.devices[0]->Zmin = 500;
  service.devices[0]->Zmax = 500;
  auto stick = Make();
  stick->SetZScaledBy(10);
  ASSERT_TRUE(stick->StartCapture());
  service.MoveZ(0, 500);
  EXPECT_EQ(zs, (std::vector<int>{0}));
}

TEST_F(JoystickexTest, WidensXAndYOnlyWhileCalibratingButZAlways) {
  auto stick = Make();
  stick->SetXScaledBy(10);
  service.devices[0]->Xmin = 1000;
  service.devices[0]->Xmax = 2000;
  stick->SetGamePort(TGamePort::Gameport1);
  ASSERT_TRUE(stick->StartCapture());
  stick->CenterX = 1000;

  service.Move(0, 3000, 100);
  service.MoveZ(0, 40000);
  EXPECT_EQ(stick->MaxRightDownX(), 2000);
  EXPECT_EQ(stick->MaxLeftUpY(), 0);
  EXPECT_EQ(stick->MaxZ(), 65535) << "the device's top, not widened by a reading within it";
  service.devices[0]->Zmax = 30000;
  stick->SetGamePort(TGamePort::Gameport1);
  service.MoveZ(0, 40000);
  EXPECT_EQ(stick->MaxZ(), 40000);

  stick->Calibrating = true;
  moves.clear();
  service.Move(0, 3000, 65535);
  service.Move(0, 500, 0);
  EXPECT_EQ(stick->MaxRightDownX(), 3000);
  EXPECT_EQ(stick->MaxLeftUpX(), 500);
  EXPECT_EQ(stick->MaxRightDownY(), 65535);
  // Each widening recomputes the factors at once: 3000 is the top of the new X range.
  EXPECT_EQ(moves[0], (Move{10, 300, 0, true})) << "Y keeps its default scale of 300";
  EXPECT_EQ(moves[1].x, -10);
}

TEST_F(JoystickexTest, CapturesWithItsSettingsAndRestartsWhenTheyChange) {
  TJoystickex absent(service, dir.Path("x.INI"));
  absent.SetCalAutoSave(false);
  absent.SetGamePort(TGamePort::Gameport2);
  EXPECT_FALSE(absent.StartCapture()) << "no second joystick";
  EXPECT_FALSE(absent.Active());

  auto stick = Make();
  stick->SetInterval(100);
  stick->SetEventThreshold(0.1);
  EXPECT_EQ(service.thresholds[0], 66) << "0.1 % of 0..65535, rounded";
  ASSERT_TRUE(stick->StartCapture());
  ASSERT_TRUE(service.captures[0]);
  EXPECT_EQ(service.captures[0]->periodMs, 100);
  EXPECT_TRUE(service.captures[0]->changeOnly);

  stick->SetPolling(true);
  ASSERT_TRUE(service.captures[0]);
  EXPECT_FALSE(service.captures[0]->changeOnly);
  stick->SetInterval(30);
  EXPECT_EQ(service.captures[0]->periodMs, 30);

  service.devices[1] = JoystickCaps{};
  service.devices[1]->NumButtons = 7;
  stick->SetGamePort(TGamePort::Gameport2);
  EXPECT_FALSE(service.captures[0]);
  ASSERT_TRUE(service.captures[1]);
  EXPECT_EQ(service.captures[1]->periodMs, 30);
  EXPECT_EQ(stick->NumButtons(), 7);

  stick->StopCapture();
  EXPECT_FALSE(service.captures[1]);
  stick->SetInterval(40);
  stick->SetPolling(false);
  EXPECT_FALSE(service.captures[1]) << "settings changed while stopped do not start a capture";
  service.Move(1, 0, 0);
  EXPECT_TRUE(moves.empty());
}

TEST_F(JoystickexTest, KeepsTheThresholdWithinZeroToTen) {
  auto stick = Make();
  const std::pair<double, double> cases[] = {{25, 10}, {-1, 0}, {10, 10}, {2.5, 2.5}, {NAN, 0}};
  for (const auto& [given, kept] : cases) {
    stick->SetEventThreshold(given);
    EXPECT_EQ(stick->EventThreshold(), kept) << given;
    EXPECT_EQ(service.thresholds[0], std::lround(65535 * kept / 100)) << given;
  }
}

TEST_F(JoystickexTest, AStickPluggedInLaterIsFoundByTheNextCapture) {
  const JoystickCaps caps = *service.devices[0];
  service.devices[0].reset();
  auto stick = Make();
  EXPECT_FALSE(stick->StartCapture());
  EXPECT_EQ(stick->MaxRightDownX(), 32767) << "no device, no ranges taken";

  service.devices[0] = caps;
  stick->SetXScaledBy(10);
  ASSERT_TRUE(stick->StartCapture());
  EXPECT_EQ(stick->MaxRightDownX(), 65535);
  EXPECT_EQ(stick->MaxLeftUpX(), 0);
  EXPECT_EQ(service.thresholds[0], 66);
  service.Move(0, 65535, 0);
  EXPECT_EQ(moves.at(0).x, 10);

  // Unplugged while captured: the component says so at once, a new period asks for no capture,
  // and the stick plugged in again is found by the next one.
  service.Unplug(0);
  EXPECT_FALSE(stick->Active());
  const int requests = service.captureRequests;
  stick->SetInterval(60);
  EXPECT_EQ(service.captureRequests, requests);
  service.devices[0] = caps;
  ASSERT_TRUE(stick->StartCapture());
  EXPECT_TRUE(stick->Active());
  EXPECT_EQ(service.captures[0]->periodMs, 60);
  service.Move(0, 0, 0);
  EXPECT_EQ(moves.at(1).x, 0);

  // Gone without a word: the restart a new period asks for fails, and the component says so.
  service.devices[0].reset();
  stick->SetInterval(70);
  EXPECT_FALSE(stick->Active());
  EXPECT_FALSE(service.captures[0]);
}

TEST_F(JoystickexTest, SendsButtonEventsInOrderForTheChangedButtonsOnly) {
  auto stick = Make();
  stick->SetXScaledBy(10);
  stick->SetYScaledBy(10);
  std::vector<std::tuple<int, bool, int, int>> events;
  const auto record = [&](int button) {
    return [&events, button](TJoystickex&, bool pressed, int x, int y) {
      events.emplace_back(button, pressed, x, y);
    };
  };
  stick->OnButton1_Change = record(1);
  stick->OnButton2_Change = record(2);
  stick->OnButton4_Change = record(4);
  ASSERT_TRUE(stick->StartCapture());
  service.Buttons(0, 0b1111, 0b1001, 65535, 0);
  service.Buttons(0, 0b0010, 0b0011, 0, 0);
  EXPECT_EQ(events, (std::vector<std::tuple<int, bool, int, int>>{
                        {1, true, 10, 0}, {2, false, 10, 0}, {4, true, 10, 0}, {2, true, 0, 0}}));
}

TEST_F(JoystickexTest, SavesAndLoadsItsCalibration) {
  const QString path = dir.Path("morv.INI");
  {
    auto stick = Make();
    stick->Calibrating = true;
    ASSERT_TRUE(stick->StartCapture());
    service.Move(0, 65535, 65535);
    stick->CenterX = 31000;
    stick->CenterY = -2;
    service.MoveZ(0, 0);
    stick->SetCalAutoSave(true);
  }
  EXPECT_EQ(ReadBytes(path),
            "[Range]\r\nMaxLeftUPX=0\r\nMaxLeftUPy=0\r\nMaxrightDownx=65535\r\n"
            "MaxrightDowny=65535\r\nMaxZ=65535\r\nMinZ=0\r\n[Center]\r\nCenterX=31000\r\n"
            "CenterY=-2\r\n");

  // Loading replaces the device's ranges; keys missing from the file take their defaults.
  WriteBytes(path, "[RANGE]\nmaxleftupx=-5\n[center]\nCenterY=9\n");
  auto stick = Make();
  EXPECT_EQ(stick->MaxLeftUpX(), 0);
  stick->SetCalAutoLoad(true);
  EXPECT_EQ(stick->MaxLeftUpX(), -5);
  EXPECT_EQ(stick->MaxLeftUpY(), -32767);
  EXPECT_EQ(stick->MaxRightDownX(), 32767);
  EXPECT_EQ(stick->MaxZ(), 32000);
  EXPECT_EQ(stick->MinZ(), 0);
  EXPECT_EQ(stick->CenterX, 0);
  EXPECT_EQ(stick->CenterY, 9);

  // Loaded during a capture, the ranges scale the next reading; any integers load without
  // overflowing the arithmetic.
  stick->SetXScaledBy(10);
  ASSERT_TRUE(stick->StartCapture());
  WriteBytes(path, "[Range]\nMaxrightDownx=1000\n");
  ASSERT_TRUE(stick->LoadCalibration());
  moves.clear();
  service.Move(0, 500, 0);
  EXPECT_EQ(moves.at(0).x, 5);
  WriteBytes(path,
             "[Range]\nMaxrightDownx=2147483647\nMaxLeftUPX=-2147483648\nMaxZ=-2147483648\n"
             "MinZ=2147483647\n[Center]\nCenterX=-2147483648\n");
  ASSERT_TRUE(stick->LoadCalibration());
  zs.clear();
  service.Move(0, 65535, 0);
  service.MoveZ(0, 65535);
  EXPECT_EQ(moves.at(1).x, 5) << "65535 + 2^31 of a span of 2^32 - 1, scaled by 10";
  EXPECT_EQ(zs, std::vector<int>{0}) << "the reading made itself both ends of the Z range";

  // A file that cannot be read changes nothing and is not overwritten.
  WriteBytes(path, std::string(2 << 20, ';'));
  EXPECT_FALSE(stick->LoadCalibration());
  EXPECT_EQ(stick->CenterX, INT32_MIN);
  EXPECT_FALSE(stick->SaveCalibration());
  EXPECT_EQ(ReadBytes(path).size(), std::size_t{2 << 20});
}

TEST_F(JoystickexTest, EndsItsCaptureWhenDestroyedAndSavesOnlyWhenAskedTo) {
  {
    auto stick = Make();
    ASSERT_TRUE(stick->StartCapture());
  }
  EXPECT_FALSE(service.captures[0]);
  EXPECT_FALSE(QFileInfo::exists(dir.Path("morv.INI"))) << "CalAutoSave was off";

  // A calibration file that cannot be written is no error.
  TJoystickex stick(service, dir.Path("no/folder/morv.INI"));
  EXPECT_FALSE(stick.SaveCalibration());
}

TEST(CalibrationFilePath, ReplacesTheExtensionOrAppendsOne) {
  EXPECT_EQ(CalibrationFilePath("/usr/bin/morv"), "/usr/bin/morv.INI");
  EXPECT_EQ(CalibrationFilePath("morv.exe"), "morv.INI");
  EXPECT_EQ(CalibrationFilePath("/opt/morv.5/bin/morv"), "/opt/morv.5/bin/morv.INI");
  EXPECT_EQ(CalibrationFilePath("/home/a/.morv"), "/home/a/.morv.INI");
}

}  // namespace
}  // namespace morv
