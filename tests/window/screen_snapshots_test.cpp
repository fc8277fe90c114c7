// The screens as the player sees them, drawn by the software renderer from
// the shipped wallpapers, GUI sheets, layout and English texts: the scenario
// menu and the map screen with the fixture scenario. The checks are on
// pixels the screens must cover; nothing is written outside the test's
// temporary folder. The loading and settings screens' drawing is covered by
// their own tests with the recording renderer; here the settings screen's
// longest side line is measured in the real fonts of every layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "frame/device_events.h"
#include "dialogs/dialog_stack.h"
#include "app/gui_layout.h"
#include "gui/hint_text.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "files/world_loader.h"
#include "dialogs/preferences_dialog.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_static.h"
#include "gui/dxut_resource_manager.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "screens/hex_panel.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/minimap_panel.h"
#include "screens/panel.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "game_screen_fixture.h"
#include "support/fixture_scenario.h"
#include "world/calendar.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

using ScreenSnapshot = twtest::GameScreenTest;

std::string Info(const std::string& name, int turns) {
  return "[General_ENG]\nName=" + name + "\nDescriptionLine1=The armies gather.\n[Duration]\nTurns=" +
         std::to_string(turns) + "\n[Map]\nSizeX=120\nSizeY=90\n";
}

// A scenario's picture: a plain sea-blue chart.
void WritePicture(const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_FillRect(s, nullptr, 0xFF2B4F6E);
  IMG_SavePNG(s, path.c_str());
  SDL_FreeSurface(s);
}

TEST_F(ScreenSnapshot, ScenarioMenuShowsItsPictureAndAFailedStartShowsTheMessage) {
  dir_.Write("data/scenarios/1939 Poland/Info.ini", Info("Fall Weiss, 1939", 24));
  WritePicture(dir_.File("data/scenarios/1939 Poland/image.png"));
  dir_.Write("data/scenarios/1940 Channel/Info.ini", Info("Channel Convoys, 1940", 40));
  fs::create_directories(dir_.Path() / "data/save");
  auto* menu = new cScenarioMenu();
  menu->FillList();
  ASSERT_EQ(menu->Entries().size(), 2u);
  for (double t : {0.0, 0.5}) OnFrameRender(t, 0.5f);  // two frames: the colours blend to their states
  // The wallpaper shows at a corner, the picture in its place.
  EXPECT_NE(Pixel(5, 5), 0u);
  const sLayoutRect& picture = g_GuiLayout[kScenarioPictureId];
  EXPECT_NE(Pixel(picture.a + picture.c / 2, picture.b + 20), Pixel(5, 5));

  // Start of an entry whose folder has gone since the list was made: the
  // message over the menu, nothing loaded.
  fs::remove_all(dir_.Path() / "data/scenarios" / fs::path(menu->Entries()[0].folderName));
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
  ASSERT_NE(g_pActiveDialog, nullptr);
  for (double t : {1.0, 1.5}) OnFrameRender(t, 0.5f);
  delete g_pCurrentMenu;
  DeleteRetiredMenus();
}

// Paints a plain green minimap picture (the fixture has none of its own).
void PaintMinimap(cMap& map) {
  const int w = map.GetWidth() * 8, h = map.GetHeight() * 8;
  cTexture& texture = map.MinimapTexture();
  ASSERT_EQ(texture.Create(w, h), 0);
  int pitch = 0;
  std::uint32_t* texels = texture.Get()->Lock(pitch);
  ASSERT_NE(texels, nullptr);
  std::fill(texels, texels + h * pitch, 0xFF4E7A3Cu);
  texture.Get()->Unlock();
  map.FitMinimapPicture(w, h);
}

