// Pictures drawn one at a time through the sprite batch, each stretched by
// a scaling of its own, edge to edge: the nine pieces of a frame, as the
// hints, framed boxes and dialogs draw theirs. The software renderer must
// cover every pixel between their edges; the position a scaling carries
// comes back a hair off a whole pixel, and SDL's own scaled copy cut it
// and the size each on its own, which left a one-pixel column of the
// screen showing through a hint's box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/render.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

using namespace plat;
using namespace plat::sdl;

constexpr std::uint32_t kCleared = 0xFFFF00FFu;  // no texel has it
constexpr int kPiece = 10;

struct StretchedPiecesTest : ::testing::Test {
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    renderer = CreateSoftwareRenderer(400, 120);
    ASSERT_NE(renderer, nullptr);
    // Nine opaque pieces, each of its own colour.
    texture = renderer->CreateTexture(3 * kPiece, 3 * kPiece);
    int pitch = 0;
    std::uint32_t* texels = texture->Lock(pitch);
    for (int y = 0; y < 3 * kPiece; ++y) {
      for (int x = 0; x < 3 * kPiece; ++x) {
        texels[y * pitch + x] = 0xFF000000u | static_cast<std::uint32_t>((x / kPiece) * 60 << 16 | (y / kPiece) * 60);
      }
    }
    texture->Unlock();
  }
  void TearDown() override {
    texture.reset();
    renderer.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // The frame at (x, y), width x height, each piece stretched to its place
  // by a scaling, the position divided by it (the way the game's
  // DrawSpriteRect hands a stretched picture to the batch).
  void DrawFrame(int x, int y, int width, int height) {
    const int columnX[3] = {x, x + kPiece, x + width - kPiece};
    const int columnW[3] = {kPiece, width - 2 * kPiece, kPiece};
    const int rowY[3] = {y, y + kPiece, y + height - kPiece};
    const int rowH[3] = {kPiece, height - 2 * kPiece, kPiece};
    SpriteBatch batch(*renderer);
    batch.Begin();
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) {
        const RectI source{column * kPiece, row * kPiece, (column + 1) * kPiece, (row + 1) * kPiece};
        const float sx = static_cast<float>(columnW[column]) / kPiece;
        const float sy = static_cast<float>(rowH[row]) / kPiece;
        batch.Draw(*texture, &source, static_cast<float>(columnX[column]) / sx,
                   static_cast<float>(rowY[row]) / sy, 0.5f, 0xFFFFFFFFu, Matrix2D::Scaling(sx, sy));
      }
    }
    batch.End();
  }

  bool Cleared(int column, int row) const {
    const SDL_Surface* surface = renderer->Target();
    const auto* pixels =
        reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(surface->pixels) + row * surface->pitch);
    return (pixels[column] | 0xFF000000u) == kCleared;
  }

  // The pixels of the box still showing the cleared screen, and those
  // painted in the ring of pixels around it.
  int Holes(int x, int y, int width, int height) const {
    int holes = 0;
    for (int row = y - 1; row <= y + height; ++row) {
      for (int column = x - 1; column <= x + width; ++column) {
        const bool inside = row >= y && row < y + height && column >= x && column < x + width;
        holes += Cleared(column, row) == inside ? 1 : 0;
      }
    }
    return holes;
  }

  std::unique_ptr<SdlRenderer> renderer;
  std::unique_ptr<Texture> texture;
};

TEST_F(StretchedPiecesTest, AFramesPiecesCoverItsWholeBox) {
  // Hint boxes are as wide as their text: every width and height over a
  // range, at several places on the screen.
  std::string failures;
  for (int x : {3, 17, 101, 227}) {
    for (int width = 2 * kPiece + 1; width <= 160; ++width) {
      for (int height : {2 * kPiece + 7, 37, 53, 96}) {
        renderer->BeginScene();
        renderer->Clear(kCleared);
        DrawFrame(x, 9, width, height);
        renderer->EndScene();
        const int holes = Holes(x, 9, width, height);
        if (holes > 0 && failures.size() < 400) {
          failures += ' ';
          failures += std::to_string(width);
          failures += 'x';
          failures += std::to_string(height);
          failures += '@';
          failures += std::to_string(x);
          failures += ':';
          failures += std::to_string(holes);
        }
      }
    }
  }
  EXPECT_TRUE(failures.empty()) << "boxes with pixels uncovered or painted outside (size@x: count):" << failures;
}

}  // namespace
