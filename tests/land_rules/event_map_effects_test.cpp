// The scripted events' effects on the map, its land and air units and its
// cities, run through ExecuteEventEffect on the fixture scenario: units made
// on hexes and in the reserve, partisans, artificial harbours, kills,
// moves, freezes and removals, fortifications, hex stripes, cities and the
// effectiveness of an area; every bad id, coordinate or type is refused
// with an "ERR:" line naming the event.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/save_game.h"
#include "land_rules/fixture_game.h"
#include "platform/rand.h"
#include "rules/event_effects.h"
#include "support/test_support.h"
#include "world/event_records.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"

namespace {

constexpr int kEventId = 42;
constexpr int kLine = 17;

sEventEffect MapEffect(const wchar_t* method, const std::vector<double>& params, const wchar_t* name = L"") {
  sEventEffect effect;
  effect.method = method;
  effect.line = kLine;
  std::size_t i = 0;
  for (double value : params) effect.param[i++] = value;
  effect.paramString[0] = name;
  return effect;
}

// True when some log line is an error line of the test event's method.
bool HasError(const twtest::LogCapture& log, const std::wstring& method) {
  const std::wstring start = L"ERR: event 42, " + method + L" (line 17): ";
  const auto lines = log.Lines();
  return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
}

class EventMapEffects : public twtest::FixtureGame {
 protected:
  void Run(const sEventEffect& effect) { ExecuteEventEffect(World(), effect, kEventId); }
  int LandCount() const { return static_cast<int>(world_->Units().landUnits.size()); }
  int AirCount() const { return static_cast<int>(world_->Units().airUnits.size()); }
  int ReserveCount() const { return static_cast<int>(world_->Units().reservePool.size()); }
  bool HasLand(const std::wstring& name) const {
    const auto& units = world_->Units().landUnits;
    return std::any_of(units.begin(), units.end(), [&](const cJednostkaLadowa* unit) { return unit->name == name; });
  }
  // Loads another game in place of the fixture's (the load frees the old).
  void Reload(const sGameStartSettings& settings) {
    world_.release();
    LoadWorld(settings);
    world_.reset(g_pWorld);
  }
};

TEST_F(EventMapEffects, LandUnitsComeOntoFreeLandOrIntoTheReserve) {
  const int nextId = World().ids.nextLandUnitId;
  const int land = LandCount();
  const int reserve = ReserveCount();

  // Both coordinates -1: the reserve pool, ready at once.
  Run(MapEffect(L"Hex.AddLandUnit", {-1, -1, 2, 3, 2, 80}, L"Reserve Panzer"));
  ASSERT_EQ(ReserveCount(), reserve + 1);
  cJednostka* pooled = World().Units().reservePool.back();
  EXPECT_EQ(pooled->name, L"Reserve Panzer");
  EXPECT_EQ(pooled->countryId, 2);
  EXPECT_EQ(pooled->type, kUnitMechanizedCorps);
  EXPECT_EQ(pooled->level, 2);
  EXPECT_EQ(pooled->GetStrength(), 80);
  EXPECT_EQ(pooled->id, nextId);
  EXPECT_TRUE(pooled->inReserve);
  EXPECT_EQ(pooled->availableInTurns, 0);
  EXPECT_EQ(pooled->supply, World().constants.maxSupply);

  // A free land hex: the unit stands there; control does not change.
  ASSERT_EQ(Hex(12, 8).unit, nullptr);
  const int controller = Hex(12, 8).controller;
  Run(MapEffect(L"Hex.AddLandUnit", {12, 8, 1, 0, 1, 60}, L"Raiders"));
  ASSERT_EQ(LandCount(), land + 1);
  auto* placed = dynamic_cast<cJednostkaLadowa*>(Hex(12, 8).unit);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed, World().Units().landUnits.back());
  EXPECT_EQ(placed->id, nextId + 1);
  EXPECT_EQ(placed->x, 12);
  EXPECT_EQ(placed->y, 8);
  EXPECT_FALSE(placed->inReserve);
  EXPECT_EQ(placed->strength, 60);
  EXPECT_EQ(placed->actionPoints, 0);
  EXPECT_EQ(placed->supplySourceX, -1);
  EXPECT_EQ(placed->turnsWithoutSupply, 0);
  EXPECT_EQ(Hex(12, 8).controller, controller);

