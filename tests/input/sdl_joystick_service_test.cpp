// The SDL joystick service end to end: a virtual stick's axes and buttons reach the component's
// events on the user-interface thread.
#include "input/sdl_joystick_service.h"

#include <gtest/gtest.h>
#include <QTest>

#include <optional>
#include <vector>

#include "input/joystickex.h"
#include "support/test_files.h"
#include "support/virtual_joystick.h"

namespace morv {
namespace {

using test::ScratchDir;
using test::VirtualJoystick;

struct Events {
  std::vector<std::pair<int, int>> moves;
  std::vector<int> zs;
  std::vector<std::pair<int, bool>> buttons;
};

// A component set up as the 3D view's is, but at a faster period.
std::unique_ptr<TJoystickex> ViewStick(JoystickService& service, const QString& ini,
                                       Events& events) {
  auto stick = std::make_unique<TJoystickex>(service, ini);
  stick->SetCalAutoSave(false);
  stick->SetCalAutoLoad(false);
  stick->SetGamePort(TGamePort::Gameport1);
  stick->SetInterval(20);
  stick->SetEventThreshold(0.1);
  stick->SetXScaledBy(10);
  stick->SetYScaledBy(10);
  stick->SetZScaledBy(10);
  stick->JoyMove = [&events](TJoystickex&, int x, int y, uint16_t, bool) {
    events.moves.emplace_back(x, y);
  };
  stick->JoyZMove = [&events](TJoystickex&, int z, uint16_t, bool) { events.zs.push_back(z); };
  // Button 2 has no handler.
  const auto record = [&events](int button) {
    return [&events, button](TJoystickex&, bool pressed, int, int) {
      events.buttons.emplace_back(button, pressed);
    };
  };
  stick->OnButton1_Change = record(1);
  stick->OnButton3_Change = record(3);
  stick->OnButton4_Change = record(4);
  return stick;
}

class SdlJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (stick.Index() != 0) GTEST_SKIP() << "SDL gave no virtual joystick as the first device";
  }
  VirtualJoystick stick;
  ScratchDir dir;
};

TEST_F(SdlJoystickTest, DeliversStickZAndButtonChangesBeyondTheThreshold) {
  SdlJoystickService service;
  const std::optional<JoystickCaps> caps = service.DeviceCaps(0);
  ASSERT_TRUE(caps);
  EXPECT_EQ(caps->Xmin, 0);
  EXPECT_EQ(caps->Xmax, 65535);
  EXPECT_EQ(caps->Zmax, 65535);
  EXPECT_EQ(caps->NumButtons, 4);
  EXPECT_FALSE(service.DeviceCaps(1)) << "one stick only";

  Events events;
  auto component = ViewStick(service, dir.Path("m.INI"), events);
  ASSERT_TRUE(component->StartCapture());
  EXPECT_EQ(component->NumButtons(), 4);

  stick.SetAxis(0, 32767);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.moves.empty(); }, 5000));
  EXPECT_EQ(events.moves.front(), std::make_pair(10, 5));

  // 50 raw units is within the 66 of the threshold; 100 is beyond it.
  events.moves.clear();
  stick.SetAxis(1, 50);
  QTest::qWait(150);
  EXPECT_TRUE(events.moves.empty());
  stick.SetAxis(1, -32768);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.moves.empty(); }, 5000));
  EXPECT_EQ(events.moves.front(), std::make_pair(10, 0));

  stick.SetAxis(2, -32768);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.zs.empty(); }, 5000));
  EXPECT_EQ(events.zs, std::vector<int>{0});

  stick.SetButton(0, true);
  stick.SetButton(1, true);
  stick.SetButton(3, true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return events.buttons.size() >= 2; }, 5000));
  stick.SetButton(0, false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return events.buttons.size() >= 3; }, 5000));
  EXPECT_EQ(events.buttons, (std::vector<std::pair<int, bool>>{{1, true}, {4, true}, {1, false}}));

  component->StopCapture();
  events = {};
  stick.SetAxis(0, -32768);
  QTest::qWait(100);
  EXPECT_TRUE(events.moves.empty()) << "nothing after the capture ends";
}

