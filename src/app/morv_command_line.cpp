// The command line of morv, the modeller.
#include "app/morv_command_line.h"

#include "platform/file_system.h"

namespace morv {

TEarlyRequest EarlyRequest(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help") return TEarlyRequest::Help;
    if (arg == "--version") return TEarlyRequest::Version;
  }
  return TEarlyRequest::Start;
}

QString ModelFileArgument(const std::vector<std::string>& args) {
  std::string file;
  bool fileGiven = false;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    // Qt has taken its own options by now, so one left here is a mistake, not a file name.
    if (!optionsEnded && arg.starts_with('-')) throw MorvUsageError("unknown option " + arg);
    if (fileGiven) throw MorvUsageError("only one model file can be opened");
    file = arg;
    fileGiven = true;
  }
  return FileNameFromBytes(file);
}

}  // namespace morv
