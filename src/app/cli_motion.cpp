// The morv-cli commands that move a model: animation playback and the mechanics.
#include "app/cli_motion.h"

#include <limits>

#include "app/cli_arguments.h"
#include "app/cli_render.h"
#include "app/cli_video.h"
#include "engine/animation_playback.h"
#include "engine/mechanics.h"
#include "operations/motion.h"

namespace morv {

namespace {

// The count of ticks to run: any number of them, the console's timer having no end.
const TOptionShape TicksOption{"--ticks", {{0, std::numeric_limits<int32_t>::max()}}};

int32_t TickCount(const TCommandLine& line) {
  const TGivenOption* ticks = LastGiven(line, TicksOption.Name);
  if (ticks == nullptr) throw UsageError("--ticks N is required");
  return ticks->Numbers[0];
}

// Every number the option was given with, all its groups in order.
std::vector<int32_t> AllNumbers(const TCommandLine& line, std::string_view name) {
  std::vector<int32_t> numbers;
  for (const TGivenOption& option : line.Options) {
    if (option.Name == name) {
      numbers.insert(numbers.end(), option.Numbers.begin(), option.Numbers.end());
    }
  }
  return numbers;
}

// The video options of animate and physics, which render a frame at the start and one after each
// tick: as many frames a second as the console's timer runs ticks.
const TOptionShape VideoOptions[] = {VideoOption, SizeOption, SamplesOption, AnglesOption,
                                     FpsOption};
constexpr int32_t TicksPerSecond = 10;

// The video the command line asks for, checked before any work; nothing without --video, and
// UsageError for a picture option without it.
std::optional<std::string> GivenVideo(const TCommandLine& line) {
  const TGivenOption* video = LastGiven(line, VideoOption.Name);
  if (video == nullptr) {
    for (const TOptionShape& shape : VideoOptions) {
      if (LastGiven(line, shape.Name) != nullptr) {
        throw UsageError(std::string(shape.Name) + " is an option of --video");
      }
    }
    return std::nullopt;
  }
  RequireVideoName(video->Text, GivenPicture(line));
  return video->Text;
}

// Runs the ticks, one at a time when each needs its frame.
template <typename Tick>
void RunTicks(const TMorvObject& model, int32_t ticks, std::optional<TCommandVideo>& video,
              Tick tick) {
  if (!video) {
    tick(ticks);
    return;
  }
  video->Add(model);
  for (int32_t t = 0; t < ticks; ++t) {
    tick(1);
    video->Add(model);
  }
  video->Finish();
}

// A refusal of the operation, if there is one, as the command's error about the file.
void Refuse(const std::string& file, const std::string& reason) {
  if (!reason.empty()) throw CommandError(file + ": " + reason);
}

}  // namespace

int Animate(const std::vector<std::string>& args, std::ostream& out, std::ostream* progress) {
  static const TOptionShape Options[] = {
      TicksOption,     {"--play", {{1, MaxAnimations}}, false, true},
      VideoOptions[0], VideoOptions[1],
      VideoOptions[2], VideoOptions[3],
      VideoOptions[4]};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files =
      CommandFiles(line, "animate", "MODEL.MVD SET.MVA OUT.MVD");
  const int32_t tickCount = TickCount(line);
  const std::optional<std::string> videoFile = GivenVideo(line);
  const std::vector<int32_t> plays = AllNumbers(line, "--play");

  TMorvObject model = LoadModelFile(files[0]);
  const std::string& setFile = files[1];
  TAnimationList set = LoadAnimationFile(setFile);
  Refuse(setFile, SetMismatch(set, model));
  for (const int32_t k : plays) Refuse(setFile, StartAnimation(model, set, k));
  std::optional<TCommandVideo> video;
  if (videoFile) {
    video.emplace(*videoFile, GivenPicture(line), GivenFps(line, TicksPerSecond),
                  int64_t{tickCount} + 1, progress);
  }
  RunTicks(model, tickCount, video, [&](int32_t ticks) { RunPlayback(model, set, ticks); });
  // The model first: a command that fails writes no file, and the video is the last to fail.
  SaveModelFile(model, files[2]);
  if (video) video->Publish();
  out << "Playing: " << PlayingList(set) << '\n' << JointPositionsText(model);
  return 0;
}

int Physics(const std::vector<std::string>& args, std::ostream& out, std::ostream* progress) {
  constexpr TNumberRange AnyForce;
  // The console's track bars hold 1..10 and -12..12.
  static const TOptionShape Options[] = {
      TicksOption,
      {"--force", {{1, MaxJoints}, AnyForce, AnyForce, AnyForce}, false, true},
      {"--g", {{1, 10}, {-12, 12}}},
      VideoOptions[0],
      VideoOptions[1],
      VideoOptions[2],
      VideoOptions[3],
      VideoOptions[4]};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files = CommandFiles(line, "physics", "MODEL.MVD OUT.MVD");
  const int32_t tickCount = TickCount(line);
  const std::optional<std::string> videoFile = GivenVideo(line);
  const std::vector<int32_t> forces = AllNumbers(line, "--force");
  double g = StartingGravitationalConstant();
  if (const TGivenOption* given = LastGiven(line, "--g")) {
    g = GravitationalConstantOf(given->Numbers[0], given->Numbers[1]);
  }

  TMorvObject model = LoadModelFile(files[0]);
  for (std::size_t f = 0; f < forces.size(); f += 4) {
    Refuse(files[0],
           ApplyJointForce(model, forces[f],
                           {double(forces[f + 1]), double(forces[f + 2]), double(forces[f + 3])}));
  }
  std::optional<TCommandVideo> video;
  if (videoFile) {
    video.emplace(*videoFile, GivenPicture(line), GivenFps(line, TicksPerSecond),
                  int64_t{tickCount} + 1, progress);
  }
  RunTicks(model, tickCount, video, [&](int32_t ticks) { RunMechanics(model, g, ticks); });
  SaveModelFile(model, files[1]);
  if (video) video->Publish();
  out << JointMotionText(model);
  return 0;
}

}  // namespace morv
