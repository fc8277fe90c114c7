// What the drawing tests share: SDL's video under the dummy driver, a
// software renderer handed to a fake frame, the source tree, a temporary
// folder, and the comparison of the picture with a committed golden PNG.
#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "platform/sdl/sdl_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace twtest {

class SdlTest : public ::testing::Test {
 protected:
  explicit SdlTest(int width = 1024, int height = 768) : width_(width), height_(height) {}
  void SetUp() override {
    root_ = FindSourceRoot("tests/window/sdl_fixture.h");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    sdl_ = true;
    renderer_ = plat::sdl::CreateSoftwareRenderer(width_, height_);
    ASSERT_TRUE(renderer_);
    frame_ = std::make_unique<FakeFramework>(renderer_.get());
  }
  // The frame goes first: it lets go of what the toolkit made on the renderer.
  void TearDown() override {
    frame_.reset();
    renderer_.reset();
    if (sdl_) SDL_Quit();
  }

  // A pixel of the picture, without its alpha.
  std::uint32_t Pixel(int x, int y) const {
    const SDL_Surface* shot = renderer_->Target();
    return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu;
  }

  // Fails the test when the picture differs from tests/data/golden/<name>
  // (a mean channel difference of 2 or more, or 1 % of the pixels off by
  // more than 32) and keeps the picture in the temporary folder; with
  // TW_UPDATE_GOLDEN=1 rewrites the golden instead and skips the test.
  void ExpectGolden(const std::string& name) {
    const std::filesystem::path golden = root_ / "tests/data/golden" / name;
    const char* update = std::getenv("TW_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
      EXPECT_TRUE(renderer_->SavePng(golden.string()));
      GTEST_SKIP() << "golden picture rewritten: " << golden;
    }
    const std::string actualPath = dir_.File(name);
    EXPECT_TRUE(renderer_->SavePng(actualPath));
    SDL_Surface* expectedRaw = IMG_Load(golden.string().c_str());
    ASSERT_NE(expectedRaw, nullptr) << golden << ": " << IMG_GetError();
    SDL_Surface* expected = SDL_ConvertSurfaceFormat(expectedRaw, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(expectedRaw);
    const SDL_Surface* actual = renderer_->Target();
    const bool sameSize = expected->w == actual->w && expected->h == actual->h;
    EXPECT_TRUE(sameSize) << expected->w << "x" << expected->h << " against " << actual->w << "x" << actual->h;
    double total = 0;
    long far = 0;
    for (int y = 0; sameSize && y < actual->h; ++y) {
      const auto* a = static_cast<const std::uint8_t*>(actual->pixels) + y * actual->pitch;
      const auto* e = static_cast<const std::uint8_t*>(expected->pixels) + y * expected->pitch;
      for (int x = 0, worst = 0; x < actual->w * 4; ++x) {
        const int d = std::abs(a[x] - e[x]);
        total += d;
        worst = std::max(worst, d);
        if (x % 4 == 3) far += std::exchange(worst, 0) > 32 ? 1 : 0;
      }
    }
    SDL_FreeSurface(expected);
    const double pixels = static_cast<double>(actual->w) * actual->h;
    EXPECT_LT(total / (pixels * 4), 2.0) << "see " << actualPath;
    EXPECT_LT(far / pixels, 0.01) << "see " << actualPath;
  }

  TempDir dir_;
  std::filesystem::path root_;
  std::unique_ptr<plat::sdl::SdlRenderer> renderer_;
  std::unique_ptr<FakeFramework> frame_;

 private:
  int width_, height_;
  bool sdl_ = false;
};

}  // namespace twtest
