// Production, unit upkeep, research and the land warfare doctrine of a
// country, and the world steps that run them for every country at the end
// of an impulse and file their reports.
#include <algorithm>
#include <cmath>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/country_reports.h"
#include "rules/end_impulse.h"
#include "rules/research.h"
#include "rules/rule_helpers.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"
#include "world/worker_steps.h"
#include "world/world_view.h"

namespace {


// Countries that take part in the monthly steps: active and not dummies.
bool TakesPart(const cCountry& country) { return country.active && country.politicalStrength >= 0; }

// The share of what the victim suffered that the country dealt; land that
// nobody held before (id 0) was taken from nobody.
float LossShare(const cWorld& world, int countryId, int victimId) {
  if (victimId == 0) return 0.0f;
  return world.GetRelations().GetLossShare(countryId, victimId);
}

float DifficultyFactor(const cCountry& country) {
  if (!country.human) return 100.0f;
  switch (country.difficulty) {
    case 0:
      return 50.0f;
    case 1:
      return 75.0f;
    case 2:
      return 100.0f;
    case 3:
      return 150.0f;
    case 4:
      return 200.0f;
    default:
      return 100.0f;
  }
}

void RefreshCounters() {
  ChangeWorldView([](cWorldView& view) { view.RefreshCounters(); });
}

}  // namespace

void CalculateCountryProduction(cWorld& world, cCountry& country, sCountryReport& report) {
  const sScenarioConstants& k = world.constants;
  const float occupiedFactor = static_cast<float>(k.Value(115, 1));
  const float annexedFactor = static_cast<float>(k.Value(115, 2));
  const float shareFactor = static_cast<float>(k.Value(115, 3));
  const int id = country.id;
  float resources = 0.0f, own = 0.0f, occupied = 0.0f, annexed = 0.0f, share = 0.0f;
  for (const cCity* city : world.Cities()) {
    const float p = city->productionPoints;
    const int controller = city->GetControllerId();
    const int owner = city->GetOwnerId();
    const int original = city->GetOriginalOwnerId();
    if (city->type == kCityResources) {
      if (controller == id) resources += p;
      continue;
    }
    if (controller == id) {
      if (original == id) {
        own += p;
      } else if (owner != id) {
        occupied += p * occupiedFactor;
      } else {
        annexed += p * annexedFactor;
        share += p * shareFactor * LossShare(world, id, original);
      }
    } else if (controller != 0 && country.IsAlliedWith(controller) && controller == owner && controller != original) {
      share += p * shareFactor * LossShare(world, id, original);
    }
  }
  const float total = resources + own + occupied + annexed + share;
  const float civilOrder = 100.0f - country.socialUnrest;
  const float warEconomy = country.warEconomy;
  const float difficulty = DifficultyFactor(country);
  const float modifier = civilOrder / 100.0f * warEconomy / 100.0f * difficulty / 100.0f;
  const float collected = modifier * total;
  country.productionPoints += collected;
  report.title = Text("report_production_main_content");
  report.body = plat::Format(
      L"Resources: %.1f PP\nOwn cities: %.1f PP\nOccupied cities: %.1f PP\nAnnexed cities: %.1f PP\n"
      L"Share from annexed cities: %.1f PP\n\nTotal production: %.1f PP\n\n\nModifiers:\nCivil Order: %.1f%%\n"
      L"War Economy: %.1f%%\nDifficulty level: %.1f%%\n\nTotal modifier: %.1f%%\n\n\nCollected: %.1f PP",
      resources, own, occupied, annexed, share, total, civilOrder, warEconomy, difficulty, modifier * 100.0f,
      collected);
}

void PayUnitUpkeep(cWorld& world, cCountry& country, sCountryReport* report) {
  const double before = country.productionPoints;
  const float perStrength = world.constants.upkeepFactor * country.unitUpkeepModifier;
  float strength = 0.0f;
  float upkeep = 0.0f;
  auto pay = [&](cJednostka* unit) {
    const float a = unit->GetCombatStrength();
    const float c = a * perStrength;
    strength += a;
    upkeep += c;
    country.productionPoints -= c;
  };
  const sUnitLists& units = world.Units();
  // Each pass from the last unit to the first: land units on the map, then
  // those in reserve; then air units, then those in reserve.
  for (int category : {kCategoryLand, kCategoryAir}) {
    for (auto it = units.reservePool.rbegin(); it != units.reservePool.rend(); ++it) {
      if ((*it)->countryId == country.id && (*it)->category == category) pay(*it);
    }
    if (category == kCategoryLand) {
      for (auto it = units.landUnits.rbegin(); it != units.landUnits.rend(); ++it) {
        if ((*it)->countryId == country.id) pay(*it);
      }
    } else {
      for (auto it = units.airUnits.rbegin(); it != units.airUnits.rend(); ++it) {
        if ((*it)->countryId == country.id) pay(*it);
      }
    }
  }
  if (report == nullptr) return;
  report->title = plat::Format(Text("unit_upkeep_summary_for_%s"), country.name);
  report->body = plat::Format(Text("total_units'_strength:_%.2f"), strength) +
                 plat::Format(Text("total_upkeep:_%.2f"), upkeep) +
                 plat::Format(Text("pp_after_upkeep_substraction:_%.2f"), before - upkeep) +
                 plat::Format(Text("current_pp:_%.2f"), country.productionPoints);
}

