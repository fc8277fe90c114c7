// The software renderer's kept picture: a frame shown from it has the very
// pixels of the frame drawn in full, its probe the fingerprint of the frame
// it stands for, and a changed screen size or a reset forgets it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/render.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

using namespace plat;
using namespace plat::sdl;

struct KeptPictureTest : ::testing::Test {
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    renderer = CreateSoftwareRenderer(96, 80);
    ASSERT_NE(renderer, nullptr);
    // Half-transparent texels over opaque ones, so that blending shows.
    texture = renderer->CreateTexture(8, 8);
    int pitch = 0;
    std::uint32_t* texels = texture->Lock(pitch);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        texels[y * pitch + x] = (x < 4 ? 0xFF000000u : 0x80000000u) | static_cast<std::uint32_t>(x * 30 << 16 | y * 30);
      }
    }
    texture->Unlock();
    // Cells edge to edge at a scale that gives no whole pixels.
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 11; ++x) {
        cells.push_back({texture.get(), x * 8, y * 8, {0, 0, 8, 8}, 0xFFFFFFFFu});
        tints.push_back({texture.get(), x * 8, y * 8, {4, 0, 8, 8}, 0xFFC08040u});
      }
    }
  }
  void TearDown() override {
    texture.reset();
    renderer.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // A frame: the cells and tints (stamped, or not when plain), a quad in
  // front; its fingerprint.
  std::uint64_t Draw(SpriteBatch& batch, bool plain, int ox = 0) {
    renderer->Notes().Reset();
    renderer->Clear(0xFF102030u);
    batch.Begin();
    const Matrix2D scale = Matrix2D::Scaling(1.13f, 0.97f);
    batch.DrawPrepared(cells.data(), cells.size(), 0.9f, scale, ox, 0, plain ? 0 : 11);
    batch.DrawPrepared(tints.data(), tints.size(), 0.8f, scale, ox, 0, plain ? 0 : 12);
    batch.Draw(*texture, nullptr, 30.5f, 20.25f, 0.1f, 0xFFFFFFFFu);
    batch.End();
    renderer->EndScene();
    return renderer->Notes().Fingerprint();
  }

  std::vector<std::uint32_t> Pixels() const {
    const SDL_Surface* surface = renderer->Target();
    std::vector<std::uint32_t> out;
    for (int y = 0; y < surface->h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(surface->pixels) +
                                                               y * surface->pitch);
      out.insert(out.end(), row, row + surface->w);
    }
    return out;
  }

  std::unique_ptr<SdlRenderer> renderer;
  std::unique_ptr<Texture> texture;
  std::vector<PreparedSprite> cells, tints;
};

TEST_F(KeptPictureTest, AFrameFromTheKeptPictureHasThePixelsOfTheFullDrawing) {
  SpriteBatch batch(*renderer);
  Draw(batch, true);
  const std::vector<std::uint32_t> full = Pixels();
  const std::uint64_t drawn = Draw(batch, false);
  ASSERT_EQ(batch.KeptDepthsDrawn(), 2u);
  EXPECT_EQ(Pixels(), full);
  const std::uint64_t shown = Draw(batch, false);
  ASSERT_EQ(batch.KeptDepthsShown(), 2u);
  EXPECT_EQ(Pixels(), full);
  EXPECT_EQ(shown, drawn);  // the same picture for the idle window
  // A probe draws nothing and gives the same fingerprint; moved, another.
  renderer->Notes().SetProbing(true);
  EXPECT_EQ(Draw(batch, false), shown);
  EXPECT_NE(Draw(batch, false, 2), shown);
  renderer->Notes().SetProbing(false);
  EXPECT_EQ(Pixels(), full);
  // Moved for real: drawn anew, as the full drawing has it.
  Draw(batch, false, 2);
  EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
  const std::vector<std::uint32_t> moved = Pixels();
  Draw(batch, true, 2);
  EXPECT_EQ(Pixels(), moved);
  EXPECT_NE(moved, full);
}

TEST_F(KeptPictureTest, AResetForgetsThePicture) {
  SpriteBatch batch(*renderer);
  Draw(batch, false);
  Draw(batch, false);
  ASSERT_EQ(batch.KeptDepthsShown(), 2u);
  renderer->ForgetKept();
  Draw(batch, false);
  EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
}

}  // namespace
