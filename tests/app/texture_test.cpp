// Textures, sprites drawn from them, and the movie player that uploads its
// frames into one.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/movie_player.h"
#include "app/texture.h"
#include "platform/clock.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_platform_framework.h"
#include "support/test_support.h"

namespace {

struct TextureTest : ::testing::Test {
  plat::RecordingRenderer renderer;
  twtest::FakePlatformFramework frame{&renderer};
};

TEST_F(TextureTest, DrawSpriteRectStretchesCombinesAndRejectsEmptyRectangles) {
  cTexture t;
  t.Create(64, 64);
  plat::SpriteBatch batch(renderer);
  batch.SetTransform(plat::Matrix2D::Scaling(0.5f, 0.5f));
  batch.Begin();
  // Combined: the stretch to the destination, then the zoom; not combined: the zoom is replaced.
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 10, 20}, 100, 60, 20, 10, 0xFFFFFFFF, 0.5f, true), 0);
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 10, 20}, 100, 60, 20, 10, 0xFFFFFFFF, 0.4f, false), 0);
  EXPECT_LT(DrawSpriteRect(&batch, &t, {4, 4, 4, 8}, 0, 0, 10, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 4, 4}, 5, 5, 0, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_LT(DrawSpriteRect(nullptr, &t, {0, 0, 4, 4}, 5, 5, 4, 4, 0xFFFFFFFF, 0, false), 0);
  batch.End();
  EXPECT_FLOAT_EQ(batch.GetTransform().m11, 0.5f);
  const auto quads = renderer.Quads();
  ASSERT_EQ(quads.size(), 2u);
  const float corners[2][4] = {{50, 30, 60, 35}, {100, 60, 120, 70}};
  for (int i = 0; i < 2; ++i) {
    const auto& q = quads[i]->corners;
    const float got[4] = {q[0].x, q[0].y, q[2].x, q[2].y};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], corners[i][k], 1e-3) << i << " " << k;
  }
  EXPECT_FLOAT_EQ(quads[0]->depth, 0.5f);
}

// A decoder of three frames of 4x2 texels, 0.1 s each; frame i is filled
// with the texel value 0xFF000000 + i + 1. It notes the times it is advanced to.
struct FakeDecoder final : plat::MovieDecoder {
  explicit FakeDecoder(std::vector<double>& advances) : advances_(advances) {}
  bool Open(const std::string&) override { return true; }
  int Width() const override { return 4; }
  int Height() const override { return 2; }
  double Duration() const override { return 0.3; }
  bool Advance(double seconds) override {
    advances_.push_back(now_ = seconds);
    const int due = std::min(static_cast<int>(seconds * 10 + 1e-9), 2);
    if (due == current_) return false;
    current_ = due;
    pixels_.assign(8, 0xFF000000u + static_cast<std::uint32_t>(due) + 1);
    return true;
  }
  const std::uint32_t* CurrentFrameARGB(int& pitch) const override {
    pitch = 4;
    return current_ < 0 ? nullptr : pixels_.data();
  }
  bool AtEnd() const override { return now_ >= 0.3 - 1e-9; }

  std::vector<double>& advances_;
  int current_ = -1;
  double now_ = 0;
  std::vector<std::uint32_t> pixels_;
};

class MoviePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    plat::SetMovieDecoderFactory([this] {
      ++created_;
      return std::make_unique<FakeDecoder>(advances_);
    });
    const std::string file = dir_.Write("intro.avi", "movie");
    file_.assign(file.begin(), file.end());
  }
  void TearDown() override {
    plat::SetMovieDecoderFactory(nullptr);
    plat::SetClock(nullptr);
  }

  plat::ManualClock clock_;
  int created_ = 0;
  std::vector<double> advances_;
  twtest::TempDir dir_;
  std::wstring file_;
};

