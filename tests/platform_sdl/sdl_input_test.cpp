// SDL input as the game sees it: events translated into Windows messages
// and the key and mouse callbacks' arguments, the GUI's held-key state fed
// from them with the mouse capture hook, and the SDL clipboard's UTF-8.
#include "platform/sdl/sdl_messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/input_state.h"
#include "platform/sdl/sdl_clipboard.h"
#include "sdl_events.h"

namespace {

using namespace plat;
using namespace plat::sdl;
using twtest::Button;
using twtest::Key;
using twtest::Motion;
using twtest::Text;
using Pairs = std::vector<std::pair<unsigned, std::uintptr_t>>;

// The code and wParam of each message an event gave.
Pairs Messages(const std::vector<TranslatedInput>& out) {
  Pairs messages;
  for (const TranslatedInput& input : out) {
    if (input.message) messages.emplace_back(input.message->msg, input.message->wParam);
  }
  return messages;
}

TEST(SdlMessages, MouseMoveAndWheelCarryButtonsModifiersAndPosition) {
  InputState state;
  state.mods = KMOD_LSHIFT;
  auto out = TranslateEvent(Motion(-5, 700, SDL_BUTTON_LMASK | SDL_BUTTON_X2MASK), state);
  EXPECT_EQ(Messages(out), (Pairs{{kWmMouseMove, kMkLButton | kMkXButton2 | kMkShift}}));
  ASSERT_TRUE(out.size() == 1 && out[0].mouse);
  EXPECT_EQ(out[0].message->lParam, MakeMouseLParam(-5, 700));
  EXPECT_EQ(MouseX(out[0].message->lParam), -5);
  const MouseArgs& mouse = *out[0].mouse;
  EXPECT_TRUE(mouse.move && mouse.left && mouse.side2);
  EXPECT_FALSE(mouse.right || out[0].key);

  // The wheel: the delta in the high word, at the last position.
  SDL_Event e{SDL_MOUSEWHEEL};
  e.wheel.y = -2;
  out = TranslateEvent(e, state);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message->msg, kWmMouseWheel);
  EXPECT_EQ(WheelDelta(out[0].message->wParam), -240);
  EXPECT_EQ(out[0].message->lParam, MakeMouseLParam(-5, 700));
  EXPECT_EQ(out[0].mouse->wheelDelta, -240);
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

TEST(SdlMessages, ButtonsGiveWindowsCodesAndDoubleClicks) {
  // The button, its down, up and double-click messages, and its held flag.
  const std::tuple<Uint8, unsigned, unsigned, unsigned, unsigned> cases[] = {
      {SDL_BUTTON_LEFT, kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kMkLButton},
      {SDL_BUTTON_RIGHT, kWmRButtonDown, kWmRButtonUp, kWmRButtonDblClk, kMkRButton},
      {SDL_BUTTON_MIDDLE, kWmMButtonDown, kWmMButtonUp, kWmMButtonDblClk, kMkMButton}};
  for (const auto& [button, downMsg, upMsg, dblMsg, flag] : cases) {
    InputState state;
    auto down = TranslateEvent(Button(true, button, 10, 20), state);
    EXPECT_EQ(Messages(down), (Pairs{{downMsg, flag}}));  // held after the press
    EXPECT_EQ(down[0].message->lParam, MakeMouseLParam(10, 20));
    EXPECT_FALSE(down[0].mouse->move);
    EXPECT_EQ(Messages(TranslateEvent(Button(false, button, 11, 21), state)), (Pairs{{upMsg, 0}}));  // released

    EXPECT_EQ(TranslateEvent(Button(true, button, 11, 21, 2), state)[0].message->msg, dblMsg);
    EXPECT_EQ(TranslateEvent(Button(false, button, 11, 21, 2), state)[0].message->msg, upMsg);
    // A third quick click starts a new pair, as on Windows.
    EXPECT_EQ(TranslateEvent(Button(true, button, 11, 21, 3), state)[0].message->msg, downMsg);
  }
}

TEST(SdlMessages, VirtualKeys) {
  const std::pair<SDL_Keycode, unsigned> cases[] = {
      {SDLK_a, 'A'}, {SDLK_z, 'Z'}, {SDLK_0, '0'}, {SDLK_9, '9'}, {SDLK_F1, kVkF1}, {SDLK_F12, kVkF12}, {SDLK_LEFT, kVkLeft}, {SDLK_DOWN, kVkDown}, {SDLK_PAGEUP, kVkPrior}, {SDLK_PAGEDOWN, kVkNext}, {SDLK_HOME, kVkHome}, {SDLK_END, kVkEnd}, {SDLK_INSERT, kVkInsert}, {SDLK_DELETE, kVkDelete}, {SDLK_RETURN, kVkReturn}, {SDLK_ESCAPE, kVkEscape}, {SDLK_TAB, kVkTab}, {SDLK_BACKSPACE, kVkBack}, {SDLK_SPACE, kVkSpace}, {SDLK_RSHIFT, kVkShift}, {SDLK_LCTRL, kVkControl}, {SDLK_RALT, kVkMenu}, {SDLK_KP_PLUS, kVkAdd}, {SDLK_KP_MINUS, kVkSubtract}, {SDLK_PAUSE, kVkPause}, {SDLK_CAPSLOCK, 0u}};
  for (const auto& [sym, vk] : cases) EXPECT_EQ(VirtualKeyFromSdl(sym), vk) << sym;
}

// A key gives one message and the key callback's arguments; with Alt held,
// or Alt itself pressed, a system key.
TEST(SdlMessages, KeysAndFocusGiveOneMessage) {
  const std::tuple<SDL_Event, unsigned, unsigned, bool> rows[] = {  // event, message, wParam, Alt
      {Key(true, SDLK_LEFT), kWmKeyDown, kVkLeft, false},
      {Key(false, SDLK_LEFT), kWmKeyUp, kVkLeft, false},
      {Key(true, SDLK_F4, KMOD_LALT), kWmSysKeyDown, kVkF4, true},
      {Key(false, SDLK_F4, KMOD_RALT), kWmSysKeyUp, kVkF4, true},
      {Key(true, SDLK_LALT), kWmSysKeyDown, kVkMenu, true},
      {twtest::WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), kWmActivateApp, 0, false},
      {twtest::WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), kWmActivateApp, 1, false},
  };
  InputState state;
  for (const auto& [event, msg, wParam, alt] : rows) {
    auto out = TranslateEvent(event, state);
    EXPECT_EQ(Messages(out), (Pairs{{msg, wParam}}));
    if (out.size() != 1 || msg == kWmActivateApp) continue;
    const bool down = event.type == SDL_KEYDOWN;
    EXPECT_FALSE(down && (out[0].message->lParam & kKeyRepeatBit) != 0);  // a first press
    ASSERT_TRUE(out[0].key);
    EXPECT_EQ(std::tuple(out[0].key->key, out[0].key->down, out[0].key->alt), std::tuple(wParam, down, alt));
  }
  EXPECT_NE(TranslateEvent(Key(true, SDLK_LEFT, 0, true), state)[0].message->lParam & kKeyRepeatBit, 0);
  // Keys without a code and other window events give nothing.
  EXPECT_TRUE(TranslateEvent(Key(true, SDLK_CAPSLOCK), state).empty());
  EXPECT_TRUE(TranslateEvent(twtest::WindowEvent(SDL_WINDOWEVENT_MOVED), state).empty());
}

