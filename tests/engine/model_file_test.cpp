// The MVD4 model file: line layout, round trips and every kind of bad input.
#include "engine/model_file.h"

#include <gtest/gtest.h>

#include "engine/crypt.h"
#include "engine/errors.h"

namespace morv {
namespace {

TMorvObject EmptyModel() {
  TMorvObject m;
  m.Name = "MyObject";
  return m;
}

TMorvObject SampleModel() {
  TMorvObject m = EmptyModel();
  m.ControlCount = 1;
  m.Controls[1] = {5, -3, 0};
  m.JointCount = 1;
  m.Joints[1].Position = {1, 2, 3};
  m.Joints[1].Mass = 7;
  m.Joints[1].RefCount = 1;
  m.Joints[1].ControlRefs[1] = 1;
  return m;
}

TextLines Saved(const TMorvObject& m) {
  TextLines lines;
  SaveModel(m, lines);
  return lines;
}

TMorvObject Loaded(const TextLines& lines) {
  TMorvObject m;
  LoadModel(lines, m);
  return m;
}

TEST(SaveModel, EmptyModelIsSevenLines) {
  EXPECT_EQ(Saved(EmptyModel()), (TextLines{"MyObject", " ", "0", " ", "0", "0", "0"}));
}

TEST(SaveModel, WritesVerticesThenPatchesThenJoints) {
  TMorvObject m = SampleModel();
  const TextLines lines = Saved(m);
  EXPECT_EQ(lines, (TextLines{"MyObject", " ", "0", " ", "1", "0", "1", "5", "-3", "0", "1", "2",
                              "3", "7", "1", "1"}));

  m.PatchCount = 2;
  for (int32_t k = 1; k <= 8; ++k) {
    m.Patches[1].ControlIndex[k] = k;
    m.Patches[2].ControlIndex[k] = 10 * k;
  }
  m.Patches[1].Colour = ColourWhite;
  m.Patches[2].Colour = 255;
  m.Joints[1].RefCount = 0;
  m.JointCount = 2;
  m.Joints[2].Position = {-1, -2, -3};
  m.Joints[2].Mass = 4;
  m.Joints[2].RefCount = 2;
  m.Joints[2].ControlRefs[1] = 1;
  m.Joints[2].ControlRefs[2] = 1;
  const TextLines full = Saved(m);
  // The first patch starts at 3C + 7, each patch takes nine lines.
  EXPECT_EQ(full[10], "1");
  EXPECT_EQ(full[17], "8");
  EXPECT_EQ(full[18], "16777215");
  EXPECT_EQ(full[19], "10");
  EXPECT_EQ(full[27], "255");
  // The first joint starts at 3C + 9P + 7; one without references takes five lines.
  EXPECT_EQ((TextLines(full.begin() + 28, full.end())),
            (TextLines{"1", "2", "3", "7", "0", "-1", "-2", "-3", "4", "2", "1", "1"}));
}

TEST(SaveModel, WritesLockScrambledPasswordAndOwnerWithATrailingSpace) {
  TMorvObject m = EmptyModel();
  m.Locked = true;
  m.Password = "abc";
  m.Owner = "Ann";
  const TextLines lines = Saved(m);
  EXPECT_EQ(lines[1], ScrambleText("plexon3k", "abc"));
  EXPECT_EQ(lines[2], "1");
  EXPECT_EQ(lines[3], "Ann ");
  // Read back, the owner keeps its space, and the next save adds another.
  const TMorvObject again = Loaded(lines);
  EXPECT_EQ(again.Owner, "Ann ");
  EXPECT_EQ(again.Password, "abc");
  EXPECT_TRUE(again.Locked);
  EXPECT_EQ(Saved(again)[3], "Ann  ");
}

TEST(SaveModel, LeavesTheCallersModelUntouchedAndReplacesTheBuffer) {
  TMorvObject m = SampleModel();
  const TMorvObject before = m;
  TextLines lines{"old", "content", "here", "and", "more", "lines", "than", "needed", "x"};
  SaveModel(m, lines);
  EXPECT_EQ(m, before);
  EXPECT_EQ(lines, Saved(before));
}

TEST(ModelFile, RoundTripKeepsEveryStoredField) {
  TMorvObject m = EmptyModel();
  m.Name = "Caf\xE9";  // 8-bit text passes unchanged
  m.Owner = "Zo\xEB";
  m.Password = "p\xE4ss w0rd";
  m.Locked = true;
  m.ControlCount = 4;
  for (int32_t i = 1; i <= 4; ++i) m.Controls[i] = {i, -i * 1000, INT32_MIN + i};
  m.PatchCount = 1;
  for (int32_t k = 1; k <= 8; ++k) m.Patches[1].ControlIndex[k] = (k % 4) + 1;
  m.Patches[1].ControlIndex[8] = 77;  // beyond ControlCount: kept as it stands
  m.Patches[1].Colour = 0x123456;
  m.JointCount = 2;
  m.Joints[1] = TJoint{};
  m.Joints[1].Mass = -4;
  m.Joints[2].Mass = 1000;
  m.Joints[2].RefCount = 100;
  for (int32_t k = 1; k <= 100; ++k) m.Joints[2].ControlRefs[k] = k;
  m.Joints[2].Position = {INT32_MAX, 0, -1};

  TMorvObject back = Loaded(Saved(m));
  m.Owner += " ";  // the file adds one space after the owner
  EXPECT_EQ(back, m);
}

TEST(ModelFile, TheThirtyTwoBitExtremesRoundTripInEveryNumberField) {
  constexpr int32_t Low = INT32_MIN;
  constexpr int32_t High = INT32_MAX;
  TMorvObject m = EmptyModel();
  m.ControlCount = 2;
  m.Controls[1] = {Low, High, Low};
  m.Controls[2] = {High, Low, High};
  m.PatchCount = 2;
  for (int32_t k = 1; k <= 8; ++k) {
    m.Patches[1].ControlIndex[k] = k % 2 == 0 ? Low : High;
    m.Patches[2].ControlIndex[k] = k % 2 == 0 ? High : Low;
  }
  m.Patches[1].Colour = Low;
  m.Patches[2].Colour = High;
  m.JointCount = 2;
  m.Joints[1].Position = {Low, High, Low};
  m.Joints[1].Mass = Low;
  m.Joints[1].RefCount = 2;
  m.Joints[1].ControlRefs[1] = Low;
  m.Joints[1].ControlRefs[2] = High;
  m.Joints[2].Position = {High, Low, High};
  m.Joints[2].Mass = High;
  m.Joints[2].RefCount = 1;
  m.Joints[2].ControlRefs[1] = Low;

  const TextLines lines = Saved(m);
  // Vertices from line 7, patches from 13, joints from 31.
  EXPECT_EQ((TextLines(lines.begin() + 7, lines.begin() + 10)),
            (TextLines{"-2147483648", "2147483647", "-2147483648"}));
  EXPECT_EQ(lines[21], "-2147483648") << "first patch's colour";
  EXPECT_EQ(lines[30], "2147483647") << "second patch's colour";
  EXPECT_EQ((TextLines(lines.begin() + 31, lines.begin() + 38)),
            (TextLines{"-2147483648", "2147483647", "-2147483648", "-2147483648", "2",
                       "-2147483648", "2147483647"}));
  m.Owner += " ";  // the file adds one space after the owner
  EXPECT_EQ(Loaded(lines), m);
}

TEST(LoadModel, ReadsMassZeroAsOneAndKeepsNegativeMass) {
  TextLines lines{"M", " ", "0", " ", "0", "0", "2",  "0", "0",
                  "0", "0", "0", "0", "0", "0", "-4", "0"};
  const TMorvObject m = Loaded(lines);
  EXPECT_EQ(m.Joints[1].Mass, 1);
  EXPECT_EQ(m.Joints[2].Mass, -4);
}

TEST(LoadModel, OnlyALockLineOfExactlyOneLocks) {
  for (const char* line : {"1 ", " 1", "01", "2", "", "true"}) {
    EXPECT_FALSE(Loaded({"M", " ", line, " ", "0", "0", "0"}).Locked) << line;
  }
  EXPECT_TRUE(Loaded({"M", " ", "1", " ", "0", "0", "0"}).Locked);
}

TEST(LoadModel, ALoneSpacePasswordLineClearsTheOldPassword) {
  TMorvObject m = EmptyModel();
  m.Password = "old";
  LoadModel(Saved(EmptyModel()), m);
  EXPECT_EQ(m.Password, "");
}

TEST(LoadModel, IgnoresLinesAfterTheLastJointAndKeepsRunTimeState) {
  TextLines lines = Saved(SampleModel());
  lines.push_back("trailing");
  lines.push_back("junk");
  TMorvObject m;
  m.Joints[1].Velocity = {1.5, 2.5, 3.5};
  m.Joints[1].Acceleration = {-1, 0, 1};
  m.Controls[2] = {9, 9, 9};  // beyond the new count
  LoadModel(lines, m);
  EXPECT_EQ(m.Joints[1].Velocity, (TVelocity3D{1.5, 2.5, 3.5}));
  EXPECT_EQ(m.Joints[1].Acceleration, (TVelocity3D{-1, 0, 1}));
  EXPECT_EQ(m.Controls[2], (TControlVertex{9, 9, 9}));
  EXPECT_EQ(m.Joints[1].ControlRefs[1], 1);
}

TEST(LoadModel, AcceptsSignsAndBlanksAroundNumbers) {
  const TMorvObject m = Loaded({"M", " ", "0", " ", " 1", "+0", "0 ", "-5", "+6", "\t7"});
  EXPECT_EQ(m.Controls[1], (TControlVertex{-5, 6, 7}));
}

struct BadFile {
  TextLines lines;
  std::string message;
};

// A one-vertex file whose first coordinate line holds `text`.
BadFile BadVertexX(const std::string& text, const std::string& message) {
  return {{"M", " ", "0", " ", "1", "0", "0", text, "0", "0"}, "Line 8: " + message};
}

const std::string EndsEarly = "the file ends before this line, which should hold an integer value";

class LoadModelRefuses : public ::testing::TestWithParam<BadFile> {};

TEST_P(LoadModelRefuses, WithAClearMessageAndLeavesTheModelAsItWas) {
  TMorvObject m = SampleModel();
  m.Name = "Before";
  m.Password = "secret";
  const TMorvObject before = m;
  try {
    LoadModel(GetParam().lines, m);
    FAIL() << "loaded";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
  EXPECT_EQ(m, before);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, LoadModelRefuses,
    ::testing::Values(
        BadFile{{"M", " ", "0", " ", "abc", "0", "0"},
                "Line 5: 'abc' is not a valid integer value"},
        BadFile{{"M", " ", "0", " ", "", "0", "0"}, "Line 5: '' is not a valid integer value"},
        // A short file: the missing lines read as empty text.
        BadFile{{"OnlyName"}, "Line 5: " + EndsEarly},
        BadFile{{"M", " ", "0", " ", "1", "0", "0", "4", "5"}, "Line 10: " + EndsEarly},
        BadFile{{"M", " ", "0", " ", "1", "0", "0", "1", "2", "3.5"},
                "Line 10: '3.5' is not a valid integer value"},
        BadVertexX("2147483648", "'2147483648' is not a valid integer value"),
        BadVertexX("-2147483649", "'-2147483649' is not a valid integer value"),
        // One past either end is refused in a patch's colour and a joint's mass too.
        BadFile{{"M", " ", "0", " ", "0", "1", "0", "1", "1", "1", "1", "1", "1", "1", "1",
                 "2147483648"},
                "Line 16: '2147483648' is not a valid integer value"},
        BadFile{{"M", " ", "0", " ", "0", "0", "1", "0", "0", "0", "-2147483649", "0"},
                "Line 11: '-2147483649' is not a valid integer value"},
        BadVertexX("99999999999999999999", "'99999999999999999999' is not a valid integer value"),
        BadVertexX("--1", "'--1' is not a valid integer value"),
        BadVertexX("0x10", "'0x10' is not a valid integer value"),
        BadVertexX("caf\xE9", "'caf\xC3\xA9' is not a valid integer value"),
        BadFile{{"M", " ", "0", " ", "1001", "0", "0"},
                "Line 5: 1001 is not a valid number of control vertices (0 to 1000)"},
        BadFile{{"M", " ", "0", " ", "-1", "0", "0"},
                "Line 5: -1 is not a valid number of control vertices (0 to 1000)"},
        BadFile{{"M", " ", "0", " ", "0", "1001", "0"},
                "Line 6: 1001 is not a valid number of B\xC3\xA9zier patches (0 to 1000)"},
        BadFile{{"M", " ", "0", " ", "0", "0", "5000"},
                "Line 7: 5000 is not a valid number of joints (0 to 1000)"},
        BadFile{{"M", " ", "0", " ", "0", "0", "1", "0", "0", "0", "1", "101"},
                "Line 12: 101 is not a valid number of joint references (0 to 100)"},
        BadFile{{"M", " ", "0", " ", "0", "0", "1", "0", "0", "0", "1", "-3"},
                "Line 12: -3 is not a valid number of joint references (0 to 100)"}));

TEST(SaveModel, RefusesANameOrOwnerThatWouldBreakTheLinesAndLeavesTheBuffer) {
  for (const std::string& bad : {std::string("Two\r\nlines"), std::string("cr\r"),
                                 std::string("lf\n"), std::string("nul\0x", 5)}) {
    EXPECT_FALSE(TextFitsModelFile(bad));
    for (const bool inName : {true, false}) {
      TMorvObject m = EmptyModel();
      (inName ? m.Name : m.Owner) = bad;
      TextLines lines{"kept"};
      EXPECT_THROW(SaveModel(m, lines), FormatError) << inName;
      EXPECT_EQ(lines, TextLines{"kept"});
    }
  }
  // Every other character stays as it is, tabs and Latin-1 letters included.
  TMorvObject m = EmptyModel();
  m.Name = "Caf\xE9\tT\xFCr";
  m.Owner = "\x01\xFF";
  EXPECT_TRUE(TextFitsModelFile(m.Name));
  const TMorvObject back = Loaded(Saved(m));
  EXPECT_EQ(back.Name, m.Name);
  EXPECT_EQ(back.Owner, m.Owner + " ");
}

TEST(Password, PasswordsWhoseScrambledFormBreaksTheFileAreRefused) {
  // 'p' shifts odd positions by 112, 'l' even ones by 108: these codes land on CR, LF and NUL.
  for (int code : {157, 154, 144}) {
    EXPECT_FALSE(PasswordFitsModelFile(std::string(1, static_cast<char>(code)))) << code;
    EXPECT_TRUE(PasswordFitsModelFile("x" + std::string(1, static_cast<char>(code)))) << code;
  }
  for (int code : {161, 158, 148}) {
    EXPECT_FALSE(PasswordFitsModelFile("x" + std::string(1, static_cast<char>(code)))) << code;
  }
  // The one password that scrambles to a lone space would read back as no password at all.
  EXPECT_FALSE(PasswordFitsModelFile(std::string(1, static_cast<char>(176))));
  EXPECT_TRUE(PasswordFitsModelFile(""));
  EXPECT_TRUE(PasswordFitsModelFile("ordinary password 123"));

  TMorvObject m = EmptyModel();
  m.Password = std::string("a") + static_cast<char>(158);
  TextLines lines{"kept"};
  EXPECT_THROW(SaveModel(m, lines), FormatError);
  EXPECT_EQ(lines, TextLines{"kept"});
}

TEST(Password, EveryOtherSingleCharacterPasswordRoundTrips) {
  for (int code = 0; code < 256; ++code) {
    for (const std::string& password :
         {std::string(1, static_cast<char>(code)), std::string(1, 'x') + static_cast<char>(code)}) {
      if (!PasswordFitsModelFile(password)) continue;
      TMorvObject m = EmptyModel();
      m.Password = password;
      EXPECT_EQ(Loaded(Saved(m)).Password, password) << code;
    }
  }
}

}  // namespace
}  // namespace morv
