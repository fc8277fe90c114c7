// What a computer country buys: a queue of purchase codes in its data, a
// decision that appends one code when the queue is empty, and an execution
// that carries out the first code the country can pay, through the same
// purchase, research and level-up rules the player's dialogs use.
#include <algorithm>
#include <cmath>

#include "ai/ai_economy.h"
#include "app/console_log.h"
#include "platform/rand.h"
#include "rules/purchases.h"
#include "rules/research.h"
#include "rules/unit_upgrade.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

constexpr int kMaxUnitLevel = 5;
// The technologies the computer researches, in the order it considers them;
// the land warfare doctrine is left to the scenario's events.
constexpr std::array<int, 6> kResearchOrder = {kTechArtillery, kTechTanks,     kTechAircraft,
                                               kTechSubmarines, kTechNavy, kTechNuclear};

// Not yet moved in this impulse: its action points are whole and not zero.
bool HasNotActed(const cJednostka& unit) {
  return unit.actionPoints != 0 && unit.actionPoints == unit.startingActionPoints;
}

bool CanBeLevelledUp(cJednostka& unit) {
  return unit.level < kMaxUnitLevel && HasNotActed(unit) && unit.CanLevelUp(nullptr);
}

bool IsArmour(int type) { return type == kUnitArmouredDivision || type == kUnitArmouredCorps; }

// The purchase item of a queued unit type, or -1 for a type that cannot be
// bought (the data's "none" entry among them).
int ItemOfUnitType(int code, int type) {
  int item = -1;
  if (code == kAiBuyLandUnit) item = type;
  if (code == kAiBuyAirUnit) item = type - (static_cast<int>(kUnitFighter) - kPurchaseFirstAir);
  if (code == kAiBuyShip) item = type - (static_cast<int>(kUnitAircraftCarrier) - kPurchaseFirstShip);
  if (code == kAiBuyLandUnit && (item < kPurchaseFirstLand || item > kPurchaseLastLand)) return -1;
  if (code == kAiBuyAirUnit && (item < kPurchaseFirstAir || item > kPurchaseLastAir)) return -1;
  if (code == kAiBuyShip && (item < kPurchaseFirstShip || item > kPurchaseLastShip)) return -1;
  return item;
}

// The slot of the pending unit triple (land, air, ship) for a queue code.
int TripleSlot(int code) { return code - kAiBuyLandUnit; }

// The queue changes in one locked step: the main thread may save the game.
void EraseAt(std::vector<int>& queue, std::size_t index) {
  LockedStep([&] { queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(index)); });
}
void EraseEvery(std::vector<int>& queue, int code) {
  // Only this thread changes the queue: a queue without the code needs no step.
  if (std::find(queue.begin(), queue.end(), code) == queue.end()) return;
  LockedStep([&] { queue.erase(std::remove(queue.begin(), queue.end(), code), queue.end()); });
}

bool Affords(const cCountry& country, float price) { return static_cast<float>(country.productionPoints) >= price; }

// A purchase through the rule; the rule checks the price again.
bool Buy(cWorld& world, const cCountry& country, int item) {
  const ePurchaseRefusal refusal = Purchase(world, sPurchaseOrder{country.id, item, 1, {}});
  if (refusal != ePurchaseRefusal::kNone) {
    LogLine(L"[AI]: %s - purchase of item %d refused (%hs)", country.name.c_str(), item,
            PurchaseRefusalKey(refusal));
  }
  return refusal == ePurchaseRefusal::kNone;
}

void LogNotForSale(const cCountry& country, int code, float price) {
  LogLine(L"[AI]: %s - purchase code %d has a price of %.2f: not for sale, dropped", country.name.c_str(), code,
          static_cast<double>(price));
}

