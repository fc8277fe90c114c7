// An idle window rests: the fingerprint of a frame's draw calls, the probes
// that draw nothing, and the loop that waits for input once the picture has
// stayed the same and shows a probe only when its picture changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/frame_rest.h"
#include "platform/sdl/sdl_framework.h"
#include "platform/sdl/sdl_renderer.h"

namespace {

using namespace plat;
using namespace plat::sdl;

struct FrameRestTest : ::testing::Test {
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
};

// One frame: a clear and a texture drawn through each path; its fingerprint.
std::uint64_t DrawFrame(SdlRenderer& renderer, const Texture& texture, std::uint32_t clear) {
  renderer.Notes().Reset();
  renderer.BeginScene();
  renderer.Clear(clear);
  renderer.DrawRect(texture, {0, 0, 4, 4}, 2.0f, 2.0f, 10.0f, 10.0f, 0xFFFFFFFFu, 0.5f);
  const RectDraw rects[] = {{&texture, {0, 0, 2, 2}, 20.5f, 20.25f, 23.75f, 23.5f, 0xFFFFFFFFu}};
  renderer.DrawRects(rects, 1, 0.5f);
  const PointF corners[4] = {{30, 30}, {40, 32}, {40, 40}, {30, 40}};
  renderer.DrawQuad(texture, {0, 0, 4, 4}, corners, 0xFFFFFFFFu, 0.5f);
  renderer.EndScene();
  return renderer.Notes().Fingerprint();
}

std::uint32_t Pixel(const SdlRenderer& renderer, int x, int y) {
  const SDL_Surface* surface = renderer.Target();
  return static_cast<const std::uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x];
}

TEST_F(FrameRestTest, FingerprintTellsPicturesApartAndAProbeDrawsNothing) {
  auto renderer = CreateSoftwareRenderer(64, 64);
  ASSERT_NE(renderer, nullptr);
  auto texture = renderer->CreateTexture(4, 4);
  const std::uint64_t first = DrawFrame(*renderer, *texture, 0xFF000000u);
  EXPECT_EQ(DrawFrame(*renderer, *texture, 0xFF000000u), first);
  EXPECT_NE(DrawFrame(*renderer, *texture, 0xFF0000FFu), first);
  // The same calls over new texels are a new picture.
  int pitch = 0;
  texture->Lock(pitch)[0] = 0xFF00FF00u;
  texture->Unlock();
  const std::uint64_t written = DrawFrame(*renderer, *texture, 0xFF000000u);
  EXPECT_NE(written, first);
  // A probe gives the fingerprint of the frame it stands for and leaves
  // the picture as it was.
  ASSERT_EQ(Pixel(*renderer, 60, 60), 0xFF000000u);
  renderer->Notes().SetProbing(true);
  EXPECT_EQ(DrawFrame(*renderer, *texture, 0xFF000000u), written);
  EXPECT_NE(DrawFrame(*renderer, *texture, 0xFFFF0000u), written);
  renderer->Notes().SetProbing(false);
  EXPECT_EQ(Pixel(*renderer, 60, 60), 0xFF000000u);
}

// The loop over the software renderer: frame by frame, whether the render
// was a probe ("p") or shown ("s").
struct RestingLoop {
  explicit RestingLoop(bool mayRest)
      : fw([](SDL_Window*) -> std::unique_ptr<Renderer> { return CreateSoftwareRenderer(64, 64); }) {
    fw.SetRestCheck([mayRest] { return mayRest; });
  }
  // Runs frames frames; from frame changeAt on the picture is another, or
  // with alternate, goes back and forth between two. screens: what each
  // probe found on the screen, blue ("B") or black ("K").
  std::string Run(int frames, int changeAt, bool alternate = false) {
    EXPECT_TRUE(fw.CreateWindow(L"t"));
    EXPECT_EQ(fw.CreateDevice(true, 64, 64), 0);
    // The window's own events (shown, focus) are not the player's input.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    int moves = 0;
    std::string renders;
    fw.SetCallbackFrameMove([&](double, float) { ++moves; });
    fw.SetCallbackFrameRender([&](double, float) {
      auto& renderer = dynamic_cast<SdlRenderer&>(*fw.GetRenderer());
      renders += renderer.Notes().Probing() ? "p" : "s";
      const std::uint32_t onScreen = static_cast<const std::uint32_t*>(renderer.Target()->pixels)[0];
      if (renderer.Notes().Probing()) screens += onScreen == 0xFF0000FFu ? "B" : "K";
      const bool blue = moves >= changeAt && (!alternate || (moves - changeAt) % 2 == 0);
      renderer.Clear(blue ? 0xFF0000FFu : 0xFF000000u);
      if (moves == frames) fw.Shutdown();
    });
    fw.MainLoop();
    return renders;
  }
  SdlFramework fw;
  std::string screens;
};

TEST_F(FrameRestTest, IdleLoopRestsAfterQuietFramesAndShowsAChangedProbe) {
  RestingLoop loop(true);
  const std::string shown(FrameRest::kQuietFramesBeforeRest, 's');
  // Quiet frames, two probes that change nothing, a probe whose picture
  // changed (shown at once), and a probe again: the rest goes on.
  EXPECT_EQ(loop.Run(FrameRest::kQuietFramesBeforeRest + 4, FrameRest::kQuietFramesBeforeRest + 3),
            shown + "pp" + "ps" + "p");
}

// A picture that goes back and forth is drawn once in its new state; after
// that each change puts the other picture back without drawing it.
TEST_F(FrameRestTest, APictureThatGoesBackAndForthIsPutBackNotDrawnAgain) {
  RestingLoop loop(true);
  const int quiet = FrameRest::kQuietFramesBeforeRest;
  const std::string renders = loop.Run(quiet + 8, quiet + 1, true);
  EXPECT_EQ(renders, std::string(quiet, 's') + "ps" + std::string(7, 'p')) << loop.screens;
  // Each probe finds the picture of the frame before it on the screen.
  EXPECT_EQ(loop.screens, "KBKBKBKB");
}

TEST_F(FrameRestTest, LoopNeverRestsWithoutTheProgramsLeave) {
  RestingLoop loop(false);
  EXPECT_EQ(loop.Run(FrameRest::kQuietFramesBeforeRest + 4, 1000),
            std::string(FrameRest::kQuietFramesBeforeRest + 4, 's'));
}

}  // namespace
