// morv-cli's videos read back by ffprobe and ffmpeg, their refusals and progress, and PNG renders.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <cstdlib>
#include <string>

#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;
using test::WriteBytes;

struct ProgramRun {
  int code;
  std::string out;
  std::string err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  QProcessEnvironment withPlatform = env;
  withPlatform.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(withPlatform);
  process.start(program, args);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << program.toStdString() << " did not finish";
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

ProgramRun Cli(const QStringList& args,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  return RunProgram(MORV_CLI_PATH, args, env);
}

QString Example(const char* name) { return QString(MORV_EXAMPLES_DIR) + "/" + name; }

// What ffprobe reads of the video's one stream, with every frame decoded and counted.
std::string Probe(const QString& file) {
  const ProgramRun r =
      RunProgram("ffprobe", {"-v", "error", "-count_frames", "-show_entries",
                             "stream=codec_name,width,height,nb_read_frames,pix_fmt", "-of",
                             "compact=p=0", file});
  EXPECT_EQ(r.code, 0) << r.err;
  return r.out;
}

// Frame k of the video decoded to RGB.
QImage DecodedFrame(const QString& file, int k, int width, int height) {
  const ProgramRun r =
      RunProgram("ffmpeg", {"-v", "error", "-i", file, "-vf", QString("select=eq(n\\,%1)").arg(k),
                            "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.size(), std::size_t(width) * height * 3);
  if (r.out.size() != std::size_t(width) * height * 3) return {};
  return QImage(reinterpret_cast<const uchar*>(r.out.data()), width, height, width * 3,
                QImage::Format_RGB888)
      .copy();
}

// The mean difference of the two pictures' colour channels, 0..255.
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB888);
  const QImage y = b.convertToFormat(QImage::Format_RGB888);
  if (x.size() != y.size()) return 255;
  double sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width() * 3; ++col) {
      sum += std::abs(int(x.constScanLine(row)[col]) - int(y.constScanLine(row)[col]));
    }
  }
  return sum / (double(x.width()) * x.height() * 3);
}

QStringList FilesIn(const ScratchDir& dir) {
  return QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden);
}

TEST(CliVideo, VideosReadBackWithTheirFramesSizeAndCodec) {
  ScratchDir dir;
  const QString ring = TestDataPath("ring.MVD");
  const QString creature = Example("creature.MVD");
  const QString walk = Example("creature-walk.MVA");
  struct Case {
    QStringList args;
    const char* video;
    std::string probe;
  };
  const Case cases[] = {
      {{"turntable", ring, dir.Path("t.mp4"), "--frames", "4", "--fps", "8"},
       "t.mp4",
       "codec_name=h264|width=360|height=360|pix_fmt=yuv420p|nb_read_frames=4\n"},
      {{"turntable", ring, dir.Path("t.WebM"), "--frames", "3", "--axis", "x"},
       "t.WebM",
       "codec_name=vp9|width=360|height=360|pix_fmt=yuv420p|nb_read_frames=3\n"},
      {{"turntable", ring, dir.Path("t.gif"), "--frames", "5", "--axis", "z", "--angles", "10",
        "20", "30"},
       "t.gif",
       "codec_name=gif|width=360|height=360|pix_fmt=bgra|nb_read_frames=5\n"},
      // A frame at the start and one after each tick.
      {{"animate", creature, walk, dir.Path("walked.MVD"), "--ticks", "3", "--play", "1", "2",
        "--video", dir.Path("walk.mp4"), "--angles", "30", "20", "0"},
       "walk.mp4",
       "codec_name=h264|width=360|height=360|pix_fmt=yuv420p|nb_read_frames=4\n"},
      {{"animate", creature, walk, dir.Path("walked.MVD"), "--ticks", "2", "--play", "3", "--video",
        dir.Path("walk.gif")},
       "walk.gif",
       "codec_name=gif|width=360|height=360|pix_fmt=bgra|nb_read_frames=3\n"},
      {{"physics", creature, dir.Path("pushed.MVD"), "--ticks", "2", "--force", "1", "50", "0", "0",
        "--video", dir.Path("push.webm"), "--fps", "25"},
       "push.webm",
       "codec_name=vp9|width=360|height=360|pix_fmt=yuv420p|nb_read_frames=3\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ProgramRun r = Cli(c.args);
    ASSERT_EQ(r.code, 0) << r.err;
    // Not a terminal: a script's success prints nothing on stderr.
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Probe(dir.Path(c.video)), c.probe);
  }
  // The model files are written beside the videos, as without them.
  EXPECT_NE(ReadBytes(dir.Path("walked.MVD")).find("Creature"), std::string::npos);
  EXPECT_NE(ReadBytes(dir.Path("pushed.MVD")).find("Creature"), std::string::npos);
  EXPECT_EQ(FilesIn(dir), QStringList({"push.webm", "pushed.MVD", "t.gif", "t.mp4", "t.WebM",
                                       "walk.gif", "walk.mp4", "walked.MVD"}))
      << "no temporaries are left";
}

