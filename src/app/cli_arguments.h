// What the morv-cli commands share: usage errors and their command lines split into files and
// checked options.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "operations/model_files.h"
#include "operations/operation_errors.h"

namespace morv {

// A command line the command cannot run: reported in one line with a pointer to --help, exit
// code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole numbers one value of an option may take.
struct TNumberRange {
  int32_t Min = std::numeric_limits<int32_t>::min();
  int32_t Max = std::numeric_limits<int32_t>::max();
};

// An option a command takes, and what follows it: one whole number for each range, or with `Text`
// one word instead. An option that `Repeats` takes further groups of numbers for as long as whole
// numbers follow it, so both "--play 1 --play 3" and "--play 1 3" work.
struct TOptionShape {
  std::string_view Name;
  std::vector<TNumberRange> Numbers;
  bool Text = false;
  bool Repeats = false;
};

// One option as it was given, with its numbers (every group of a repeating one) or its word.
struct TGivenOption {
  std::string_view Name;
  std::vector<int32_t> Numbers;
  std::string Text;
};

struct TCommandLine {
  std::vector<std::string> Files;
  // In the order given; an option given twice is there twice.
  std::vector<TGivenOption> Options;
};

// Splits args (args[0] is the command's name) into the files and the options of the command whose
// options `shapes` lists. Options and files may come in any order; after "--" every argument is a
// file, so that a file whose name begins with '-' can still be named. Throws UsageError for any
// other argument that begins with '-' and is not one of the options, a missing value, a value that
// is no whole number and a number outside its range; each message names the argument, the last
// also the range.
TCommandLine ReadCommandLine(const std::vector<std::string>& args,
                             std::span<const TOptionShape> shapes);

// The option of that name given last, as a later one overrides an earlier; null when it was not
// given.
const TGivenOption* LastGiven(const TCommandLine& line, std::string_view name);

// The files of a command that takes exactly `names` (as the usage shows them, "IN.MVD OUT.MVD");
// UsageError "<command> takes <count> files: <names>" for any other number of them.
const std::vector<std::string>& CommandFiles(const TCommandLine& line, std::string_view command,
                                             std::string_view names);

// UsageError unless the file's name ends in '.' and `suffix`, compared without regard to case.
void RequireOutputSuffix(const std::string& file, std::string_view suffix);

}  // namespace morv
