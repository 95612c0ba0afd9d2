// morv-cli: the headless companion program.
#include <unistd.h>

#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "platform/fonts.h"
#include "platform/runtime_folder.h"

int main(int argc, char** argv) {
  // Help, the version and usage errors need no platform, and print nothing of Qt's.
  if (!morv::NamesCommand(std::vector<std::string>(argv + 1, argv + argc))) {
    return morv::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  }
  // Pictures can carry text, and text needs the fonts of a GUI application; the offscreen
  // platform gives one without a display, whatever the environment asks for.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  morv::ProvideRuntimeFolder();
  QGuiApplication app(argc, argv);
  morv::InstallFontSubstitutions();
  std::vector<std::string> args(argv + 1, argv + argc);
  // Progress is for a person watching; a script's stderr stays quiet on success.
  return morv::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