TEST_F(ScreenSnapshot, MapScreenDrawsTheFixtureScenarioWithAllPanels) {
  const sGameStartSettings start = twtest::CopyFixtureScenario(dir_.Path());
  LoadWorld(start);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  world.SetView(MakeMapScreen(world));
  cMapScreen& screen = *LoadedMapScreen();
  PaintMinimap(world.GetMap());
  // The first country plays, by a human hand.
  cCountry* current = world.GetCountry(1);
  current->human = true;
  world.turnState.currentCountry = current;
  world.turnNumber = 1;
  screen.StartGame();
  DeleteRetiredMenus();
  ASSERT_EQ(world.GetGameState(), 7);
  // The player looks at a city: the hex panel shows it.
  SetPanelMinimized(screen.HexPanel(), false);
  const cCity& city = *world.Cities()[world.Cities().size() / 2];
  world.turnState.selectedHex = &world.GetMap().GetHex(city.x, city.y);
  LoadedMapScreen()->HexPanel()->Refresh();
  // The view's column and row counts follow the first change of scale.
  world.GetMap().Zoom(1, 0, 0);
  world.GetMap().CenterAtHex(world.GetMap().GetWidth() / 2, world.GetMap().GetHeight() / 2);
  for (int i = 0; i < 40; ++i) WorldOnFrameMoveThunk(0.1 * i, 0.1f);
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
  // The bar, the minimap picture and the map are all drawn; the map is not
  // the cleared black.
  EXPECT_NE(Pixel(600, 60), 0u);
  const cMinimapPanel& minimap = *LoadedMapScreen()->MinimapPanel();
  EXPECT_GT(minimap.MinimapRect().width, 0);
  EXPECT_NE(Pixel(minimap.MinimapRect().x + 5, minimap.MinimapRect().y + 5), 0u);
  EXPECT_NE(Pixel(400, 400), 0u);

  // Zoomed out over the whole map, where the kept pictures take over.
  for (int i = 0; i < 10; ++i) world.GetMap().Zoom(-1, 0, 0);
  for (int i = 0; i < 60; ++i) world.GetMap().UpdateView(0.1f);
  for (int i = 0; i < 2; ++i) OnFrameRender(2.0 + i * 0.5, 0.5f);

  delete g_pWorld;
  g_pWorld = nullptr;
}

// The unit and diplomacy panels side by side as the player opens them on a
// unit with a long commander's name: every value is drawn whole.
TEST_F(ScreenSnapshot, UnitAndDiplomacyPanelsShowALongCommandersNameWhole) {
  const sGameStartSettings start = twtest::CopyFixtureScenario(dir_.Path());
  LoadWorld(start);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  world.SetView(MakeMapScreen(world));
  cMapScreen& screen = *LoadedMapScreen();
  PaintMinimap(world.GetMap());
  cCountry* current = world.GetCountry(1);
  current->human = true;
  world.turnState.currentCountry = current;
  world.turnNumber = 1;
  screen.StartGame();
  DeleteRetiredMenus();
  cJednostkaLadowa* unit = nullptr;
  for (cJednostkaLadowa* candidate : world.Units().landUnits) {
    if (candidate->countryId == 1 && world.GetMap().IsInside(candidate->x, candidate->y)) unit = candidate;
  }
  ASSERT_NE(unit, nullptr);
  auto* commander = new cCommander();
  commander->id = 900;
  commander->countryId = 1;
  commander->name = L"Walter von Reichenau";
  commander->skill = 4;
  commander->experience = 5;
  commander->state = kCommanderAssigned;
  commander->ledUnit = unit;
  world.Units().commanders.push_back(commander);
  unit->ownCommander = commander;
  world.turnState.SelectHex(world, unit->x, unit->y);
  for (auto which : {cMapScreen::kUnit, cMapScreen::kDiplomacy}) SetPanelMinimized(screen.Panel(which), false);
  screen.RefreshSelection();
  world.GetMap().CenterAtHex(unit->x, unit->y);
  for (int i = 0; i < 40; ++i) WorldOnFrameMoveThunk(0.1 * i, 0.1f);
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
  ExpectGolden("unit_and_diplomacy_panels_1024x768.png");

  delete g_pWorld;
  g_pWorld = nullptr;
}

