#include "rules/diplomacy.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/file_text.h"
#include "app/framework_lock.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// Dice counts are brought to at most 100 when "consts.csv" is read; a world
// built otherwise still never rolls more than this many dice at once.
constexpr int kMostDice = 1000;

template <class... A>
void Write(std::wstring& text, const char* key, const A&... args) {
  text = plat::Format(LangText(key), args...);
}

int Whole(double value) { return files::TruncateToInt(value); }

// 0 Allies, 1 Axis, 2 Comintern (orientations 0-5 only: the countries file
// refuses any other).
int LeaningOf(const cCountry& country) { return country.orientation % 3; }
bool InAlliance(const cCountry& country) { return country.alliance != kNeutral; }
bool IsLeader(const cCountry& country) { return country.alliance >= kAlliesLeader; }
bool IsMember(const cCountry& country) { return country.alliance >= kAllies && country.alliance <= kComintern; }

int Clamp100(int value) { return std::clamp(value, 0, 100); }

// The sum of draws of RandomRange(1, sides) made while the number of draws
// so far is below count (2 rolls twice, 2.5 three times, 0 or less never).
int RollWhileBelow(float count, float sides) {
  const int faces = Whole(sides);
  int sum = 0;
  for (int rolls = 0; static_cast<float>(rolls) < count && rolls < kMostDice; ++rolls) sum += RandomRange(1, faces);
  return sum;
}

int RollDiceOf(float count, float sides, float base) { return RollDice(Whole(count), Whole(sides), Whole(base)); }

cCountry& CountryOf(const cWorld& world, int id) { return *world.GetCountry(id); }

// The alliance's name for the once-joined texts of hastening.
const wchar_t* JoinedAllianceName(int leaning) {
  static constexpr const char* kKeys[3] = {"diplomacy_haste_war_entry_joined_alliance_name_allies",
                                           "diplomacy_haste_war_entry_joined_alliance_name_axis",
                                           "diplomacy_haste_war_entry_joined_alliance_name_comintern"};
  return LangText(kKeys[leaning]);
}

std::wstring LeanedAllianceName(const cCountry& country) {
  std::wstring name;
  country.FormatTargetAllianceName(name, false);
  return name;
}

std::wstring OrientationName(const cCountry& country) {
  std::wstring name;
  country.FormatOrientationName(name, false);
  return name;
}

}  // namespace

bool JoinLeanedAlliance(cWorld& world, cCountry& country) {
  const int alliance = LeaningOf(country) + 1;
  const bool led = std::any_of(world.Countries().begin(), world.Countries().end(),
                               [&](const auto& other) { return other->alliance == alliance + 3; });
  if (!led) {
    LogLine(L"%s cannot join alliance %i: the alliance has no leader in this game", country.name, alliance);
    country.allianceEntry = 100;
    return false;
  }
  country.JoinAlliance(world, alliance);
  return true;
}

namespace {

// Every country of the alliance of code `members` goes to war with every
// member of the alliance of code `enemies`.
void AllianceAtWarWithAlliance(cWorld& world, int members, int enemies) {
  const int group = (members - 1) % 3;
  for (const auto& country : world.Countries()) {
    if (InAlliance(*country) && (country->alliance - 1) % 3 == group) country->DeclareWarOnAlliance(world, enemies);
  }
}

void WarBothWays(cWorld& world, int a, int b) {
  world.GetRelations().SetAtWar(a, b, true);
  world.GetRelations().SetAtWar(b, a, true);
}

bool NotEnoughPoints(const cCountry& payer, int cost, std::wstring& text) {
  if (payer.diplomaticPoints >= cost) return false;
  Write(text, "diplomacy_not_enough_dp", cost, payer.diplomaticPoints);
  return true;
}

// The constants of a line by file column (column 2 is the first value).
float C91(const cWorld& w, int column) { return w.constants.diplomacyFactors91[static_cast<std::size_t>(column - 2)]; }
float C92(const cWorld& w, int column) { return w.constants.diplomacyFactors92[static_cast<std::size_t>(column - 2)]; }
float C93(const cWorld& w, int column) { return w.constants.diplomacyFactors93[static_cast<std::size_t>(column - 2)]; }
float C94(const cWorld& w, int column) { return w.constants.diplomacyFactors94[static_cast<std::size_t>(column - 2)]; }
float C113(const cWorld& w, int column) { return w.constants.diplomacyFactors113[static_cast<std::size_t>(column - 2)]; }
float C114(const cWorld& w, int column) { return w.constants.coupFactors[static_cast<std::size_t>(column - 2)]; }

// Line 91 or 92's factor for the country's orientation: column 2 for 0 or
// 3, column 3 for 4 or 5, column 4 for 1 or 2.
int EntryActionCost(const cCountry& country, float factor02, float factor45, float factor12) {
  const int o = country.orientation;
  const float factor = (o == 0 || o == 3) ? factor02 : (o == 4 || o == 5) ? factor45 : factor12;
  return std::max(1, Whole(static_cast<double>(country.politicalStrength) * factor));
}

}  // namespace