void ResearchMonthly(cWorld& world, cCountry& country, sCountryReport& report) {
  static constexpr struct {
    int tech;
    const char* label;
  } kResearched[] = {{kTechArtillery, "artillery:_"},  {kTechTanks, "tanks:_"},       {kTechAircraft, "aircrafts:_"},
                     {kTechSubmarines, "submarines:_"}, {kTechNavy, "warships:_"},     {kTechNuclear, "nuclear_bomb:_"}};
  const sScenarioConstants& k = world.constants;
  report.title = plat::Format(Text("monthly_research_report_for_%s"), country.name);
  report.body.clear();
  auto newBomb = [&] {
    report.body += plat::Format(Text("_%s_aquires_new_nuclear_bomb."), country.name);
    ++country.nuclearBombs;
  };
  for (const auto& entry : kResearched) {
    const auto i = static_cast<std::size_t>(entry.tech);
    report.body += Text(entry.label);
    const int investment = country.techInvestment[i];
    if (investment == 0) {
      report.body += Text("no_investments.");
      continue;
    }
    if (country.techLevel[i] >= k.researchLimit[i]) {
      report.body += Text("maximum_level_reached.");
      if (entry.tech == kTechNuclear) newBomb();
      continue;
    }
    const int old = country.techProgress[i];
    country.techProgress[i] += RandomSum(investment, 1, 6);
    const int threshold = k.researchCost[i];
    if (country.techProgress[i] < threshold) {
      const int months = ResearchMonthsLeft(country.techProgress[i], threshold, investment);
      report.body += plat::Format(Text("progress_increased_from_%i_to_%i._estimated_completion_time:_%i_months."), old,
                                  country.techProgress[i], months);
      continue;
    }
    ++country.techLevel[i];
    country.techInvestment[i] = 0;
    country.techProgress[i] = 0;
    report.body += plat::Format(Text("level_%i_reached!"), country.techLevel[i]);
    if (entry.tech == kTechNuclear) newBomb();
  }
}

bool RaiseDoctrineIfStageDone(cCountry& country, std::vector<std::wstring>& messages) {
  int& level = country.techLevel[kTechDoctrine];
  if (level < 0 || level >= 5 || country.doctrineMonths[static_cast<std::size_t>(level)] > 0) return false;
  ++level;
  if (country.human) {
    messages.push_back(plat::Format(
        Text("%s_reached_level_%i_of_land_warfare_doctrine._all_land_units_will_now_have_higher_effectivity."),
        country.name, level));
  }
  return true;
}

std::vector<std::wstring> UpdateLandWarfareDoctrine(cCountry& country) {
  std::vector<std::wstring> messages;
  for (std::size_t stage = 0; stage < country.doctrineMonths.size(); ++stage) {
    --country.doctrineMonths[stage];
    RaiseDoctrineIfStageDone(country, messages);
  }
  return messages;
}

void CalculateProduction(cWorld& world) {
  LogLine(L"CALCULATING PRODUCTION...");
  LockedStep([&world] {
    world.GetRelations().ComputeLossShares();
    for (auto& country : world.Countries()) {
      if (!TakesPart(*country)) continue;
      sCountryReport report;
      CalculateCountryProduction(world, *country, report);
      FileReport(world, kReportProduction, country->id, plat::Format(L"%s\n\n%s", report.title, report.body));
    }
  });
  RefreshCounters();
  LogLine(L"CALCULATING PRODUCTION FINISHED");
}

void PayUpkeep(cWorld& world) {
  LogLine(L"CALCULATING UNITS UPKEEP COSTS...");
  LockedStep([&world] {
    for (auto& country : world.Countries()) {
      if (!TakesPart(*country)) continue;
      sCountryReport report;
      PayUnitUpkeep(world, *country, &report);
      FileReport(world, kReportUpkeep, country->id,
                 plat::Format(Text("report_upkeep_summary_main_content"), report.title, report.body));
    }
  });
  RefreshCounters();
  LogLine(L"CALCULATING UNITS UPKEEP COSTS FINISHED");
}

void DoResearch(cWorld& world) {
  LogLine(L"CALCULATING RESEARCH...");
  if (!IsFirstImpulseOfMonth(world)) {
    LogLine(L"CALCULATING RESEARCH FINISHED");
    return;
  }
  for (std::size_t index = 0; index < world.Countries().size(); ++index) {
    cCountry& country = *world.Countries()[index];
    const std::vector<std::wstring> messages = LockedStep([&world, &country] {
      if (!TakesPart(country)) return std::vector<std::wstring>{};
      country.AddDiplomaticPoints(country.diplomaticPointsPerMonth);
      sCountryReport report;
      ResearchMonthly(world, country, report);
      FileReport(world, kReportResearch, country.id,
                 plat::Format(Text("report_research_main_content"), report.title, report.body));
      return UpdateLandWarfareDoctrine(country);
    });
    for (const std::wstring& message : messages) ShowTextAndWait(world, message, Text("new_doctrine_level!"));
  }
  LogLine(L"CALCULATING RESEARCH FINISHED");
}
