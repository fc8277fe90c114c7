#include "headless_game/headless_summary.h"

#include <cstdio>
#include <cwchar>

#include "platform/lines.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/report_store.h"
#include "world/world.h"

namespace {

sCountrySummary* Find(std::vector<sCountrySummary>& countries, int id) {
  for (sCountrySummary& each : countries) {
    if (each.id == id) return &each;
  }
  return nullptr;
}

template <class List, class Count>
void CountUnits(std::vector<sCountrySummary>& countries, const List& units, Count count) {
  for (const auto* unit : units) {
    if (unit == nullptr) continue;
    if (sCountrySummary* country = Find(countries, unit->countryId)) count(*country, *unit);
  }
}

// A text field: in double quotes, a quote inside becoming an apostrophe.
std::string Quoted(const std::wstring& text) {
  std::string utf8 = plat::ToUtf8(text);
  for (char& c : utf8) {
    if (c == '"') c = '\'';
  }
  return "\"" + utf8 + "\"";
}

// The number after prefix in line when line is prefix, digits, suffix.
bool NumberBetween(const std::wstring& line, const std::wstring& prefix, const std::wstring& suffix, int& out) {
  if (line.size() <= prefix.size() + suffix.size() || line.compare(0, prefix.size(), prefix) != 0) return false;
  if (line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::wstring digits = line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
  if (digits.empty() || digits.size() > 9) return false;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return false;
  }
  out = std::stoi(digits);
  return true;
}

bool Has(const std::wstring& line, const wchar_t* part) { return line.find(part) != std::wstring::npos; }

bool StartsWith(const std::wstring& line, const wchar_t* prefix) {
  return line.compare(0, std::wcslen(prefix), prefix) == 0;
}


}  // namespace

void CountWarLine(const std::wstring& line, sWarShape& w) {
  int id = 0;
  if (NumberBetween(line, L"Condition for event with ID=", L" is true. Firing...", id) ||
      NumberBetween(line, L"Firing forced event ID=", L"", id)) {
    w.firedEvents.push_back(id);
  } else if (Has(line, L" is attacked. Directions=")) {
    ++w.landBattles;
  } else if (Has(line, L") airfight with ")) {
    ++w.airFights;
  } else if (StartsWith(line, L"Attack effectiveness = ")) {
    ++w.airStrikes;
    if (line == L"Attack effectiveness = 1.0") ++w.flooredStrikes;
  } else if (StartsWith(line, L"Strategic bombardment of ")) {
    ++w.cityRaids;
    if (!Has(line, L": 0 PP lost")) ++w.cityRaidsHurting;
  } else if (Has(line, L"have met enemy formations in ") || Has(line, L"_have_met_enemy_formations_in_")) {
    // The battle's announcement in the language base's text, or its key.
    ++w.seaBattles;
  } else if (Has(line, L"have met the enemy raider ") || Has(line, L"_have_met_enemy_raider_(")) {
    ++w.raiderHunts;
  } else if (StartsWith(line, L"[AI]: ") && Has(line, L" - air unit ") && Has(line, L" replenished to ")) {
    ++w.airReplacements;
  } else if (StartsWith(line, L"Computer player lands ") || StartsWith(line, L"ai_unloading_amphib_unit_")) {
    // The line is the language base's text, or its key where the runner
    // has no language base loaded.
    ++w.landings;
  } else if (StartsWith(line, L"[AI]: ") && Has(line, L" DECLARED WAR ON ")) {
    ++w.computerWars;
  } else if (Has(line, L"Nie znaleziono sciezki dla rozkazu")) {
    ++w.pathRefusals;
  } else if (StartsWith(line, L"WARNING: fleet ") || StartsWith(line, L"WARNING: Fleet ")) {
    if (Has(line, L"there's no path") || Has(line, L"theres no path")) ++w.fleetPathWarnings;
  }
}

bool CountWarLog(const std::string& path, sWarShape& shape) {
  return ForEachLogLine(path, [&shape](const std::wstring& line) { CountWarLine(line, shape); });
}

