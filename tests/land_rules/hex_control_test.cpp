#include <gtest/gtest.h>

#include "land_rules/land_rules_fixture.h"
#include "rules/hex_control.h"
#include "support/test_support.h"
#include "world/cities.h"

namespace {

// Country 1 (Allies) at war with 2 (Axis); 3 Axis too, 4 and 5 neutral.
class HexControl : public ::testing::Test {
 protected:
  HexControl() : w_({"pppppp", "pppppp", "pppppp", "pppppp", "pppppp"}) {
    w_.AddCountries({kAllies, kAxis, kAxis, kNeutral, kNeutral});
    w_.War(1, 2);
    w_.War(1, 3);
  }
  cWorld& World() { return *w_.world; }
  twtest::LandWorld w_;
};

TEST_F(HexControl, CutOffPocketPassesToTheEnemyButNotUnderAUnitOrAHarbour) {
  // A pocket of country 2 in the middle of country 1's land, which a city
  // of 1 reaches.
  w_.AddCity(0, 0, kCityNormal);
  for (int x = 2; x <= 3; ++x) {
    for (int y = 1; y <= 3; ++y) w_.Control(x, y, 2);
  }
  w_.AddUnit(2, 3, 2);
  World().constants.mulberryValues[1] = 2.0f;
  auto* harbour = new cMulberry(&World());
  harbour->countryId = 3;  // an ally of 2
  harbour->x = 3;
  harbour->y = 1;
  World().Units().landUnits.push_back(harbour);
  AbsorbHexesWithoutSupply(World());
  EXPECT_EQ(w_.Hex(2, 3).controller, 2) << "a unit holds it";
  EXPECT_EQ(w_.Hex(3, 1).controller, 2) << "at distance 0 from the harbour";
  EXPECT_EQ(w_.Hex(2, 1).controller, 2) << "at distance 1";
  EXPECT_EQ(w_.Hex(3, 3).controller, 1) << "at distance 2: not strictly below the range";
  EXPECT_EQ(w_.Hex(3, 3).owner, 1) << "owners stay (the fixture's owner)";
  // A city of 2 in the pocket keeps it.
  w_.Control(3, 3, 2);
  w_.AddCity(3, 2, kCityNormal);
  World().constants.mulberryValues[1] = 0.0f;
  AbsorbHexesWithoutSupply(World());
  EXPECT_EQ(w_.Hex(3, 3).controller, 2);
}

TEST_F(HexControl, AnnexationHandsOverLandAndOwnership) {
  w_.War(3, 4);
  w_.Hex(0, 0).controller = w_.Hex(0, 0).owner = 3;
  w_.Hex(1, 0).controller = 5;
  w_.Hex(1, 0).owner = 3;  // occupied by 5
  w_.Hex(2, 0).controller = 3;
  w_.Hex(2, 0).owner = 2;
  cJednostkaLadowa& ally = w_.AddUnit(0, 0, 2);  // an ally of 3 on its land
  AnnexCountry(World(), 3, 4);
  EXPECT_EQ(w_.Hex(0, 0).controller, 4);
  EXPECT_EQ(w_.Hex(0, 0).owner, 4);
  EXPECT_EQ(w_.Hex(0, 0).originalOwner, 1) << "original owners stay";
  EXPECT_EQ(w_.Hex(1, 0).owner, 5);
  EXPECT_EQ(w_.Hex(2, 0).controller, 2);
  EXPECT_TRUE(ally.inReserve);
  EXPECT_EQ(w_.Hex(0, 0).unit, nullptr);
}

TEST_F(HexControl, StripeOnTheLastRowIsRefusedAndAValidOneEvictsStrangers) {
  twtest::LogCapture log;
  EXPECT_FALSE(ChangeHexStripeControllerAndOwner(World(), 1, 2, 4, 2));  // 2 + 4 - 1 = height
  EXPECT_TRUE(log.Contains(L"error:_hexstripe.changecontrollerandowner(1_2_4_2)_incorrect_parameter(s)!_ignoring_this..."));
  EXPECT_EQ(w_.Hex(1, 4).controller, 1);
  cJednostkaLadowa& stranger = w_.AddUnit(1, 3, 1);
  EXPECT_TRUE(ChangeHexStripeControllerOwnerAndOriginalOwner(World(), 1, 2, 2, 2));
  EXPECT_EQ(w_.Hex(1, 2).controller, 2);
  EXPECT_EQ(w_.Hex(1, 3).owner, 2);
  EXPECT_EQ(w_.Hex(1, 3).originalOwner, 2);
  EXPECT_TRUE(stranger.inReserve);
  ReturnOccupiedHexes(World(), 2);
  EXPECT_EQ(w_.Hex(1, 2).controller, 2) << "owned and controlled alike: stays";
  w_.Hex(4, 4).controller = 2;
  ReturnOccupiedHexes(World(), 2);
  EXPECT_EQ(w_.Hex(4, 4).controller, 1);
}

}  // namespace
