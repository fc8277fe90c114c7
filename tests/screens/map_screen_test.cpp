// The map screen and its panels: the information bar, the hex panel and the
// minimap, over a small world built here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/lang_source.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/hotkeys_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "map_drawing/hex_drawing.h"
#include "platform/input_state.h"
#include "platform/messages.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "rules/purchases.h"
#include "rules/worker_thread.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/minimap_panel.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

using Log = std::vector<std::string>;
using Texts = std::vector<std::wstring>;

// Notes its drawing.
struct DrawnPanel : cPanel {
  DrawnPanel(const char* name, Log& log) : cPanel(-1), name(name), log(log) {}
  void OnRender(float) override { log.push_back(name); }
  std::string name;
  Log& log;
};

// The texts of a panel's labels and edit boxes.
Texts TextsOf(cPanel& panel, std::initializer_list<int> ids) {
  Texts texts;
  for (int id : ids) {
    CDXUTControl* control = panel.Dialog().GetControl(id);
    if (auto* edit = dynamic_cast<CDXUTEditBox*>(control)) texts.push_back(edit->GetText());
    if (auto* label = dynamic_cast<CDXUTStatic*>(control)) texts.push_back(label->GetText());
  }
  return texts;
}

class MapScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pWorld = &world_;
    cMap& map = world_.GetMap();
    map.SetWidth(20);
    map.SetHeight(15);
    map.CreateHexes();
    map.minViewX = map.minViewY = -100000;
    map.maxViewX = map.maxViewY = 100000;
    saved_ = g_Settings;
    // The hex panel and its handle on the bar where the shipped layout places them.
    g_GuiLayout[kInfoHexHandleId] = {342, 6, 32, 32};
    g_GuiLayout[kHexPanelFrameId] = {716, 448, 300, 312};
    for (int id = 402; id <= 419; ++id) g_GuiLayout[id] = {id % 2 == 0 ? 728 : 844, 462 + (id - 402) / 2 * 28, 112, 24};
    g_GuiLayout[420] = {1, 2, 3, 4};  // an id of the block without a control
    g_GuiLayout[kHexHarbourIconId] = {728, 714, 40, 40};
  }
  void TearDown() override {
    world_.SetView(nullptr);
    RetireCurrentMenu();
    DeleteRetiredMenus();
    for (sHex& hex : world_.GetMap().Hexes()) hex.unit = nullptr;
    for (cJednostkaLadowa* unit : world_.Units().landUnits) delete unit;
    world_.Units().landUnits.clear();
    for (cCity* city : world_.Cities()) world_.GetMap().GetHex(city->x, city->y).city = nullptr;
    g_pWorld = nullptr;
    g_bEventsCheckRequested = false;
    g_Settings = saved_;
    plat::GetInputState().SetFocus(true);
    plat::GetInputState().SetMouseInWindow(true);
  }
  cCountry& AddCountry(int alliance, bool human, const wchar_t* name = nullptr) {
    cCountry& country = twtest::AddCountry(world_, alliance, name);
    country.human = human;
    country.active = true;
    world_.GetRelations().Reset(world_.GetCountryCount());
    return country;
  }
  cJednostkaLadowa* AddUnit(int x, int y, int country) {
    auto* unit = world_.Units().landUnits.emplace_back(new cJednostkaLadowa(&world_));
    unit->countryId = country;
    unit->x = x;
    unit->y = y;
    return unit;
  }
  static void Mouse(CDXUTDialog& dialog, unsigned msg, int x, int y) {
    dialog.MsgProc({msg, 0, plat::MakeMouseLParam(x, y)});
  }
  // The map screen of the world with its panels, made on first use.
  cMapScreen& Screen() {
    if (world_.View() == nullptr) world_.SetView(MakeMapScreen(world_));
    return *LoadedMapScreen();
  }
  void Key(unsigned key, bool down = true) { Screen().OnKeyboard(key, down, false); }
  void MouseAt(int x, int y) { Screen().OnMouse(false, false, false, false, false, 0, x, y); }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
  sSettings saved_;
};

using MapPanels = MapScreen;

TEST_F(MapScreen, MenuStateLeavesNoTimedUpdateAndMapStateTakesInputBack) {
  Screen().EnterMapState();
  EXPECT_EQ(std::tuple(world_.GetGameState(), bool(framework_.frameMove), framework_.mouseMoves),
            std::tuple(7, true, true));
  Screen().EnterMenuState();
  EXPECT_EQ(std::pair(world_.GetGameState(), bool(framework_.frameMove)), std::pair(2, false));
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
  cMapScreen(world_, panels).Render(0.0f);
  // The information bar lies on top; the missing diplomacy panel is passed over.
  EXPECT_EQ(log, (Log{"minimap", "hex", "unit", "attack", "info"}));
}

// The map screen makes the map draw the units on their cells and, after
// the cells, the selected unit and the selected hex's marker.
TEST_F(MapScreen, InstallsTheUnitAndSelectionDrawingOfTheMap) {
  g_MapDrawHooks = {};
  Screen();
  EXPECT_TRUE(g_MapDrawHooks.drawUnit && g_MapDrawHooks.drawAfterCells);
  g_MapDrawHooks = {};
}

