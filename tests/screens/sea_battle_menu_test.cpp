// The sea-battle screen: the formations on the field, the cell under the
// pointer, the lattice of move cells, the player's picks, moves and shots,
// the buttons through a battle and the way back to the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "air_rules/air_fixture.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "gui/dxut_element.h"
#include "platform/messages.h"
#include "platform/recording_renderer.h"
#include "rules/sea_battle.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/sea_battle_grid.h"
#include "screens/sea_battle_menu.h"
#include "support/fake_framework.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/map.h"

namespace {

using twtest::AirWorld;

// Whether a cell of the grid holds the ship.
bool OnGrid(const cSeaBattleGrid& grid, const cJednostkaMorska* ship) {
  return std::any_of(grid.Cells().begin(), grid.Cells().end(),
                     [ship](const sSeaBattleCell& cell) { return cell.ship == ship; });
}

// Ships of the given types and of no world, owned by the test.
struct ShipSet {
  explicit ShipSet(std::vector<int> types) {
    for (int type : types) {
      auto ship = std::make_unique<cJednostkaMorska>(nullptr);
      ship->SetType(type);
      ship->id = static_cast<int>(owned.size()) + 1;
      list.push_back(ship.get());
      owned.push_back(std::move(ship));
    }
  }
  std::vector<std::unique_ptr<cJednostkaMorska>> owned;
  std::vector<cJednostkaMorska*> list;
};

std::vector<int> Repeat(int type, int n) { return std::vector<int>(static_cast<std::size_t>(n), type); }

TEST(SeaBattleGrid, FormationLeavesTheSurplusOffAndThe31stCarrierTakesALinePlace) {
  // 31 carriers and 23 cruisers: 30 carrier places, then the 31st carrier
  // and 21 cruisers on the 22 line places; two cruisers stay off the field.
  std::vector<int> types = Repeat(kUnitAircraftCarrier, 31);
  for (int t : Repeat(kUnitCruiser, 23)) types.push_back(t);
  ShipSet first(types), second(types);
  cSeaBattleGrid grid;
  const auto placedFirst = grid.PlaceSide(0, first.list);
  const auto placedSecond = grid.PlaceSide(1, second.list);
  ASSERT_EQ(placedFirst.size(), 52u);
  ASSERT_EQ(placedSecond.size(), 52u);
  auto at = [&](const cJednostkaMorska* ship) {
    for (const auto& p : placedFirst) {
      if (p.ship == ship) return std::pair(p.x, p.y);
    }
    for (const auto& p : placedSecond) {
      if (p.ship == ship) return std::pair(p.x, p.y);
    }
    return std::pair(-1, -1);
  };
  // Carriers: the first fifteen in column 3 from the middle row outwards,
  // the next fifteen in column 1.
  EXPECT_EQ(at(first.list[0]), std::pair(3, 16));
  EXPECT_EQ(at(first.list[1]), std::pair(3, 14));
  EXPECT_EQ(at(first.list[14]), std::pair(3, 30));
  EXPECT_EQ(at(first.list[15]), std::pair(1, 16));
  EXPECT_EQ(at(first.list[29]), std::pair(1, 30));
  // The 31st carrier heads the line; the cruisers follow on its places.
  EXPECT_EQ(at(first.list[30]), std::pair(13, 16));
  EXPECT_EQ(at(first.list[31]), std::pair(13, 14));
  EXPECT_EQ(at(first.list[38]), std::pair(9, 16));   // line place 8: dx 4, dy 0
  EXPECT_EQ(at(first.list[51]), std::pair(13, 22));  // line place 21: dx 0, dy 6
  EXPECT_EQ(at(first.list[52]), std::pair(-1, -1));
  EXPECT_EQ(at(first.list[53]), std::pair(-1, -1));
  // The second side mirrors it right of the middle column.
  EXPECT_EQ(at(second.list[0]), std::pair(27, 16));
  EXPECT_EQ(at(second.list[15]), std::pair(29, 16));
  EXPECT_EQ(at(second.list[30]), std::pair(17, 16));
  EXPECT_EQ(at(second.list[38]), std::pair(21, 16));
  // Every placed ship stands in its own cell; the surplus in none.
  int onField = 0;
  for (const sSeaBattleCell& cell : grid.Cells()) onField += cell.ship != nullptr ? 1 : 0;
  EXPECT_EQ(onField, 104);
  EXPECT_FALSE(OnGrid(grid, first.list[53]));
  // The edge columns carry their mark, the rest none.
  EXPECT_EQ(grid.Cell(3, 0).hex.markBits, kCellEdge);
  EXPECT_EQ(grid.Cell(27, 5).hex.markBits, kCellEdge);
  EXPECT_EQ(grid.Cell(4, 5).hex.markBits, 0u);
  EXPECT_EQ(grid.Cell(26, 5).hex.markBits, 0u);
}

TEST(SeaBattleGrid, PickFollowsTheSlantedEdgesAndRefusesPointsOffTheField) {
  // Zoom 1 with the view placed so that grid pixels are screen pixels.
  const int scrollX = 512 + 30, scrollY = 384 + 36;
  auto pick = [&](int x, int y) {
    int c = -1, r = -1;
    const bool ok = cSeaBattleGrid::PickCell(x, y, 1024, 768, 1.0f, scrollX, scrollY, c, r);
    return ok ? std::pair(c, r) : std::pair(-1, -1);
  };
  // Odd column 3 (x 249..331), row 2 (y 196..293).
  EXPECT_EQ(pick(249 + 40, 196 + 10), std::pair(3, 2));
  // 10 pixels in, 39 above the middle: steeper than 49/24, upper-left.
  EXPECT_EQ(pick(249 + 10, 196 + 10), std::pair(2, 1));
  // 10 pixels in, 9 above the middle: still this cell.
  EXPECT_EQ(pick(249 + 10, 196 + 40), std::pair(3, 2));
  // Just either side of the edge below the middle: (90 - 49) / 20 = 2.05
  // lies in the lower-left cell, (90 - 49) / 21 = 1.95 in this one.
  EXPECT_EQ(pick(249 + 20, 196 + 90), std::pair(2, 2));
  EXPECT_EQ(pick(249 + 21, 196 + 90), std::pair(3, 2));
  // On the cell's left border itself: the neighbour.
  EXPECT_EQ(pick(249, 196 + 5), std::pair(2, 1));
  // Even column 4 lies half a row lower: lower-left is one row further down.
  EXPECT_EQ(pick(332 + 10, 49 + 196 + 90), std::pair(3, 3));
  EXPECT_EQ(pick(332 + 40, 49 + 196 + 10), std::pair(4, 2));
  // Left of and above the field, and outside the back buffer.
  EXPECT_EQ(pick(0, 400), std::pair(-1, -1));
  EXPECT_EQ(pick(400, 0), std::pair(-1, -1));
  EXPECT_EQ(pick(-5, 400), std::pair(-1, -1));
  EXPECT_EQ(pick(400, 768), std::pair(-1, -1));
}

TEST(SeaBattleGrid, MoveCellsLieOnALatticeOfTheShipsZone) {
  ShipSet ships({kUnitCruiser});
  cSeaBattleGrid grid;
  grid.Cell(9, 4).ship = ships.list[0];  // an occupied cell of the lattice
  grid.MarkMoveCells(13, false, false);
  std::vector<std::pair<int, int>> marked;
  for (const sSeaBattleCell& cell : grid.Cells()) {
    if ((cell.hex.markBits & kCellMoveTo) != 0) marked.emplace_back(cell.hex.x, cell.hex.y);
  }
  // Columns 5, 7, 9, 11, 13: fifteen rows each, minus the occupied cell.
  EXPECT_EQ(marked.size(), 5u * 15u - 1u);
  for (auto [x, y] : marked) {
    EXPECT_TRUE(x >= 5 && x <= 13 && x % 2 == 1) << x;
    // Columns 5, 9, 13 take even rows, 7 and 11 odd ones.
    EXPECT_EQ(y % 2, (x % 4) / 2) << x << "," << y;
  }
  EXPECT_EQ(grid.Cell(9, 4).hex.markBits & kCellMoveTo, 0u);
  // A carrier of the second side reaches its edge columns, never the middle.
  grid.MarkMoveCells(27, true, false);
  int right = 0;
  for (const sSeaBattleCell& cell : grid.Cells()) {
    if ((cell.hex.markBits & kCellMoveTo) == 0) continue;
    ++right;
    EXPECT_GE(cell.hex.x, 17);
    EXPECT_LE(cell.hex.x, 29);
  }
  EXPECT_EQ(right, 7 * 15);
  EXPECT_EQ(grid.Cell(29, 2).hex.markBits & kCellMoveTo, kCellMoveTo);
  EXPECT_EQ(grid.Cell(27, 30).hex.markBits & kCellMoveTo, 0u);  // rows end at 29
  // A ship that moved gets nothing, and the old marks are gone.
  grid.MarkMoveCells(27, true, true);
  for (const sSeaBattleCell& cell : grid.Cells()) EXPECT_EQ(cell.hex.markBits & kCellMoveTo, 0u);
}

// A battle of human country 1's two battleships against country 2's cruiser
// at a sea zone, on its screen.
class SeaBattleScreen : public ::testing::Test {
 protected:
  SeaBattleScreen() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 1;
    w.Country(1).human = true;
    w.world->constants.seaBattleRoundWeights = {0, 0, 1, 0, 0};  // three rounds
    w.world->constants.value174 = 50;
    zone = w.AddSeaNode(true, 1, 1).id;
    saved_ = g_Settings;
    g_Settings.SeaBattleTimeout = 0;  // automatic rounds follow each other at once
    savedLayout_ = g_GuiLayout[kSeaBattleFrameId];
    g_GuiLayout[kSeaBattleFrameId] = {764, 0, 260, 768};
  }
  ~SeaBattleScreen() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
    g_Settings = saved_;
    g_GuiLayout[kSeaBattleFrameId] = savedLayout_;
  }
  // The battle after its preliminary stage, and its screen.
  cSeaBattleMenu& Open(std::vector<int> ours = {kUnitBattleship, kUnitBattleship},
                       std::vector<int> theirs = {kUnitCruiser}) {
    cFleet& a = w.AddFleet(1, zone, std::move(ours), 50);
    cFleet& b = w.AddFleet(2, zone, std::move(theirs), 50);
    int id = 0;
    for (cJednostkaMorska* ship : w.world->Units().navalUnits) {
      ship->id = ++id;
      ship->visible = true;
    }
    battle = std::make_unique<cSeaBattle>(*w.world, std::vector<cJednostkaMorska*>(a.ships.begin(), a.ships.end()),
                                          std::vector<cJednostkaMorska*>(b.ships.begin(), b.ships.end()));
    battle->PreliminaryStrikes();
    return *new cSeaBattleMenu(*w.world, *battle);
  }
  cSeaBattleMenu& Menu() { return *static_cast<cSeaBattleMenu*>(g_pCurrentMenu); }
  bool Enabled(int id) { return Menu().Dialog().GetControlEnabled(id); }
  bool Visible(int id) { return Menu().Dialog().GetControl(id)->GetVisible(); }
  std::vector<bool> Buttons() {
    return {Enabled(kSeaBattleRetreatId), Enabled(kSeaBattleCloseId), Enabled(kSeaBattleNextTurnId),
            Enabled(kSeaBattleShotId), Enabled(kSeaBattleAutoEndId)};
  }
  // A left click in the middle of cell (c, r) at the screen's first view
  // (zoom 0.4, the middle of the field at the screen's centre).
  void ClickCell(int c, int r, bool left = true) {
    const float wx = static_cast<float>(83 * c + 50);
    const float wy = static_cast<float>(98 * r + 49 + (c % 2 == 0 ? 49 : 0));
    const int x = 512 + static_cast<int>((wx + 30 - 1245) * 0.4f);
    const int y = 384 + static_cast<int>((wy + 36 - 1470) * 0.4f);
    Menu().OnMouse(left, !left, false, false, false, 0, x, y);
    Menu().OnMouse(false, false, false, false, false, 0, x, y);
  }
  void Frames(int n, float elapsed = 0.1f) {
    for (int i = 0; i < n && g_pCurrentMenu != nullptr; ++i) Menu().OnFrameMove(i * elapsed, elapsed);
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  AirWorld w;
  int zone = 0;
  std::unique_ptr<cSeaBattle> battle;
  sSettings saved_;
  sLayoutRect savedLayout_;
};

