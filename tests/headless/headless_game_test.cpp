// The headless play of the runner: the worker plays the impulses asked on
// the fast clock while the test thread serves as the main thread, stepping
// the computer's moves; the same seed plays the same game. And the summary's
// reading of the log and of the world.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "headless_game/headless_play.h"
#include "headless_game/headless_summary.h"
#include "platform/rand.h"
#include "rules/land_move_orders.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/computer_player.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/report_store.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

// Moves each of its land units one hex east or west, the side drawn from
// the worker's generator, so both the stepping loop and the seed matter.
class cWanderingPlayer : public cComputerPlayer {
 public:
  explicit cWanderingPlayer(int countryId) : id_(countryId) {}
  void PlayTurn(cWorld& world) override {
    std::vector<cJednostkaLadowa*> mine;
    for (cJednostkaLadowa* unit : world.Units().landUnits) {
      if (unit->countryId == id_ && world.GetMap().IsInside(unit->x, unit->y)) mine.push_back(unit);
    }
    for (cJednostkaLadowa* unit : mine) {
      if (WorkerStopping(world)) return;
      const int toward = plat::Rand() % 2 == 0 ? 1 : -1;
      LockedStep([unit] { unit->actionPoints = unit->startingActionPoints; });
      unit->ComputeMoveRange(true);
      AiMoveToHex(world, *unit, unit->x + toward, unit->y);
    }
  }

 private:
  int id_;
};

// Wanders, and in its turn of the impulse given hands every city it holds
// to the country given.
class cCityLosingPlayer : public cWanderingPlayer {
 public:
  cCityLosingPlayer(int countryId, int loseAtTurn, int winner)
      : cWanderingPlayer(countryId), id_(countryId), loseAt_(loseAtTurn), winner_(winner) {}
  void PlayTurn(cWorld& world) override {
    if (++turns_ == loseAt_) {
      LockedStep([&] {
        for (const cCity* city : world.Cities()) {
          if (city->GetControllerId() == id_) world.GetMap().GetHex(city->x, city->y).controller = winner_;
        }
      });
    }
    cWanderingPlayer::PlayTurn(world);
  }

 private:
  int id_, loseAt_, winner_, turns_ = 0;
};

struct sPlayed {
  sHeadlessPlay play;
  std::vector<std::pair<int, int>> positions;
  sHeadlessSummary summary;
};

// Loads the fixture headless, gives it wandering players and plays.
sPlayed PlayFixture(int impulses, unsigned seed) {
  sPlayed result;
  const twtest::TempWorkingFolder folder;
  twtest::CopyFixtureScenario(folder.Path());
  const cHeadlessMainThread mainThread;
  cFastClock clock;
  cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Fixture\\%s", false);
  EXPECT_NE(world, nullptr);
  if (world != nullptr) {
    world->turnsLeft = 10 * impulses;
    world->CreateAiPlayers([](int id) { return std::make_unique<cWanderingPlayer>(id); });
    result.play = PlayHeadlessImpulses(*world, impulses, seed);
    for (const cJednostkaLadowa* unit : world->Units().landUnits) result.positions.emplace_back(unit->x, unit->y);
    SummariseWorld(*world, {L"Ostburg", L"Atlantis", L"Westhaven"}, result.summary);
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  return result;
}

TEST(HeadlessGameThread, PlaysTheImpulsesAskedSteppingTheMovesAndTheSameSeedPlaysTheSameGame) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  const sPlayed first = PlayFixture(4, 11);
  EXPECT_EQ(first.play.impulses, 4);
  EXPECT_FALSE(first.play.gameOver);
  // Every move was stepped hex by hex by the loop, the worker waiting.
  EXPECT_GT(first.play.steps, 4);
  EXPECT_GE(first.play.slowestImpulse, 1);
  EXPECT_LE(first.play.slowestImpulse, 4);
  EXPECT_GT(first.play.ImpulsesPerSecond(), 0.0);

  const sPlayed again = PlayFixture(4, 11);
  EXPECT_EQ(again.play.steps, first.play.steps);
  EXPECT_EQ(again.positions, first.positions);
  EXPECT_NE(PlayFixture(4, 12).positions, first.positions);

  // The summary's holders: a city the scenario has not is left out.
  ASSERT_EQ(first.summary.holders.size(), 2u);
  EXPECT_EQ(first.summary.holders[0].city, L"Ostburg");
  EXPECT_EQ(first.summary.holders[1].city, L"Westhaven");
  EXPECT_EQ(first.summary.holders[1].controller, L"Westland");
  EXPECT_EQ(std::pair(first.summary.holders[1].x, first.summary.holders[1].y), std::pair(2, 4));
}

