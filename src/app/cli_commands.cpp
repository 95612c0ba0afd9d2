// The subcommands of morv-cli.
#include "app/cli_commands.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <exception>

#include "app/cli_arguments.h"
#include "app/cli_export.h"
#include "app/cli_import.h"
#include "app/cli_motion.h"
#include "app/cli_print.h"
#include "app/cli_render.h"
#include "app/cli_video.h"
#include "app/version.h"
#include "engine/latin1.h"
#include "engine/model.h"
#include "engine/renderer.h"
#include "operations/model_files.h"
#include "platform/qimage_canvas.h"

namespace morv {

namespace {

// The usage text around the export formats, which come from their table.
constexpr const char* UsageHead =
    "Usage: morv-cli COMMAND ...\n"
    "       morv-cli --help | --version\n"
    "Commands:\n"
    "  check MODEL.MVD          print the model's name, owner, lock and element counts\n"
    "  resave IN.MVD OUT.MVD    load a model and save it again\n"
    "  render MODEL.MVD OUT.BMP|OUT.png [--angles X Y Z] [--light X Y Z]\n"
    "                           [--background COLOUR] [--size W H] [--samples N] [--threads]\n"
    "                           render the model as the 3D view shows it (angles 0..360,\n"
    "                           default 0 0 0; light default 200 0 -70; background a colour\n"
    "                           0..16777215 with red in the lowest byte, default 32768) into\n"
    "                           a 24-bit picture, a bitmap for .bmp and a PNG for .png; W x H\n"
    "                           1..8192 each (default the view's 360 x 360), N x N samples a\n"
    "                           pixel, N 1..8 (default 1). The view's own picture prints its\n"
    "                           points and polygons; --threads draws only that one\n"
    "  turntable MODEL.MVD OUT.mp4|OUT.webm|OUT.gif [--frames N] [--axis x|y|z]\n"
    "                           [--angles X Y Z] [--size W H] [--samples N] [--fps F]\n"
    "                           a video of one whole turn of the model in N frames (1..3600,\n"
    "                           default 72) about the axis (default y), from the angles\n"
    "                           (default 0 0 0); frame k turns 360 x k / N whole degrees;\n"
    "                           F frames a second (1..100, default 24); size and samples as\n"
    "                           for render, even W and H for .mp4\n"
    "  animate MODEL.MVD SET.MVA OUT.MVD --ticks N [--play K ...]\n"
    "                           play animations K (1..100) of the set (as the console's\n"
    "                           Play), run N ticks (0 or more) of playback, save the model\n"
    "                           and print the joints; the set's first line must be the\n"
    "                           model's name, and every K an animation that can play\n"
    "                           [--video OUT [--size W H] [--samples N] [--angles X Y Z]\n"
    "                           [--fps F]]: also a video of a frame at the start and one\n"
    "                           after each tick, F a second (default 10, the console's\n"
    "                           ticks a second), rendered as turntable renders them\n"
    "  physics MODEL.MVD OUT.MVD --ticks N [--force J FX FY FZ ...] [--g MANTISSA POWER]\n"
    "                           apply each force once to joint J (1..1000, a joint of the\n"
    "                           model), run N ticks of the mechanics (G 6.67e-11, or\n"
    "                           MANTISSA x 10^POWER with MANTISSA 1..10 and POWER -12..12),\n"
    "                           save the model and print each joint's position, velocity\n"
    "                           and acceleration; --video and its options as for animate\n"
    "  print MODEL.MVD OUT.pdf [--png PREFIX] [--angles X Y Z]\n"
    "                           render the model as 'render' does (angles 0..360), then\n"
    "                           write the printed model sheet's three pages (planes X-Y,\n"
    "                           Y-Z, X-Z) as one PDF, and with --png also PREFIX1.png ..\n"
    "                           PREFIX3.png, all of them or none; OUT.pdf must end in .pdf\n";
constexpr const char* UsageTail =
    "Options may come before or after the files; after -- every argument is a file, even one\n"
    "that begins with '-'. A value outside its range, and an output file whose suffix the\n"
    "command cannot write, is a usage error. Suffixes compare in any case.\n"
    "Exit codes: 0 done; 1 the command could not be carried out: a file could not be read\n"
    "or written, the files hold no such animation or joint, or the set is for another model;\n"
    "2 usage error. A command that fails writes no file.\n"
    "Videos are H.264 (yuv420p) in MP4, VP9 in WebM or GIF with their own palette, by the\n"
    "suffix, encoded by the ffmpeg program (Debian package ffmpeg). On a terminal, commands\n"
    "that make videos show \"frame K/N\" on standard error as they go.\n";

std::string Usage() { return UsageHead + ExportUsage() + ImportUsage() + UsageTail; }

int Check(const std::vector<std::string>& args, std::ostream& out) {
  const TCommandLine line = ReadCommandLine(args, {});
  const TMorvObject model = LoadModelFile(CommandFiles(line, "check", "MODEL.MVD")[0]);
  out << "Name: " << Latin1ToUtf8(model.Name) << '\n'
      << "Owner: " << Latin1ToUtf8(model.Owner) << '\n'
      << "Locked: " << (model.Locked ? "yes" : "no") << '\n'
      << "Controls: " << model.ControlCount << '\n'
      << "Béziers: " << model.PatchCount << '\n'
      << "Joints: " << model.JointCount << '\n';
  return 0;
}

int Resave(const std::vector<std::string>& args) {
  const TCommandLine line = ReadCommandLine(args, {});
  const std::vector<std::string>& files = CommandFiles(line, "resave", "IN.MVD OUT.MVD");
  SaveModelFile(LoadModelFile(files[0]), files[1]);
  return 0;
}

int Render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  constexpr TNumberRange AnyNumber;
  // A colour's three bytes; the top byte of a Windows colour value is never a colour here.
  constexpr TNumberRange Colour{0, 0xFFFFFF};
  static const TOptionShape Options[] = {AnglesOption,
                                         {"--light", {AnyNumber, AnyNumber, AnyNumber}},
                                         {"--background", {Colour}},
                                         {"--threads", {}},
                                         SizeOption,
                                         SamplesOption};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "render", "MODEL.MVD OUT.BMP|OUT.png");
  const QString suffix = QFileInfo(FilePath(files[1])).suffix().toLower();
  if (suffix != "bmp" && suffix != "png") {
    throw UsageError("the output file must end in .bmp or .png (in any case)");
  }
  TViewRequest request;
  request.Angles = GivenAngles(line);
  for (const TGivenOption& option : line.Options) {
    if (option.Name == "--light") {
      request.Light = {option.Numbers[0], option.Numbers[1], option.Numbers[2]};
    } else if (option.Name == "--background") {
      request.Background = option.Numbers[0];
    } else if (option.Name == "--threads") {
      request.Threads = true;
    }
  }
  TPictureRequest picture = GivenPicture(line);
  picture.Light = request.Light;
  picture.Background = request.Background;
  const auto save = [&](const QImage& image) {
    if (suffix == "png") {
      SaveImage(image.convertToFormat(QImage::Format_RGB888), FilePath(files[1]), "PNG");
    } else {
      SaveBitmap24(image, FilePath(files[1]));
    }
  };