TEST(SdlMessages, ControlCharactersFollowTheirKeyMessage) {
  InputState state;
  const std::tuple<SDL_Keycode, Uint16, unsigned> cases[] = {  // key, modifiers, character
      {SDLK_a, KMOD_LCTRL, 0x01}, {SDLK_c, KMOD_RCTRL, 0x03}, {SDLK_v, KMOD_LCTRL, 0x16},
      {SDLK_x, KMOD_LCTRL, 0x18}, {SDLK_BACKSPACE, 0, 0x08},     {SDLK_RETURN, 0, 0x0D}};
  for (const auto& [sym, mod, ch] : cases) {
    auto out = TranslateEvent(Key(true, sym, mod), state);
    EXPECT_EQ(Messages(out), (Pairs{{kWmKeyDown, VirtualKeyFromSdl(sym)}, {kWmChar, ch}})) << sym;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_FALSE(out[1].key);  // characters go to the message callback alone
    // Releasing types nothing.
    EXPECT_EQ(TranslateEvent(Key(false, sym, mod), state).size(), 1u);
  }
  // Plain letters type through text input, not through the key.
  EXPECT_EQ(TranslateEvent(Key(true, SDLK_a), state).size(), 1u);
  EXPECT_EQ(TranslateEvent(Key(true, SDLK_b, KMOD_LCTRL), state).size(), 1u);
}