  // Water and an occupied hex take nothing, silently.
  twtest::LogCapture log;
  Run(MapEffect(L"Hex.AddLandUnit", {9, 5, 1, 0, 1, 60}, L"Swimmers"));
  Run(MapEffect(L"Hex.AddLandUnit", {3, 5, 1, 0, 1, 60}, L"Crowd"));
  EXPECT_EQ(LandCount(), land + 1);
  EXPECT_FALSE(HasError(log, L"Hex.AddLandUnit"));
  EXPECT_EQ(World().ids.nextLandUnitId, nextId + 2);
}

TEST_F(EventMapEffects, NewUnitsWithBadValuesAreRefusedWithTheEventNamed) {
  const int land = LandCount();
  const int reserve = ReserveCount();
  const int air = AirCount();
  const struct {
    const wchar_t* method;
    std::vector<double> params;
  } bad[] = {
      {L"Hex.AddLandUnit", {25, 3, 1, 0, 1, 60}},    // off the map
      {L"Hex.AddLandUnit", {-1, -1, 9, 0, 1, 60}},   // no such country
      {L"Hex.AddLandUnit", {-1, -1, 1, 20, 1, 60}},  // an air type
      {L"Hex.AddLandUnit", {-1, -1, 1, 0, 0, 60}},   // level 0
      {L"Hex.AddLandUnit", {-1, -1, 1, 0, 6, 60}},   // level 6
      {L"Hex.AddLandUnit", {-1, -1, 1, 0, 1, 0}},    // no strength
      {L"Hex.AddAirUnit", {1, -1, -1, 23, 1, 10}},   // no air type
      {L"Hex.AddAirUnit", {0, -1, -1, 20, 1, 10}},   // country 0
      {L"Hex.AddAirUnit", {1, 7, -3, 20, 1, 10}},    // off the map
      {L"City.FirePartisans", {16, 5, 1, 60, 1, 50}},  // the harbour type
      {L"Hex.AddUnitAndPassControlOverHexIfEmpty", {12, 8, 1, 0, 1, 500}},
  };
  for (const auto& entry : bad) {
    twtest::LogCapture log;
    Run(MapEffect(entry.method, entry.params, L"Never"));
    EXPECT_TRUE(HasError(log, entry.method)) << std::wstring(entry.method);
  }
  EXPECT_EQ(LandCount(), land);
  EXPECT_EQ(ReserveCount(), reserve);
  EXPECT_EQ(AirCount(), air);
  // A parameter the file never gave (the unset mark) is no coordinate.
  twtest::LogCapture log;
  Run(MapEffect(L"Hex.KillUnit", {3, kEventUnsetParam}));
  EXPECT_TRUE(HasError(log, L"Hex.KillUnit"));
  EXPECT_EQ(LandCount(), land);
}