// The minimap's date line at its longest (the last impulse of September,
// a day of two digits, a turn of three) lies inside its box: no letter is
// cut at either end, where a strip of the box stays clear of the text's
// white.
TEST_F(ScreenSnapshot, TheLongestDateLineIsDrawnWithinItsBox) {
  const sGameStartSettings start = twtest::CopyFixtureScenario(dir_.Path());
  LoadWorld(start);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  world.SetView(MakeMapScreen(world));
  cMapScreen& screen = *LoadedMapScreen();
  PaintMinimap(world.GetMap());
  cCountry* current = world.GetCountry(1);
  current->human = true;
  world.turnState.currentCountry = current;
  world.turnNumber = 1;
  screen.StartGame();
  DeleteRetiredMenus();
  world.GetDate() = sGameDate{};
  world.GetDate().month = 9;
  world.GetDate().year = 1943;
  sGameDate& date = world.GetDate();
  while (date.turn < 12 && [&] {
    sGameDate next = date;
    ++next.turn;
    return next.GetDay(world.TurnsPerMonth()) > date.GetDay(world.TurnsPerMonth());
  }()) {
    ++date.turn;
  }
  world.turnNumber = 104;
  world.turnsLeft = 48;
  cMinimapPanel& minimap = *LoadedMapScreen()->MinimapPanel();
  minimap.RefreshDate();
  ASSERT_GE(date.GetDay(world.TurnsPerMonth()), 10);
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);

  const plat::RectI box = DXUTLayoutRect(kMinimapDateId);  // {x, y, width, height}
  const auto lit = [&](int from, int to) {
    int count = 0;
    for (int x = from; x < to; ++x) {
      for (int y = box.top; y < box.top + box.bottom; ++y) {
        const std::uint32_t p = Pixel(x, y);
        count += ((p >> 16) & 255u) > 160 && ((p >> 8) & 255u) > 160 && (p & 255u) > 160;
      }
    }
    return count;
  };
  // The text is there, and clear of both ends of its box.
  EXPECT_GT(lit(box.left + box.right / 3, box.left + 2 * box.right / 3), 20);
  EXPECT_EQ(lit(box.left, box.left + 4), 0);
  EXPECT_EQ(lit(box.left + box.right - 4, box.left + box.right), 0);

  delete g_pWorld;
  g_pWorld = nullptr;
}

// The preferences with the resolution list open: the list lies over the
// frame-rate box below it, whose text does not show through.
TEST_F(ScreenSnapshot, AnOpenResolutionListCoversTheBoxesBelowIt) {
  for (const auto& entry : fs::directory_iterator(root_ / "data")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("GUI_", 0) == 0 && !fs::exists(dir_.Path() / "data" / name)) {
      fs::copy_file(entry.path(), dir_.Path() / "data" / name);
    }
  }
  frame_->windowed = true;
  frame_->displayModes = {{1920, 1080}};
  auto* prefs = new cDialogUstawien(nullptr, [] {});
  PushDialog(prefs);
  auto* list = dynamic_cast<CDXUTComboBox*>(prefs->Dialog().GetControl(cDialogUstawien::kResolutionId));
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->GetNumItems(), 4);
  CDXUTDialog::RequestFocus(list);
  list->HandleKeyboard({plat::kWmKeyDown, plat::kVkF4, 0});  // F4 opens it
  ASSERT_TRUE(list->IsOpened());
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
  // The right half of the frame-rate box's centred text ("No limit") lies
  // under the list, clear of the list's own rows: the list's plain ground.
  const sLayoutRect& box = g_GuiLayout[cDialogUstawien::kFpsId];  // x, y, width, height
  const int centre = box.a + (box.c - box.d) / 2, middle = box.b + box.d / 2;
  const std::uint32_t ground = Pixel(centre + 6, middle);
  for (int y = middle - 3; y <= middle + 3; ++y) {
    for (int x = centre + 6; x <= centre + 20; ++x) EXPECT_EQ(Pixel(x, y), ground) << x << "," << y;
  }
  ExpectGolden("preferences_open_list_1024x768.png");
}

