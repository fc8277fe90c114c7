#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "platform/messages.h"
#include "platform/recording_renderer.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/minimap_panel.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/jednostka_ladowa.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// The layout entries the panels read, as the shipped layout places them.
void SetPanelLayout() {
  g_GuiLayout[kInfoBarId] = {0, 0, 816, 76};
  g_GuiLayout[kInfoStatusId] = {100, 42, 344, 28};
  for (int id : {kInfoProductionId, kInfoDiplomacyId, kInfoStrategicId, kInfoSeaTransportId, kInfoSeaInvasionId,
                 kInfoNuclearId}) {
    g_GuiLayout[id] = {400 + id, 6, 78, 28};
  }
  g_GuiLayout[kInfoFlagId] = {8, 10, 84, 56};
  g_GuiLayout[kInfoNameId] = {100, 6, 196, 30};
  g_GuiLayout[kInfoUnitHandleId] = {306, 6, 32, 32};
  g_GuiLayout[kInfoHexHandleId] = {342, 6, 32, 32};
  g_GuiLayout[kInfoAttackHandleId] = {378, 6, 32, 32};
  g_GuiLayout[kInfoDiplomacyHandleId] = {414, 6, 32, 32};
  g_GuiLayout[14] = {0, 600, 24, 24};
  for (int id = 336; id <= 344; ++id) g_GuiLayout[id] = {820 + (id - 336) * 25, 219, 24, 24};
  g_GuiLayout[kHexPanelFrameId] = {716, 448, 300, 312};
  for (int id = 402; id <= 419; ++id) g_GuiLayout[id] = {id % 2 == 0 ? 728 : 844, 462 + (id - 402) / 2 * 28, 112, 24};
  g_GuiLayout[420] = {1, 2, 3, 4};  // an id of the block without a control
  g_GuiLayout[kHexHarbourIconId] = {728, 714, 40, 40};
  g_GuiLayout[kMinimapPanelId] = {816, 0, 208, 214};
  g_GuiLayout[kMinimapDateId] = {820, 188, 200, 22};
  for (int id = 316; id <= 320; ++id) g_GuiLayout[id] = {836 + (id - 316) * 34, 158, 25, 25};
}

std::wstring StaticText(cPanel& panel, int id) {
  CDXUTControl* control = panel.Dialog().GetControl(id);
  if (auto* edit = dynamic_cast<CDXUTEditBox*>(control)) return edit->GetText();
  if (auto* label = dynamic_cast<CDXUTStatic*>(control)) return label->GetText();
  return L"<none>";
}

class MapPanels : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPanelLayout();
    g_pWorld = &world_;
    world_.GetMap().SetWidth(6);
    world_.GetMap().SetHeight(4);
    world_.GetMap().CreateHexes();
  }
  void TearDown() override {
    for (sHex& hex : world_.GetMap().Hexes()) hex.unit = nullptr;
    for (cJednostkaLadowa* unit : world_.Units().landUnits) delete unit;
    world_.Units().landUnits.clear();
    world_.SetView(nullptr);
    g_pWorld = nullptr;
  }
  cCountry& AddCountry(const wchar_t* name, int alliance, bool human) {
    auto country = std::make_unique<cCountry>();
    country->id = world_.GetCountryCount() + 1;
    country->name = name;
    country->alliance = alliance;
    country->human = human;
    world_.Countries().push_back(std::move(country));
    world_.GetRelations().Reset(world_.GetCountryCount());
    return *world_.Countries().back();
  }
  // Sends one mouse message at (x, y) to a dialog.
  static void Mouse(CDXUTDialog& dialog, unsigned msg, int x, int y) {
    dialog.MsgProc({msg, 0, plat::MakeMouseLParam(x, y)});
  }

  // The map screen with its panels, made on first use.
  cMapScreen& Screen() {
    if (world_.View() == nullptr) world_.SetView(MakeMapScreen(world_));
    return *LoadedMapScreen();
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
};

