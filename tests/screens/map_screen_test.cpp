#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "frame/device_events.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/fatal_exit.h"
#include "gui/dxut_static.h"
#include "platform/recording_renderer.h"
#include "rules/worker_thread.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace {

using Log = std::vector<std::string>;

// Notes its drawing.
class DrawnPanel : public cPanel {
 public:
  DrawnPanel(std::string name, Log& log) : cPanel(-1), name_(std::move(name)), log_(log) {}
  void OnRender(float) override { log_.push_back(name_); }

 private:
  std::string name_;
  Log& log_;
};

class MapScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pWorld = &world_;
    cMap& map = world_.GetMap();
    map.SetWidth(20);
    map.SetHeight(15);
    map.CreateHexes();
  }
  void TearDown() override {
    world_.SetView(nullptr);
    delete g_pCurrentMenu;
    g_pCurrentMenu = nullptr;
    DeleteRetiredMenus();
    for (cJednostkaLadowa* unit : world_.Units().landUnits) delete unit;
    world_.Units().landUnits.clear();
    for (cCity* city : world_.Cities()) world_.GetMap().GetHex(city->x, city->y).city = nullptr;
    g_pWorld = nullptr;
    g_bEventsCheckRequested = false;
  }
  cCountry& AddCountry(int alliance, bool human) {
    auto country = std::make_unique<cCountry>();
    country->id = world_.GetCountryCount() + 1;
    country->name = L"Country " + std::to_wstring(country->id);
    country->alliance = alliance;
    country->human = human;
    country->active = true;
    world_.Countries().push_back(std::move(country));
    world_.GetRelations().Reset(world_.GetCountryCount());
    return *world_.Countries().back();
  }
  void AddCity(int x, int y, int controller, int victoryPoints, float production) {
    auto city = std::make_unique<cCity>();
    city->SetName(L"City");
    city->x = x;
    city->y = y;
    city->victoryPoints = victoryPoints;
    city->productionPoints = production;
    world_.AddCity(std::move(city));
    world_.GetMap().GetHex(x, y).controller = static_cast<std::uint8_t>(controller);
  }

  // The map screen of the world, made on first use.
  cMapScreen& Screen() {
    if (world_.View() == nullptr) world_.SetView(MakeMapScreen(world_));
    return *LoadedMapScreen();
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
};

TEST_F(MapScreen, MenuStateLeavesNoTimedUpdateAndMapStateTakesInputBack) {
  Screen().EnterMapState();
  EXPECT_EQ(world_.GetGameState(), 7);
  EXPECT_TRUE(framework_.frameMove);
  EXPECT_TRUE(framework_.mouseMoves);
  Screen().EnterMenuState();
  EXPECT_EQ(world_.GetGameState(), 2);
  EXPECT_FALSE(framework_.frameMove);
  EXPECT_TRUE(framework_.mouse);
  EXPECT_TRUE(framework_.keyboard);

  // The menu thunks are installed: a key reaches the current menu, not the map.
  framework_.keyboard(37, true, false);
  EXPECT_EQ(Screen().ScrollKeys(), 0u);
  Screen().EnterMapState();
  framework_.keyboard(37, true, false);
  EXPECT_EQ(Screen().ScrollKeys(), 1u);
}

TEST_F(MapScreen, SceneDrawsThePanelsInOrder) {
  Log log;
  cMapScreen::Panels panels{};
  for (auto [which, name] : {std::pair{cMapScreen::kInfo, "info"}, {cMapScreen::kUnit, "unit"},
                             {cMapScreen::kHex, "hex"}, {cMapScreen::kMinimap, "minimap"},
                             {cMapScreen::kAttack, "attack"}}) {
    panels[which] = new DrawnPanel(name, log);
  }
  cMapScreen screen(world_, panels);
  screen.Render(0.0f);
  // The information bar lies on top; the missing diplomacy panel is passed over.
  EXPECT_EQ(log, (Log{"minimap", "hex", "unit", "attack", "info"}));
}

