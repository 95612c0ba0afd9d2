// Animation playback and the mechanics run headless.
#include "operations/motion.h"

#include <array>
#include <charconv>

#include "engine/animation_playback.h"
#include "engine/latin1.h"
#include "engine/mechanics.h"
#include "operations/model_files.h"
#include "operations/operation_errors.h"

namespace morv {

namespace {

std::string Shortest(double value) {
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

}  // namespace

std::string SetMismatch(const TAnimationList& set, const TMorvObject& model) {
  if (set.ModelName == model.Name) return {};
  return "This animation file is designed for [" + Latin1ToUtf8(set.ModelName) + "], not for [" +
         Latin1ToUtf8(model.Name) + "]";
}

std::string StartAnimation(TMorvObject& model, TAnimationList& set, int32_t k) {
  const PlayOutcome outcome = PlayAnimation(model, set, k);
  if (outcome == PlayOutcome::Started) return {};
  if (outcome == PlayOutcome::NoSuchAnimation) {
    return "There is no animation " + std::to_string(k) + " to play: the set holds " +
           CountOf(set.Count, "animation", "animations");
  }
  std::string text = PlayRefusalText(outcome, set, k);
  if (text.ends_with('.')) text.pop_back();
  return text;
}

std::string EndAnimation(TMorvObject& model, TAnimationList& set, int32_t k) {
  if (k < 1 || k > set.Count) {
    return "There is no animation " + std::to_string(k) + " to stop: the set holds " +
           CountOf(set.Count, "animation", "animations");
  }
  StopAnimation(model, set, k);
  return {};
}

void RunPlayback(TMorvObject& model, TAnimationList& set, int64_t ticks) {
  for (int64_t t = 0; t < ticks; ++t) AnimationStep(model, set);
}

std::string ApplyJointForce(TMorvObject& model, int32_t j, const TVelocity3D& force) {
  if (!JointInModel(model, j)) {
    return "There is no joint " + std::to_string(j) + " to apply a force to: the model has " +
           CountOf(model.JointCount, "joint", "joints");
  }
  ApplyForce(model, j, force);
  return {};
}

double GravitationalConstantOf(int32_t mantissa, int32_t power) {
  if (mantissa < 1 || mantissa > 10 || power < -12 || power > 12) {
    throw RequestError("G " + std::to_string(mantissa) + " x 10^" + std::to_string(power) +
                       " is outside the console's 1..10 x 10^-12..10^12");
  }
  return GravitationalConstantFrom(mantissa, power);
}

void RunMechanics(TMorvObject& model, double g, int64_t ticks) {
  // G is this run's own, so runs on other threads with another G do not disturb it.
  for (int64_t t = 0; t < ticks; ++t) PhysicsStep(model, g);
}

std::string JointPositionsText(const TMorvObject& model) {
  std::string text;
  for (int32_t j = 1; j <= model.JointCount; ++j) {
    const TControlVertex& p = model.Joints[j].Position;
    text += "Joint " + std::to_string(j) + ": " + std::to_string(p.X) + ' ' + std::to_string(p.Y) +
            ' ' + std::to_string(p.Z) + '\n';
  }
  return text;
}

std::string JointMotionText(const TMorvObject& model) {
  std::string text;
  for (int32_t j = 1; j <= model.JointCount; ++j) {
    const TJoint& joint = model.Joints[j];
    const TControlVertex& p = joint.Position;
    const TVelocity3D& v = joint.Velocity;
    const TVelocity3D& a = joint.Acceleration;
    text += "Joint " + std::to_string(j) + ": position " + std::to_string(p.X) + ' ' +
            std::to_string(p.Y) + ' ' + std::to_string(p.Z) + " velocity " + Shortest(v.X) + ' ' +
            Shortest(v.Y) + ' ' + Shortest(v.Z) + " acceleration " + Shortest(a.X) + ' ' +
            Shortest(a.Y) + ' ' + Shortest(a.Z) + '\n';
  }
  return text;
}

}  // namespace morv
