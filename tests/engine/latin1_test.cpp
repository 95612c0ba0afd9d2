// Model texts are 8-bit; terminals and messages are UTF-8.
#include "engine/latin1.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

TEST(Latin1, EveryCodeRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
  EXPECT_EQ(Latin1ToUtf8("B\xE9zier"), "B\xC3\xA9zier");
}

TEST(Latin1, CharactersBeyondLatin1AndBrokenSequencesBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC"), "?");  // the euro sign
  EXPECT_EQ(Utf8ToLatin1("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToLatin1("\x80z"), "?z");
}

}  // namespace
}  // namespace morv
