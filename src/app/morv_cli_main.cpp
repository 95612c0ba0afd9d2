// morv-cli: the headless companion program.
#include <QCoreApplication>
#include <iostream>

#include "app/cli_commands.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  return morv::RunCli(args, std::cout, std::cerr);
}