TEST_F(EventMapEffects, AUnitThatTakesItsHexNeedsFreeLand) {
  const int land = LandCount();
  // An Eastmark hex taken by a Westland unit, under either name the
  // method table accepts.
  Run(MapEffect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {12, 8, 1, 0, 1, 70}, L"Commandos"));
  ASSERT_NE(Hex(12, 8).unit, nullptr);
  EXPECT_EQ(Hex(12, 8).unit->countryId, 1);
  EXPECT_EQ(Hex(12, 8).controller, 1);
  Run(MapEffect(L"Hex.AddLandUnitAndPassControlOverHexIfEmpty", {14, 9, 1, 0, 1, 70}, L"More Commandos"));
  EXPECT_EQ(Hex(14, 9).controller, 1);
  EXPECT_EQ(LandCount(), land + 2);
  // Occupied, water, or a coordinate of -1: nothing.
  const int guardController = Hex(13, 4).controller;
  Run(MapEffect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {13, 4, 1, 0, 1, 70}, L"X"));
  Run(MapEffect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {9, 5, 1, 0, 1, 70}, L"X"));
  Run(MapEffect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {-1, 5, 1, 0, 1, 70}, L"X"));
  EXPECT_EQ(LandCount(), land + 2);
  EXPECT_EQ(Hex(13, 4).controller, guardController);
  EXPECT_EQ(Hex(9, 5).unit, nullptr);

  // A port that changes hands sends the fleets in it out to sea, as when a
  // unit takes it: Eastport (15, 2) is sea node 4, linked to the North Sea.
  cFleet* squadron = nullptr;
  for (cFleet* fleet : World().Units().fleets) {
    if (fleet->name == L"Strait Squadron") squadron = fleet;
  }
  ASSERT_NE(squadron, nullptr);
  squadron->seaNode = 4;
  Run(MapEffect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {15, 2, 1, 0, 1, 70}, L"Harbour Raiders"));
  EXPECT_EQ(Hex(15, 2).controller, 1);
  EXPECT_EQ(squadron->seaNode, 1);
}

TEST_F(EventMapEffects, PartisansRiseNearTheirCityOnItsControllersLand) {
  const int land = LandCount();
  // Ostburg (16, 5) is Eastmark's: partisans of its own country never rise.
  Run(MapEffect(L"City.FirePartisans", {16, 5, 2, 0, 1, 50}, L"Loyalists"));
  EXPECT_EQ(LandCount(), land);
  // Draws that always give the lowest corner, (11, 0), find only water.
  {
    plat::ScopedRandOverride low([] { return 0; });
    Run(MapEffect(L"City.FirePartisans", {16, 5, 1, 0, 1, 50}, L"Unlucky"));
  }
  EXPECT_EQ(LandCount(), land);

  Run(MapEffect(L"City.FirePartisans", {16, 5, 1, 0, 1, 50}, L"Partisans"));
  ASSERT_EQ(LandCount(), land + 1);
  const cJednostkaLadowa& partisans = *World().Units().landUnits.back();
  EXPECT_EQ(partisans.name, L"Partisans");
  EXPECT_EQ(partisans.countryId, 1);
  EXPECT_NE(partisans.x, 16);
  EXPECT_NE(partisans.y, 5);
  EXPECT_LE(HexDistance(partisans.x, partisans.y, 16, 5), 5);
  EXPECT_TRUE(Hex(partisans.x, partisans.y).IsLand());
  EXPECT_EQ(Hex(partisans.x, partisans.y).unit, &partisans);
  EXPECT_EQ(Hex(partisans.x, partisans.y).controller, 1);
  EXPECT_EQ(Hex(16, 5).controller, 2);
}

TEST_F(EventMapEffects, AirUnitsFallBackToTheReserveOffFreeLand) {
  const int air = AirCount();
  const int reserve = ReserveCount();
  const int nextId = World().ids.nextAirUnitId;
  Run(MapEffect(L"Hex.AddAirUnit", {1, 7, 6, 21, 2, 8}, L"Tactical Wing"));
  ASSERT_EQ(AirCount(), air + 1);
  cJednostkaLotnicza& wing = *World().Units().airUnits.back();
  EXPECT_EQ(Hex(7, 6).unit, &wing);
  EXPECT_EQ(wing.id, nextId);
  EXPECT_EQ(wing.type, kUnitTacticalBomber);
  EXPECT_EQ(wing.level, 2);
  EXPECT_FLOAT_EQ(wing.strength, 8.0f);
  EXPECT_FALSE(wing.inReserve);
  // The reserve: asked for, an occupied hex, a water hex.
  Run(MapEffect(L"Hex.AddAirUnit", {1, -1, -1, 20, 1, 10}, L"A"));
  Run(MapEffect(L"Hex.AddAirUnit", {1, 3, 5, 20, 1, 10}, L"B"));
  Run(MapEffect(L"Hex.AddAirUnit", {1, 9, 5, 20, 1, 10}, L"C"));
  EXPECT_EQ(AirCount(), air + 1);
  ASSERT_EQ(ReserveCount(), reserve + 3);
  for (int i = 1; i <= 3; ++i) {
    const cJednostka& pooled = *World().Units().reservePool[static_cast<std::size_t>(reserve + i - 1)];
    EXPECT_TRUE(pooled.inReserve);
    EXPECT_EQ(pooled.category, kCategoryAir);
    EXPECT_EQ(pooled.x, -1);
  }
  EXPECT_EQ(Hex(9, 5).unit, nullptr);
  EXPECT_NE(dynamic_cast<cJednostkaLadowa*>(Hex(3, 5).unit), nullptr);
}

