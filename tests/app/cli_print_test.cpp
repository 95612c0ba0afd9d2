// morv-cli print: one three-page PDF at the sheet's physical size, and the page images as PNGs.
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "cli_capture.h"
#include "drawing/print_sheet.h"
#include "operations/model_files.h"
#include "operations/view_render.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::RunCliCapture;
using test::ScratchDir;
using test::TestDataPath;

QString RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(CliPrint, WritesOneThreePagePdfAndThePageImages) {
  ScratchDir dir;
  const std::string model = TestDataPath("tetra.MVD").toStdString();
  const QString pdf = dir.Path("tetra.pdf");
  const auto r = RunCliCapture({"print", model, pdf.toStdString(), "--png",
                                dir.Path("page").toStdString(), "--angles", "30", "360", "0"});
  ASSERT_EQ(r.code, 0) << r.err;

  // The pages as the sheet draws them after the 3D view's render at those angles.
  const TMorvObject tetra = LoadModelFile(model);
  TViewRequest request;
  request.Angles = {30, 360, 0};
  const TRenderedScene view = RenderView(tetra, request);
  const TPrintHeader header =
      MakePrintHeader(tetra, view.Image, view.Points, view.Polygons, "0 ms");
  EXPECT_EQ(r.out, header.modeldata.toStdString() + "\n");
  for (int page = 1; page <= 3; ++page) {
    const QImage png(dir.Path(QStringLiteral("page%1.png").arg(page)));
    EXPECT_EQ(png.width(), 617);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), DrawSheetPage(tetra, page, header))
        << "page " << page;
  }

  const QString info = RunTool("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+462.75 x 750 pts\\n")))
      << info.toStdString();
  // The pictures inside the PDF are the page images, pixel for pixel.
  RunTool("pdfimages", {"-png", pdf, dir.Path("embedded")});
  for (int page = 1; page <= 3; ++page) {
    const QImage embedded(dir.Path(QStringLiteral("embedded-00%1.png").arg(page - 1)));
    EXPECT_EQ(embedded.convertToFormat(QImage::Format_RGB32),
              QImage(dir.Path(QStringLiteral("page%1.png").arg(page)))
                  .convertToFormat(QImage::Format_RGB32))
        << "page " << page;
  }
}

TEST(CliPrint, BadArgumentsAreUsageErrorsAndBadFilesFail) {
  ScratchDir dir;
  const std::string model = TestDataPath("tetra.MVD").toStdString();
  const std::string pdf = dir.Path("out.pdf").toStdString();
  const std::vector<std::vector<std::string>> usage = {
      {"print", model},
      {"print", model, pdf, "--png"},
      {"print", model, pdf, "--angles", "1", "2"},
      {"print", model, pdf, "--angles", "1", "x", "3"},
      {"print", model, pdf, "--scale", "2"},
  };
  for (const auto& args : usage) {
    const auto r = RunCliCapture(args);
    EXPECT_EQ(r.code, 2) << args.back();
    EXPECT_TRUE(r.err.starts_with("morv-cli: ")) << r.err;
    EXPECT_TRUE(r.err.ends_with("\nTry 'morv-cli --help' for more information.\n")) << r.err;
  }
  EXPECT_EQ(RunCliCapture({"print", dir.Path("none.MVD").toStdString(), pdf}).code, 1);
  EXPECT_EQ(RunCliCapture({"print", model, dir.Path("no/such/dir.pdf").toStdString()}).code, 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf))) << "nothing written on a failure";
}

// The PDF and the page images are one result: when any of them cannot be written, none replaces
// what was there, whichever of them fails. With every place writable the same command writes all.
TEST(CliPrint, ThePdfAndThePagesAreWrittenTogetherOrNotAtAll) {
  ScratchDir dir;
  const QString model = TestDataPath("tetra.MVD");
  const QString pdf = dir.Path("sheet.Pdf");
  const QString pages = dir.Path("pages");
  const struct {
    const char* what;
    QString blocked;  // a folder where a file would go
    QString failing;  // the file the message names
  } rows[] = {
      {"the page images", pages, pages + "/page1.png"},
      {"the PDF", pdf, pdf},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    QDir(pages).removeRecursively();
    QDir(pdf).removeRecursively();
    QFile::remove(pdf);
    if (row.blocked == pages) {
      test::WriteBytes(pdf, "old");
    } else {
      ASSERT_TRUE(QDir().mkpath(pdf));
      ASSERT_TRUE(QDir().mkpath(pages));
    }
    QProcess cli;
    cli.start(QStringLiteral(MORV_CLI_PATH), {"print", model, pdf, "--png", pages + "/page"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1);
    // The reason may follow the name.
    const std::string err = cli.readAllStandardError().toStdString();
    EXPECT_TRUE(err.starts_with("morv-cli: Cannot create file " + row.failing.toStdString()))
        << err;
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), "");
    if (row.blocked == pages) {
      EXPECT_TRUE(test::ReadBytes(pdf) == "old") << "the old PDF is kept";
      EXPECT_EQ(
          QDir(dir.Path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
          QStringList{"sheet.Pdf"});
    } else {
      EXPECT_TRUE(QFileInfo(pdf).isDir());
      EXPECT_EQ(QDir(pages).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList{});
    }
  }

  QDir(pdf).removeRecursively();
  QProcess cli;
  cli.start(QStringLiteral(MORV_CLI_PATH), {"print", model, pdf, "--png", pages + "/page"});
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  EXPECT_TRUE(test::ReadBytes(pdf).starts_with("%PDF-"));
  EXPECT_EQ(QDir(pages).entryList(QDir::Files),
            (QStringList{"page1.png", "page2.png", "page3.png"}));
}

}  // namespace
}  // namespace morv
