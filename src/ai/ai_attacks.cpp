// The computer opponent's attack search: reachable hexes, approaches,
// obvious moves, attack plans and their order and safety.
#include "ai/ai_attacks.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <set>

#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "world/cities.h"
#include "world/country.h"
#include "rules/air_orders.h"
#include "world/air_strikes.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/land_attack_plan.h"
#include "world/map.h"
#include "world/world.h"

namespace ai {
namespace {

constexpr int kBestColumn = 7;
constexpr int kNoCheaperApproach = 666;

bool HexHoldsCity(const cWorld& world, int x, int y) {
  const cMap& map = world.GetMap();
  return map.IsInside(x, y) && map.GetHex(x, y).city != nullptr;
}

bool StandsOnCity(const cWorld& world, const cJednostka& unit) { return HexHoldsCity(world, unit.x, unit.y); }

const wchar_t* NameOf(const cJednostka* unit) { return unit != nullptr ? unit->name.c_str() : L"-"; }

// The attacker's strength against the defender from the hex (x, y): its
// effective combat strength, times the river factor when a river runs on
// the defender's side towards that hex. Kept as a float: effective
// strengths are small numbers, and cutting them to whole ones would count a
// half-strength division as no attacker at all.
float StrengthFrom(const cWorld& world, cJednostka& defender, cJednostkaLadowa& attacker, int side) {
  cLandAttack attack;
  attack.defender = &defender;
  attack.defenderX = defender.x;
  attack.defenderY = defender.y;
  attack.SetAttacker(side, &attacker);
  return attack.GetAttackerStrength(world);
}

cLandAttack SetUpOf(const sAttackPlan& plan) {
  cLandAttack attack;
  attack.defender = plan.defender;
  attack.defenderX = plan.defender->x;
  attack.defenderY = plan.defender->y;
  for (int side = 0; side < 6; ++side) {
    if (plan.approaches[side].unit) attack.SetAttacker(side, plan.approaches[side].unit);
  }
  return attack;
}

// Fills the withdrawals of the defender's neighbours held by own units that
// can make room, and drops the defender's approaches onto blocked
// neighbours (another country's unit, or an own unit with nowhere to go),
// all but the own unit's entry for its own hex.
void PrepareWithdrawals(cWorld& world, const cCountry& country, sAttackPlan& plan) {
  cJednostka& defender = *plan.defender;
  cMap& map = world.GetMap();
  int taken[6][2];
  for (auto& t : taken) t[0] = t[1] = -1;
  // Blocked hex -> the unit on it.
  std::map<std::pair<int, int>, const cJednostka*> blocked;
  for (int side = 0; side < 6; ++side) {
    int nx = -1, ny = -1;
    map.GetNeighbourCoords(defender.x, defender.y, side, nx, ny);
    if (!map.IsInside(nx, ny)) continue;
    cJednostka* unit = map.GetHex(nx, ny).unit;
    if (unit == nullptr) continue;
    sReachableHex away;
    if (unit->countryId == country.id && unit->category == kCategoryLand &&
        unit->FindFreeHexAwayFromTarget(defender.x, defender.y, taken, away, side)) {
      plan.withdrawals[side] = {static_cast<cJednostkaLadowa*>(unit), away.x, away.y, side, away.cost};
    } else {
      blocked[{nx, ny}] = unit;
    }
  }
  // An own unit with nowhere to go may still attack from where it stands.
  defender.secondHexes.remove_if([&](const sReachableHex& e) {
    const auto it = blocked.find({e.x, e.y});
    return it != blocked.end() && it->second != e.unit;
  });
}

// The strongest attacker among the defender's approaches (ties: the smaller
// cost); false when there is none with strength above 0.
bool StrongestApproach(const cWorld& world, cJednostka& defender, sReachableHex& best) {
  float bestStrength = 0.0f;
  bool found = false;
  const cMap& map = world.GetMap();
  for (const sReachableHex& e : defender.secondHexes) {
    const int side = map.GetNeighbourDirection(defender.x, defender.y, e.x, e.y) - 1;
    if (side < 0 || side > 5) continue;
    const float strength = StrengthFrom(world, defender, *static_cast<cJednostkaLadowa*>(e.unit), side);
    if (strength <= 0.0f) continue;
    if (!found || strength > bestStrength || (strength == bestStrength && e.cost < best.cost)) {
      best = e;
      best.direction = side;
      bestStrength = strength;
      found = true;
    }
  }
  return found;
}

float AirWeight(cJednostkaLotnicza* unit) { return unit->GetCombatStrength() + static_cast<float>(unit->level); }

void LogAirUnit(cJednostkaLotnicza* unit) {
  LogLine(L"%s: sila=%i, level=%i, PA=%i", unit->name.c_str(), unit->GetStrength(), unit->level, unit->actionPoints);
}

// The plan's air support, counted before it joins the list.
void AddAirSupport(const cWorld& world, const sAiUnitLists& lists, sAttackPlan& plan) {
  plan.CollectStrikeUnits(world, lists);
  plan.CollectInterceptors(world);
  plan.CountGoodStrikes();
}

void SetApproach(sAttackPlan& plan, const sReachableHex& e) {
  sAiMove& move = plan.approaches[e.direction];
  if (move.unit == nullptr) move = {static_cast<cJednostkaLadowa*>(e.unit), e.x, e.y, e.direction, e.cost};
  plan.cost += e.cost;
  plan.planned = true;
}

}  // namespace

void sAttackPlan::Reset(cJednostka* target) {
  defender = target;
  column = 0;
  planned = false;
  cost = 0;
  goodStrikes = 0;
  strikeUnits.clear();
  interceptors.clear();
  for (auto* entries : {&withdrawals, &approaches}) {
    for (sAiMove& move : *entries) move = {nullptr, 0, 0, 0, kNoMoveCost};
  }
}

void sAttackPlan::CollectStrikeUnits(const cWorld& world, const sAiUnitLists& lists) {
  strikeUnits.clear();
  if (defender == nullptr || defender->category != kCategoryLand) return;
  // The planning country decides in its own sight.
  const cCountry* sight = world.GetCountry(countryId);
  for (cJednostkaLotnicza* unit : lists.ownAir) {
    if (unit->type != kUnitTacticalBomber || unit->actionPoints <= 0 || unit->GetCombatStrength() <= 2.0f) continue;
    if (CheckAirBombardment(world, *unit, defender->x, defender->y, sight) != eAirOrderRefusal::kNone) continue;
    strikeUnits.push_back(unit);
  }
  std::stable_sort(strikeUnits.begin(), strikeUnits.end(),
                   [](cJednostkaLotnicza* a, cJednostkaLotnicza* b) { return AirWeight(a) > AirWeight(b); });
}

void sAttackPlan::CollectInterceptors(const cWorld& world) {
  interceptors.clear();
  if (defender == nullptr) return;
  if (cJednostkaLotnicza* best = FindBestInterceptor(world, defender->x, defender->y, countryId)) {
    interceptors.push_back(best);
  }
}

void sAttackPlan::CountGoodStrikes() {
  goodStrikes = 0;
  for (cJednostkaLotnicza* unit : strikeUnits) {
    if (!interceptors.empty() && AirWeight(unit) / std::max(AirWeight(interceptors.front()), 0.001f) <= kInterceptionRatio) {
      continue;
    }
    goodStrikes += unit->actionPoints;
  }
}

int sAttackPlan::MinApproachCost() const {
  int least = kNoCheaperApproach;
  for (const sAiMove& move : approaches) least = std::min(least, move.cost);
  return least;
}

void sAttackPlan::Dump(const cWorld& world) const {
  const cCountry* country = world.GetCountry(countryId);
  LogLine(L"[AI %s] == Wydruk planu ataku ==", country ? country->name.c_str() : L"");
  LogLine(L"Cel: %s (%i,%i). KOSZT=%i, KOL=%i:1", NameOf(defender), defender ? defender->x : -1,
          defender ? defender->y : -1, cost, column);
  LogLine(L"Ruchy:");
  for (const sAiMove& m : withdrawals) {
    if (m.unit) LogLine(L"Odejscie %s -> (%i,%i), kier %i, koszt %i", m.unit->name.c_str(), m.x, m.y, m.direction, m.cost);
  }
  for (const sAiMove& m : approaches) {
    if (m.unit) LogLine(L"Podejscie %s -> (%i,%i), kier %i, koszt %i", m.unit->name.c_str(), m.x, m.y, m.direction, m.cost);
  }
  for (cJednostkaLotnicza* unit : strikeUnits) LogAirUnit(unit);
  LogLine(L"Wrogie jednostki zdolne do intercepcji air-strike'u:");
  for (cJednostkaLotnicza* unit : interceptors) LogAirUnit(unit);
  LogLine(L"Ilosc dobrych nalotow = %i", goodStrikes);
  LogLine(L"[AI] == Koniec wydruku planu ataku ==");
}

void sAttackPlan::DumpShort(const cWorld& world) const {
  const bool city = defender && HexHoldsCity(world, defender->x, defender->y);
  LogLine(L"Cel=%s Kolumna=%i:1 Miasto=%s Koszt=%i", NameOf(defender), column, city ? L"TAK" : L"NIE", cost);
}

int EstimatePlanColumn(const cWorld& world, const sAttackPlan& plan) {
  return plan.defender != nullptr ? SetUpOf(plan).EstimateOddsColumn(world) : 0;
}

void MarkAttackableCities(cWorld& world, const cCountry& country) {
  for (cCity* city : world.Cities()) city->aiAttackable = 1;
  for (cCity* city : country.aiData.doNotAttackCities) {
    if (city) city->aiAttackable = 0;
  }
}

namespace {

void AddReachableHexes(cWorld& world, cJednostkaLadowa& unit, bool skipAttacked, std::vector<sReachableHex>& out) {
  if (!unit.IsOnMap() || StandsOnCity(world, unit)) return;
  if (skipAttacked && unit.attacked) return;
  unit.ComputeMoveRangeOnly(true);
  for (const sLandMoveEntry& e : unit.MoveRange()) out.push_back({&unit, e.x, e.y, -1, e.cost});
  if (unit.actionPoints > 0) out.push_back({&unit, unit.x, unit.y, -1, 0});
}

// The goal hexes as a grid of the map's size, for the look-ups around each
// unit.
class cGoalGrid {
 public:
  cGoalGrid(const cMap& map, const std::vector<sMapCoord>& goals)
      : map_(map), goal_(static_cast<std::size_t>(map.GetWidth()) * static_cast<std::size_t>(map.GetHeight()), 0) {
    for (const sMapCoord& g : goals) {
      if (map.IsInside(g.x, g.y)) goal_[Index(g.x, g.y)] = 1;
    }
  }
  // Whether a goal lies within steps hexes of (x, y).
  bool Near(int x, int y, int steps) const {
    const int x0 = std::max(x - steps, 0), x1 = std::min(x + steps, map_.GetWidth() - 1);
    const int y0 = std::max(y - steps, 0), y1 = std::min(y + steps, map_.GetHeight() - 1);
    for (int gy = y0; gy <= y1; ++gy) {
      for (int gx = x0; gx <= x1; ++gx) {
        if (goal_[Index(gx, gy)] != 0 && HexDistance(x, y, gx, gy) <= steps) return true;
      }
    }
    return false;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(map_.GetWidth()) + static_cast<std::size_t>(x);
  }

