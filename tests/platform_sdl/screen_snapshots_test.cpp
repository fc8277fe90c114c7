// The screens as the player sees them, drawn by the software renderer from
// the shipped wallpapers, GUI sheets, layout and English texts: the scenario
// menu, the loading screen and the scenario settings menu, and the map screen
// with the fixture scenario. The checks are on pixels the screens must
// cover; nothing is written outside the test's temporary folder.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
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
#include "dialogs/dialog.h"
#include "files/world_loader.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_resource_manager.h"
#include "platform/sdl/sdl_renderer.h"
#include "screens/hex_panel.h"
#include "screens/loading_menu.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/minimap_panel.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

class ScreenSnapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = twtest::FindSourceRoot("tests/platform_sdl/screen_snapshots_test.cpp");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    sdl_ = true;
    // data/gfx linked, the layout table copied, and the language base the
    // build wrote into its run folder (found above the test program).
    fs::create_directories(dir_.Path() / "data");
    fs::create_directory_symlink(root_ / "data/gfx", dir_.Path() / "data/gfx");
    fs::copy_file(root_ / "data/GUI_1024x768.csv", dir_.Path() / "data/GUI_1024x768.csv");
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    for (fs::path p = exe.parent_path(); !p.empty() && p != p.parent_path(); p = p.parent_path()) {
      if (fs::exists(p / "run/lang_ENG.db")) {
        fs::copy_file(p / "run/lang_ENG.db", dir_.Path() / "lang_ENG.db");
        break;
      }
    }
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    settings_ = g_Settings;
    g_StringBase.Load("lang_LANGID.db", true);
    ASSERT_TRUE(LoadGuiLayoutFile(L"data\\GUI_1024x768.csv"));
    renderer_ = plat::sdl::CreateSoftwareRenderer(1024, 768);
    ASSERT_TRUE(renderer_);
    frame_ = std::make_unique<twtest::FakeFramework>(renderer_.get());
    ASSERT_EQ(OnCreateDevice({1024, 768}), 0);
    ASSERT_EQ(OnResetDevice({1024, 768}), 0);
    ASSERT_GE(g_Textures[2].Load(L"data\\gfx\\console.png", cTexture::kFromFile, 1), 0);
    ASSERT_GE(g_Textures[0].Load(L"data\\gfx\\Flags\\unknown.png", cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&g_Textures[0]);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_HintText.SetControl(nullptr);
    CDXUTDialog::ClearFocus();
    SetDefaultFlagTexture(nullptr);
    for (auto& texture : g_Textures) texture.Release();
    GetGlobalDialogResourceManager().OnDestroyDevice();
    OnLostDevice();
    OnDestroyDevice();
    g_Settings = settings_;
    frame_.reset();
    renderer_.reset();
    folder_.reset();
    if (sdl_) SDL_Quit();
  }

  std::uint32_t Pixel(int x, int y) const {
    const SDL_Surface* shot = renderer_->Target();
    return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu;
  }
  // Two frames, so that the colours blend to their states.
  static void RenderFrames(double from) {
    OnFrameRender(from, 0.5f);
    OnFrameRender(from + 0.5, 0.5f);
  }

  twtest::TempDir dir_;
  fs::path root_;
  bool sdl_ = false;
  sSettings settings_;
  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  std::unique_ptr<plat::sdl::SdlRenderer> renderer_;
  std::unique_ptr<twtest::FakeFramework> frame_;
};

std::string Info(const std::string& name, int turns, const std::string& description) {
  return "[General_ENG]\nName=" + name + "\nDescriptionLine1=" + description +
         "\nObjectivesLine1=Hold the capital.\n[Misc]\nAuthor=Tidewrack team\nVersion=1.0\n[Duration]\n"
         "StartDate=01.09.1939\nEndDate=06.10.1939\nTurns=" +
         std::to_string(turns) + "\n[Map]\nSizeX=120\nSizeY=90\n";
}

// A small chart: sea, a coast, a convoy line.
void WritePicture(const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888);
  auto* px = static_cast<std::uint32_t*>(s->pixels);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      const double land = std::sin(x * 0.018) * 60 + std::cos(y * 0.023) * 50 + (x - 256) * 0.9;
      std::uint32_t c = land > 120 ? 0xFF8A9A5B : 0xFF2B4F6E;
      if (std::abs(y - (420 - x * 0.6)) < 2 && x % 20 < 12) c = 0xFFE8E0C8;
      px[y * (s->pitch / 4) + x] = c;
    }
  }
  IMG_SavePNG(s, path.c_str());
  SDL_FreeSurface(s);
}

TEST_F(ScreenSnapshot, ScenarioMenuShowsItsPictureAndAFailedStartShowsTheMessage) {
  dir_.Write("data/scenarios/1939 Poland/Info.ini", Info("Fall Weiss, 1939", 24, "The armies gather."));
  WritePicture(dir_.File("data/scenarios/1939 Poland/image.png"));
  dir_.Write("data/scenarios/1940 Channel/Info.ini", Info("Channel Convoys, 1940", 40, "Keep the convoys running."));
  fs::create_directories(dir_.Path() / "data/save");
  auto* menu = new cScenarioMenu();
  menu->FillList();
  ASSERT_EQ(menu->Entries().size(), 2u);
  RenderFrames(0.0);
  // The wallpaper shows at a corner, the picture in its place.
  EXPECT_NE(Pixel(5, 5), 0u);
  const sLayoutRect& picture = g_GuiLayout[kScenarioPictureId];
  EXPECT_NE(Pixel(picture.a + picture.c / 2, picture.b + 20), Pixel(5, 5));

  // Start of an entry whose folder has gone since the list was made: the
  // message over the menu, nothing loaded.
  fs::remove_all(dir_.Path() / "data/scenarios" / fs::path(menu->Entries()[0].folderName));
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
  ASSERT_NE(g_pActiveDialog, nullptr);
  RenderFrames(1.0);
  delete g_pCurrentMenu;
  DeleteRetiredMenus();
}

