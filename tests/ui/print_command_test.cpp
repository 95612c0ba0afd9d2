// "&Print Model": the header from the 3D view's last render, three jobs in plane order, failures.
#include <QTest>
#include <vector>

#include "application_fixture.h"
#include "engine/renderer.h"
#include "platform/page_printer.h"
#include "ui/print_form.h"

namespace morv::test {
namespace {

// Keeps every page it is given; the job numbered `failAt` (from 1) fails instead.
class RecordingPrinter : public PagePrinter {
 public:
  void PrintPage(const QImage& page) override {
    ++jobs;
    if (jobs == failAt) throw PrinterError(failure);
    pages.push_back(page);
  }

  int jobs = 0;
  int failAt = 0;
  std::string failure = "The printer is out of paper";
  std::vector<QImage> pages;
};

class PrintCommandTest : public ApplicationTest {
 protected:
  void SetUp() override {
    prompts.yesNoAnswers = {Answer::Yes};
    Start(DataFile(QStringLiteral("tetra.MVD")));
    Form1->show();
    Form1->FormActivate();
    Form1->SetPagePrinter(&printer);
  }

  RecordingPrinter printer;
};

TEST_F(PrintCommandTest, PrintsThreeJobsInPlaneOrderWithTheLastRendersHeader) {
  Display->xV->setValue(30);
  Form1->DrawTheThing();
  Form1->FinishRendering();
  const int32_t points = PointCount;
  const int32_t polygons = PolygonCount;
  ASSERT_GT(points, 0);
  const QImage view = Display->MainView->Canvas().Snapshot();

  QTest::mouseClick(Form1->BitBtn3, Qt::LeftButton);

  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join('\n').toStdString();
  const TPrintHeader& header = PrintForm->Header();
  EXPECT_EQ(header.modelname, QStringLiteral("Tetra"));
  EXPECT_EQ(header.modeldata, QStringLiteral("Controls:%1 Béziers:%2 Joints:%3 = Points:%4 "
                                             "Polygons:%5 Render time:%6")
                                  .arg(CurrentModel.ControlCount)
                                  .arg(CurrentModel.PatchCount)
                                  .arg(CurrentModel.JointCount)
                                  .arg(points)
                                  .arg(polygons)
                                  .arg(Display->Label4->text()));
  EXPECT_EQ(header.i3d, view);
  ASSERT_EQ(printer.pages.size(), 3u);
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE(page);
    const QImage& printed = printer.pages[static_cast<std::size_t>(page - 1)];
    EXPECT_EQ(printed.size(), QSize(617, 1000));
    EXPECT_EQ(printed, DrawSheetPage(CurrentModel, page, header));
  }
  // Pages of different planes differ; the sheet shows the last.
  EXPECT_NE(printer.pages[0], printer.pages[1]);
  EXPECT_NE(printer.pages[1], printer.pages[2]);
  EXPECT_EQ(PrintForm->Page(), printer.pages[2]);
  EXPECT_FALSE(PrintForm->isVisible());
}

TEST_F(PrintCommandTest, AFailingJobIsReportedAndTheLaterPagesAreNotPrinted) {
  struct Case {
    int failAt;
    std::string failure;
    std::size_t printed;
  } const cases[] = {{1, "No printer is set up", 0}, {2, "The printer cannot print", 1}};
  for (const Case& c : cases) {
    printer = RecordingPrinter();
    printer.failAt = c.failAt;
    printer.failure = c.failure;
    prompts.messages.clear();
    Form1->BitBtn3Click();
    EXPECT_EQ(printer.jobs, c.failAt) << "no job after the failing one";
    EXPECT_EQ(printer.pages.size(), c.printed);
    EXPECT_EQ(prompts.messages, QStringList{QString::fromStdString(c.failure) + "."});
  }
}

}  // namespace
}  // namespace morv::test
