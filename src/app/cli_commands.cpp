// The subcommands of morv-cli.
#include "app/cli_commands.h"

#include <QString>
#include <algorithm>
#include <exception>

#include "app/cli_arguments.h"
#include "app/cli_export.h"
#include "app/cli_motion.h"
#include "app/cli_print.h"
#include "app/cli_render.h"
#include "app/version.h"
#include "engine/latin1.h"
#include "engine/model.h"
#include "engine/renderer.h"
#include "platform/qimage_canvas.h"

namespace morv {

namespace {

constexpr const char* Usage =
    "Usage: morv-cli COMMAND ...\n"
    "       morv-cli --help | --version\n"
    "Commands:\n"
    "  check MODEL.MVD          print the model's name, owner, lock and element counts\n"
    "  resave IN.MVD OUT.MVD    load a model and save it again\n"
    "  render MODEL.MVD OUT.BMP [--angles X Y Z] [--light X Y Z] [--background COLOUR]\n"
    "                           [--threads]\n"
    "                           render the model as the 3D view shows it (angles 0..360,\n"
    "                           default 0 0 0; light default 200 0 -70; background a colour\n"
    "                           with red in the lowest byte, default 32768) into a 24-bit\n"
    "                           360 x 360 bitmap\n"
    "  animate MODEL.MVD SET.MVA OUT.MVD --ticks N [--play K ...]\n"
    "                           play animations K of the set (as the console's Play), run N\n"
    "                           ticks of playback, save the model and print the joints\n"
    "  physics MODEL.MVD OUT.MVD --ticks N [--force J FX FY FZ ...] [--g MANTISSA POWER]\n"
    "                           apply each force to joint J once, run N ticks of the\n"
    "                           mechanics (G 6.67e-11, or MANTISSA x 10^POWER with MANTISSA\n"
    "                           1..10 and POWER -12..12), save the model and print each\n"
    "                           joint's position, velocity and acceleration\n"
    "  print MODEL.MVD OUT.pdf [--png PREFIX] [--angles X Y Z]\n"
    "                           render the model as 'render' does, then write the printed\n"
    "                           model sheet's three pages (planes X-Y, Y-Z, X-Z) as one PDF,\n"
    "                           and with --png also PREFIX1.png .. PREFIX3.png\n"
    "  export MODEL.MVD OUT.obj|OUT.stl\n"
    "                           write the patches as the 3D view cuts them, in model\n"
    "                           coordinates: Wavefront OBJ (with OUT.mtl for the colours) or\n"
    "                           binary STL\n"
    "Exit codes: 0 done, 1 a file could not be read or written, 2 usage error.\n";

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
  SaveModelFile(LoadModelFile(in), outPath);
  return 0;
}

int Render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 3) throw UsageError("render needs a model and an output file");
  int32_t angles[3] = {0, 0, 0};
  TPoint3D light{200, 0, -70};
  int32_t background = 32768;
  bool threads = false;
  for (std::size_t i = 3; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--angles") {
      AnglesArgument(args, i, angles);
    } else if (option == "--light") {
      int32_t values[3];
      for (int k = 0; k < 3; ++k) values[k] = IntegerArgument(args, ++i);
      light = {values[0], values[1], values[2]};
    } else if (option == "--background") {
      background = IntegerArgument(args, ++i) & 0xFFFFFF;
    } else if (option == "--threads") {
      threads = true;
    } else {
      throw UsageError("unknown option " + option);
    }
  }

  const std::optional<QImage> picture =
      RenderHeadless(LoadModelFile(args[1]), angles, light, background, threads, err);
  if (!picture) return 1;
  SaveBitmap24(*picture, PathArgument(args[2]));
  out << "Points: " << PointCount << " Polygons: " << PolygonCount << '\n';
  return 0;
}

}  // namespace

bool NamesCommand(const std::vector<std::string>& args) {
  static const char* const Commands[] = {"check",   "resave", "render", "animate",
                                         "physics", "print",  "export"};
  return !args.empty() && std::ranges::find(Commands, args[0]) != std::end(Commands);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  try {
    if (command == "check" && args.size() == 2) return Check(args[1], out);
    if (command == "resave" && args.size() == 3) return Resave(args[1], args[2]);
    if (command == "render") return Render(args, out, err);
    if (command == "animate") return Animate(args, out, err);
    if (command == "physics") return Physics(args, out, err);
    if (command == "print") return Print(args, out, err);
    if (command == "export") return Export(args, out);
    if (command == "--help" || command == "help") {
      out << Usage;
      return 0;
    }
    if (command == "--version") {
      out << "morv-cli " << MorvVersion << '\n';
      return 0;
    }
  } catch (const UsageError& error) {
    err << "morv-cli: " << error.what() << "\n" << Usage;
    return 2;
  } catch (const std::exception& error) {
    err << error.what() << ".\n";
    return 1;
  }
  if (command.empty()) {
    err << "morv-cli: no command given\n";
  } else if (command == "check") {
    err << "morv-cli: check takes one file: MODEL.MVD\n";
  } else if (command == "resave") {
    err << "morv-cli: resave takes two files: IN.MVD OUT.MVD\n";
  } else if (command.starts_with('-')) {
    err << "morv-cli: unknown option " << command << '\n';
  } else {
    err << "morv-cli: unknown command " << command << '\n';
  }
  err << Usage;
  return 2;
}

}  // namespace morv
