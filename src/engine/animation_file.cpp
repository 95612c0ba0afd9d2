// The animation file (MVA): the set's model name, its count and each animation, one value per line.
#include "engine/animation_file.h"

#include "engine/errors.h"
#include "engine/integer_text.h"
#include "engine/line_reader.h"
#include "engine/model_file.h"

namespace morv {

namespace {

const std::string RepeatLine = "REPEAT";
const std::string NoRepeatLine = "NO REPEAT";

void CheckOneLine(const std::string& text, const std::string& what) {
  if (!TextFitsModelFile(text)) {
    throw FormatError(what +
                      " holds a line break or NUL character, which an animation file cannot "
                      "store; choose another name");
  }
}

}  // namespace

void SaveAnimations(const TAnimationList& set, TextLines& lines) {
  CheckOneLine(set.ModelName, "The model name");
  for (int32_t k = 1; k <= set.Count; ++k) {
    CheckOneLine(set.Animations[k].Name, "The name of animation " + std::to_string(k));
  }
  TextLines out;
  out.push_back(set.ModelName);
  out.push_back(IntToStr(set.Count));
  for (int32_t k = 1; k <= set.Count; ++k) {
    const TAnimation& a = set.Animations[k];
    out.push_back(a.Name);
    out.push_back(IntToStr(a.Joint));
    out.push_back(IntToStr(a.LocationCount));
    for (int32_t i = 1; i <= a.LocationCount; ++i) {
      out.push_back(IntToStr(a.Locations[i].X));
      out.push_back(IntToStr(a.Locations[i].Y));
      out.push_back(IntToStr(a.Locations[i].Z));
    }
    out.push_back(IntToStr(a.Speed));
    out.push_back(a.Repeat ? RepeatLine : NoRepeatLine);
  }
  lines = std::move(out);
}

void LoadAnimations(const TextLines& lines, TAnimationList& set) {
  const LineReader in(lines);
  TAnimationList staged = set;
  staged.ModelName = in.Text(0);
  staged.Count = in.Count(1, MaxAnimations, "animations");
  std::size_t n = 2;
  for (int32_t k = 1; k <= staged.Count; ++k) {
    TAnimation& a = staged.Animations[k];
    a.Name = in.Text(n);
    a.Joint = in.Integer(n + 1);
    a.LocationCount = in.Count(n + 2, MaxLocations, "locations");
    n += 3;
    for (int32_t i = 1; i <= a.LocationCount; ++i, n += 3) {
      a.Locations[i] = {in.Integer(n), in.Integer(n + 1), in.Integer(n + 2)};
    }
    a.Speed = in.Integer(n);
    // Any other text, a missing line included, means the animation does not repeat.
    a.Repeat = in.Text(n + 1) == RepeatLine;
    n += 2;
    // A loaded animation may have fewer locations than the one that played in its slot.
    a.Playing = false;
  }
  set = std::move(staged);
}

}  // namespace morv
