// An order the worker gives is checked in the same step under the framework
// lock as its change: when the main thread changes the target or the unit
// while the worker waits for the lock, the order is refused and changes
// nothing, instead of acting on what it had checked before.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "air_rules/air_fixture.h"
#include "app/console_log.h"
#include "app/framework_lock.h"
#include "rules/air_orders.h"
#include "rules/commander_assignment.h"
#include "rules/replacements.h"
#include "rules/unit_upgrade.h"
#include "support/test_support.h"
#include "world/combat_result.h"
#include "world/commander.h"
#include "world/country.h"

namespace {

using twtest::AirWorld;

class CheckedOrdersThread : public ::testing::Test {
 protected:
  CheckedOrdersThread() {
    CreateFrameworkLock();
    g_bRunning = true;
  }
  ~CheckedOrdersThread() override {
    g_bRunning = false;
    DeleteFrameworkLock();
  }

  // Gives order on a worker while this thread holds the lock as a frame
  // does; once the worker waits for the lock, change runs, then the lock
  // is let go. The order's answer (an order that ends without the lock
  // meets no change).
  template <class Order>
  static auto WhileTheWorkerWaits(Order order, const std::function<void()>& change) {
    decltype(order()) answer{};
    std::atomic<bool> ended{false};
    std::thread worker;
    {
      const cFrameworkLockGuard frame;
      worker = std::thread([&] {
        answer = order();
        ended = true;
      });
      while (GetFrameworkLockWaiterCount() == 0 && !ended) std::this_thread::yield();
      if (!ended) change();
    }
    worker.join();
    return answer;
  }
};

// Countries 1 and 2 at war, 1 playing; the hexes of columns 2 to 4 held by 2.
void FrontWorld(AirWorld& w) {
  w.ThreeCountries();
  for (int x = 2; x < 5; ++x) {
    for (int y = 0; y < 3; ++y) w.Control(x, y, 2);
  }
}

TEST_F(CheckedOrdersThread, AirStrikesMeetTheWorldAsItIsWhenTheyAct) {
  sBombardmentResult result;
  {  // the bomber a fighter goes for flies off
    AirWorld w({"ppppp", "ppppp", "ppppp"});
    FrontWorld(w);
    cJednostkaLotnicza& fighter = w.AddAir(1, 1, 1, kUnitFighter);
    cJednostkaLotnicza& bomber = w.AddAir(2, 1, 2, kUnitTacticalBomber, 8.0f);
    const auto refusal = WhileTheWorkerWaits([&] { return AirFight(*w.world, fighter, 2, 1, result); }, [&] {
      w.Hex(2, 1).unit = nullptr;
      bomber.x = 4;
      bomber.y = 2;
      w.Hex(4, 2).unit = &bomber;
    });
    EXPECT_EQ(refusal, eAirOrderRefusal::kNoTarget);
    ASSERT_EQ(w.world->Units().airUnits.size(), 2u);
    EXPECT_FLOAT_EQ(bomber.strength, 8.0f);
    EXPECT_EQ(fighter.actionPoints, fighter.startingActionPoints);
  }
  {  // the computer's fighter has spent its points meanwhile
    AirWorld w({"ppppp", "ppppp", "ppppp"});
    FrontWorld(w);
    cJednostkaLotnicza& fighter = w.AddAir(1, 1, 1, kUnitFighter);
    cJednostkaLotnicza& bomber = w.AddAir(2, 1, 2, kUnitTacticalBomber, 8.0f);
    const auto refusal = WhileTheWorkerWaits(
        [&] { return AiAirFight(*w.world, fighter, 2, 1, result, w.Country(1)); },
        [&] { fighter.actionPoints = 0; });
    EXPECT_EQ(refusal, eAirOrderRefusal::kNoActionPoints);
    ASSERT_EQ(w.world->Units().airUnits.size(), 2u);
    EXPECT_FLOAT_EQ(bomber.strength, 8.0f);
  }
  {  // the land unit a bomber goes for is destroyed
    AirWorld w({"ppppp", "ppppp", "ppppp"});
    FrontWorld(w);
    cJednostkaLotnicza& bomber = w.AddAir(1, 1, 1, kUnitTacticalBomber);
    cJednostkaLadowa& target = w.AddUnit(2, 1, 2);
    const auto refusal = WhileTheWorkerWaits([&] { return AirBombardment(*w.world, bomber, 2, 1, result); },
                                             [&] { target.Kill(); });
    EXPECT_EQ(refusal, eAirOrderRefusal::kNoTarget);
    EXPECT_EQ(bomber.actionPoints, bomber.startingActionPoints);
  }
  {  // the reconnaissance has been flown meanwhile
    AirWorld w({"ppppp", "ppppp", "ppppp"});
    FrontWorld(w);
    cJednostkaLotnicza& plane = w.AddAir(1, 1, 1, kUnitTacticalBomber);
    cJednostkaLadowa& hidden = w.AddUnit(3, 1, 2);
    hidden.visible = false;
    const auto refusal = WhileTheWorkerWaits([&] { return AirRecon(*w.world, plane, 3, 1, result); },
                                             [&] { plane.reconDone = true; });
    EXPECT_EQ(refusal, eAirOrderRefusal::kReconDone);
    EXPECT_FALSE(hidden.visible);
    EXPECT_EQ(plane.actionPoints, plane.startingActionPoints);
  }
  {  // the country's last bomb is gone
    AirWorld w({"ppppp", "ppppp", "ppppp"});
    FrontWorld(w);
    w.Country(1).nuclearBombs = 1;
    cJednostkaLotnicza& bomber = w.AddAir(0, 1, 1, kUnitStrategicBomber, 12.0f);
    cJednostkaLadowa& victim = w.AddUnit(3, 1, 2);
    const auto refusal = WhileTheWorkerWaits([&] { return NuclearStrike(*w.world, bomber, 3, 1, result); },
                                             [&] { w.Country(1).nuclearBombs = 0; });
    EXPECT_EQ(refusal, eAirOrderRefusal::kNoNuclearBomb);
    ASSERT_EQ(w.world->Units().landUnits.size(), 1u);
    EXPECT_EQ(victim.strength, 100);
    EXPECT_EQ(bomber.actionPoints, bomber.startingActionPoints);
  }
}

class CheckedUnitOrdersThread : public CheckedOrdersThread {
 protected:
  CheckedUnitOrdersThread() : w({"ppppp", "ppppp", "ppppp"}) {
    w.ThreeCountries();
    w.PricedUpgrades();
    sScenarioConstants& k = w.world->constants;
    k.replacementFactors = {20, 20, 20, 20, 20, 20, 20};
    k.supplyEffectE.fill(20);
  }
  cJednostkaLadowa& Division(int x, int y, int strength) {
    cJednostkaLadowa& unit = w.AddUnit(x, y, 1, kUnitInfantryDivision);
    unit.level = 1;
    unit.strength = strength;
    unit.supply = 5;
    unit.turnsWithoutSupply = 0;
    unit.actionPoints = unit.startingActionPoints = 4;
    return unit;
  }
  AirWorld w;
};

TEST_F(CheckedUnitOrdersThread, UpgradesReplacementsAndCommandersMeetTheWorldAsItIsWhenTheyAct) {
  cJednostkaLadowa& levelled = Division(0, 0, 60);
  EXPECT_EQ(WhileTheWorkerWaits([&] { return LevelUp(*w.world, levelled); },
                                [&] { w.Country(1).productionPoints = 1.0; }),
            eUpgradeRefusal::kNotEnoughProduction);
  EXPECT_EQ(levelled.level, 1);
  w.Country(1).productionPoints = 100.0;

  cJednostkaLadowa& upgraded = Division(1, 0, 60);
  EXPECT_EQ(WhileTheWorkerWaits([&] { return UpgradeToCorps(*w.world, upgraded); },
                                [&] { upgraded.actionPoints = 1; }),
            eUpgradeRefusal::kNotFullActionPoints);
  EXPECT_EQ(upgraded.type, kUnitInfantryDivision);

  cJednostkaLadowa& worn = Division(2, 0, 80);
  EXPECT_EQ(WhileTheWorkerWaits([&] { return BuyReplacements(*w.world, worn, 15); },
                                [&] { w.world->turnState.SetCurrentCountry(&w.Country(2)); }),
            eReplacementRefusal::kNotOwnUnit);
  EXPECT_EQ(worn.strength, 80);
  w.world->turnState.SetCurrentCountry(&w.Country(1));

  auto* commander = new cCommander();
  commander->id = 1;
  commander->countryId = 1;
  commander->type = kCategoryLand;
  commander->state = kCommanderNotAssigned;
  w.world->Units().commanders.push_back(commander);
  cJednostkaLadowa& led = Division(3, 0, 100);
  cJednostkaLadowa& other = Division(4, 0, 100);
  const auto takenByOther = [&] { EXPECT_EQ(AssignCommander(*w.world, other, *commander), eCommanderRefusal::kNone); };
  EXPECT_EQ(WhileTheWorkerWaits([&] { return AssignCommander(*w.world, led, *commander); }, takenByOther),
            eCommanderRefusal::kNotFree);
  EXPECT_EQ(led.ownCommander, nullptr);
  EXPECT_EQ(WhileTheWorkerWaits([&] { return RecallCommander(*w.world, other); },
                                [&] { w.world->turnState.SetCurrentCountry(&w.Country(2)); }),
            eCommanderRefusal::kNotOwnUnit);
  EXPECT_EQ(other.ownCommander, commander);
  EXPECT_EQ(commander->state, kCommanderAssigned);
}

// The computer's level-up waits between its check and its change, outside
// the lock: a country that has spent its production meanwhile is refused.
TEST_F(CheckedUnitOrdersThread, ComputerLevelUpChecksAgainAfterItsDelay) {
  const float before = g_Delays[kDelayAIReplacementBefore].load();
  const float after = g_Delays[kDelayAIReplacementAfter].load();
  // Long enough for this thread to act within it; the stop flag ends it.
  g_Delays[kDelayAIReplacementBefore] = 10000.0f;
  g_Delays[kDelayAIReplacementAfter] = 0.0f;
  std::atomic<bool> stop{false};
  w.world->SetWorkerStopFlag(&stop);
  cJednostkaLadowa& unit = Division(1, 1, 60);
  unit.name = L"Rifles";
  twtest::LogCapture log;
  eUpgradeRefusal refusal = eUpgradeRefusal::kNone;
  std::thread worker([&] { refusal = AiLevelUp(*w.world, unit); });
  // The log line comes after the check and before the delay.
  const std::wstring checked = L"[AI]: " + w.Country(1).name + L" - upgrading Rifles (level up)";
  while (!log.Contains(checked)) std::this_thread::yield();
  {
    const cFrameworkLockGuard frame;
    w.Country(1).productionPoints = 1.0;
  }
  stop = true;
  worker.join();
  w.world->SetWorkerStopFlag(nullptr);
  g_Delays[kDelayAIReplacementBefore] = before;
  g_Delays[kDelayAIReplacementAfter] = after;
  EXPECT_EQ(refusal, eUpgradeRefusal::kNotEnoughProduction);
  EXPECT_EQ(unit.level, 1);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 1.0);
}

}  // namespace