TEST_F(SeaBattleScreen, ButtonsThroughABattlePlayedToItsEnd) {
  g_Settings.SeaBattleTimeout = 1;
  cSeaBattleMenu& menu = Open();
  EXPECT_EQ(w.world->GetGameState(), kPhaseSeaBattleScreen);
  EXPECT_EQ(battle->roundsLeft, 3);
  // Start: the three round buttons, no retreat (shown) and no close.
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, true, true}));
  EXPECT_TRUE(Visible(kSeaBattleRetreatId));
  // Auto end: everything off while the rounds run, one second apart.
  menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleAutoEndId, nullptr);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, false, false, false}));
  const std::size_t before = battle->events.size();
  Frames(1);  // the first round follows at once
  EXPECT_EQ(battle->events.size(), before + 1);
  Frames(5);  // then the countdown of one second
  EXPECT_EQ(battle->events.size(), before + 1);
  Frames(200);
  ASSERT_TRUE(battle->Ended());
  EXPECT_FALSE(battle->autoEnd);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, false, false}));
  // The log and the turns show the end.
  EXPECT_EQ(battle->events.back().kind, sSeaBattleEvent::kEnd);
}

TEST_F(SeaBattleScreen, NextTurnPlaysTheRestOfTheTurnAndGivesTheButtonsBack) {
  cSeaBattleMenu& menu = Open();
  const int rounds = battle->roundsLeft;
  menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleNextTurnId, nullptr);
  EXPECT_TRUE(battle->nextRound);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, false, false, false}));
  // Three ships fire once each, one shot a frame; then the turn is over.
  Frames(2);
  EXPECT_TRUE(battle->nextRound);
  Frames(5);
  EXPECT_FALSE(battle->nextRound);
  EXPECT_EQ(battle->roundsLeft, rounds - 1);
  EXPECT_NE(battle->battleLog.find(L"Turn completed"), std::wstring::npos);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, true, true}));
  // The next turn is the player's again: nothing more is fired meanwhile.
  const std::size_t shots = battle->events.size();
  Frames(10);
  EXPECT_EQ(battle->events.size(), shots);
}

