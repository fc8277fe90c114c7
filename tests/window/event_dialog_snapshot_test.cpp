// The event dialog as the player sees it, drawn by the software renderer
// from the shipped GUI sheet, layout and English texts, and compared with
// its golden picture: the title, the country's flag, the text, the picture
// (a stand-in drawn into the test's own folder) and the option buttons with
// the save-and-exit row of a play-by-e-mail game.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/gui_layout.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/event_dialog.h"
#include "frame/device_events.h"
#include "game_screen_fixture.h"
#include "support/world_builders.h"
#include "world/event_records.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// A 512 x 512 picture of a grey ship on the sea under an evening sky.
bool DrawStandInPicture(const fs::path& file) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888);
  if (s == nullptr) return false;
  for (int y = 0; y < 512; ++y) {
    const SDL_Rect line{0, y, 512, 1};
    const Uint8 r = static_cast<Uint8>(y < 320 ? 220 - y / 3 : 30);
    const Uint8 g = static_cast<Uint8>(y < 320 ? 150 - y / 4 : 60 + (y % 16) * 2);
    const Uint8 b = static_cast<Uint8>(y < 320 ? 90 + y / 4 : 110);
    SDL_FillRect(s, &line, SDL_MapRGB(s->format, r, g, b));
  }
  const Uint32 hull = SDL_MapRGB(s->format, 70, 74, 80);
  for (const SDL_Rect& part : {SDL_Rect{96, 290, 320, 34}, SDL_Rect{130, 262, 250, 30}, SDL_Rect{220, 214, 70, 50},
                               SDL_Rect{240, 170, 14, 46}, SDL_Rect{300, 236, 90, 8}, SDL_Rect{120, 246, 80, 8}}) {
    SDL_FillRect(s, &part, hull);
  }
  const SDL_Rect sun{380, 120, 60, 60};
  SDL_FillRect(s, &sun, SDL_MapRGB(s->format, 250, 210, 120));
  const bool saved = IMG_SavePNG(s, file.string().c_str()) == 0;
  SDL_FreeSurface(s);
  return saved;
}

class EventDialogSnapshot : public twtest::GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (HasFatalFailure()) return;
    g_pWorld = &world_;
    twtest::AddCountry(world_, 1, L"Westland");
    twtest::AddCountry(world_, 2, L"Eastmark");
    fs::create_directories(dir_.Path() / "data/events");
    ASSERT_TRUE(DrawStandInPicture(dir_.Path() / "data/events/stand_in.png"));
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }
  void Settle() {
    for (int i = 0; i < 8; ++i) OnFrameRender(i * 0.5, 0.5f);
  }

  cWorld world_;
};

TEST_F(EventDialogSnapshot, PictureTextAndFourButtons) {
  world_.playByEmail = true;
  sEvent event;
  event.eventId = 3;
  event.countryId = 2;
  event.visibleByPlayer = 1;
  event.title = L"The Fleet Puts to Sea";
  event.description =
      L"Our battle squadron has left its harbour for exercises in the northern waters. The admiralty asks "
      L"whether the ships should stay at sea to show the flag, return to port, or sail on to the straits.";
  event.image = L"stand_in.png";
  const wchar_t* options[][2] = {{L"Stay at sea", L"The squadron keeps its station"},
                                 {L"Return to port", L"The ships are safe, the crews rest"},
                                 {L"Sail to the straits", L"A bold move that may anger our neighbours"}};
  for (const auto& texts : options) {
    sEventOption option;
    option.description = texts[0];
    option.tooltip = texts[1];
    event.options.push_back(option);
  }
  auto* dialog = new cDialogEventu(world_, event);
  ASSERT_TRUE(dialog->HasPicture());
  PushDialog(dialog);
  Settle();
  // The picture stands where the layout puts its square: the sun's yellow
  // in its upper right, the hull's grey in its middle.
  const sLayoutRect& place = g_GuiLayout[cDialogEventu::kPictureId];
  const int side = std::min(place.c, place.d);
  const int left = place.a + (place.c - side) / 2;
  const int top = place.b + (place.d - side) / 2 + dialog->OffsetY();
  const auto at = [&](int px, int py) { return Pixel(left + px * side / 512, top + py * side / 512); };
  const std::uint32_t sun = at(410, 150);
  EXPECT_GT((sun >> 16) & 0xFF, 200u);
  EXPECT_GT((sun >> 8) & 0xFF, 160u);
  const std::uint32_t hull = at(250, 300);
  EXPECT_LT((hull >> 16) & 0xFF, 110u);
  ExpectGolden("event_dialog_1024x768.png");
}

}  // namespace