TEST_F(MapScreen, ArrowKeysHoldBitsAndScrollTheViewAndEscapeOpensThePauseOnlyInTheHumanTurn) {
  g_Settings.MapZoom = 0.5f;
  const float savedTarget = g_MapTargetScale;
  g_MapTargetScale = 0.5f;  // no zoom under way
  cMap& map = world_.GetMap();
  world_.SetGameState(7);
  MouseAt(300, 300);  // over the map, away from its edges
  for (unsigned key : {plat::kVkRight, plat::kVkUp}) Key(key);
  Screen().OnFrameMove(10.0, 0.0f);
  const float x0 = map.targetX, y0 = map.targetY;
  Screen().OnFrameMove(10.1, 0.0f);
  // 0.1 s at 1000 screen pixels a second, at half scale: 200 map pixels.
  EXPECT_NEAR(map.targetX - x0, 200.0f, 0.5f);
  EXPECT_NEAR(map.targetY - y0, -200.0f, 0.5f);
  // The status line names the pending order (its text key without texts).
  world_.turnState.mode = 4;
  Screen().OnFrameMove(10.15, 0.0f);
  EXPECT_EQ(TextsOf(*Screen().InfoPanel(), {kInfoStatusId}), Texts{L"statusbar_hint_move_destination_hex"});
  // An order ended while a report covers the map: the status line follows
  // the mode, not where the mouse is.
  PushDialog(new cDialog(1234));
  world_.turnState.mode = 0;
  Screen().OnFrameMove(10.16, 0.0f);
  EXPECT_EQ(TextsOf(*Screen().InfoPanel(), {kInfoStatusId}), Texts{L"statusbar_hint_no_action"});
  PopDialogs(1);
  DeleteRetiredDialogs();
  // The computer's phase does not scroll.
  world_.SetGameState(9);
  const float x1 = map.targetX;
  Screen().OnFrameMove(10.2, 0.0f);
  EXPECT_EQ(map.targetX, x1);
  // Released keys stop the scroll; a glide to a hex started afterwards keeps going.
  for (unsigned key : {plat::kVkRight, plat::kVkUp}) Key(key, false);
  world_.SetGameState(7);
  Screen().OnFrameMove(10.3, 0.0f);
  EXPECT_EQ(map.targetX, map.viewX);
  map.CenterAtHex(2, 2);
  const float glideTarget = map.targetX;
  Screen().OnFrameMove(10.4, 0.0f);
  EXPECT_EQ(map.targetX, glideTarget);
  g_MapTargetScale = savedTarget;
  // Each arrow key holds its bit; Escape opens the pause only in the human turn.
  for (unsigned key : {plat::kVkLeft, plat::kVkDown}) Key(key);
  EXPECT_EQ(Screen().ScrollKeys(), 0b1001u);
  Key(plat::kVkLeft, false);
  EXPECT_EQ(Screen().ScrollKeys(), 0b1000u);
  world_.SetGameState(9);
  Key(plat::kVkEscape);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  // While a human unit is being stepped the menu waits for the move's end:
  // the unit is off the map until then.
  world_.SetGameState(8);
  Key(plat::kVkEscape);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  Screen().OnFrameMove(10.5, 0.0f);  // nothing moves: the move ends
  EXPECT_EQ(std::pair(g_pCurrentMenu != nullptr, world_.GetGameState()), std::pair(true, 2));
}

// The arrow keys and the edges scroll the player's turn only while the game
// has the focus and the mouse is over the window; a human move being stepped
// scrolls in the background too. The status line follows the order either way.
TEST_F(MapScreen, ScrollingNeedsTheFocusAndTheMouseOverTheWindow) {
  g_Settings.MapZoom = 1.0f;
  const float savedTarget = g_MapTargetScale;
  g_MapTargetScale = 1.0f;
  plat::KeyAndButtonState& state = plat::GetInputState();
  cMap& map = world_.GetMap();
  world_.SetGameState(7);
  Key(plat::kVkRight);  // held
  double time = 20.0;
  // Moves the clock on by 0.1 s and gives the scroll of that frame.
  auto scrolled = [&] {
    const float x0 = map.targetX;
    time += 0.1;
    Screen().OnFrameMove(time, 0.0f);
    return map.targetX - x0;
  };
  MouseAt(300, 300);
  Screen().OnFrameMove(time, 0.0f);
  EXPECT_NEAR(scrolled(), 100.0f, 0.5f);
  // Mouse off the screen (before any move over it), or the window left.
  MouseAt(-1, -1);
  EXPECT_EQ(scrolled(), 0.0f);
  MouseAt(1024, 300);
  EXPECT_EQ(scrolled(), 0.0f);
  MouseAt(300, 300);
  state.SetMouseInWindow(false);
  world_.turnState.mode = 13;
  EXPECT_EQ(scrolled(), 0.0f);
  EXPECT_EQ(TextsOf(*Screen().InfoPanel(), {kInfoStatusId}), Texts{L"statusbar_hint_fleet_move_destination_hex"});
  state.SetMouseInWindow(true);
  EXPECT_NEAR(scrolled(), 100.0f, 0.5f);
  // In the background the player's turn stands; a stepped move goes on.
  state.SetFocus(false);
  EXPECT_EQ(scrolled(), 0.0f);
  world_.SetGameState(8);
  EXPECT_NEAR(scrolled(), 100.0f, 0.5f);
  state.SetFocus(true);
  world_.SetGameState(7);
  // The right edge scrolls with no key held.
  Key(plat::kVkRight, false);
  MouseAt(1023, 300);
  EXPECT_NEAR(scrolled(), 100.0f, 0.5f);
  g_MapTargetScale = savedTarget;
}

