// SDL events to window messages. The GUI toolkit reads Windows-style
// messages (codes, virtual keys, wParam/lParam packing); the frame's
// keyboard and mouse callbacks take the decoded arguments. Translation keeps
// the input state it needs (buttons held, last mouse position, modifiers) in
// an InputState the caller owns, so it is a plain function of its inputs.
#pragma once

#include <SDL.h>

#include <optional>
#include <vector>

#include "platform/input_state.h"
#include "platform/messages.h"

namespace plat::sdl {

struct InputState {
  unsigned buttons = 0;  // kMkLButton | kMkRButton | kMkMButton | kMkXButton1 | kMkXButton2
  int x = 0;
  int y = 0;
  Uint16 mods = 0;  // SDL_Keymod of the last event seen
};

struct KeyArgs {
  unsigned key = 0;  // virtual key
  bool down = false;
  bool alt = false;
};

struct MouseArgs {
  bool left = false, right = false, middle = false, side1 = false, side2 = false;
  int wheelDelta = 0;
  int x = 0, y = 0;
  bool move = false;  // a plain move (reported only when the frame asks for moves)
};

// One unit of input: a window message, and for key and mouse messages the
// callback arguments that go with it. Side buttons have no message of their
// own; they come as mouse arguments alone.
struct TranslatedInput {
  std::optional<Message> message;
  std::optional<KeyArgs> key;
  std::optional<MouseArgs> mouse;
};

// Windows virtual key of an SDL key code; 0 for keys the game has no code for.
unsigned VirtualKeyFromSdl(SDL_Keycode key);

// Keeps the held keys and mouse buttons of the GUI's input state in step
// with a translated message (key down/up, and the button flags of mouse
// messages).
void FeedInputState(const Message& message, KeyAndButtonState& state);

// Translates one event in order of delivery (a key down that types a
// control character gives the key message and then the character).
// Events that are not input give nothing.
std::vector<TranslatedInput> TranslateEvent(const SDL_Event& event, InputState& state);

}  // namespace plat::sdl
