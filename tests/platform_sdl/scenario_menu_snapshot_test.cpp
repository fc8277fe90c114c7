// The scenario menu as the player sees it: the shipped wallpaper, GUI sheets,
// layout and English texts, a fixture list of three scenarios (one with a
// picture), drawn by the frame render into the software renderer and saved
// as scenario_menu_1024x768.png in the test's working folder for viewing.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
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
#include "gui/dxut_resource_manager.h"
#include "platform/input_state.h"
#include "screens/main_menu.h"
#include "screens/scenario_menu.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string Info(const std::string& name, const std::string& author, int turns, int x, int y,
                 const std::string& start, const std::string& end,
                 std::initializer_list<const char*> description, const char* objective) {
  std::string s = "[General_ENG]\nName=" + name + "\n";
  int line = 1;
  for (const char* text : description) s += "DescriptionLine" + std::to_string(line++) + "=" + text + "\n";
  s += std::string("ObjectivesLine1=") + objective + "\n";
  s += "[Misc]\nAuthor=" + author + "\nVersion=1.0\n[Duration]\nStartDate=" + start + "\nEndDate=" + end +
       "\nTurns=" + std::to_string(turns) + "\n[Map]\nSizeX=" + std::to_string(x) + "\nSizeY=" +
       std::to_string(y) + "\n";
  return s;
}

// A small chart: sea, two coasts, a convoy line.
void WritePicture(const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888);
  auto* px = static_cast<std::uint32_t*>(s->pixels);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      const double land = std::sin(x * 0.018) * 60 + std::cos(y * 0.023) * 50 + (x - 256) * 0.9;
      std::uint32_t c = 0xFF2B4F6E + static_cast<std::uint32_t>((y / 8) % 2);
      if (land > 120) c = 0xFF8A9A5B;
      else if (land > 100) c = 0xFFC8B888;
      else if (x < 110 && y > 300 - x / 2) c = 0xFF7A8A4E;
      if (std::abs(y - (420 - x * 0.6)) < 2 && x % 20 < 12) c = 0xFFE8E0C8;
      if (x < 6 || y < 6 || x > 505 || y > 505) c = 0xFF3A2A18;
      px[y * (s->pitch / 4) + x] = c;
    }
  }
  IMG_SavePNG(s, path.c_str());
  SDL_FreeSurface(s);
}

TEST(ScenarioMenuSnapshot, DrawsTheFilledMenuIntoAPng) {
  const fs::path root = twtest::FindSourceRoot("tests/platform_sdl/scenario_menu_snapshot_test.cpp");
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const fs::path out = fs::current_path() / "scenario_menu_1024x768.png";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    twtest::TempDir dir;
    twtest::LinkInterfaceData(root, dir.Path());
    dir.Write("data/scenarios/1939 Poland/Info.ini",
              Info("Fall Weiss, 1939", "Tidewrack team", 24, 120, 90, "01.09.1939", "06.10.1939",
                   {"September 1939. The armies gather on the borders.",
                    "Hold the line until the autumn rains, or break through to the capital",
                    "before the western allies can move."},
                   "Take or hold the capital by the last turn."));
    WritePicture(dir.File("data/scenarios/1939 Poland/image.png"));
    dir.Write("data/scenarios/1940 Channel/Info.ini",
              Info("Channel Convoys, 1940", "Tidewrack team", 40, 80, 60, "10.07.1940", "31.10.1940",
                   {"Keep the convoys running."}, "Lose fewer than ten convoys."));
    dir.Write("data/scenarios/1941 North Atlantic/Info.ini",
              Info("The Long Watch, 1941", "Tidewrack team", 60, 160, 110, "01.03.1941", "31.12.1941",
                   {"Wolf packs and escorts."}, "Keep Britain supplied."));
    fs::create_directories(dir.Path() / "data/save");
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

    auto* menu = new cScenarioMenu();
    menu->FillList();
    ASSERT_EQ(menu->Entries().size(), 3u);
    OnFrameRender(0.0, 0.5f);
    OnFrameRender(0.5, 0.5f);  // colours blended to their states
    ASSERT_TRUE(renderer->SavePng(out.string()));

    // The wallpaper shows at a corner, the picture in its place.
    SDL_Surface* shot = renderer->Target();
    auto pixel = [shot](int x, int y) {
      return static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu;
    };
    EXPECT_NE(pixel(5, 5), 0u);
    const sLayoutRect& picture = g_GuiLayout[kScenarioPictureId];
    EXPECT_NE(pixel(picture.a + picture.c / 2, picture.b + 20), pixel(5, 5));

    // Start of an entry whose folder has gone since the list was made: the
    // message over the menu, nothing loaded.
    fs::remove_all(dir.Path() / "data/scenarios" / fs::path(menu->Entries()[0].folderName));
    menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
    ASSERT_NE(g_pActiveDialog, nullptr);
    OnFrameRender(1.0, 0.5f);
    OnFrameRender(1.5, 0.5f);
    ASSERT_TRUE(renderer->SavePng((out.parent_path() / "scenario_menu_start_failed.png").string()));

    delete g_pCurrentMenu;
    DeleteRetiredMenus();
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_HintText.SetControl(nullptr);
    CDXUTDialog::ClearFocus();
    GetGlobalDialogResourceManager().OnDestroyDevice();
    OnLostDevice();
    OnDestroyDevice();
  }
  SDL_Quit();
  std::printf("picture: %s\n", out.string().c_str());
}

}  // namespace