TEST_F(ScreenSnapshot, LoadingBarAndSettingsMenuWithItsFlagAndEmailPage) {
  // The loading screen draws each step at once, without a frame render; the
  // filled part of the bar stands out green from the chart and the empty part.
  auto* loading = new cLoadingMenu();
  loading->SetProgress(20);
  loading->SetProgress(45);
  const sLayoutRect& bar = g_GuiLayout[kLoadingProgressBarId];
  auto green = [&](int x, int y) { return static_cast<int>((Pixel(x, y) >> 8) & 0xFF); };
  const int fill = green(bar.a + bar.c / 5, bar.b + bar.d / 2);
  EXPECT_GT(fill, green(bar.a + bar.c / 5, bar.b - 12) + 40);
  EXPECT_GT(fill, green(bar.a + bar.c * 4 / 5, bar.b + bar.d / 2) + 40);
  EXPECT_NE(Pixel(5, 5), 0u);

  g_RememberedScenarioName = L"Fall Weiss, 1939";
  g_pWorld = new cWorld();
  const struct {
    const wchar_t* name;
    int alliance;
    bool human;
    int player;
  } nations[] = {{L"Germany", kAxisLeader, true, 1}, {L"United Kingdom", kAlliesLeader, false, 0},
                 {L"France", kAllies, true, 2},      {L"Sweden", kNeutral, false, 0}};
  for (const auto& nation : nations) {
    cCountry& country = twtest::AddCountry(*g_pWorld, nation.alliance, nation.name);
    country.active = true;
    country.human = nation.human;
    country.pbemPlayerId = nation.player;
    country.productionPoints = 120.0 * country.id;
  }
  g_pWorld->pbemPlayers = {{1, L"Anna", L"anna@example.com"}, {2, L"Ben", L"ben@example.com"}};
  auto* settings = new cScenarioSettingsMenu();
  DeleteRetiredMenus();
  RenderFrames(0.0);
  // The wallpaper at a corner; the flag in its place.
  EXPECT_NE(Pixel(5, 5), 0u);
  const sLayoutRect& flag = g_GuiLayout[kSettingsFlagId];
  EXPECT_NE(Pixel(flag.a + flag.c / 2, flag.b + flag.d / 2), Pixel(5, 5));

  // The e-mail page, ticked.
  auto* pages = static_cast<CDXUTTabFrame*>(settings->Dialog().GetControl(kSettingsPagesId));
  ASSERT_NE(pages, nullptr);
  pages->SelectTab(kSettingsPagePbem, true);
  g_pWorld->playByEmail = true;
  RenderFrames(1.0);

  RetireCurrentMenu();
  DeleteRetiredMenus();
  delete g_pWorld;
  g_pWorld = nullptr;
}

// Paints a minimap picture of the map's terrain (the fixture has none of its
// own): water blue, land in the greens and browns of the terrain.
void PaintMinimap(cMap& map) {
  constexpr int kCell = 8;
  const int w = map.GetWidth() * kCell, h = map.GetHeight() * kCell;
  cTexture& texture = map.MinimapTexture();
  ASSERT_EQ(texture.Create(w, h), 0);
  int pitch = 0;
  std::uint32_t* texels = texture.Get()->Lock(pitch);
  ASSERT_NE(texels, nullptr);
  const std::uint32_t colours[] = {0xFF2E5A86u, 0xFF8FA35Au, 0xFF4E7A3Cu, 0xFF9C8A5Au,
                                   0xFF5E7A62u, 0xFFA08E5Eu, 0xFF8A8278u, 0xFFD2BA82u};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int terrain = map.GetHex(x / kCell, y / kCell).terrain;
      texels[y * pitch + x] = colours[terrain < 8 ? terrain : 1];
    }
  }
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
  ASSERT_NE(current, nullptr);
  current->human = true;
  current->productionPoints = 184.4;
  world.turnState.currentCountry = current;
  world.turnNumber = 1;
  screen.StartGame();
  DeleteRetiredMenus();
  ASSERT_EQ(world.GetGameState(), 7);
  // The player looks at a city: the hex panel shows it.
  SetPanelMinimized(screen.HexPanel(), false);
  ASSERT_FALSE(world.Cities().empty());
  const cCity& city = *world.Cities()[world.Cities().size() / 2];
  world.turnState.selectedHex = &world.GetMap().GetHex(city.x, city.y);
  GetHexPanel()->Refresh();
  // The view's column and row counts follow the first change of scale.
  world.GetMap().Zoom(1, 0, 0);
  world.GetMap().CenterAtHex(world.GetMap().GetWidth() / 2, world.GetMap().GetHeight() / 2);
  for (int i = 0; i < 40; ++i) WorldOnFrameMoveThunk(0.1 * i, 0.1f);
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
  // The bar, the minimap picture and the map are all drawn; the map is not
  // the cleared black.
  EXPECT_NE(Pixel(600, 60), 0u);
  const cMinimapPanel& minimap = *GetMinimapPanel();
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

}  // namespace
