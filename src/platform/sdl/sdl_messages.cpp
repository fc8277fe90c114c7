#include "platform/sdl/sdl_messages.h"

#include <cstring>
#include <string_view>

#include "platform/text.h"

namespace plat::sdl {
namespace {

// Bit 29 of a key message's lParam: Alt was held (the context code).
constexpr std::intptr_t kKeyAltBit = std::intptr_t{1} << 29;

unsigned ButtonFlagsFromSdlMask(Uint32 mask) {
  unsigned flags = 0;
  if (mask & SDL_BUTTON_LMASK) flags |= kMkLButton;
  if (mask & SDL_BUTTON_RMASK) flags |= kMkRButton;
  if (mask & SDL_BUTTON_MMASK) flags |= kMkMButton;
  if (mask & SDL_BUTTON_X1MASK) flags |= kMkXButton1;
  if (mask & SDL_BUTTON_X2MASK) flags |= kMkXButton2;
  return flags;
}

unsigned ButtonFlag(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return kMkLButton;
    case SDL_BUTTON_RIGHT: return kMkRButton;
    case SDL_BUTTON_MIDDLE: return kMkMButton;
    case SDL_BUTTON_X1: return kMkXButton1;
    case SDL_BUTTON_X2: return kMkXButton2;
    default: return 0;
  }
}

// wParam of a mouse message: the buttons held and the Shift/Ctrl keys.
std::uintptr_t MouseWParam(const InputState& state) {
  unsigned flags = state.buttons;
  if (state.mods & KMOD_SHIFT) flags |= kMkShift;
  if (state.mods & KMOD_CTRL) flags |= kMkControl;
  return flags;
}

MouseArgs MouseArgsOf(const InputState& state, int wheelDelta, bool move) {
  MouseArgs args;
  args.left = (state.buttons & kMkLButton) != 0;
  args.right = (state.buttons & kMkRButton) != 0;
  args.middle = (state.buttons & kMkMButton) != 0;
  args.side1 = (state.buttons & kMkXButton1) != 0;
  args.side2 = (state.buttons & kMkXButton2) != 0;
  args.wheelDelta = wheelDelta;
  args.x = state.x;
  args.y = state.y;
  args.move = move;
  return args;
}

// Message code of a button change; 0 for the side buttons, which have none.
unsigned ButtonMessage(Uint8 button, bool down, int clicks) {
  // Windows reports every second click of a quick series as a double click
  // (down, double, down, double ...); SDL counts the clicks of the series.
  const bool dbl = down && clicks >= 2 && clicks % 2 == 0;
  switch (button) {
    case SDL_BUTTON_LEFT: return !down ? kWmLButtonUp : dbl ? kWmLButtonDblClk : kWmLButtonDown;
    case SDL_BUTTON_RIGHT: return !down ? kWmRButtonUp : dbl ? kWmRButtonDblClk : kWmRButtonDown;
    case SDL_BUTTON_MIDDLE: return !down ? kWmMButtonUp : dbl ? kWmMButtonDblClk : kWmMButtonDown;
    default: return 0;
  }
}

// The control character a key types with Ctrl (or on its own), which SDL
// does not report as text input; 0 when it types none.
unsigned ControlCharacter(SDL_Keycode key, Uint16 mods) {
  if (key == SDLK_BACKSPACE) return 0x08;
  if (key == SDLK_RETURN || key == SDLK_KP_ENTER) return 0x0D;
  if ((mods & KMOD_CTRL) && !(mods & KMOD_ALT)) {
    switch (key) {
      case SDLK_a: return 0x01;
      case SDLK_c: return 0x03;
      case SDLK_v: return 0x16;
      case SDLK_x: return 0x18;
      default: break;
    }
  }
  return 0;
}

void TranslateKey(const SDL_KeyboardEvent& ev, InputState& state, std::vector<TranslatedInput>& out) {
  state.mods = ev.keysym.mod;
  const bool down = ev.type == SDL_KEYDOWN;
  const SDL_Keycode sym = ev.keysym.sym;
  bool alt = (ev.keysym.mod & KMOD_ALT) != 0;
  if (down && (sym == SDLK_LALT || sym == SDLK_RALT)) alt = true;

  const unsigned vk = VirtualKeyFromSdl(sym);
  if (vk != 0) {
    Message m;
    m.msg = alt ? (down ? kWmSysKeyDown : kWmSysKeyUp) : (down ? kWmKeyDown : kWmKeyUp);
    m.wParam = vk;
    std::intptr_t lParam = 1;  // repeat count
    if (alt) lParam |= kKeyAltBit;
    if (down && ev.repeat) lParam |= kKeyRepeatBit;
    if (!down) lParam |= kKeyRepeatBit | (std::intptr_t{1} << 31);  // previous state down, transition up
    m.lParam = lParam;
    TranslatedInput t;
    t.message = m;
    t.key = KeyArgs{vk, down, alt};
    out.push_back(t);
  }
  if (down) {
    if (unsigned ch = ControlCharacter(sym, ev.keysym.mod)) {
      TranslatedInput t;
      t.message = Message{kWmChar, ch, 1};
      out.push_back(t);
    }
  }
}

void TranslateText(const SDL_TextInputEvent& ev, std::vector<TranslatedInput>& out) {
  const std::string_view text(ev.text, strnlen(ev.text, sizeof(ev.text)));
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, i, cp)) {
      ++i;  // a broken byte types nothing
      continue;
    }
    // Control characters come from the key events (see ControlCharacter).
    if (cp < 0x20 || cp == 0x7F) continue;
    TranslatedInput t;
    t.message = Message{kWmChar, static_cast<std::uintptr_t>(cp), 1};
    out.push_back(t);
  }
}

}  // namespace