TEST_F(MapScreen, TabSelectsTheFirstOwnUnitWithActionPointsThenTheNextAfterTheSelection) {
  world_.turnState.currentCountry = &AddCountry(1, true);
  AddCountry(2, false);
  // Units at (1..4, 3): the second is another country's, the third has no action points left.
  std::vector<cJednostkaLadowa*> units;
  for (auto [country, points] : {std::pair{1, 5}, {2, 5}, {1, 0}, {1, 3}}) {
    units.push_back(AddUnit(static_cast<int>(units.size()) + 1, 3, country));
    units.back()->actionPoints = points;
    world_.GetMap().GetHex(units.back()->x, 3).unit = units.back();
  }
  // While the computer players move, Tab selects nothing.
  world_.SetGameState(9);
  Key(plat::kVkTab);
  EXPECT_EQ(world_.turnState.selectedUnit, nullptr);
  world_.SetGameState(7);
  // Nothing selected: the first eligible unit, then on from the selection.
  for (cJednostkaLadowa* expected : {units[0], units[3], units[0]}) {
    Key(plat::kVkTab);
    EXPECT_EQ(world_.turnState.selectedUnit, expected);
  }
  // A unit selected on the map but missing from the list stops the walk.
  cJednostkaLadowa stray(&world_);
  stray.countryId = 1;
  world_.GetMap().GetHex(9, 9).unit = &stray;
  world_.turnState.selectedHex = &world_.GetMap().GetHex(9, 9);
  twtest::LogCapture log;
  Key(plat::kVkTab);
  EXPECT_EQ(world_.turnState.selectedHex, &world_.GetMap().GetHex(9, 9));
  EXPECT_TRUE(log.Contains(L"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem"));
}

TEST_F(MapScreen, DisplayModesCycleAndHandEditedValuesStay) {
  // A key (below 256) or a minimap button (its id), on a setting holding a value before.
  const struct { int input; int* setting; int before, after; } cases[] = {
      {plat::kVkF6, &g_Settings.BorderMode, 2, 0}, {plat::kVkF6, &g_Settings.BorderMode, 3, 3},
      {318, &g_Settings.BorderMode, 3, 3},       {319, &g_Settings.MapOwnershipMode, 3, 0},
      {320, &g_Settings.MapMode, 0, 2},          {320, &g_Settings.MapMode, 1, 1},
  };
  for (const auto& c : cases) {
    *c.setting = c.before;
    if (c.input < 256) {
      Key(static_cast<unsigned>(c.input));
    } else {
      Screen().OnGUIEvent(0, c.input, nullptr);
    }
    EXPECT_EQ(*c.setting, c.after) << c.input << " from " << c.before;
  }
  const bool grid = g_Settings.ShowGrid;
  Key(plat::kVkF2);
  EXPECT_NE(g_Settings.ShowGrid, grid);
}

// The English texts of the language file in the string base while it
// lives; then every key's text is the key itself again, as for a key the
// base does not know.
class EnglishTexts {
 public:
  EnglishTexts() {
    const std::filesystem::path file = twtest::FindSourceRoot("data/lang/lang_ENG.txt") / "data/lang/lang_ENG.txt";
    sLangSourceError error;
    EXPECT_TRUE(ParseLangSource(twtest::ReadFile(file.string()), texts_, error)) << error.message;
    Load(texts_);
  }
  ~EnglishTexts() {
    for (sLangText& text : texts_) text.text = std::wstring(text.key.begin(), text.key.end());
    Load(texts_);
  }
  EnglishTexts(const EnglishTexts&) = delete;
  EnglishTexts& operator=(const EnglishTexts&) = delete;

 private:
  void Load(const std::vector<sLangText>& texts) {
    std::string base;
    ASSERT_TRUE(BuildLangBase(texts, base));
    g_StringBase.Load(dir_.Write("lang_ENG.db", base), true);
  }
  twtest::TempDir dir_;
  std::vector<sLangText> texts_;
};

