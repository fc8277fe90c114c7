// Research investment: the price of the next investment in a technology,
// the check before buying it, the purchase itself, and the estimate of the
// months a technology still needs. The monthly research step
// (rules/monthly_steps.cpp) and the research dialog share these, so the
// player sees the figures the month will use.
#pragma once

class cCountry;
struct sScenarioConstants;

// The most investment a technology holds at once.
constexpr int kMaxResearchInvestment = 3;

// (points per level - progress) x price factor / points per level: the
// price falls as progress accumulates. A technology without points per
// level costs nothing.
float ResearchPrice(const sScenarioConstants& k, const cCountry& country, int tech);

// Why the next investment in tech cannot be bought: the key of the refusal
// text ("research_invest_hint_max_level_reached",
// "research_invest_hint_max_investment" or
// "research_invest_hint_not_enough_pp", a format of the price), or null
// when it can.
const char* ResearchInvestRefusal(const sScenarioConstants& k, const cCountry& country, int tech);

// Pays the price and raises the investment by one when the check allows
// it; false (and nothing changes) otherwise.
bool InvestInResearch(const sScenarioConstants& k, cCountry& country, int tech);

// The whole months until progress reaches the threshold at this
// investment: a month adds investment dice of 1 to 6, 3.5 each on average;
// the remainder is rounded to the nearest month. -1 without investment.
int ResearchMonthsLeft(int progress, int threshold, int investment);
