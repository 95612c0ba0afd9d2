// morv-cli render: the same picture the 3D view shows, as a 24-bit bitmap.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <sstream>

#include "app/cli_commands.h"
#include "support/golden_image.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::TestDataPath;

struct Rendered {
  int code;
  std::string out;
  std::string err;
  QImage image;
  std::string bytes;
};

Rendered RenderRing(const ScratchDir& dir, std::vector<std::string> options) {
  const QString out = dir.Path("ring.BMP");
  QFile::remove(out);
  std::vector<std::string> args{"render", TestDataPath("ring.MVD").toStdString(),
                                out.toStdString()};
  args.insert(args.end(), options.begin(), options.end());
  std::ostringstream o, e;
  const int code = RunCli(args, o, e);
  return {code, o.str(), e.str(), QImage(out), ReadBytes(out)};
}

TEST(CliRender, DrawsTheGoldenPictureAndCountsPointsAndPolygons) {
  ScratchDir dir;
  const Rendered r = RenderRing(dir, {"--angles", "30", "20", "0"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Points: 2496 Polygons: 1152\n");
  EXPECT_TRUE(test::MatchesGolden(r.image, "golden/ring_30_20_0.png"));
}

TEST(CliRender, WritesA24BitBitmapOf360By360) {
  ScratchDir dir;
  const Rendered r = RenderRing(dir, {});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_GE(r.bytes.size(), 54u);
  EXPECT_EQ(r.bytes.substr(0, 2), "BM");
  auto le32 = [&](int at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(r.bytes[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(r.bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(r.bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(r.bytes[at + 3])) << 24;
  };
  EXPECT_EQ(le32(18), 360u);
  EXPECT_EQ(le32(22), 360u);
  EXPECT_EQ(static_cast<unsigned char>(r.bytes[28]), 24) << "bits per pixel";
  // The corner shows the default green background.
  EXPECT_EQ(r.image.pixel(0, 0), qRgb(0, 128, 0));
}

TEST(CliRender, TheWorkerDrawsTheSamePicture) {
  ScratchDir dir;
  const Rendered single = RenderRing(dir, {"--angles", "10", "200", "45"});
  const Rendered threaded = RenderRing(dir, {"--angles", "10", "200", "45", "--threads"});
  ASSERT_EQ(threaded.code, 0) << threaded.err;
  EXPECT_EQ(threaded.out, single.out);
  EXPECT_EQ(threaded.bytes, single.bytes);
}

TEST(CliRender, AnglesOutsideTheSpinEditsAreRefusedAndSettingsShow) {
  ScratchDir dir;
  const Rendered outside = RenderRing(dir, {"--angles", "-30", "999", "0"});
  EXPECT_EQ(outside.code, 2);
  EXPECT_TRUE(outside.bytes.empty());
  const Rendered limits = RenderRing(dir, {"--angles", "0", "360", "0"});
  EXPECT_EQ(limits.code, 0) << limits.err;

  const Rendered blue = RenderRing(dir, {"--background", "16711680"});
  EXPECT_EQ(blue.image.pixel(0, 0), qRgb(0, 0, 255));
  const Rendered lit = RenderRing(dir, {"--light", "-180", "180", "-70"});
  const Rendered plain = RenderRing(dir, {});
  EXPECT_NE(lit.bytes, plain.bytes) << "moving the light changes the shading";
}

TEST(CliRender, AZeroLightIsReportedAndTheRenderGoesOn) {
  ScratchDir dir;
  for (const auto& size : {std::vector<std::string>{}, {"--size", "90", "60", "--samples", "2"}}) {
    std::vector<std::string> options{"--light", "0", "0", "0"};
    options.insert(options.end(), size.begin(), size.end());
    const Rendered r = RenderRing(dir, options);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "morv-cli: Morv! 3D Error! Division by 0 in LightVector.\n");
    EXPECT_FALSE(r.image.isNull());
  }
}

TEST(CliRender, BadArgumentsAreUsageErrors) {
  ScratchDir dir;
  for (const auto& options : std::vector<std::vector<std::string>>{
           {"--angles", "1", "2"}, {"--angles", "a", "b", "c"}, {"--frobnicate"}, {"--light"}}) {
    const Rendered r = RenderRing(dir, options);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.ends_with("\nTry 'morv-cli --help' for more information.\n")) << r.err;
    EXPECT_TRUE(r.bytes.empty()) << "nothing written";
  }
}

}  // namespace
}  // namespace morv
