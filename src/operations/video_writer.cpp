// Videos of rendered frames, encoded by the ffmpeg program fed raw RGB frames on a pipe.
#include "operations/video_writer.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>

#include "engine/errors.h"
#include "operations/model_files.h"
#include "operations/operation_errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

namespace {

// ffmpeg's error output is kept only this far back: the last line is what the message needs.
constexpr std::size_t KeptErrorBytes = 4096;

std::string Lower(std::string text) {
  std::ranges::transform(text, text.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

FileError CannotCreate(const std::string& file, const std::string& reason) {
  return FileError("Cannot create file " + file + ": " + reason);
}

QStringList EncoderArguments(TVideoFormat format) {
  switch (format) {
    case TVideoFormat::Mp4:
      // yuv420p is what ordinary players and browsers play; the index goes first so that a
      // browser starts playing before the whole file has come.
      return {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-movflags", "+faststart", "-f", "mp4"};
    case TVideoFormat::WebM:
      return {"-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-crf", "32",
              "-b:v", "0",          "-row-mt",  "1",       "-f",   "webm"};
    case TVideoFormat::Gif:
      // A palette of the video's own colours rather than a fixed one, made in the same pass.
      return {"-vf", "split[a][b];[a]palettegen[p];[b][p]paletteuse", "-f", "gif"};
  }
  return {};
}

}  // namespace

std::optional<TVideoFormat> VideoFormatOf(const std::string& file) {
  const std::size_t dot = file.rfind('.');
  if (dot == std::string::npos || file.find('/', dot) != std::string::npos) return std::nullopt;
  const std::string suffix = Lower(file.substr(dot + 1));
  if (suffix == "mp4") return TVideoFormat::Mp4;
  if (suffix == "webm") return TVideoFormat::WebM;
  if (suffix == "gif") return TVideoFormat::Gif;
  return std::nullopt;
}

std::array<int32_t, 3> TurntableAngles(const std::array<int32_t, 3>& start, int32_t axis,
                                       int32_t frames, int32_t k) {
  std::array<int32_t, 3> angles = start;
  const int64_t turned = int64_t{360} * k / frames;
  angles[static_cast<std::size_t>(axis)] =
      static_cast<int32_t>((start[static_cast<std::size_t>(axis)] + turned) % 360);
  return angles;
}

std::optional<std::string> VideoSizeRefusal(TVideoFormat format, int32_t width, int32_t height) {
  if (format == TVideoFormat::Mp4 && (width % 2 != 0 || height % 2 != 0)) {
    return "an MP4 video's width and height must be even, not " + std::to_string(width) + " x " +
           std::to_string(height);
  }
  return std::nullopt;
}

TVideoWriter::TVideoWriter(const std::string& file, int32_t width, int32_t height, int32_t fps)
    : file_(file), width_(width), height_(height) {
  const std::optional<TVideoFormat> format = VideoFormatOf(file);
  if (!format) throw RequestError(file + ": a video's name must end in .mp4, .webm or .gif");
  if (width < 1 || width > 8192 || height < 1 || height > 8192) {
    throw RequestError("The video's size " + std::to_string(width) + " x " +
                       std::to_string(height) + " is outside 1..8192");
  }
  if (fps < MinVideoFps || fps > MaxVideoFps) {
    throw RequestError("The frame rate " + std::to_string(fps) + " is outside " +
                       std::to_string(MinVideoFps) + ".." + std::to_string(MaxVideoFps));
  }
  if (const std::optional<std::string> refusal = VideoSizeRefusal(*format, width, height)) {
    throw RequestError(*refusal);
  }
  const QString program = QStandardPaths::findExecutable("ffmpeg");
  if (program.isEmpty()) {
    throw EncoderError("ffmpeg is not installed: install the Debian package ffmpeg");
  }
  // A name that cannot take a video is refused before any frame is drawn.
  if (const std::optional<TFileFacts> facts = LookUpFile(SaveTarget(FilePath(file)))) {
    if (facts->Kind == TFileKind::Folder) throw CannotCreate(file, "it is a folder");
    if (facts->Kind != TFileKind::Regular) throw CannotCreate(file, "it is no regular file");
  }
  // ffmpeg seeks in what it writes, so it writes a file of its own in a folder of ours; the
  // finished video reaches its name through the atomic writer, as every saved file does.
  scratch_ = std::make_unique<QTemporaryDir>();
  if (!scratch_->isValid()) {
    throw CannotCreate(file, "no scratch folder: " + scratch_->errorString().toStdString());
  }
  staged_ = scratch_->filePath(QStringLiteral("video"));

  QStringList arguments{"-hide_banner", "-loglevel",
                        "error",        "-y",
                        "-f",           "rawvideo",
                        "-pix_fmt",     "rgb24",
                        "-s",           QString("%1x%2").arg(width).arg(height),
                        "-framerate",   QString::number(fps),
                        "-i",           "pipe:0"};
  arguments += EncoderArguments(*format);
  // "file:" keeps a name with a colon in it from being taken for a protocol.
  arguments += "file:" + staged_;
  ffmpeg_ = std::make_unique<QProcess>();
  ffmpeg_->setProgram(program);
  ffmpeg_->setArguments(arguments);
  ffmpeg_->setStandardOutputFile(QProcess::nullDevice());
  ffmpeg_->start();
  if (!ffmpeg_->waitForStarted(-1)) {
    const std::string why = ffmpeg_->errorString().toStdString();
    Discard();
    throw EncoderError(file + ": ffmpeg could not start: " + why);
  }
}

TVideoWriter::~TVideoWriter() { Discard(); }

void TVideoWriter::Discard() {
  if (ffmpeg_ && ffmpeg_->state() != QProcess::NotRunning) {
    ffmpeg_->kill();
    ffmpeg_->waitForFinished(-1);
  }
  ffmpeg_.reset();
  scratch_.reset();
}

void TVideoWriter::Fail(const std::string& reason) {
  std::string said;
  if (ffmpeg_) {
    if (ffmpeg_->state() != QProcess::NotRunning) {
      ffmpeg_->kill();
      ffmpeg_->waitForFinished(-1);
    }
    said = ffmpeg_->readAllStandardError().right(KeptErrorBytes).toStdString();
  }
  Discard();
  // The last line that says anything.
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ')) {
    said.pop_back();
  }
  const std::size_t start = said.find_last_of("\r\n");
  const std::string last = start == std::string::npos ? said : said.substr(start + 1);
  throw EncoderError(file_ + ": ffmpeg failed: " + (last.empty() ? reason : last));
}

void TVideoWriter::AddFrame(const QImage& frame) {
  if (frame.width() != width_ || frame.height() != height_) {
    throw RequestError("A frame of " + std::to_string(frame.width()) + " x " +
                       std::to_string(frame.height()) + " in a video of " + std::to_string(width_) +
                       " x " + std::to_string(height_));
  }
  const QImage rgb = frame.convertToFormat(QImage::Format_RGB888);
  const auto row = static_cast<std::size_t>(width_) * 3;
  std::string bytes(row * static_cast<std::size_t>(height_), '\0');
  for (int y = 0; y < height_; ++y) {
    std::memcpy(bytes.data() + row * static_cast<std::size_t>(y), rgb.constScanLine(y), row);
  }
  AddFrame(reinterpret_cast<const uint8_t*>(bytes.data()));
}

void TVideoWriter::AddFrame(const uint8_t* rgb) {
  if (!ffmpeg_ || finished_) throw RequestError("The video is already finished");
  const qint64 size = qint64{width_} * height_ * 3;
  if (ffmpeg_->write(reinterpret_cast<const char*>(rgb), size) != size) {
    Fail(ffmpeg_->errorString().toStdString());
  }
  // One frame in the pipe's buffer at a time, however long the video.
  while (ffmpeg_->bytesToWrite() > 0) {
    if (!ffmpeg_->waitForBytesWritten(-1)) Fail("it stopped reading frames");
  }
  ++frames_;
}

void TVideoWriter::Finish() {
  if (!ffmpeg_ || finished_) return;
  if (frames_ == 0) Fail("a video needs at least one frame");
  ffmpeg_->closeWriteChannel();
  ffmpeg_->waitForFinished(-1);
  if (ffmpeg_->exitStatus() != QProcess::NormalExit || ffmpeg_->exitCode() != 0) {
    Fail("it ended with status " + std::to_string(ffmpeg_->exitCode()));
  }
  ffmpeg_.reset();
  finished_ = true;
}

void TVideoWriter::Publish() {
  Finish();
  if (!scratch_) return;
  QFile staged(staged_);
  if (!staged.open(QIODevice::ReadOnly)) {
    const std::string why = staged.errorString().toStdString();
    Discard();
    throw CannotCreate(file_, why);
  }
  const QByteArray bytes = staged.readAll();
  staged.close();
  Discard();
  WriteFileAtomically(FilePath(file_),
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace morv