void SummariseWorld(const cWorld& world, const std::vector<std::wstring>& cityNames, sHeadlessSummary& summary) {
  summary.month = world.GetDate().month;
  summary.year = world.GetDate().year;
  summary.countries.clear();
  for (const auto& country : world.Countries()) {
    if (!country) continue;
    sCountrySummary row;
    row.id = country->id;
    row.name = country->name;
    row.alliance = country->alliance;
    row.active = country->active;
    row.victoryPoints = world.CountCountryVictoryPoints(country->id);
    const std::size_t index = static_cast<std::size_t>(country->id - 1);
    if (country->id >= 1 && index < summary.play.fell.size()) row.fell = summary.play.fell[index];
    summary.countries.push_back(row);
  }
  const sUnitLists& units = world.Units();
  const auto land = [](sCountrySummary& c, const cJednostkaLadowa&) { ++c.land; };
  CountUnits(summary.countries, units.landUnits, land);
  CountUnits(summary.countries, units.carriedUnitsA, land);
  CountUnits(summary.countries, units.carriedUnitsB, land);
  CountUnits(summary.countries, units.airUnits, [](sCountrySummary& c, const cJednostkaLotnicza&) { ++c.air; });
  CountUnits(summary.countries, units.navalUnits, [](sCountrySummary& c, const cJednostkaMorska&) { ++c.naval; });
  CountUnits(summary.countries, units.reservePool, [](sCountrySummary& c, const cJednostka&) { ++c.reserve; });
  CountUnits(summary.countries, units.navalReservePool,
             [](sCountrySummary& c, const cJednostkaMorska&) { ++c.reserve; });
  for (const cCity* city : world.Cities()) {
    if (sCountrySummary* country = Find(summary.countries, city->GetControllerId())) ++country->cities;
  }
  // A raid on a convoy is no line of the log (the convoy's route text goes
  // into its report): each leaves the raider's country a report.
  summary.war.convoyRaids = 0;
  for (const sReport& report : world.reports.Reports()) {
    if (report.type == kReportConvoyRaid) ++summary.war.convoyRaids;
  }
  summary.holders.clear();
  for (const std::wstring& name : cityNames) {
    for (const cCity* city : world.Cities()) {
      if (city->name != name) continue;
      sCityHolder holder{name, city->x, city->y, city->GetControllerId(), L""};
      if (const cCountry* controller = world.GetCountry(holder.controllerId)) holder.controller = controller->name;
      summary.holders.push_back(holder);
      break;
    }
  }
}

std::vector<int> FiredEventsInLog(const std::vector<std::wstring>& lines) {
  sWarShape shape;
  for (const std::wstring& line : lines) CountWarLine(line, shape);
  return shape.firedEvents;
}

std::string FormatSummary(const sHeadlessSummary& s) {
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line,
                "game scenario=%s seed=%u impulses_asked=%d impulses=%d "
                "game_over=%d date=%04d-%02d\n",
                Quoted(s.scenario).c_str(), s.seed, s.impulsesAsked, s.play.impulses, s.play.gameOver ? 1 : 0, s.year,
                s.month);
  out += line;
  std::snprintf(line, sizeof line,
                "speed seconds=%.3f impulses_per_second=%.2f "
                "slowest_impulse=%d slowest_seconds=%.3f steps=%d\n",
                s.play.seconds, s.play.ImpulsesPerSecond(), s.play.slowestImpulse, s.play.slowestSeconds, s.play.steps);
  out += line;
  out += "events fired=" + std::to_string(s.firedEvents.size()) + " ids=";
  for (std::size_t i = 0; i < s.firedEvents.size(); ++i) {
    if (i > 0) out += ",";
    out += std::to_string(s.firedEvents[i]);
  }
  out += "\n";
  const sWarShape& w = s.war;
  std::snprintf(line, sizeof line,
                "war land_battles=%d air_fights=%d air_strikes=%d "
                "floored_strikes=%d city_raids=%d "
                "city_raids_hurting=%d sea_battles=%d raider_hunts=%d convoy_raids=%d "
                "landings=%d air_replacements=%d computer_wars=%d "
                "path_refusals=%d fleet_path_warnings=%d\n",
                w.landBattles, w.airFights, w.airStrikes, w.flooredStrikes, w.cityRaids, w.cityRaidsHurting,
                w.seaBattles, w.raiderHunts, w.convoyRaids, w.landings, w.airReplacements, w.computerWars,
                w.pathRefusals, w.fleetPathWarnings);
  out += line;
  for (const sCountrySummary& c : s.countries) {
    std::snprintf(line, sizeof line,
                  "country id=%d name=%s alliance=%d active=%d land=%d air=%d "
                  "naval=%d reserve=%d cities=%d "
                  "victory_points=%d fell=%d\n",
                  c.id, Quoted(c.name).c_str(), c.alliance, c.active ? 1 : 0, c.land, c.air, c.naval, c.reserve,
                  c.cities, c.victoryPoints, c.fell);
    out += line;
  }
  for (const sCityHolder& h : s.holders) {
    std::snprintf(line, sizeof line, "holder city=%s x=%d y=%d controller_id=%d controller=%s\n",
                  Quoted(h.city).c_str(), h.x, h.y, h.controllerId, Quoted(h.controller).c_str());
    out += line;
  }
  return out;
}
