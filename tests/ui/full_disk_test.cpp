// Saves onto a full disk: each window reports the failure and the file on disk stays as it was.
#include <QDir>
#include <QTest>

#include "application_fixture.h"
#include "bench/full_model.h"
#include "engine/animation.h"
#include "support/file_size_limit.h"
#include "ui/animation_console.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::test {
namespace {

class FullDiskTest : public ApplicationTest {
 protected:
  void SetUp() override {
    Start();
    CurrentModel = bench::FullCapacityModel();
    CurrentModel.Password.clear();
    Form1->show();
    Form1->DrawTheThing();
  }

  ScratchDir scratch;
};

TEST_F(FullDiskTest, EverySaveReportsTheFailureAndKeepsTheOldFile) {
  const QString share = scratch.Path(QStringLiteral("share"));
  ASSERT_TRUE(QDir().mkpath(share));
  network->Edit1->setText(QStringLiteral("127.0.0.1"));
  network->Edit2->setText(share + QLatin1Char('/'));
  // A set large enough to fill the space a model file gets.
  for (int a = 0; a < 20; ++a) {
    anim->Edit2->setText(QStringLiteral("Walk") + QString::number(a));
    for (int l = 0; l < 50; ++l) {
      anim->xL->setValue(l);
      anim->BitBtn6->click();
    }
    anim->BitBtn8->click();
  }

  const struct {
    const char* what;
    QString file;
    rlim_t limit;
    std::function<void(const QString&)> save;
  } rows[] = {
      {"model", scratch.Path("model.MVD"), 65536,
       [this](const QString& file) {
         prompts.fileAnswers.push_back(file);
         Form1->BitBtn2->click();
       }},
      {"animation set", scratch.Path("walks.MVA"), 4096,
       [this](const QString& file) {
         prompts.fileAnswers.push_back(file);
         anim->BitBtn2->click();
       }},
      {"bitmap of the 3D view", scratch.Path("view.BMP"), 65536,
       [this](const QString& file) {
         prompts.fileAnswers.push_back(file);
         QTest::mouseClick(Display->BitBtn1, Qt::LeftButton);
       }},
      // The scene file is written first and is small: a disk too full even for it.
      {"network scene", share + "/OBJECT1.MED", 16,
       [](const QString&) {
         Form1->NetworkRendering->setChecked(true);
         Form1->DrawTheThing();
       }},
      {"network model", share + "/OBJECT1.MVD", 65536,
       [](const QString&) {
         Form1->NetworkRendering->setChecked(true);
         Form1->DrawTheThing();
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    WriteBytes(row.file, "old");
    const QImage view = Display->MainView->Canvas().Snapshot();
    const QStringList before =
        QDir(QFileInfo(row.file).path()).entryList(QDir::Files | QDir::Hidden);
    prompts.messages.clear();
    {
      const FileSizeLimit full(row.limit);
      row.save(row.file);
    }
    // A network redraw that cannot write its files gives network mode up and draws locally.
    const bool networked = row.file.startsWith(share);
    EXPECT_FALSE(Form1->NetworkRendering->isChecked());
    const QString failure = "Cannot create file " + row.file + ": the file would be too large";
    EXPECT_EQ(prompts.messages,
              QStringList{networked ? NetworkGiveUpMessage(failure) : failure + "."});
    EXPECT_EQ(ReadBytes(row.file), "old");
    EXPECT_EQ(QDir(QFileInfo(row.file).path()).entryList(QDir::Files | QDir::Hidden), before)
        << "nothing is left beside the file";
    EXPECT_FALSE(Form1->NetworkClient->RequestOpen()) << "no request goes out without its files";
    EXPECT_EQ(Display->MainView->Canvas().Snapshot(), view) << "the view shows the local picture";
  }
  EXPECT_TRUE(prompts.AllAnswersUsed());
}

}  // namespace
}  // namespace morv::test
