// What the morv-cli commands that make pictures and videos share: the size, samples and frame rate
// options, progress on a terminal, and a video that renders each frame it is given.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "app/cli_arguments.h"
#include "engine/model.h"
#include "operations/picture_render.h"
#include "operations/video_writer.h"

namespace morv {

inline const TOptionShape SizeOption{"--size", {{1, MaxPictureSide}, {1, MaxPictureSide}}};
inline const TOptionShape SamplesOption{"--samples", {{1, MaxPictureSamples}}};
inline const TOptionShape FpsOption{"--fps", {{MinVideoFps, MaxVideoFps}}};
inline const TOptionShape VideoOption{"--video", {}, true};

// The picture the last --size, --samples and --angles ask for: 360 x 360, one sample and 0 0 0
// where they are not given.
TPictureRequest GivenPicture(const TCommandLine& line);

// The frame rate the last --fps gives, or `fallback`.
int32_t GivenFps(const TCommandLine& line, int32_t fallback);

// UsageError unless the name ends in .mp4, .webm or .gif and the format takes the size.
void RequireVideoName(const std::string& file, const TPictureRequest& picture);

// "frame 37/120" and a bar, rewritten in place on one line of a terminal; ended with a newline
// once done or dropped. Shows nothing without a stream.
class TFrameProgress {
 public:
  TFrameProgress(std::ostream* stream, int64_t total) : stream_(stream), total_(total) {}
  ~TFrameProgress();
  TFrameProgress(const TFrameProgress&) = delete;
  TFrameProgress& operator=(const TFrameProgress&) = delete;

  void Show(int64_t done);

 private:
  std::ostream* stream_;
  int64_t total_;
  bool shown_ = false;
};

// A video of a command: each frame the model rendered as the picture request asks, the progress
// shown after each.
class TCommandVideo {
 public:
  TCommandVideo(const std::string& file, const TPictureRequest& picture, int32_t fps,
                int64_t frames, std::ostream* progress);

  void Add(const TMorvObject& model) { Add(model, picture_); }
  void Add(const TMorvObject& model, const TPictureRequest& picture);
  // Waits for the encoder; the video stays unnamed until Publish.
  void Finish() { writer_.Finish(); }
  void Publish() { writer_.Publish(); }

 private:
  TPictureRequest picture_;
  TVideoWriter writer_;
  TFrameProgress progress_;
};

// turntable MODEL.MVD OUT.mp4|OUT.webm|OUT.gif [--frames N] [--axis x|y|z] [--angles X Y Z]
// [--size W H] [--samples N] [--fps F]
int Turntable(const std::vector<std::string>& args, std::ostream* progress);

}  // namespace morv
