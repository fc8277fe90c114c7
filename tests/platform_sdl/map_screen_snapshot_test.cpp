// The map screen as the player sees it: the fixture scenario loaded the way
// the game loads it, the shipped skins, interface sheets, layout and English
// texts, all panels shown, drawn by the software renderer into
// map_screen_1024x768.png (and a second picture zoomed out) in the test's
// working folder for viewing.
#include <SDL.h>
#include <gtest/gtest.h>

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
#include "golden_compare.h"
#include "screen_snapshot.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_resource_manager.h"
#include "platform/sdl/sdl_renderer.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/minimap_panel.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

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

TEST(MapScreenSnapshot, DrawsTheFixtureScenarioWithAllPanels) {
  const fs::path root = twtest::FindSourceRoot("tests/platform_sdl/map_screen_snapshot_test.cpp");
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const fs::path outDir = fs::current_path();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    twtest::TempDir dir;
    twtest::LinkInterfaceData(root, dir.Path());
    const sGameStartSettings start = twtest::CopyFixtureScenario(dir.Path());
    twtest::ScopedWorkingFolder folder(dir.Path());
    twtest::CopyBuiltLanguageBase(dir.Path());
    g_StringBase.Load("lang_LANGID.db", true);
    ASSERT_TRUE(LoadGuiLayoutFile(L"data\\GUI_1024x768.csv"));
    const sSettings savedSettings = g_Settings;
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    ASSERT_TRUE(renderer);
    twtest::FakeFramework frame(renderer.get());
    ASSERT_EQ(OnCreateDevice({1024, 768}), 0);
    ASSERT_EQ(OnResetDevice({1024, 768}), 0);
    ASSERT_GE(g_Textures[2].Load(L"data\\gfx\\console.png", cTexture::kFromFile, 1), 0);
    ASSERT_GE(g_Textures[0].Load(L"data\\gfx\\Flags\\unknown.png", cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&g_Textures[0]);

    LoadWorld(start);
    ASSERT_NE(g_pWorld, nullptr);
    cWorld& world = *g_pWorld;
    CreateMapScreenPanels();
    PaintMinimap(world.GetMap());
    // The first country plays, by a human hand.
    cCountry* current = world.GetCountry(1);
    ASSERT_NE(current, nullptr);
    current->human = true;
    current->productionPoints = 184.4;
    current->diplomaticPoints = 12;
    current->strategicMovementPoints = 3;
    current->strategicMovementPointsMax = 5;
    world.turnState.currentCountry = current;
    world.turnNumber = 1;
    world.turnsLeft = 52;
    world.startDay = 1;
    world.startMonth = 9;
    world.startYear = 1939;
    world.StartGame();
    DeleteRetiredMenus();
    ASSERT_EQ(world.GetGameState(), 7);
    // The player looks at a city: the hex panel shows it.
    SetPanelMinimized(g_pHexPanel, false);
    ASSERT_FALSE(world.Cities().empty());
    const cCity& city = *world.Cities()[world.Cities().size() / 2];
    world.turnState.selectedHex = &world.GetMap().GetHex(city.x, city.y);
    GetHexPanel()->Refresh();
    // The view's column and row counts follow the first change of scale.
    world.GetMap().Zoom(1, 0, 0);
    world.GetMap().CenterAtHex(world.GetMap().GetWidth() / 2, world.GetMap().GetHeight() / 2);
    for (int i = 0; i < 40; ++i) OnInGameFrameMove(0.1 * i, 0.1f);
    for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
    ASSERT_TRUE(renderer->SavePng((outDir / "map_screen_1024x768.png").string()));

    SDL_Surface* shot = renderer->Target();
    auto pixel = [shot](int x, int y) {
      return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu;
    };
    // The bar, the minimap picture and the map are all drawn; the map is not
    // the cleared black.
    EXPECT_NE(pixel(600, 60), 0u);
    const cMinimapPanel& minimap = *GetMinimapPanel();
    EXPECT_GT(minimap.MinimapRect().width, 0);
    EXPECT_NE(pixel(minimap.MinimapRect().x + 5, minimap.MinimapRect().y + 5), 0u);
    EXPECT_NE(pixel(400, 400), 0u);

    // Zoomed out over the whole map, a drawing mode changed by its icon.
    for (int i = 0; i < 10; ++i) world.GetMap().Zoom(-1, 0, 0);
    for (int i = 0; i < 60; ++i) world.GetMap().UpdateView(0.1f);
    for (int i = 0; i < 2; ++i) OnFrameRender(2.0 + i * 0.5, 0.5f);
    ASSERT_TRUE(renderer->SavePng((outDir / "map_screen_zoomed_out_1024x768.png").string()));

    DestroyMapScreenPanels();
    delete g_pWorld;
    g_pWorld = nullptr;
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_HintText.SetControl(nullptr);
    CDXUTDialog::ClearFocus();
    SetDefaultFlagTexture(nullptr);
    for (auto& texture : g_Textures) texture.Release();
    GetGlobalDialogResourceManager().OnDestroyDevice();
    OnLostDevice();
    OnDestroyDevice();
    g_Settings = savedSettings;
  }
  SDL_Quit();
  std::printf("pictures in: %s\n", outDir.string().c_str());
}

}  // namespace
