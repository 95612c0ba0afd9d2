// What the morv-cli commands share: usage errors, arguments read as numbers and paths, model files.
#include "app/cli_arguments.h"

#include "engine/integer_text.h"
#include "engine/model_file.h"
#include "platform/text_file.h"

namespace morv {

QString PathArgument(const std::string& arg) { return QString::fromLocal8Bit(arg.c_str()); }

int32_t IntegerArgument(const std::vector<std::string>& args, std::size_t index) {
  if (index >= args.size()) throw UsageError("missing value after " + args[index - 1]);
  try {
    return StrToInt(args[index]);
  } catch (const std::exception&) {
    throw UsageError("'" + args[index] + "' is not a whole number");
  }
}

TMorvObject LoadModelFile(const std::string& path) {
  TMorvObject model;
  LoadModel(ReadTextLines(PathArgument(path)), model);
  return model;
}

void SaveModelFile(const TMorvObject& model, const std::string& path) {
  TextLines lines;
  SaveModel(model, lines);
  WriteTextLines(PathArgument(path), lines);
}

}  // namespace morv