TEST_F(EventMapEffects, AHarbourIsBuiltOnlyOnAFreeHex) {
  // Price, range, strength and lifetime of a harbour.
  World().constants.mulberryValues = {40.0f, 3.0f, 6.0f, 12.0f};
  const sScenarioConstants& k = World().constants;
  cCountry& westland = Country(1);
  const double points = westland.productionPoints;
  const int land = LandCount();

  // A land hex held by a unit: no harbour, half its price paid instead.
  Run(MapEffect(L"Hex.AddMulberry", {1, 3, 5}, L"Mulberry A"));
  EXPECT_EQ(LandCount(), land);
  EXPECT_DOUBLE_EQ(westland.productionPoints, points + k.mulberryValues[0] / 2.0);

  // A water hex holding a unit: the harbour would have replaced the hex's
  // link to it. Nothing is built there either.
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  Place(infantry, 9, 5);
  Run(MapEffect(L"Hex.AddMulberry", {1, 9, 5}, L"Mulberry B"));
  EXPECT_EQ(Hex(9, 5).unit, &infantry);
  EXPECT_EQ(LandCount(), land);
  EXPECT_DOUBLE_EQ(westland.productionPoints, points + k.mulberryValues[0]);

  // A free hex: the harbour and its line.
  twtest::LogCapture log;
  Run(MapEffect(L"Hex.AddMulberry", {1, 8, 6}, L"Mulberry C"));
  ASSERT_EQ(LandCount(), land + 1);
  auto* harbour = dynamic_cast<cMulberry*>(Hex(8, 6).unit);
  ASSERT_NE(harbour, nullptr);
  EXPECT_EQ(harbour, World().Units().landUnits.back());
  EXPECT_EQ(harbour->type, kUnitArtificialHarbour);
  EXPECT_EQ(harbour->countryId, 1);
  EXPECT_EQ(harbour->level, 1);
  EXPECT_EQ(harbour->strength, static_cast<int>(k.mulberryValues[2]));
  EXPECT_EQ(harbour->remainingMonths, static_cast<int>(k.mulberryValues[3]));
  EXPECT_EQ(harbour->actionPoints, 0);
  EXPECT_TRUE(log.Contains(L"Mulberry  \"Mulberry C\" created at (8, 6) for country Westland"));
  EXPECT_DOUBLE_EQ(westland.productionPoints, points + k.mulberryValues[0]);
}

