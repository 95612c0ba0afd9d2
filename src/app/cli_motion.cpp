// The morv-cli commands that move a model: animation playback and the mechanics.
#include "app/cli_motion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "app/cli_arguments.h"
#include "engine/animation.h"
#include "engine/animation_file.h"
#include "engine/animation_playback.h"
#include "engine/latin1.h"
#include "engine/mechanics.h"
#include "platform/text_file.h"

namespace morv {

namespace {

// The count of ticks to run: any number of them, the console's timer having no end.
const TOptionShape TicksOption{"--ticks", {{0, std::numeric_limits<int32_t>::max()}}};

int32_t TickCount(const TCommandLine& line) {
  const TGivenOption* ticks = LastGiven(line, TicksOption.Name);
  if (ticks == nullptr) throw UsageError("--ticks N is required");
  return ticks->Numbers[0];
}

// Every number the option was given with, all its groups in order.
std::vector<int32_t> AllNumbers(const TCommandLine& line, std::string_view name) {
  std::vector<int32_t> numbers;
  for (const TGivenOption& option : line.Options) {
    if (option.Name == name) {
      numbers.insert(numbers.end(), option.Numbers.begin(), option.Numbers.end());
    }
  }
  return numbers;
}

std::string Shortest(double value) {
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

void PrintJointPositions(const TMorvObject& model, std::ostream& out) {
  for (int32_t j = 1; j <= model.JointCount; ++j) {
    const TControlVertex& p = model.Joints[j].Position;
    out << "Joint " << j << ": " << p.X << ' ' << p.Y << ' ' << p.Z << '\n';
  }
}

void PrintJointMotion(const TMorvObject& model, std::ostream& out) {
  for (int32_t j = 1; j <= model.JointCount; ++j) {
    const TJoint& joint = model.Joints[j];
    const TControlVertex& p = joint.Position;
    const TVelocity3D& v = joint.Velocity;
    const TVelocity3D& a = joint.Acceleration;
    out << "Joint " << j << ": position " << p.X << ' ' << p.Y << ' ' << p.Z << " velocity "
        << Shortest(v.X) << ' ' << Shortest(v.Y) << ' ' << Shortest(v.Z) << " acceleration "
        << Shortest(a.X) << ' ' << Shortest(a.Y) << ' ' << Shortest(a.Z) << '\n';
  }
}

// The reason Play gave, for the set file's message: the console's text without its full stop,
// and for a number past the set's end how many animations it does hold.
std::string RefusalReason(PlayOutcome outcome, const TAnimationList& set, int32_t k) {
  if (outcome == PlayOutcome::NoSuchAnimation) {
    return "There is no animation " + std::to_string(k) + " to play: the set holds " +
           CountOf(set.Count, "animation", "animations");
  }
  std::string text = PlayRefusalText(outcome, set, k);
  if (text.ends_with('.')) text.pop_back();
  return text;
}

TAnimationList LoadAnimationFile(const std::string& path) {
  TAnimationList set;
  const TextLines lines = ReadTextLines(PathArgument(path));
  ForFile(path, [&] { LoadAnimations(lines, set); });
  return set;
}

}  // namespace

int Animate(const std::vector<std::string>& args, std::ostream& out) {
  static const TOptionShape Options[] = {TicksOption,
                                         {"--play", {{1, MaxAnimations}}, false, true}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files =
      CommandFiles(line, "animate", "MODEL.MVD SET.MVA OUT.MVD");
  const int32_t tickCount = TickCount(line);
  const std::vector<int32_t> plays = AllNumbers(line, "--play");

  TMorvObject model = LoadModelFile(files[0]);
  const std::string& setFile = files[1];
  TAnimationList set = LoadAnimationFile(setFile);
  // The set's joints are numbers into the model it was made for; in another model they move
  // whatever joints happen to have those numbers.
  if (set.ModelName != model.Name) {
    throw CommandError(setFile + ": This animation file is designed for [" +
                       Latin1ToUtf8(set.ModelName) + "], not for [" + Latin1ToUtf8(model.Name) +
                       "]");
  }
  for (const int32_t k : plays) {
    const PlayOutcome outcome = PlayAnimation(model, set, k);
    if (outcome != PlayOutcome::Started) {
      throw CommandError(setFile + ": " + RefusalReason(outcome, set, k));
    }
  }
  for (int32_t t = 0; t < tickCount; ++t) AnimationStep(model, set);
  SaveModelFile(model, files[2]);
  out << "Playing: " << PlayingList(set) << '\n';
  PrintJointPositions(model, out);
  return 0;
}

int Physics(const std::vector<std::string>& args, std::ostream& out) {
  constexpr TNumberRange AnyForce;
  // The console's track bars hold 1..10 and -12..12.
  static const TOptionShape Options[] = {
      TicksOption,
      {"--force", {{1, MaxJoints}, AnyForce, AnyForce, AnyForce}, false, true},
      {"--g", {{1, 10}, {-12, 12}}}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "physics", "MODEL.MVD OUT.MVD");
  const int32_t tickCount = TickCount(line);
  const std::vector<int32_t> forces = AllNumbers(line, "--force");
  double g = StartingGravitationalConstant();
  if (const TGivenOption* given = LastGiven(line, "--g")) {
    g = GravitationalConstantFrom(given->Numbers[0], given->Numbers[1]);
  }

  TMorvObject model = LoadModelFile(files[0]);
  GravitationalConstant = g;
  for (std::size_t f = 0; f < forces.size(); f += 4) {
    const int32_t j = forces[f];
    if (!JointInModel(model, j)) {
      throw CommandError(files[0] + ": There is no joint " + std::to_string(j) +
                         " to apply a force to: the model has " +
                         CountOf(model.JointCount, "joint", "joints"));
    }
    ApplyForce(model, j, {double(forces[f + 1]), double(forces[f + 2]), double(forces[f + 3])});
  }
  for (int32_t t = 0; t < tickCount; ++t) PhysicsStep(model);
  SaveModelFile(model, files[1]);
  PrintJointMotion(model, out);
  return 0;
}

}  // namespace morv
