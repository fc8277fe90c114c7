// The alliance groups of the countries, the tests on them, the names they
// are shown under and the rules by which wars spread between them.
#include <cstdlib>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

// 0 Allies, 1 Axis, 2 Comintern; -1 for an unknown orientation.
int LeaningOf(int orientation) { return orientation >= 0 && orientation <= 5 ? orientation % 3 : -1; }

[[noreturn]] void EndWithText(const char* key, int code) {
  g_ConsoleLog.WriteLine(g_StringBase.GetText(key));
  FatalExit(code);
}

// The key, with "2" appended for the alternative form.
std::wstring TextOf(const char* key, bool alt) {
  std::string name(key);
  if (alt) name += '2';
  return g_StringBase.GetText(name);
}

const char* GroupKey(int group) {
  switch (group) {
    case 1:
      return "allies";
    case 2:
      return "axis";
    case 3:
      return "comintern";
    default:
      return "neutral_countries";
  }
}

// Sets war between a and b in both directions.
void SetWar(cRelationsMatrix& relations, int a, int b) {
  relations.SetAtWar(a, b, true);
  relations.SetAtWar(b, a, true);
}

// The new orientation of a country of orientation s under the influence of
// a country of orientation o: kAdjusted[o][s].
constexpr int kAdjusted[6][6] = {
    {0, 4, 5, 0, 3, 3}, {3, 1, 5, 4, 1, 4}, {3, 4, 2, 5, 5, 2},
    {3, 4, 5, 3, 3, 3}, {3, 4, 5, 4, 4, 4}, {3, 4, 5, 5, 5, 5},
};

}  // namespace

bool cCountry::IsInAlliance(int g) const {
  const int a = alliance;
  if (a == kNeutral) return false;
  return a == g || (g < 4 && a == g + 3) || (g >= 4 && a == g - 3);
}

bool cCountry::IsAlliedWith(int countryId) const {
  // Nobody (a hex without a controller) is allied with no one.
  if (countryId == 0) return false;
  const cCountry* other = world_ != nullptr ? world_->GetCountry(countryId) : nullptr;
  if (other == nullptr) {
    LogLine(L"ERROR: Country ID parameter was %i while checking alliance!", countryId);
    FatalExit(1);
  }
  const int group = GroupOf(alliance);
  return group != 0 && group == GroupOf(other->alliance);
}

bool cCountry::IsAtWarWith(int countryId) const {
  const cRelationsMatrix* relations = world_ != nullptr ? &world_->GetRelations() : nullptr;
  return relations != nullptr && relations->IsAtWar(id, countryId);
}

bool cCountry::IsAtWarWithAnyone() const {
  const cRelationsMatrix* relations = world_ != nullptr ? &world_->GetRelations() : nullptr;
  if (relations == nullptr) return false;
  for (int b = 1; b <= relations->GetCount(); ++b) {
    if (relations->IsAtWar(id, b)) return true;
  }
  return false;
}

bool cCountry::SharesOrientationWith(const cCountry& other) const {
  const int own = LeaningOf(orientation);
  return own >= 0 && own == LeaningOf(other.orientation);
}

bool cCountry::IsZoneOfInfluenceMatchingOrientation() const {
  const int leaning = LeaningOf(orientation);
  return zoneOfInfluence >= 1 && zoneOfInfluence <= 3 && leaning == zoneOfInfluence - 1;
}

void cCountry::AdjustOrientationTowards(const cCountry& other) {
  const int o = other.orientation;
  const int s = orientation;
  if (o < 0 || o > 5 || s < 0 || s > 5) return;
  orientation = kAdjusted[o][s];
}

void cCountry::FormatAllianceName(std::wstring& out, bool alt) const {
  out = TextOf(GroupKey(GroupOf(alliance)), alt);
}

void cCountry::FormatTargetAllianceName(std::wstring& out, bool alt) const {
  const int leaning = LeaningOf(orientation);
  out = leaning < 0 ? std::wstring(g_StringBase.GetText("hey,_error!")) : TextOf(GroupKey(leaning + 1), alt);
}