TEST_F(EventMapEffects, UnitsOnHexesAreKilledMovedFrozenAndUnfrozen) {
  cJednostkaLadowa& guard = Land(L"Eastmark Guard");  // (13, 4)
  cJednostkaLadowa& panzer = Land(L"Eastmark Panzer");  // (15, 6)
  const int land = LandCount();

  // Teleport: onto a free land hex; never onto water or another unit.
  World().turnState.selectedUnit = &guard;
  Run(MapEffect(L"Unit.Teleport", {13, 4, 14, 8}));
  EXPECT_EQ(Hex(14, 8).unit, &guard);
  EXPECT_EQ(Hex(13, 4).unit, nullptr);
  EXPECT_EQ(guard.x, 14);
  EXPECT_EQ(World().turnState.selectedUnit, nullptr);
  Run(MapEffect(L"Unit.Teleport", {14, 8, 10, 5}));
  Run(MapEffect(L"Unit.Teleport", {14, 8, 15, 6}));
  EXPECT_EQ(Hex(14, 8).unit, &guard);
  EXPECT_EQ(Hex(15, 6).unit, &panzer);

  // Freezes: by hex; by hex and owner; then thawed with its action points.
  Run(MapEffect(L"Unit.Freeze", {14, 8, 3}));
  EXPECT_EQ(guard.freezeTime, 3);
  Run(MapEffect(L"Unit.FreezeIfOwnedByCountry", {15, 6, 4, 1}));
  EXPECT_EQ(panzer.freezeTime, 0);
  Run(MapEffect(L"Unit.FreezeIfOwnedByCountry", {15, 6, 4, 2}));
  EXPECT_EQ(panzer.freezeTime, 4);
  Run(MapEffect(L"Unit.Unfreeze", {15, 6}));
  EXPECT_EQ(panzer.freezeTime, 0);
  EXPECT_GT(panzer.actionPoints, 0);
  // An air unit has no freeze time to set; nothing breaks.
  Run(MapEffect(L"Unit.Freeze", {5, 6, 3}));

  // The kill.
  Run(MapEffect(L"Hex.KillUnit", {14, 8}));
  EXPECT_EQ(Hex(14, 8).unit, nullptr);
  EXPECT_EQ(LandCount(), land - 1);
  Run(MapEffect(L"Hex.KillUnit", {14, 8}));
  EXPECT_EQ(LandCount(), land - 1);

  twtest::LogCapture log;
  Run(MapEffect(L"Unit.Teleport", {15, 6, 20, 6}));
  Run(MapEffect(L"Unit.FreezeIfOwnedByCountry", {15, 6, 4, 6}));
  EXPECT_TRUE(HasError(log, L"Unit.Teleport"));
  EXPECT_TRUE(HasError(log, L"Unit.FreezeIfOwnedByCountry"));
  EXPECT_EQ(Hex(15, 6).unit, &panzer);
  EXPECT_EQ(panzer.freezeTime, 0);
}

TEST_F(EventMapEffects, UnitRemovalByIdOrByChance) {
  const int land = LandCount();
  const int air = AirCount();
  // By id: a land unit with the id; the type and country must match too.
  Run(MapEffect(L"Unit.Remove", {1, 4, 1}));  // id 1 is an infantry division
  EXPECT_EQ(LandCount(), land);
  Run(MapEffect(L"Unit.Remove", {2, -1, 1}));  // of Westland, not Eastmark
  EXPECT_EQ(LandCount(), land);
  Run(MapEffect(L"Unit.Remove", {0, 0, 1}));
  EXPECT_EQ(LandCount(), land - 1);
  EXPECT_EQ(Hex(3, 5).unit, nullptr);
  // Air units by their own ids: Westland Fighters is air unit 1.
  Run(MapEffect(L"Unit.Remove", {1, 20, 1}));
  EXPECT_EQ(AirCount(), air - 1);
  EXPECT_EQ(Hex(5, 6).unit, nullptr);

  // By chance: one unit of those that match, each time.
  int left = LandCount() + AirCount();
  while (left > 0) {
    Run(MapEffect(L"Unit.Remove", {0, -1, -1}));
    ASSERT_EQ(LandCount() + AirCount(), left - 1);
    --left;
  }
  // Nothing left on the map: nothing happens; the reserve is not touched.
  const int reserve = ReserveCount();
  Run(MapEffect(L"Unit.Remove", {0, -1, -1}));
  EXPECT_EQ(ReserveCount(), reserve);

  twtest::LogCapture log;
  Run(MapEffect(L"Unit.Remove", {9, -1, -1}));
  Run(MapEffect(L"Unit.Remove", {0, 41, -1}));
  EXPECT_TRUE(HasError(log, L"Unit.Remove"));
  const auto lines = log.Lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::wstring& line) { return line.rfind(L"ERR: event 42, Unit.Remove", 0) == 0; }),
            2);
}

