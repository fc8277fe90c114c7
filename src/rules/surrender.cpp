// Surrender: a country that has lost all its own cities leaves the war and
// its land passes to the victor; a leader that surrenders hands the lead of
// its alliance to the strongest member left, or the alliance ends.
#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/country_reports.h"
#include "rules/end_impulse.h"
#include "rules/hex_control.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/world.h"
#include "world/worker_steps.h"

namespace {


struct sVictorShare {
  int countryId;
  float share;
};

// The country's forces leave the game: land units on the map, then those
// carried (with their ships), air units, the reserve pool, the commanders,
// the ships and the ship reserve pool, and its first convoy.
void RemoveForces(cWorld& world, int id) {
  while (world.KillFirstLandUnitOfCountry(id)) {
  }
  while (world.KillFirstCarriedUnitA(id)) {
  }
  while (world.KillFirstCarriedUnitB(id)) {
  }
  while (world.KillFirstAirUnitOfCountry(id)) {
  }
  world.RemoveCountryReserveUnits(id);
  world.ReleaseCommandersOfCountry(id);
  while (world.KillFirstNavalUnitOfCountry(id)) {
  }
  world.RemoveCountryReserveShips(id);
  world.Units().convoys.RemoveFirstConvoyOf(id);
}

// The orientation a country leaning to an eliminated alliance turns to: one
// of the two others, the first on a roll of 1.
int OrientationAfterElimination(int leaderCode, int orientation) {
  const int leaning = orientation >= 0 && orientation <= 5 ? orientation % 3 : -1;
  int first = 0, second = 0;
  switch (leaderCode) {
    case kAlliesLeader:
      if (leaning != 0) return orientation;
      first = 4, second = 5;
      break;
    case kAxisLeader:
      if (leaning != 1) return orientation;
      first = 3, second = 5;
      break;
    case kCominternLeader:
      if (leaning != 2) return orientation;
      first = 3, second = 4;
      break;
    default:
      return orientation;
  }
  return RandomRange(1, 2) == 1 ? first : second;
}

void FileForEveryCountry(cWorld& world, int type, const std::wstring& text) {
  for (const auto& country : world.Countries()) FileReport(world, type, country->id, text);
}

}  // namespace

cCountry* Surrender(cWorld& world, cCountry& country, sCountryReport& report) {
  cRelationsMatrix& relations = world.GetRelations();
  const int n = world.GetCountryCount();
  const int id = country.id;
  float total = relations.GetLossesSufferedBy(id);
  // Nobody has dealt losses: every active enemy shares the victory alike.
  if (total == 0.0f) {
    for (int i = 1; i <= n; ++i) {
      if (relations.IsAtWar(i, id) && world.GetCountry(i)->active) {
        relations.AddLosses(i, id, 1.0f);
        total += 1.0f;
      }
    }
  }
  std::vector<sVictorShare> shares;
  for (int i = 1; i <= n; ++i) {
    if (relations.GetLosses(i, id) > 0.0f && world.GetCountry(i)->active) {
      shares.push_back({i, relations.GetLosses(i, id) * 100.0f / total});
    }
  }
  std::stable_sort(shares.begin(), shares.end(),
                   [](const sVictorShare& a, const sVictorShare& b) { return a.share > b.share; });
  cCountry* victor = shares.empty() ? nullptr : world.GetCountry(shares.front().countryId);

  report.title = victor != nullptr ? plat::Format(Text("%s_surrenders_to_%s"), country.name, victor->name)
                                   : plat::Format(Text("%s_surrenders!"), country.name);
  report.body = plat::Format(Text("distribution_of_effort_in_victory_over_%s:"), country.name);
  for (const sVictorShare& entry : shares) {
    report.body += plat::Format(Text("%s:_%.2f%%"), world.GetCountry(entry.countryId)->name, entry.share);
  }

  RemoveForces(world, id);
  // Without a victor nobody takes the land over: it stays as it is.
  if (victor != nullptr) AnnexCountry(world, id, victor->id);
  world.DropSupplyRoleOfCountryCities(id);
  relations.ClearWarsOf(id);
  country.active = false;
  return victor;
}

cCountry* ChooseNewAllianceLeader(cWorld& world, int leaderCode) {
  LogLine(Text("determining_new_leader_of_alliance_%i"), leaderCode);
  const int member = leaderCode - 3;
  cCountry* best = nullptr;
  for (const auto& country : world.Countries()) {
    if (!country->active || country->alliance != member || country->politicalStrength < 0) continue;
    if (best == nullptr || country->politicalStrength >= best->politicalStrength) best = country.get();
  }
  if (best == nullptr) {
    LogLine(L"Could not determine new leader - no countries left in alliance!");
    return nullptr;
  }
  LogLine(Text("%s_becomes_new_leader"), best->name);
  return best;
}

void CheckSurrenders(cWorld& world) {
  LogLine(L"CHECKING FOR SURRENDERS...");
  for (std::size_t index = 0; index < world.Countries().size(); ++index) {
    cCountry& country = *world.Countries()[index];
    std::wstring message;
    std::wstring leaderMessage;
    const bool surrendered = LockedStep([&] {
      if (!country.active || !country.HasLostAllOwnCities(world)) return false;
      const std::wstring headline = plat::Format(Text("%s_surrenders!"), country.name);
      LogLine(L"%s", headline);
      sCountryReport report;
      Surrender(world, country, report);
      message = report.title + L"\n\n" + report.body;
      FileForEveryCountry(world, kReportSurrender, message);
      const int code = country.alliance;
      if (code < kAlliesLeader || code > kCominternLeader) return true;
      country.alliance = kNeutral;
      if (cCountry* leader = ChooseNewAllianceLeader(world, code)) {
        std::wstring allianceName;
        leader->FormatAllianceName(allianceName, false);
        leader->alliance = code;
        leaderMessage = plat::Format(Text("with_%s_annexed,_%s_becomes_new_leader_of_%s"), country.name, leader->name,
                                     allianceName) +
                        L"\n\n" + plat::Format(Text("leader_of_%s_eliminated!"), country.name);
        return true;
      }
      for (const auto& other : world.Countries()) {
        const int changed = OrientationAfterElimination(code, other->orientation);
        if (changed == other->orientation) continue;
        other->orientation = changed;
        LogLine(Text("since_%s_is_eliminated_%s_changes_alignment_to_%i"), country.name, other->name, changed);
      }
      leaderMessage = plat::Format(Text("%s_eliminated!"), country.name) + L"\n\n" +
                      Text("last_country_in_alliance_has_been_annexed._alliance_ceases_to_exist.");
      return true;
    });
    if (!surrendered) continue;
    const std::wstring title = plat::Format(Text("%s_surrenders!"), country.name);
    ShowTextAndWait(world, message, title);
    if (!leaderMessage.empty()) ShowTextAndWait(world, leaderMessage, title);
  }
  LogLine(L"CHECKING FOR SURRENDERS FINISHED");
}
