// Videos of rendered frames: MP4 (H.264), WebM (VP9) or GIF, encoded by the ffmpeg program.
#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "operations/operation_errors.h"

namespace morv {

// The encoder is missing or failed; the text says which, and how to mend it where it can.
class EncoderError : public CommandError {
 public:
  using CommandError::CommandError;
};

enum class TVideoFormat { Mp4, WebM, Gif };

// The format the file's suffix names (.mp4, .webm, .gif, in any case); nothing for another.
std::optional<TVideoFormat> VideoFormatOf(const std::string& file);

// The frame rates a video takes, frames a second.
inline constexpr int32_t MinVideoFps = 1;
inline constexpr int32_t MaxVideoFps = 100;

// The rotation of frame k of a turntable of `frames` frames about axis 0, 1 or 2 (x, y, z): the
// start angles with start + 360 * k / frames on that axis, in whole degrees wrapped into 0..359.
std::array<int32_t, 3> TurntableAngles(const std::array<int32_t, 3>& start, int32_t axis,
                                       int32_t frames, int32_t k);

// Why a video of that format and size cannot be made, or nothing: H.264 in yuv420p halves the
// colour resolution both ways and takes only even widths and heights.
std::optional<std::string> VideoSizeRefusal(TVideoFormat format, int32_t width, int32_t height);

// Feeds frames to ffmpeg (found on PATH) as raw RGB on its standard input. ffmpeg writes into a
// scratch folder of the writer's own; only Publish puts the video in the target's place, through
// the atomic writer, so a video that fails, or a writer dropped before Publish, leaves nothing.
class TVideoWriter {
 public:
  // RequestError for a suffix that names no video, a size or frame rate out of range;
  // EncoderError "ffmpeg is not installed: install the Debian package ffmpeg" when the program is
  // not on PATH; FileError "Cannot create file <name>: <reason>" for a folder or other non-file
  // at the name, or when the scratch folder cannot be made.
  TVideoWriter(const std::string& file, int32_t width, int32_t height, int32_t fps);
  ~TVideoWriter();
  TVideoWriter(const TVideoWriter&) = delete;
  TVideoWriter& operator=(const TVideoWriter&) = delete;

  // Appends a frame of the video's size (RequestError otherwise), in any format Qt converts.
  void AddFrame(const QImage& frame);
  // Appends a frame given as width * height * 3 bytes of RGB, rows top to bottom.
  void AddFrame(const uint8_t* rgb);

  // Ends the video and waits for ffmpeg; EncoderError "<file>: ffmpeg failed: <its last line>"
  // when it fails, and nothing of the video is left.
  void Finish();
  // Finishes the video and writes it to its name as every save does (a link's file, an old
  // file's permissions and owner kept); FileError when it cannot be written.
  void Publish();

  int32_t Frames() const { return frames_; }

 private:
  [[noreturn]] void Fail(const std::string& reason);
  void Discard();

  std::string file_;
  // ffmpeg's own file, in a scratch folder that goes with the writer.
  std::unique_ptr<QTemporaryDir> scratch_;
  QString staged_;
  int32_t width_;
  int32_t height_;
  int32_t frames_ = 0;
  bool finished_ = false;
  std::unique_ptr<QProcess> ffmpeg_;
};

}  // namespace morv