int RollDice(int count, int sides, int base) {
  if (count < 1) return base;
  int sum = base;
  for (int k = 0; k < std::min(count, kMostDice); ++k) sum += RandomRange(1, sides);
  return sum;
}

int GetDeclareWarCost(const cWorld& world, const cCountry& actor, const cCountry& target) {
  const auto row = static_cast<std::size_t>(actor.GetDeclareWarTableRow());
  const auto column = static_cast<std::size_t>(target.GetDeclareWarTableColumn());
  return world.constants.diplomacyTableA[row][column] * target.politicalStrength / 100;
}

int GetDeclareWarUnrest(const cWorld& world, const cCountry& actor, const cCountry& target) {
  const auto row = static_cast<std::size_t>(actor.GetDeclareWarTableRow());
  const auto column = static_cast<std::size_t>(target.GetDeclareWarTableColumn());
  return world.constants.diplomacyTableB[row][column];
}

int GetDelayAllianceEntryCost(const cWorld& world, const cCountry& country) {
  return EntryActionCost(country, C91(world, 2), C91(world, 3), C91(world, 4));
}

int GetHastenAllianceEntryCost(const cWorld& world, const cCountry& country) {
  return EntryActionCost(country, C92(world, 2), C92(world, 3), C92(world, 4));
}

int GetPressureCost(const cWorld& world, const cCountry& actor, const cCountry& target) {
  if (actor.SharesOrientationWith(target)) return target.politicalStrength;
  return Whole(static_cast<double>(target.politicalStrength) * C113(world, 7));
}

int GetPressureChance(const cWorld& world, const cCountry& actor, const cCountry& target) {
  if (actor.SharesOrientationWith(target)) return 100;
  const float factor = target.orientation <= 2 ? C113(world, 6) : C113(world, 5);
  return Whole(static_cast<double>(100 - target.politicalStrength) * factor);
}

int GetCoupCost(const cWorld& world, const cCountry& target) {
  return Whole(static_cast<double>(target.politicalStrength) * C114(world, 4));
}

int GetCoupChance(const cWorld& world, const cCountry& target) {
  const float factor = target.orientation <= 2 ? C114(world, 2) : C114(world, 3);
  return Whole(static_cast<double>(100 - target.politicalStrength) * factor);
}

bool CanDeclareWar(const cWorld& world, int actorId, int targetId, std::wstring& text) {
  const cCountry& a = CountryOf(world, actorId);
  const cCountry& b = CountryOf(world, targetId);
  if (a.IsAlliedWith(targetId)) {
    Write(text, "diplomacy_can_declare_war_not_on_ally");
    return false;
  }
  if (a.SharesOrientationWith(b)) {
    Write(text, "diplomacy_can_declare_war_similar_orientation");
    return false;
  }
  if (world.GetRelations().IsAtWar(actorId, targetId)) {
    Write(text, "diplomacy_can_declare_war_already_war_with_country", b.name);
    return false;
  }
  if (IsMember(b)) {
    Write(text, "diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader", b.name);
    return false;
  }
  const int cost = GetDeclareWarCost(world, a, b);
  if (NotEnoughPoints(a, cost, text)) return false;
  const int unrest = GetDeclareWarUnrest(world, a, b);
  if (!InAlliance(b) && b.IsZoneOfInfluenceMatchingOrientation()) {
    Write(text, "diplomacy_can_declare_war_on_country_social_unrest_increase_country_join_alliance", b.name, cost,
          unrest, b.name, LeanedAllianceName(b));
  } else {
    Write(text, "diplomacy_can_declare_war_on_country_social_unrest_increase", b.name, cost, unrest);
  }
  return true;
}

