// The diplomacy actions against their rules: each check's order of refusals
// and its texts, each action's payment, flags, dice (an injected sequence of
// the random generator, every draw accounted for) and result.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "platform/rand.h"
#include "rules/diplomacy.h"
#include "support/world_builders.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// The rand() value that makes RandomRange(lo, hi) give value (the middle of
// its band, clear of rounding at the edges).
int RandFor(int lo, int hi, int value) {
  if (value == hi) return plat::kRandMax;
  return static_cast<int>((value - lo + 0.5) * plat::kRandMax / (hi - lo));
}
int Die(int sides, int value) { return RandFor(1, sides, value); }
int Percent(int value) { return RandFor(1, 100, value); }

// Feeds the random generator a fixed sequence and counts what was drawn.
class Draws {
 public:
  explicit Draws(std::vector<int> values)
      : values_(std::move(values)), override_([this] { return values_.at(next_++); }) {}
  std::size_t Used() const { return next_; }

 private:
  std::vector<int> values_;
  std::size_t next_ = 0;
  plat::ScopedRandOverride override_;
};

class Diplomacy : public ::testing::Test {
 protected:
  enum : int { kAlliesLead = 1, kAxisLead, kAxisMember, kProAllied, kProAxis, kDemocracy, kCount = kDemocracy };

  Diplomacy() {
    g_pWorld = &world_;
    struct {
      int alliance, orientation, zone, strength, entry;
      const wchar_t* name;
    } const rows[] = {
        {kAlliesLeader, 0, 1, 80, 100, L"Westland"}, {kAxisLeader, 1, 2, 70, 100, L"Eastmark"},
        {kAxis, 4, 2, 40, 100, L"Southia"},          {kNeutral, 3, 1, 30, 50, L"Neutralia"},
        {kNeutral, 4, 0, 20, 40, L"Hillmark"},       {kNeutral, 0, 0, 50, 10, L"Lakeland"},
    };
    for (const auto& r : rows) {
      cCountry& c = twtest::AddCountry(world_, r.alliance, r.name);
      c.orientation = r.orientation;
      c.zoneOfInfluence = r.zone;
      c.politicalStrength = r.strength;
      c.allianceEntry = r.entry;
      c.diplomaticPoints = 500;
      c.active = true;
    }
    world_.GetRelations().Reset(kCount);
    sScenarioConstants& k = world_.constants;
    for (auto& row : k.diplomacyTableA) row.fill(200);
    for (auto& row : k.diplomacyTableB) row.fill(5);
    // 91/92: cost factors by orientation (0/3, 4/5, 1/2), dice count, sides, base.
    k.diplomacyFactors91 = {0.5f, 1.0f, 2.0f, 2.5f, 6.0f, 1.0f};
    k.diplomacyFactors92 = {0.5f, 1.0f, 2.0f, 2.0f, 6.0f, 3.0f};
    k.diplomacyFactors93 = {1.0f, 10.0f, 5.0f};
    // 94: A (count, sides, base), B, D.
    k.diplomacyFactors94 = {1.0f, 6.0f, 10.0f, 1.0f, 6.0f, 20.0f, 1.0f, 6.0f, 2.0f};
    // 113: dice count, sides, base, chance factor (3-5), chance factor (0-2), cost factor.
    k.diplomacyFactors113 = {1.0f, 10.0f, 5.0f, 0.5f, 0.8f, 2.0f};
    // 114: chance factors (0-2, 3-5), cost factor, strength rise, -, failure
    // dice (count, sides, base), success dice (count, sides, base).
    k.coupFactors = {0.4f, 0.6f, 1.5f, 15.0f, 0.0f, 1.5f, 4.0f, 1.0f, 10.0f, 5.0f, 5.0f};
  }
  ~Diplomacy() override { g_pWorld = nullptr; }

  cCountry& C(int id) { return *world_.GetCountry(id); }
  void War(int a, int b) {
    world_.GetRelations().SetAtWar(a, b, true);
    world_.GetRelations().SetAtWar(b, a, true);
  }
  bool AtWar(int a, int b) { return world_.GetRelations().IsAtWar(a, b) && world_.GetRelations().IsAtWar(b, a); }

  cWorld world_;
  std::wstring text_;
};

