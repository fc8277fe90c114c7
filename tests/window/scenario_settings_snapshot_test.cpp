// The scenario settings screen as the player sees it, over the fixture
// scenario with an old map in its folder: the map conversion's button in
// the row of the dump, back and start buttons, at 1024 x 768 and on a wide
// screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/world_loader.h"
#include "game_screen_fixture.h"
#include "gui/dxut_control.h"
#include "screens/menu.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "support/fixture_scenario.h"
#include "world/world.h"

namespace {

class ScenarioSettingsSnapshot : public twtest::GameScreenTest {
 protected:
  using GameScreenTest::GameScreenTest;

  void TearDown() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
    delete g_pWorld;
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }

  // The screen over the fixture with "map.hmf" beside its map, drawn and
  // compared with its golden picture.
  void DrawWithOldMap(const std::string& golden) {
    const sGameStartSettings start = twtest::CopyFixtureScenario(dir_.Path());
    dir_.Write("data/scenarios/Fixture/map.hmf", std::string(4148, '\0'));
    LoadWorld(start);
    ASSERT_NE(g_pWorld, nullptr);
    g_RememberedScenarioName = L"Fixture: two alliances at a strait";
    auto* menu = new cScenarioSettingsMenu();
    for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
    // The side line and the buttons of the bottom row lie apart.
    std::vector<plat::RectI> row;
    for (int id : {kSettingsSideId, kSettingsDumpEventsId, kSettingsConvertMapId, kSettingsBackId, kSettingsStartId}) {
      CDXUTControl* control = menu->Dialog().GetControl(id);
      ASSERT_NE(control, nullptr) << id;
      ASSERT_TRUE(control->GetVisible()) << id;
      row.push_back(control->GetBoundingBox());
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
      for (std::size_t j = i + 1; j < row.size(); ++j) {
        const plat::RectI& a = row[i];
        const plat::RectI& b = row[j];
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) << i << " " << j;
      }
    }
    ExpectGolden(golden);
  }
};

class ScenarioSettingsSnapshotWide : public ScenarioSettingsSnapshot {
 protected:
  ScenarioSettingsSnapshotWide() : ScenarioSettingsSnapshot(1920, 1080) {}
};

TEST_F(ScenarioSettingsSnapshot, TheConvertButtonStandsInTheRowOfButtons) {
  DrawWithOldMap("scenario_settings_old_map_1024x768.png");
}

TEST_F(ScenarioSettingsSnapshotWide, TheConvertButtonStandsInTheRowOfButtons) {
  DrawWithOldMap("scenario_settings_old_map_1920x1080.png");
}

}  // namespace