TEST_F(MapPanels, DraggingAHandleMovesItsPanelInFivePixelStepsWithinTheScreen) {
  cPanel& bar = *Screen().InfoPanel();
  cPanel& hex = *Screen().HexPanel();
  CDXUTDialog& d = bar.Dialog();
  CDXUTControl* handle = d.GetControl(kInfoHexHandleId);
  ASSERT_NE(handle, nullptr);
  CDXUTControl* field = hex.Dialog().GetControl(kHexNameId);
  const int fieldX = field->GetX(), fieldY = field->GetY();

  Mouse(d, plat::kWmMouseMove, 350, 20);  // over the hex handle
  ASSERT_EQ(d.GetMouseOverControl(), handle);
  Mouse(d, plat::kWmLButtonDown, 350, 20);
  Mouse(d, plat::kWmMouseMove, 363, 27);  // 13 and 7 pixels: 10 and 5 moved
  EXPECT_EQ(handle->GetX(), 352);
  EXPECT_EQ(handle->GetY(), 11);
  // Every id of the block moved in the table, with or without a control, and
  // the controls agree with their entries.
  EXPECT_EQ(g_GuiLayout[420].a, 11);
  EXPECT_EQ(g_GuiLayout[420].b, 7);
  EXPECT_EQ(field->GetX(), fieldX + 10);
  EXPECT_EQ(field->GetY(), fieldY + 5);
  for (int id = kHexPanelFrameId; id <= kHexPanelBlockLast; ++id) {
    if (CDXUTControl* c = hex.Dialog().GetControl(id)) {
      EXPECT_EQ(c->GetX(), g_GuiLayout[id].a) << id;
      EXPECT_EQ(c->GetY(), g_GuiLayout[id].b) << id;
    }
  }

  // A step that would take the handle off the top of the screen is refused:
  // handle, panel and table stay.
  Mouse(d, plat::kWmMouseMove, 363, 7);
  EXPECT_EQ(handle->GetY(), 11);
  EXPECT_EQ(g_GuiLayout[kHexPanelFrameId].b, 453);
  EXPECT_EQ(field->GetY(), fieldY + 5);
  // Off the right edge likewise.
  Mouse(d, plat::kWmMouseMove, 363 + 700, 27);
  EXPECT_EQ(g_GuiLayout[kHexPanelFrameId].a, 726);
  Mouse(d, plat::kWmLButtonUp, 363, 27);
}

TEST_F(MapPanels, InformationBarCountersFollowHumanCountriesOnly) {
  cCountry& human = AddCountry(L"Freedonia", 5, true);
  human.productionPoints = 123.6;
  human.strategicMovementPoints = 2;
  human.strategicMovementPointsMax = 5;
  human.amphibiousInvasionPoints = 1;
  human.amphibiousInvasionPointsTotal = 3;
  cCountry& computer = AddCountry(L"Sylvania", 6, false);
  computer.productionPoints = 999;

  cInfoPanel bar;
  EXPECT_FALSE(bar.Dialog().GetControl(kInfoFlagId)->GetVisible());
  EXPECT_EQ(StaticText(bar, kInfoProductionId), L"-");
  world_.turnState.currentCountry = &human;
  bar.RefreshCounters();
  EXPECT_TRUE(bar.Dialog().GetControl(kInfoFlagId)->GetVisible());
  EXPECT_EQ(StaticText(bar, kInfoNameId), L"Freedonia");
  EXPECT_EQ(StaticText(bar, kInfoProductionId), L"124");
  EXPECT_EQ(StaticText(bar, kInfoStrategicId), L"2/5");
  EXPECT_EQ(StaticText(bar, kInfoSeaInvasionId), L"1/3");

  // A computer country shows its name while the counters keep the human's.
  world_.turnState.currentCountry = &computer;
  bar.RefreshCounters();
  EXPECT_EQ(StaticText(bar, kInfoNameId), L"Sylvania");
  EXPECT_EQ(StaticText(bar, kInfoProductionId), L"124");
  // No current country changes nothing.
  world_.turnState.currentCountry = nullptr;
  bar.RefreshCounters();
  EXPECT_EQ(StaticText(bar, kInfoNameId), L"Sylvania");
}

TEST_F(MapPanels, StatusLineTakesTheLockOnlyWhileTheWorkerMayRun) {
  g_bRunning = true;
  CreateFrameworkLock();
  cInfoPanel bar;
  const auto lockLines = [](const twtest::LogCapture& log) {
    int acquired = 0, released = 0;
    for (const std::wstring& line : log.Lines()) {
      if (line.rfind(L"AC:", 0) == 0) ++acquired;
      if (line.rfind(L"RC:", 0) == 0) ++released;
    }
    return std::make_pair(acquired, released);
  };
  for (int phase : {7, 2, 12}) {
    world_.SetGameState(phase);
    twtest::LogCapture log;
    bar.SetStatusText(L"Move the unit");
    EXPECT_EQ(lockLines(log), std::make_pair(0, 0)) << phase;
  }
  for (int phase : {3, 4, 9, 10, 11}) {
    world_.SetGameState(phase);
    twtest::LogCapture log;
    bar.SetStatusText(L"Computer moves");
    EXPECT_EQ(lockLines(log), std::make_pair(1, 1)) << phase;
    EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  }
  EXPECT_EQ(StaticText(bar, kInfoStatusId), L"Computer moves");
  DeleteFrameworkLock();
  g_bRunning = false;
}

