#include "app/movie_player.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/recording_renderer.h"
#include "support/test_support.h"

namespace {

// A decoder with frameCount frames of 4x2 texels, 0.1 s each; frame i is
// filled with the texel value 0xFF000000 + i + 1.
struct FakeMovie {
  bool openResult = true;
  int frameCount = 3;
  int created = 0;
  std::string openedPath;
  std::vector<double> advances;
};

class FakeDecoder final : public plat::MovieDecoder {
 public:
  explicit FakeDecoder(FakeMovie& movie) : movie_(movie) {}
  bool Open(const std::string& path) override {
    movie_.openedPath = path;
    return open_ = movie_.openResult;
  }
  int Width() const override { return open_ ? 4 : 0; }
  int Height() const override { return open_ ? 2 : 0; }
  double FrameRate() const override { return 10; }
  double Duration() const override { return movie_.frameCount * 0.1; }
  bool Advance(double seconds) override {
    movie_.advances.push_back(seconds);
    now_ = seconds;
    int due = std::min(static_cast<int>(seconds * 10 + 1e-9), movie_.frameCount - 1);
    if (movie_.frameCount == 0 || due == current_) return false;
    current_ = due;
    pixels_.assign(8, 0xFF000000u + static_cast<std::uint32_t>(due) + 1);
    return true;
  }
  const std::uint32_t* CurrentFrameARGB(int& pitch) const override {
    pitch = 4;
    return current_ < 0 ? nullptr : pixels_.data();
  }
  bool AtEnd() const override { return now_ >= movie_.frameCount * 0.1 - 1e-9; }

 private:
  FakeMovie& movie_;
  bool open_ = false;
  int current_ = -1;
  double now_ = 0;
  std::vector<std::uint32_t> pixels_;
};

class MoviePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    plat::SetMovieDecoderFactory([this] {
      ++movie_.created;
      return std::make_unique<FakeDecoder>(movie_);
    });
    file_ = dir_.Write("intro.avi", "movie");
  }
  void TearDown() override {
    plat::SetMovieDecoderFactory(nullptr);
    plat::SetClock(nullptr);
  }
  std::wstring File() const { return std::wstring(file_.begin(), file_.end()); }

  plat::ManualClock clock_;
  FakeMovie movie_;
  twtest::TempDir dir_;
  std::string file_;
};

TEST_F(MoviePlayerTest, MissingFileNeverPlaysAndAnOpenOnePlaysUntilTheDecoderEnds) {
  twtest::LogCapture log;
  cMoviePlayer missing;
  EXPECT_FALSE(missing.Open(L"data/nothere.avi"));
  EXPECT_TRUE(log.Contains(L"-----Could not open video file: data/nothere.avi"));
  EXPECT_EQ(movie_.created, 0);  // no decoder made for a file that is not there
  missing.Play();
  EXPECT_FALSE(missing.IsPlaying());

  cMoviePlayer player;
  ASSERT_TRUE(player.Open(File()));
  EXPECT_FALSE(player.IsPlaying());  // opened, not yet running
  clock_.Advance(5000);              // time before Play does not count
  player.Play();
  EXPECT_TRUE(player.IsPlaying());
  clock_.Advance(150);
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_DOUBLE_EQ(movie_.advances.back(), 0.15);

  player.Stop();
  EXPECT_FALSE(player.IsPlaying());
  clock_.Advance(1000);  // stopped time does not count either
  player.Play();
  clock_.Advance(100);
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_DOUBLE_EQ(movie_.advances.back(), 0.25);
  clock_.Advance(50);  // 0.3 s: the third frame has had its time
  EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MoviePlayerTest, FrameIsStretchedOverTheScreenAndUploadedWhenNew) {
  plat::RecordingRenderer renderer(800, 600);
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(File()));
  player.Draw(renderer);  // not playing yet: no frame, nothing drawn
  EXPECT_TRUE(renderer.Quads().empty());

  player.Play();
  player.Draw(renderer);
  ASSERT_EQ(renderer.Quads().size(), 1u);
  const plat::DrawRecord& quad = *renderer.Quads()[0];
  const auto* texture = dynamic_cast<const plat::RecordingTexture*>(player.FrameTexture());
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(quad.texture, texture->Id());
  EXPECT_EQ(quad.corners[2].y, 600);
  EXPECT_EQ(texture->Pixels(), std::vector<std::uint32_t>(8, 0xFF000001u));
  EXPECT_EQ(texture->Unlocks(), 1);

  player.Draw(renderer);  // same frame: drawn again, not uploaded again
  EXPECT_EQ(texture->Unlocks(), 1);
  clock_.Advance(120);
  renderer.SetScreenSize(640, 480);
  player.Draw(renderer);
  EXPECT_EQ(texture->Unlocks(), 2);
  EXPECT_EQ(texture->Pixels(), std::vector<std::uint32_t>(8, 0xFF000002u));
  EXPECT_EQ(renderer.Quads().back()->corners[2].x, 640);
}

}  // namespace
