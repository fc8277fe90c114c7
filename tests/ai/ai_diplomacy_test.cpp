// A computer country's diplomacy: its alliance entry policy, the countries it
// presses, and its declarations of war once its offensive stands ready.
#include <gtest/gtest.h>

#include "ai/ai_economy.h"
#include "ai/ai_fixture.h"
#include "world/jednostka_ladowa.h"

namespace {

using twtest::AiWorld;

class AiDiplomacy : public ::testing::Test {
 protected:
  enum : int { kAxisLead = 1, kAlliesLead, kHesitant, kOtherLeaning, kSameLeaning };

  AiDiplomacy() : dice([] { return 0; }) {
    // Five countries at peace: two alliance leaders and three neutrals.
    w.AddCountries({kNeutral, kNeutral});
    struct {
      int alliance, orientation;
      const wchar_t* name;
    } const rows[] = {{kAxisLeader, 1, L"Eastmark"},
                      {kAlliesLeader, 0, L"Westland"},
                      {kNeutral, 1, L"Midland"},
                      {kNeutral, 0, L"Lakeland"},
                      {kNeutral, 4, L"Hillmark"}};
    int id = 1;
    for (const auto& r : rows) {
      cCountry& c = w.Country(id++);
      c.alliance = r.alliance;
      c.orientation = r.orientation;
      c.name = r.name;
      c.politicalStrength = 50;
      c.diplomaticPoints = 500;
      c.active = true;
    }
    for (int x = 3; x <= 4; ++x) w.Control(x, 2, kAlliesLead);
  }

  // n units of the Axis leader with the AI order.
  void Offensive(int order, int n) {
    for (int i = 0; i < n; ++i) {
      cJednostkaLadowa& unit = w.AddUnit(-1, -1, kAxisLead);
      unit.aiOrder = order;
    }
  }
  bool AtWar(int a, int b) { return w.world->GetRelations().IsAtWar(a, b); }

  AiWorld w;
  plat::ScopedRandOverride dice;
};

TEST_F(AiDiplomacy, DeclaresWarOnTheTargetsHolderOnlyWhenTheOffensiveStandsReady) {
  cCountry& axis = w.Country(kAxisLead);
  axis.aiData.currentTargets = {{3, 2, 0}, {4, 2, 0}, {0, 0, 0}, {9, 9, 0}};
  // 7 ready and 3 gathering: 0.7 as a float is not above 0.7.
  Offensive(13, 7);
  Offensive(12, 3);
  EXPECT_FLOAT_EQ(ai::OffensiveReadiness(*w.world, axis), 0.7f);
  EXPECT_EQ(ai::DeclareWarOnTargets(*w.world, axis), 0);
  EXPECT_FALSE(AtWar(kAxisLead, kAlliesLead));

  w.world->Units().landUnits.back()->aiOrder = 13;
  // Two targets of one holder give one declaration; a hex of its own and
  // one off the map give none. The human playing Westland gets the pause
  // to read it.
  w.Country(kAlliesLead).human = true;
  EXPECT_EQ(ai::DeclareWarOnTargets(*w.world, axis), 1);
  EXPECT_TRUE(AtWar(kAxisLead, kAlliesLead));
  EXPECT_TRUE(w.log.Contains(L"[AI]: Eastmark DECLARED WAR ON Westland!!"));
  EXPECT_EQ(w.clock.TotalSlept(), 2000u);
}

TEST_F(AiDiplomacy, DeclarationAmongComputerPlayersDoesNotPause) {
  cCountry& axis = w.Country(kAxisLead);
  axis.aiData.currentTargets = {{3, 2, 0}};
  Offensive(13, 1);
  // A human country that has left the game reads nothing either.
  w.Country(kHesitant).human = true;
  w.Country(kHesitant).active = false;
  EXPECT_EQ(ai::DeclareWarOnTargets(*w.world, axis), 1);
  EXPECT_TRUE(AtWar(kAxisLead, kAlliesLead));
  EXPECT_EQ(w.clock.TotalSlept(), 0u);
}

TEST_F(AiDiplomacy, NoTargetsOrNoOffensiveDeclareNothing) {
  cCountry& axis = w.Country(kAxisLead);
  Offensive(13, 4);
  EXPECT_EQ(ai::DeclareWarOnTargets(*w.world, axis), 0);
  axis.aiData.currentTargets = {{3, 2, 0}};
  for (cJednostkaLadowa* unit : w.world->Units().landUnits) unit->aiOrder = 0;
  EXPECT_FLOAT_EQ(ai::OffensiveReadiness(*w.world, axis), 0.0f);
  EXPECT_EQ(ai::DeclareWarOnTargets(*w.world, axis), 0);
  EXPECT_FALSE(AtWar(kAxisLead, kAlliesLead));
}

TEST_F(AiDiplomacy, AllianceEntryDelayedFromTwentyOneOrHastened) {
  cCountry& hesitant = w.Country(kHesitant);
  hesitant.aiData.allianceEntryPolicy = 0;
  hesitant.allianceEntry = 20;
  ai::MakeDiplomacyDecisions(*w.world, hesitant);
  EXPECT_FALSE(hesitant.doneDelayWarEntry);
  hesitant.allianceEntry = 21;
  ai::MakeDiplomacyDecisions(*w.world, hesitant);
  EXPECT_TRUE(hesitant.doneDelayWarEntry);
  EXPECT_FALSE(hesitant.doneHasteWarEntry);

  cCountry& eager = w.Country(kOtherLeaning);
  eager.aiData.allianceEntryPolicy = 1;
  eager.allianceEntry = 5;
  ai::MakeDiplomacyDecisions(*w.world, eager);
  EXPECT_TRUE(eager.doneHasteWarEntry);
  EXPECT_FALSE(eager.doneDelayWarEntry);

  cCountry& indifferent = w.Country(kSameLeaning);
  indifferent.aiData.allianceEntryPolicy = 2;
  indifferent.allianceEntry = 50;
  ai::MakeDiplomacyDecisions(*w.world, indifferent);
  EXPECT_FALSE(indifferent.doneHasteWarEntry || indifferent.doneDelayWarEntry);
}

TEST_F(AiDiplomacy, PressesItsOwnLeaningAndOthersFromThirty) {
  cCountry& axis = w.Country(kAxisLead);
  axis.aiData.allianceEntryPolicy = 2;
  axis.aiData.countriesToPress = {kOtherLeaning, kSameLeaning, kAlliesLead};
  w.Country(kOtherLeaning).allianceEntry = 29;
  w.Country(kSameLeaning).allianceEntry = 0;
  ai::MakeDiplomacyDecisions(*w.world, axis);
  EXPECT_FALSE(w.Country(kOtherLeaning).doneExertPressureAxis);
  EXPECT_TRUE(w.Country(kSameLeaning).doneExertPressureAxis);
  EXPECT_FALSE(w.Country(kAlliesLead).doneExertPressureAxis);  // in an alliance: the rule refuses

  w.Country(kOtherLeaning).allianceEntry = 30;
  ai::MakeDiplomacyDecisions(*w.world, axis);
  EXPECT_TRUE(w.Country(kOtherLeaning).doneExertPressureAxis);
}

}  // namespace