TEST_F(MapPanels, ComputerPhaseLocksTheBarAndPanelsGetTheirOwnStateBack) {
  cMapScreen& screen = Screen();
  auto& bar = *GetInfoPanel();
  CDXUTDialog& d = bar.Dialog();
  SetPanelMinimized(screen.HexPanel(), false);  // shown by the player before the phase

  screen.EnterComputerPhase();
  EXPECT_EQ(world_.GetGameState(), 9);
  EXPECT_FALSE(d.GetMouseInput());
  for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoAttackHandleId, kInfoDiplomacyHandleId}) {
    EXPECT_FALSE(d.GetControl(id)->GetVisible()) << id;
  }
  EXPECT_TRUE(d.GetControl(kInfoComputerIndicatorId)->GetVisible());
  EXPECT_TRUE(screen.HexPanel()->Dialog().GetMinimized());
  EXPECT_FALSE(screen.HexPanel()->savedMinimized);
  // No click reaches a handle while locked.
  EXPECT_FALSE(d.MsgProc({plat::kWmLButtonDown, 0, plat::MakeMouseLParam(350, 20)}));

  screen.LeaveComputerPhase();
  EXPECT_EQ(world_.GetGameState(), 7);
  EXPECT_TRUE(d.GetMouseInput());
  for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoAttackHandleId, kInfoDiplomacyHandleId}) {
    EXPECT_TRUE(d.GetControl(id)->GetVisible()) << id;
  }
  EXPECT_FALSE(d.GetControl(kInfoComputerIndicatorId)->GetVisible());
  EXPECT_FALSE(screen.HexPanel()->Dialog().GetMinimized());
}

