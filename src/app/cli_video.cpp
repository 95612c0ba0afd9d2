// The morv-cli turntable command and what the commands that make videos share.
#include "app/cli_video.h"

#include <QImage>
#include <algorithm>

#include "app/cli_render.h"
#include "operations/model_files.h"

namespace morv {

TPictureRequest GivenPicture(const TCommandLine& line) {
  TPictureRequest picture;
  picture.Angles = GivenAngles(line);
  if (const TGivenOption* size = LastGiven(line, SizeOption.Name)) {
    picture.Width = size->Numbers[0];
    picture.Height = size->Numbers[1];
  }
  if (const TGivenOption* samples = LastGiven(line, SamplesOption.Name)) {
    picture.Samples = samples->Numbers[0];
  }
  return picture;
}

int32_t GivenFps(const TCommandLine& line, int32_t fallback) {
  const TGivenOption* fps = LastGiven(line, FpsOption.Name);
  return fps == nullptr ? fallback : fps->Numbers[0];
}

void RequireVideoName(const std::string& file, const TPictureRequest& picture) {
  const std::optional<TVideoFormat> format = VideoFormatOf(file);
  if (!format) throw UsageError("the video file must end in .mp4, .webm or .gif (in any case)");
  if (const std::optional<std::string> refusal =
          VideoSizeRefusal(*format, picture.Width, picture.Height)) {
    throw UsageError(*refusal);
  }
}

TFrameProgress::~TFrameProgress() {
  if (shown_) *stream_ << '\n' << std::flush;
}

void TFrameProgress::Show(int64_t done) {
  if (stream_ == nullptr) return;
  constexpr int64_t BarWidth = 30;
  const int64_t filled = total_ > 0 ? BarWidth * done / total_ : BarWidth;
  *stream_ << "\rframe " << done << '/' << total_ << " ["
           << std::string(static_cast<std::size_t>(filled), '#')
           << std::string(static_cast<std::size_t>(BarWidth - filled), ' ') << ']' << std::flush;
  shown_ = true;
}

TCommandVideo::TCommandVideo(const std::string& file, const TPictureRequest& picture, int32_t fps,
                             int64_t frames, std::ostream* progress)
    : picture_(picture),
      writer_(file, picture.Width, picture.Height, fps),
      progress_(progress, frames) {}

void TCommandVideo::Add(const TMorvObject& model, const TPictureRequest& picture) {
  writer_.AddFrame(RenderPicture(model, picture));
  progress_.Show(writer_.Frames());
}

int Turntable(const std::vector<std::string>& args, std::ostream* progress) {
  static const TOptionShape Options[] = {
      AnglesOption,        SizeOption, SamplesOption, FpsOption, {"--frames", {{1, 3600}}},
      {"--axis", {}, true}};
  const TCommandLine line = ReadCommandLine(args, Options);
  const std::vector<std::string>& files =
      CommandFiles(line, "turntable", "MODEL.MVD OUT.mp4|OUT.webm|OUT.gif");
  const TPictureRequest picture = GivenPicture(line);
  RequireVideoName(files[1], picture);
  const TGivenOption* frameCount = LastGiven(line, "--frames");
  const int32_t frames = frameCount == nullptr ? 72 : frameCount->Numbers[0];
  int32_t axis = 1;
  if (const TGivenOption* given = LastGiven(line, "--axis")) {
    static const std::string Axes[] = {"x", "y", "z"};
    const auto found = std::ranges::find(Axes, given->Text);
    if (found == std::end(Axes)) {
      throw UsageError("--axis takes x, y or z, not " + given->Text);
    }
    axis = static_cast<int32_t>(found - std::begin(Axes));
  }

  const TMorvObject model = LoadModelFile(files[0]);
  TCommandVideo video(files[1], picture, GivenFps(line, 24), frames, progress);
  for (int32_t k = 0; k < frames; ++k) {
    TPictureRequest turned = picture;
    turned.Angles = TurntableAngles(picture.Angles, axis, frames, k);
    video.Add(model, turned);
  }
  video.Publish();
  return 0;
}

}  // namespace morv