bool CanDelayAllianceEntry(const cWorld& world, int countryId, std::wstring& text) {
  const cCountry& c = CountryOf(world, countryId);
  if (InAlliance(c)) {
    Write(text, "diplomacy_country_already_in_alliance", c.name);
    return false;
  }
  if (c.allianceEntry <= 0) {
    Write(text, "diplomacy_alliance_already_at_minimum_level");
    return false;
  }
  if (c.doneDelayWarEntry) {
    Write(text, "diplomacy_delaying_alliance_entry_only_once_per_turn");
    return false;
  }
  const int cost = GetDelayAllianceEntryCost(world, c);
  if (NotEnoughPoints(c, cost, text)) return false;
  Write(text, "diplomacy_attempt_to_keep_away_from_joining_alliance", cost);
  return true;
}

bool CanHastenAllianceEntry(const cWorld& world, int countryId, std::wstring& text) {
  const cCountry& c = CountryOf(world, countryId);
  if (InAlliance(c)) {
    Write(text, "diplomacy_country_already_in_alliance", c.name);
    return false;
  }
  if (c.doneHasteWarEntry) {
    Write(text, "diplomacy_hasting_alliance_entry_only_once_per_turn");
    return false;
  }
  const int cost = GetHastenAllianceEntryCost(world, c);
  if (NotEnoughPoints(c, cost, text)) return false;
  Write(text, "diplomacy_attempt_to_bring_closer_to_alliance", cost);
  return true;
}

bool CanHoldElections(const cWorld& world, int countryId, std::wstring& text) {
  const cCountry& c = CountryOf(world, countryId);
  const char* refusal = nullptr;
  if (c.orientation == 1 || c.orientation == 2) {
    refusal = "diplomacy_elections_not_possible_in_regimes";
  } else if (c.doneParliamentaryElections) {
    refusal = "diplomacy_elections_only_once_per_game";
  } else if (c.IsAtWarWithAnyone()) {
    refusal = "diplomacy_elections_not_possible_during_war";
  } else if (InAlliance(c)) {
    refusal = "diplomacy_elections_not_possible_only_neutral";
  }
  if (refusal != nullptr) {
    Write(text, refusal);
    return false;
  }
  Write(text, c.orientation == 0 ? "diplomacy_elections_firm_democracies_only_to_weaker"
                                  : "diplomacy_elections_choose_winning_orientation");
  return true;
}

bool CanChangeOrientation(const cWorld& world, int countryId, std::wstring& text) {
  const cCountry& c = CountryOf(world, countryId);
  if (c.doneTurnInOrientation) {
    Write(text, "diplomacy_can_change_orientation_only_once_per_turn");
    return false;
  }
  if (NotEnoughPoints(c, c.politicalStrength, text)) return false;
  const char* refusal = nullptr;
  if (c.IsAtWarWithAnyone()) {
    refusal = "diplomacy_can_change_orientation_not_possible_during_war";
  } else if (InAlliance(c)) {
    refusal = "diplomacy_can_change_orientation_not_possible_in_alliance";
  } else if (c.socialUnrest >= 75.0f) {
    refusal = "diplomacy_can_change_orientation_not_possible_social_unrest";
  }
  if (refusal != nullptr) {
    Write(text, refusal);
    return false;
  }
  return true;
}

