// The animation file: exact line layout, round trips, and refused files that change nothing.
#include "engine/animation_file.h"

#include <gtest/gtest.h>

#include "engine/errors.h"

namespace morv {
namespace {

TAnimation Walk() {
  TAnimation a;
  a.Name = "Walk";
  a.Joint = 2;
  a.LocationCount = 2;
  a.Locations[1] = {0, -5, 100};
  a.Locations[2] = {-100, 40, -2147483647 - 1};
  a.Speed = 3;
  a.Repeat = true;
  return a;
}

TAnimationList SampleSet() {
  TAnimationList set;
  set.ModelName = "Something.";
  set.Count = 2;
  set.Animations[1] = Walk();
  set.Animations[2].Name = "";
  set.Animations[2].Joint = 1;
  set.Animations[2].Speed = 8;
  return set;
}

TextLines Saved(const TAnimationList& set) {
  TextLines lines;
  SaveAnimations(set, lines);
  return lines;
}

const TextLines SampleLines{"Something.", "2",   "Walk", "2",  "2",           "0",
                            "-5",         "100", "-100", "40", "-2147483648", "3",
                            "REPEAT",     "",    "1",    "0",  "8",           "NO REPEAT"};

TEST(AnimationFile, SavesOneValuePerLineInTheFileOrder) {
  EXPECT_EQ(Saved(TAnimationList{"Something.", 0, {}}), (TextLines{"Something.", "0"}));
  EXPECT_EQ(Saved(SampleSet()), SampleLines);
  // Locations beyond the count are not written; an empty model name is an empty line.
  TAnimationList set = SampleSet();
  set.ModelName.clear();
  set.Count = 1;
  set.Animations[1].LocationCount = 0;
  EXPECT_EQ(Saved(set), (TextLines{"", "1", "Walk", "2", "0", "3", "REPEAT"}));
}

TEST(AnimationFile, LoadsWhatItSavedAndStopsTheLoadedAnimations) {
  TAnimationList set;
  set.Animations[1].Playing = true;
  set.Animations[1].Locations[3] = {9, 9, 9};
  set.Animations[3].Name = "Hidden";
  set.Animations[3].Playing = true;
  LoadAnimations(SampleLines, set);
  EXPECT_EQ(set.ModelName, "Something.");
  EXPECT_EQ(set.Count, 2);
  const TAnimation& a = set.Animations[1];
  EXPECT_EQ(a.Name, "Walk");
  EXPECT_EQ(a.Joint, 2);
  EXPECT_EQ(a.LocationCount, 2);
  EXPECT_EQ(a.Locations[1], (TPoint3D{0, -5, 100}));
  EXPECT_EQ(a.Locations[2], (TPoint3D{-100, 40, -2147483647 - 1}));
  EXPECT_EQ(a.Speed, 3);
  EXPECT_TRUE(a.Repeat);
  EXPECT_FALSE(a.Playing);
  EXPECT_FALSE(set.Animations[2].Repeat);
  // What lies beyond the loaded counts keeps its content; the count hides it.
  EXPECT_EQ(a.Locations[3], (TPoint3D{9, 9, 9}));
  EXPECT_EQ(set.Animations[3].Name, "Hidden");
  EXPECT_EQ(Saved(set), SampleLines);
}

TEST(AnimationFile, TheRepeatLineIsCaseSensitiveAndMayBeMissing) {
  for (const TextLines& lines :
       {TextLines{"M", "1", "A", "1", "0", "1", "repeat"}, TextLines{"M", "1", "A", "1", "0", "1"},
        TextLines{"M", "1", "A", "1", "0", "1", "REPEAT "}}) {
    TAnimationList set;
    set.Animations[1].Repeat = true;
    LoadAnimations(lines, set);
    EXPECT_FALSE(set.Animations[1].Repeat) << lines.back();
  }
}

TEST(AnimationFile, ARefusedFileChangesNothingAndNamesTheLine) {
  struct Case {
    TextLines lines;
    const char* message;
  };
  const Case cases[] = {
      {{"M", "two"}, "Line 2: 'two' is not a valid integer value"},
      {{"M"}, "Line 2: the file ends before this line, which should hold an integer value"},
      {{"M", "1", "A", "1", "1", "0", "x", "0"}, "Line 7: 'x' is not a valid integer value"},
      {{"M", "1", "A", "1", "0"},
       "Line 6: the file ends before this line, which should hold an integer value"},
      {{"M", "101"}, "Line 2: 101 is not a valid number of animations (0 to 100)"},
      {{"M", "-1"}, "Line 2: -1 is not a valid number of animations (0 to 100)"},
      {{"M", "1", "A", "1", "101"}, "Line 5: 101 is not a valid number of locations (0 to 100)"},
      {{"M", "2", "A", "1", "0", "1", "REPEAT", "B", "1", "-3"},
       "Line 10: -3 is not a valid number of locations (0 to 100)"},
  };
  for (const Case& c : cases) {
    TAnimationList set = SampleSet();
    set.Animations[1].Playing = true;
    try {
      LoadAnimations(c.lines, set);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const std::exception& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    TAnimationList expected = SampleSet();
    expected.Animations[1].Playing = true;
    EXPECT_EQ(Saved(set), Saved(expected)) << c.message;
    EXPECT_TRUE(set.Animations[1].Playing) << c.message;
  }
}

TEST(AnimationFile, NamesWithLineBreaksAreNotWritten) {
  for (auto spoil : {+[](TAnimationList& s) { s.ModelName = "a\r\nb"; },
                     +[](TAnimationList& s) { s.Animations[2].Name = std::string("x\0", 2); }}) {
    TAnimationList set = SampleSet();
    spoil(set);
    TextLines lines{"kept"};
    EXPECT_THROW(SaveAnimations(set, lines), FormatError);
    EXPECT_EQ(lines, TextLines{"kept"});
  }
}

}  // namespace
}  // namespace morv
