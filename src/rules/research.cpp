#include "rules/research.h"

#include <cmath>
#include <cstddef>

#include "world/country.h"
#include "world/scenario_constants.h"

namespace {

bool KnownTech(int tech) { return tech >= 0 && tech < kTechCount; }

}  // namespace

float ResearchPrice(const sScenarioConstants& k, const cCountry& country, int tech) {
  if (!KnownTech(tech)) return 0.0f;
  const auto i = static_cast<std::size_t>(tech);
  const int perLevel = k.researchCost[i];
  if (perLevel <= 0) return 0.0f;
  return static_cast<float>(perLevel - country.techProgress[i]) * k.researchFactors[i] /
         static_cast<float>(perLevel);
}

const char* ResearchInvestRefusal(const sScenarioConstants& k, const cCountry& country, int tech) {
  if (!KnownTech(tech)) return "research_invest_hint_max_level_reached";
  const auto i = static_cast<std::size_t>(tech);
  if (country.techLevel[i] >= k.researchLimit[i]) return "research_invest_hint_max_level_reached";
  if (country.techInvestment[i] >= kMaxResearchInvestment) return "research_invest_hint_max_investment";
  if (static_cast<float>(country.productionPoints) < ResearchPrice(k, country, tech)) {
    return "research_invest_hint_not_enough_pp";
  }
  return nullptr;
}

bool InvestInResearch(const sScenarioConstants& k, cCountry& country, int tech) {
  if (ResearchInvestRefusal(k, country, tech) != nullptr) return false;
  country.AddProductionPoints(-static_cast<double>(ResearchPrice(k, country, tech)));
  ++country.techInvestment[static_cast<std::size_t>(tech)];
  return true;
}

int ResearchMonthsLeft(int progress, int threshold, int investment) {
  if (investment <= 0) return -1;
  if (progress >= threshold) return 0;
  const double left = static_cast<double>(threshold - progress) / (investment * 3.5);
  return static_cast<int>(std::floor(left + 0.5));
}