// One texture per picture file while it is held: a second holder of the
// file shares it, a load after every holder let go makes a new one, and
// another renderer gets its own, even one made where a gone one stood.
TEST_F(TextureTest, AHeldFileIsLoadedOnceAndEachRendererLoadsItsOwn) {
  twtest::TempDir dir;
  // A PNG's signature and header are all the recording renderer reads.
  const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x08\0\0\0\x04\x08\x06\0\0\0\0\0\0\0", 33);
  const std::string path = dir.File("sheet.png");
  ASSERT_TRUE(plat::WriteFileBytes(path, png));
  const std::wstring name = plat::WidenBytes(path);
  const std::string resolved = plat::ResolvePath(std::wstring_view(name));
  cTexture a, b;
  ASSERT_EQ(a.Load(name.c_str(), cTexture::kFromFile, 1), 0);
  ASSERT_EQ(b.Load(name.c_str(), cTexture::kFromFile, 1), 0);
  ASSERT_NE(a.Get(), nullptr);
  EXPECT_EQ(a.Get(), b.Get());
  std::shared_ptr<plat::Texture> direct = LoadFileTexture(renderer, resolved);
  EXPECT_EQ(direct.get(), a.Get());
  const std::uint64_t first = a.Get()->Id();
  a.Release();
  EXPECT_EQ(LoadFileTexture(renderer, resolved)->Id(), first);  // still held
  b.Release();
  direct.reset();
  ASSERT_EQ(a.Load(name.c_str(), cTexture::kFromFile, 1), 0);
  EXPECT_NE(a.Get()->Id(), first);

  std::optional<plat::RecordingRenderer> other;
  other.emplace();
  const std::shared_ptr<plat::Texture> its = LoadFileTexture(*other, resolved);
  ASSERT_NE(its, nullptr);
  EXPECT_NE(its.get(), a.Get());
  other.reset();
  other.emplace();  // in the same place
  EXPECT_NE(LoadFileTexture(*other, resolved), its);
}

TEST_F(MoviePlayerTest, MissingFileNeverPlaysAndAnOpenOnePlaysUntilTheDecoderEnds) {
  twtest::LogCapture log;
  cMoviePlayer missing;
  EXPECT_FALSE(missing.Open(L"data/nothere.avi"));
  EXPECT_TRUE(log.Contains(L"-----Could not open video file: data/nothere.avi"));
  EXPECT_EQ(created_, 0);  // no decoder made for a file that is not there
  missing.Play();
  EXPECT_FALSE(missing.IsPlaying());

  cMoviePlayer player;
  ASSERT_TRUE(player.Open(file_));
  EXPECT_FALSE(player.IsPlaying());  // opened, not yet running
  clock_.Advance(5000);              // time before Play does not count
  player.Play();
  clock_.Advance(150);
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_DOUBLE_EQ(advances_.back(), 0.15);
  player.Stop();
  EXPECT_FALSE(player.IsPlaying());
  clock_.Advance(1000);  // stopped time does not count either
  player.Play();
  clock_.Advance(100);
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_DOUBLE_EQ(advances_.back(), 0.25);
  clock_.Advance(50);  // 0.3 s: the third frame has had its time
  EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MoviePlayerTest, FrameIsStretchedOverTheScreenAndUploadedWhenNew) {
  plat::RecordingRenderer renderer(800, 600);
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(file_));
  player.Draw(renderer);  // not playing yet: no frame, nothing drawn
  EXPECT_TRUE(renderer.Quads().empty());
  player.Play();
  player.Draw(renderer);
  player.Draw(renderer);  // same frame: drawn again, not uploaded again
  ASSERT_EQ(renderer.Quads().size(), 2u);
  const auto* texture = dynamic_cast<const plat::RecordingTexture*>(player.FrameTexture());
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(std::tuple(renderer.Quads()[0]->texture, renderer.Quads()[0]->corners[2].y, texture->Unlocks()),
            std::tuple(texture->Id(), 600.0f, 1));
  EXPECT_EQ(texture->Pixels(), std::vector<std::uint32_t>(8, 0xFF000001u));
  clock_.Advance(120);
  renderer.SetScreenSize(640, 480);
  player.Draw(renderer);
  EXPECT_EQ(std::pair(texture->Unlocks(), renderer.Quads().back()->corners[2].x), std::pair(2, 640.0f));
  EXPECT_EQ(texture->Pixels(), std::vector<std::uint32_t>(8, 0xFF000002u));
}

}  // namespace
