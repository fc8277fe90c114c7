// Which renderer the game's window draws with. Left to itself SDL takes an
// OpenGL renderer wherever there is a GL, also where the only GL is Mesa's
// software rasteriser (a machine without a graphics driver, a virtual
// display): every frame then goes through the GL pipeline in software, at
// several times the cost of SDL's own software renderer, whose idle frames
// rest on a copy of pixels (the kept and former pictures), and the driver
// with its LLVM takes some 60 MB. There the window draws with the software
// renderer instead. A renderer asked for by name (SDL_RENDER_DRIVER, in the
// environment or as a hint) always decides.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace plat::sdl {

// Whether a GL_RENDERER text names a software rasteriser: Mesa's llvmpipe,
// softpipe or swrast ("Software Rasterizer").
bool NamesSoftwareRasteriser(std::string_view glRenderer);

// Whether the window takes the software renderer in place of the one SDL
// would try first (its render driver's name): no driver asked for
// (askedDriver null or empty), an OpenGL renderer, and glRenderer (asked only
// then) names a software rasteriser.
bool DrawInSoftwareInstead(const char* askedDriver, std::string_view rendererName,
                           const std::function<std::string()>& glRenderer);

// Called once before SDL's video is brought up. Where DrawInSoftwareInstead
// says so, asks SDL for its software renderer (the SDL_RENDER_DRIVER hint at
// its lowest priority). The GL is asked in a child process of its own, so
// that its driver is never loaded into the game; a video driver without GL
// windows (dummy, offscreen) is not asked. Returns how the renderer comes to
// be chosen, for the log.
std::string ChooseRenderDriver();

}  // namespace plat::sdl
