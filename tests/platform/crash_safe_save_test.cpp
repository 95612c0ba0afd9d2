// Saves killed at random moments: the file is always one whole version, and nothing stays beside
// it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <chrono>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

#include "bench/full_model.h"
#include "engine/model_file.h"
#include "platform/text_file.h"
#include "support/fault_seed.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

constexpr int Kills = 200;

std::string FullModelFile(bool second) {
  auto model = std::make_unique<TMorvObject>(bench::FullCapacityModel());
  if (second) {
    model->Name = "Second";
    for (int32_t i = 1; i <= MaxJoints; ++i) model->Joints[i].Mass = 7 * i + 1;
  }
  TextLines lines;
  SaveModel(*model, lines);
  return JoinLines(lines);
}

TEST(CrashSafeSave, AFullModelSaveKilledAnywhereLeavesOneWholeFile) {
  const std::uint32_t seed = test::FaultSeed();
  std::mt19937 random(seed);

  ScratchDir dir;
  const std::string files[2] = {FullModelFile(false), FullModelFile(true)};
  ASSERT_NE(files[0], files[1]);
  WriteBytes(dir.Path("A.MVD"), files[0]);
  WriteBytes(dir.Path("B.MVD"), files[1]);
  // Two save loops run side by side, each on its own folder, to halve the test's time.
  constexpr int Lanes = 2;
  const QString folders[Lanes] = {dir.Path("lane0"), dir.Path("lane1")};
  const std::string initial = "Initial\r\n \r\n0\r\n \r\n0\r\n0\r\n0\r\n";
  for (const QString& folder : folders) {
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteBytes(folder + "/model.MVD", initial);
  }

  // Kills land anywhere in the first few saves: the time of one save here sets the range.
  QElapsedTimer clock;
  clock.start();
  WriteTextLines(dir.Path("timing.MVD"), SplitLines(files[0]));
  QFile::remove(dir.Path("timing.MVD"));
  const auto oneSave = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
  std::uniform_int_distribution<qint64> delay(0, 3 * oneSave);

  const QRegularExpression temporary(QStringLiteral("^\\.model\\.MVD\\.[0-9a-f]{8}\\.morv-save$"));
  int seen[3] = {};  // initial, A, B
  int leftovers = 0;
  for (int round = 0; round < Kills / Lanes; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round << ", seed " << seed);
    QProcess children[Lanes];
    for (int lane = 0; lane < Lanes; ++lane) {
      children[lane].start(QStringLiteral(MORV_SAVE_LOOP_PATH),
                           {dir.Path("A.MVD"), dir.Path("B.MVD"), folders[lane] + "/model.MVD",
                            QStringLiteral("100000")});
    }
    for (QProcess& child : children) {
      ASSERT_TRUE(child.waitForStarted(10000));
      ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
    }
    qint64 at[Lanes] = {delay(random), delay(random)};
    const int first = at[0] <= at[1] ? 0 : 1;
    std::this_thread::sleep_for(std::chrono::microseconds(at[first]));
    ::kill(static_cast<pid_t>(children[first].processId()), SIGKILL);
    std::this_thread::sleep_for(std::chrono::microseconds(at[1 - first] - at[first]));
    ::kill(static_cast<pid_t>(children[1 - first].processId()), SIGKILL);

    for (int lane = 0; lane < Lanes; ++lane) {
      SCOPED_TRACE(testing::Message() << "lane " << lane);
      QProcess& child = children[lane];
      ASSERT_TRUE(child.waitForFinished(10000));
      ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
          << "the saves ended before the kill: " << child.readAllStandardError().toStdString();
      const std::string now = ReadBytes(folders[lane] + "/model.MVD");
      const int version = now == initial ? 0 : now == files[0] ? 1 : now == files[1] ? 2 : -1;
      ASSERT_NE(version, -1) << "a file of " << now.size() << " bytes that no save wrote";
      ++seen[version];
      for (const QString& entry : QDir(folders[lane]).entryList(QDir::Files | QDir::Hidden)) {
        if (entry == QStringLiteral("model.MVD")) continue;
        ASSERT_TRUE(temporary.match(entry).hasMatch())
            << "left beside the file: " << entry.toStdString();
        ++leftovers;
      }
    }
  }
  std::cout << "after " << Kills << " kills: " << seen[0] << " initial, " << seen[1] << " A, "
            << seen[2] << " B; " << leftovers << " named temporaries seen; one save " << oneSave
            << " us" << std::endl;
  EXPECT_GT(seen[1], 0) << "no kill came after a first save";
  EXPECT_GT(seen[2], 0) << "no kill came after a second save";

  // Whatever a killed save left, the next one clears away.
  for (const QString& folder : folders) {
    WriteTextLines(folder + "/model.MVD", {"last"});
    EXPECT_EQ(ReadBytes(folder + "/model.MVD"), "last\r\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"model.MVD"});
  }
}

}  // namespace
}  // namespace morv
