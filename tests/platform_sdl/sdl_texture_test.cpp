// A renderer draws the textures it made and no other: another renderer's
// texture draws nothing through any draw call, whole or scaled by a
// fraction of a pixel.
#include "platform/sdl/sdl_texture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/sdl_renderer.h"

namespace {

using namespace plat;
using namespace plat::sdl;

// Every draw call of a red texture onto a cleared screen; how many pixels
// came out red.
int RedPixels(SdlRenderer& renderer, const Texture& texture) {
  renderer.Clear(0xFF000000u);
  renderer.DrawRect(texture, {0, 0, 4, 4}, 1.0f, 1.0f, 9.0f, 9.0f, 0xFFFFFFFFu, 0.5f);
  const PointF corners[4] = {{12, 2}, {20, 4}, {18, 12}, {10, 10}};
  renderer.DrawQuad(texture, {0, 0, 4, 4}, corners, 0xFFFFFFFFu, 0.5f);
  const RectDraw rects[] = {{&texture, {0, 0, 4, 4}, 2.25f, 20.5f, 7.75f, 26.5f, 0xFFFFFFFFu},
                            {&texture, {0, 0, 4, 4}, 20.0f, 20.0f, 28.0f, 28.0f, 0xFFFFFFFFu}};
  renderer.DrawRects(rects, 2, 0.5f);
  renderer.EndScene();
  const SDL_Surface* surface = renderer.Target();
  int red = 0;
  for (int y = 0; y < surface->h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(surface->pixels) +
                                                             y * surface->pitch);
    for (int x = 0; x < surface->w; ++x) red += row[x] == 0xFFFF0000u;
  }
  return red;
}

TEST(SdlTexture, ARendererDrawsOnlyTheTexturesItMade) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  {
    auto maker = CreateSoftwareRenderer(32, 32);
    auto other = CreateSoftwareRenderer(32, 32);
    ASSERT_TRUE(maker && other);
    auto texture = maker->CreateTexture(4, 4);
    ASSERT_NE(texture, nullptr);
    int pitch = 0;
    std::uint32_t* texels = texture->Lock(pitch);
    for (int i = 0; i < 16; ++i) texels[i] = 0xFFFF0000u;
    texture->Unlock();
    EXPECT_GT(RedPixels(*maker, *texture), 2 * 8 * 8);
    EXPECT_EQ(RedPixels(*other, *texture), 0);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