// A hint of the bar that names a key, "(U)", names one that does what a
// click on its control does: the same dialogs open, the same panels show.
TEST_F(MapScreen, AKeyABarHintNamesDoesWhatTheClickDoes) {
  cCountry& own = AddCountry(kAllies, true);
  world_.turnState.SetCurrentCountry(&own);
  const EnglishTexts english;
  Screen().EnterMapState();
  cInfoPanel& bar = *Screen().InfoPanel();
  const std::vector<cPanel*> panels = {Screen().Panel(cMapScreen::kUnit), Screen().Panel(cMapScreen::kHex),
                                       Screen().Panel(cMapScreen::kAttack), Screen().Panel(cMapScreen::kDiplomacy)};
  // What the player sees: the dialogs open and which panels are shown.
  const auto state = [&] {
    std::vector<int> seen;
    for (const cDialog* dialog : g_DialogStack) seen.push_back(dialog->GetId());
    for (cPanel* panel : panels) seen.push_back(panel != nullptr && !panel->Dialog().GetMinimized());
    return seen;
  };
  const auto restore = [&](const std::vector<bool>& minimised) {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    for (std::size_t i = 0; i < panels.size(); ++i) panels[i]->Dialog().SetMinimized(minimised[i]);
  };
  std::vector<bool> minimised;
  for (cPanel* panel : panels) minimised.push_back(panel->Dialog().GetMinimized());
  const auto before = state();
  int named = 0;
  for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoAttackHandleId, kInfoDiplomacyHandleId, kCmdPurchases,
                 kCmdUnits, kCmdResearch, kCmdReports, kCmdConvoys, kCmdHotkeys}) {
    CDXUTControl* control = bar.Dialog().GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    const std::wstring hint = control->GetHint() != nullptr ? control->GetHint() : L"";
    const std::size_t open = hint.find(L'(');
    if (open == std::wstring::npos || open + 2 >= hint.size() || hint[open + 2] != L')') continue;
    ++named;
    Screen().OnGUIEvent(EVENT_BUTTON_CLICKED, id, control);
    const auto clicked = state();
    restore(minimised);
    WorldOnKeyboardThunk(static_cast<unsigned>(hint[open + 1]), true, false);
    WorldOnKeyboardThunk(static_cast<unsigned>(hint[open + 1]), false, false);
    EXPECT_NE(clicked, before) << id;
    EXPECT_EQ(state(), clicked) << "the key of \"" << std::string(hint.begin(), hint.end()) << "\"";
    restore(minimised);
  }
  EXPECT_GE(named, 6) << "the bar's dialog icons name their keys";
}

