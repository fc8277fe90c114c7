// The computer opponent's attacks carried out: the obvious moves onto empty
// enemy cities, the execution of one attack plan through the land attack
// rules, and the two attack phases. Units cross the map through the move
// hand-shake with the main thread; the set-up and the battle are the rules'
// own locked steps. Every loop ends when a pass changes nothing in the
// world, and is capped by the number of units besides.
#include <algorithm>
#include <atomic>
#include <cstdint>

#include "ai/ai_attacks.h"
#include "ai/ai_combat_display.h"
#include "ai/ai_helpers.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "rules/land_move_orders.h"
#include "rules/rule_helpers.h"
#include "rules/worker_messages.h"
#include "rules/air_orders.h"
#include "rules/fleet_orders.h"
#include "rules/land_attack.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {
namespace {

bool IsShown(const cWorld& world, const cJednostka& unit) { return unit.visible && world.turnState.showActions; }

// A fingerprint of every land unit's place, action points and strength:
// equal before and after a step when the step changed nothing.
std::uint64_t LandFingerprint(const cWorld& world) {
  std::uint64_t hash = 1469598103934665603ull;
  auto mix = [&hash](std::int64_t value) { hash = (hash ^ static_cast<std::uint64_t>(value)) * 1099511628211ull; };
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    mix(unit->id);
    mix(unit->x);
    mix(unit->y);
    mix(unit->actionPoints);
    mix(unit->strength);
    mix(unit->attacked ? 1 : 0);
    mix(unit->wasAttacked ? 1 : 0);
  }
  mix(static_cast<std::int64_t>(world.Units().landUnits.size()));
  return hash;
}

void NoProgress(const cCountry& country, const wchar_t* step) {
  LogLine(L"[AI] %s: %s - no progress, ending", country.name.c_str(), step);
}

// Moves the unit onto (x, y) through the hand-shake; true when it got there.
bool MoveUnitTo(cWorld& world, cJednostkaLadowa& unit, int x, int y) {
  if (unit.x == x && unit.y == y) return true;
  if (WorkerStopping(world)) return false;
  unit.ComputeMoveRangeOnly(true);
  AiMoveToHex(world, unit, x, y);
  return unit.x == x && unit.y == y;
}

// Moves every entry's unit to its hex, pass after pass so that a unit whose
// hex was still taken moves once the other has left; ends when all stand on
// their hexes or a pass moved nobody.
void MoveAll(cWorld& world, const cCountry& country, const std::array<sAiMove, 6>& moves, const sAttackPlan& plan,
             bool withdrawal, const wchar_t* step) {
  for (int pass = 0; pass < 6; ++pass) {
    bool pending = false, moved = false;
    for (int side = 0; side < 6; ++side) {
      const sAiMove& m = moves[side];
      if (!m.unit || !IsUnitInWorldLists(world, m.unit) || (m.unit->x == m.x && m.unit->y == m.y)) continue;
      // A unit that attacks from the hex it already stands on does not make room.
      if (withdrawal && std::any_of(plan.approaches.begin(), plan.approaches.end(), [&](const sAiMove& a) {
            return a.unit == m.unit && a.x == m.unit->x && a.y == m.unit->y;
          })) {
        continue;
      }
      const int fromX = m.unit->x, fromY = m.unit->y;
      MoveUnitTo(world, *m.unit, m.x, m.y);
      moved = moved || m.unit->x != fromX || m.unit->y != fromY;
      pending = pending || m.unit->x != m.x || m.unit->y != m.y;
    }
    if (!pending) return;
    if (!moved || WorkerStopping(world)) {
      NoProgress(country, step);
      return;
    }
  }
}