TEST_F(Diplomacy, DeclaringWarIsRefusedInOrderAndPricedByTheTablesAndTheTargetsStrength) {
  EXPECT_FALSE(CanDeclareWar(world_, kAxisLead, kAxisMember, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_not_on_ally");
  EXPECT_FALSE(CanDeclareWar(world_, kAlliesLead, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_similar_orientation");
  War(kAlliesLead, kProAxis);
  EXPECT_FALSE(CanDeclareWar(world_, kAlliesLead, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_already_war_with_country");
  EXPECT_FALSE(CanDeclareWar(world_, kAlliesLead, kAxisMember, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader");

  // Row 2 (allied leader), column 1 (axis leader): 37 x 70 / 100 = 25.
  world_.constants.diplomacyTableA[2][1] = 37;
  world_.constants.diplomacyTableB[2][1] = 9;
  EXPECT_EQ(GetDeclareWarCost(world_, C(kAlliesLead), C(kAxisLead)), 25);
  C(kAlliesLead).diplomaticPoints = 24;
  EXPECT_FALSE(CanDeclareWar(world_, kAlliesLead, kAxisLead, text_));
  EXPECT_EQ(text_, L"diplomacy_not_enough_dp");
  C(kAlliesLead).diplomaticPoints = 25;
  EXPECT_TRUE(CanDeclareWar(world_, kAlliesLead, kAxisLead, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_on_country_social_unrest_increase");
  // A neutral in the zone of its own leaning would join its side.
  C(kProAllied).zoneOfInfluence = 1;
  EXPECT_TRUE(CanDeclareWar(world_, kAxisLead, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_can_declare_war_on_country_social_unrest_increase_country_join_alliance");

  EXPECT_EQ(DeclareWar(world_, kAlliesLead, kAxisLead, true), 6);
  EXPECT_EQ(C(kAlliesLead).diplomaticPoints, 0);
  EXPECT_FLOAT_EQ(C(kAlliesLead).socialUnrest, 9.0f);
}

TEST_F(Diplomacy, EachOfTheSixWaysAWarSpreads) {
  // 1: a neutral on a neutral that does not lean home.
  EXPECT_EQ(DeclareWar(world_, kDemocracy, kProAxis, false), 1);
  EXPECT_TRUE(AtWar(kDemocracy, kProAxis));
  EXPECT_FALSE(AtWar(kDemocracy, kAxisLead));
  world_.GetRelations().Reset(kCount);
  // 2: the target leans home and joins its side, which takes its war over.
  EXPECT_EQ(DeclareWar(world_, kDemocracy, kProAllied, false), 2);
  EXPECT_EQ(C(kProAllied).alliance, kAllies);
  EXPECT_TRUE(AtWar(kDemocracy, kProAllied));
  EXPECT_TRUE(AtWar(kDemocracy, kAlliesLead));
  world_.GetRelations().Reset(kCount);
  C(kProAllied).alliance = kNeutral;
  // 3: a neutral on a leader is at war with the whole alliance.
  EXPECT_EQ(DeclareWar(world_, kDemocracy, kAxisLead, false), 3);
  EXPECT_TRUE(AtWar(kDemocracy, kAxisLead) && AtWar(kDemocracy, kAxisMember));
  world_.GetRelations().Reset(kCount);
  // 4: an alliance member on a neutral: the neutral fights the whole alliance.
  EXPECT_EQ(DeclareWar(world_, kAxisMember, kDemocracy, false), 4);
  EXPECT_TRUE(AtWar(kDemocracy, kAxisLead) && AtWar(kDemocracy, kAxisMember));
  world_.GetRelations().Reset(kCount);
  // 5: the neutral leans home: it joins the Allies, and the Allies fight the Axis.
  EXPECT_EQ(DeclareWar(world_, kAxisMember, kProAllied, false), 5);
  EXPECT_EQ(C(kProAllied).alliance, kAllies);
  for (int allied : {kAlliesLead, kProAllied}) {
    for (int axis : {kAxisLead, kAxisMember}) EXPECT_TRUE(AtWar(allied, axis)) << allied << "-" << axis;
  }
  world_.GetRelations().Reset(kCount);
  // 6: on a leader from an alliance: every member of one fights every member
  // of the other (the neutral that joined the Allies above among them).
  EXPECT_EQ(DeclareWar(world_, kAxisMember, kAlliesLead, false), 6);
  for (int allied : {kAlliesLead, kProAllied}) {
    for (int axis : {kAxisLead, kAxisMember}) EXPECT_TRUE(AtWar(allied, axis)) << allied << "-" << axis;
  }
  EXPECT_FALSE(AtWar(kDemocracy, kAxisLead));
}

TEST_F(Diplomacy, DelayingRollsWhileBelowTheCountAndOnlyOnceAnImpulse) {
  cCountry& c = C(kProAllied);  // orientation 3: cost 30 x 0.5
  EXPECT_EQ(GetDelayAllianceEntryCost(world_, c), 15);
  ASSERT_TRUE(CanDelayAllianceEntry(world_, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_attempt_to_keep_away_from_joining_alliance");
  {
    // A count of 2.5 rolls three dice: 2 + 3 + 4, plus 1.
    Draws draws({Die(6, 2), Die(6, 3), Die(6, 4)});
    DelayAllianceEntry(world_, kProAllied, text_);
    EXPECT_EQ(draws.Used(), 3u);
  }
  EXPECT_EQ(std::tuple(c.allianceEntry, c.diplomaticPoints, c.doneDelayWarEntry), std::tuple(40, 485, true));
  EXPECT_EQ(text_, L"diplomacy_country_delay_alliance_entry");
  EXPECT_FALSE(CanDelayAllianceEntry(world_, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_delaying_alliance_entry_only_once_per_turn");
  c.doneDelayWarEntry = false;
  c.allianceEntry = 0;
  EXPECT_FALSE(CanDelayAllianceEntry(world_, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_alliance_already_at_minimum_level");
  EXPECT_FALSE(CanDelayAllianceEntry(world_, kAxisMember, text_));
  EXPECT_EQ(text_, L"diplomacy_country_already_in_alliance");
  // The cost is at least 1.
  C(kProAxis).politicalStrength = 0;
  EXPECT_EQ(GetDelayAllianceEntryCost(world_, C(kProAxis)), 1);
}

TEST_F(Diplomacy, HasteningRaisesTheEntryAndJoinsAtTheTopOrStaysNeutralWithoutALeader) {
  cCountry& c = C(kProAxis);  // orientation 4: cost 20 x 1.0
  c.allianceEntry = 80;
  {
    Draws draws({Die(6, 6), Die(6, 6)});  // 6 + 6 + 3
    HastenAllianceEntry(world_, kProAxis, text_);
    EXPECT_EQ(draws.Used(), 2u);
  }
  EXPECT_EQ(std::tuple(c.allianceEntry, c.alliance, c.diplomaticPoints), std::tuple(95, int{kNeutral}, 480));
  EXPECT_EQ(text_, L"diplomacy_haste_war_entry_country_increase_alliance_entry");
  EXPECT_FALSE(CanHastenAllianceEntry(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_hasting_alliance_entry_only_once_per_turn");
  c.doneHasteWarEntry = false;
  {
    Draws draws({Die(6, 1), Die(6, 1)});
    HastenAllianceEntry(world_, kProAxis, text_);
  }
  EXPECT_EQ(std::tuple(c.allianceEntry, c.alliance), std::tuple(100, int{kAxis}));
  EXPECT_EQ(text_, L"diplomacy_haste_war_entry_country_join_alliance");

  // The Comintern has no leader in this world: the country stays neutral.
  cCountry& red = C(kDemocracy);
  red.orientation = 5;
  red.allianceEntry = 99;
  {
    Draws draws({Die(6, 1), Die(6, 1)});
    HastenAllianceEntry(world_, kDemocracy, text_);
  }
  EXPECT_EQ(std::tuple(red.allianceEntry, red.alliance), std::tuple(100, int{kNeutral}));
  EXPECT_EQ(text_, L"diplomacy_haste_war_entry_country_increase_alliance_entry");
}

TEST_F(Diplomacy, ElectionsOncePerGameOnlyInNeutralDemocraciesAndLeaningCountries) {
  EXPECT_FALSE(CanHoldElections(world_, kAxisLead, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_not_possible_in_regimes");
  ASSERT_TRUE(CanHoldElections(world_, kDemocracy, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_firm_democracies_only_to_weaker");
  ASSERT_TRUE(CanHoldElections(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_choose_winning_orientation");
  EXPECT_FALSE(CanHoldElections(world_, kAxisMember, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_not_possible_only_neutral");
  War(kProAllied, kProAxis);
  EXPECT_FALSE(CanHoldElections(world_, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_not_possible_during_war");
  world_.GetRelations().Reset(kCount);

  {
    // Pro-axis to pro-allied drops the entry by 1d10 + 5.
    Draws draws({Die(10, 7)});
    HoldElections(world_, kProAxis, 3, text_);
    EXPECT_EQ(draws.Used(), 1u);
  }
  EXPECT_EQ(std::tuple(C(kProAxis).orientation, C(kProAxis).allianceEntry), std::tuple(3, 28));
  EXPECT_EQ(text_, L"diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped");
  EXPECT_FALSE(CanHoldElections(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_elections_only_once_per_game");

  {
    Draws draws({Die(10, 7)});
    HoldElections(world_, kDemocracy, 3, text_);
  }
  EXPECT_EQ(std::tuple(C(kDemocracy).orientation, C(kDemocracy).allianceEntry), std::tuple(3, 10));
  EXPECT_EQ(text_, L"diplomacy_elections_in_country_orientation_changed_to_pro_allied");
  {
    Draws draws({Die(10, 7)});
    HoldElections(world_, kProAllied, 1, text_);
  }
  EXPECT_EQ(C(kProAllied).orientation, 1);
  EXPECT_EQ(text_, L"diplomacy_elections_in_country_country_becomes_orientation");
}

TEST_F(Diplomacy, ChangingOrientationByTheCurrentOneWithItsUnrestAndEntry) {
  cCountry& c = C(kProAxis);
  c.socialUnrest = 75.0f;
  EXPECT_FALSE(CanChangeOrientation(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_can_change_orientation_not_possible_social_unrest");
  c.socialUnrest = 74.9f;
  text_ = L"before";
  EXPECT_TRUE(CanChangeOrientation(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"before");  // a possible change writes nothing
  c.diplomaticPoints = 19;
  EXPECT_FALSE(CanChangeOrientation(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_not_enough_dp");
  c.diplomaticPoints = 100;
  c.socialUnrest = 10.0f;
  {
    // A = 1d6 + 10, B = 1d6 + 20, D = 1d6 + 2, all three rolled first.
    Draws draws({Die(6, 1), Die(6, 2), Die(6, 3)});
    ChangeOrientation(world_, kProAxis, 5, text_);
    EXPECT_EQ(draws.Used(), 3u);
  }
  EXPECT_EQ(std::tuple(c.orientation, c.allianceEntry, c.diplomaticPoints, c.doneTurnInOrientation),
            std::tuple(5, 29, 80, true));
  EXPECT_FLOAT_EQ(c.socialUnrest, 32.0f);
  EXPECT_EQ(text_, L"diplomacy_change_orientation_to_other_then_pro_orientation");
  EXPECT_FALSE(CanChangeOrientation(world_, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_can_change_orientation_only_once_per_turn");

  // A "pro" country choosing its own side's regime, and a regime whatever it
  // chooses, raise the unrest by D only.
  // (A change is once a turn: each of these is in a turn of its own.)
  c.orientation = 4;
  c.doneTurnInOrientation = false;
  {
    Draws draws({Die(6, 1), Die(6, 2), Die(6, 3)});
    ChangeOrientation(world_, kProAxis, 1, text_);
  }
  EXPECT_EQ(std::tuple(c.orientation, c.allianceEntry), std::tuple(1, 29));
  EXPECT_FLOAT_EQ(c.socialUnrest, 37.0f);
  EXPECT_EQ(text_, L"diplomacy_change_orientation_to_nationalist_regime");
  c.doneTurnInOrientation = false;
  {
    Draws draws({Die(6, 1), Die(6, 2), Die(6, 3)});
    ChangeOrientation(world_, kProAxis, 5, text_);
  }
  EXPECT_EQ(c.orientation, 4);
  EXPECT_EQ(text_, L"diplomacy_change_orientation_to_pro_axis");
}

TEST_F(Diplomacy, PressureFromTheSameLeaningAlwaysRaisesAndFromAnotherMayLower) {
  // Allied leader on a pro-allied neutral: shared leaning, cost = strength.
  EXPECT_EQ(GetPressureChance(world_, C(kAlliesLead), C(kProAllied)), 100);
  ASSERT_TRUE(CanExertPressure(world_, kAlliesLead, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_can_exert_pressure_hasten_alliance_entry_of_country_cost");
  {
    Draws draws({Percent(100), Die(10, 4)});
    ExertPressure(world_, kAlliesLead, kProAllied, text_);
    EXPECT_EQ(draws.Used(), 2u);
  }
  EXPECT_EQ(std::tuple(C(kProAllied).allianceEntry, C(kAlliesLead).diplomaticPoints), std::tuple(59, 470));
  EXPECT_TRUE(C(kProAllied).doneExertPressureAllied);
  EXPECT_FALSE(CanExertPressure(world_, kAlliesLead, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_can_exert_pressure_only_once_per_turn_note_allies");

  // The Axis on the same country: chance (100 - 30) x 0.5, cost 30 x 2.
  EXPECT_EQ(GetPressureChance(world_, C(kAxisLead), C(kProAllied)), 35);
  EXPECT_EQ(GetPressureCost(world_, C(kAxisLead), C(kProAllied)), 60);
  ASSERT_TRUE(CanExertPressure(world_, kAxisLead, kProAllied, text_));
  EXPECT_EQ(text_, L"diplomacy_can_exert_pressure_decrease_alliance_entry_of_country_cost_chance");
  {
    Draws draws({Percent(36)});
    ExertPressure(world_, kAxisLead, kProAllied, text_);
    EXPECT_EQ(draws.Used(), 1u);
  }
  EXPECT_EQ(text_, L"diplomacy_exert_pressure_country_tries_to_exert_pressure_on_country_but_fails");
  EXPECT_EQ(C(kProAllied).allianceEntry, 59);
  C(kProAllied).doneExertPressureAxis = false;
  {
    Draws draws({Percent(35), Die(10, 10)});
    ExertPressure(world_, kAxisLead, kProAllied, text_);
  }
  EXPECT_EQ(C(kProAllied).allianceEntry, 44);
  EXPECT_EQ(text_, L"diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country");

  // Pressure that brings a neutral to the top makes it join.
  C(kProAxis).allianceEntry = 95;
  {
    Draws draws({Percent(1), Die(10, 1)});
    ExertPressure(world_, kAxisLead, kProAxis, text_);
  }
  EXPECT_EQ(C(kProAxis).alliance, kAxis);
  EXPECT_EQ(text_, L"diplomacy_exert_pressure_country_joins_alliance_pressure_from_country");
  EXPECT_FALSE(CanExertPressure(world_, kAlliesLead, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_can_extern_pressure_country_already_in_alliance");
}

TEST_F(Diplomacy, ACoupFailsIntoStrengthAndEntryOrTurnsTheTargetTowardsTheActor) {
  EXPECT_FALSE(CanStageCoup(world_, kAlliesLead, kAxisMember, text_));
  EXPECT_EQ(text_, L"diplomacy_can_coup_detat_only_in_neutral");
  EXPECT_FALSE(CanStageCoup(world_, kAlliesLead, kDemocracy, text_));
  EXPECT_EQ(text_, L"diplomacy_can_coup_detat_same_orientation_of_country");
  War(kProAxis, kDemocracy);
  EXPECT_FALSE(CanStageCoup(world_, kAlliesLead, kProAxis, text_));
  EXPECT_EQ(text_, L"diplomacy_can_coup_detat_only_in_countries_not_at_war");
  world_.GetRelations().Reset(kCount);

  // Chance (100 - 20) x 0.6 = 48, cost 20 x 1.5 = 30.
  cCountry& b = C(kProAxis);
  ASSERT_TRUE(CanStageCoup(world_, kAlliesLead, kProAxis, text_));
  EXPECT_EQ(std::tuple(GetCoupChance(world_, b), GetCoupCost(world_, b)), std::tuple(48, 30));
  {
    // Failure: the entry rises by two dice (count 1.5) + 1, strength by 15.
    Draws draws({Percent(49), Die(4, 3), Die(4, 4)});
    StageCoup(world_, kAlliesLead, kProAxis, text_);
    EXPECT_EQ(draws.Used(), 3u);
  }
  EXPECT_EQ(std::tuple(b.allianceEntry, b.politicalStrength, b.orientation, C(kAlliesLead).diplomaticPoints),
            std::tuple(48, 35, 4, 470));
  EXPECT_EQ(text_,
            L"diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_alliance_entry_increased");
  b.politicalStrength = 95;  // the rise stops at 100
  {
    Draws draws({Percent(100), Die(4, 1), Die(4, 1)});
    StageCoup(world_, kAlliesLead, kProAxis, text_);
  }
  EXPECT_EQ(b.politicalStrength, 100);

  b.politicalStrength = 20;
  {
    // Success: pro-axis under a firm democracy turns pro-allied; the entry
    // (51 after the second failure) drops by ten dice of 5 (here all 1) + 5.
    std::vector<int> rolls{Percent(48)};
    rolls.insert(rolls.end(), 10, Die(5, 1));
    Draws draws(rolls);
    StageCoup(world_, kAlliesLead, kProAxis, text_);
    EXPECT_EQ(draws.Used(), 11u);
  }
  EXPECT_EQ(std::tuple(b.orientation, b.allianceEntry), std::tuple(3, 36));
  EXPECT_EQ(text_, L"diplomacy_coup_detat_in_country_orientation_changed_alliance_entry_dropped");
}

// Every action runs its own check: what the panel's check refuses, the
// action refuses alike (the computer calls the same functions), with the
// refusal's text, no dice rolled and nothing paid or flagged. An event's
// unpaid declaration of war is barred by no check.
TEST_F(Diplomacy, EachActionRefusesWhatItsCheckRefusesAndChangesNothing) {
  // No points anywhere; elections held once already (they cost none).
  for (int id = 1; id <= kCount; ++id) C(id).diplomaticPoints = 0;
  C(kProAllied).doneParliamentaryElections = true;
  const auto snapshot = [&] {
    std::vector<int> out;
    for (int id = 1; id <= kCount; ++id) {
      const cCountry& c = C(id);
      out.insert(out.end(), {c.diplomaticPoints, c.allianceEntry, c.orientation, c.politicalStrength,
                             static_cast<int>(c.socialUnrest), c.doneDelayWarEntry, c.doneHasteWarEntry,
                             c.doneParliamentaryElections, c.doneTurnInOrientation, c.doneExertPressureAllied});
    }
    return out;
  };
  const std::vector<int> before = snapshot();
  std::wstring check, action;
  const auto agree = [&](bool allowed, bool done, const char* what) {
    EXPECT_FALSE(allowed) << what;
    EXPECT_FALSE(done) << what;
    EXPECT_FALSE(check.empty()) << what;
    EXPECT_EQ(action, check) << what;
    EXPECT_EQ(snapshot(), before) << what;
  };
  Draws none({});
  agree(CanDelayAllianceEntry(world_, kProAllied, check), DelayAllianceEntry(world_, kProAllied, action), "delay");
  agree(CanHastenAllianceEntry(world_, kProAllied, check), HastenAllianceEntry(world_, kProAllied, action), "hasten");
  agree(CanHoldElections(world_, kProAllied, check), HoldElections(world_, kProAllied, 4, action), "elections");
  agree(CanChangeOrientation(world_, kProAxis, check), ChangeOrientation(world_, kProAxis, 5, action), "orientation");
  agree(CanExertPressure(world_, kAlliesLead, kProAllied, check),
        ExertPressure(world_, kAlliesLead, kProAllied, action), "pressure");
  agree(CanStageCoup(world_, kAxisLead, kProAllied, check), StageCoup(world_, kAxisLead, kProAllied, action), "coup");
  EXPECT_FALSE(CanDeclareWar(world_, kAxisLead, kProAllied, check));
  EXPECT_EQ(DeclareWar(world_, kAxisLead, kProAllied, true), 0);
  EXPECT_FALSE(AtWar(kAxisLead, kProAllied));
  EXPECT_EQ(snapshot(), before);
  EXPECT_GE(DeclareWar(world_, kAxisLead, kProAllied, false), 1);
  EXPECT_TRUE(AtWar(kAxisLead, kProAllied));
}

TEST_F(Diplomacy, DiceCountsBelowOneRollNothing) {
  Draws none({});
  EXPECT_EQ(RollDice(0, 6, 4), 4);
  EXPECT_EQ(RollDice(-3, 6, 4), 4);
  world_.constants.diplomacyFactors91[3] = 0.0f;
  world_.constants.diplomacyFactors91[5] = 3.0f;
  DelayAllianceEntry(world_, kProAllied, text_);
  EXPECT_EQ(C(kProAllied).allianceEntry, 47);
  EXPECT_EQ(none.Used(), 0u);
}

}  // namespace