// The impulse at which a country fell: 0 for one that held no city at the
// start, the impulse in which it lost its last city, -1 for the others.
TEST(HeadlessGameThread, ACountryFallsAtTheImpulseInWhichItLostItsLastCity) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  for (unsigned seed : {3u, 4u}) {
    const twtest::TempWorkingFolder folder;
    twtest::CopyFixtureScenario(folder.Path());
    const cHeadlessMainThread mainThread;
    cFastClock clock;
    cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Fixture\\%s", false);
    ASSERT_NE(world, nullptr);
    world->turnsLeft = 100;
    // Of the countries that hold cities, the first that leads no alliance
    // (a leader's fall ends the game) loses them in its second turn to
    // another; the rest keep theirs.
    std::vector<int> holders, empty;
    int loser = 0;
    for (const auto& country : world->Countries()) {
      bool holds = false;
      for (const cCity* city : world->Cities()) holds = holds || city->GetControllerId() == country->id;
      (holds ? holders : empty).push_back(country->id);
      const bool leader = country->alliance >= kAlliesLeader && country->alliance <= kCominternLeader;
      if (holds && !leader && loser == 0) loser = country->id;
    }
    ASSERT_NE(loser, 0);
    ASSERT_GE(holders.size(), 2u);
    const int winner = holders[0] != loser ? holders[0] : holders[1];
    world->CreateAiPlayers([&](int id) -> std::unique_ptr<cComputerPlayer> {
      if (id == loser) return std::make_unique<cCityLosingPlayer>(id, 2, winner);
      return std::make_unique<cWanderingPlayer>(id);
    });
    const sHeadlessPlay play = PlayHeadlessImpulses(*world, 3, seed);
    ASSERT_EQ(play.impulses, 3);
    ASSERT_EQ(play.fell.size(), world->Countries().size());
    EXPECT_EQ(play.fell[static_cast<std::size_t>(loser - 1)], 2) << seed;
    for (int id : holders) {
      if (id == loser) continue;
      EXPECT_EQ(play.fell[static_cast<std::size_t>(id - 1)], -1) << id;
    }
    for (int id : empty) EXPECT_EQ(play.fell[static_cast<std::size_t>(id - 1)], 0) << id;
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
}

// A world where no country can move ends its computer phase with nobody
// current: the play returns after that impulse instead of waiting for ever.
TEST(HeadlessGameThread, EndsWhenNoCountryCanMoveAnyMore) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  const twtest::TempWorkingFolder folder;
  twtest::CopyFixtureScenario(folder.Path());
  const cHeadlessMainThread mainThread;
  cFastClock clock;
  cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Fixture\\%s", false);
  ASSERT_NE(world, nullptr);
  world->turnsLeft = 100;
  for (auto& country : world->Countries()) country->active = false;
  const sHeadlessPlay play = PlayHeadlessImpulses(*world, 20, 1);
  EXPECT_EQ(play.impulses, 1);
  EXPECT_FALSE(play.gameOver);
  EXPECT_EQ(world->turnState.currentCountry, nullptr);
  const cFrameworkLockGuard lock;
  delete g_pWorld;
  g_pWorld = nullptr;
}

