// The scripted events' country effects on the fixture game: points,
// political standing, alliance entry, war and peace, technology, the
// doctrine, the country-wide unit effects, and the refusal of bad ids and
// indexes with the event's error line.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "event_effects_fixture.h"
#include "rules/event_effects.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

namespace twtest {
namespace {

using CountryEffects = EventEffectsTest;

template <typename List>
int CountOf(const List& units, int countryId) {
  int n = 0;
  for (const auto* unit : units) n += unit->countryId == countryId ? 1 : 0;
  return n;
}

TEST_F(CountryEffects, PointsAddEvenWhereTheNameSaysSetAndStopAtTheirLimits) {
  cCountry& west = Country(kWestland);  // 10 DP, 101 PP, 5 SMP
  Run(L"Country.SetDiplomaticPoints", {kWestland, 5});
  EXPECT_EQ(west.diplomaticPoints, 15);
  Run(L"Country.SetProductionPoints", {kWestland, -1.5});
  Run(L"Country.ChangeProductionPoints", {kWestland, 0.25});
  EXPECT_DOUBLE_EQ(west.productionPoints, 99.75);
  Run(L"Country.ChangeSMP", {kWestland, -100});
  EXPECT_EQ(west.strategicMovementPoints, 0);
  // A huge amount stops at the int range instead of overflowing.
  Run(L"Country.ChangeDiplomaticPoints", {kWestland, 3e9});
  EXPECT_EQ(west.diplomaticPoints, INT_MAX);
}

TEST_F(CountryEffects, PoliticalValuesAreClampedWhereTheEffectSaysSo) {
  cCountry& south = Country(kSouthia);
  Run(L"Country.ChangePoliticalStrength", {kSouthia, -500});
  EXPECT_EQ(south.politicalStrength, 0);
  Run(L"Country.ChangePoliticalStrength", {kSouthia, 500});
  EXPECT_EQ(south.politicalStrength, 100);
  Run(L"Country.SetPoliticalStrength", {kSouthia, 150});
  EXPECT_EQ(south.politicalStrength, 150);
  Run(L"Country.SetSocialUnrest", {kSouthia, -3});
  EXPECT_EQ(south.socialUnrest, 0.0f);
  Run(L"Country.SetSocialUnrest", {kSouthia, 250});
  EXPECT_EQ(south.socialUnrest, 100.0f);
  Run(L"Country.ChangeSocialUnrest", {kSouthia, -30.5});
  EXPECT_EQ(south.socialUnrest, 69.5f);
}

TEST_F(CountryEffects, FullAllianceEntryJoinsTheLeanedAllianceWithOneMessage) {
  cCountry& neutral = Country(kNeutralia);  // pro-allied, entry 0
  Run(L"Country.ChangeAllianceEntry", {kNeutralia, -50});
  EXPECT_EQ(neutral.allianceEntry, 0);
  Run(L"Country.SetAllianceEntry", {kNeutralia, 120});
  EXPECT_EQ(neutral.alliance, kAllies);
  EXPECT_EQ(neutral.allianceEntry, 100);
  ASSERT_EQ(World().eventManager.messages.size(), 1u);
  EXPECT_TRUE(World().eventManager.messages.front().starts_with(
      L"Alliance entry level in Neutralia reaches 100%% and Neutralia joins "));
  // A leader keeps its lead: it is in its alliance already.
  Run(L"Country.ChangeAllianceEntry", {kWestland, 30});
  EXPECT_EQ(Country(kWestland).alliance, kAlliesLeader);
  EXPECT_EQ(World().eventManager.messages.size(), 1u);
}

TEST_F(CountryEffects, AnAllianceWithoutALeaderIsNotJoined) {
  cCountry& neutral = Country(kNeutralia);
  Run(L"Country.SetOrientation", {kNeutralia, 5});  // pro-communist: no Comintern here
  Run(L"Country.ChangeAllianceEntry", {kNeutralia, 100});
  EXPECT_EQ(neutral.alliance, kNeutral);
  EXPECT_EQ(neutral.allianceEntry, 100);
  EXPECT_TRUE(World().eventManager.messages.empty());
}

TEST_F(CountryEffects, OrientationAndZoneOutsideTheirCodesAreRefused) {
  Run(L"Country.SetOrientation", {kNeutralia, 7});
  Run(L"Country.SetZoneOfInfluence", {kNeutralia, -1});
  EXPECT_EQ(Country(kNeutralia).orientation, 3);
  EXPECT_EQ(Country(kNeutralia).zoneOfInfluence, 0);
  EXPECT_EQ(ErrorLines(L"Country.SetOrientation"), 1);
  EXPECT_EQ(ErrorLines(L"Country.SetZoneOfInfluence"), 1);
  Run(L"Country.SetZoneOfInfluence", {kNeutralia, 2});
  EXPECT_EQ(Country(kNeutralia).zoneOfInfluence, 2);
}

TEST_F(CountryEffects, WarDeclaredWithoutCostAndTold) {
  const int points = Country(kNeutralia).diplomaticPoints;
  Run(L"Country.DeclareWarOnCountry", {kNeutralia, kEastmark});
  // A neutral declaring on a leader goes to war with its whole alliance.
  EXPECT_TRUE(World().GetRelations().IsAtWar(kNeutralia, kEastmark));
  EXPECT_TRUE(World().GetRelations().IsAtWar(kNeutralia, kSouthia));
  EXPECT_EQ(Country(kNeutralia).diplomaticPoints, points);
  ASSERT_EQ(World().eventManager.messages.size(), 1u);
  EXPECT_EQ(World().eventManager.messages.front(), L"Neutralia declares war on Eastmark!");
}

TEST_F(CountryEffects, ADeclarationThatCannotBeMadeIsAWarningWithItsLine) {
  Run(L"Country.DeclareWarOnCountry", {kSouthia, kEastmark});   // allies
  Run(L"Country.DeclareWarOnCountry", {kWestland, kEastmark});  // at war already
  Run(L"Country.DeclareWarOnCountry", {kNeutralia, kNeutralia});
  Run(L"Country.DeclareWarOnCountry", {kNeutralia, 99});
  EXPECT_FALSE(World().GetRelations().IsAtWar(kSouthia, kEastmark));
  EXPECT_FALSE(World().GetRelations().IsAtWar(kNeutralia, kNeutralia));
  const auto& messages = World().eventManager.messages;
  ASSERT_EQ(messages.size(), 3u);
  for (const std::wstring& text : messages) EXPECT_TRUE(text.starts_with(L"Warning: event 42 (line 7): ")) << text;
  EXPECT_EQ(ErrorLines(L"Country.DeclareWarOnCountry"), 4);
}

TEST_F(CountryEffects, PeaceEndsTheWarsReturnsOccupiedLandAndSendsStrangersHome) {
  cJednostkaLadowa& infantry = Land(L"1st Infantry");  // Westland's, on (3, 5)
  Hex(3, 5).controller = Hex(3, 5).owner = kEastmark;
  Hex(12, 3).owner = kEastmark;  // Eastmark's land held by Westland
  Hex(12, 3).controller = kWestland;
  Run(L"Country.MakePeace", {kWestland, 1});
  EXPECT_FALSE(World().GetRelations().IsAtWar(kWestland, kEastmark));
  EXPECT_FALSE(World().GetRelations().IsAtWar(kSouthia, kWestland));
  EXPECT_EQ(Country(kWestland).alliance, kNeutral);
  EXPECT_EQ(Hex(12, 3).controller, kEastmark);
  EXPECT_TRUE(infantry.inReserve);
  EXPECT_EQ(Hex(3, 5).unit, nullptr);
  // At peace already: nothing at all.
  Hex(4, 12).controller = kWestland;
  Run(L"Country.MakePeace", {kNeutralia, 1});
  EXPECT_EQ(Hex(4, 12).controller, kWestland);
}

TEST_F(CountryEffects, TechnologyIndexesAndInvestmentsStayInTheirTables) {
  cCountry& east = Country(kEastmark);
  Run(L"Country.SetTechLevel", {kEastmark, 7, 5});
  Run(L"Country.ChangeTechLevel", {kEastmark, -1, 5});
  EXPECT_EQ(ErrorLines(L"Country.SetTechLevel"), 1);
  EXPECT_EQ(ErrorLines(L"Country.ChangeTechLevel"), 1);
  Run(L"Country.SetTechLevel", {kEastmark, 1, 4});
  Run(L"Country.ChangeTechLevel", {kEastmark, 6, 2});
  EXPECT_EQ(east.techLevel, (std::array<int, kTechCount>{1, 4, 1, 1, 1, 1, 2}));
  Run(L"Country.SetTechInvestment", {kEastmark, 0, 1});
  Run(L"Country.ChangeTechInvestment", {kEastmark, 0, 5});
  EXPECT_EQ(east.techInvestment[0], 3);
  Run(L"Country.ChangeTechInvestment", {kEastmark, 0, -5});
  EXPECT_EQ(east.techInvestment[0], 0);
  Run(L"Country.SetTechInvestment", {kEastmark, 3, 9});  // research would roll nine dice
  EXPECT_EQ(east.techInvestment[3], 0);
  EXPECT_EQ(ErrorLines(L"Country.SetTechInvestment"), 1);
  Run(L"Country.SetTechResearchProgress", {kEastmark, 4, 20});
  Run(L"Country.ChangeTechResearchProgress", {kEastmark, 4, -50});
  EXPECT_EQ(east.techProgress[4], 0);
}

TEST_F(CountryEffects, DoctrineMonthsMoveOnlyTheStagesToComeAndGrantWhatHasRunOut) {
  cCountry& west = Country(kWestland);  // human, doctrine level 1
  west.doctrineMonths = {0, 3, 5, 0, 2};
  Run(L"Country.ChangeMonthsToReachWarfareDoctrineLevel", {kWestland, 2});
  EXPECT_EQ(west.doctrineMonths, (std::array<int, 5>{0, 5, 7, 0, 4}));
  Run(L"Country.ChangeMonthsToReachWarfareDoctrineLevel", {kWestland, -4});
  EXPECT_EQ(west.doctrineMonths, (std::array<int, 5>{0, 1, 3, 0, 0}));
  EXPECT_EQ(west.techLevel[kTechDoctrine], 1);
  EXPECT_TRUE(World().eventManager.messages.empty());
  Run(L"Country.ChangeMonthsToReachWarfareDoctrineLevel", {kWestland, -1});
  EXPECT_EQ(west.techLevel[kTechDoctrine], 2);
  EXPECT_EQ(World().eventManager.messages.size(), 1u);
  // Every stage run out is granted at once.
  Run(L"Country.ChangeMonthsToReachWarfareDoctrineLevel", {kWestland, -10});
  EXPECT_EQ(west.techLevel[kTechDoctrine], 5);
}

TEST_F(CountryEffects, KillingAllUnitsOfAKindLeavesTheOthersAndOtherCountries) {
  Run(L"Country.KillAllLandUnits", {kWestland});
  const sUnitLists& units = World().Units();
  EXPECT_EQ(CountOf(units.landUnits, kWestland), 0);
  EXPECT_EQ(CountOf(units.carriedUnitsA, kWestland) + CountOf(units.carriedUnitsB, kWestland), 0);
  EXPECT_EQ(CountOf(units.airUnits, kWestland), 1);
  EXPECT_EQ(CountOf(units.landUnits, kEastmark), 2);
  EXPECT_EQ(CountOf(units.reservePool, kWestland), 1);
  Run(L"Country.KillAllUnitsInReserve", {kWestland});
  EXPECT_EQ(CountOf(units.reservePool, kWestland), 0);
  EXPECT_EQ(CountOf(units.reservePool, kEastmark), 1);
  Run(L"Country.KillAllAirUnits", {kWestland});
  EXPECT_EQ(CountOf(units.airUnits, kWestland), 0);
  Run(L"Country.KillAllNavalUnits", {kEastmark});
  EXPECT_EQ(CountOf(units.navalUnits, kEastmark), 0);
  EXPECT_EQ(CountOf(units.navalReservePool, kEastmark), 1);
  // The ship that carried Westland's marines went down with them.
  EXPECT_EQ(CountOf(units.navalUnits, kWestland), 2);
}

TEST_F(CountryEffects, TheNavyPassesWithItsFleetsCargoAndReserve) {
  Run(L"Country.ChangeOwnershipOfAllNavalUnits", {kWestland, kNeutralia});
  Run(L"Country.ChangeOwnershipOfAllNavalUnits", {kEastmark, kSouthia});
  const sUnitLists& units = World().Units();
  EXPECT_EQ(CountOf(units.navalUnits, kNeutralia), 3);
  EXPECT_EQ(CountOf(units.navalReservePool, kSouthia), 1);
  for (const cFleet* fleet : units.fleets) EXPECT_NE(fleet->country, kWestland);
  for (const cJednostkaMorska* ship : units.navalUnits) {
    if (ship->carriedUnit != nullptr) {
      EXPECT_EQ(ship->carriedUnit->countryId, kNeutralia);
    }
  }
  Run(L"Country.ChangeOwnershipOfAllNavalUnits", {kSouthia, 0});
  EXPECT_EQ(ErrorLines(L"Country.ChangeOwnershipOfAllNavalUnits"), 1);
  EXPECT_EQ(CountOf(units.navalReservePool, kSouthia), 1);
}

TEST_F(CountryEffects, FrozenUnitsAreHeldLongerOrReleased) {
  cJednostkaLadowa& frozen = Land(L"1st Infantry");
  cJednostkaLadowa& free = Land(L"2nd Armoured");
  frozen.freezeTime = 2;
  free.freezeTime = 0;
  Run(L"Country.SetFreezeLevelForAllFreezedUnits", {kWestland, 5});
  EXPECT_EQ(frozen.freezeTime, 5);
  EXPECT_EQ(free.freezeTime, 0);
  Run(L"Country.UnFreezeAllUnits", {kWestland});
  EXPECT_EQ(frozen.freezeTime, 0);
}

TEST_F(CountryEffects, EffectivityByOriginalOwnerAndSideAndTerritoryHandOver) {
  cJednostkaLadowa& guard = Land(L"Eastmark Guard");  // side 1 (Axis) on Eastmark's land
  const int before = guard.eventsEffect;
  Run(L"Country.ChangeEffectivityOfAllUnits", {kEastmark, 2, 10});  // the Allies' units only
  EXPECT_EQ(guard.eventsEffect, before);
  Run(L"Country.ChangeEffectivityOfAllUnits", {kEastmark, 1, 10});
  EXPECT_EQ(guard.eventsEffect, before + 10);
  Run(L"Country.ChangeEffectivityOfAllUnits", {kEastmark, 5, 10});
  EXPECT_EQ(ErrorLines(L"Country.ChangeEffectivityOfAllUnits"), 1);

  cJednostkaLadowa& militia = Land(L"Neutral Militia");  // on (4, 12)
  Run(L"Country.ChangeTerritoryControllerOwnerAndOriginalOwner", {kNeutralia, kEastmark});
  EXPECT_EQ(Hex(4, 12).controller, kEastmark);
  EXPECT_EQ(Hex(4, 12).owner, kEastmark);
  EXPECT_EQ(Hex(4, 12).originalOwner, kEastmark);
  EXPECT_TRUE(militia.inReserve);
}

TEST_F(CountryEffects, BadCountryIdsAreSkippedWithTheEventsErrorLine) {
  Run(L"Country.ChangeDiplomaticPoints", {9, 5});
  Run(L"Country.KillAllLandUnits", {0});
  Run(L"Country.SetSocialUnrest", {kEventUnsetParam, 5});
  EXPECT_TRUE(Logged(L"ERR: event 42, Country.ChangeDiplomaticPoints (line 7): no country with id 9"));
  EXPECT_EQ(ErrorLines(L"Country.KillAllLandUnits"), 1);
  EXPECT_EQ(ErrorLines(L"Country.SetSocialUnrest"), 1);
  EXPECT_EQ(CountOf(World().Units().landUnits, kWestland), 3);
}

TEST_F(CountryEffects, UnknownNamesAndOtherFamiliesNamesAreLeftAlone) {
  const std::size_t lines = LogLineCount();
  Run(L"Country.ChangeDiplomaticpoints", {kWestland, 5});
  EXPECT_EQ(LogLineCount(), lines);
  EXPECT_EQ(Country(kWestland).diplomaticPoints, 10);
  EXPECT_FALSE(RunCountryEffect(World(), Effect(L"Country.AddConvoy", {kWestland}), 42));
  EXPECT_FALSE(RunCountryEffect(World(), Effect(L"Flag.SetValue", {1, 1}), 42));
  EXPECT_TRUE(RunCountryEffect(World(), Effect(L"Country.SetActive", {kWestland, 1}), 42));
}

}  // namespace
}  // namespace twtest