TEST(CliVideo, TurntableFramesShowTheModelTurnedFromTheStartAngles) {
  ScratchDir dir;
  const QString ring = TestDataPath("ring.MVD");
  const ProgramRun made = Cli({"turntable", ring, dir.Path("t.mp4"), "--frames", "8", "--axis", "x",
                               "--angles", "350", "20", "0"});
  ASSERT_EQ(made.code, 0) << made.err;
  // Frame k turns 360 * k / 8 degrees about x, wrapped: 350, 35, 80, ...
  struct Frame {
    int k;
    const char* angleX;
  };
  const Frame frames[] = {{0, "350"}, {1, "35"}, {6, "260"}};
  for (const Frame f : frames) {
    ASSERT_EQ(Cli({"render", ring, dir.Path(QString("still%1.png").arg(f.k)), "--angles", f.angleX,
                   "20", "0"})
                  .code,
              0);
  }
  for (const Frame f : frames) {
    SCOPED_TRACE(f.k);
    const QImage decoded = DecodedFrame(dir.Path("t.mp4"), f.k, 360, 360);
    // H.264 loses a little of each picture, the turn a great deal.
    EXPECT_LT(MeanDifference(decoded, QImage(dir.Path(QString("still%1.png").arg(f.k)))), 2.5);
    const QImage other(dir.Path(QString("still%1.png").arg(f.k == 0 ? 1 : 0)));
    EXPECT_GT(MeanDifference(decoded, other), 5);
  }
}