// I opens the hotkeys list through the bar's icon and, reaching the open
// list, closes it; F12 opens the developer dialog on the current country.
TEST_F(MapScreen, HotkeysToggleWithIAndF12OpensTheDeveloperDialog) {
  cCountry& own = AddCountry(kAllies, true);
  world_.turnState.SetCurrentCountry(&own);
  Screen().EnterMapState();
  Key('I');
  ASSERT_NE(dynamic_cast<cDialogSkrotowKlawiszowych*>(g_pActiveDialog), nullptr);
  WorldOnKeyboardThunk('I', true, false);
  EXPECT_TRUE(g_DialogStack.empty());
  Screen().OnGUIEvent(EVENT_BUTTON_CLICKED, kCmdHotkeys, nullptr);
  EXPECT_NE(FindDialogById(cDialogSkrotowKlawiszowych::kId), nullptr);
  Screen().OnGUIEvent(EVENT_BUTTON_CLICKED, kCmdHotkeys, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());

  Key(plat::kVkF12);
  auto* cheats = dynamic_cast<cDialogCheatow*>(g_pActiveDialog);
  ASSERT_NE(cheats, nullptr);
  EXPECT_EQ(cheats->SelectedCountry(), &own);
  PopDialogs(-1);
  DeleteRetiredDialogs();
  // While the computer plays, the dialog that writes the points stays shut.
  world_.SetGameState(kPhaseComputerPlayers);
  Key(plat::kVkF12);
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(MapScreen, HexPickingFollowsTheSlantedCellEdges) {
  g_Settings.MapZoom = 1.0f;
  // With the view centre at 0, screen (512 + 30 + px, 384 + 36 + py) is the grid pixel (px, py).
  int column = -1, row = -1;
  const auto pick = [&](int px, int py) {
    return PickHexAtScreen(world_.GetMap(), 512 + 30 + px, 384 + 36 + py, 1024, 768, column, row);
  };
  const struct { int px, py, column, row; } cases[] = {
      {3 * 83 + 40, 2 * 98 + 49, 3, 2},      // odd column 3, row 2: middle of the cell
      {3 * 83 + 10, 2 * 98 + 40, 3, 2},      // just right of the slanted edge's top half
      {3 * 83 + 2, 2 * 98 + 10, 2, 1},       // steeper: up-left, one row higher from an odd column
      {3 * 83 + 2, 2 * 98 + 90, 2, 2},       // down-left of an odd column keeps the row
      {4 * 83 + 2, 2 * 98 + 49 + 90, 3, 3},  // even column 4 is half a cell lower
      {4 * 83 + 2, 2 * 98 + 49 + 10, 3, 2},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(pick(c.px, c.py)) << c.px << "," << c.py;
    EXPECT_EQ(std::pair(column, row), std::pair(c.column, c.row)) << c.px << "," << c.py;
  }
  // Left of or above the grid, and beyond its size, nothing.
  for (auto [px, py] : {std::pair{-20, 2 * 98 + 49}, {3 * 83 + 40, -60}, {20 * 83 + 40, 60}}) {
    EXPECT_FALSE(pick(px, py)) << px << "," << py;
  }
}

TEST_F(MapScreen, AllianceQueriesAndVictoryPoints) {
  // 1: Axis member, 2: Axis leader, 3: Allies leader, 4: Allies member, 5: neutral with nothing.
  for (int alliance : {1, 4, 5, 2, 0}) AddCountry(alliance, false);
  for (auto [alliance, leader] : {std::pair{1, 2}, {2, 3}, {5, 3}, {3, 0}, {0, 0}, {7, 0}}) {
    EXPECT_EQ(world_.GetAllianceLeader(alliance), leader ? world_.GetCountry(leader) : nullptr) << alliance;
  }
  const struct { int x, controller, victoryPoints; float production; } cities[] = {
      {1, 1, 5, 2.5f}, {2, 2, 7, 1.0f}, {3, 3, 11, 4.25f}, {4, 4, 2, 0.0f}};
  for (const auto& c : cities) {
    cCity& city = twtest::AddCity(world_, c.x, 1, 0, L"City");
    city.victoryPoints = c.victoryPoints;
    city.productionPoints = c.production;
    world_.GetMap().GetHex(c.x, 1).controller = static_cast<std::uint8_t>(c.controller);
  }
  // Members and leaders count together (codes 1 and 4); an unknown code gives -1.
  for (auto [alliance, points] : {std::pair{4, 12}, {1, 12}, {2, 13}, {3, 0}, {7, -1}}) {
    EXPECT_EQ(world_.CountAllianceVictoryPoints(alliance), points) << alliance;
  }
  EXPECT_EQ(std::pair(world_.CountCountryVictoryPoints(3), world_.GetCountryScore(5)), std::pair(11, 0));
  // Score: victory and production points of cities plus ship hit points.
  auto* ship = new cJednostkaMorska(&world_);
  ship->countryId = 3;
  ship->hitPoints = 9;
  world_.Units().navalUnits.push_back(ship);
  EXPECT_EQ(world_.GetCountryScore(3), 24);  // 9 + 11 + 4.25, truncated
  // A city on a hex nobody controls counts for nobody (the game goes on).
  world_.GetMap().GetHex(3, 1).controller = 0;
  EXPECT_EQ(world_.CountCountryVictoryPoints(3), 0);
  EXPECT_EQ(world_.CountAllianceVictoryPoints(2), 2);
  EXPECT_EQ(world_.GetCountryScore(3), 9);
}

TEST_F(MapScreen, StartingWithoutAHumanEntersTheComputerPhaseAndWithAHumanCountryShowsItsTurn) {
  world_.turnState.currentCountry = &AddCountry(1, false);
  cCountry& second = AddCountry(2, false);
  Screen().StartGame();
  EXPECT_EQ(std::tuple(world_.turnState.viewCountry, world_.GetGameState(), bool(framework_.frameMove)),
            std::tuple(nullptr, 9, true));
  second.human = true;
  world_.turnState.currentCountry = &second;
  g_Settings.FogOfWar = 1;
  cJednostkaLadowa* own = AddUnit(1, 1, 2);
  cJednostkaLadowa* enemy = AddUnit(15, 12, 1);
  enemy->visible = true;
  Screen().StartGame();
  // Under fog of war the player sees his own units, not the enemy's far away.
  EXPECT_EQ(std::pair(own->visible, enemy->visible), std::pair(true, false));
  EXPECT_EQ(std::tuple(world_.turnState.viewCountry, world_.GetGameState(), g_bEventsCheckRequested.load()),
            std::tuple(&second, 7, false));
  // A country whose turn is the events check only asks the worker for it.
  second.specialFlags = 1;
  Screen().StartGame();
  EXPECT_TRUE(g_bEventsCheckRequested);
}

TEST_F(MapScreen, StartLoadsThePauseWallpaperIntoItsSlot) {
  world_.turnState.currentCountry = &AddCountry(1, true);
  g_Textures[10].Release();
  Screen().StartGame();
  EXPECT_EQ(std::tuple(g_Textures[10].GetKind(), g_Textures[10].FileName(), g_Textures[10].MipLevels()),
            std::tuple(cTexture::kFromFile, std::wstring(L"data\\gfx\\wallpaper_pause.png"), std::uint8_t{1}));
  g_Textures[10].Release();
}

// The map is loaded fitted to the screen, far too small to read; the game
// opens it at the zoom kept in the settings (with the view's bounds of that
// zoom), and the wheel steps on from that zoom's level.
TEST_F(MapScreen, StartOpensTheMapAtTheZoomOfTheSettings) {
  world_.turnState.currentCountry = &AddCountry(1, true);
  g_Settings.MapZoom = g_MapTargetScale = 0.1f;  // the fit scale of the loading
  g_MapZoomLevel = 1.0f;
  g_SettingsIni.SetInt("MapDisplay/Zoom", 90);
  Screen().StartGame();
  g_SettingsIni.SetInt("MapDisplay/Zoom", 100);
  // 20 columns of 83 pixels on a 1024-pixel screen: level 0.18 gives 0.8995.
  EXPECT_FLOAT_EQ(g_MapZoomLevel, 0.18f);
  EXPECT_NEAR(g_MapTargetScale, 0.9f, 0.001f);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, g_MapTargetScale) << "taken at once, so the view may centre";
  EXPECT_GT(world_.GetMap().maxViewX, world_.GetMap().minViewX);
  world_.GetMap().Zoom(-1, 0, 0);
  EXPECT_FLOAT_EQ(g_MapZoomLevel, 0.19f) << "one notch out from the opening zoom";
  EXPECT_EQ(g_SettingsIni.GetInt("MapDisplay/Zoom", 0), ZoomToPercent(g_MapTargetScale))
      << "the player's zoom is the one the next game opens at";
  g_SettingsIni.SetInt("MapDisplay/Zoom", 100);
  g_MapZoomLevel = 1.0f;
  g_MapTargetScale = 1.0f;
}