bool CanExertPressure(const cWorld& world, int actorId, int targetId, std::wstring& text) {
  const cCountry& a = CountryOf(world, actorId);
  const cCountry& b = CountryOf(world, targetId);
  if (InAlliance(b)) {
    Write(text, "diplomacy_can_extern_pressure_country_already_in_alliance", b.name);
    return false;
  }
  static constexpr const char* kOncePerTurn[3] = {"diplomacy_can_exert_pressure_only_once_per_turn_note_allies",
                                                  "diplomacy_can_exert_pressure_only_once_per_turn_note_axis",
                                                  "diplomacy_can_exert_pressure_only_once_per_turn_note_comintern"};
  const bool pressured[3] = {b.doneExertPressureAllied, b.doneExertPressureAxis, b.doneExertPressureComintern};
  const int leaning = LeaningOf(a);
  if (pressured[leaning]) {
    Write(text, kOncePerTurn[leaning], b.name);
    return false;
  }
  const int cost = GetPressureCost(world, a, b);
  if (NotEnoughPoints(a, cost, text)) return false;
  if (a.SharesOrientationWith(b)) {
    Write(text, "diplomacy_can_exert_pressure_hasten_alliance_entry_of_country_cost", b.name, cost);
  } else {
    Write(text, "diplomacy_can_exert_pressure_decrease_alliance_entry_of_country_cost_chance", b.name, cost,
          GetPressureChance(world, a, b));
  }
  return true;
}

bool CanStageCoup(const cWorld& world, int actorId, int targetId, std::wstring& text) {
  const cCountry& a = CountryOf(world, actorId);
  const cCountry& b = CountryOf(world, targetId);
  if (InAlliance(b)) {
    Write(text, "diplomacy_can_coup_detat_only_in_neutral");
    return false;
  }
  if (b.IsAtWarWithAnyone()) {
    Write(text, "diplomacy_can_coup_detat_only_in_countries_not_at_war");
    return false;
  }
  if (a.orientation == b.orientation) {
    Write(text, "diplomacy_can_coup_detat_same_orientation_of_country", b.name);
    return false;
  }
  const int cost = GetCoupCost(world, b);
  if (NotEnoughPoints(a, cost, text)) return false;
  Write(text, "diplomacy_can_coup_detat_try_to_stage_in_country_cost_chance", b.name, GetCoupChance(world, b), cost);
  return true;
}

int DeclareWar(cWorld& world, int actorId, int targetId, bool pay) {
  const cFrameworkLockGuard lock;
  std::wstring refusal;
  if (pay && !CanDeclareWar(world, actorId, targetId, refusal)) {
    LogLine(L"Declaration of war refused: %s", refusal);
    return 0;
  }
  cCountry& a = CountryOf(world, actorId);
  cCountry& b = CountryOf(world, targetId);
  if (pay) {
    a.AddDiplomaticPoints(-GetDeclareWarCost(world, a, b));
    a.AddSocialUnrest(static_cast<float>(GetDeclareWarUnrest(world, a, b)));
  }
  int outcome = 0;
  const bool leansHome = b.IsZoneOfInfluenceMatchingOrientation();
  if (!InAlliance(a)) {
    if (IsLeader(b)) {
      a.DeclareWarOnAlliance(world, b.alliance);
      outcome = 3;
    } else {
      WarBothWays(world, actorId, targetId);
      outcome = leansHome && JoinLeanedAlliance(world, b) ? 2 : 1;
    }
  } else if (IsLeader(b)) {
    WarBothWays(world, actorId, targetId);
    AllianceAtWarWithAlliance(world, b.alliance, a.alliance);
    outcome = 6;
  } else if (leansHome) {
    WarBothWays(world, actorId, targetId);
    if (JoinLeanedAlliance(world, b)) {
      AllianceAtWarWithAlliance(world, b.alliance, a.alliance);
      outcome = 5;
    } else {
      b.DeclareWarOnAlliance(world, a.alliance);
      outcome = 4;
    }
  } else {
    b.DeclareWarOnAlliance(world, a.alliance);
    outcome = 4;
  }
  LogLine(L"%s declares war on %s (CASE %i)", a.name, b.name, outcome);
  return outcome;
}

bool DelayAllianceEntry(cWorld& world, int countryId, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanDelayAllianceEntry(world, countryId, text)) return false;
  cCountry& c = CountryOf(world, countryId);
  c.AddDiplomaticPoints(-GetDelayAllianceEntryCost(world, c));
  c.doneDelayWarEntry = true;
  const int sum = RollWhileBelow(C91(world, 5), C91(world, 6));
  const int before = c.allianceEntry;
  c.allianceEntry = Clamp100(before - Whole(static_cast<double>(sum) + C91(world, 7)));
  Write(text, "diplomacy_country_delay_alliance_entry", c.name, before, c.allianceEntry);
  return true;
}