  const cMap& map_;
  std::vector<std::uint8_t> goal_;
};

int MoveSteps(const cJednostkaLadowa& unit) { return std::max(unit.actionPoints, 1); }

}  // namespace

std::vector<sReachableHex> CollectReachableHexesNear(cWorld& world, const sAiUnitLists& lists, bool skipAttacked,
                                                     const std::vector<sMapCoord>& goals, int reach) {
  std::vector<sReachableHex> reachable;
  if (goals.empty()) return reachable;
  const cGoalGrid grid(world.GetMap(), goals);
  for (cJednostkaLadowa* unit : lists.ownLand) {
    if (!grid.Near(unit->x, unit->y, MoveSteps(*unit) + reach)) continue;
    AddReachableHexes(world, *unit, skipAttacked, reachable);
  }
  return reachable;
}

std::vector<sMapCoord> EnemyUnitHexes(const cWorld& world, const cCountry& country) {
  std::vector<sMapCoord> out;
  const cRelationsMatrix& relations = world.GetRelations();
  const cMap& map = world.GetMap();
  // The units standing on the map are the land and air units of the world's
  // lists that their hex holds.
  auto add = [&](const cJednostka* unit) {
    if (!map.IsInside(unit->x, unit->y) || map.GetHex(unit->x, unit->y).unit != unit) return;
    if (relations.IsAtWar(country.id, unit->countryId)) out.push_back({unit->x, unit->y});
  };
  for (const cJednostkaLadowa* unit : world.Units().landUnits) add(unit);
  for (const cJednostkaLotnicza* unit : world.Units().airUnits) add(unit);
  return out;
}

std::vector<sMapCoord> FreeEnemyCityHexes(const cWorld& world, const cCountry& country) {
  std::vector<sMapCoord> out;
  const cMap& map = world.GetMap();
  for (const cCity* city : world.Cities()) {
    if (city == nullptr || !map.IsInside(city->x, city->y)) continue;
    const sHex& hex = map.GetHex(city->x, city->y);
    if (hex.unit != nullptr || hex.city == nullptr || hex.city->type < 0 || hex.city->type >= kCityResources) continue;
    if (world.GetRelations().IsAtWar(country.id, hex.city->GetControllerId())) out.push_back({city->x, city->y});
  }
  return out;
}

void ClearApproachLists(sAiUnitLists& lists) {
  for (cJednostkaLadowa* unit : lists.enemyLand) unit->secondHexes.clear();
  for (auto* unit : lists.enemyAir) unit->secondHexes.clear();
}

void RegisterApproaches(cWorld& world, const cCountry& country, const std::vector<sReachableHex>& reachable) {
  cMap& map = world.GetMap();
  for (const sReachableHex& e : reachable) {
    if (e.cost >= static_cast<const cJednostka*>(e.unit)->actionPoints) continue;
    for (int side = 0; side < 6; ++side) {
      sHex* hex = map.GetNeighbour(e.x, e.y, side);
      if (hex == nullptr || hex->unit == nullptr) continue;
      if (!world.GetRelations().IsAtWar(country.id, hex->unit->countryId)) continue;
      hex->unit->secondHexes.push_back(e);
    }
  }
}

sAttackPlan BuildPlanFromPlace(cWorld& world, const cCountry& country, const sAiUnitLists& lists,
                               cJednostka& defender) {
  sAttackPlan plan;
  plan.Reset(&defender);
  plan.countryId = country.id;
  cMap& map = world.GetMap();
  for (int side = 0; side < 6 && plan.column < kBestColumn; ++side) {
    sHex* hex = map.GetNeighbour(defender.x, defender.y, side);
    if (hex == nullptr || hex->unit == nullptr || hex->unit->countryId != country.id) continue;
    auto it = std::find(lists.ownLand.begin(), lists.ownLand.end(), hex->unit);
    if (it == lists.ownLand.end() || (*it)->attacked || (*it)->actionPoints <= 0) continue;
    if (StandsOnCity(world, **it)) continue;
    plan.approaches[side] = {*it, (*it)->x, (*it)->y, side, 0};
    plan.planned = true;
    plan.column = SetUpOf(plan).EstimateOddsColumn(world);
  }
  return plan;
}

std::vector<sAttackPlan> BuildMultipleDirectionPlans(cWorld& world, const cCountry& country,
                                                     const sAiUnitLists& lists) {
  std::vector<sAttackPlan> plans;
  for (cJednostkaLadowa* defender : lists.enemyLand) {
    if (defender->wasAttacked || !defender->IsOnMap()) continue;
    sAttackPlan inPlace = BuildPlanFromPlace(world, country, lists, *defender);
    if (inPlace.planned) {
      AddAirSupport(world, lists, inPlace);
      inPlace.Dump(world);
      plans.push_back(inPlace);
    }
    sAttackPlan plan;
    plan.Reset(defender);
    plan.countryId = country.id;
    PrepareWithdrawals(world, country, plan);
    cLandAttack estimate;
    estimate.defender = defender;
    estimate.defenderX = defender->x;
    estimate.defenderY = defender->y;
    // Each pass takes one unit and drops all its entries: it ends.
    while (!defender->secondHexes.empty() && plan.column < kBestColumn) {
      sReachableHex best;
      if (!StrongestApproach(world, *defender, best)) break;
      estimate.SetAttacker(best.direction, static_cast<cJednostka*>(best.unit));
      SetApproach(plan, best);
      plan.column = estimate.EstimateOddsColumn(world);
      cJednostka* chosen = best.unit;
      defender->secondHexes.remove_if([chosen](const sReachableHex& e) { return e.unit == chosen; });
    }
    if (plan.planned) {
      AddAirSupport(world, lists, plan);
      plan.Dump(world);
      plans.push_back(plan);
    }
  }
  return plans;
}

std::vector<sAttackPlan> BuildOneSidePlans(cWorld& world, const cCountry& country, const sAiUnitLists& lists) {
  std::vector<sAttackPlan> plans;
  for (cJednostkaLadowa* defender : lists.enemyLand) {
    if (!defender->IsOnMap()) continue;
    sAttackPlan plan;
    plan.Reset(defender);
    plan.countryId = country.id;
    PrepareWithdrawals(world, country, plan);
    sReachableHex best;
    if (!StrongestApproach(world, *defender, best)) continue;
    SetApproach(plan, best);
    plan.column = SetUpOf(plan).EstimateOddsColumn(world);
    AddAirSupport(world, lists, plan);
    plan.Dump(world);
    plans.push_back(plan);
  }
  return plans;
}

bool CompareAttackPlans(const cWorld& world, const sAttackPlan& a, const sAttackPlan& b) {
  if (a.column != b.column) return a.column < b.column;
  const bool cityA = HexHoldsCity(world, a.defender->x, a.defender->y);
  const bool cityB = HexHoldsCity(world, b.defender->x, b.defender->y);
  if (cityA != cityB) return !cityA;
  return a.cost > b.cost;
}

bool IsPlanUnsafe(const cWorld& world, const cCountry& country, const sAttackPlan& plan) {
  const cMap& map = world.GetMap();
  const int tx = plan.defender->x, ty = plan.defender->y;
  const int reach = country.aiData.maxCoveringUnitDistance;
  std::set<std::pair<int, int>> seen{{tx, ty}};
  std::deque<std::pair<int, int>> open{{tx, ty}};
  while (!open.empty()) {
    const auto [x, y] = open.front();
    open.pop_front();
    for (int side = 0; side < 6; ++side) {
      int nx = -1, ny = -1;
      map.GetNeighbourCoords(x, y, side, nx, ny);
      if (!map.IsInside(nx, ny) || HexDistance(tx, ty, nx, ny) > reach || !seen.insert({nx, ny}).second) continue;
      const cJednostka* unit = map.GetHex(nx, ny).unit;
      if (unit && (unit->countryId == country.id || country.IsAlliedWith(unit->countryId))) return false;
      open.push_back({nx, ny});
    }
  }
  return country.aiData.maxSafeMoveCost <= plan.MinApproachCost();
}

}  // namespace ai
