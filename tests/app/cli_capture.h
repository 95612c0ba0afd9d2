// Running a morv-cli command line in the test process and keeping what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/cli_commands.h"

namespace morv::test {

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

inline CliResult RunCliCapture(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = RunCli(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace morv::test