unsigned VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<unsigned>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<unsigned>(key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + static_cast<unsigned>(key - SDLK_F1);
  switch (key) {
    case SDLK_LEFT: return kVkLeft;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_UP: return kVkUp;
    case SDLK_DOWN: return kVkDown;
    case SDLK_HOME: return kVkHome;
    case SDLK_END: return kVkEnd;
    case SDLK_PAGEUP: return kVkPrior;
    case SDLK_PAGEDOWN: return kVkNext;
    case SDLK_INSERT: return kVkInsert;
    case SDLK_DELETE: return kVkDelete;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kVkReturn;
    case SDLK_ESCAPE: return kVkEscape;
    case SDLK_TAB: return kVkTab;
    case SDLK_BACKSPACE: return kVkBack;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return kVkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return kVkControl;
    case SDLK_LALT:
    case SDLK_RALT: return kVkMenu;
    case SDLK_KP_PLUS: return kVkAdd;
    case SDLK_KP_MINUS: return kVkSubtract;
    case SDLK_PAUSE: return kVkPause;
    default: return 0;
  }
}

std::vector<TranslatedInput> TranslateEvent(const SDL_Event& event, InputState& state) {
  std::vector<TranslatedInput> out;
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      state.x = event.motion.x;
      state.y = event.motion.y;
      state.buttons = ButtonFlagsFromSdlMask(event.motion.state);
      TranslatedInput t;
      t.message = Message{kWmMouseMove, MouseWParam(state), MakeMouseLParam(state.x, state.y)};
      t.mouse = MouseArgsOf(state, 0, true);
      out.push_back(t);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      state.x = event.button.x;
      state.y = event.button.y;
      const unsigned flag = ButtonFlag(event.button.button);
      if (flag == 0) break;  // buttons beyond the fifth
      if (down) {
        state.buttons |= flag;
      } else {
        state.buttons &= ~flag;
      }
      TranslatedInput t;
      if (unsigned code = ButtonMessage(event.button.button, down, event.button.clicks)) {
        t.message = Message{code, MouseWParam(state), MakeMouseLParam(state.x, state.y)};
      }
      t.mouse = MouseArgsOf(state, 0, false);
      out.push_back(t);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) break;  // horizontal scrolling only
      if (notches > 273) notches = 273;  // the delta is a signed 16-bit field
      if (notches < -273) notches = -273;
      const int delta = 120 * notches;
      TranslatedInput t;
      const std::uintptr_t wParam =
          (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16) | (MouseWParam(state) & 0xFFFF);
      t.message = Message{kWmMouseWheel, wParam, MakeMouseLParam(state.x, state.y)};
      t.mouse = MouseArgsOf(state, static_cast<std::int16_t>(delta), false);
      out.push_back(t);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(event.key, state, out);
      break;
    case SDL_TEXTINPUT:
      TranslateText(event.text, out);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        TranslatedInput t;
        t.message = Message{kWmActivateApp, event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ? 1u : 0u, 0};
        out.push_back(t);
      }
      break;
    default:
      break;
  }
  return out;
}

void FeedInputState(const Message& message, KeyAndButtonState& state) {
  switch (message.msg) {
    case kWmKeyDown:
    case kWmSysKeyDown:
      state.SetKeyDown(static_cast<unsigned>(message.wParam), true);
      return;
    case kWmKeyUp:
    case kWmSysKeyUp:
      state.SetKeyDown(static_cast<unsigned>(message.wParam), false);
      return;
    default:
      break;
  }
  if (message.msg >= kWmMouseMove && message.msg <= 0x020D && message.msg != kWmMouseWheel) {
    state.SetKeyDown(kVkLButton, (message.wParam & kMkLButton) != 0);
    state.SetKeyDown(kVkRButton, (message.wParam & kMkRButton) != 0);
    state.SetKeyDown(kVkMButton, (message.wParam & kMkMButton) != 0);
  }
}

}  // namespace plat::sdl
