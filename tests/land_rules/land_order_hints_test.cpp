#include <gtest/gtest.h>

#include <string>

#include "land_rules/land_rules_fixture.h"
#include "world/cities.h"

namespace {

class LandOrderHints : public ::testing::Test {
 protected:
  LandOrderHints() : w_({"ppp", "ppp"}) {
    w_.AddCountries({kAllies});
    World().constants.maxSupply = 50;
    World().constants.amphibiousTransportCost.fill(3);
    World().constants.strategicMoveCost.fill(4);
    unit_ = &w_.AddUnit(1, 1, 1);
    unit_->actionPoints = unit_->startingActionPoints = 4;
    unit_->supply = 40;
    unit_->turnsWithoutSupply = 0;
    unit_->supplySourceX = unit_->supplySourceY = 0;
  }
  cWorld& World() { return *w_.world; }
  twtest::LandWorld w_;
  cJednostkaLadowa* unit_ = nullptr;
};

TEST_F(LandOrderHints, AmphibiousTransportNeedsTwoThirdsOfFullSupply) {
  w_.AddCity(1, 0, kCityPort);
  w_.Country(1).amphibiousInvasionPoints = 3;
  std::wstring hint;
  unit_->supply = 33;  // whole part of 50 x 0.66
  EXPECT_TRUE(unit_->CanAmphibiousTransport(&hint));
  EXPECT_EQ(hint, L"unitpanel_amph_transport_icon_hint");
  unit_->supply = 32;
  EXPECT_FALSE(unit_->CanAmphibiousTransport(&hint));
  EXPECT_EQ(hint, L"unitpanel_amph_transport_icon_hint_not_enough_supply");
  w_.Country(1).amphibiousInvasionPoints = 2;
  EXPECT_FALSE(unit_->CanAmphibiousTransport(nullptr));
}

TEST_F(LandOrderHints, AUnitThatMovedCanNeitherReplenishNorMoveStrategically) {
  unit_->strength = 80;
  w_.Country(1).strategicMovementPoints = 4;
  std::wstring hint;
  EXPECT_TRUE(unit_->CanReplenish(&hint));
  EXPECT_TRUE(unit_->CanStrategicMove(&hint));
  unit_->actionPoints = 2;
  EXPECT_FALSE(unit_->CanReplenish(&hint));
  EXPECT_EQ(hint, L"unitpanel_strength_icon_hint_other_action_performed_or_frozen");
  EXPECT_FALSE(unit_->CanStrategicMove(&hint));
  EXPECT_EQ(hint, L"unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen");
  unit_->actionPoints = 4;
  unit_->turnsWithoutSupply = 1;
  EXPECT_FALSE(unit_->CanReplenish(&hint));
  EXPECT_EQ(hint, L"unitpanel_strength_icon_hint_no_supply");
  w_.Country(1).strategicMovementPoints = 3;
  EXPECT_FALSE(unit_->CanStrategicMove(&hint));
  EXPECT_EQ(hint, L"unitpanel_strategic_move_icon_hint_no_smp");
  EXPECT_FALSE(unit_->CanAirFight(&hint));
  EXPECT_EQ(hint, L"unitpanel_airfight_icon_hint_not_airfighter_unit");
}

}  // namespace