TEST_F(SeaBattleScreen, PointerAtAnEdgeAndArrowKeysScrollTheFieldWithinItsBounds) {
  g_GuiLayout[kSeaBattleScrollEdgesId] = {4, 4, 1019, 763};
  cSeaBattleMenu& menu = Open();
  const int x0 = menu.ScrollX(), y0 = menu.ScrollY();
  // At the left edge: the view moves left, 1000 pixels a second at zoom 1
  // (2500 at zoom 0.4), easing toward its target.
  menu.OnMouse(false, false, false, false, false, 0, 2, 400);
  Frames(10);
  EXPECT_LT(menu.ScrollX(), x0);
  EXPECT_EQ(menu.ScrollY(), y0);
  // Held long enough, it stops at its bound.
  Frames(100);
  EXPECT_EQ(menu.ScrollX(), 83);
  // The pointer in the middle and the down key: down only, to the bottom.
  menu.OnMouse(false, false, false, false, false, 0, 400, 400);
  menu.OnKeyboard(plat::kVkDown, true, false);
  Frames(200);
  EXPECT_EQ(menu.ScrollX(), 83);
  EXPECT_EQ(menu.ScrollY(), 2940);
  // Released, the view rests.
  menu.OnKeyboard(plat::kVkDown, false, false);
  Frames(10);
  EXPECT_EQ(menu.ScrollY(), 2940);
  g_GuiLayout[kSeaBattleScrollEdgesId] = {};
}