// A unit both making room and attacking, whose attack hex is held by another
// of the plan's attackers: the moves would block each other.
bool MovesCross(const cWorld& world, const sAttackPlan& plan) {
  const cMap& map = world.GetMap();
  for (const sAiMove& w : plan.withdrawals) {
    if (!w.unit) continue;
    for (const sAiMove& a : plan.approaches) {
      if (a.unit != w.unit || !map.IsInside(a.x, a.y)) continue;
      const cJednostka* holder = map.GetHex(a.x, a.y).unit;
      if (holder == nullptr || holder == w.unit) continue;
      if (std::any_of(plan.approaches.begin(), plan.approaches.end(),
                      [holder](const sAiMove& other) { return other.unit == holder; })) {
        return true;
      }
    }
  }
  return false;
}

// The shore bombardment of a defender on a coastal hex while the odds are
// below the best: the fleet of the sea zone with the most ships able to
// fire, through the shore bombardment rule. False when the defender did not
// survive it.
bool BombardFromTheSea(cWorld& world, const cCountry& country, sAiUnitLists& lists, sAttackPlan& plan, bool shown) {
  const int tx = plan.defender->x, ty = plan.defender->y;
  const cMap& map = world.GetMap();
  if (plan.column >= 7 || plan.defender->category != kCategoryLand || !map.IsInside(tx, ty)) return true;
  const sHex& hex = map.GetHex(tx, ty);
  if (!hex.IsLand() || hex.seaZone == 0) return true;
  cFleet* fleet = LockedStep([&] { return world.SelectShoreBombardmentFleet(country.id, hex.seaZone); });
  if (fleet == nullptr) return true;
  sBombardmentResult result;
  if (ShoreBombard(world, *fleet, tx, ty, result) != eFleetOrderRefusal::kNone) return true;
  if (shown) ShowComputerCombatResultAndWait(world, result);
  BuildUnitLists(world, country, lists);
  if (!IsUnitInWorldLists(world, plan.defender)) return false;
  plan.column = EstimatePlanColumn(world, plan);
  return true;
}

// Tactical bombers strike the defender through the bombardment rule while
// the odds are below the best and strikes are likely to get through; false
// when the defender did not survive them. Each strike spends a bomber's
// point or drops a bomber the rule refuses, so the loop ends.
bool StrikeFromTheAir(cWorld& world, const cCountry& country, sAiUnitLists& lists, sAttackPlan& plan, bool shown) {
  const int tx = plan.defender->x, ty = plan.defender->y;
  int strikesLeft = 0;
  for (cJednostkaLotnicza* unit : plan.strikeUnits) strikesLeft += std::max(unit->actionPoints, 0);
  while (plan.defender->category == kCategoryLand && plan.column < 7 && !plan.strikeUnits.empty() &&
         plan.goodStrikes > 0 && strikesLeft-- > 0 && !WorkerStopping(world)) {
    cJednostkaLotnicza* bomber = plan.strikeUnits.front();
    sBombardmentResult result;
    if (AirBombardment(world, *bomber, tx, ty, result, &country) != eAirOrderRefusal::kNone) {
      plan.strikeUnits.erase(plan.strikeUnits.begin());
      plan.CountGoodStrikes();
      continue;
    }
    if (result.Flag(kFlagStoppedByInterception)) {
      LogLine(L"Przechwycenie udane, nici z ataku!");
    } else if (result.Flag(kFlagIntercepted)) {
      LogLine(L"Przechwycenie nieudane, bombardujemy!");
    }
    if (shown) ShowComputerCombatResultAndWait(world, result);
    // The strike may have killed the defender or the bomber.
    BuildUnitLists(world, country, lists);
    if (!IsUnitInWorldLists(world, plan.defender)) {
      LogLine(L"Obronca nie przezyl bombardowania... koniec ataku");
      return false;
    }
    plan.column = EstimatePlanColumn(world, plan);
    plan.CollectStrikeUnits(world, lists);
    plan.CollectInterceptors(world);
    plan.CountGoodStrikes();
  }
  return true;
}

