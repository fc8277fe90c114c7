// The order of countries within an impulse and the search for the next
// human player.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "world/turn_state.h"
#include "support/test_support.h"
#include "world/country.h"

namespace {

struct sCountryRow {
  const wchar_t* name;
  int alliance;
  int strength;
  bool human = false;
  bool finished = false;
  bool active = true;
};

std::vector<std::unique_ptr<cCountry>> MakeCountries(const std::vector<sCountryRow>& rows) {
  std::vector<std::unique_ptr<cCountry>> countries;
  for (const sCountryRow& row : rows) {
    auto country = std::make_unique<cCountry>();
    country->id = static_cast<int>(countries.size()) + 1;
    country->name = row.name;
    country->alliance = row.alliance;
    country->politicalStrength = row.strength;
    country->human = row.human;
    country->finishedTurn = row.finished;
    country->active = row.active;
    countries.push_back(std::move(country));
  }
  return countries;
}

// Picks until the impulse is over, finishing each pick's turn: the names in
// the order they move.
std::vector<std::wstring> OrderOfMoves(const std::vector<std::unique_ptr<cCountry>>& countries) {
  std::vector<std::wstring> order;
  for (std::size_t guard = 0; guard <= countries.size(); ++guard) {
    cCountry* next = PickCurrentCountry(countries);
    if (next == nullptr) return order;
    order.push_back(next->name);
    next->finishedTurn = true;
  }
  ADD_FAILURE() << "the impulse never ended";
  return order;
}

struct sOrderCase {
  const char* what;
  std::vector<sCountryRow> countries;
  std::vector<std::wstring> order;
};

TEST(TurnOrder, CountriesMoveByAllianceThenStrength) {
  const std::vector<sOrderCase> cases = {
      {"groups in order, strongest first, members and leaders together",
       {{L"Neutral", kNeutral, 200},
        {L"Allied", kAllies, 100},
        {L"AxisLeader", kAxisLeader, 80},
        {L"Red", kCominternLeader, 70},
        {L"AxisMember", kAxis, 90},
        {L"AlliedLeader", kAlliesLeader, 120},
        {L"RedMember", kComintern, 75}},
       {L"AxisMember", L"AxisLeader", L"AlliedLeader", L"Allied", L"RedMember", L"Red", L"Neutral"}},
      {"equal strengths keep the order of the countries",
       {{L"First", kAxis, 50}, {L"Second", kAxisLeader, 50}, {L"Third", kAxis, 50}},
       {L"First", L"Second", L"Third"}},
      {"-5 or less never moves, -1 moves last in its group",
       {{L"Dummy", kAxis, -1},
        {L"Weak", kAxis, 0},
        {L"Never", kAxis, -5},
        {L"Below", kAxis, -9},
        {L"Strong", kAxis, 10},
        {L"Allied", kAllies, -1}},
       {L"Strong", L"Weak", L"Dummy", L"Allied"}},
      {"inactive, finished and unknown alliances are passed",
       {{L"Gone", kAxis, 90, false, false, false},
        {L"Done", kAllies, 90, false, true},
        {L"Odd", 7, 90},
        {L"Neutral", kNeutral, 1}},
       {L"Neutral"}},
      {"an empty list ends the impulse at once", {}, {}},
  };
  for (const sOrderCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto countries = MakeCountries(c.countries);
    EXPECT_EQ(OrderOfMoves(countries), c.order);
  }
}

struct sHumanCase {
  const char* what;
  std::vector<sCountryRow> countries;
  int current;  // index into countries, -1 for none
  const wchar_t* expected;  // null for none
};

TEST(TurnOrder, NextHumanCountry) {
  const std::vector<sHumanCase> cases = {
      {"an unfinished Axis human before an unfinished Allied one, whoever is current",
       {{L"Allied", kAllies, 100, true}, {L"Axis", kAxis, 1, true}},
       0,
       L"Axis"},
      {"the strongest unfinished human of the first group that has one",
       {{L"Axis", kAxis, 90, true, true},
        {L"Computer", kAllies, 99},
        {L"AlliedWeak", kAllies, 10, true},
        {L"AlliedStrong", kAlliesLeader, 20, true},
        {L"Red", kComintern, 50, true}},
       0,
       L"AlliedStrong"},
      {"everyone finished: the next human after the current one in the order of moves",
       {{L"Neutral", kNeutral, 5, true, true},
        {L"Allied", kAllies, 5, true, true},
        {L"Axis", kAxis, 5, true, true},
        {L"Red", kComintern, 5, false, true}},
       1,
       L"Neutral"},
      {"everyone finished: past the last one it starts again from the first",
       {{L"Neutral", kNeutral, 5, true, true},
        {L"Allied", kAllies, 5, true, true},
        {L"Axis", kAxis, 5, true, true}},
       0,
       L"Axis"},
      {"a single finished human has nobody to hand over to",
       {{L"Only", kAxis, 5, true, true}, {L"Computer", kAllies, 5}},
       0,
       nullptr},
      {"inactive humans are never chosen",
       {{L"Gone", kAxis, 90, true, false, false}, {L"Here", kNeutral, 1, true, true}},
       -1,
       L"Here"},
      {"no human at all", {{L"A", kAxis, 5}, {L"B", kNeutral, 5}}, 0, nullptr},
  };
  for (const sHumanCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto countries = MakeCountries(c.countries);
    cTurnState turn;
    turn.currentCountry = c.current >= 0 ? countries[c.current].get() : nullptr;
    cCountry* next = turn.FindNextHumanCountry(countries);
    if (c.expected == nullptr) {
      EXPECT_EQ(next, nullptr);
    } else {
      ASSERT_NE(next, nullptr);
      EXPECT_EQ(next->name, c.expected);
    }
  }
}

TEST(TurnOrder, ActionsOfAllianceCountriesAreHiddenWhenTheSettingIsOff) {
  auto countries = MakeCountries({{L"Axis", kAxisLeader, 1}, {L"Neutral", kNeutral, 1}});
  const bool saved = g_Settings.ShowAlliesActions;
  cTurnState turn;
  g_Settings.ShowAlliesActions = false;
  turn.SetCurrentCountry(countries[0].get());
  EXPECT_FALSE(turn.showActions);
  EXPECT_EQ(turn.CurrentCountryId(), 1);
  turn.SetCurrentCountry(countries[1].get());
  EXPECT_TRUE(turn.showActions);
  g_Settings.ShowAlliesActions = true;
  turn.SetCurrentCountry(countries[0].get());
  EXPECT_TRUE(turn.showActions);
  turn.SetCurrentCountry(nullptr);
  EXPECT_EQ(turn.CurrentCountryId(), 0);
  g_Settings.ShowAlliesActions = saved;
}

}  // namespace