TEST_F(SeaBattleScreen, PlayByEmailHidesTheRetreatAndPlaysItselfToTheCloseButton) {
  w.world->playByEmail = true;
  cSeaBattleMenu& menu = Open();
  EXPECT_TRUE(battle->autoEnd);
  EXPECT_FALSE(Visible(kSeaBattleRetreatId));
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, false, false, false}));
  // The player only watches: a click selects nothing.
  ClickCell(13, 16);
  EXPECT_EQ(menu.PickMode(), 0);
  menu.ApplyAutoEnd();
  Frames(200);
  ASSERT_TRUE(battle->Ended());
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, false, false}));
  // The other players get the battle's record.
  ASSERT_EQ(w.world->seaBattleRecords.size(), 1u);
  EXPECT_EQ(w.world->seaBattleRecords[0].firstSideShips.size(), 2u);
  EXPECT_EQ(w.world->seaBattleRecords[0].finalReport, battle->finalReport);
}

TEST_F(SeaBattleScreen, PlayerMovesOnceThenAimsAndFiresWithThePickedShip) {
  cSeaBattleMenu& menu = Open();
  ASSERT_TRUE(battle->firstSideActs);
  cJednostkaMorska* lead = menu.Grid().Cell(13, 16).ship;
  cJednostkaMorska* second = menu.Grid().Cell(13, 14).ship;
  cJednostkaMorska* cruiser = menu.Grid().Cell(17, 16).ship;
  ASSERT_TRUE(lead && second && cruiser);
  // Pick the lead ship: it may retreat and move onto the lattice.
  ClickCell(13, 16);
  EXPECT_EQ(menu.PickMode(), 1);
  EXPECT_TRUE(Enabled(kSeaBattleRetreatId));
  EXPECT_EQ(battle->firstSideSelected, lead);
  EXPECT_NE(menu.Grid().Cell(13, 16).hex.markBits & kCellPicked, 0u);
  EXPECT_NE(menu.Grid().Cell(9, 12).hex.markBits & kCellMoveTo, 0u);
  // Column 15 and a cell off the lattice take no move.
  ClickCell(15, 12);
  EXPECT_EQ(menu.Grid().Cell(15, 12).ship, nullptr);
  ClickCell(13, 16);
  ClickCell(9, 13);
  EXPECT_EQ(menu.Grid().Cell(9, 13).ship, nullptr);
  ClickCell(13, 16);
  ClickCell(9, 12);
  ASSERT_EQ(menu.Grid().Cell(9, 12).ship, lead);
  EXPECT_EQ(menu.Grid().Cell(13, 16).ship, nullptr);
  EXPECT_TRUE(menu.HasMoved(*lead));
  EXPECT_EQ(battle->GridColumn(lead->id), 9);
  EXPECT_FALSE(Enabled(kSeaBattleRetreatId));
  // Picked again it cannot move (nor retreat), but it still aims and fires.
  ClickCell(9, 12);
  EXPECT_EQ(menu.PickMode(), 1);
  EXPECT_FALSE(Enabled(kSeaBattleRetreatId));
  for (const sSeaBattleCell& cell : menu.Grid().Cells()) EXPECT_EQ(cell.hex.markBits & kCellMoveTo, 0u);
  ClickCell(17, 16);
  EXPECT_EQ(menu.PickMode(), 2);
  EXPECT_NE(menu.Grid().Cell(17, 16).hex.markBits & kCellTarget, 0u);
  EXPECT_EQ(battle->secondSideSelected, cruiser);
  const std::size_t before = battle->events.size();
  ClickCell(17, 16);  // the second click on the target fires
  ASSERT_EQ(battle->events.size(), before + 1);
  EXPECT_EQ(battle->events.back().shooterId, lead->id);
  EXPECT_EQ(battle->events.back().targetId, cruiser->id);
  EXPECT_EQ(menu.PickMode(), 0);
  for (const sSeaBattleCell& cell : menu.Grid().Cells()) EXPECT_EQ(cell.hex.markBits & kCellSelectionMarks, 0u);
  // Now the computer's cruiser acts: its ship is not the player's to pick.
  ASSERT_FALSE(battle->firstSideActs);
  ClickCell(17, 16);
  EXPECT_EQ(menu.PickMode(), 0);
  EXPECT_FALSE(Enabled(kSeaBattleRetreatId));
  for (const sSeaBattleCell& cell : menu.Grid().Cells()) EXPECT_EQ(cell.hex.markBits & kCellSelectionMarks, 0u);
  // Nor are the player's ships while the other side acts: a click on one
  // picks nothing.
  ClickCell(13, 14);
  EXPECT_EQ(menu.Grid().Cell(13, 14).ship, second);
  EXPECT_EQ(menu.Grid().Cell(13, 14).hex.markBits & kCellPicked, 0u);
}

