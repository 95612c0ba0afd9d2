// The subcommands of morv-cli.
#include "app/cli_commands.h"

#include <QString>
#include <exception>

#include "engine/latin1.h"
#include "engine/model.h"
#include "engine/model_file.h"
#include "platform/text_file.h"

namespace morv {

namespace {

constexpr const char* Usage =
    "Usage: morv-cli COMMAND ...\n"
    "Commands:\n"
    "  check MODEL.MVD          print the model's name, owner, lock and element counts\n"
    "  resave IN.MVD OUT.MVD    load a model and save it again\n";

QString PathArgument(const std::string& arg) { return QString::fromLocal8Bit(arg.c_str()); }

TMorvObject LoadModelFile(const std::string& path) {
  TMorvObject model;
  LoadModel(ReadTextLines(PathArgument(path)), model);
  return model;
}

int Check(const std::string& path, std::ostream& out) {
  const TMorvObject model = LoadModelFile(path);
  out << "Name: " << Latin1ToUtf8(model.Name) << '\n'
      << "Owner: " << Latin1ToUtf8(model.Owner) << '\n'
      << "Locked: " << (model.Locked ? "yes" : "no") << '\n'
      << "Controls: " << model.ControlCount << '\n'
      << "Béziers: " << model.PatchCount << '\n'
      << "Joints: " << model.JointCount << '\n';
  return 0;
}

int Resave(const std::string& in, const std::string& outPath) {
  const TMorvObject model = LoadModelFile(in);
  TextLines lines;
  SaveModel(model, lines);
  WriteTextLines(PathArgument(outPath), lines);
  return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  try {
    if (command == "check" && args.size() == 2) return Check(args[1], out);
    if (command == "resave" && args.size() == 3) return Resave(args[1], args[2]);
    if (command == "--help" || command == "help") {
      out << Usage;
      return 0;
    }
  } catch (const std::exception& error) {
    err << error.what() << ".\n";
    return 1;
  }
  err << Usage;
  return 2;
}

}  // namespace morv