// A scenario that gives the Eastmark Panzer the 1st Infantry's id loads it
// under the free id 10. An event naming Eastmark's armour with id 1, as the
// scenario does, still removes the Panzer, in the scenario's game and in a
// save of it; the free id names no unit of the scenario.
TEST_F(EventMapEffects, AnEventNamesARenumberedUnitByItsScenarioId) {
  const std::string file = "data/scenarios/Fixture/land_units.csv";
  std::string bytes = twtest::ReadFile(dir_.File(file));
  const std::size_t panzer = bytes.find("7;Eastmark Panzer;");
  ASSERT_NE(panzer, std::string::npos);
  bytes[panzer] = '1';
  dir_.Write(file, bytes);
  const sGameStartSettings games[] = {{L"data\\scenarios\\Fixture\\%s", 0}, {L"data\\save\\Renumbered\\%s", 1}};
  Reload(games[0]);
  ASSERT_TRUE(SaveGame(World(), L"Renumbered", false).ok);
  for (const sGameStartSettings& game : games) {
    SCOPED_TRACE(game.isSavedGame);
    Reload(game);
    ASSERT_EQ(Land(L"Eastmark Panzer").id, 10);
    Run(MapEffect(L"Unit.Remove", {2, kUnitArmouredCorps, 10}));
    EXPECT_TRUE(HasLand(L"Eastmark Panzer"));
    Run(MapEffect(L"Unit.Remove", {2, kUnitArmouredCorps, 1}));
    EXPECT_FALSE(HasLand(L"Eastmark Panzer"));
    EXPECT_EQ(Hex(15, 6).unit, nullptr);
    EXPECT_TRUE(HasLand(L"1st Infantry"));
  }
}

// An author who gives Europe 1939's II Corps the id 500 names it so in his
// events: Unit.Remove with 500 removes it, its old id 1 nothing.
TEST_F(EventMapEffects, AnEditedIdInACopyOfEurope1939IsWhatUnitRemoveNames) {
  const std::filesystem::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  ASSERT_FALSE(root.empty());
  std::filesystem::copy(root / "data/scenarios/Europe1939", dir_.Path() / "data/scenarios/Europe1939",
                        std::filesystem::copy_options::recursive);
  for (const char* folder : {"data/gfx", "data/Music"}) {
    if (!std::filesystem::exists(dir_.Path() / folder)) {
      std::filesystem::create_directory_symlink(root / folder, dir_.Path() / folder);
    }
  }
  const std::string file = "data/scenarios/Europe1939/land_units.csv";
  std::string bytes = twtest::ReadFile(dir_.File(file));
  const std::size_t row = bytes.find("\n1;II Corps;1;");
  ASSERT_NE(row, std::string::npos);
  dir_.Write(file, bytes.replace(row + 1, 1, "500"));
  Reload({L"data\\scenarios\\Europe1939\\%s", 0});
  // Germany's II Corps (Poland has one too).
  const auto corps = [this] {
    const auto& units = World().Units().landUnits;
    return std::count_if(units.begin(), units.end(), [](const cJednostkaLadowa* unit) {
      return unit->name == L"II Corps" && unit->countryId == 1 && unit->type == kUnitInfantryCorps;
    });
  };
  ASSERT_EQ(corps(), 1);
  Run(MapEffect(L"Unit.Remove", {1, kUnitInfantryCorps, 1}));
  EXPECT_EQ(corps(), 1);
  Run(MapEffect(L"Unit.Remove", {1, kUnitInfantryCorps, 500}));
  EXPECT_EQ(corps(), 0);
}