void cCountry::FormatOrientationName(std::wstring& out, bool alt) const {
  static constexpr const char* kKeys[3] = {"firm_democracy", "nationalist_regime", "communist_regime"};
  static constexpr const wchar_t* kLiterals[3] = {L"pro-allied", L"pro-axis", L"pro-communist"};
  static constexpr const wchar_t* kAltLiterals[3] = {L"Pro-allied", L"Pro-axis", L"Pro-communist"};
  if (orientation >= 0 && orientation <= 2) {
    out = TextOf(kKeys[orientation], alt);
  } else if (orientation >= 3 && orientation <= 5) {
    out = (alt ? kAltLiterals : kLiterals)[orientation - 3];
  }
}

void cCountry::FormatZoneOfInfluenceName(std::wstring& out, bool alt) const {
  static constexpr const char* kKeys[4] = {"none", "allied", "axis", "comintern"};
  if (zoneOfInfluence >= 0 && zoneOfInfluence <= 3) out = TextOf(kKeys[zoneOfInfluence], alt);
}

void cCountry::JoinAlliance(cWorld& world, int c) {
  allianceEntry = 100;
  alliance = c;
  LogLine(g_StringBase.GetText("%s_is_joining_alliance_%i"), name, c);

  cCountry* leader = nullptr;
  if (c >= 1 && c <= 3) {
    for (const auto& country : world.Countries()) {
      if (country->alliance == c + 3) leader = country.get();
    }
  }
  if (leader == nullptr) {
    LogLine(g_StringBase.GetText("cannot_find_leader_for_alliance_%i_while_trying_to_add_%s_to_that_alliance"), c + 3,
            name);
    FatalExit(1);
  }

  cRelationsMatrix& relations = world.GetRelations();
  const auto& countries = world.Countries();
  // The newcomer's wars become the alliance's.
  for (const auto& member : countries) {
    if (member->alliance != c && member->alliance != c + 3) continue;
    for (const auto& x : countries) {
      // A member the newcomer fights does not go to war with itself.
      if (x.get() == member.get()) continue;
      if (relations.IsAtWar(id, x->id) && !relations.IsAtWar(member->id, x->id)) {
        LogLine(L"own war %s-%s causes war %s-%s", name, x->name, member->name, x->name);
        SetWar(relations, member->id, x->id);
      }
    }
  }
  // The leader's wars become the newcomer's.
  for (const auto& x : countries) {
    if (relations.IsAtWar(leader->id, x->id) && !relations.IsAtWar(id, x->id)) {
      LogLine(L"leader's war %s-%s causes war %s-%s", leader->name, x->name, name, x->name);
      SetWar(relations, id, x->id);
    }
  }
}

void cCountry::DeclareWarOnAlliance(cWorld& world, int g) {
  LogLine(g_StringBase.GetText("%s_is_now_at_war_with_alliance_%i._wars_are_declared:"), name, g);
  cRelationsMatrix& relations = world.GetRelations();
  const int group = GroupOf(g);
  for (const auto& x : world.Countries()) {
    if (group == 0 || GroupOf(x->alliance) != group) continue;
    SetWar(relations, id, x->id);
    LogLine(L"%s - %s", name, x->name);
    LogLine(L"%s - %s", x->name, name);
  }
}

int cCountry::GetDeclareWarTableRow() const {
  if (alliance >= 1 && alliance <= 6) return 6 - alliance;
  if (alliance != kNeutral) EndWithText("error_in_returning_row_for_declare_war_table:_unknown_alliance", 1);
  switch (LeaningOf(orientation)) {
    case 2:
      return 6;
    case 1:
      return 7;
    case 0:
      return 8;
    default:
      EndWithText("error_in_returning_row_for_declare_war_table:_unknown_orientation", 1);
  }
}

int cCountry::GetDeclareWarTableColumn() const {
  if (alliance >= 4 && alliance <= 6) return 6 - alliance;
  switch (LeaningOf(orientation)) {
    case 2:
      return 3;
    case 1:
      return 4;
    case 0:
      return 5;
    default:
      EndWithText("error_in_returning_column_for_declare_war_table:_unknown_orientation", 1);
  }
}