TEST_F(SdlJoystickTest, ChangeOnlyMeasuresEachAxisFromItsLastDeliveredReading) {
  SdlJoystickService service;
  Events events;
  auto component = ViewStick(service, dir.Path("m.INI"), events);
  component->SetScaled(false);
  component->SetInterval(10);
  ASSERT_TRUE(component->StartCapture());
  constexpr int Rest = 32768;
  constexpr Sint16 T = 66;  // 0.1 % of the raw range, rounded

  // Each step moves one axis to a value and names the raw reading it delivers, if any. A button
  // toggled with it marks the tick that read the step: stick and Z go out before buttons.
  struct Step {
    Sint16 value;
    std::optional<int> delivered;
  };
  const std::vector<Step> steps = {
      {T, {}},                          // exactly the threshold up
      {0, {}},                          // back where it was delivered
      {T + 1, Rest + T + 1},            // one beyond
      {1, {}},                          // exactly the threshold down
      {0, Rest},                        // one beyond down
      {40, {}},                         // a slow drift, each step within the threshold ...
      {80, Rest + 80},                  // ... that passes it in sum
      {80 + T, {}},                     // exactly the threshold from there
      {80 + T + 1, Rest + 80 + T + 1},  // one beyond, though 1 from the last reading
      {0, Rest},
  };
  bool pressed = false;
  for (const int axis : {0, 1, 2}) {
    SCOPED_TRACE(testing::Message() << "axis " << axis);
    std::vector<int> expected, got;
    for (const Step& step : steps) {
      events.moves.clear();
      events.zs.clear();
      const std::size_t marks = events.buttons.size();
      stick.SetAxis(axis, step.value);
      stick.SetButton(0, pressed = !pressed);
      ASSERT_TRUE(QTest::qWaitFor([&] { return events.buttons.size() > marks; }, 5000));
      if (step.delivered) expected.push_back(*step.delivered);
      for (const auto& [x, y] : events.moves) {
        got.push_back(axis == 0 ? x : y);
        EXPECT_EQ(axis == 0 ? y : x, Rest) << "the other stick axis is at rest";
      }
      got.insert(got.end(), events.zs.begin(), events.zs.end());
      if (axis == 2) {
        EXPECT_TRUE(events.moves.empty()) << "a Z move is no stick move";
      } else {
        EXPECT_TRUE(events.zs.empty()) << "a stick move is no Z move";
      }
    }
    EXPECT_EQ(got, expected);
  }
}

TEST_F(SdlJoystickTest, PollingDeliversEveryPeriodWhileChangeOnlyStaysQuiet) {
  SdlJoystickService service;
  Events events;
  auto component = ViewStick(service, dir.Path("m.INI"), events);
  ASSERT_TRUE(component->StartCapture());
  QTest::qWait(200);
  EXPECT_TRUE(events.moves.empty());
  EXPECT_TRUE(events.zs.empty());

  component->SetPolling(true);
  component->SetInterval(100);
  ASSERT_TRUE(QTest::qWaitFor([&] { return events.moves.size() >= 3; }, 5000));
  EXPECT_EQ(events.moves.front(), std::make_pair(5, 5)) << "the stick at rest, in the middle";
  EXPECT_FALSE(events.zs.empty());

  // A handler that runs an event loop of its own (as a message box does) is not entered again by
  // the ticks that fall inside it, and one that restarts the capture ends the running tick.
  int depth = 0, deepest = 0, calls = 0;
  component->SetInterval(20);
  component->JoyMove = [&](TJoystickex& sender, int, int, uint16_t, bool) {
    deepest = std::max(deepest, ++depth);
    if (++calls == 1) QTest::qWait(200);
    if (calls == 2) sender.SetInterval(25);
    --depth;
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls >= 5; }, 5000));
  EXPECT_EQ(deepest, 1);
  EXPECT_TRUE(component->Active());
}

TEST_F(SdlJoystickTest, AnUnpluggedStickEndsTheCaptureAndIsFoundAgainWhenPluggedIn) {
  SdlJoystickService service;
  Events events;
  auto component = ViewStick(service, dir.Path("m.INI"), events);
  component->SetPolling(true);
  ASSERT_TRUE(component->StartCapture());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.moves.empty(); }, 5000));

  stick.Detach();
  QTest::qWait(100);
  events = {};
  QTest::qWait(150);
  EXPECT_TRUE(events.moves.empty());
  EXPECT_FALSE(component->Active()) << "the component knows its capture ended";
  EXPECT_FALSE(component->StartCapture());

  stick.Attach();
  ASSERT_EQ(stick.Index(), 0);
  ASSERT_TRUE(component->StartCapture());
  EXPECT_TRUE(component->Active());
  stick.SetAxis(0, -32768);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events.moves.empty(); }, 5000));
}

TEST(SdlJoystickService, WithoutAStickCapturesAreRefusedAndNothingHappens) {
  SdlJoystickService service;
  if (service.DeviceCaps(0)) GTEST_SKIP() << "a joystick is plugged into this machine";
  ScratchDir dir;
  Events events;
  auto component = ViewStick(service, dir.Path("m.INI"), events);
  EXPECT_FALSE(component->StartCapture());
  EXPECT_FALSE(component->Active());
  EXPECT_EQ(component->MaxRightDownX(), 32767) << "the defaults stay";
  QTest::qWait(50);
  EXPECT_TRUE(events.moves.empty());
}

}  // namespace
}  // namespace morv