bool HastenAllianceEntry(cWorld& world, int countryId, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanHastenAllianceEntry(world, countryId, text)) return false;
  cCountry& c = CountryOf(world, countryId);
  c.AddDiplomaticPoints(-GetHastenAllianceEntryCost(world, c));
  c.doneHasteWarEntry = true;
  const int before = c.allianceEntry;
  c.allianceEntry = Clamp100(before + RollDiceOf(C92(world, 5), C92(world, 6), C92(world, 7)));
  if (c.allianceEntry >= 100 && JoinLeanedAlliance(world, c)) {
    Write(text, "diplomacy_haste_war_entry_country_join_alliance", c.name, JoinedAllianceName(LeaningOf(c)));
  } else {
    Write(text, "diplomacy_haste_war_entry_country_increase_alliance_entry", c.name, before, c.allianceEntry);
  }
  return true;
}

bool HoldElections(cWorld& world, int countryId, int newOrientation, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanHoldElections(world, countryId, text)) return false;
  cCountry& c = CountryOf(world, countryId);
  c.doneParliamentaryElections = true;
  const int drop = RollDiceOf(C93(world, 2), C93(world, 3), C93(world, 4));
  const int old = c.orientation;
  const int before = c.allianceEntry;
  auto dropTo = [&](int orientation, const char* key) {
    c.allianceEntry = Clamp100(before - drop);
    c.orientation = orientation;
    Write(text, key, c.name, before, c.allianceEntry);
  };
  switch (newOrientation) {
    case 0:
    case 1:
    case 2:
      c.orientation = newOrientation;
      Write(text, "diplomacy_elections_in_country_country_becomes_orientation", c.name, c.name, OrientationName(c));
      break;
    case 3:
      if (old == 4 || old == 5) {
        dropTo(3, "diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped");
      } else {
        c.orientation = 3;
        Write(text, "diplomacy_elections_in_country_orientation_changed_to_pro_allied", c.name);
      }
      break;
    case 4:
      if (old == 3 || old == 5) {
        dropTo(4, "diplomacy_elections_in_country_orientation_changed_to_pro_axis_alliance_entry_dropped");
      } else {
        c.orientation = 4;
        Write(text, "diplomacy_elections_in_country_orientation_changed_to_pro_axis_report_bug", c.name);
      }
      break;
    case 5:
      if (old == 3 || old == 4) {
        dropTo(5, "diplomacy_elections_in_country_orientation_changed_to_pro_communist_alliance_entry_dropped");
      } else {
        c.orientation = 5;
        Write(text, "diplomacy_elections_in_country_orientation_changed_to_pro_communist_report_bug", c.name);
      }
      break;
    default:
      // An unknown choice holds the elections without a result.
      LogLine(L"Elections in %s: orientation %i unknown, nothing changes", c.name, newOrientation);
      text.clear();
      break;
  }
  return true;
}

bool ChangeOrientation(cWorld& world, int countryId, int newOrientation, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanChangeOrientation(world, countryId, text)) return false;
  cCountry& c = CountryOf(world, countryId);
  const int a = RollDiceOf(C94(world, 2), C94(world, 3), C94(world, 4));
  const int b = RollDiceOf(C94(world, 5), C94(world, 6), C94(world, 7));
  const int d = RollDiceOf(C94(world, 8), C94(world, 9), C94(world, 10));
  c.AddDiplomaticPoints(-c.politicalStrength);
  c.doneTurnInOrientation = true;
  const int old = c.orientation;
  const double unrestBefore = c.socialUnrest;
  const int entryBefore = c.allianceEntry;
  // A regime becomes its own "pro" orientation, a "pro" country its regime:
  // both raise the unrest by D.
  static constexpr const char* kToward[6] = {
      "diplomacy_change_orientation_to_pro_allied",        "diplomacy_change_orientation_to_pro_axis",
      "diplomacy_change_orientation_to_pro_communist",     "diplomacy_change_orientation_to_firm_democracy",
      "diplomacy_change_orientation_to_nationalist_regime", "diplomacy_change_orientation_to_communist_regime"};
  if (old <= 2 || (old >= 3 && old <= 5 && newOrientation == old - 3)) {
    c.orientation = old <= 2 ? old + 3 : old - 3;
    c.AddSocialUnrest(static_cast<float>(d));
    Write(text, kToward[old], c.name, unrestBefore, static_cast<double>(c.socialUnrest));
    return true;
  }
  if (old > 5 || newOrientation < 0 || newOrientation > 5) {
    text.clear();
    return true;
  }
  c.orientation = newOrientation;
  c.AddSocialUnrest(static_cast<float>(b));
  c.allianceEntry = Clamp100(entryBefore - a);
  Write(text, "diplomacy_change_orientation_to_other_then_pro_orientation", c.name, OrientationName(c), unrestBefore,
        static_cast<double>(c.socialUnrest), entryBefore, c.allianceEntry);
  return true;
}

