#include "platform/sdl/sdl_display_loss.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace plat::sdl {

namespace {

std::atomic<DisplayLostHandler> g_handler{nullptr};

// Xlib's handler type; the display is passed as an opaque pointer.
using XIoErrorHandler = int (*)(void* display);
using XSetIoErrorHandlerFn = XIoErrorHandler (*)(XIoErrorHandler handler);

}  // namespace

int OnDisplayConnectionLost(void*) {
  if (const DisplayLostHandler handler = g_handler.load()) handler();
  std::_Exit(1);
}

bool InstallDisplayLostHandler(DisplayLostHandler handler) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return false;
  // The Xlib SDL talks to: already loaded by SDL's X11 driver, never loaded
  // here (the program does not link it itself).
  void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (xlib == nullptr) return false;
  const auto setHandler = reinterpret_cast<XSetIoErrorHandlerFn>(dlsym(xlib, "XSetIOErrorHandler"));
  if (setHandler != nullptr) {
    g_handler.store(handler);
    setHandler(&OnDisplayConnectionLost);
  }
  // The reference taken by the look-up; SDL's own keeps the library loaded.
  dlclose(xlib);
  return setHandler != nullptr;
}

}  // namespace plat::sdl
