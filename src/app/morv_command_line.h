// The command line of morv, the modeller.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace morv {

inline constexpr const char* MorvUsage =
    "Usage: morv [MODEL.MVD]\n"
    "Starts the modeller, with MODEL.MVD loaded when one is named.\n"
    "  --help       print this help and exit\n"
    "  --version    print the version and exit\n"
    "  --           take what follows as the file name, even if it begins with '-'\n"
    "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken by Qt.\n";

// A command line the modeller cannot start with: reported with the usage text and exit code 2.
class MorvUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TEarlyRequest { Start, Help, Version };

// `args` without the program's name. Help and version are answered before Qt starts, so that
// both work where no display can be opened.
TEarlyRequest EarlyRequest(const std::vector<std::string>& args);

// `args` without the program's name, after Qt has taken its own options out: the model file to
// load, its bytes kept whatever they are, empty when none is named. Throws MorvUsageError for an
// option it does not know and for more than one file.
QString ModelFileArgument(const std::vector<std::string>& args);

}  // namespace morv