TEST(SdlMessages, TextInputGivesOneCharPerCodePoint) {
  InputState state;
  EXPECT_EQ(Messages(TranslateEvent(Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), state)),  // a é € 😀
            (Pairs{{kWmChar, 'a'}, {kWmChar, 0xE9}, {kWmChar, 0x20AC}, {kWmChar, 0x1F600}}));
  // Broken bytes and control characters are dropped.
  EXPECT_EQ(Messages(TranslateEvent(Text("\xFFx\x01\xC3"), state)), (Pairs{{kWmChar, 'x'}}));
}

TEST(InputState, TranslatedKeysAndButtonsKeepTheStateInStep) {
  KeyAndButtonState state;
  sdl::InputState translation;
  auto feed = [&](const SDL_Event& e) {
    for (const sdl::TranslatedInput& input : sdl::TranslateEvent(e, translation)) {
      if (input.message) sdl::FeedInputState(*input.message, state);
    }
  };
  feed(Key(true, SDLK_LSHIFT));
  EXPECT_TRUE(state.IsKeyDown(kVkShift));
  feed(Key(true, SDLK_TAB));
  feed(Key(false, SDLK_LSHIFT));
  EXPECT_FALSE(state.IsKeyDown(kVkShift));
  EXPECT_TRUE(state.IsKeyDown(kVkTab));

  feed(twtest::Button(true, SDL_BUTTON_LEFT, 0, 0));
  EXPECT_TRUE(state.IsKeyDown(kVkLButton));
  feed(twtest::Button(false, SDL_BUTTON_LEFT, 0, 0));
  EXPECT_FALSE(state.IsKeyDown(kVkLButton));
  EXPECT_FALSE(state.IsKeyDown(1000));  // out of range: never held

  int changes = 0;
  state.SetCaptureHook([&](bool) { ++changes; });
  state.SetCapture(true);
  state.SetCapture(true);
  state.SetCapture(false);
  EXPECT_FALSE(state.HasCapture());
  EXPECT_EQ(changes, 2);
}

TEST(Clipboard, InMemoryByDefaultAndTheSdlOneRoundTripsWideText) {
  // The in-memory clipboard's own behaviour is the edit box tests' subject.
  SetClipboard(nullptr);
  EXPECT_TRUE(GetClipboard().SetText(L"caf\u00e9"));

  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  sdl::SdlClipboard system;
  SetClipboard(&system);
  // The dummy video driver keeps clipboard text in SDL itself.
  if (GetClipboard().SetText(L"Stra\u00dfe \u20ac")) {
    EXPECT_EQ(GetClipboard().GetText().value_or(L""), L"Stra\u00dfe \u20ac");
  }
  SetClipboard(nullptr);
  SDL_Quit();
  EXPECT_EQ(GetClipboard().GetText().value_or(L""), L"caf\u00e9");
}

}  // namespace
