// The upkeep of a computer country's forces: replacements for weakened land
// and air units (through the replacements rule), repairs of damaged ships
// wherever they are, and free commanders for its strongest land units
// (through the commanders rule).
#include <algorithm>
#include <cmath>

#include "ai/ai_economy.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "rules/commander_assignment.h"
#include "rules/replacements.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/replacement_prices.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {
namespace {

int SupplyAllowance(const sScenarioConstants::SupplyEffect& table, int supply) {
  const int index = std::clamp(supply, 0, static_cast<int>(table.size()) - 1);
  return table[static_cast<std::size_t>(index)];
}

// Buys n points for the unit through the rule, with the computer's text and,
// when the player watches, the view on the unit and the delays around it.
// Whether the rule bought them.
bool BuyFor(cWorld& world, const cCountry& country, cJednostka& unit, int n, float pricePerPoint) {
  LogLine(L"[AI]: %s - Replacements for %s (%i strength, cost %.1f PP)", country.name.c_str(), unit.name.c_str(), n,
          static_cast<double>(static_cast<float>(n) * pricePerPoint));
  const bool shown = unit.visible && world.turnState.showActions;
  if (shown) {
    FollowHexInView(unit.x, unit.y);
    StoppableDelay(world, static_cast<int>(g_Delays[kDelayAIReplacementBefore].load()), __FILE__, __LINE__);
  }
  const eReplacementRefusal refusal = BuyReplacements(world, unit, n);
  if (refusal != eReplacementRefusal::kNone) {
    LogLine(L"[AI]: %s - replacements for %s refused (%hs)", country.name.c_str(), unit.name.c_str(),
            ReplacementRefusalKey(refusal));
    return false;
  }
  if (shown) StoppableDelay(world, static_cast<int>(g_Delays[kDelayAIReplacementAfter].load()), __FILE__, __LINE__);
  return true;
}

// How many whole points the production points pay at this price; none at a
// price of 0 or below (a unit of no known type).
int Affordable(const cCountry& country, float pricePerPoint) {
  if (pricePerPoint <= 0.0f) return 0;
  return static_cast<int>(static_cast<float>(country.productionPoints) / pricePerPoint);
}

}  // namespace

void ReplaceLandLosses(cWorld& world, cCountry& country, float factor) {
  std::vector<cJednostkaLadowa*> units = CollectOwnUnits(world, country.id).land;
  std::stable_sort(units.begin(), units.end(), [](cJednostkaLadowa* a, cJednostkaLadowa* b) {
    return a->GetEffectiveCombatStrength() < b->GetEffectiveCombatStrength();
  });
  const int below = static_cast<int>(factor * 100.0f);
  for (cJednostkaLadowa* unit : units) {
    if (unit->strength >= below || !unit->CanReplenish(nullptr)) continue;
    const float c = ReplacementPricePerPoint(world, *unit);
    int n = std::min({Affordable(country, c), SupplyAllowance(world.constants.supplyEffectE, unit->supply),
                      ReplacementFullStrength(world, *unit) - unit->strength});
    // The rule's own cap (off the country's soil it allows less).
    n = std::min(n, ReplacementMaximum(world, *unit));
    if (n > 0) BuyFor(world, country, *unit, n, c);
  }
}

void ReplaceAirLosses(cWorld& world, cCountry& country, float factor) {
  std::vector<cJednostkaLotnicza*> units = CollectOwnUnits(world, country.id).air;
  std::stable_sort(units.begin(), units.end(), [](cJednostkaLotnicza* a, cJednostkaLotnicza* b) {
    return a->strength + static_cast<float>(a->level) < b->strength + static_cast<float>(b->level);
  });
  for (cJednostkaLotnicza* unit : units) {
    // Filled up to its type's full strength; a fighter takes half the
    // supply allowance in one replacement.
    const int full = ReplacementFullStrength(world, *unit);
    if (unit->strength > factor * static_cast<float>(full) || !unit->CanReplenish(nullptr)) continue;
    const float c = ReplacementPricePerPoint(world, *unit);
    const int allowance = SupplyAllowance(world.constants.supplyEffectF, unit->supply);
    const int strength = unit->GetStrength();
    int n = std::min({Affordable(country, c), unit->type == kUnitFighter ? allowance / 2 : allowance, full - strength});
    n = std::min(n, ReplacementMaximum(world, *unit));
    if (n > 0 && BuyFor(world, country, *unit, n, c)) {
      LogLine(L"[AI]: %s - air unit %s replenished to %i strength", country.name.c_str(), unit->name.c_str(),
              unit->GetStrength());
    }
  }
}

void RepairShips(cWorld& world, cCountry& country) {
  const sScenarioConstants& k = world.constants;
  for (cJednostkaMorska* ship : CollectOwnUnits(world, country.id).ships) {
    const int slot = ship->type - kUnitAircraftCarrier;
    if (slot < 0 || slot >= static_cast<int>(k.navalRepairCost.size())) continue;
    const double perPoint = k.navalRepairCost[static_cast<std::size_t>(slot)];
    const double threshold = std::ceil(static_cast<double>(ship->maxHitPoints) * k.repairThreshold * 0.01);
    // A negative cost would pay the country for its repairs.
    if (perPoint < 0.0 || static_cast<double>(ship->hitPoints) > threshold) continue;
    if (!(perPoint < country.productionPoints)) continue;
    int missing = ship->maxHitPoints - ship->hitPoints;
    double cost = missing * perPoint;
    if (country.productionPoints < cost) {
      missing = static_cast<int>(country.productionPoints / perPoint);
      cost = missing * perPoint;
    }
    if (missing <= 0) continue;
    LockedStep([&] {
      ship->AddHitPoints(static_cast<float>(missing));
      country.AddProductionPoints(-cost);
    });
    LogLine(L"[AI]: %s - Repairing %s (%i HP, cost %.1f PP)", country.name.c_str(), ship->name.c_str(), missing,
            cost);
  }
}

void AssignCommanders(cWorld& world, cCountry& country) {
  std::vector<cCommander*> free;
  for (cCommander* commander : world.Units().commanders) {
    if (commander->countryId == country.id && commander->state == kCommanderNotAssigned) free.push_back(commander);
  }
  std::stable_sort(free.begin(), free.end(), [](cCommander* a, cCommander* b) { return a->skill > b->skill; });
  std::vector<cJednostkaLadowa*> units = CollectOwnUnits(world, country.id).land;
  std::stable_sort(units.begin(), units.end(), [](cJednostkaLadowa* a, cJednostkaLadowa* b) {
    return a->GetEffectiveCombatStrength() > b->GetEffectiveCombatStrength();
  });
  for (cCommander* commander : free) {
    for (cJednostkaLadowa* unit : units) {
      if (unit->ownCommander != nullptr) continue;
      // The rule decides which commanders may lead a land unit; the first
      // unit it accepts gets him (it logs the assignment).
      if (AssignCommander(world, *unit, *commander) == eCommanderRefusal::kNone) break;
    }
  }
}

void MoveUnitsForScenarioSpecialCase(cWorld&, cCountry&) {
  // None of this game's scenarios asks for a fixed rebasing.
}

}  // namespace ai