// Bombardment from the sea and air strikes, then makes room, moves the attackers in and fights; true
// when the battle was fought or the defender fell to the strikes.
bool MoveInAndFight(cWorld& world, const cCountry& country, sAiUnitLists& lists, sAttackPlan& plan, bool shown) {
  if (!BombardFromTheSea(world, country, lists, plan, shown)) return true;
  if (!StrikeFromTheAir(world, country, lists, plan, shown)) return true;
  plan.Dump(world);
  MoveAll(world, country, plan.withdrawals, plan, true, L"withdrawals before an attack");
  MoveAll(world, country, plan.approaches, plan, false, L"approaches of an attack");
  if (WorkerStopping(world) || !IsUnitInWorldLists(world, plan.defender)) return false;
  // The battle through the rules: attackers standing next to the defender.
  bool opened = false;
  for (const sAiMove& m : plan.approaches) {
    if (!m.unit || !IsUnitInWorldLists(world, m.unit)) continue;
    const eAttackRefusal refusal =
        opened ? AddAttacker(world, *m.unit) : NewAttack(world, *plan.defender, *m.unit, false);
    if (refusal == eAttackRefusal::kNone) {
      opened = true;
    } else {
      LogLine(L"[AI %s] %s nie atakuje: %hs", country.name.c_str(), m.unit->name.c_str(), AttackRefusalKey(refusal));
    }
  }
  if (!opened) return false;
  // The player watching the attack sees the attackers gathered a second,
  // unless the player has set the computer's combat pause to nothing.
  if (shown && DelayMs(kDelayAICombatBefore) > 0) StoppableDelay(world, 1000, __FILE__, __LINE__);
  sBombardmentResult result;
  const eAttackRefusal refusal = ExecuteAttack(world, result);
  if (refusal != eAttackRefusal::kNone) {
    LogLine(L"[AI %s] Atak odrzucony: %hs", country.name.c_str(), AttackRefusalKey(refusal));
    LockedStep([&world] { world.turnState.ClearAttack(); });
  }
  // The battle may have killed units on either side.
  DropDeadUnits(world, lists);
  if (refusal != eAttackRefusal::kNone) return false;
  if (shown) ShowComputerCombatResultAndWait(world, result);
  return true;
}

using BuildPlans = std::vector<sAttackPlan> (*)(cWorld&, const cCountry&, const sAiUnitLists&);

// One attack phase: obvious moves first, then the search, the sorted walk
// from the best plan and at most one execution per search.
int AttackPhase(cWorld& world, const cCountry& country, sAiUnitLists& lists, BuildPlans build,
                const wchar_t* listTitle, bool (*acceptable)(const cCountry&, const sAttackPlan&),
                const wchar_t* closing) {
  int battles = 0;
  // Each fought battle spends an attacker's action points: at most one
  // search per own unit and one more that finds nothing.
  const std::size_t searches = lists.ownLand.size() + 1;
  for (std::size_t search = 0; search < searches && !WorkerStopping(world); ++search) {
    for (std::size_t move = 0; move <= lists.ownLand.size(); ++move) {
      const std::vector<sReachableHex> reachable =
          CollectReachableHexesNear(world, lists, false, FreeEnemyCityHexes(world, country), 0);
      if (!FindObviousMove(world, country, reachable)) break;
    }
    BuildUnitLists(world, country, lists);
    std::vector<sAttackPlan> plans;
    {
      // The search only reads the world: its many lines are written at its end.
      const cConsoleLogBatch batch;
      const std::vector<sReachableHex> reachable =
          CollectReachableHexesNear(world, lists, true, EnemyUnitHexes(world, country), 1);
      ClearApproachLists(lists);
      RegisterApproaches(world, country, reachable);
      plans = build(world, country, lists);
      ClearApproachLists(lists);
    }
    if (plans.empty()) {
      if (closing) LogLine(L"%s", closing);
      return battles;
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [&world](const sAttackPlan& a, const sAttackPlan& b) { return CompareAttackPlans(world, a, b); });
    {
      const cConsoleLogBatch batch;
      LogLine(L"%s", listTitle);
      for (const sAttackPlan& plan : plans) plan.DumpShort(world);
    }
    const std::uint64_t before = LandFingerprint(world);
    bool executed = false;
    for (auto it = plans.rbegin(); it != plans.rend() && !executed; ++it) {
      if (!acceptable(country, *it) || IsPlanUnsafe(world, country, *it)) continue;
      executed = ExecuteAttackPlan(world, country, lists, *it);
      // Units may have moved or died: the remaining plans are stale.
      if (!executed && LandFingerprint(world) != before) break;
    }
    BuildUnitLists(world, country, lists);
    if (executed) ++battles;
    if (LandFingerprint(world) == before) {
      if (closing) LogLine(L"%s", closing);
      return battles;
    }
  }
  return battles;
}

