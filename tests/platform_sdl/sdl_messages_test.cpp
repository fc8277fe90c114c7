#include "platform/sdl/sdl_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

using namespace plat;
using namespace plat::sdl;

SDL_Event Motion(int x, int y, Uint32 buttonMask) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = buttonMask;
  return e;
}

SDL_Event Button(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = button;
  e.button.x = x;
  e.button.y = y;
  e.button.clicks = clicks;
  return e;
}

SDL_Event Key(bool down, SDL_Keycode sym, Uint16 mod = 0, bool repeat = false) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  e.key.repeat = repeat ? 1 : 0;
  return e;
}

SDL_Event Text(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
  return e;
}

TEST(SdlMessages, MouseMoveCarriesButtonsModifiersAndPosition) {
  InputState state;
  state.mods = KMOD_LSHIFT;
  auto out = TranslateEvent(Motion(-5, 700, SDL_BUTTON_LMASK | SDL_BUTTON_X2MASK), state);
  ASSERT_EQ(out.size(), 1u);
  ASSERT_TRUE(out[0].message);
  EXPECT_EQ(out[0].message->msg, kWmMouseMove);
  EXPECT_EQ(out[0].message->wParam, kMkLButton | kMkXButton2 | kMkShift);
  EXPECT_EQ(MouseX(out[0].message->lParam), -5);
  EXPECT_EQ(MouseY(out[0].message->lParam), 700);
  ASSERT_TRUE(out[0].mouse);
  EXPECT_TRUE(out[0].mouse->move);
  EXPECT_TRUE(out[0].mouse->left);
  EXPECT_FALSE(out[0].mouse->right);
  EXPECT_TRUE(out[0].mouse->side2);
  EXPECT_FALSE(out[0].key);
}

TEST(SdlMessages, ButtonsGiveWindowsCodesAndDoubleClicks) {
  struct Case {
    Uint8 button;
    unsigned down, up, dbl, flag;
  } cases[] = {{SDL_BUTTON_LEFT, kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kMkLButton},
               {SDL_BUTTON_RIGHT, kWmRButtonDown, kWmRButtonUp, kWmRButtonDblClk, kMkRButton},
               {SDL_BUTTON_MIDDLE, kWmMButtonDown, kWmMButtonUp, kWmMButtonDblClk, kMkMButton}};
  for (const Case& c : cases) {
    InputState state;
    auto down = TranslateEvent(Button(true, c.button, 10, 20), state);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].message->msg, c.down);
    EXPECT_EQ(down[0].message->wParam, c.flag);  // held after the press
    EXPECT_EQ(down[0].message->lParam, MakeMouseLParam(10, 20));
    EXPECT_FALSE(down[0].mouse->move);

    auto up = TranslateEvent(Button(false, c.button, 11, 21), state);
    EXPECT_EQ(up[0].message->msg, c.up);
    EXPECT_EQ(up[0].message->wParam, 0u);  // released
    EXPECT_EQ(state.buttons, 0u);

    EXPECT_EQ(TranslateEvent(Button(true, c.button, 11, 21, 2), state)[0].message->msg, c.dbl);
    EXPECT_EQ(TranslateEvent(Button(false, c.button, 11, 21, 2), state)[0].message->msg, c.up);
    // A third quick click starts a new pair, as on Windows.
    EXPECT_EQ(TranslateEvent(Button(true, c.button, 11, 21, 3), state)[0].message->msg, c.down);
  }
}

TEST(SdlMessages, WheelPutsDeltaInHighWordAndUsesLastPosition) {
  InputState state;
  TranslateEvent(Motion(320, 240, 0), state);
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = -2;
  auto out = TranslateEvent(e, state);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message->msg, kWmMouseWheel);
  EXPECT_EQ(WheelDelta(out[0].message->wParam), -240);
  EXPECT_EQ(out[0].message->lParam, MakeMouseLParam(320, 240));
  EXPECT_EQ(out[0].mouse->wheelDelta, -240);
  EXPECT_EQ(out[0].mouse->x, 320);

  e.wheel.y = 1;
  e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  EXPECT_EQ(TranslateEvent(e, state)[0].mouse->wheelDelta, -120);
  e.wheel.y = 100000;  // absurd counts stay inside the 16-bit field
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  EXPECT_GT(TranslateEvent(e, state)[0].mouse->wheelDelta, 0);
  e.wheel.y = 0;
  e.wheel.x = 3;  // sideways only: nothing
  EXPECT_TRUE(TranslateEvent(e, state).empty());
}