TEST_F(MapPanels, DraggingAHandleMovesItsPanelInFivePixelStepsWithinTheScreen) {
  CDXUTDialog& d = Screen().InfoPanel()->Dialog();
  CDXUTDialog& hex = Screen().HexPanel()->Dialog();
  CDXUTControl* handle = d.GetControl(kInfoHexHandleId);
  CDXUTControl* field = hex.GetControl(kHexNameId);
  const auto at = [](CDXUTControl* c) { return std::pair(c->GetX(), c->GetY()); };
  const auto entry = [](int id) { return std::pair(g_GuiLayout[id].a, g_GuiLayout[id].b); };
  const auto [fieldX, fieldY] = at(field);
  Mouse(d, plat::kWmMouseMove, 350, 20);  // over the hex handle
  ASSERT_EQ(d.GetMouseOverControl(), handle);
  Mouse(d, plat::kWmLButtonDown, 350, 20);
  Mouse(d, plat::kWmMouseMove, 363, 27);  // 13 and 7 pixels: 10 and 5 moved
  EXPECT_EQ(at(handle), std::pair(352, 11));
  // Every id of the block moved in the table, with or without a control, and
  // the controls agree with their entries.
  EXPECT_EQ(entry(420), std::pair(11, 7));
  EXPECT_EQ(at(field), std::pair(fieldX + 10, fieldY + 5));
  for (int id = kHexPanelFrameId; id <= kHexPanelBlockLast; ++id) {
    if (CDXUTControl* c = hex.GetControl(id)) {
      EXPECT_EQ(at(c), entry(id)) << id;
    }
  }
  // A step that would take the handle off the top of the screen is refused:
  // handle, panel and table stay; off the right edge likewise.
  Mouse(d, plat::kWmMouseMove, 363, 7);
  EXPECT_EQ(at(handle), std::pair(352, 11));
  EXPECT_EQ(at(field), std::pair(fieldX + 10, fieldY + 5));
  Mouse(d, plat::kWmMouseMove, 363 + 700, 27);
  EXPECT_EQ(entry(kHexPanelFrameId), std::pair(726, 453));
  Mouse(d, plat::kWmLButtonUp, 363, 27);
}

TEST_F(MapPanels, InformationBarCountersFollowHumanCountriesOnlyAndTheStatusLineLeavesTheLockToTheFrame) {
  cCountry& human = AddCountry(5, true, L"Freedonia");
  human.productionPoints = 123.6;
  human.strategicMovementPoints = 2;
  human.strategicMovementPointsMax = 5;
  human.amphibiousInvasionPoints = 1;
  human.amphibiousInvasionPointsTotal = 3;
  cCountry& computer = AddCountry(6, false, L"Sylvania");
  computer.productionPoints = 999;
  cInfoPanel bar;
  EXPECT_EQ(std::pair(bar.Dialog().GetControl(kInfoFlagId)->GetVisible(), TextsOf(bar, {kInfoProductionId})),
            std::pair(false, Texts{L"-"}));
  const auto show = [&](cCountry* country) {
    world_.turnState.currentCountry = country;
    bar.RefreshCounters();
  };
  show(&human);
  EXPECT_TRUE(bar.Dialog().GetControl(kInfoFlagId)->GetVisible());
  EXPECT_EQ(TextsOf(bar, {kInfoNameId, kInfoProductionId, kInfoStrategicId, kInfoSeaInvasionId}),
            (Texts{L"Freedonia", L"124", L"2/5", L"1/3"}));
  // A computer country shows its name while the counters keep the human's;
  // no current country changes nothing.
  show(&computer);
  show(nullptr);
  EXPECT_EQ(TextsOf(bar, {kInfoNameId, kInfoProductionId}), (Texts{L"Sylvania", L"124"}));
  // The status line is set on the main thread inside its frame, which
  // already holds the lock: it takes no lock of its own in any phase.
  g_bRunning = true;
  CreateFrameworkLock();
  const auto count = [](const twtest::LogCapture& log, const wchar_t* prefix) {
    const auto lines = log.Lines();
    const auto starts = [&](const std::wstring& line) { return line.rfind(prefix, 0) == 0; };
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), starts));
  };
  for (int phase : {7, 2, 12, 3, 4, 9, 10, 11}) {
    world_.SetGameState(phase);
    twtest::LogCapture log;
    bar.SetStatusText(L"Computer moves");
    EXPECT_EQ(std::pair(count(log, L"AC:"), count(log, L"RC:")), std::pair(0, 0)) << phase;
    EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  }
  EXPECT_EQ(TextsOf(bar, {kInfoStatusId}), Texts{L"Computer moves"});
  DeleteFrameworkLock();
  g_bRunning = false;
}

