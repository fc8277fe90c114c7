#include "platform/sdl/renderer_choice.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using plat::sdl::ChooseRenderDriver;
using plat::sdl::DrawInSoftwareInstead;
using plat::sdl::NamesSoftwareRasteriser;

TEST(RendererChoice, MesasSoftwareRasterisersAreToldFromDriversOfGraphicsHardware) {
  for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 swrast",
                               "Software Rasterizer", "LLVMPIPE"}) {
    EXPECT_TRUE(NamesSoftwareRasteriser(software)) << software;
  }
  for (const char* hardware : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                               "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)",
                               "SVGA3D; build: RELEASE; LLVM;", "virgl (Intel(R) Iris(R) Xe Graphics)", ""}) {
    EXPECT_FALSE(NamesSoftwareRasteriser(hardware)) << hardware;
  }
}

TEST(RendererChoice, OnlyAnOpenGlRendererOnASoftwareRasteriserWithNoDriverAskedForGivesWay) {
  int asked = 0;
  const auto llvmpipe = [&asked] {
    ++asked;
    return std::string("llvmpipe (LLVM 15.0.6, 256 bits)");
  };
  EXPECT_TRUE(DrawInSoftwareInstead(nullptr, "opengl", llvmpipe));
  EXPECT_TRUE(DrawInSoftwareInstead("", "opengles2", llvmpipe));
  EXPECT_EQ(asked, 2);
  // A hardware GL stays.
  EXPECT_FALSE(DrawInSoftwareInstead(nullptr, "opengl", [] { return std::string("Mesa Intel(R) HD Graphics"); }));
  // A driver asked for by name decides, and the GL is not even asked then;
  // nor is it for a renderer that is no GL one.
  EXPECT_FALSE(DrawInSoftwareInstead("opengl", "opengl", llvmpipe));
  EXPECT_FALSE(DrawInSoftwareInstead("software", "software", llvmpipe));
  EXPECT_FALSE(DrawInSoftwareInstead(nullptr, "software", llvmpipe));
  EXPECT_FALSE(DrawInSoftwareInstead(nullptr, "direct3d", llvmpipe));
  EXPECT_EQ(asked, 2);
}

// No child is forked to ask the GL when a renderer is asked for or the
// video driver has no GL windows; the choice is left as it stands.
TEST(RendererChoice, ARendererAskedForOrAVideoDriverWithoutGlWindowsIsLeftAsItIs) {
  setenv("SDL_RENDER_DRIVER", "opengl", 1);
  EXPECT_EQ(ChooseRenderDriver(), "asked for by SDL_RENDER_DRIVER=opengl");
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_RENDER_DRIVER), "opengl");
  unsetenv("SDL_RENDER_DRIVER");
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_EQ(ChooseRenderDriver(), "SDL's choice");
  EXPECT_EQ(SDL_GetHint(SDL_HINT_RENDER_DRIVER), nullptr);
}

}  // namespace
