// The loading screen and the scenario settings menu as the player sees them:
// the shipped wallpapers, GUI sheets, layout and English texts, over a world
// of a few countries built here. Saved as loading_menu_1024x768.png,
// scenario_settings_1024x768.png and scenario_settings_pbem_1024x768.png in
// the test's working folder for viewing.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "frame/device_events.h"
#include "dialogs/dialog_stack.h"
#include "app/gui_layout.h"
#include "gui/hint_text.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "golden_compare.h"
#include "screen_snapshot.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_resource_manager.h"
#include "platform/sdl/sdl_renderer.h"
#include "screens/loading_menu.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

struct sNation {
  const wchar_t* name;
  int alliance;
  int strength;
  bool human;
  int player;
};

void AddCountries(cWorld& world) {
  const sNation nations[] = {
      {L"Germany", kAxisLeader, 95, true, 1},  {L"Italy", kAxis, 60, false, 0},
      {L"United Kingdom", kAlliesLeader, 90, false, 0}, {L"France", kAllies, 80, true, 2},
      {L"Poland", kAllies, 45, false, 0},      {L"Soviet Union", kCominternLeader, 85, false, 0},
      {L"Sweden", kNeutral, 30, false, 0},     {L"Turkey", kNeutral, 35, false, 0},
  };
  int id = 1;
  for (const sNation& nation : nations) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->active = true;
    country->name = nation.name;
    country->alliance = nation.alliance;
    country->orientation = nation.alliance == kNeutral ? 0 : 3;
    country->politicalStrength = nation.strength;
    country->human = nation.human;
    country->pbemPlayerId = nation.player;
    country->difficulty = id % 5;
    country->socialUnrest = 12.0f + id;
    country->warEconomy = 40.0f + 5 * id;
    country->productionPoints = 120.0 * id;
    country->diplomaticPoints = 20 + id;
    country->techLevel = {2, 1, 1, 2, 0, 1, 0};
    world.Countries().push_back(std::move(country));
    ++id;
  }
  world.pbemPlayers = {{1, L"Anna", L"anna@example.com"}, {2, L"Ben", L"ben@example.com"}};
}

TEST(SettingsMenusSnapshot, DrawsTheLoadingScreenAndTheSettingsMenuIntoPngs) {
  const fs::path root = twtest::FindSourceRoot("tests/platform_sdl/settings_menus_snapshot_test.cpp");
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const fs::path outDir = fs::current_path();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    twtest::TempDir dir;
    twtest::LinkInterfaceData(root, dir.Path());
    twtest::ScopedWorkingFolder folder(dir.Path());
    twtest::CopyBuiltLanguageBase(dir.Path());
    g_StringBase.Load("lang_LANGID.db", true);
    ASSERT_TRUE(LoadGuiLayoutFile(L"data\\GUI_1024x768.csv"));
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    ASSERT_TRUE(renderer);
    twtest::FakeFramework frame(renderer.get());
    ASSERT_EQ(OnCreateDevice({1024, 768}), 0);
    ASSERT_EQ(OnResetDevice({1024, 768}), 0);
    ASSERT_GE(g_Textures[2].Load(L"data\\gfx\\console.png", cTexture::kFromFile, 1), 0);
    ASSERT_GE(g_Textures[0].Load(L"data\\gfx\\Flags\\unknown.png", cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&g_Textures[0]);
    SDL_Surface* shot = renderer->Target();
    auto pixel = [shot](int x, int y) {
      return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu;
    };

    // The loading screen draws each step at once, without a frame render.
    auto* loading = new cLoadingMenu();
    loading->SetProgress(20);
    loading->SetProgress(45);
    ASSERT_TRUE(renderer->SavePng((outDir / "loading_menu_1024x768.png").string()));
    const sLayoutRect& bar = g_GuiLayout[kLoadingProgressBarId];
    // The filled part of the bar stands out green from the dark chart and
    // from the bar's empty part.
    auto green = [&](int x, int y) { return static_cast<int>((pixel(x, y) >> 8) & 0xFF); };
    const int fill = green(bar.a + bar.c / 5, bar.b + bar.d / 2);
    EXPECT_GT(fill, green(bar.a + bar.c / 5, bar.b - 12) + 40);
    EXPECT_GT(fill, green(bar.a + bar.c * 4 / 5, bar.b + bar.d / 2) + 40);
    EXPECT_NE(pixel(5, 5), 0u);

    g_RememberedScenarioName = L"Fall Weiss, 1939";
    g_pWorld = new cWorld();
    AddCountries(*g_pWorld);
    auto* settings = new cScenarioSettingsMenu();
    DeleteRetiredMenus();
    OnFrameRender(0.0, 0.5f);
    OnFrameRender(0.5, 0.5f);
    ASSERT_TRUE(renderer->SavePng((outDir / "scenario_settings_1024x768.png").string()));
    // The wallpaper at a corner; the flag in its place.
    EXPECT_NE(pixel(5, 5), 0u);
    const sLayoutRect& flag = g_GuiLayout[kSettingsFlagId];
    EXPECT_NE(pixel(flag.a + flag.c / 2, flag.b + flag.d / 2), pixel(5, 5));

    // The e-mail page, ticked.
    auto* pages = static_cast<CDXUTTabFrame*>(settings->Dialog().GetControl(kSettingsPagesId));
    ASSERT_NE(pages, nullptr);
    pages->SelectTab(kSettingsPagePbem, true);
    g_pWorld->playByEmail = true;
    OnFrameRender(1.0, 0.5f);
    OnFrameRender(1.5, 0.5f);
    ASSERT_TRUE(renderer->SavePng((outDir / "scenario_settings_pbem_1024x768.png").string()));

    RetireCurrentMenu();
    DeleteRetiredMenus();
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
  }
  SDL_Quit();
  std::printf("pictures in: %s\n", outDir.string().c_str());
}

}  // namespace