TEST_F(MapScreen, ArrowKeysHoldBitsAndEscapeOpensThePauseOnlyInTheHumanTurn) {
  Screen().OnKeyboard(37, true, false);
  Screen().OnKeyboard(40, true, false);
  EXPECT_EQ(Screen().ScrollKeys(), 0b1001u);
  Screen().OnKeyboard(37, false, false);
  EXPECT_EQ(Screen().ScrollKeys(), 0b1000u);

  world_.SetGameState(9);
  Screen().OnKeyboard(27, true, false);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  EXPECT_EQ(world_.GetGameState(), 9);
  world_.SetGameState(8);
  Screen().OnKeyboard(27, true, false);
  EXPECT_NE(g_pCurrentMenu, nullptr);
  EXPECT_EQ(world_.GetGameState(), 2);
}

TEST_F(MapScreen, HeldArrowKeysScrollTheViewInTheHumanTurnOnly) {
  const sSettings saved = g_Settings;
  g_Settings.MapZoom = 0.5f;
  const float savedTarget = g_MapTargetScale;
  g_MapTargetScale = 0.5f;  // no zoom under way
  cMap& map = world_.GetMap();
  map.minViewX = map.minViewY = -100000;
  map.maxViewX = map.maxViewY = 100000;
  world_.SetGameState(7);
  Screen().OnKeyboard(39, true, false);  // right
  Screen().OnKeyboard(38, true, false);  // up
  Screen().OnFrameMove(10.0, 0.0f);
  const float x0 = map.targetX, y0 = map.targetY;
  Screen().OnFrameMove(10.1, 0.0f);
  // 0.1 s at 1000 screen pixels a second, at half scale: 200 map pixels.
  EXPECT_NEAR(map.targetX - x0, 200.0f, 0.5f);
  EXPECT_NEAR(map.targetY - y0, -200.0f, 0.5f);
  // The status line names the pending order (its text key without texts).
  Screen();
  world_.turnState.mode = 4;
  Screen().OnFrameMove(10.15, 0.0f);
  auto* status = dynamic_cast<CDXUTStatic*>(Screen().InfoPanel()->Dialog().GetControl(kInfoStatusId));
  ASSERT_NE(status, nullptr);
  EXPECT_STREQ(status->GetText(), L"statusbar_hint_move_destination_hex");
  world_.turnState.mode = 99;
  Screen().OnFrameMove(10.16, 0.0f);
  EXPECT_STREQ(status->GetText(), L"statusbar_hint_no_action");
  // The computer's phase does not scroll.
  world_.SetGameState(9);
  const float x1 = map.targetX;
  Screen().OnFrameMove(10.2, 0.0f);
  EXPECT_EQ(map.targetX, x1);
  Screen().OnKeyboard(39, false, false);
  Screen().OnKeyboard(38, false, false);
  // Released keys stop the scroll; a glide to a hex started afterwards
  // keeps going.
  world_.SetGameState(7);
  Screen().OnFrameMove(10.3, 0.0f);
  EXPECT_EQ(map.targetX, map.viewX);
  map.CenterAtHex(2, 2);
  const float glideTarget = map.targetX;
  Screen().OnFrameMove(10.4, 0.0f);
  EXPECT_EQ(map.targetX, glideTarget);
  g_MapTargetScale = savedTarget;
  g_Settings = saved;
}

TEST_F(MapScreen, TabSelectsTheNextOwnUnitWithActionPointsAfterTheSelection) {
  cCountry& own = AddCountry(1, true);
  AddCountry(2, false);
  world_.turnState.currentCountry = &own;
  const auto addUnit = [&](int x, int country, int points) {
    auto* unit = new cJednostkaLadowa();
    unit->countryId = country;
    unit->actionPoints = points;
    unit->x = x;
    unit->y = 3;
    world_.Units().landUnits.push_back(unit);
    world_.GetMap().GetHex(x, 3).unit = unit;
    return unit;
  };
  cJednostkaLadowa* first = addUnit(1, 1, 5);
  addUnit(2, 2, 5);      // another country's
  addUnit(3, 1, 0);      // no action points left
  cJednostkaLadowa* fourth = addUnit(4, 1, 3);
  const auto pressTab = [&] { Screen().OnKeyboard(9, true, false); };
  // While the computer players move, Tab selects nothing.
  world_.SetGameState(9);
  pressTab();
  EXPECT_EQ(world_.turnState.selectedUnit, nullptr);
  world_.SetGameState(7);
  // Nothing selected: the walk starts after the first unit, never on it.
  pressTab();
  EXPECT_EQ(world_.turnState.selectedUnit, fourth);
  pressTab();
  EXPECT_EQ(world_.turnState.selectedUnit, first);
  pressTab();
  EXPECT_EQ(world_.turnState.selectedUnit, fourth);
  // A unit selected on the map but missing from the list stops the walk.
  cJednostkaLadowa stray;
  stray.countryId = 1;
  world_.GetMap().GetHex(9, 9).unit = &stray;
  world_.turnState.selectedHex = &world_.GetMap().GetHex(9, 9);
  twtest::LogCapture log;
  pressTab();
  EXPECT_EQ(world_.turnState.selectedHex, &world_.GetMap().GetHex(9, 9));
  EXPECT_TRUE(log.Contains(L"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem"));
  for (sHex& hex : world_.GetMap().Hexes()) hex.unit = nullptr;
}