TEST(SdlMessages, VirtualKeys) {
  const std::pair<SDL_Keycode, unsigned> cases[] = {
      {SDLK_a, 'A'}, {SDLK_z, 'Z'}, {SDLK_0, '0'}, {SDLK_9, '9'}, {SDLK_F1, kVkF1}, {SDLK_F12, kVkF1 + 11}, {SDLK_LEFT, kVkLeft}, {SDLK_DOWN, kVkDown}, {SDLK_PAGEUP, kVkPrior}, {SDLK_PAGEDOWN, kVkNext}, {SDLK_HOME, kVkHome}, {SDLK_END, kVkEnd}, {SDLK_INSERT, kVkInsert}, {SDLK_DELETE, kVkDelete}, {SDLK_RETURN, kVkReturn}, {SDLK_ESCAPE, kVkEscape}, {SDLK_TAB, kVkTab}, {SDLK_BACKSPACE, kVkBack}, {SDLK_SPACE, kVkSpace}, {SDLK_RSHIFT, kVkShift}, {SDLK_LCTRL, kVkControl}, {SDLK_RALT, kVkMenu}, {SDLK_KP_PLUS, kVkAdd}, {SDLK_KP_MINUS, kVkSubtract}, {SDLK_PAUSE, kVkPause}, {SDLK_CAPSLOCK, 0u}};
  for (const auto& [sym, vk] : cases) EXPECT_EQ(VirtualKeyFromSdl(sym), vk) << sym;
}

TEST(SdlMessages, KeyDownUpRepeatAndAlt) {
  InputState state;
  auto out = TranslateEvent(Key(true, SDLK_LEFT), state);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message->msg, kWmKeyDown);
  EXPECT_EQ(out[0].message->wParam, kVkLeft);
  EXPECT_EQ(out[0].message->lParam & kKeyRepeatBit, 0);
  ASSERT_TRUE(out[0].key);
  EXPECT_EQ(out[0].key->key, kVkLeft);
  EXPECT_TRUE(out[0].key->down);
  EXPECT_FALSE(out[0].key->alt);

  out = TranslateEvent(Key(true, SDLK_LEFT, 0, true), state);
  EXPECT_NE(out[0].message->lParam & kKeyRepeatBit, 0);

  out = TranslateEvent(Key(false, SDLK_LEFT), state);
  EXPECT_EQ(out[0].message->msg, kWmKeyUp);
  EXPECT_FALSE(out[0].key->down);

  out = TranslateEvent(Key(true, SDLK_F4, KMOD_LALT), state);
  EXPECT_EQ(out[0].message->msg, kWmSysKeyDown);
  EXPECT_TRUE(out[0].key->alt);
  out = TranslateEvent(Key(false, SDLK_F4, KMOD_RALT), state);
  EXPECT_EQ(out[0].message->msg, kWmSysKeyUp);
  EXPECT_TRUE(out[0].key->alt);
  // Pressing Alt itself is a system key.
  out = TranslateEvent(Key(true, SDLK_LALT), state);
  EXPECT_EQ(out[0].message->msg, kWmSysKeyDown);
  EXPECT_EQ(out[0].key->key, kVkMenu);
  // Keys without a code give no key message.
  EXPECT_TRUE(TranslateEvent(Key(true, SDLK_CAPSLOCK), state).empty());
}

TEST(SdlMessages, ControlCharactersFollowTheirKeyMessage) {
  InputState state;
  struct Case {
    SDL_Keycode sym;
    Uint16 mod;
    unsigned ch;
  } cases[] = {{SDLK_a, KMOD_LCTRL, 0x01}, {SDLK_c, KMOD_RCTRL, 0x03}, {SDLK_v, KMOD_LCTRL, 0x16},
               {SDLK_x, KMOD_LCTRL, 0x18}, {SDLK_BACKSPACE, 0, 0x08},     {SDLK_RETURN, 0, 0x0D}};
  for (const Case& c : cases) {
    auto out = TranslateEvent(Key(true, c.sym, c.mod), state);
    ASSERT_EQ(out.size(), 2u) << c.sym;
    EXPECT_EQ(out[0].message->msg, kWmKeyDown);
    EXPECT_EQ(out[1].message->msg, kWmChar);
    EXPECT_EQ(out[1].message->wParam, c.ch);
    EXPECT_FALSE(out[1].key);  // characters go to the message callback alone
    // Releasing types nothing.
    EXPECT_EQ(TranslateEvent(Key(false, c.sym, c.mod), state).size(), 1u);
  }
  // Plain letters type through text input, not through the key.
  EXPECT_EQ(TranslateEvent(Key(true, SDLK_a), state).size(), 1u);
  EXPECT_EQ(TranslateEvent(Key(true, SDLK_b, KMOD_LCTRL), state).size(), 1u);
}

TEST(SdlMessages, TextInputGivesOneCharPerCodePoint) {
  InputState state;
  auto out = TranslateEvent(Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), state);  // a é € 😀
  ASSERT_EQ(out.size(), 4u);
  const unsigned expected[] = {'a', 0xE9, 0x20AC, 0x1F600};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out[i].message->msg, kWmChar);
    EXPECT_EQ(out[i].message->wParam, expected[i]);
  }
  // Broken bytes and control characters are dropped.
  out = TranslateEvent(Text("\xFFx\x01\xC3"), state);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message->wParam, unsigned('x'));
}

TEST(SdlMessages, FocusBecomesActivateApp) {
  InputState state;
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  auto out = TranslateEvent(e, state);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message->msg, kWmActivateApp);
  EXPECT_EQ(out[0].message->wParam, 0u);
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  EXPECT_EQ(TranslateEvent(e, state)[0].message->wParam, 1u);
  e.window.event = SDL_WINDOWEVENT_MOVED;
  EXPECT_TRUE(TranslateEvent(e, state).empty());
}

}  // namespace
