// Splitting files into lines at any line end, and joining them with CR LF.
#include "engine/line_text.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

TEST(SplitLines, TreatsCrLfLoneCrAndLoneLfAlike) {
  const TextLines expected{"a", "b", "c"};
  EXPECT_EQ(SplitLines("a\r\nb\r\nc\r\n"), expected);
  EXPECT_EQ(SplitLines("a\nb\nc\n"), expected);
  EXPECT_EQ(SplitLines("a\rb\rc\r"), expected);
  EXPECT_EQ(SplitLines("a\r\nb\nc"), expected);
}

TEST(SplitLines, KeepsEmptyLinesButNoPhantomLastLine) {
  EXPECT_EQ(SplitLines(""), TextLines{});
  EXPECT_EQ(SplitLines("\r\n"), TextLines{""});
  EXPECT_EQ(SplitLines(" \r\n\r\nx"), (TextLines{" ", "", "x"}));
  EXPECT_EQ(SplitLines("\n\r"), (TextLines{"", ""})) << "LF then CR are two line ends";
}

TEST(SplitLines, PassesEightBitAndNulBytesThrough) {
  const std::string bytes("\xE9t\xE9\0x\r\n", 7);
  EXPECT_EQ(SplitLines(bytes), TextLines{std::string("\xE9t\xE9\0x", 5)});
}

TEST(JoinLines, EndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({"a", "", " "}), "a\r\n\r\n \r\n");
  const TextLines lines{"x", "", "caf\xE9"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

}  // namespace
}  // namespace morv
