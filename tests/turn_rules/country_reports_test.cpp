// A country's steps of the end of an impulse against worked examples:
// production, upkeep, research, the doctrine, surrender and sieges.
#include <gtest/gtest.h>

#include "rules/country_reports.h"
#include "rules/end_impulse.h"
#include "turn_rules/turn_world.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"

namespace {

using twtest::RandFor;
using twtest::RandSequence;
using twtest::TurnWorld;

bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(CountryReports, ProductionSumsEverySourceAndAppliesTheModifiers) {
  // Allies 1 and 3, Axis 2 who lost land to both.
  TurnWorld w({"pppppppp"}, {kAllies, kAxisLeader, kAlliesLeader});
  cWorld& world = *w.world;
  world.constants.SetValue(115, 1, 0.5);  // occupied
  world.constants.SetValue(115, 2, 0.8);  // annexed
  world.constants.SetValue(115, 3, 0.2);  // share of annexed land
  world.GetRelations().AddLosses(1, 2, 3.0f);
  world.GetRelations().AddLosses(3, 2, 1.0f);
  world.GetRelations().ComputeLossShares();
  w.City(0, 0, 1, kCityResources, 0, 5.0f);
  w.City(1, 0, 1, kCitySupply, 1, 10.0f);
  cCity& occupied = w.City(2, 0, 2, kCityNormal, 1, 10.0f);
  w.Control(occupied.x, occupied.y, 1);
  cCity& annexed = w.City(3, 0, 2, kCityNormal, 1, 10.0f);
  w.Hex(3, 0).controller = w.Hex(3, 0).owner = 1;
  cCity& allied = w.City(4, 0, 2, kCityNormal, 1, 10.0f);
  w.Hex(4, 0).controller = w.Hex(4, 0).owner = 3;
  // Land nobody held before or holds now gives no share and ends nothing.
  w.City(5, 0, 3, kCityNormal, 1, 10.0f).productionPoints = 10.0f;
  w.Hex(5, 0).originalOwner = 0;
  w.City(6, 0, 0, kCityNormal, 1, 10.0f);
  (void)annexed;
  (void)allied;
  cCountry& a = w.Country(1);
  a.difficulty = 0;  // very hard: 50 per cent
  a.socialUnrest = 20.0f;
  a.warEconomy = 100.0f;
  sCountryReport report;
  CalculateCountryProduction(world, a, report);
  // 5 + 10 + 10 x 0.5 + 10 x 0.8 + (10 x 0.2 x 0.75) x 2 = 31; x 0.8 x 1 x 0.5.
  EXPECT_NEAR(a.productionPoints, 12.4, 1e-4);
  EXPECT_TRUE(Has(report.body, L"Resources: 5.0 PP\nOwn cities: 10.0 PP\nOccupied cities: 5.0 PP\n"
                               L"Annexed cities: 8.0 PP\nShare from annexed cities: 3.0 PP\n\n"
                               L"Total production: 31.0 PP"))
      << report.body;
  EXPECT_TRUE(Has(report.body, L"Total modifier: 40.0%\n\n\nCollected: 12.4 PP"));
  // A computer country ignores its difficulty.
  a.human = false;
  a.productionPoints = 0.0;
  CalculateCountryProduction(world, a, report);
  EXPECT_NEAR(a.productionPoints, 24.8, 1e-4);
}

TEST(CountryReports, UpkeepIsPaidForLandAndAirUnitsOnTheMapAndInReserve) {
  TurnWorld w({"pppp"});
  cWorld& world = *w.world;
  world.constants.upkeepFactor = 0.5f;
  LandUnitConstants().baseStrength[0][0] = 10.0f;
  cCountry& a = w.Country(1);
  a.productionPoints = 100.0;
  a.unitUpkeepModifier = 2.0f;
  w.AddUnit(0, 0, 1).strength = 50;  // strength 5
  w.AddUnit(1, 0, 2);                // not ours
  auto* fighter = new cJednostkaLotnicza(&world);
  fighter->countryId = 1;
  fighter->strength = 4.0f;
  world.Units().airUnits.push_back(fighter);
  auto* reserve = new cJednostkaLotnicza(&world);
  reserve->countryId = 1;
  reserve->strength = 1.0f;
  world.Units().reservePool.push_back(reserve);
  sCountryReport report;
  PayUnitUpkeep(world, a, &report);
  EXPECT_NEAR(a.productionPoints, 90.0, 1e-4);  // (5 + 4 + 1) x 0.5 x 2
  EXPECT_EQ(report.title, L"unit_upkeep_summary_for_A");
  EXPECT_EQ(report.body, L"total_units'_strength:_10.00total_upkeep:_10.00pp_after_upkeep_substraction:_90.00"
                         L"current_pp:_90.00");
  cCountry& b = w.Country(2);
  b.productionPoints = 7.0;
  world.Units().landUnits.back()->countryId = 3;  // B has nothing left
  PayUnitUpkeep(world, b, &report);
  EXPECT_EQ(b.productionPoints, 7.0);
  EXPECT_TRUE(Has(report.body, L"total_units'_strength:_0.00"));
}

TEST(CountryReports, ResearchAdvancesEstimatesAndRaisesLevels) {
  TurnWorld w({"pp"});
  cWorld& world = *w.world;
  cCountry& a = w.Country(1);
  world.constants.researchCost.fill(10);
  world.constants.researchLimit.fill(3);
  a.techInvestment[kTechArtillery] = 3;  // 0 + 3 draws of 1: 7 to go, 7 / 10.5 rounds to 1
  a.techInvestment[kTechTanks] = 2;      // 9 + 1 + 1: the level
  a.techProgress[kTechTanks] = 9;
  a.techLevel[kTechNuclear] = 3;  // at the top: a bomb a month
  a.techInvestment[kTechNuclear] = 1;
  const RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 1), RandFor(1, 6, 1), RandFor(1, 6, 1),
                            RandFor(1, 6, 1)});
  sCountryReport report;
  ResearchMonthly(world, a, report);
  EXPECT_EQ(report.title, L"monthly_research_report_for_A");
  EXPECT_EQ(report.body,
            L"artillery:_progress_increased_from_0_to_3._estimated_completion_time:_1_months."
            L"tanks:_level_1_reached!aircrafts:_no_investments.submarines:_no_investments.warships:_no_investments."
            L"nuclear_bomb:_maximum_level_reached._A_aquires_new_nuclear_bomb.");
  EXPECT_EQ(a.techLevel[kTechTanks], 1);
  EXPECT_EQ(a.techInvestment[kTechTanks], 0);
  EXPECT_EQ(a.techProgress[kTechTanks], 0);
  EXPECT_EQ(a.techProgress[kTechArtillery], 3);
  EXPECT_EQ(a.nuclearBombs, 1);
}

