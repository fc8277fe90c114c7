// A computer country's supply convoys on the fixture scenario: a city group
// cut off from its supply city gets a convoy by sea from the supplied group's
// port, once, and only while its port lacks supply.
#include <gtest/gtest.h>

#include <memory>

#include "ai/ai_economy.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/world.h"

namespace {

// Sea nodes of the fixture: 3 Westport, 4 Eastport, 5 Straitport; Eastmark
// (2) is the Axis' leader.
constexpr int kFull = 20;

class AiConvoys : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    cWorld& w = *world_;
    w.constants.maxSupply = kFull;
    eastport_ = ConvoyPortCityOfNode(w, kEastport);
    straitport_ = ConvoyPortCityOfNode(w, kStraitport);
    ASSERT_NE(eastport_, nullptr);
    ASSERT_NE(straitport_, nullptr);
    w.ResetCitySupplyRows();
    // Eastport supplies Eastmark; Straitport, its own group, is cut off.
    eastport_->type = kCitySupplyPort;
    Hold(*eastport_);
    straitport_->type = kCityPort;
    Hold(*straitport_);
    SetSupply(*straitport_, 6);
    w.topographies.resize(static_cast<std::size_t>(w.GetCountryCount()));
    w.topographies[kEastmark - 1] = {{eastport_}, {straitport_}};
    Convoys().clear();
  }
  void TearDown() override {
    world_.reset();
    g_pWorld = nullptr;
  }

  void Hold(const cCity& city) {
    sHex& hex = world_->GetMap().GetHex(city.x, city.y);
    hex.owner = hex.controller = static_cast<std::uint8_t>(kEastmark);
  }
  static void SetSupply(cCity& city, int value) { city.supplyInfo[kEastmark - 1] = value; }
  std::vector<cConvoy>& Convoys() { return *world_->Units().convoys.ConvoysOf(kEastmark); }
  cCountry& Eastmark() { return *world_->GetCountry(kEastmark); }

  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder folder_{dir_.Path()};
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  std::unique_ptr<cWorld> world_;
  cCity* eastport_ = nullptr;
  cCity* straitport_ = nullptr;
};

TEST_F(AiConvoys, CutOffGroupGetsOneConvoyFromTheSuppliedPort) {
  EXPECT_EQ(ai::PlanSupplyConvoys(*world_, Eastmark()), 1);
  ASSERT_EQ(Convoys().size(), 1u);
  EXPECT_EQ(Convoys()[0].departure, eastport_);
  EXPECT_EQ(Convoys()[0].destination, straitport_);
  EXPECT_EQ(Convoys()[0].value, kFull - 6);
  EXPECT_EQ(Convoys()[0].type, kConvoySupplies);

  // Each turn one convoy is given up first; the group then asks again.
  EXPECT_EQ(ai::PlanSupplyConvoys(*world_, Eastmark()), 1);
  EXPECT_EQ(Convoys().size(), 1u);
}

TEST_F(AiConvoys, NoConvoyToAFullPortOrWithoutASuppliedGroup) {
  SetSupply(*straitport_, kFull);
  EXPECT_EQ(ai::PlanSupplyConvoys(*world_, Eastmark()), 0);
  EXPECT_TRUE(Convoys().empty());

  SetSupply(*straitport_, 6);
  eastport_->type = kCityPort;  // no supply city anywhere: no source
  EXPECT_EQ(ai::PlanSupplyConvoys(*world_, Eastmark()), 0);
  EXPECT_TRUE(Convoys().empty());
}

TEST_F(AiConvoys, AGroupServedAlreadyIsLeftAlone) {
  // Two convoys: the turn gives up the first, the second still serves.
  ASSERT_GE(world_->Units().convoys.AddSupplyConvoyAi(*world_, eastport_, straitport_, kEastmark), 0);
  ASSERT_GE(world_->Units().convoys.AddSupplyConvoyAi(*world_, eastport_, straitport_, kEastmark), 0);
  EXPECT_EQ(ai::PlanSupplyConvoys(*world_, Eastmark()), 0);
  EXPECT_EQ(Convoys().size(), 1u);
}

}  // namespace
