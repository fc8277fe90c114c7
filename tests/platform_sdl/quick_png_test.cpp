#include "platform/sdl/quick_png.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "support/test_support.h"

namespace {

// A picture with every channel and alpha level distinct read back through
// SDL_image gives the same ARGB values; a surface of another format is
// refused and leaves no file.
TEST(QuickPng, WritesWhatSdlImageReadsBackAndRefusesOtherFormats) {
  twtest::TempDir dir;
  SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, 37, 5, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(shot, nullptr);
  auto argbAt = [](int x, int y) {
    return static_cast<std::uint32_t>(((x * 7 + y) & 0xFF) << 24 | (x * 5 & 0xFF) << 16 | (y * 40 & 0xFF) << 8 |
                                      ((x + y * 3) & 0xFF));
  };
  for (int y = 0; y < shot->h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(shot->pixels) + y * shot->pitch);
    for (int x = 0; x < shot->w; ++x) row[x] = argbAt(x, y);
  }
  const std::string path = dir.File("shot.png");
  ASSERT_TRUE(plat::sdl::SaveSurfacePngQuickly(*shot, path));
  SDL_FreeSurface(shot);

  SDL_Surface* loaded = IMG_Load(path.c_str());
  ASSERT_NE(loaded, nullptr) << IMG_GetError();
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  ASSERT_NE(argb, nullptr);
  ASSERT_EQ(argb->w, 37);
  ASSERT_EQ(argb->h, 5);
  int wrong = 0;
  for (int y = 0; y < argb->h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(argb->pixels) + y * argb->pitch);
    for (int x = 0; x < argb->w; ++x) wrong += row[x] != argbAt(x, y);
  }
  SDL_FreeSurface(argb);
  EXPECT_EQ(wrong, 0);

  SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(rgb, nullptr);
  EXPECT_FALSE(plat::sdl::SaveSurfacePngQuickly(*rgb, dir.File("rgb.png")));
  SDL_FreeSurface(rgb);
  EXPECT_FALSE(std::filesystem::exists(dir.File("rgb.png")));
  SDL_Surface* one = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(one, nullptr);
  EXPECT_FALSE(plat::sdl::SaveSurfacePngQuickly(*one, (dir.Path() / "missing" / "x.png").string()));
  SDL_FreeSurface(one);
}

}  // namespace