bool MultipleAcceptable(const cCountry& country, const sAttackPlan& plan) {
  const auto& prefs = country.aiData.multipleSideAttackPreferences;
  return plan.column >= prefs[0] || (plan.column >= prefs[1] && plan.goodStrikes >= prefs[2]);
}

bool OneSideAcceptable(const cCountry& country, const sAttackPlan& plan) {
  return plan.column >= country.aiData.oneSideAttackPreferences[0];
}

}  // namespace

bool FindObviousMove(cWorld& world, const cCountry& country, const std::vector<sReachableHex>& reachable) {
  LogLine(L"[AI-RO] SZUKANIE RUCHÓW OCZYWISTYCH");
  const cMap& map = world.GetMap();
  const sReachableHex* best = nullptr;
  for (const sReachableHex& e : reachable) {
    if (!map.IsInside(e.x, e.y)) continue;
    const sHex& hex = map.GetHex(e.x, e.y);
    if (hex.unit != nullptr || hex.city == nullptr || hex.city->type < 0 || hex.city->type >= kCityResources) continue;
    if (!world.GetRelations().IsAtWar(country.id, hex.city->GetControllerId())) continue;
    const cJednostka& unit = *e.unit;
    if (map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).city != nullptr) continue;
    if (!best || e.cost < best->cost) best = &e;
  }
  if (best == nullptr) return false;
  auto& unit = *static_cast<cJednostkaLadowa*>(best->unit);
  const int tx = best->x, ty = best->y;
  if (IsShown(world, unit)) {
    FollowHexInView(tx, ty);
    StoppableDelay(world, DelayMs(kDelayAIMoveBefore), __FILE__, __LINE__);
  }
  const int fromX = unit.x, fromY = unit.y;
  MoveUnitTo(world, unit, tx, ty);
  if (unit.x == tx && unit.y == ty) unit.SetAiOrder(world, 7, tx, ty, 0);
  return unit.x != fromX || unit.y != fromY;
}

bool ExecuteAttackPlan(cWorld& world, const cCountry& country, sAiUnitLists& lists, sAttackPlan& plan) {
  if (plan.defender == nullptr || !IsUnitInWorldLists(world, plan.defender) || MovesCross(world, plan)) return false;
  const int tx = plan.defender->x, ty = plan.defender->y;
  const bool shown = IsShown(world, *plan.defender);
  if (shown) ShowCombatTarget(world, tx, ty);
  const bool fought = MoveInAndFight(world, country, lists, plan, shown);
  if (shown) ClearCombatTarget(world, tx, ty);
  return fought;
}

int MultipleDirectionAttacks(cWorld& world, const cCountry& country, sAiUnitLists& lists) {
  LogLine(L"[AI] ATAKI WIELOKIERUNKOWE");
  return AttackPhase(world, country, lists, &BuildMultipleDirectionPlans,
                     L"================= LISTA ATAKÓW WIELOKIER SORT !!!!=============", &MultipleAcceptable,
                     L"Nie było mozliwosci zrobienia ataku wielokier. na 5:1 lub lepiej, kończe wiec");
}

int OneSideAttacks(cWorld& world, const cCountry& country, sAiUnitLists& lists) {
  LogLine(L"[AI] ATAKI JEDNOKIERUNKOWE");
  return AttackPhase(world, country, lists, &BuildOneSidePlans,
                     L"================= LISTA ATAKÓW JEDN. SORT !!!!=============", &OneSideAcceptable, nullptr);
}

}  // namespace ai