// The summary's rows add up to the world: every unit is counted once for
// its country, every city for its controller, and the victory points of the
// countries to those of the controlled cities.
TEST(HeadlessSummary, CountsEveryUnitAndCityOfTheLoadedFixtureOnce) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  const twtest::TempWorkingFolder folder;
  twtest::CopyFixtureScenario(folder.Path());
  const cHeadlessMainThread mainThread;
  cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Fixture\\%s", false);
  ASSERT_NE(world, nullptr);
  for (const auto& country : world->Countries()) EXPECT_FALSE(country->human) << country->id;
  EXPECT_NE(world->turnState.currentCountry, nullptr);
  EXPECT_EQ(world->GetGameState(), kPhaseComputerPlayers);

  sHeadlessSummary summary;
  SummariseWorld(*world, {}, summary);
  const sUnitLists& units = world->Units();
  int land = 0, air = 0, naval = 0, reserve = 0, cities = 0, points = 0;
  for (const sCountrySummary& row : summary.countries) {
    land += row.land;
    air += row.air;
    naval += row.naval;
    reserve += row.reserve;
    cities += row.cities;
    points += row.victoryPoints;
  }
  EXPECT_EQ(land, static_cast<int>(units.landUnits.size() + units.carriedUnitsA.size() + units.carriedUnitsB.size()));
  EXPECT_EQ(air, static_cast<int>(units.airUnits.size()));
  EXPECT_EQ(naval, static_cast<int>(units.navalUnits.size()));
  EXPECT_EQ(reserve, static_cast<int>(units.reservePool.size() + units.navalReservePool.size()));
  EXPECT_GT(land, 0);
  EXPECT_GT(naval, 0);
  int controlled = 0, controlledPoints = 0;
  for (const cCity* city : world->Cities()) {
    if (world->GetCountry(city->GetControllerId()) == nullptr) continue;
    ++controlled;
    controlledPoints += city->victoryPoints;
  }
  EXPECT_EQ(cities, controlled);
  EXPECT_EQ(points, controlledPoints);
  EXPECT_GT(points, 0);
  {
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
}

TEST(HeadlessSummary, FiredEventsAreTakenFromTheirLogLinesOnly) {
  const std::vector<std::wstring> lines = {
      L"Checking event 4",
      L"Condition for event with ID=4 is true. Firing...",
      L"Condition for event with ID=5 is false.",
      L"Firing forced event ID=17",
      L"Condition for event with ID=x is true. Firing...",
      L"Condition for event with ID= is true. Firing...",
      L"Firing forced event ID=17 again",
      L"  Condition for event with ID=6 is true. Firing...",
      L"Condition for event with ID=4 is true. Firing...",
  };
  EXPECT_EQ(FiredEventsInLog(lines), (std::vector<int>{4, 17, 4}));

  // Read back from the log file the program writes (UTF-16LE, CR LF).
  twtest::LogCapture log;
  LogLine(L"Condition for event with ID=%i is true. Firing...", 31);
  LogLine(L"Firing forced event ID=%i", 8);
  EXPECT_EQ(FiredEventsInLog(ReadLogLines(g_ConsoleLog.Path())), (std::vector<int>{31, 8}));
}