TEST_F(SeaBattleScreen, RetreatLeavesTheFieldAndTheBattleGoesOn) {
  cSeaBattleMenu& menu = Open({kUnitBattleship, kUnitBattleship}, {kUnitCruiser, kUnitCruiser});
  // Equal sides and navies: the lower country id opens.
  ASSERT_TRUE(battle->firstSideActs);
  cJednostkaMorska* lead = menu.Grid().Cell(13, 16).ship;
  ClickCell(13, 16);
  ASSERT_TRUE(Enabled(kSeaBattleRetreatId));
  ClickCell(10, 3);  // open water off the lattice: the pick stays
  ASSERT_TRUE(Enabled(kSeaBattleRetreatId));
  {
    twtest::RandSequence dice({twtest::RandFor(1, 100, 10), 0, 0});  // success, then the new picks
    menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleRetreatId, nullptr);
  }
  EXPECT_FALSE(OnGrid(menu.Grid(), lead));
  EXPECT_EQ(menu.PickMode(), 0);
  EXPECT_FALSE(Enabled(kSeaBattleRetreatId));
  // The retreat was the side's action: the other side shoots next, with a
  // shooter and a target, and the battle is not over.
  EXPECT_FALSE(battle->Ended());
  EXPECT_FALSE(battle->firstSideActs);
  EXPECT_NE(battle->firstSideSelected, nullptr);
  EXPECT_NE(battle->secondSideSelected, nullptr);
  EXPECT_NE(battle->firstSideSelected, lead);
}

