#include "platform/sdl/sdl_display_loss.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace plat::sdl {

namespace {

std::atomic<DisplayLostHandler> g_handler{nullptr};

// Xlib's handler types; the display and the error event are passed as
// opaque pointers.
using XIoErrorHandler = int (*)(void* display);
using XSetIoErrorHandlerFn = XIoErrorHandler (*)(XIoErrorHandler handler);
using XErrorHandler = int (*)(void* display, void* errorEvent);
using XSetErrorHandlerFn = XErrorHandler (*)(XErrorHandler handler);

[[noreturn]] void EndForLostDisplay() {
  if (const DisplayLostHandler handler = g_handler.load()) handler();
  std::_Exit(1);
}

// What Xlib calls on a failed request.
int OnDisplayRequestFailed(void*, void*) { EndForLostDisplay(); }

}  // namespace

int OnDisplayConnectionLost(void*) { EndForLostDisplay(); }

bool InstallDisplayLostHandler(DisplayLostHandler handler) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return false;
  // The Xlib SDL talks to: already loaded by SDL's X11 driver, never loaded
  // here (the program does not link it itself).
  void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (xlib == nullptr) return false;
  const auto setIoHandler = reinterpret_cast<XSetIoErrorHandlerFn>(dlsym(xlib, "XSetIOErrorHandler"));
  const auto setHandler = reinterpret_cast<XSetErrorHandlerFn>(dlsym(xlib, "XSetErrorHandler"));
  const bool found = setIoHandler != nullptr && setHandler != nullptr;
  if (found) {
    g_handler.store(handler);
    setIoHandler(&OnDisplayConnectionLost);
    // SDL's own handler (which puts a changed video mode back, then lets
    // Xlib's default print the error and call exit()) is replaced: a failed
    // request ends the game here. SDL's calls that expect an error set a
    // handler of their own around them and put this one back.
    setHandler(&OnDisplayRequestFailed);
  }
  // The reference taken by the look-up; SDL's own keeps the library loaded.
  dlclose(xlib);
  return found;
}

}  // namespace plat::sdl
