// Model and animation-set files read and written whole, with the file's name in every error.
#include "operations/model_files.h"

#include "engine/animation_file.h"
#include "engine/errors.h"
#include "engine/model_file.h"
#include "operations/operation_errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

QString FilePath(const std::string& name) { return OnDisk(FileNameFromBytes(name)); }

void ForFile(const std::string& path, const std::function<void()>& step) {
  try {
    step();
  } catch (const ConversionError& error) {
    throw CommandError(path + ": " + error.what());
  } catch (const FormatError& error) {
    throw CommandError(path + ": " + error.what());
  }
}

std::string CountOf(int32_t count, const char* one, const char* many) {
  if (count == 0) return std::string("no ") + many;
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

TMorvObject LoadModelFile(const std::string& path) {
  TMorvObject model;
  const TextLines lines = ReadTextLines(FilePath(path));
  ForFile(path, [&] { LoadModel(lines, model); });
  return model;
}

void SaveModelFile(const TMorvObject& model, const std::string& path) {
  TextLines lines;
  // A model that the file cannot hold, such as a name with a NUL character in it.
  ForFile(path, [&] { SaveModel(model, lines); });
  WriteTextLines(FilePath(path), lines);
}

TAnimationList LoadAnimationFile(const std::string& path) {
  TAnimationList set;
  const TextLines lines = ReadTextLines(FilePath(path));
  ForFile(path, [&] { LoadAnimations(lines, set); });
  return set;
}

void SaveAnimationFile(const TAnimationList& set, const std::string& path) {
  TextLines lines;
  ForFile(path, [&] { SaveAnimations(set, lines); });
  WriteTextLines(FilePath(path), lines);
}

}  // namespace morv