bool ExertPressure(cWorld& world, int actorId, int targetId, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanExertPressure(world, actorId, targetId, text)) return false;
  cCountry& a = CountryOf(world, actorId);
  cCountry& b = CountryOf(world, targetId);
  a.AddDiplomaticPoints(-GetPressureCost(world, a, b));
  switch (LeaningOf(a)) {
    case 0: b.doneExertPressureAllied = true; break;
    case 1: b.doneExertPressureAxis = true; break;
    default: b.doneExertPressureComintern = true; break;
  }
  if (RandomRange(1, 100) > GetPressureChance(world, a, b)) {
    Write(text, "diplomacy_exert_pressure_country_tries_to_exert_pressure_on_country_but_fails", a.name, b.name);
    return true;
  }
  const int n = RollDiceOf(C113(world, 2), C113(world, 3), C113(world, 4));
  const int before = b.allianceEntry;
  b.allianceEntry = Clamp100(a.SharesOrientationWith(b) ? before + n : before - n);
  if (b.allianceEntry >= 100 && JoinLeanedAlliance(world, b)) {
    Write(text, "diplomacy_exert_pressure_country_joins_alliance_pressure_from_country", b.name,
          LeanedAllianceName(b), a.name);
  } else {
    Write(text, "diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country", b.name, before,
          b.allianceEntry, a.name);
  }
  return true;
}

bool StageCoup(cWorld& world, int actorId, int targetId, std::wstring& text) {
  const cFrameworkLockGuard lock;
  if (!CanStageCoup(world, actorId, targetId, text)) return false;
  cCountry& a = CountryOf(world, actorId);
  cCountry& b = CountryOf(world, targetId);
  a.AddDiplomaticPoints(-GetCoupCost(world, b));
  const int roll = RandomRange(1, 100);
  const int before = b.allianceEntry;
  if (roll > GetCoupChance(world, b)) {
    const bool shared = a.SharesOrientationWith(b);
    if (!shared) {
      const int rise = Whole(static_cast<double>(RollWhileBelow(C114(world, 7), C114(world, 8))) + C114(world, 9));
      b.allianceEntry = Clamp100(before + rise);
    }
    const int strengthBefore = b.politicalStrength;
    b.politicalStrength = Clamp100(strengthBefore + Whole(C114(world, 5)));
    const int increase = b.politicalStrength - strengthBefore;
    if (b.allianceEntry >= 100 && JoinLeanedAlliance(world, b)) {
      Write(text, "diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_country_joins_alliance",
            b.name, b.name, increase, b.name, LeanedAllianceName(b));
    } else if (shared) {
      Write(text, "diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased", b.name, b.name,
            increase);
    } else {
      Write(text,
            "diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_alliance_entry_increased",
            b.name, b.name, increase, before, b.allianceEntry);
    }
    return true;
  }
  const std::wstring oldName = OrientationName(b);
  b.AdjustOrientationTowards(a);
  const int drop = Whole(static_cast<double>(RollWhileBelow(C114(world, 10), C114(world, 11))) + C114(world, 12));
  b.allianceEntry = Clamp100(before - drop);
  Write(text, "diplomacy_coup_detat_in_country_orientation_changed_alliance_entry_dropped", b.name, oldName,
        OrientationName(b), before, b.allianceEntry);
  return true;
}