// Points bought one lot per pass while the country pays (codes 0 and 1):
// the code stays queued while affordable and leaves when not. A price of 0
// or below is never bought (it would buy without end).
bool ExecutePointsLot(cWorld& world, cCountry& country, std::vector<int>& queue, std::size_t index, int item) {
  const int code = queue[index];
  const float price = PurchasePrice(world, country, item, 1);
  if (price <= 0.0f) {
    LogNotForSale(country, code, price);
    EraseAt(queue, index);
    return false;
  }
  if (Affords(country, price) && Buy(world, country, item)) return true;
  EraseAt(queue, index);
  return false;
}

// A new unit of the pending triple. Returns 1 when bought, 0 when the
// country cannot pay yet (the code waits), -1 when the code was dropped.
int ExecuteNewUnit(cWorld& world, cCountry& country, std::vector<int>& queue, std::size_t index) {
  const int code = queue[index];
  sCountryAiData& data = country.aiData;
  const auto slot = static_cast<std::size_t>(TripleSlot(code));
  const int item = ItemOfUnitType(code, data.newUnitPurchaseCounts[slot]);
  if (item < 0) {
    LogLine(L"[AI]: %s - purchase code %d names no unit type it can buy (%d), dropped", country.name.c_str(), code,
            data.newUnitPurchaseCounts[slot]);
    EraseEvery(queue, code);
    return -1;
  }
  const float price = PurchasePrice(world, country, item, 1);
  if (price <= 0.0f) {
    LogNotForSale(country, code, price);
    EraseEvery(queue, code);
    return -1;
  }
  if (!Affords(country, price)) return 0;
  const ePurchaseRefusal refusal = Purchase(world, sPurchaseOrder{country.id, item, 1, {}});
  if (refusal == ePurchaseRefusal::kCannotAfford) return 0;
  EraseEvery(queue, code);
  if (refusal != ePurchaseRefusal::kNone) {
    LogLine(L"[AI]: %s - purchase of item %d refused (%hs)", country.name.c_str(), item,
            PurchaseRefusalKey(refusal));
    return -1;
  }
  return 1;
}

// The pending unit triple of a drawn preference: its type and price.
void SetPendingUnit(cCountry& country, int preference, int code, float price) {
  sCountryAiData& data = country.aiData;
  const auto slot = static_cast<std::size_t>(TripleSlot(code));
  LockedStep([&] {
    data.newUnitPurchaseCounts[slot] = PurchaseItemUnitType(preference);
    data.newUnitPurchaseWeights[slot] = price;
    data.purchaseQueue.push_back(code);
  });
}

}  // namespace

cJednostkaLotnicza* FindAirUnitToLevelUp(cWorld& world, const cCountry& country) {
  for (cJednostkaLotnicza* unit : CollectOwnUnits(world, country.id).air) {
    if (CanBeLevelledUp(*unit)) return unit;
  }
  return nullptr;
}

cJednostkaLadowa* FindArmourToLevelUp(cWorld& world, const cCountry& country) {
  for (cJednostkaLadowa* unit : CollectOwnUnits(world, country.id).land) {
    if (IsArmour(unit->type) && CanBeLevelledUp(*unit)) return unit;
  }
  return nullptr;
}

cJednostkaLadowa* FindLandUnitToLevelUpByStructure(cWorld& world, const cCountry& country) {
  const int levels = std::clamp(country.techLevel[kTechArtillery], 1, kMaxUnitLevel);
  std::array<std::vector<cJednostkaLadowa*>, kMaxUnitLevel> byLevel;
  int grouped = 0;
  for (cJednostkaLadowa* unit : CollectOwnUnits(world, country.id).land) {
    if (IsArmour(unit->type) || unit->level < 1 || unit->level > levels) continue;
    byLevel[static_cast<std::size_t>(unit->level - 1)].push_back(unit);
    ++grouped;
  }
  const auto& desired = country.aiData.desiredLandForcesStructure;
  float desiredSum = 0.0f;
  for (int k = 0; k < levels; ++k) desiredSum += static_cast<float>(desired[static_cast<std::size_t>(k)]);
  if (desiredSum == 0.0f) desiredSum = 0.00001f;
  // A level short of its share is filled from the level below it: the
  // level-up of one of those units is what raises the short level's share.
  for (int level = levels; level >= 2; --level) {
    const auto k = static_cast<std::size_t>(level - 1);
    const float want = static_cast<float>(desired[k]) / desiredSum;
    const float have = grouped == 0 ? 0.0f : static_cast<float>(byLevel[k].size()) / static_cast<float>(grouped);
    if (have >= want) continue;
    for (cJednostkaLadowa* unit : byLevel[k - 1]) {
      if (CanBeLevelledUp(*unit)) return unit;
    }
  }
  return nullptr;
}

