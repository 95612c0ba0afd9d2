// The 3D display: the rendered model, hover-rotate, the light click, the background colour, the
// render-time readout, the worker thread, the bitmap export and the joystick, through real mouse
// events and a stick the tests move.
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "application_fixture.h"
#include "engine/renderer.h"
#include "engine/view_parameters.h"
#include "input/sdl_joystick_service.h"
#include "support/virtual_joystick.h"

namespace morv::test {
namespace {

class DisplayTest : public ApplicationTest {
 protected:
  // The program as the user sees it: the ring model loaded from the command line, both windows
  // shown and the first render done.
  void StartWithRing() {
    prompts.yesNoAnswers = {Answer::Yes};
    Start(DataFile(QStringLiteral("ring.MVD")));
    Form1->show();
    Form1->FormActivate();
    Form1->FinishRendering();
  }

  QImage Picture() {
    Form1->FinishRendering();
    return Display->MainView->Canvas().Snapshot();
  }

  // Pixels that are not the background colour.
  static int ModelPixels(const QImage& image) {
    int n = 0;
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != background ? 1 : 0;
    }
    return n;
  }
};

TEST_F(DisplayTest, StartsWithItsControlsAtRestAndShowsTheModel) {
  StartWithRing();
  EXPECT_EQ(Display->xV->value(), 0);
  EXPECT_EQ(Display->yV->value(), 0);
  EXPECT_EQ(Display->zV->value(), 0);
  EXPECT_TRUE(Display->CheckBox2->isChecked());
  EXPECT_FALSE(Display->CheckBox1->isChecked());
  EXPECT_FALSE(Display->CheckBox3->isChecked());
  EXPECT_EQ(Display->Label4->text(), "0 ms");
  EXPECT_EQ(Display->Shape1->Colour(), 32768);
  const QImage picture = Picture();
  EXPECT_EQ(picture.size(), QSize(360, 360));
  EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 128, 0));
  EXPECT_GT(ModelPixels(picture), 5000) << "the ring is drawn";
  EXPECT_EQ(PointCount, 2496);
  EXPECT_EQ(PolygonCount, 1152);
}

TEST_F(DisplayTest, HoveringTurnsTheModelAndEveryMoveRenders) {
  StartWithRing();
  const QImage before = Picture();
  QTest::mouseMove(Display->MainView, QPoint(90, 45));
  EXPECT_EQ(Display->xV->value(), 45);
  EXPECT_EQ(Display->yV->value(), 90);
  EXPECT_NE(Picture(), before);

  Display->CheckBox2->setChecked(false);
  const QImage turned = Picture();
  QTest::mouseMove(Display->MainView, QPoint(200, 10));
  EXPECT_EQ(Display->xV->value(), 45) << "hover off: nothing happens";
  EXPECT_EQ(Picture(), turned);
}

TEST_F(DisplayTest, PointerPositionsOutsideThePictureAreClampedByTheSpinEdits) {
  StartWithRing();
  Display->MainViewMouseMove(QPoint(-20, 500));
  EXPECT_EQ(Display->xV->value(), 360);
  EXPECT_EQ(Display->yV->value(), 0);
  Display->yV->setValue(-5);
  EXPECT_EQ(Display->yV->value(), 0);
  Display->yV->setValue(400);
  EXPECT_EQ(Display->yV->value(), 360);
}

TEST_F(DisplayTest, AnAngleChangedWithItsArrowsShowsAtTheNextRedraw) {
  StartWithRing();
  Display->CheckBox2->setChecked(false);
  const QImage before = Picture();
  Display->zV->stepBy(30);
  EXPECT_EQ(Display->zV->value(), 30);
  EXPECT_EQ(Picture(), before);
  Form1->DrawTheThing();
  EXPECT_NE(Picture(), before);
}