// The war's figures come from the log's lines as the rules write them; the
// log is read a block at a time, so lines that straddle the blocks count
// once.
TEST(HeadlessSummary, WarFiguresAreCountedFromTheLogReadAsAStream) {
  twtest::LogCapture log;
  const int rounds = 700;  // over 64 KiB of UTF-16: several blocks
  for (int i = 0; i < rounds; ++i) {
    LogLine(L"II Corps is attacked. Directions=%i, Armor present in attack=0", 1 + i % 6);
    LogLine(
        L"Luftflotte 1 (strength:90, level:1, supply:10) airfight with 11 "
        L"Group (strength:80, level:1, supply: 10)");
    LogLine(L"Attack effectiveness = %.1f", i % 2 == 0 ? 1.0 : 48.6);
    LogLine(L"Strategic bombardment of Essen by Bomber Command: %d PP lost", i % 3);
    // A battle's and a raider hunt's announcement in the language base's
    // text and, without a base, as its key.
    LogLine(i % 2 == 0 ? L"Axis fleets have met enemy formations in North Sea."
                       : L"allied_fleets_have_met_enemy_formations_in_North Sea");
    LogLine(i % 3 == 0 ? L"Fleets of Spain have met the enemy raider U-47 in Celtic Sea."
                       : L"axis_fleets_have_met_enemy_raider_(HMS Rover)_in_Celtic Sea");
    LogLine(L"[AI]: Germany - Replacements for Luftflotte 2 (10 strength, cost 3.5 PP)");
    LogLine(L"[AI]: Germany - air unit Luftflotte 2 replenished to 100 strength");
    LogLine(
        L"Convoy 3: Route:\n>>> Celtic Sea[ATTACKED by enemy FLEET (2 "
        L"ships), lost 2 STP] [ATTACKED by enemy RAIDER, lost 1 STP] ");
    // The landing's line in the language base's text and, without a base,
    // as its key.
    LogLine(i % 2 == 0 ? L"Computer player lands I Corps on hex (12, 20)"
                       : L"ai_unloading_amphib_unit_I Corps_to_hex_(12,_20)");
    LogLine(i % 2 == 0 ? L"WARNING: fleet Home Fleet (at node 3) wants to go to node 7 but there's no path"
                       : L"WARNING: Fleet Home Fleet wanted to go: node 3 -> 7, but theres no path!");
    LogLine(L"WARNING: fleet Home Fleet has no ships");
    LogLine(L"[AI]: Germany DECLARED WAR ON Belgium!!");
    LogLine(L"Germany declares war on Belgium (CASE 1)");
    LogLine(L"ERROR: Nie znaleziono sciezki dla rozkazu nr 12");
    LogLine(L"Condition for event with ID=%i is true. Firing...", i);
  }
  LogLine(L"Attack effectiveness = 10.5");
  sWarShape war;
  ASSERT_TRUE(CountWarLog(g_ConsoleLog.Path(), war));
  EXPECT_EQ(war.landBattles, rounds);
  EXPECT_EQ(war.airFights, rounds);
  EXPECT_EQ(war.airStrikes, rounds + 1);
  EXPECT_EQ(war.flooredStrikes, rounds / 2);
  EXPECT_EQ(war.cityRaids, rounds);
  EXPECT_EQ(war.cityRaidsHurting, rounds - (rounds + 2) / 3);
  EXPECT_EQ(war.seaBattles, rounds);
  EXPECT_EQ(war.raiderHunts, rounds);
  EXPECT_EQ(war.airReplacements, rounds);
  // A convoy's route is no line the game logs: the raids come from the
  // world's reports (below), never from such a line.
  EXPECT_EQ(war.convoyRaids, 0);
  EXPECT_EQ(war.landings, rounds);
  EXPECT_EQ(war.computerWars,
            rounds);  // the declaration's own line is not the computer's
  EXPECT_EQ(war.pathRefusals, rounds);
  EXPECT_EQ(war.fleetPathWarnings, rounds);
  ASSERT_EQ(war.firedEvents.size(), static_cast<std::size_t>(rounds));
  EXPECT_EQ(war.firedEvents.back(), rounds - 1);
}

// A raid on a convoy leaves its raider's country a report and no line in
// the log: the summary counts those reports, and no other kind.
TEST(HeadlessSummary, ConvoyRaidsAreCountedFromTheWorldsReports) {
  auto world = std::make_unique<cWorld>();
  sReport raid;
  raid.type = kReportConvoyRaid;
  raid.text = L"U-47 attacked convoys on Celtic Sea, inflicted 2 STP loss";
  for (int i = 0; i < 3; ++i) world->reports.AddReport(raid, world->GetDate(), world->TurnsPerMonth(), 4);
  sReport other = raid;
  other.type = kReportConvoyRaid + 1;
  world->reports.AddReport(other, world->GetDate(), world->TurnsPerMonth(), 4);
  sHeadlessSummary summary;
  summary.war.convoyRaids = 9;  // what an earlier count left
  SummariseWorld(*world, {}, summary);
  EXPECT_EQ(summary.war.convoyRaids, 3);
  EXPECT_NE(FormatSummary(summary).find(" convoy_raids=3 "), std::string::npos);
}

TEST(HeadlessSummary, TextFieldsStayOneFieldEach) {
  sHeadlessSummary summary;
  summary.scenario = L"Europe1939";
  summary.firedEvents = {3, 9};
  summary.countries.push_back(sCountrySummary{7, L"Soviet \"Union\"", 6, true, 21, 5, 7, 2, 43, 84});
  summary.holders.push_back(sCityHolder{L"Moscow", 79, 17, 7, L"Soviet \"Union\""});
  const std::string text = FormatSummary(summary);
  EXPECT_NE(text.find("events fired=2 ids=3,9\n"), std::string::npos) << text;
  EXPECT_NE(text.find("country id=7 name=\"Soviet 'Union'\" alliance=6 "
                      "active=1 land=21 air=5 naval=7 reserve=2 "
                      "cities=43 victory_points=84 fell=-1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("holder city=\"Moscow\" x=79 y=17 controller_id=7 "
                      "controller=\"Soviet 'Union'\"\n"),
            std::string::npos)
      << text;
}

}  // namespace