int ChooseResearch(const cWorld& world, const cCountry& country) {
  const sScenarioConstants& k = world.constants;
  const auto& desired = country.aiData.desiredTechLevels;
  for (int tech : kResearchOrder) {
    const auto t = static_cast<std::size_t>(tech);
    if (country.techLevel[t] >= k.researchLimit[t] || country.techLevel[t] >= desired[t]) continue;
    // A technology without points per level has no progress to measure.
    if (k.researchCost[t] <= 0) continue;
    const float ratio = static_cast<float>(country.techProgress[t]) / static_cast<float>(k.researchCost[t]);
    const int invested = country.techInvestment[t];
    if ((ratio < 0.25f && invested < 3) || (ratio >= 0.25f && ratio < 0.5f && invested < 2) ||
        (ratio >= 0.5f && ratio < 0.75f && invested == 0)) {
      return tech;
    }
  }
  return -1;
}

int ChoosePurchasePreference(const std::array<int, 14>& weights) {
  float sum = 0.0f;
  int lastPositive = -1;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    if (weights[i] <= 0) continue;
    sum += static_cast<float>(weights[i]);
    lastPositive = static_cast<int>(i);
  }
  if (lastPositive < 0) return -1;
  const float r = static_cast<float>(static_cast<double>(plat::Rand()) / plat::kRandMax);
  float running = 0.0f;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    if (weights[i] > 0) running += static_cast<float>(weights[i]);
    const float cumulated = running / sum;
    if (weights[i] > 0 && cumulated >= r) return static_cast<int>(i);
  }
  // Float rounding left the last share just below the draw.
  return lastPositive;
}

void DecidePurchase(cWorld& world, cCountry& country, sAiPurchase& purchase) {
  sCountryAiData& data = country.aiData;
  if (!data.purchaseQueue.empty()) return;
  const auto append = [&](int code) { LockedStep([&] { data.purchaseQueue.push_back(code); }); };
  if (cJednostkaLotnicza* air = FindAirUnitToLevelUp(world, country)) {
    purchase.airUnit = air;
    purchase.airLevelUpCost = air->GetLevelUpCost();
    append(kAiBuyAirLevelUp);
    return;
  }
  cJednostkaLadowa* land = FindArmourToLevelUp(world, country);
  if (land == nullptr) land = FindLandUnitToLevelUpByStructure(world, country);
  if (land != nullptr) {
    purchase.landUnit = land;
    purchase.landLevelUpCost = land->GetLevelUpCost();
    append(kAiBuyLandLevelUp);
    return;
  }
  const int tech = ChooseResearch(world, country);
  if (tech >= 0) {
    purchase.tech = tech;
    purchase.researchCost = ResearchPrice(world.constants, country, tech);
    append(kAiBuyResearch);
    return;
  }
  if (country.strategicMovementPurchases < data.desiredStrategicMovementPoints) {
    append(kAiBuyStrategicPoint);
    return;
  }
  const int preference = ChoosePurchasePreference(data.newUnitPurchasePreferences);
  if (preference < 0) return;  // every weight 0: the country buys no units
  const int code = preference <= kPurchaseLastLand  ? kAiBuyLandUnit
                   : preference <= kPurchaseLastAir ? kAiBuyAirUnit
                                                    : kAiBuyShip;
  const float price = PurchasePrice(world, country, preference, 1);
  if (price <= 0.0f) {
    LogNotForSale(country, code, price);
    return;
  }
  SetPendingUnit(country, preference, code, price);
}

