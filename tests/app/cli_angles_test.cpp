// morv-cli render at the ends of the angle range: a full turn is the same view as no turn.
#include <gtest/gtest.h>
#include <QProcess>
#include <QStringList>

#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;

// The bitmap the program writes for the ring model seen from these angles.
std::string RenderRing(const ScratchDir& dir, const QString& x, const QString& y,
                       const QString& z) {
  const QString out = dir.Path(QStringLiteral("ring_%1_%2_%3.BMP").arg(x, y, z));
  QProcess cli;
  cli.start(QStringLiteral(MORV_CLI_PATH), {QStringLiteral("render"), TestDataPath("ring.MVD"), out,
                                            QStringLiteral("--angles"), x, y, z});
  EXPECT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const std::string bytes = ReadBytes(out);
  EXPECT_FALSE(bytes.empty());
  return bytes;
}

TEST(CliAngles, AFullTurnAboutAnyAxisRendersExactlyAsNoTurn) {
  ScratchDir dir;
  const std::string rest = RenderRing(dir, "0", "0", "0");
  const std::string allTurned = RenderRing(dir, "360", "360", "360");
  EXPECT_EQ(allTurned, rest);
  const QStringList axes{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
  for (int axis = 0; axis < 3; ++axis) {
    SCOPED_TRACE(axes[axis].toStdString());
    QStringList full{"0", "0", "0"};
    QStringList almost{"0", "0", "0"};
    full[axis] = "360";
    almost[axis] = "359";
    EXPECT_EQ(RenderRing(dir, full[0], full[1], full[2]), rest);
    // One degree short of the full turn shows the ring visibly turned.
    EXPECT_NE(RenderRing(dir, almost[0], almost[1], almost[2]), rest);
  }
}

}  // namespace
}  // namespace morv