TEST_F(EventMapEffects, FortificationsStayWithinTheirLevels) {
  Run(MapEffect(L"Hex.SetFortLevel", {7, 7, 5}));
  EXPECT_EQ(Hex(7, 7).fortification, 5);
  Run(MapEffect(L"Hex.ChangeFortLevel", {7, 7, 2}));
  EXPECT_EQ(Hex(7, 7).fortification, 7);
  Run(MapEffect(L"Hex.ChangeFortLevel", {7, 7, 20}));
  EXPECT_EQ(Hex(7, 7).fortification, 9);
  Run(MapEffect(L"Hex.ChangeFortLevel", {7, 7, -20}));
  EXPECT_EQ(Hex(7, 7).fortification, 0);
  // A level beyond the table (a byte would keep 300 as 44) is refused.
  twtest::LogCapture log;
  Run(MapEffect(L"Hex.SetFortLevel", {7, 7, 300}));
  Run(MapEffect(L"Hex.SetFortLevel", {7, 7, -1}));
  Run(MapEffect(L"Hex.ChangeFortLevel", {70, 7, 1}));
  EXPECT_TRUE(HasError(log, L"Hex.SetFortLevel"));
  EXPECT_TRUE(HasError(log, L"Hex.ChangeFortLevel"));
  EXPECT_EQ(Hex(7, 7).fortification, 0);
}

TEST_F(EventMapEffects, HexStripesChangeHandsAndSendStrangersToTheReserve) {
  cJednostkaLadowa& guard = Land(L"Eastmark Guard");  // (13, 4)
  const int originalOwner = Hex(13, 5).originalOwner;
  Run(MapEffect(L"HexStripe.ChangeControllerAndOwner", {13, 3, 3, 1}));
  for (int y = 3; y <= 5; ++y) {
    EXPECT_EQ(Hex(13, y).controller, 1);
    EXPECT_EQ(Hex(13, y).owner, 1);
  }
  EXPECT_EQ(Hex(13, 5).originalOwner, originalOwner);
  EXPECT_EQ(Hex(13, 6).controller, 2);
  EXPECT_EQ(Hex(13, 4).unit, nullptr);
  EXPECT_TRUE(guard.inReserve);

  Run(MapEffect(L"HexStripe.ChangeControllerOwnerAndOriginalOwner", {12, 6, 2, 3}));
  EXPECT_EQ(Hex(12, 6).originalOwner, 3);
  EXPECT_EQ(Hex(12, 7).owner, 3);
  EXPECT_EQ(Hex(12, 7).controller, 3);

  // A stripe past the map's edge is the stripe operation's own error; a
  // country that does not exist is the event's.
  twtest::LogCapture log;
  Run(MapEffect(L"HexStripe.ChangeControllerAndOwner", {13, 12, 5, 1}));
  Run(MapEffect(L"HexStripe.ChangeControllerAndOwner", {13, 3, 2, 7}));
  EXPECT_TRUE(HasError(log, L"HexStripe.ChangeControllerAndOwner"));
  EXPECT_EQ(Hex(13, 12).controller, 3);
  EXPECT_EQ(Hex(13, 3).controller, 1);
}

// A port handed over by a stripe sends out the fleets that are neither the
// new holder's nor its allies', as when a unit takes it; the holder's own
// fleet stays. Eastport (15, 2) is sea node 4, linked to the North Sea (1).
TEST_F(EventMapEffects, AStripeThatHandsOverAPortSendsStrangersFleetsToSea) {
  cFleet* squadron = nullptr;
  cFleet* home = nullptr;
  for (cFleet* fleet : World().Units().fleets) {
    if (fleet->name == L"Strait Squadron") squadron = fleet;
    if (fleet->name == L"Home Fleet") home = fleet;
  }
  ASSERT_NE(squadron, nullptr);
  ASSERT_NE(home, nullptr);
  ASSERT_EQ(squadron->country, 2);
  ASSERT_EQ(home->country, 1);
  squadron->seaNode = home->seaNode = 4;
  Run(MapEffect(L"HexStripe.ChangeControllerAndOwner", {15, 1, 3, 1}));
  EXPECT_EQ(Hex(15, 2).controller, 1);
  EXPECT_EQ(squadron->seaNode, 1);
  EXPECT_EQ(home->seaNode, 4);
  // Handed back, the port sends the Home Fleet out in its turn.
  Run(MapEffect(L"HexStripe.ChangeControllerOwnerAndOriginalOwner", {15, 2, 1, 2}));
  EXPECT_EQ(home->seaNode, 1);
}