bool ExecutePurchase(cWorld& world, cCountry& country, sAiPurchase& purchase) {
  std::vector<int>& queue = country.aiData.purchaseQueue;
  std::size_t i = 0;
  while (i < queue.size()) {
    const int code = queue[i];
    switch (code) {
      case kAiBuyAmphibiousPoint:
      case kAiBuySeaTransportLot:
        // A lot bought keeps the code; an unaffordable one leaves the queue.
        if (ExecutePointsLot(world, country, queue, i,
                             code == kAiBuyAmphibiousPoint ? kPurchaseAmphibious : kPurchaseSeaTransport)) {
          return true;
        }
        continue;
      case kAiBuyAirLevelUp:
      case kAiBuyLandLevelUp: {
        cJednostka* unit = code == kAiBuyAirLevelUp ? static_cast<cJednostka*>(purchase.airUnit)
                                                    : static_cast<cJednostka*>(purchase.landUnit);
        const float cost = code == kAiBuyAirLevelUp ? purchase.airLevelUpCost : purchase.landLevelUpCost;
        if (unit == nullptr) {  // decided in an earlier pass or turn: decided afresh
          EraseAt(queue, i);
          continue;
        }
        if (!Affords(country, cost)) break;
        const bool done = AiLevelUp(world, *unit) == eUpgradeRefusal::kNone;
        EraseAt(queue, i);
        if (done) return true;
        continue;
      }
      case kAiBuyResearch: {
        if (purchase.tech < 0) {
          EraseAt(queue, i);
          continue;
        }
        if (!Affords(country, purchase.researchCost)) break;
        const bool done = LockedStep([&] { return InvestInResearch(world.constants, country, purchase.tech); });
        if (!done) break;
        EraseAt(queue, i);
        return true;
      }
      case kAiBuyLandUnit:
      case kAiBuyAirUnit:
      case kAiBuyShip: {
        const int result = ExecuteNewUnit(world, country, queue, i);
        if (result > 0) return true;
        if (result < 0) {
          i = 0;  // every entry of the code left: start over
          continue;
        }
        break;
      }
      case kAiBuyStrategicPoint: {
        const float price = PurchasePrice(world, country, kPurchaseStrategicMovement, 1);
        if (price <= 0.0f) {
          LogNotForSale(country, code, price);
          EraseAt(queue, i);
          continue;
        }
        if (!Affords(country, price) || !Buy(world, country, kPurchaseStrategicMovement)) break;
        EraseAt(queue, i);
        return true;
      }
      default:
        LogLine(L"[AI]: %s - unknown purchase code %d dropped", country.name.c_str(), code);
        EraseAt(queue, i);
        continue;
    }
    ++i;
  }
  return false;
}

int BuyNewUnits(cWorld& world, cCountry& country) {
  // Level-ups and research are decided afresh each turn: their units and
  // technology live only in the decision of the pass that queued them.
  EraseEvery(country.aiData.purchaseQueue, kAiBuyLandLevelUp);
  EraseEvery(country.aiData.purchaseQueue, kAiBuyAirLevelUp);
  EraseEvery(country.aiData.purchaseQueue, kAiBuyResearch);
  int bought = 0;
  for (int pass = 0; pass < kMaxPurchasePasses; ++pass) {
    sAiPurchase purchase;
    DecidePurchase(world, country, purchase);
    if (!ExecutePurchase(world, country, purchase)) return bought;
    ++bought;
  }
  LogLine(L"[AI]: %s - purchases stopped after %d passes", country.name.c_str(), kMaxPurchasePasses);
  return bought;
}

}  // namespace ai