TEST_F(MapScreen, DisplayModesCycleAndHandEditedValuesStay) {
  const sSettings saved = g_Settings;
  g_Settings.BorderMode = 2;
  Screen().OnKeyboard(117, true, false);
  EXPECT_EQ(g_Settings.BorderMode, 0);
  g_Settings.BorderMode = 3;
  Screen().OnKeyboard(117, true, false);
  Screen().OnGUIEvent(0, 318, nullptr);
  EXPECT_EQ(g_Settings.BorderMode, 3);
  g_Settings.MapOwnershipMode = 3;
  Screen().OnGUIEvent(0, 319, nullptr);
  EXPECT_EQ(g_Settings.MapOwnershipMode, 0);
  g_Settings.MapMode = 0;
  Screen().OnGUIEvent(0, 320, nullptr);
  EXPECT_EQ(g_Settings.MapMode, 2);
  g_Settings.MapMode = 1;
  Screen().OnGUIEvent(0, 320, nullptr);
  EXPECT_EQ(g_Settings.MapMode, 1);
  const bool grid = g_Settings.ShowGrid;
  Screen().OnKeyboard(113, true, false);
  EXPECT_NE(g_Settings.ShowGrid, grid);
  g_Settings = saved;
}

TEST_F(MapScreen, HexPickingFollowsTheSlantedCellEdges) {
  const sSettings saved = g_Settings;
  g_Settings.MapZoom = 1.0f;
  cMap& map = world_.GetMap();
  // With the view centre at 0, screen (512 + 30 + px, 384 + 36 + py) is the
  // grid pixel (px, py).
  const auto pick = [&](int px, int py, int& column, int& row) {
    map.viewX = 0.0f;
    map.viewY = 0.0f;
    return PickHexAtScreen(map, 512 + 30 + px, 384 + 36 + py, 1024, 768, column, row);
  };
  int column = -1, row = -1;
  const struct {
    int px, py, column, row;
  } cases[] = {
      {3 * 83 + 40, 2 * 98 + 49, 3, 2},       // odd column 3, row 2: middle of the cell
      {3 * 83 + 10, 2 * 98 + 40, 3, 2},       // just right of the slanted edge's top half
      {3 * 83 + 2, 2 * 98 + 10, 2, 1},        // steeper: up-left, one row higher from an odd column
      {3 * 83 + 2, 2 * 98 + 90, 2, 2},        // down-left of an odd column keeps the row
      {4 * 83 + 2, 2 * 98 + 49 + 90, 3, 3},   // even column 4 is half a cell lower
      {4 * 83 + 2, 2 * 98 + 49 + 10, 3, 2},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(pick(c.px, c.py, column, row)) << c.px << "," << c.py;
    EXPECT_EQ(std::pair(column, row), std::pair(c.column, c.row)) << c.px << "," << c.py;
  }
  // Left of or above the grid, and beyond its size, nothing.
  EXPECT_FALSE(pick(-20, 2 * 98 + 49, column, row));
  EXPECT_FALSE(pick(3 * 83 + 40, -60, column, row));
  EXPECT_FALSE(pick(20 * 83 + 40, 60, column, row));
  g_Settings = saved;
}

