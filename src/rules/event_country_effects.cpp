// The scripted events' effects on one country: its points, political
// standing, alliance entry, war and peace, technology and land warfare
// doctrine, weather and upkeep modifiers, and the effects on all its units
// at once. Every effect names its country by the id in param0. A script may
// give any number: ids and indexes are checked (rules/event_params.h), and
// an effect with a bad one is skipped after its "ERR:" line; sums of whole
// numbers stop at the int range instead of overflowing.
#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/format.h"
#include "rules/country_operations.h"
#include "rules/country_reports.h"
#include "rules/diplomacy.h"
#include "rules/event_effects.h"
#include "rules/event_map_effects.h"
#include "rules/event_params.h"
#include "rules/hex_control.h"
#include "rules/research.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/world.h"

namespace {

// The part of amount that current can take without leaving the int range.
int BoundedAmount(int current, int amount) {
  return static_cast<int>(static_cast<std::int64_t>(SaturatedSum(current, amount)) - current);
}

// One effect being run on the country its param0 names.
struct sCountryRun {
  cWorld& world;
  const sEventEffect& effect;
  const sEventCall& call;
  cCountry& country;

  double P(int i) const { return effect.param[static_cast<std::size_t>(i)]; }
  int I(int i) const { return EventInt(P(i)); }
  float F(int i) const { return ToFloat(P(i)); }
  void Message(std::wstring text) const { world.eventManager.messages.push_back(std::move(text)); }
};

using CountryEffect = void (*)(sCountryRun&);

// The alliance entry has reached 100: the country joins the alliance its
// orientation leans to, and the players are told. A country already in an
// alliance stays where it is: a member would change sides, and a leader
// joining would take the lead from its own alliance. An alliance without a
// leader has nobody to join.
void JoinOnFullEntry(sCountryRun& r) {
  cCountry& c = r.country;
  if (c.alliance != kNeutral) return;
  std::wstring allianceName;
  c.FormatTargetAllianceName(allianceName, false);
  const std::wstring text =
      L"Alliance entry level in " + c.name + L" reaches 100%% and " + c.name + L" joins " + allianceName;
  if (JoinLeanedAlliance(r.world, c)) r.Message(text);
}

// The index of a technology in param1, or -1 after the error line.
int TechIndex(const sCountryRun& r) { return EventIndex(r.P(1), kTechCount, r.call); }

// True when value lies in lo..hi; otherwise false after the error line.
bool InRange(const sCountryRun& r, const wchar_t* what, int value, int lo, int hi) {
  if (value >= lo && value <= hi) return true;
  LogEventError(r.call, plat::Format(L"%s %i outside %i..%i", std::wstring(what), value, lo, hi));
  return false;
}

void DeclareWarOnCountry(sCountryRun& r) {
  cCountry* target = EventCountry(r.world, r.P(1), r.call);
  if (target == nullptr) return;
  cCountry& attacker = r.country;
  const wchar_t* reason = nullptr;
  if (target == &attacker) {
    reason = L"a country cannot declare war on itself";
  } else if (attacker.IsAlliedWith(target->id)) {
    reason = L"the two countries are allies";
  } else if (r.world.GetRelations().IsAtWar(attacker.id, target->id)) {
    reason = L"the two countries are at war already";
  }
  if (reason != nullptr) {
    const std::wstring problem =
        plat::Format(L"%s cannot declare war on %s: %s", attacker.name, target->name, std::wstring(reason));
    LogEventError(r.call, problem);
    r.Message(plat::Format(L"Warning: event %i (line %i): %s", r.call.eventId, r.call.line, problem));
    return;
  }
  DeclareWar(r.world, attacker.id, target->id, false);
  r.Message(plat::Format(L"%s declares war on %s!", attacker.name, target->name));
}

// Each doctrine stage's months: a rise lengthens only the stages still to
// come (counters above 0), a cut shortens every stage down to 0; then every
// level whose months have run out is granted.
void ChangeMonthsToReachWarfareDoctrineLevel(sCountryRun& r) {
  const int months = r.I(1);
  for (int& counter : r.country.doctrineMonths) {
    if (months >= 0) {
      if (counter > 0) counter = SaturatedSum(counter, months);
    } else {
      counter = std::max(0, SaturatedSum(counter, months));
    }
  }
  std::vector<std::wstring> reached;
  while (RaiseDoctrineIfStageDone(r.country, reached)) {
  }
  for (std::wstring& text : reached) r.Message(std::move(text));
}

const std::unordered_map<std::wstring_view, CountryEffect>& CountryEffects() {
  static const std::unordered_map<std::wstring_view, CountryEffect> effects = {
      // --- points (the information bar follows through the country's adders) ---
      {L"Country.ChangeDiplomaticPoints",
       [](sCountryRun& r) { r.country.AddDiplomaticPoints(BoundedAmount(r.country.diplomaticPoints, r.I(1))); }},
      // Adds as well: the stored scenarios are written for that.
      {L"Country.SetDiplomaticPoints",
       [](sCountryRun& r) { r.country.AddDiplomaticPoints(BoundedAmount(r.country.diplomaticPoints, r.I(1))); }},
      {L"Country.ChangeProductionPoints", [](sCountryRun& r) { r.country.AddProductionPoints(r.P(1)); }},
      {L"Country.SetProductionPoints", [](sCountryRun& r) { r.country.AddProductionPoints(r.P(1)); }},
      {L"Country.ChangeSTP",
       [](sCountryRun& r) { r.country.AddSeaTransportPoints(BoundedAmount(r.country.seaTransportPoints, r.I(1))); }},
      {L"Country.ChangeAIP",
       [](sCountryRun& r) {
         r.country.AddAmphibiousInvasionPoints(BoundedAmount(r.country.amphibiousInvasionPoints, r.I(1)));
       }},
      {L"Country.ChangeSMP",
       [](sCountryRun& r) {
         r.country.AddStrategicMovementPoints(BoundedAmount(r.country.strategicMovementPoints, r.I(1)));
         if (r.country.strategicMovementPoints < 0) r.country.strategicMovementPoints = 0;
       }},
      // --- political standing ---
      {L"Country.ChangePoliticalStrength",
       [](sCountryRun& r) {
         r.country.politicalStrength = std::clamp(SaturatedSum(r.country.politicalStrength, r.I(1)), 0, 100);
       }},
      {L"Country.SetPoliticalStrength", [](sCountryRun& r) { r.country.politicalStrength = r.I(1); }},
      {L"Country.ChangeAllianceEntry",
       [](sCountryRun& r) {
         int& entry = r.country.allianceEntry;
         entry = std::max(0, SaturatedSum(entry, r.I(1)));
         if (entry >= 100) {
           entry = 100;
           JoinOnFullEntry(r);
         }
       }},
      {L"Country.SetAllianceEntry",
       [](sCountryRun& r) {
         r.country.allianceEntry = r.I(1);
         if (r.country.allianceEntry >= 100) JoinOnFullEntry(r);
       }},
      {L"Country.ChangeSocialUnrest", [](sCountryRun& r) { r.country.AddSocialUnrest(r.F(1)); }},
      {L"Country.SetSocialUnrest", [](sCountryRun& r) { r.country.socialUnrest = std::clamp(r.F(1), 0.0f, 100.0f); }},
      {L"Country.ChangeWarEconomy",
       [](sCountryRun& r) { r.country.warEconomy = ToFloat(static_cast<double>(r.country.warEconomy) + r.P(1)); }},
      {L"Country.SetWarEconomy", [](sCountryRun& r) { r.country.warEconomy = r.F(1); }},
      // The alliances and the diplomacy tables know orientations 0-5 and
      // zones of influence 0-3 only.
      {L"Country.SetOrientation",
       [](sCountryRun& r) {
         if (InRange(r, L"orientation", r.I(1), 0, 5)) r.country.orientation = r.I(1);
       }},
      {L"Country.SetZoneOfInfluence",
       [](sCountryRun& r) {
         if (InRange(r, L"zone of influence", r.I(1), 0, 3)) r.country.zoneOfInfluence = r.I(1);
       }},
      {L"Country.SetActive", [](sCountryRun& r) { r.country.active = r.P(1) != 0.0; }},
      // --- war and peace ---
      {L"Country.DeclareWarOnCountry", DeclareWarOnCountry},
      {L"Country.MakePeace", [](sCountryRun& r) { MakePeaceWithAll(r.world, r.country.id, r.I(1) == 1); }},
      // --- technology ---
      {L"Country.SetTechLevel",
       [](sCountryRun& r) {
         if (const int tech = TechIndex(r); tech >= 0) r.country.techLevel[tech] = r.I(2);
       }},
      {L"Country.ChangeTechLevel",
       [](sCountryRun& r) {
         if (const int tech = TechIndex(r); tech >= 0) {
           r.country.techLevel[tech] = SaturatedSum(r.country.techLevel[tech], r.I(2));
         }
       }},
      // Research rolls one die per point of investment: only 0-3 is valid.
      {L"Country.SetTechInvestment",
       [](sCountryRun& r) {
         const int tech = TechIndex(r);
         if (tech >= 0 && InRange(r, L"investment", r.I(2), 0, kMaxResearchInvestment)) {
           r.country.techInvestment[tech] = r.I(2);
         }
       }},
      {L"Country.SetTechResearchProgress",
       [](sCountryRun& r) {
         if (const int tech = TechIndex(r); tech >= 0) r.country.techProgress[tech] = r.I(2);
       }},
      {L"Country.ChangeTechInvestment",
       [](sCountryRun& r) {
         if (const int tech = TechIndex(r); tech >= 0) {
           int& investment = r.country.techInvestment[tech];
           investment = std::clamp(SaturatedSum(investment, r.I(2)), 0, kMaxResearchInvestment);
         }
       }},
      {L"Country.ChangeTechResearchProgress",
       [](sCountryRun& r) {
         if (const int tech = TechIndex(r); tech >= 0) {
           int& progress = r.country.techProgress[tech];
           progress = std::max(0, SaturatedSum(progress, r.I(2)));
         }
       }},
      {L"Country.ChangeMonthsToReachWarfareDoctrineLevel", ChangeMonthsToReachWarfareDoctrineLevel},
      // --- weather and upkeep modifiers ---
      {L"Country.SetWinterBattle", [](sCountryRun& r) { r.country.winterBattle = r.F(1); }},
      {L"Country.SetWinterMove", [](sCountryRun& r) { r.country.winterMove = r.F(1); }},
      {L"Country.SetMudBattle", [](sCountryRun& r) { r.country.mudBattle = r.F(1); }},
      {L"Country.SetMudMove", [](sCountryRun& r) { r.country.mudMove = r.F(1); }},
      {L"Country.SetUpkeepCost", [](sCountryRun& r) { r.country.unitUpkeepModifier = r.F(1); }},
      {L"Country.ChangeUpkeepCost",
       [](sCountryRun& r) {
         r.country.unitUpkeepModifier = ToFloat(static_cast<double>(r.country.unitUpkeepModifier) + r.P(1));
       }},
      // --- all the country's units ---
      {L"Country.KillAllLandUnits", [](sCountryRun& r) { KillAllLandUnits(r.world, r.country.id); }},
      {L"Country.KillAllAirUnits", [](sCountryRun& r) { KillAllAirUnits(r.world, r.country.id); }},
      {L"Country.KillAllNavalUnits", [](sCountryRun& r) { KillAllNavalUnits(r.world, r.country.id); }},
      {L"Country.KillAllUnitsInReserve", [](sCountryRun& r) { r.world.RemoveCountryReserveUnits(r.country.id); }},
      {L"Country.ChangeOwnershipOfAllNavalUnits",
       [](sCountryRun& r) {
         if (const cCountry* to = EventCountry(r.world, r.P(1), r.call)) {
           ChangeOwnershipOfAllNavalUnits(r.world, r.country.id, to->id);
         }
       }},
      {L"Country.UnFreezeAllUnits", [](sCountryRun& r) { UnFreezeAllUnits(r.world, r.country.id); }},
      {L"Country.SetFreezeLevelForAllFreezedUnits",
       [](sCountryRun& r) { SetFreezeLevelForAllFreezedUnits(r.world, r.country.id, r.I(1)); }},
      // Sides: 1 Axis, 2 Allies, 3 Comintern, 4 the others.
      {L"Country.ChangeEffectivityOfAllUnits",
       [](sCountryRun& r) {
         if (InRange(r, L"side", r.I(1), 1, 4)) AddEventEffectInCountry(r.world, r.country.id, r.I(1), r.I(2));
       }},
      {L"Country.ChangeTerritoryControllerOwnerAndOriginalOwner",
       [](sCountryRun& r) {
         if (const cCountry* to = EventCountry(r.world, r.P(1), r.call)) {
           TransferCountryTerritory(r.world, r.country.id, to->id);
           ShowMapChange(true);
         }
       }},
  };
  return effects;
}

}  // namespace

bool RunCountryEffect(cWorld& world, const sEventEffect& effect, int eventId) {
  const auto& effects = CountryEffects();
  const auto found = effects.find(effect.method);
  if (found == effects.end()) return false;
  const sEventCall call{eventId, effect.method, effect.line};
  if (cCountry* country = EventCountry(world, effect.param[0], call)) {
    sCountryRun run{world, effect, call, *country};
    found->second(run);
  }
  return true;
}