  // The view's own picture keeps the view's own path, its worker and its counts.
  const bool viewPicture = picture.Width == 360 && picture.Height == 360 && picture.Samples == 1;
  if (request.Threads && !viewPicture) {
    throw UsageError("--threads draws only the 360 x 360 picture at 1 sample");
  }

  const TMorvObject model = LoadModelFile(files[0]);
  if (viewPicture) {
    const std::optional<TRenderedScene> rendered = RenderHeadless(model, request, err);
    if (!rendered) return 1;
    save(rendered->Image);
    out << "Points: " << rendered->Points << " Polygons: " << rendered->Polygons << '\n';
    return 0;
  }
  const QImage image = RenderPicture(model, picture);
  // A light at the origin lights the model from the viewer, as the view's own picture says.
  if (picture.Light == TPoint3D{0, 0, 0}) err << "morv-cli: " << LightErrorText << '\n';
  save(image);
  return 0;
}

}  // namespace

bool NamesCommand(const std::vector<std::string>& args) {
  static const char* const Commands[] = {"check",   "resave", "render", "turntable", "animate",
                                         "physics", "print",  "export", "import"};
  return !args.empty() && std::ranges::find(Commands, args[0]) != std::end(Commands);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress) {
  const std::string command = args.empty() ? std::string() : args[0];
  std::ostream* const progressStream = progress ? &err : nullptr;
  try {
    if (command == "check") return Check(args, out);
    if (command == "resave") return Resave(args);
    if (command == "render") return Render(args, out, err);
    if (command == "turntable") return Turntable(args, progressStream);
    if (command == "animate") return Animate(args, out, progressStream);
    if (command == "physics") return Physics(args, out, progressStream);
    if (command == "print") return Print(args, out, err);
    if (command == "export") return Export(args, out);
    if (command == "import") return Import(args, out);
    if (command == "--help" || command == "help") {
      out << Usage();
      return 0;
    }
    if (command == "--version") {
      out << "morv-cli " << MorvVersion << '\n';
      return 0;
    }
    if (command.empty()) throw UsageError("no command given");
    if (command.starts_with('-')) throw UsageError("unknown option " + command);
    throw UsageError("unknown command " + command);
  } catch (const UsageError& error) {
    // The whole usage would bury the one line that says what is wrong.
    err << "morv-cli: " << error.what() << "\nTry 'morv-cli --help' for more information.\n";
    return 2;
  } catch (const std::exception& error) {
    err << "morv-cli: " << error.what() << ".\n";
    return 1;
  }
}

}  // namespace morv
