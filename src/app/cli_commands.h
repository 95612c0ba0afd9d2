// The subcommands of morv-cli, a headless companion of the modeller for scripts and batch work.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// Runs one command line (without the program name); returns the exit code: 0 on success, 1 when
// the command failed, 2 for a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace morv
