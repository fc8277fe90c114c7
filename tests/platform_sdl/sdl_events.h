// SDL events as the input tests feed them.
#pragma once

#include <SDL.h>

#include <cstring>

namespace twtest {

inline SDL_Event Motion(int x, int y, Uint32 buttonMask = 0) {
  SDL_Event e{SDL_MOUSEMOTION};
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = buttonMask;
  return e;
}

inline SDL_Event Button(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
  SDL_Event e{static_cast<Uint32>(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP)};
  e.button.button = button;
  e.button.x = x;
  e.button.y = y;
  e.button.clicks = clicks;
  return e;
}

inline SDL_Event Key(bool down, SDL_Keycode sym, Uint16 mod = 0, bool repeat = false) {
  SDL_Event e{static_cast<Uint32>(down ? SDL_KEYDOWN : SDL_KEYUP)};
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  e.key.repeat = repeat ? 1 : 0;
  return e;
}

inline SDL_Event Text(const char* utf8) {
  SDL_Event e{SDL_TEXTINPUT};
  std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
  return e;
}

inline SDL_Event WindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
  SDL_Event e{SDL_WINDOWEVENT};
  e.window.event = what;
  e.window.data1 = data1;
  e.window.data2 = data2;
  return e;
}

}  // namespace twtest