TEST_F(MapPanels, HexPanelDescribesEveryKindOfPlace) {
  cCountry& own = AddCountry(L"Freedonia", 1, true);
  cCountry& ally = AddCountry(L"Sylvania", 4, false);
  AddCountry(L"Rivalia", 2, false);
  own.id = 1;
  world_.constants.maxSupply = 12;
  cMap& map = world_.GetMap();
  sWezelGrafuMorz sea;
  sea.id = 1;
  sea.name = L"North Sea";
  world_.GetSeaGraph().Nodes().push_back(sea);
  sWezelGrafuMorz port;
  port.id = 2;
  port.name = L"Port of Sylvania";
  port.maxSize = 5;
  port.size = 3;
  world_.GetSeaGraph().Nodes().push_back(port);
  const auto addCity = [&](int x, int type, const wchar_t* name) {
    auto city = std::make_unique<cCity>();
    city->SetName(name);
    city->x = x;
    city->y = 1;
    city->type = type;
    city->victoryPoints = 3 + x;
    city->productionPoints = 2.5f;
    city->productionLostToBombing = 1;
    city->supply = 6;
    city->supplyInfo = {4, 0, 0};
    world_.AddCity(std::move(city));
    sHex& hex = map.GetHex(x, 1);
    hex.terrain = 1;
    hex.controller = 2;
    hex.owner = 1;
    return &hex;
  };
  addCity(0, kCitySupply, L"Capital");
  addCity(1, kCityNormal, L"Town");
  sHex* supplyPort = addCity(2, kCitySupplyPort, L"Harbour");
  supplyPort->seaNode = 2;
  addCity(3, kCityPort, L"Quay");
  addCity(4, kCityResources, L"Oil field");
  world_.Cities()[2]->graphNode = -1;

  cHexPanel panel;
  const auto row = [&](int id) { return StaticText(panel, id); };
  panel.RefreshFor(nullptr, &own);
  for (int id : {402, 403, 405, 407, 409, 411, 413, 415, 417, 419}) EXPECT_EQ(row(id), L"-") << id;
  EXPECT_FALSE(panel.Dialog().GetControlEnabled(kHexHarbourIconId));

  panel.RefreshFor(&map.GetHex(0, 1), &own);
  EXPECT_EQ(row(402), L"hex_panel_name_city");
  EXPECT_EQ(row(403), L"Capital");
  EXPECT_EQ(row(407), L"hex_panel_supply_main_source");  // the key's text is the format
  EXPECT_EQ(row(409), L"2.5/3.5");
  EXPECT_EQ(row(413), L"Sylvania");
  EXPECT_EQ(row(415), L"Freedonia");
  EXPECT_EQ(row(417), L"-");
  EXPECT_EQ(row(419), L"weather_good");

  panel.RefreshFor(&map.GetHex(1, 1), &own);
  EXPECT_EQ(row(407), L"4 (6)");  // given to the current country, own figure

  panel.RefreshFor(supplyPort, &own);
  EXPECT_EQ(row(402), L"hex_panel_name_port");
  EXPECT_EQ(row(403), L"hex_panel_city_name_port");
  EXPECT_EQ(row(407), L"hex_panel_supply_main_source");

  map.GetHex(3, 1).weather = 2;
  map.GetHex(3, 1).fortification = 2;
  panel.RefreshFor(&map.GetHex(3, 1), &ally);
  EXPECT_EQ(row(402), L"hex_panel_name_port");
  EXPECT_EQ(row(407), L"0 (6)");
  EXPECT_EQ(row(417), L"2");
  EXPECT_EQ(row(419), L"weather_mud");

  panel.RefreshFor(&map.GetHex(4, 1), &own);
  EXPECT_EQ(row(402), L"hex_panel_name_resources");
  EXPECT_EQ(row(407), L"-");
  EXPECT_EQ(row(409), L"2.5");
  EXPECT_EQ(row(411), L"7");

  // Open sea: the zone's name; plain water: nothing, and never weather.
  sHex& water = map.GetHex(5, 3);
  water.seaZone = 1;
  panel.RefreshFor(&water, &own);
  EXPECT_EQ(row(402), L"hex_panel_name_sea_zone");
  EXPECT_EQ(row(403), L"North Sea");
  EXPECT_EQ(row(405), L"hex_panel_additional_info_water");
  EXPECT_EQ(row(413), L"-");
  EXPECT_EQ(row(419), L"-");
  sHex& land = map.GetHex(5, 0);
  land.terrain = 9;  // unknown terrain code
  panel.RefreshFor(&land, &own);
  EXPECT_EQ(row(402), L"-");
  EXPECT_EQ(row(405), L"hex_panel_additional_info_unknown");
}

TEST_F(MapPanels, HarbourRulesNameTheFirstFailure) {
  cCountry& own = AddCountry(L"Freedonia", 1, true);
  AddCountry(L"Sylvania", 4, false);
  AddCountry(L"Rivalia", 2, false);
  own.productionPoints = 50;
  sHex hex;
  hex.terrain = 1;
  hex.coastal = 1;
  hex.controller = 2;  // the ally
  cMulberry occupant;
  // Each step spoils one more condition; the reason names the first one
  // that fails, in the order of the checks.
  const std::function<void()> none = [] {};
  const struct {
    std::function<void()> change;
    double cost;
    bool can;
    const char* reason;
  } steps[] = {
      {none, 50.0, true, "hexpanel_mulberry_hint"},  // equal points suffice
      {none, 50.5, false, "hexpanel_mulberry_hint_not_enough_pp"},
      {[&] { hex.controller = 0; }, 1.0, false, "hexpanel_mulberry_hint_not_friendly_hex"},  // nobody's
      {[&] { hex.controller = 3; }, 1.0, false, "hexpanel_mulberry_hint_not_friendly_hex"},  // another alliance
      {[&] { hex.controller = 2; world_.GetRelations().SetAtWar(1, 2, true); }, 1.0, false,
       "hexpanel_mulberry_hint_not_friendly_hex"},  // an ally at war
      {[&] { hex.unit = &occupant; }, 1.0, false, "hexpanel_mulberry_hint_occupied"},
      {[&] { hex.coastal = 0; }, 1.0, false, "hexpanel_mulberry_hint_not_coastal_hex"},
      {[&] { hex.terrain = 0; }, 1.0, false, "hexpanel_mulberry_hint_not_land_hex"},
  };
  for (const auto& step : steps) {
    step.change();
    const char* reason = nullptr;
    EXPECT_EQ(cHexPanel::CanBuildHarbour(hex, own, step.cost, &reason), step.can) << step.reason;
    EXPECT_STREQ(reason, step.reason);
  }
}