// The settings screen's line of the player's side with every country of
// Europe 1939 human, in every layout the game has, with and without the old
// map's button: it keeps its whole text, which the font made for the layout
// wraps within the label, below the pages and clear of the buttons.
TEST_F(ScreenSnapshot, TheSettingsSideLineHoldsEveryHumanCountryInEveryLayout) {
  fs::create_directories(dir_.Path() / "data/scenarios");
  fs::copy(root_ / "data/scenarios/Europe1939", dir_.Path() / "data/scenarios/Europe1939", fs::copy_options::recursive);
  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  ASSERT_NE(g_pWorld, nullptr);
  for (const auto& country : g_pWorld->Countries()) {
    if (country) country->human = true;
  }
  const std::wstring whole = FormatSettingsSideLine(*g_pWorld);
  const auto apart = [](const plat::RectI& a, const plat::RectI& b) {
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
  };
  int layouts = 0, width = 0, height = 0;
  for (const auto& entry : fs::directory_iterator(root_ / "data")) {
    const std::string file = entry.path().filename().string();
    if (entry.path().extension() != ".csv" || std::sscanf(file.c_str(), "GUI_%dx%d", &width, &height) != 2) continue;
    ++layouts;
    fs::copy_file(entry.path(), dir_.Path() / "data" / file, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadGuiLayoutFile(plat::WidenBytes("data\\" + file)));
    OnDestroyDevice();  // the layout's fonts are made with the device
    ASSERT_EQ(OnCreateDevice({width, height}), 0);
    for (const bool oldMap : {false, true}) {
      SCOPED_TRACE(file + (oldMap ? " with the convert button" : ""));
      if (oldMap) dir_.Write("data/scenarios/Europe1939/map.hmf", std::string(4148, '\0'));
      auto* menu = new cScenarioSettingsMenu();  // retires the one before
      DeleteRetiredMenus();
      auto* side = static_cast<CDXUTStatic*>(menu->Dialog().GetControl(kSettingsSideId));
      EXPECT_EQ(side->GetText(), whole);
      CDXUTElement element = *side->GetElement(0);
      element.dwTextFormat = plat::kTextLeft | plat::kTextWordBreak;  // drawn wrapped at the label's width
      const plat::RectI box = side->GetBoundingBox();
      plat::RectI text{0, 0, box.Width(), 0};
      ASSERT_EQ(menu->Dialog().CalcTextRect(whole.c_str(), &element, text), S_OK);
      EXPECT_TRUE(text.Width() <= box.Width() && text.Height() <= box.Height()) << text.Height() << " " << box.Height();
      const plat::RectI pages = menu->Dialog().GetControl(kSettingsPagesId)->GetBoundingBox();
      EXPECT_TRUE(box.top >= pages.bottom && box.left >= pages.left && box.right <= pages.right);
      for (int id : {kSettingsConvertMapId, kSettingsDumpEventsId, kSettingsBackId, kSettingsStartId}) {
        const CDXUTControl* button = menu->Dialog().GetControl(id);
        EXPECT_EQ(button->GetVisible(), id != kSettingsConvertMapId || oldMap) << id;
        EXPECT_TRUE(apart(box, button->GetBoundingBox()) && button->GetBoundingBox().bottom <= height) << id;
      }
    }
    fs::remove(dir_.Path() / "data/scenarios/Europe1939/map.hmf");
  }
  EXPECT_GT(layouts, 0);
  RetireCurrentMenu();
  DeleteRetiredMenus();
  delete g_pWorld;
  g_pWorld = nullptr;
}

}  // namespace
