// The MVD4 model file: one value per line, the password scrambled with a fixed key.
#include "engine/model_file.h"

#include "engine/crypt.h"
#include "engine/errors.h"
#include "engine/integer_text.h"
#include "engine/line_reader.h"

namespace morv {

namespace {

const std::string EmptyPasswordLine = " ";

void ReadVertex(const LineReader& in, std::size_t n, TControlVertex& v) {
  v.X = in.Integer(n);
  v.Y = in.Integer(n + 1);
  v.Z = in.Integer(n + 2);
}

void AppendVertex(TextLines& lines, const TControlVertex& v) {
  lines.push_back(IntToStr(v.X));
  lines.push_back(IntToStr(v.Y));
  lines.push_back(IntToStr(v.Z));
}

}  // namespace

bool PasswordFitsModelFile(const std::string& password) {
  const std::string scrambled = ScrambleText(PasswordKey, password);
  return scrambled != EmptyPasswordLine && TextFitsModelFile(scrambled);
}

bool TextFitsModelFile(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

void SaveModel(const TMorvObject& model, TextLines& lines) {
  if (!TextFitsModelFile(model.Name)) {
    throw FormatError(
        "The model name holds a line break or NUL character, which a model file cannot store; "
        "choose another name");
  }
  if (!PasswordFitsModelFile(model.Password)) {
    throw FormatError(
        "The password holds a character that a model file cannot store; choose another password");
  }
  if (!TextFitsModelFile(model.Owner)) {
    throw FormatError(
        "The owner holds a line break or NUL character, which a model file cannot store; choose "
        "another owner");
  }
  TextLines out;
  out.reserve(7 + 3 * static_cast<std::size_t>(model.ControlCount) +
              9 * static_cast<std::size_t>(model.PatchCount) +
              105 * static_cast<std::size_t>(model.JointCount));
  out.push_back(model.Name);
  const std::string scrambled = ScrambleText(PasswordKey, model.Password);
  out.push_back(scrambled.empty() ? EmptyPasswordLine : scrambled);
  out.push_back(model.Locked ? "1" : "0");
  out.push_back(model.Owner + " ");
  out.push_back(IntToStr(model.ControlCount));
  out.push_back(IntToStr(model.PatchCount));
  out.push_back(IntToStr(model.JointCount));
  for (int32_t i = 1; i <= model.ControlCount; ++i) AppendVertex(out, model.Controls[i]);
  for (int32_t i = 1; i <= model.PatchCount; ++i) {
    const TBezierPatch& p = model.Patches[i];
    for (int32_t k = 1; k <= PatchControlCount; ++k) out.push_back(IntToStr(p.ControlIndex[k]));
    out.push_back(IntToStr(p.Colour));
  }
  for (int32_t i = 1; i <= model.JointCount; ++i) {
    const TJoint& j = model.Joints[i];
    AppendVertex(out, j.Position);
    out.push_back(IntToStr(j.Mass));
    out.push_back(IntToStr(j.RefCount));
    for (int32_t k = 1; k <= j.RefCount; ++k) out.push_back(IntToStr(j.ControlRefs[k]));
  }
  lines = std::move(out);
}

void LoadModel(const TextLines& lines, TMorvObject& model) {
  const LineReader in(lines);
  TMorvObject staged = model;
  staged.Name = in.Text(0);
  staged.Password =
      in.Text(1) == EmptyPasswordLine ? std::string() : UnscrambleText(PasswordKey, in.Text(1));
  staged.Locked = in.Text(2) == "1";
  staged.Owner = in.Text(3);
  staged.ControlCount = in.Count(4, MaxControls, "control vertices");
  staged.PatchCount = in.Count(5, MaxPatches, "Bézier patches");
  staged.JointCount = in.Count(6, MaxJoints, "joints");

  std::size_t n = 7;
  for (int32_t i = 1; i <= staged.ControlCount; ++i, n += 3) {
    ReadVertex(in, n, staged.Controls[i]);
  }
  for (int32_t i = 1; i <= staged.PatchCount; ++i) {
    TBezierPatch& p = staged.Patches[i];
    for (int32_t k = 1; k <= PatchControlCount; ++k) p.ControlIndex[k] = in.Integer(n++);
    p.Colour = in.Integer(n++);
  }
  for (int32_t i = 1; i <= staged.JointCount; ++i) {
    TJoint& j = staged.Joints[i];
    ReadVertex(in, n, j.Position);
    j.Mass = in.Integer(n + 3);
    if (j.Mass == 0) j.Mass = 1;
    j.RefCount = in.Count(n + 4, MaxJointRefs, "joint references");
    n += 5;
    for (int32_t k = 1; k <= j.RefCount; ++k) j.ControlRefs[k] = in.Integer(n++);
  }
  model = std::move(staged);
}

}  // namespace morv