TEST_F(SeaBattleScreen, ASunkShipLeavesItsCellOnTheField) {
  cSeaBattleMenu& menu = Open({kUnitBattleship, kUnitBattleship}, {kUnitCruiser, kUnitCruiser});
  cJednostkaMorska* cruiser = menu.Grid().Cell(17, 16).ship;
  ASSERT_NE(cruiser, nullptr);
  cruiser->hitPoints = 0;
  battle->RemoveDestroyedShips();
  EXPECT_EQ(menu.Grid().Cell(17, 16).ship, nullptr);
  EXPECT_EQ(battle->Side(1).size(), 1u);
  EXPECT_FALSE(battle->Ended());
}

TEST_F(SeaBattleScreen, CloseGivesTheFrameworkBackToTheMapInPhaseFour) {
  g_Settings.MapZoom = 0.75f;
  g_MapTargetScale = 0.75f;
  cSeaBattleMenu& menu = Open();
  // The wheel zooms the field, not the map; a right click forgets the pick.
  menu.OnMouse(false, false, false, false, false, 1200, 300, 300);
  EXPECT_FLOAT_EQ(menu.TargetZoom(), 0.9f);
  menu.OnMouse(false, false, false, false, false, 4800, 300, 300);
  EXPECT_FLOAT_EQ(menu.TargetZoom(), 1.0f);
  menu.UpdateView(0.2f);
  EXPECT_FLOAT_EQ(menu.Zoom(), 0.5f);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, 0.75f);
  // Over the control column nothing is picked.
  menu.OnMouse(true, false, false, false, false, 0, 900, 300);
  EXPECT_EQ(menu.SelectedCell(), nullptr);
  menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleAutoEndId, nullptr);
  Frames(300);
  ASSERT_TRUE(Enabled(kSeaBattleCloseId));
  menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleCloseId, nullptr);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  EXPECT_EQ(w.world->GetGameState(), kPhaseSeaBattles);
  using Mouse = void (*)(bool, bool, bool, bool, bool, int, int, int);
  using Keyboard = void (*)(unsigned, bool, bool);
  using FrameMove = void (*)(double, float);
  ASSERT_TRUE(framework_.mouse && framework_.keyboard && framework_.frameMove);
  EXPECT_EQ(*framework_.mouse.target<Mouse>(), &WorldOnMouseThunk);
  EXPECT_TRUE(framework_.mouseMoves);
  EXPECT_EQ(*framework_.keyboard.target<Keyboard>(), &WorldOnKeyboardThunk);
  EXPECT_EQ(*framework_.frameMove.target<FrameMove>(), &WorldOnFrameMoveThunk);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, 0.75f);
  // The battle no longer tells the screen, which is freed with the frame.
  EXPECT_FALSE(battle->endedHook);
  EXPECT_FALSE(battle->shipLeftHook);
  DeleteRetiredMenus();
}

}  // namespace
