// A model built and changed element by element from a script.
#include "operations/model_building.h"

#include <limits>

#include "engine/latin1.h"
#include "engine/model_file.h"
#include "operations/operation_errors.h"

namespace morv {

namespace {

std::string Range(int64_t low, int64_t high) {
  return std::to_string(low) + ".." + std::to_string(high);
}

int64_t InRange(const char* what, int64_t value, int64_t low, int64_t high) {
  if (value < low || value > high) {
    throw RequestError(std::string(what) + " " + std::to_string(value) + " is outside " +
                       Range(low, high));
  }
  return value;
}

int32_t Coordinate(int64_t value) {
  return static_cast<int32_t>(InRange("The coordinate", value, std::numeric_limits<int32_t>::min(),
                                      std::numeric_limits<int32_t>::max()));
}

void CheckRoom(int32_t count, int32_t capacity, const char* many) {
  if (count >= capacity) {
    throw RequestError("The model already holds " + std::to_string(capacity) + " " + many +
                       ", as many as it can");
  }
}

int32_t VertexNumber(const TMorvObject& model, int64_t control) {
  if (control < 1 || control > model.ControlCount) {
    throw RequestError("There is no control vertex " + std::to_string(control) +
                       ": the model has " + std::to_string(model.ControlCount));
  }
  return static_cast<int32_t>(control);
}

std::string ModelText(const char* what, const std::string& utf8) {
  std::string latin1 = Utf8ToLatin1(utf8);
  // Utf8ToLatin1 turns what Latin-1 lacks into '?': a text that comes back different lost some.
  if (Latin1ToUtf8(latin1) != utf8) {
    throw RequestError(std::string("The ") + what + " holds characters beyond ISO 8859-1");
  }
  if (!TextFitsModelFile(latin1)) {
    throw RequestError(std::string("The ") + what + " holds a line break or a NUL character");
  }
  return latin1;
}

}  // namespace

TMorvObject StartingModel() {
  TMorvObject model;
  model.Name = "MyObject";
  return model;
}

int32_t AddControl(TMorvObject& model, int64_t x, int64_t y, int64_t z) {
  CheckRoom(model.ControlCount, MaxControls, "control vertices");
  const TControlVertex vertex{Coordinate(x), Coordinate(y), Coordinate(z)};
  model.Controls[++model.ControlCount] = vertex;
  return model.ControlCount;
}

int32_t AddPatch(TMorvObject& model, std::span<const int64_t> controls, int64_t colour) {
  CheckRoom(model.PatchCount, MaxPatches, "patches");
  if (controls.size() != 8) {
    throw RequestError("A patch takes 8 control vertices, not " + std::to_string(controls.size()));
  }
  TBezierPatch patch;
  for (std::size_t k = 0; k < 8; ++k) {
    patch.ControlIndex[static_cast<int32_t>(k) + 1] = VertexNumber(model, controls[k]);
  }
  patch.Colour = static_cast<int32_t>(InRange("The colour", colour, 0, 0xFFFFFF));
  model.Patches[++model.PatchCount] = patch;
  return model.PatchCount;
}

int32_t AddJoint(TMorvObject& model, std::span<const int64_t, 3> position, int64_t mass,
                 std::span<const int64_t> controls) {
  CheckRoom(model.JointCount, MaxJoints, "joints");
  if (controls.size() > static_cast<std::size_t>(MaxJointRefs)) {
    throw RequestError("A joint carries at most " + std::to_string(MaxJointRefs) +
                       " control vertices, not " + std::to_string(controls.size()));
  }
  TJoint joint;
  joint.Position = {Coordinate(position[0]), Coordinate(position[1]), Coordinate(position[2])};
  joint.Mass = static_cast<int32_t>(InRange("The mass", mass, 1, 1000));
  for (const int64_t control : controls) {
    joint.ControlRefs[++joint.RefCount] = VertexNumber(model, control);
  }
  model.Joints[++model.JointCount] = joint;
  return model.JointCount;
}

void DeleteLastControl(TMorvObject& model) {
  if (model.ControlCount == 0) throw RequestError("The model has no control vertex to delete");
  --model.ControlCount;
}

void DeleteLastPatch(TMorvObject& model) {
  if (model.PatchCount == 0) throw RequestError("The model has no patch to delete");
  --model.PatchCount;
}

void DeleteLastJoint(TMorvObject& model) {
  if (model.JointCount == 0) throw RequestError("The model has no joint to delete");
  --model.JointCount;
}

void MoveJointTo(TMorvObject& model, int64_t joint, std::span<const int64_t, 3> position) {
  if (joint < 1 || joint > model.JointCount) {
    throw RequestError("There is no joint " + std::to_string(joint) + ": the model has " +
                       std::to_string(model.JointCount));
  }
  MoveJoint(model, static_cast<int32_t>(joint), Coordinate(position[0]), Coordinate(position[1]),
            Coordinate(position[2]));
}

void SetModelName(TMorvObject& model, const std::string& utf8) {
  model.Name = ModelText("name", utf8);
}

void SetModelOwner(TMorvObject& model, const std::string& utf8) {
  model.Owner = ModelText("owner", utf8);
}

void SetModelPassword(TMorvObject& model, const std::string& utf8) {
  std::string password = ModelText("password", utf8);
  if (!PasswordFitsModelFile(password)) {
    throw RequestError("A model file cannot carry this password");
  }
  model.Password = std::move(password);
}

int32_t ColourOf(int64_t red, int64_t green, int64_t blue) {
  return static_cast<int32_t>(InRange("The red", red, 0, 255) |
                              InRange("The green", green, 0, 255) << 8 |
                              InRange("The blue", blue, 0, 255) << 16);
}

std::array<int32_t, 3> ColourBytes(int64_t colour) {
  const auto c = static_cast<int32_t>(InRange("The colour", colour, 0, 0xFFFFFF));
  return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
}

}  // namespace morv