TEST_F(MapScreen, AllianceQueriesAndVictoryPoints) {
  AddCountry(1, true);   // 1: Axis member
  AddCountry(4, false);  // 2: Axis leader
  AddCountry(5, false);  // 3: Allies leader
  AddCountry(2, false);  // 4: Allies member
  AddCountry(0, false);  // 5: neutral, no cities, no units
  for (auto [alliance, leader] : {std::pair{1, 2}, {2, 3}, {5, 3}, {3, 0}, {0, 0}, {7, 0}}) {
    EXPECT_EQ(world_.GetAllianceLeader(alliance), leader ? world_.GetCountry(leader) : nullptr) << alliance;
  }
  EXPECT_TRUE(world_.HasActiveHumanCountry());

  AddCity(1, 1, 1, 5, 2.5f);
  AddCity(2, 1, 2, 7, 1.0f);
  AddCity(3, 1, 3, 11, 4.25f);
  AddCity(4, 1, 4, 2, 0.0f);
  // Members and leaders count together (codes 1 and 4); an unknown code gives -1.
  for (auto [alliance, points] : {std::pair{4, 12}, {1, 12}, {2, 13}, {3, 0}, {7, -1}}) {
    EXPECT_EQ(world_.CountAllianceVictoryPoints(alliance), points) << alliance;
  }
  EXPECT_EQ(world_.CountCountryVictoryPoints(3), 11);
  EXPECT_EQ(world_.GetCountryScore(5), 0);

  // Score: victory and production points of cities plus ship hit points.
  auto* ship = new cJednostkaMorska();
  ship->countryId = 3;
  ship->hitPoints = 9;
  world_.Units().navalUnits.push_back(ship);
  EXPECT_EQ(world_.GetCountryScore(3), 24);  // 9 + 11 + 4.25, truncated

  // A city on a hex nobody controls is a broken scenario.
  world_.GetMap().GetHex(4, 1).controller = 0;
  cScopedThrowingFatalHook fatal;
  twtest::LogCapture log;
  EXPECT_THROW(world_.CountCountryVictoryPoints(1), sFatalExitError);
  EXPECT_TRUE(log.Contains(
      L"ERROR: City City is not controlled by any country (controller id = 0)! (Counting country VPs)"));
  EXPECT_THROW(world_.CountAllianceVictoryPoints(1), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"City City is not controlled by any country (controller id = 0)! (Counting alliance VPs)"));
}

TEST_F(MapScreen, StartingWithAComputerCountryAndNoHumanEntersTheComputerPhase) {
  cCountry& computer = AddCountry(1, false);
  AddCountry(2, false);
  world_.turnState.currentCountry = &computer;
  Screen();
  twtest::LogCapture log;
  Screen().StartGame();
  EXPECT_EQ(world_.turnState.viewCountry, nullptr);
  EXPECT_EQ(world_.GetGameState(), 9);
  EXPECT_FALSE(GetInfoPanel()->Dialog().GetMouseInput());
  EXPECT_TRUE(framework_.frameMove);
  const std::vector<std::wstring> expected = {
      L"============== Starting game ==============", L"Updating units appearance", L"Updating cities appearance",
      L"Updating minimapr 2nd layer", L"Initializing music", L"Closing menu, setting callbacks",
      L"============== Enjoy your game :)"};
  std::size_t next = 0;
  for (const std::wstring& line : log.Lines()) {
    if (next < expected.size() && line == expected[next]) ++next;
  }
  EXPECT_EQ(next, expected.size());
}

TEST_F(MapScreen, StartingWithAHumanCountryShowsItsTurn) {
  AddCountry(1, false);
  cCountry& human = AddCountry(2, true);
  world_.turnState.currentCountry = &human;
  const sSettings saved = g_Settings;
  g_Settings.FogOfWar = 1;
  auto* own = new cJednostkaLadowa();
  own->countryId = 2;
  own->x = own->y = 1;
  auto* enemy = new cJednostkaLadowa();
  enemy->countryId = 1;
  enemy->x = 15;
  enemy->y = 12;
  enemy->visible = true;
  world_.Units().landUnits = {own, enemy};
  Screen();
  Screen().StartGame();
  // Under fog of war the player sees his own units, not the enemy's far away.
  EXPECT_TRUE(own->visible);
  EXPECT_FALSE(enemy->visible);
  g_Settings = saved;
  EXPECT_EQ(world_.turnState.viewCountry, &human);
  EXPECT_EQ(world_.GetGameState(), 7);
  EXPECT_FALSE(g_bEventsCheckRequested);

  // A country whose turn is the events check only asks the worker for it.
  human.specialFlags = 1;
  Screen().StartGame();
  EXPECT_TRUE(g_bEventsCheckRequested);
}

}  // namespace
