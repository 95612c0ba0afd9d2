// Password scrambling: the key's first two codes shift odd and even positions modulo 256.
#include "engine/crypt.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

std::string Byte(int code) { return std::string(1, static_cast<char>(code)); }

TEST(Crypt, ShiftsOddPositionsByTheFirstKeyCodeAndEvenOnesByTheSecond) {
  // 'p' = 112, 'l' = 108.
  EXPECT_EQ(ScrambleText("plexon3k", "AB"), Byte('A' + 112) + Byte('B' + 108));
  EXPECT_EQ(ScrambleText("plexon3k", "ABC"), Byte('A' + 112) + Byte('B' + 108) + Byte('C' + 112));
  // Only the first two key characters count.
  EXPECT_EQ(ScrambleText("pl", "secret"), ScrambleText("plexon3k", "secret"));
}

TEST(Crypt, WrapsAroundModulo256) {
  EXPECT_EQ(ScrambleText("plexon3k", Byte(200)), Byte((200 + 112) % 256));
  EXPECT_EQ(UnscrambleText("plexon3k", Byte(5)), Byte(5 - 112 + 256));
}

TEST(Crypt, EveryCodeRoundTripsAtOddAndEvenPositions) {
  for (int code = 0; code < 256; ++code) {
    const std::string odd = Byte(code);
    const std::string even = std::string(1, 'x') + Byte(code);
    EXPECT_EQ(UnscrambleText("plexon3k", ScrambleText("plexon3k", odd)), odd) << code;
    EXPECT_EQ(UnscrambleText("plexon3k", ScrambleText("plexon3k", even)), even) << code;
    EXPECT_EQ(static_cast<unsigned char>(ScrambleText("plexon3k", odd)[0]), (code + 112) % 256);
    EXPECT_EQ(static_cast<unsigned char>(ScrambleText("plexon3k", even)[1]), (code + 108) % 256);
  }
}

TEST(Crypt, KeepsLengthAndEmptyText) {
  EXPECT_EQ(ScrambleText("plexon3k", ""), "");
  EXPECT_EQ(UnscrambleText("plexon3k", ""), "");
  EXPECT_EQ(ScrambleText("plexon3k", std::string(37, 'q')).size(), 37u);
}

TEST(Crypt, RefusesAKeyShorterThanTwoCharacters) {
  EXPECT_THROW(ScrambleText("p", "text"), std::invalid_argument);
}

}  // namespace
}  // namespace morv