TEST(CliVideo, AVideoThatCannotBeWrittenLeavesNoFileAndNoTemporary) {
  ScratchDir dir;
  const QString creature = Example("creature.MVD");
  QDir().mkpath(dir.Path("bin"));
  QDir().mkpath(dir.Path("empty"));
  QDir().mkpath(dir.Path("out"));
  // An ffmpeg that refuses at once, and one that reads a little of the frames and then fails.
  WriteBytes(dir.Path("bin/ffmpeg"),
             "#!/bin/sh\necho 'reading options' >&2\necho 'Unknown encoder x' >&2\nexit 1\n");
  QDir().mkpath(dir.Path("bin2"));
  WriteBytes(dir.Path("bin2/ffmpeg"),
             "#!/bin/sh\n/usr/bin/head -c 1000 >/dev/null\necho 'Broken pipe ahead' >&2\n"
             "exit 1\n");
  QFile::setPermissions(dir.Path("bin/ffmpeg"), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
  QFile::setPermissions(dir.Path("bin2/ffmpeg"), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
  // A video already there is left as it was.
  WriteBytes(dir.Path("out/old.gif"), "old");

  struct Case {
    const char* path;
    QStringList args;
    std::string message;
  };
  const QString video = dir.Path("out/t.mp4");
  const QString old = dir.Path("out/old.gif");
  const Case cases[] = {
      {"empty",
       {"turntable", creature, video, "--frames", "2"},
       "morv-cli: ffmpeg is not installed: install the Debian package ffmpeg.\n"},
      {"bin",
       {"turntable", creature, video, "--frames", "2"},
       "morv-cli: " + video.toStdString() + ": ffmpeg failed: Unknown encoder x.\n"},
      {"bin2",
       {"turntable", creature, old, "--frames", "3"},
       "morv-cli: " + old.toStdString() + ": ffmpeg failed: Broken pipe ahead.\n"},
      {"bin2",
       {"physics", creature, dir.Path("out/o.MVD"), "--ticks", "3", "--video", video},
       "morv-cli: " + video.toStdString() + ": ffmpeg failed: Broken pipe ahead.\n"},
      {"empty",
       {"animate", creature, Example("creature-walk.MVA"), dir.Path("out/o.MVD"), "--ticks", "1",
        "--video", video},
       "morv-cli: ffmpeg is not installed: install the Debian package ffmpeg.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", dir.Path(c.path));
    const ProgramRun r = Cli(c.args, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(QDir(dir.Path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"old.gif"});
    EXPECT_EQ(ReadBytes(old), "old");
  }
}

// Runs the command line on a terminal of its own; what the terminal showed.
std::string OnTerminal(const QStringList& args) {
  QString line = QString(MORV_CLI_PATH);
  for (const QString& arg : args) line += " '" + arg + "'";
  const ProgramRun r = RunProgram("script", {"-qefc", line, "/dev/null"});
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  return r.out;
}

TEST(CliVideo, ProgressShowsOnATerminalOnly) {
  ScratchDir dir;
  const QString creature = Example("creature.MVD");
  const QStringList turntable{"turntable", creature, dir.Path("t.gif"), "--frames", "3"};
  const std::string shown = OnTerminal(turntable);
  for (const char* frame : {"\rframe 1/3 [", "\rframe 2/3 [", "\rframe 3/3 ["}) {
    EXPECT_NE(shown.find(frame), std::string::npos) << frame << " in " << shown;
  }
  EXPECT_TRUE(shown.ends_with("]\r\n")) << shown;
  const std::string physics = OnTerminal(
      {"physics", creature, dir.Path("o.MVD"), "--ticks", "2", "--video", dir.Path("p.gif")});
  EXPECT_NE(physics.find("\rframe 3/3 ["), std::string::npos) << physics;
  // Without a video there is nothing to show.
  const std::string plain = OnTerminal({"physics", creature, dir.Path("o.MVD"), "--ticks", "2"});
  EXPECT_EQ(plain.find("frame"), std::string::npos) << plain;

  const ProgramRun quiet = Cli(turntable);
  EXPECT_EQ(quiet.code, 0);
  EXPECT_EQ(quiet.out + quiet.err, "");
}

// The PNG's header: 8 bits a channel, colour type 2 (RGB without alpha).
void ExpectRgb24Png(const std::string& bytes) {
  ASSERT_GE(bytes.size(), 26u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(int(bytes[24]), 8);
  EXPECT_EQ(int(bytes[25]), 2);
}

TEST(CliVideo, APngRenderIsTheBitmapRenderPixelForPixel) {
  ScratchDir dir;
  const QString ring = TestDataPath("ring.MVD");
  const QStringList views[] = {
      {"--angles", "30", "20", "0"},
      {"--angles", "10", "200", "45", "--background", "255"},
      {"--size", "360", "360", "--samples", "1", "--light", "0", "0", "-100"}};
  for (const QStringList& view : views) {
    SCOPED_TRACE(view.join(' ').toStdString());
    const ProgramRun png = Cli(QStringList{"render", ring, dir.Path("r.PNG")} + view);
    const ProgramRun bmp = Cli(QStringList{"render", ring, dir.Path("r.bmp")} + view);
    ASSERT_EQ(png.code, 0) << png.err;
    ASSERT_EQ(bmp.code, 0) << bmp.err;
    EXPECT_EQ(png.out, bmp.out);
    ExpectRgb24Png(ReadBytes(dir.Path("r.PNG")));
    const QImage a = QImage(dir.Path("r.PNG")).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(dir.Path("r.bmp")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(a.size(), QSize(360, 360));
    EXPECT_TRUE(a == b);
  }
}

TEST(CliVideo, RendersAndVideosOfAnySizeAndSamples) {
  ScratchDir dir;
  const QString ring = TestDataPath("ring.MVD");
  struct Case {
    QStringList size;
    QSize expected;
  };
  const Case cases[] = {{{"--size", "640", "360"}, {640, 360}},
                        {{"--size", "64", "48", "--samples", "4"}, {64, 48}},
                        {{"--size", "1", "1", "--samples", "8"}, {1, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size.join(' ').toStdString());
    const ProgramRun png = Cli(QStringList{"render", ring, dir.Path("r.png")} + c.size);
    const ProgramRun bmp = Cli(QStringList{"render", ring, dir.Path("r.bmp")} + c.size);
    ASSERT_EQ(png.code, 0) << png.err;
    ASSERT_EQ(bmp.code, 0) << bmp.err;
    ExpectRgb24Png(ReadBytes(dir.Path("r.png")));
    const QImage a = QImage(dir.Path("r.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(a.size(), c.expected);
    EXPECT_TRUE(a == QImage(dir.Path("r.bmp")).convertToFormat(QImage::Format_RGB32));
  }
  const ProgramRun video = Cli({"turntable", ring, dir.Path("small.webm"), "--frames", "3",
                                "--size", "63", "40", "--samples", "2"});
  ASSERT_EQ(video.code, 0) << video.err;
  EXPECT_EQ(Probe(dir.Path("small.webm")),
            "codec_name=vp9|width=63|height=40|pix_fmt=yuv420p|nb_read_frames=3\n");
}

}  // namespace
}  // namespace morv