TEST_F(DisplayTest, AClickMovesTheLightToThePointSeen) {
  StartWithRing();
  const QImage before = Picture();
  QTest::mouseClick(Display->MainView, Qt::LeftButton, {}, QPoint(180, 180));
  EXPECT_EQ(LightVector, (TPoint3D{0, 0, -70}));
  EXPECT_NE(Picture(), before) << "the shading follows the light";
  // QTest reads the point (0, 0) as "the middle of the widget", so that corner goes straight in.
  Display->MainViewMouseDown(QPoint(0, 0));
  EXPECT_EQ(LightVector, (TPoint3D{-180, 180, -70}));
  QTest::mouseClick(Display->MainView, Qt::LeftButton, {}, QPoint(359, 359));
  EXPECT_EQ(LightVector, (TPoint3D{179, -179, -70}));
}

TEST_F(DisplayTest, TheSwatchChoosesTheBackground) {
  StartWithRing();
  prompts.colourAnswers = {std::nullopt, 0xFF0000};
  QTest::mouseClick(Display->Shape1, Qt::LeftButton);
  EXPECT_EQ(Display->Shape1->Colour(), 32768) << "cancel changes nothing";
  EXPECT_EQ(BackgroundColour, 32768);
  QTest::mouseClick(Display->Shape1, Qt::LeftButton);
  EXPECT_EQ(prompts.colourPresets, (std::vector<int32_t>{32768, 32768}));
  EXPECT_EQ(Display->Shape1->Colour(), 0xFF0000);
  EXPECT_EQ(BackgroundColour, 0xFF0000);
  EXPECT_EQ(Picture().pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(DisplayTest, TheRenderTimeShowsOnlyWhileAsked) {
  StartWithRing();
  Display->Label4->setText(QStringLiteral("kept"));
  Form1->DrawTheThing();
  EXPECT_EQ(Display->Label4->text(), "kept");
  Display->CheckBox3->setChecked(true);
  Form1->DrawTheThing();
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d+ ms$")).match(Display->Label4->text()).hasMatch())
      << Display->Label4->text().toStdString();
}

TEST_F(DisplayTest, TheWorkerThreadDrawsTheSamePicture) {
  StartWithRing();
  Display->CheckBox2->setChecked(false);
  Display->xV->setValue(33);
  Display->yV->setValue(250);
  Form1->DrawTheThing();
  const QImage single = Picture();
  Display->CheckBox1->setChecked(true);
  for (int i = 0; i < 5; ++i) Form1->DrawTheThing();  // each joins the worker before it
  EXPECT_EQ(Picture(), single);
  Display->CheckBox2->setChecked(true);
  QTest::mouseMove(Display->MainView, QPoint(250, 33));  // a hover step on the worker as well
  EXPECT_EQ(Picture(), single);
}

TEST_F(DisplayTest, BmpWritesA24BitBitmapOfThePicture) {
  StartWithRing();
  ScratchDir dir;
  prompts.fileAnswers = {std::nullopt, dir.Path("view.BMP")};
  QTest::mouseClick(Display->BitBtn1, Qt::LeftButton);
  EXPECT_TRUE(QDir(dir.Path(".")).entryList(QDir::Files).isEmpty()) << "cancel writes nothing";
  QTest::mouseClick(Display->BitBtn1, Qt::LeftButton);
  ASSERT_EQ(prompts.fileDialogs.size(), 2u);
  EXPECT_EQ(prompts.fileDialogs[0].title, "Save BMP");
  EXPECT_EQ(prompts.fileDialogs[0].defaultSuffix, "BMP");
  EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
  const std::string bytes = ReadBytes(dir.Path("view.BMP"));
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
  EXPECT_EQ(QImage(dir.Path("view.BMP")), Picture().convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(DisplayTest, ABitmapThatCannotBeWrittenIsReportedAndNothingIsLost) {
  StartWithRing();
  ScratchDir dir;
  const QString path = dir.Path("missing/folder/view.BMP");
  prompts.fileAnswers = {path};
  const QImage before = Picture();
  QTest::mouseClick(Display->BitBtn1, Qt::LeftButton);
  EXPECT_EQ(prompts.messages, QStringList{"Cannot create file " + path + ": no such folder."});
  EXPECT_EQ(Picture(), before);
}

// A patch whose first vertex stands where the projection divides by zero.
void WriteModelWithAPointAtTheEye(const QString& path) {
  const int vertices[8][3] = {{0, 0, 200}, {30, 0, 0},  {60, 0, 0},  {90, 0, 0},
                              {0, 60, 0},  {30, 60, 0}, {60, 60, 0}, {90, 60, 0}};
  std::string file = "Deep\r\n \r\n0\r\n \r\n8\r\n2\r\n0\r\n";
  for (const auto& v : vertices) {
    for (const int c : v) file += std::to_string(c) + "\r\n";
  }
  for (const int i : {1, 2, 3, 4, 5, 6, 7, 8, 255, 5, 6, 7, 8, 1, 2, 3, 4, 65280}) {
    file += std::to_string(i) + "\r\n";
  }
  WriteBytes(path, file);
}

TEST_F(DisplayTest, TheDivisionNoticeHangsFromTheTopAndTheCommandLineDrawsItAlike) {
  ScratchDir dir;
  const QString model = dir.Path("deep.MVD");
  WriteModelWithAPointAtTheEye(model);
  // A point whose projection fails keeps its screen position from the render before; morv-cli
  // renders once in a fresh process, where every point starts at the view centre.
  for (int32_t i = 1; i <= MaxRenderPoints; ++i) ScreenPoints[i] = {180, 180};
  prompts.yesNoAnswers = {Answer::Yes};
  Start(model);
  Form1->show();
  Form1->FormActivate();
  const QImage picture = Picture();

  // The notice's top-left corner is the picture's: its letters fill the first rows.
  int top = picture.height();
  int bottom = -1;
  int dark = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (qGray(picture.pixel(x, y)) >= 40) continue;
      ++dark;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_GT(dark, 150);
  EXPECT_LE(top, 2);
  EXPECT_GE(bottom, 8);
  EXPECT_LE(bottom, 13);

  prompts.fileAnswers = {dir.Path("window.BMP")};
  Display->BitBtn1Click();
  QProcess cli;
  cli.start(QStringLiteral(MORV_CLI_PATH), {"render", model, dir.Path("cli.BMP")});
  ASSERT_TRUE(cli.waitForFinished(30000));
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const std::string exported = ReadBytes(dir.Path("window.BMP"));
  ASSERT_FALSE(exported.empty());
  EXPECT_TRUE(ReadBytes(dir.Path("cli.BMP")) == exported) << "the same bitmap, byte for byte";
}

TEST_F(DisplayTest, TheViewFollowsAModelLoadedWithTheLoadButton) {
  Start();
  Form1->show();
  Form1->FormActivate();
  EXPECT_EQ(ModelPixels(Picture()), 0) << "the empty model shows only the background";
  prompts.fileAnswers = {DataFile(QStringLiteral("ring.MVD"))};
  Form1->BitBtn1Click();
  EXPECT_GT(ModelPixels(Picture()), 5000);
}

// Raw readings that the view's scale of 10 takes to the positions 0, 3, 4, 5, 6, 7 and 10.
constexpr uint16_t Raw0 = 0, Raw3 = 19660, Raw4 = 26214, Raw5 = 32768, Raw6 = 39321, Raw7 = 45875,
                   Raw10 = 65535;

TEST_F(DisplayTest, TheJoystickIsSetUpForTheViewAndCapturedWhenTheWindowShows) {
  joystick.devices[0] = JoystickCaps{};
  StartWithRing();
  const TJoystickex& stick = Display->Joystick;
  EXPECT_EQ(stick.GamePort(), TGamePort::Gameport1);
  EXPECT_FALSE(stick.Polling());
  EXPECT_EQ(stick.Interval(), 100);
  EXPECT_EQ(stick.EventThreshold(), 0.1);
  EXPECT_TRUE(stick.Scaled());
  EXPECT_EQ(stick.XScaledBy(), 10);
  EXPECT_EQ(stick.YScaledBy(), 10);
  EXPECT_EQ(stick.ZScaledBy(), 10);
  EXPECT_FALSE(stick.CalAutoSave());
  EXPECT_FALSE(stick.CalAutoLoad());
  EXPECT_TRUE(stick.Active());
  ASSERT_TRUE(joystick.captures[0]);
  EXPECT_EQ(joystick.captures[0]->periodMs, 100);
  EXPECT_TRUE(joystick.captures[0]->changeOnly);
  EXPECT_EQ(joystick.thresholds[0], 66);
}

TEST_F(DisplayTest, TheStickAndZAxisTurnTheViewByFiveDegreesAndEveryEventRedraws) {
  joystick.devices[0] = JoystickCaps{};
  StartWithRing();
  Display->CheckBox2->setChecked(false);
  Display->xV->setValue(100);
  Display->yV->setValue(100);
  joystick.Move(0, Raw3, Raw7);
  EXPECT_EQ(Display->yV->value(), 95);
  EXPECT_EQ(Display->xV->value(), 105);
  joystick.Move(0, Raw6, Raw4);
  joystick.Move(0, Raw4, Raw6);
  EXPECT_EQ(Display->yV->value(), 95);
  EXPECT_EQ(Display->xV->value(), 105);

  // The middle turns nothing, yet the view is drawn again with what the angles are now.
  Display->zV->setValue(40);
  const QImage before = Picture();
  joystick.Move(0, Raw5, Raw5);
  EXPECT_EQ(Display->xV->value(), 105);
  EXPECT_EQ(Display->yV->value(), 95);
  EXPECT_NE(Picture(), before);

  joystick.MoveZ(0, Raw0);
  EXPECT_EQ(Display->zV->value(), 35);
  joystick.MoveZ(0, Raw10);
  joystick.MoveZ(0, Raw10);
  EXPECT_EQ(Display->zV->value(), 45);
  const QImage turned = Picture();
  joystick.MoveZ(0, Raw5);
  EXPECT_EQ(Display->zV->value(), 45);
  EXPECT_EQ(Picture(), turned);

  // The spin edits hold the angles within 0..360.
  Display->xV->setValue(360);
  Display->yV->setValue(0);
  joystick.Move(0, Raw0, Raw10);
  EXPECT_EQ(Display->xV->value(), 360);
  EXPECT_EQ(Display->yV->value(), 0);
  Display->xV->setValue(2);
  joystick.Move(0, Raw10, Raw0);
  EXPECT_EQ(Display->xV->value(), 0);
  EXPECT_EQ(Display->yV->value(), 5);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(DisplayTest, WithoutAJoystickTheWindowShowsAsEver) {
  StartWithRing();
  EXPECT_GE(joystick.captureRequests, 1);
  EXPECT_FALSE(Display->Joystick.Active());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(Display->xV->value(), 0);
}

TEST_F(DisplayTest, AVirtualStickTurnsTheViewThroughSdl) {
  VirtualJoystick stick;
  if (stick.Index() != 0) GTEST_SKIP() << "SDL gave no virtual joystick as the first device";
  SdlJoystickService sdl;
  prompts.yesNoAnswers = {Answer::Yes};
  application = std::make_unique<TMorvApplication>(prompts, sdl, DataFile("ring.MVD"));
  Form1->show();
  Display->CheckBox2->setChecked(false);
  ASSERT_TRUE(Display->Joystick.Active());
  const QImage before = Picture();

  stick.SetAxis(0, 32767);
  ASSERT_TRUE(QTest::qWaitFor([] { return Display->yV->value() == 5; }, 5000));
  stick.SetAxis(0, 0);
  stick.SetAxis(1, 32767);
  ASSERT_TRUE(QTest::qWaitFor([] { return Display->xV->value() == 5; }, 5000));
  stick.SetAxis(1, 0);
  stick.SetAxis(2, 32767);
  ASSERT_TRUE(QTest::qWaitFor([] { return Display->zV->value() == 5; }, 5000));
  QTest::qWait(300);
  EXPECT_EQ(Display->xV->value(), 5) << "a stick at rest turns nothing";
  EXPECT_EQ(Display->yV->value(), 5);
  EXPECT_EQ(Display->zV->value(), 5);
  EXPECT_NE(Picture(), before);
  // The application goes before the service it captured from.
  application.reset();
}

}  // namespace
}  // namespace morv::test