TEST(CountryReports, DoctrineCanRiseTwiceInOneMonthAndTellsOnlyAHuman) {
  TurnWorld w({"pp"});
  cCountry& a = w.Country(1);
  a.doctrineMonths = {1, 1, 5, 5, 5};
  EXPECT_EQ(UpdateLandWarfareDoctrine(a).size(), 2u);
  EXPECT_EQ(a.techLevel[kTechDoctrine], 2);
  cCountry& b = w.Country(2);
  b.techLevel[kTechDoctrine] = 5;
  EXPECT_TRUE(UpdateLandWarfareDoctrine(b).empty());
  EXPECT_EQ(b.techLevel[kTechDoctrine], 5);
}

TEST(Surrender, LandAndSharesGoToTheVictorsAndTheForcesLeave) {
  TurnWorld w({"pppp", "pppp"}, {kAlliesLeader, kAxisLeader, kAllies, kAllies});
  cWorld& world = *w.world;
  w.War(1, 2);
  w.War(3, 2);
  for (int x = 2; x < 4; ++x) {
    for (int y = 0; y < 2; ++y) w.Hex(x, y).controller = w.Hex(x, y).owner = w.Hex(x, y).originalOwner = 2;
  }
  cCity& capital = w.City(3, 1, 2, kCitySupplyPort);
  w.Control(3, 1, 1);
  world.GetRelations().AddLosses(1, 2, 30.0f);
  world.GetRelations().AddLosses(3, 2, 10.0f);
  world.GetRelations().AddLosses(4, 2, 10.0f);
  w.Country(4).active = false;  // its losses count, it gets no share
  w.AddUnit(2, 0, 2);
  sCountryReport report;
  cCountry* victor = Surrender(world, w.Country(2), report);
  ASSERT_EQ(victor, &w.Country(1));
  EXPECT_EQ(report.title, L"B_surrenders_to_A");
  EXPECT_EQ(report.body, L"distribution_of_effort_in_victory_over_B:A:_60.00%C:_20.00%");
  EXPECT_FALSE(w.Country(2).active);
  EXPECT_TRUE(world.Units().landUnits.empty());
  EXPECT_EQ(w.Hex(2, 0).controller, 1);
  EXPECT_EQ(w.Hex(2, 0).owner, 1);
  EXPECT_EQ(capital.type, kCityPort) << "no longer a source of supply";
  EXPECT_FALSE(world.GetRelations().IsAtWar(1, 2));
  EXPECT_FALSE(world.GetRelations().IsAtWar(2, 3));
}

TEST(Surrender, WithNobodyToSurrenderToTheLandStaysAsItIs) {
  TurnWorld w({"pppp"});
  cWorld& world = *w.world;
  w.Hex(3, 0).controller = w.Hex(3, 0).owner = 2;
  w.AddUnit(3, 0, 2);
  sCountryReport report;
  EXPECT_EQ(Surrender(world, w.Country(2), report), nullptr);
  EXPECT_EQ(report.title, L"B_surrenders!");
  EXPECT_EQ(report.body, L"distribution_of_effort_in_victory_over_B:");
  EXPECT_EQ(w.Hex(3, 0).controller, 2);
  EXPECT_EQ(w.Hex(3, 0).unit, nullptr);
  EXPECT_FALSE(w.Country(2).active);
}