TEST_F(MapPanels, ComputerPhaseLocksTheBarAndPanelsGetTheirOwnStateBack) {
  cMapScreen& screen = Screen();
  CDXUTDialog& d = LoadedMapScreen()->InfoPanel()->Dialog();
  SetPanelMinimized(screen.HexPanel(), false);  // shown by the player before the phase
  const auto expectLocked = [&](bool locked) {
    EXPECT_EQ(d.GetMouseInput(), !locked);
    for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoAttackHandleId, kInfoDiplomacyHandleId}) {
      EXPECT_EQ(d.GetControl(id)->GetVisible(), !locked) << id;
    }
    EXPECT_EQ(d.GetControl(kInfoComputerIndicatorId)->GetVisible(), locked);
    EXPECT_EQ(screen.HexPanel()->Dialog().GetMinimized(), locked);
  };
  screen.EnterComputerPhase();
  EXPECT_EQ(world_.GetGameState(), 9);
  expectLocked(true);
  EXPECT_FALSE(screen.HexPanel()->savedMinimized);
  // No click reaches a handle while locked.
  EXPECT_FALSE(d.MsgProc({plat::kWmLButtonDown, 0, plat::MakeMouseLParam(350, 20)}));
  screen.InfoPanel()->SetStatusText(L"Determining sea battles...");
  screen.LeaveComputerPhase();
  EXPECT_EQ(world_.GetGameState(), 7);
  expectLocked(false);
  // The human turn's status line tells the pending order, not what the end
  // of the impulse did last.
  EXPECT_EQ(TextsOf(*screen.InfoPanel(), {kInfoStatusId}), Texts{L"statusbar_hint_no_action"});
}

TEST_F(MapPanels, HexPanelDescribesEveryKindOfPlace) {
  cCountry& own = AddCountry(1, true, L"Freedonia");
  cCountry& ally = AddCountry(4, false, L"Sylvania");
  AddCountry(2, false, L"Rivalia");
  world_.constants.maxSupply = 12;
  cMap& map = world_.GetMap();
  for (auto [id, name, size] : {std::tuple{1, L"North Sea", 0}, {2, L"Port of Sylvania", 3}}) {
    sWezelGrafuMorz node;
    node.id = id;
    node.name = name;
    node.maxSize = size ? 5 : 0;
    node.size = size;
    world_.GetSeaGraph().Nodes().push_back(node);
  }
  // Cities at (0..4, 1) on hexes the ally controls: its victory points are 3 + x.
  const wchar_t* names[] = {L"Capital", L"Town", L"Harbour", L"Quay", L"Oil field"};
  const int types[] = {kCitySupply, kCityNormal, kCitySupplyPort, kCityPort, kCityResources};
  for (int x = 0; x < 5; ++x) {
    cCity& city = twtest::AddCity(world_, x, 1, types[x], names[x]);
    city.victoryPoints = 3 + x;
    city.productionPoints = 2.5f;
    city.productionLostToBombing = 1;
    city.supply = 6;
    city.supplyInfo = {4, 0, 0};
    sHex& hex = map.GetHex(x, 1);
    hex.terrain = 1;
    hex.controller = 2;
    hex.owner = 1;
  }
  map.GetHex(2, 1).seaNode = 2;
  world_.Cities()[2]->graphNode = -1;
  map.GetHex(3, 1).weather = 2;
  map.GetHex(3, 1).fortification = 2;
  map.GetHex(5, 3).seaZone = 1;  // open sea
  map.GetHex(5, 0).terrain = 9;  // unknown terrain code

  cHexPanel panel;
  panel.RefreshFor(nullptr, &own);
  EXPECT_EQ(TextsOf(panel, {402, 403, 405, 407, 409, 411, 413, 415, 417, 419}), Texts(10, L"-"));
  EXPECT_FALSE(panel.Dialog().GetControlEnabled(kHexHarbourIconId));
  const auto rows = [&](int x, int y, cCountry& viewer, std::initializer_list<int> ids) {
    panel.RefreshFor(&map.GetHex(x, y), &viewer);
    return TextsOf(panel, ids);
  };
  // The supply row's key text is its format; a city gives the current country its own figure.
  EXPECT_EQ(rows(0, 1, own, {402, 403, 407, 409, 413, 415, 417, 419}),
            (Texts{L"hex_panel_name_city", L"Capital", L"hex_panel_supply_main_source", L"2.5/3.5", L"Sylvania",
                   L"Freedonia", L"-", L"weather_good"}));
  EXPECT_EQ(rows(1, 1, own, {407}), Texts{L"4 (6)"});
  EXPECT_EQ(rows(2, 1, own, {402, 403, 407}),
            (Texts{L"hex_panel_name_port", L"hex_panel_city_name_port", L"hex_panel_supply_main_source"}));
  EXPECT_EQ(rows(3, 1, ally, {402, 407, 417, 419}), (Texts{L"hex_panel_name_port", L"0 (6)", L"2", L"weather_mud"}));
  EXPECT_EQ(rows(4, 1, own, {402, 407, 409, 411}), (Texts{L"hex_panel_name_resources", L"-", L"2.5", L"7"}));
  // Open sea: the zone's name; plain water: nothing, and never weather.
  EXPECT_EQ(rows(5, 3, own, {402, 403, 405, 413, 419}),
            (Texts{L"hex_panel_name_sea_zone", L"North Sea", L"hex_panel_additional_info_water", L"-", L"-"}));
  EXPECT_EQ(rows(5, 0, own, {402, 405}), (Texts{L"-", L"hex_panel_additional_info_unknown"}));
}