TEST_F(MapPanels, BuildingAHarbourPutsOneUnitOnTheHexAndCharges) {
  cCountry& own = AddCountry(L"Freedonia", 1, true);
  own.productionPoints = 30;
  world_.constants.mulberryValues = {20.0f, 2.0f, 8.0f, 6.0f};
  sHex& hex = world_.GetMap().GetHex(2, 2);
  hex.terrain = 1;
  hex.coastal = 1;
  hex.controller = 1;
  world_.turnState.currentCountry = &own;
  world_.turnState.selectedHex = &hex;
  cHexPanel panel;
  panel.Refresh();
  ASSERT_TRUE(panel.Dialog().GetControlEnabled(kHexHarbourIconId));
  panel.OnGUIEvent(EVENT_BUTTON_CLICKED, kHexHarbourIconId, nullptr);
  ASSERT_EQ(world_.Units().landUnits.size(), 1u);
  cJednostkaLadowa* harbour = world_.Units().landUnits.front();
  EXPECT_EQ(hex.unit, harbour);
  EXPECT_EQ(harbour->type, kHarbourUnitType);
  EXPECT_DOUBLE_EQ(own.productionPoints, 10.0);
  // The icon is off at once, and a second event builds nothing.
  EXPECT_FALSE(panel.Dialog().GetControlEnabled(kHexHarbourIconId));
  panel.OnGUIEvent(EVENT_BUTTON_CLICKED, kHexHarbourIconId, nullptr);
  EXPECT_EQ(world_.Units().landUnits.size(), 1u);
}

TEST_F(MapPanels, MinimapRecentresOnItsEdgesButNotBeyond) {
  cMinimapPanel panel;
  panel.SetMinimapRect(800, 10, 200, 150);
  panel.SetMinimapRect(828, 12, 184, 138);
  int pictures = 0;
  for (int i = 0; i < panel.Dialog().GetControlCount(); ++i) {
    if (panel.Dialog().GetControlByIndex(i)->GetID() == kMinimapPictureId) ++pictures;
  }
  EXPECT_EQ(pictures, 1);
  EXPECT_EQ(panel.Dialog().GetControl(kMinimapPictureId)->GetX(), 828);

  cMap& map = world_.GetMap();
  map.minimapRect = {828, 12, 184, 138};
  map.maxViewX = map.maxViewY = 100000;
  map.minViewX = map.minViewY = -100000;
  const auto recentred = [&](int x, int y) {
    map.targetX = map.targetY = -1;
    panel.OnMouse(true, false, false, false, false, 0, x, y);
    return map.targetX != -1 || map.targetY != -1;
  };
  EXPECT_TRUE(recentred(828 + 184, 12 + 138));  // bottom-right corner, edges included
  EXPECT_TRUE(recentred(828, 12));
  EXPECT_FALSE(recentred(828 + 185, 50));
  EXPECT_FALSE(recentred(827, 50));
  // A minimised panel draws nothing.
  SetPanelMinimized(&panel, true);
  renderer_.records.clear();
  panel.OnRender(0.0f);
  EXPECT_TRUE(renderer_.records.empty());
}

TEST_F(MapPanels, DateLineUsesTheStartDateOnlyOnTheFirstTurn) {
  world_.turnNumber = 1;
  world_.turnsLeft = 39;
  world_.startDay = 3;
  world_.startMonth = 1;
  world_.startYear = 1940;
  EXPECT_EQ(cMinimapPanel::DateLine(world_), L"3-january-1940_(turn_1/40)");
  world_.startMonth = 13;  // no month name: the number
  EXPECT_EQ(cMinimapPanel::DateLine(world_), L"3-13-1940_(turn_1/40)");
  world_.startDay = 0;  // no start day: the game date
  const std::wstring gameDate = world_.GetDate().Format(world_.TurnsPerMonth());
  EXPECT_EQ(cMinimapPanel::DateLine(world_), gameDate + L"_(turn_1/40)");
  world_.startDay = 3;
  world_.turnNumber = 2;
  world_.turnsLeft = 38;
  EXPECT_EQ(cMinimapPanel::DateLine(world_), gameDate + L"_(turn_2/40)");

  cMinimapPanel panel;
  panel.RefreshDate();
  EXPECT_EQ(StaticText(panel, kMinimapDateId), gameDate + L"_(turn_2/40)");
}

}  // namespace