TEST_F(EventMapEffects, CitiesChangeTheirProductionAndType) {
  cCity& millbrook = City(L"Millbrook");  // (6, 8), normal, 4 points
  Run(MapEffect(L"City.SetProductionPoints", {6, 8, 7.5}));
  EXPECT_FLOAT_EQ(millbrook.productionPoints, 7.5f);
  Run(MapEffect(L"City.ChangeProductionPoints", {6, 8, -10}));
  EXPECT_FLOAT_EQ(millbrook.productionPoints, -2.5f);
  Run(MapEffect(L"City.SetType", {6, 8, 4}));
  EXPECT_EQ(millbrook.type, kCityResources);

  twtest::LogCapture log;
  Run(MapEffect(L"City.SetType", {6, 8, 5}));
  // Millbrook lies inland: as a port it would have no sea node.
  Run(MapEffect(L"City.SetType", {6, 8, 3}));
  Run(MapEffect(L"City.SetProductionPoints", {7, 8, 3}));  // no city there
  EXPECT_TRUE(HasError(log, L"City.SetType"));
  EXPECT_TRUE(HasError(log, L"City.SetProductionPoints"));
  EXPECT_EQ(millbrook.type, kCityResources);
  // A port city may stop and start being a supply port.
  cCity& westport = City(L"Westport");  // (4, 2), supply and port
  Run(MapEffect(L"City.SetType", {4, 2, 3}));
  EXPECT_EQ(westport.type, kCityPort);
}

TEST_F(EventMapEffects, AreaEffectivenessReachesOneSideInsideTheRectangle) {
  cJednostkaLadowa& infantry = Land(L"1st Infantry");    // Westland (Allies, side 2), (3, 5)
  cJednostkaLadowa& armoured = Land(L"2nd Armoured");    // Westland, (6, 4)
  cJednostkaLadowa& guard = Land(L"Eastmark Guard");     // Eastmark (Axis, side 1), (13, 4)
  Run(MapEffect(L"Area.ChangeEffectivityOfAllUnits", {2, 3, 5, 6, 2, 15}));
  EXPECT_EQ(infantry.eventsEffect, 15);
  EXPECT_EQ(armoured.eventsEffect, 0);
  Run(MapEffect(L"Area.ChangeEffectivityOfAllUnits", {0, 0, 19, 14, 1, -10}));
  EXPECT_EQ(guard.eventsEffect, -10);
  EXPECT_EQ(infantry.eventsEffect, 15);
  twtest::LogCapture log;
  Run(MapEffect(L"Area.ChangeEffectivityOfAllUnits", {0, 0, 19, 14, 5, 10}));
  Run(MapEffect(L"Area.ChangeEffectivityOfAllUnits", {0, 0, 20, 14, 2, 10}));
  EXPECT_TRUE(HasError(log, L"Area.ChangeEffectivityOfAllUnits"));
  EXPECT_EQ(infantry.eventsEffect, 15);
}

TEST_F(EventMapEffects, ANameOfAnotherFamilyIsLeftAlone) {
  const int land = LandCount();
  twtest::LogCapture log;
  Run(MapEffect(L"Hex.addLandUnit", {12, 8, 1, 0, 1, 60}, L"Wrong case"));
  Run(MapEffect(L"No.SuchEffect", {}));
  EXPECT_EQ(LandCount(), land);
  EXPECT_TRUE(log.Lines().empty());
}

}  // namespace