TEST_F(MapPanels, HarbourRulesNameTheFirstFailureAndBuildingOnePutsOneUnitOnTheHexAndCharges) {
  cCountry& own = AddCountry(1, true);
  AddCountry(4, false);
  AddCountry(2, false);
  own.productionPoints = 50;
  sHex& hex = world_.GetMap().GetHex(2, 2);
  hex.terrain = 1;
  hex.coastal = 1;
  hex.controller = 2;  // the ally
  // Building it from the panel: the icon is off at once, and a second event builds nothing.
  world_.constants.mulberryValues = {20.0f, 2.0f, 8.0f, 6.0f};
  world_.turnState.currentCountry = &own;
  world_.turnState.selectedHex = &hex;
  cHexPanel panel;
  panel.Refresh();
  ASSERT_TRUE(panel.Dialog().GetControlEnabled(kHexHarbourIconId));
  for (int click = 0; click < 2; ++click) panel.OnGUIEvent(EVENT_BUTTON_CLICKED, kHexHarbourIconId, nullptr);
  ASSERT_EQ(world_.Units().landUnits.size(), 1u);
  EXPECT_EQ(hex.unit, world_.Units().landUnits.front());
  EXPECT_EQ(static_cast<cMulberry*>(hex.unit)->remainingMonths, 6);
  EXPECT_EQ(std::tuple(hex.unit->type, own.productionPoints, panel.Dialog().GetControlEnabled(kHexHarbourIconId)),
            std::tuple(kHarbourUnitType, 30.0, false));

  // Each step spoils one more condition; the reason names the first one
  // that fails, in the order of the checks.
  hex.unit = nullptr;
  const std::function<void()> none = [] {};
  cMulberry occupant(&world_);
  const struct { std::function<void()> change; double cost; bool can; const char* reason; } steps[] = {
      {none, 30.0, true, "hexpanel_mulberry_hint"},  // equal points suffice
      {none, 30.5, false, "hexpanel_mulberry_hint_not_enough_pp"},
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

// A name pattern means one thing for a bought unit and for a harbour built
// from the panel: the number takes the pattern's "%i", or stands before a
// pattern without one; a pattern is never read as a format.
TEST_F(MapPanels, BoughtUnitsAndHarboursReadTheCountrysNamePatternAlike) {
  cCountry& own = AddCountry(1, true);
  own.SetUnitTypeName(0, L"%i Westland Division");
  own.SetUnitTypeName(16, L"Artificial Harbour");
  own.productionPoints = 1000;
  world_.constants.mulberryValues = {20.0f, 2.0f, 8.0f, 6.0f};
  world_.turnState.currentCountry = &own;
  cHexPanel panel;
  for (int v : {0, 57, 89, 32767}) {
    plat::ScopedRandOverride pin([v] { return v; });
    const std::wstring number = std::to_wstring(v % 90 + 10);
    EXPECT_EQ(DrawNewUnitName(world_, own, kUnitInfantryDivision), number + L" Westland Division");
    sHex& hex = world_.GetMap().GetHex(1 + v % 3, 1 + v % 2);
    hex.terrain = 1;
    hex.coastal = 1;
    hex.controller = 1;
    hex.unit = nullptr;
    world_.turnState.selectedHex = &hex;
    panel.OnGUIEvent(EVENT_BUTTON_CLICKED, kHexHarbourIconId, nullptr);
    ASSERT_NE(hex.unit, nullptr);
    EXPECT_EQ(hex.unit->name, number + L" Artificial Harbour");
  }
  const struct { const wchar_t* pattern; int number; const wchar_t* name; } cases[] = {
      {L"Korps %d", 12, L"Korps 12"},
      {L"No. %i of %s at 100%%", 7, L"No. 7 of %s at 100%"},  // %s stays text
      {L"%i-%i %n", 3, L"3-%i %n"},
      {L"50%", 44, L"44 50%"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberedUnitName(c.pattern, c.number), c.name) << c.pattern;
  EXPECT_EQ(NumberedUnitName(std::wstring(200, L'x'), 10).size(), kUnitNameMaxLength);
}

TEST_F(MapPanels, MinimapRecentresOnItsEdgesButNotBeyondAndItsDateLineUsesTheStartDateOnlyOnTheFirstTurn) {
  cMinimapPanel panel;
  panel.SetMinimapRect(800, 10, 200, 150);
  const int controls = panel.Dialog().GetControlCount();
  panel.SetMinimapRect(828, 12, 184, 138);  // moves the one picture
  EXPECT_EQ(std::pair(panel.Dialog().GetControlCount(), panel.Dialog().GetControl(kMinimapPictureId)->GetX()),
            std::pair(controls, 828));
  cMap& map = world_.GetMap();
  map.minimapRect = {828, 12, 184, 138};
  const auto recentred = [&](int x, int y) {
    map.targetX = map.targetY = -1;
    panel.OnMouse(true, false, false, false, false, 0, x, y);
    return map.targetX != -1 || map.targetY != -1;
  };
  // The bottom-right and top-left corners, edges included, and just beyond.
  for (auto [x, y, inside] : {std::tuple{828 + 184, 12 + 138, true}, {828, 12, true}, {828 + 185, 50, false},
                              {827, 50, false}}) {
    EXPECT_EQ(recentred(x, y), inside) << x << "," << y;
  }
  // A minimised panel draws nothing.
  SetPanelMinimized(&panel, true);
  renderer_.records.clear();
  panel.OnRender(0.0f);
  EXPECT_TRUE(renderer_.records.empty());
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
  panel.RefreshDate();
  EXPECT_EQ(TextsOf(panel, {kMinimapDateId}), Texts{gameDate + L"_(turn_2/40)"});
}

}  // namespace
