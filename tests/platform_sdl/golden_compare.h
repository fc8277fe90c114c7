// Compares a software-rendered picture with a committed golden PNG (mean
// channel difference below 2 and under 1 % of pixels off by more than 32),
// or rewrites the golden when TW_UPDATE_GOLDEN=1.
#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/sdl/sdl_renderer.h"
#include "support/test_support.h"

namespace twtest {

// Fails the test when the renderer's picture differs from golden; saves the
// picture as actualPath for inspection. Returns false when the golden was
// rewritten instead (the caller skips).
inline bool CompareWithGolden(plat::sdl::SdlRenderer& renderer, const std::filesystem::path& golden,
                              const std::string& actualPath) {
  const char* update = std::getenv("TW_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    EXPECT_TRUE(renderer.SavePng(golden.string()));
    return false;
  }
  EXPECT_TRUE(renderer.SavePng(actualPath));
  SDL_Surface* expectedRaw = IMG_Load(golden.string().c_str());
  EXPECT_NE(expectedRaw, nullptr) << golden << ": " << IMG_GetError();
  if (expectedRaw == nullptr) return true;
  SDL_Surface* expected = SDL_ConvertSurfaceFormat(expectedRaw, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(expectedRaw);
  SDL_Surface* actual = renderer.Target();
  EXPECT_EQ(expected->w, actual->w);
  EXPECT_EQ(expected->h, actual->h);
  if (expected->w != actual->w || expected->h != actual->h) {
    SDL_FreeSurface(expected);
    return true;
  }
  double total = 0;
  long far = 0;
  for (int y = 0; y < actual->h; ++y) {
    auto* a = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(actual->pixels) + y * actual->pitch);
    auto* e = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(expected->pixels) + y * expected->pitch);
    for (int x = 0; x < actual->w; ++x) {
      int worst = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const int d = std::abs(static_cast<int>((a[x] >> shift) & 0xFF) - static_cast<int>((e[x] >> shift) & 0xFF));
        total += d;
        worst = std::max(worst, d);
      }
      if (worst > 32) ++far;
    }
  }
  const double pixels = static_cast<double>(actual->w) * actual->h;
  SDL_FreeSurface(expected);
  EXPECT_LT(total / (pixels * 4), 2.0) << "see " << actualPath;
  EXPECT_LT(far / pixels, 0.01) << "see " << actualPath;
  return true;
}

}  // namespace twtest
