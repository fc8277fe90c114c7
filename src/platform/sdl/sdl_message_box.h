// The message box through SDL.
#pragma once

struct SDL_Window;

namespace plat::sdl {

// True when the video driver of that name shows nothing ("dummy",
// "offscreen"; name may be null).
bool IsHeadlessDriver(const char* name);
// True when SDL runs without a screen (video driver "dummy" or "offscreen",
// by the driver in use or by SDL_VIDEODRIVER): no box can be seen there, and
// a modal one would wait for nobody.
bool IsHeadlessVideo();
// Installs the handler of plat::ShowMessageBox that shows an information
// box over window (may be null), and skips it in headless runs.
void InstallSdlMessageBox(SDL_Window* window);

}  // namespace plat::sdl
