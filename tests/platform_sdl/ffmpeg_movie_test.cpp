#include "platform/sdl/ffmpeg_movie.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/lines.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A shipped movie in data/ of the source tree; empty when none is found.
std::string ShippedMovie(const std::string& name) {
  const fs::path root = twtest::FindSourceRoot("data/" + name);
  return root.empty() ? std::string() : (root / "data" / name).string();
}

TEST(FfmpegMovie, IntroDecodesFrameByFrameToItsEnd) {
  const std::string path = ShippedMovie("intro.avi");
  ASSERT_FALSE(path.empty()) << "data/intro.avi not found";
  plat::sdl::FfmpegMovieDecoder decoder;
  ASSERT_TRUE(decoder.Open(path));
  EXPECT_EQ(std::tuple(decoder.Width(), decoder.Height()), std::tuple(320, 240));
  EXPECT_NEAR(decoder.Duration(), 5.0, 0.1);

  int frames = 0;
  double endedAt = -1;
  bool sawPicture = false;
  for (int step = 0; step <= 140 && endedAt < 0; ++step) {
    const double t = step * 0.04;  // 25 looks a second at 20 frames a second
    if (decoder.Advance(t)) ++frames;
    int pitch = 0;
    const std::uint32_t* px = decoder.CurrentFrameARGB(pitch);
    ASSERT_NE(px, nullptr);
    ASSERT_EQ(pitch, 320);
    if (step == 60) {  // 2.4 s: the compass rose and the title are up
      int bright = 0;
      for (int i = 0; i < 320 * 240; ++i) {
        EXPECT_EQ(px[i] >> 24, 0xFFu);
        if (((px[i] >> 16) & 0xFF) > 160 && ((px[i] >> 8) & 0xFF) > 140) ++bright;
      }
      sawPicture = bright > 500;
    }
    if (decoder.AtEnd()) endedAt = t;
  }
  EXPECT_TRUE(sawPicture);
  EXPECT_NEAR(endedAt, 5.0, 0.05);  // the last frame is shown for its whole time
  EXPECT_GE(frames, 95);            // almost every frame of 100 seen at a 25 Hz look
  EXPECT_FALSE(decoder.Advance(10.0));

  // Opening again starts from the beginning, and each frame is due a
  // twentieth of a second after the one before, as the file declares.
  ASSERT_TRUE(decoder.Open(path));
  EXPECT_FALSE(decoder.AtEnd());
  EXPECT_TRUE(decoder.Advance(0));
  EXPECT_FALSE(decoder.Advance(0.049));
  EXPECT_TRUE(decoder.Advance(0.05));
  EXPECT_FALSE(decoder.Advance(0.099));
  EXPECT_TRUE(decoder.Advance(0.1));
}

TEST(FfmpegMovie, MissingGarbageAndCutFilesFailCleanly) {
  twtest::TempDir dir;
  plat::sdl::FfmpegMovieDecoder decoder;
  EXPECT_FALSE(decoder.Open(dir.File("missing.avi")));
  EXPECT_EQ(decoder.Width(), 0);
  EXPECT_FALSE(decoder.Advance(1.0));
  int pitch = 0;
  EXPECT_EQ(decoder.CurrentFrameARGB(pitch), nullptr);

  std::string noise(64 * 1024, '\0');
  std::uint32_t state = 7;
  for (char& c : noise) c = static_cast<char>((state = state * 214013 + 2531011) >> 16);
  EXPECT_FALSE(decoder.Open(dir.Write("noise.avi", noise)));
  EXPECT_FALSE(decoder.Open(dir.Write("empty.avi", "")));

  // A movie cut short, and one with damage in the middle: whatever opens
  // decodes to an end without a fault.
  const std::string path = ShippedMovie("intro.avi");
  ASSERT_FALSE(path.empty());
  std::string bytes;
  ASSERT_TRUE(plat::ReadFileBytes(path, bytes));
  std::string damaged = bytes;
  for (size_t i = 20000; i < damaged.size(); i += 997) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  int opened = 0;
  for (const std::string& variant : {bytes.substr(0, 30000), damaged}) {
    if (!decoder.Open(dir.Write("broken.avi", variant))) continue;
    ++opened;
    for (int step = 0; step < 400 && !decoder.AtEnd(); ++step) decoder.Advance(step * 0.05);
    EXPECT_TRUE(decoder.AtEnd());
  }
  EXPECT_GE(opened, 1);  // the cut file still has its header
}

}  // namespace