TEST(Surrender, WithoutLossesEveryActiveEnemySharesAlike) {
  TurnWorld w({"pppp"}, {kAlliesLeader, kAxisLeader, kAllies});
  w.War(1, 2);
  w.War(3, 2);
  sCountryReport report;
  Surrender(*w.world, w.Country(2), report);
  EXPECT_EQ(report.body, L"distribution_of_effort_in_victory_over_B:A:_50.00%C:_50.00%");
}

TEST(Surrender, ALeaderHandsTheLeadToTheStrongestMemberTheLaterOnATie) {
  TurnWorld w({"pppp"}, {kAlliesLeader, kAxisLeader, kAxis, kAxis, kAxis});
  cWorld& world = *w.world;
  w.War(1, 2);
  w.Country(3).politicalStrength = 20;
  w.Country(4).politicalStrength = 20;
  w.Country(5).politicalStrength = 30;
  w.Country(5).active = false;
  w.City(0, 0, 1);
  CheckSurrenders(world);  // B holds no city
  EXPECT_FALSE(w.Country(2).active);
  EXPECT_EQ(w.Country(2).alliance, kNeutral);
  EXPECT_EQ(w.Country(4).alliance, kAxisLeader);
  EXPECT_EQ(w.Country(3).alliance, kAxis);
  const auto messages = w.view->Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].first, L"B_surrenders!");
  EXPECT_EQ(messages[1].second, L"with_B_annexed,_D_becomes_new_leader_of_axis\n\nleader_of_B_eliminated!");
}

TEST(Surrender, TheLastOfAnAllianceEndsItAndItsFriendsTurnAway) {
  TurnWorld w({"pppp"}, {kAlliesLeader, kAxisLeader, kNeutral, kNeutral});
  w.War(1, 2);
  w.Country(3).orientation = 1;  // pro-Axis regime
  w.Country(4).orientation = 4;
  w.City(0, 0, 1);
  const RandSequence draws({RandFor(1, 2, 1), RandFor(1, 2, 2)});
  CheckSurrenders(*w.world);
  // A and B lean to the Allies (orientation 0); 3 and 4 lean to the Axis.
  EXPECT_EQ(w.Country(3).orientation, 3);
  EXPECT_EQ(w.Country(4).orientation, 5);
  EXPECT_EQ(w.world->GetAllianceLeader(kAxisLeader), nullptr);
  EXPECT_TRUE(CheckGameOver(*w.world)) << "one major alliance left";
}

// A city of A at (2, 1) with enemies of B on every land hex around it.
struct SiegeWorld : TurnWorld {
  SiegeWorld() : TurnWorld({"~~~~~", "~ppp~", "~~~~~"}) {
    War(1, 2);
    world->constants.siegeFactors = {0.25f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f};
    LandUnitConstants().baseStrength.fill({10, 10, 10, 10, 10, 10, 10});
    city = &City(2, 1, 1, kCitySupply);
    defender = &AddUnit(2, 1, 1);
    for (int dir = 0; dir < 6; ++dir) {
      const sHex* hex = Map().GetNeighbour(2, 1, dir);
      if (hex != nullptr && hex->IsLand()) AddUnit(hex->x, hex->y, 2);
    }
  }
  cCity* city = nullptr;
  cJednostkaLadowa* defender = nullptr;
};

TEST(Sieges, ASuccessfulCheckWearsTheDefenderDownAndAFailedOneChangesNothing) {
  SiegeWorld w;
  cWorld& world = *w.world;
  ASSERT_TRUE(w.city->IsBesieged(world));
  w.defender->level = 3;
  {
    const RandSequence draws({RandFor(1, 1000, 250)});  // chance 0.25: 250 fails
    CheckSieges(world);
  }
  EXPECT_EQ(w.defender->level, 3);
  {
    const RandSequence draws({RandFor(1, 1000, 249)});
    CheckSieges(world);
  }
  EXPECT_EQ(w.defender->level, 2);
  const auto reports = w.Reports(kReportSiege);
  ASSERT_EQ(reports.size(), 4u) << "each siege to both countries";
  EXPECT_EQ(reports[0].countryId, 1);
  EXPECT_EQ(reports[1].countryId, 2);
  EXPECT_TRUE(Has(reports[0].text, L"Siege of City2_1 (A)\n\nsiege_report"));
  EXPECT_TRUE(Has(reports[0].text, L"check_failed,_siege_continues..."));
  EXPECT_TRUE(Has(reports[2].text, L"check_succeeded,_%s_loses_1_level") ||
              Has(reports[2].text, L"check_succeeded,_"));
  EXPECT_EQ(w.view->Messages().size(), 2u);
}

TEST(Sieges, ADefenderOfTheLowestLevelSurrendersAndLeavesTheCity) {
  SiegeWorld w;
  w.defender->level = 1;
  const RandSequence draws({RandFor(1, 1000, 1)});
  CheckSieges(*w.world);
  EXPECT_EQ(w.Hex(2, 1).unit, nullptr);
  EXPECT_FALSE(w.city->IsBesieged(*w.world));
}

}  // namespace
