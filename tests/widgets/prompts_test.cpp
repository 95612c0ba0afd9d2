// The error report, file-name suffixes and colour conversion that every window relies on.
#include <gtest/gtest.h>

#include "engine/errors.h"
#include "platform/colour.h"
#include "platform/error_report.h"
#include "platform/qt_text.h"
#include "support/scripted_prompts.h"
#include "widgets/qt_prompts.h"

namespace morv {
namespace {

TEST(ErrorReport, EndsTheHandlerAndShowsTheTextWithAFullStop) {
  test::ScriptedPrompts prompts;
  bool after = false;
  const bool ok = RunReported(prompts, [&] {
    throw ConversionError("'x' is not a valid integer value");
    after = true;
  });
  EXPECT_FALSE(ok);
  EXPECT_FALSE(after);
  EXPECT_EQ(prompts.messages, QStringList{"'x' is not a valid integer value."});
  EXPECT_TRUE(RunReported(prompts, [] {}));
  EXPECT_EQ(prompts.messages.size(), 1);
}

TEST(ErrorReport, ShowsUtf8TextFaithfully) {
  test::ScriptedPrompts prompts;
  RunReported(prompts, [] { throw FormatError("B\xC3\xA9zier"); });
  EXPECT_EQ(prompts.messages, QStringList{QString::fromUtf8("Bézier.")});
}

TEST(FileNames, TheDefaultSuffixIsAddedOnlyWhenNoneIsTyped) {
  EXPECT_EQ(WithDefaultSuffix("/home/u/cube", "MVD"), "/home/u/cube.MVD");
  EXPECT_EQ(WithDefaultSuffix("/home/u/cube.", "MVD"), "/home/u/cube.MVD");
  EXPECT_EQ(WithDefaultSuffix("/home/u/cube.mvd", "MVD"), "/home/u/cube.mvd");
  EXPECT_EQ(WithDefaultSuffix("/home/u/cube.txt", "MVD"), "/home/u/cube.txt");
  EXPECT_EQ(WithDefaultSuffix("/home/my.dir/cube", "BMP"), "/home/my.dir/cube.BMP");
}

TEST(Colours, RedSitsInTheLowestByte) {
  EXPECT_EQ(ColourToQColor(32768), QColor(0, 128, 0));
  EXPECT_EQ(ColourToQColor(255), QColor(255, 0, 0));
  EXPECT_EQ(ColourToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(QColorToColour(QColor(255, 255, 255)), 16777215);
  EXPECT_EQ(QColorToColour(QColor(1, 2, 3)), 0x030201);
}

TEST(ModelTexts, AreEightBitBothWays) {
  EXPECT_EQ(FromModelText("Caf\xE9"), QString::fromUtf8("Café"));
  EXPECT_EQ(ToModelText(QString::fromUtf8("Café")), "Caf\xE9");
  EXPECT_EQ(ToModelText(QString::fromUtf8("€")), "?");
}

}  // namespace
}  // namespace morv
