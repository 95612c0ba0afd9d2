// The subcommands of morv-cli, a headless companion of the modeller for scripts and batch work.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// Runs one command line (without the program name); returns the exit code: 0 on success, 1 when
// the command failed, 2 for a usage error. With `progress`, commands that make videos show their
// frames on `err` as a line rewritten in place, as a terminal shows it.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress = false);

// Whether the command line names a command, which needs a Qt application for its pictures and
// fonts; help, the version and usage errors are answered without one.
bool NamesCommand(const std::vector<std::string>& args);

}  // namespace morv
