// The GUI's held-key state fed from translated SDL input, the mouse capture
// hook, and the clipboards (in-memory default, SDL text with UTF-8).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/clipboard.h"
#include "platform/input_state.h"
#include "platform/sdl/sdl_clipboard.h"
#include "platform/sdl/sdl_messages.h"

namespace {

using namespace plat;

SDL_Event Key(bool down, SDL_Keycode key) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = key;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  return e;
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
  EXPECT_TRUE(state.IsKeyDown(kVkTab));
  feed(Key(false, SDLK_LSHIFT));
  EXPECT_FALSE(state.IsKeyDown(kVkShift));
  EXPECT_TRUE(state.IsKeyDown(kVkTab));

  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.button = SDL_BUTTON_LEFT;
  press.button.clicks = 1;
  feed(press);
  EXPECT_TRUE(state.IsMouseButtonDown(kVkLButton));
  SDL_Event release = press;
  release.type = SDL_MOUSEBUTTONUP;
  feed(release);
  EXPECT_FALSE(state.IsMouseButtonDown(kVkLButton));
  EXPECT_FALSE(state.IsKeyDown(1000));  // out of range: never held

  int changes = 0;
  state.SetCaptureHook([&](bool) { ++changes; });
  state.SetCapture(true);
  state.SetCapture(true);
  state.Reset();
  EXPECT_FALSE(state.HasCapture());
  EXPECT_FALSE(state.IsKeyDown(kVkTab));
  EXPECT_EQ(changes, 2);
}

TEST(Clipboard, InMemoryByDefaultAndTheSdlOneRoundTripsWideText) {
  SetClipboard(nullptr);
  GetMemoryClipboard().Clear();
  EXPECT_FALSE(GetClipboard().GetText().has_value());
  EXPECT_TRUE(GetClipboard().SetText(L"caf\u00e9"));
  EXPECT_EQ(GetClipboard().GetText().value_or(L""), L"caf\u00e9");

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
