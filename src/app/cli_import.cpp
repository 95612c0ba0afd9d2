// The morv-cli command that imports a bicubic Bézier patch set into a model.
#include "app/cli_import.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "app/cli_arguments.h"
#include "operations/bicubic_files.h"

namespace morv {

namespace {

// A scale is a positive finite number, such as 0.5.
double Scale(const std::string& text) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE ||
      !std::isfinite(value) || value <= 0) {
    throw UsageError("--scale: '" + text + "' is not a positive number");
  }
  return value;
}

}  // namespace

std::string ImportUsage() {
  return "  import IN.bpt OUT.MVD [--bands K] [--scale S] [--offset X Y Z] [--flip]\n"
         "         [--both-sides] [--colour COLOUR] [--colour-per-patch]\n"
         "                           import a set of bicubic Bezier patches (degrees 1..3 each\n"
         "                           way) as bands between cubic curves lying on the surface:\n"
         "                           K bands a patch (1..1000), or as many as the model holds\n"
         "                           where the surface bends most; centred and scaled to a\n"
         "                           half-extent of 90, or S x source + offset; --flip shows\n"
         "                           the other side, --both-sides both; one colour (default\n"
         "                           13158600, a light grey) or one a source patch; prints the\n"
         "                           counts and the largest deviation in model units\n";
}

int Import(const std::vector<std::string>& args, std::ostream& out) {
  constexpr TNumberRange AnyNumber;
  static const TOptionShape Options[] = {{"--bands", {{1, MaxPatches}}},
                                         {"--scale", {}, true},
                                         {"--offset", {AnyNumber, AnyNumber, AnyNumber}},
                                         {"--flip", {}},
                                         {"--both-sides", {}},
                                         {"--colour", {{0, 0xFFFFFF}}},
                                         {"--colour-per-patch", {}}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "import", "IN.bpt OUT.MVD");
  RequireOutputSuffix(files[1], "mvd");
  TBicubicOptions options;
  for (const TGivenOption& option : line.Options) {
    if (option.Name == "--bands") options.Bands = option.Numbers[0];
    if (option.Name == "--scale") options.Scale = Scale(option.Text);
    if (option.Name == "--offset") {
      options.Offset = {double(option.Numbers[0]), double(option.Numbers[1]),
                        double(option.Numbers[2])};
    }
    if (option.Name == "--flip") options.Flip = true;
    if (option.Name == "--both-sides") options.BothSides = true;
    if (option.Name == "--colour") options.Colour = option.Numbers[0];
    if (option.Name == "--colour-per-patch") options.ColourPerPatch = true;
  }
  const TBicubicImport imported = ImportBicubicFile(files[0], options);
  SaveModelFile(imported.Model, files[1]);
  out << ImportSummary(imported) << '\n';
  return 0;
}

}  // namespace morv
