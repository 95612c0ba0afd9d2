// Model and animation files that do not read: the message names the line and shows its value
// printably and briefly, and the model or set stays as it was.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/animation_file.h"
#include "engine/errors.h"
#include "engine/model_file.h"

namespace morv {
namespace {

using namespace std::literals;

enum class FileKind { Model, Animation };

struct UnreadableFile {
  FileKind kind;
  std::string bytes;
  std::string message;
};

const std::string NotAnInteger = "' is not a valid integer value";
const std::string EndsEarly = "the file ends before this line, which should hold an integer value";

std::string Repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Each bad value stands on the first integer line of both kinds of file: a model's count of
// control vertices (line 5) and a set's count of animations (line 2).
std::vector<UnreadableFile> Cases() {
  const struct {
    std::string line;
    std::string shown;
  } values[] = {
      // Control characters, DEL, the C1 range, the no-break space and the soft hyphen are
      // escaped, a backslash too so that escapes stay unambiguous; Latin-1 letters are shown.
      {"\x01\t\x7F\x9F\xA0\xAD\\ \xE9z", R"(\x01\t\x7F\x9F\xA0\xAD\\ )"
                                         "\xC3\xA9z"},
      {"\0"s, R"(\x00)"},
      // Cut after 60 shown characters, never inside an escape; letters count as one each.
      {Repeated("1234567890", 10) + "x", Repeated("1234567890", 6) + "\xE2\x80\xA6"},
      {Repeated("a", 56) + "\x01", Repeated("a", 56) + R"(\x01)"},
      {Repeated("a", 57) + "\x01", Repeated("a", 57) + "\xE2\x80\xA6"},
      {Repeated("\xE9", 60), Repeated("\xC3\xA9", 60)},
      {Repeated("\xE9", 61), Repeated("\xC3\xA9", 60) + "\xE2\x80\xA6"},
  };
  std::vector<UnreadableFile> cases;
  for (const auto& v : values) {
    cases.push_back({FileKind::Model, "M\r\n \r\n0\r\n \r\n" + v.line + "\r\n0\r\n0\r\n",
                     "Line 5: '" + v.shown + NotAnInteger});
    cases.push_back(
        {FileKind::Animation, "M\r\n" + v.line + "\r\n", "Line 2: '" + v.shown + NotAnInteger});
  }
  // The first bytes of a 10 x 10 PNG picture, whose line breaks fall inside its header.
  const std::string png = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\n\0\0\0\n\x08\x02\0\0\0\x02PX\xEA"s;
  cases.push_back({FileKind::Model, png,
                   "Line 5: '"
                   R"(\x00\x00\x00)" +
                       NotAnInteger});
  cases.push_back({FileKind::Animation, png,
                   "Line 2: '"
                   R"(\x1A)" +
                       NotAnInteger});
  // Files that end early, with and without a final line end.
  cases.push_back({FileKind::Model,
                   "M\r\n \r\n0\r\n \r\n0\r\n0\r\n1\r\n1\r\n2\r\n3\r\n4\r\n2\r\n9\r\n",
                   "Line 14: " + EndsEarly});
  cases.push_back({FileKind::Model, "M\n \n0\n \n0\n0", "Line 7: " + EndsEarly});
  cases.push_back(
      {FileKind::Animation, "M\r\n1\r\nWalk\r\n1\r\n1\r\n5\r\n6", "Line 8: " + EndsEarly});
  // A bad value deep in the file: a patch's colour, an animation's speed.
  cases.push_back(
      {FileKind::Model,
       "M\r\n \r\n0\r\n \r\n0\r\n1\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nred\r\n",
       "Line 16: 'red" + NotAnInteger});
  cases.push_back({FileKind::Animation,
                   "M\r\n1\r\nWalk\r\n1\r\n1\r\n5\r\n6\r\n7\r\nfast\r\nREPEAT\r\n",
                   "Line 9: 'fast" + NotAnInteger});
  return cases;
}

TMorvObject SampleModel() {
  TMorvObject m;
  m.Name = "Kept";
  m.Owner = "Owner";
  m.ControlCount = 1;
  m.Controls[1] = {5, -3, 0};
  m.JointCount = 1;
  m.Joints[1].Position = {1, 2, 3};
  m.Joints[1].Mass = 7;
  return m;
}

TAnimationList SampleSet() {
  TAnimationList set;
  set.ModelName = "Kept";
  set.Count = 1;
  set.Animations[1].Name = "Walk";
  set.Animations[1].LocationCount = 1;
  set.Animations[1].Locations[1] = {4, 5, 6};
  set.Animations[1].Playing = true;
  return set;
}

TextLines SavedSet(const TAnimationList& set) {
  TextLines lines;
  SaveAnimations(set, lines);
  return lines;
}

TEST(UnreadableFile, NamesTheLineShowsTheValuePrintablyAndChangesNothing) {
  for (const UnreadableFile& c : Cases()) {
    SCOPED_TRACE(c.message);
    const TextLines lines = SplitLines(c.bytes);
    std::string message;
    if (c.kind == FileKind::Model) {
      TMorvObject model = SampleModel();
      try {
        LoadModel(lines, model);
      } catch (const ConversionError& error) {
        message = error.what();
      }
      EXPECT_TRUE(model == SampleModel());
    } else {
      TAnimationList set = SampleSet();
      try {
        LoadAnimations(lines, set);
      } catch (const ConversionError& error) {
        message = error.what();
      }
      EXPECT_EQ(SavedSet(set), SavedSet(SampleSet()));
      EXPECT_TRUE(set.Animations[1].Playing);
    }
    EXPECT_EQ(message, c.message);
  }
}

}  // namespace
}  // namespace morv
