// What the viewing country sees after moves, on the fixture scenario: its
// own side's units and what stands near them, what its reconnaissance
// spotted, and the ships at every sea node; everything with fog of war off.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "land_rules/fixture_game.h"
#include "support/fixture_ids.h"
#include "world/jednostka_morska.h"
#include "world/units_visibility.h"

namespace {

class UnitsVisibility : public twtest::FixtureGame {
 protected:
  void TearDown() override {
    g_Settings.FogOfWar = fog_;
    FixtureGame::TearDown();
  }
  int fog_ = g_Settings.FogOfWar;
};


TEST_F(UnitsVisibility, FogShowsTheSideAndWhatStandsNearItOrWasSpotted) {
  g_Settings.FogOfWar = 2;
  cJednostkaLadowa& panzer = Land(L"Eastmark Panzer");
  Place(panzer, 7, 4);  // next to Westland's armour after its move
  cJednostkaLadowa& rifles = Land(L"Southia Rifles");
  Country(kWestland).reconSpottedUnits.clear();
  Country(kWestland).reconSpottedUnits.push_back(&rifles);
  for (cJednostkaMorska* ship : World().Units().navalUnits) ship->visible = false;

  RecalculateUnitsVisibility(World(), Country(kWestland));
  EXPECT_TRUE(Land(L"1st Infantry").visible);
  EXPECT_TRUE(Air(L"Westland Fighters").visible);
  EXPECT_TRUE(panzer.visible);
  EXPECT_TRUE(rifles.visible);
  EXPECT_FALSE(Land(L"Eastmark Guard").visible);
  EXPECT_FALSE(Land(L"Neutral Militia").visible);
  // The naval pass ran for the viewer: its own ships are shown.
  EXPECT_EQ(World().GetSeaGraph().GetViewingCountry(), kWestland);
  for (const cJednostkaMorska* ship : World().Units().navalUnits) {
    if (ship->countryId == kWestland) {
      EXPECT_TRUE(ship->visible) << ship->id;
    }
  }

  // The panzer falls back out of sight.
  Place(panzer, 15, 6);
  Country(kWestland).reconSpottedUnits.clear();
  RecalculateUnitsVisibility(World(), Country(kWestland));
  EXPECT_FALSE(panzer.visible);
  EXPECT_FALSE(rifles.visible);
}

TEST_F(UnitsVisibility, WithoutFogEveryUnitAndShipIsSeen) {
  g_Settings.FogOfWar = 0;
  for (cJednostkaMorska* ship : World().Units().navalUnits) ship->visible = false;
  RecalculateUnitsVisibility(World(), Country(kWestland));
  for (const cJednostkaLadowa* unit : World().Units().landUnits) EXPECT_TRUE(unit->visible) << unit->id;
  for (const cJednostkaLotnicza* unit : World().Units().airUnits) EXPECT_TRUE(unit->visible) << unit->id;
  for (const cJednostkaMorska* ship : World().Units().navalUnits) {
    if (ship->fleet != nullptr) {
      EXPECT_TRUE(ship->visible) << ship->id;
    }
  }
}

}  // namespace
