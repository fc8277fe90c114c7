// What the tests of the game's screens drawn by the software renderer
// share: a working folder with data/gfx linked, the layout table copied and
// the language base the build wrote into its run folder (found above the
// test program), the device created and reset, the interface sheet and the
// default flag loaded; and the way back, every dialog closed and the device
// destroyed.
#pragma once

#include <filesystem>
#include <memory>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "frame/device_events.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_resource_manager.h"
#include "gui/hint_text.h"
#include "sdl_fixture.h"
#include "world/country.h"
#include "world/map.h"

namespace twtest {

class GameScreenTest : public SdlTest {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
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
    folder_ = std::make_unique<ScopedWorkingFolder>(dir_.Path());
    settings_ = g_Settings;
    settings_ini_ = g_SettingsIni;
    zoom_level_ = g_MapZoomLevel;
    target_scale_ = g_MapTargetScale;
    g_StringBase.Load("lang_LANGID.db", true);
    ASSERT_TRUE(LoadGuiLayoutFile(L"data\\GUI_1024x768.csv"));
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
    // The map's zoom outlives a game in the process (and is saved with the
    // settings); each test starts from the same.
    g_SettingsIni = settings_ini_;
    g_MapZoomLevel = zoom_level_;
    g_MapTargetScale = target_scale_;
    SdlTest::TearDown();
    folder_.reset();
  }

  sSettings settings_;
  cIniFile settings_ini_;
  float zoom_level_ = 1.0f, target_scale_ = 1.0f;
  std::unique_ptr<ScopedWorkingFolder> folder_;
};

}  // namespace twtest
