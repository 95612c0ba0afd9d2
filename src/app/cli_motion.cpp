// The morv-cli commands that move a model: animation playback and the mechanics.
#include "app/cli_motion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "app/cli_arguments.h"
#include "engine/animation_file.h"
#include "engine/animation_playback.h"
#include "engine/mechanics.h"
#include "platform/text_file.h"

namespace morv {

namespace {

bool IsOption(const std::string& arg) { return arg.size() > 2 && arg.compare(0, 2, "--") == 0; }

// The values after an option: one group of `size` integers, then more groups up to the next
// option, so both "--play 1 --play 3" and "--play 1 3" work.
std::vector<int32_t> OptionValues(const std::vector<std::string>& args, std::size_t& i,
                                  std::size_t size) {
  std::vector<int32_t> values;
  const std::size_t option = i;
  do {
    for (std::size_t k = 0; k < size; ++k) {
      if (i + 1 >= args.size() || IsOption(args[i + 1])) {
        throw UsageError(args[option] + " needs " + std::to_string(size) +
                         (size == 1 ? " value" : " values"));
      }
      values.push_back(IntegerArgument(args, ++i));
    }
  } while (i + 1 < args.size() && !IsOption(args[i + 1]));
  return values;
}

int32_t TickCount(const std::optional<int32_t>& ticks) {
  if (!ticks) throw UsageError("--ticks N is required");
  if (*ticks < 0) throw UsageError("--ticks needs a count of 0 or more");
  return *ticks;
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

}  // namespace

int Animate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 4 || IsOption(args[1]) || IsOption(args[2]) || IsOption(args[3])) {
    throw UsageError("animate needs a model, an animation set and an output file");
  }
  std::optional<int32_t> ticks;
  std::vector<int32_t> plays;
  for (std::size_t i = 4; i < args.size(); ++i) {
    if (args[i] == "--ticks") {
      ticks = IntegerArgument(args, ++i);
    } else if (args[i] == "--play") {
      const std::vector<int32_t> more = OptionValues(args, i, 1);
      plays.insert(plays.end(), more.begin(), more.end());
    } else {
      throw UsageError("unknown option " + args[i]);
    }
  }
  const int32_t tickCount = TickCount(ticks);

  TMorvObject model = LoadModelFile(args[1]);
  TAnimationList set;
  LoadAnimations(ReadTextLines(PathArgument(args[2])), set);
  for (const int32_t k : plays) {
    const PlayOutcome outcome = PlayAnimation(model, set, k);
    if (outcome != PlayOutcome::Started) err << PlayRefusalText(outcome, set, k) << '\n';
  }
  for (int32_t t = 0; t < tickCount; ++t) AnimationStep(model, set);
  SaveModelFile(model, args[3]);
  out << "Playing: " << PlayingList(set) << '\n';
  PrintJointPositions(model, out);
  return 0;
}

int Physics(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 3 || IsOption(args[1]) || IsOption(args[2])) {
    throw UsageError("physics needs a model and an output file");
  }
  std::optional<int32_t> ticks;
  std::vector<int32_t> forces;
  double g = StartingGravitationalConstant();
  for (std::size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--ticks") {
      ticks = IntegerArgument(args, ++i);
    } else if (args[i] == "--force") {
      const std::vector<int32_t> more = OptionValues(args, i, 4);
      forces.insert(forces.end(), more.begin(), more.end());
    } else if (args[i] == "--g") {
      const int32_t mantissa = IntegerArgument(args, ++i);
      const int32_t power = IntegerArgument(args, ++i);
      // The console's track bars hold 1..10 and -12..12.
      g = GravitationalConstantFrom(std::clamp(mantissa, 1, 10), std::clamp(power, -12, 12));
    } else {
      throw UsageError("unknown option " + args[i]);
    }
  }
  const int32_t tickCount = TickCount(ticks);

  TMorvObject model = LoadModelFile(args[1]);
  GravitationalConstant = g;
  for (std::size_t f = 0; f < forces.size(); f += 4) {
    const int32_t j = forces[f];
    if (!JointInModel(model, j)) {
      err << "There is no joint " << j << " in the model; its force is not applied.\n";
      continue;
    }
    ApplyForce(model, j, {double(forces[f + 1]), double(forces[f + 2]), double(forces[f + 3])});
  }
  for (int32_t t = 0; t < tickCount; ++t) PhysicsStep(model);
  SaveModelFile(model, args[2]);
  PrintJointMotion(model, out);
  return 0;
}

}  // namespace morv
