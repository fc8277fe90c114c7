#include "rules/air_orders.h"

#include "app/framework_lock.h"
#include "app/settings.h"
#include "rules/rule_helpers.h"
#include "world/world_view.h"
#include "world/worker_steps.h"
#include "world/air_strikes.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/reconnaissance.h"
#include "world/sea_graph.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

eAirOrderRefusal CheckUnit(const cWorld& world, const cJednostkaLotnicza& unit) {
  if (!unit.IsOnMap() || unit.inReserve) return eAirOrderRefusal::kNotOnMap;
  if (unit.countryId != world.turnState.CurrentCountryId()) return eAirOrderRefusal::kNotOwnUnit;
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal CheckMission(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y) {
  const eAirOrderRefusal base = CheckUnit(world, unit);
  if (base != eAirOrderRefusal::kNone) return base;
  if (unit.actionPoints < 1) return eAirOrderRefusal::kNoActionPoints;
  if (!world.GetMap().IsInside(x, y)) return eAirOrderRefusal::kTargetOffMap;
  return eAirOrderRefusal::kNone;
}

// An attacker that fell below 0.1 strength in its own mission is removed by
// the order that sent it.
void RemoveIfDestroyed(const cWorld& world, cJednostkaLotnicza& unit, const sBombardmentResult& result) {
  if (result.Flag(kFlagAttackerDestroyed) && IsUnitInWorldLists(world, &unit)) unit.Kill();
}

}  // namespace

const char* AirOrderRefusalKey(eAirOrderRefusal refusal) {
  switch (refusal) {
    case eAirOrderRefusal::kNone:
      return nullptr;
    case eAirOrderRefusal::kNotOnMap:
      return "air_order_impossible_not_on_map";
    case eAirOrderRefusal::kNotOwnUnit:
      return "attack_impossible_not_own_unit";
    case eAirOrderRefusal::kNotFighter:
      return "unitpanel_airfight_icon_hint_not_airfighter_unit";
    case eAirOrderRefusal::kNotBomber:
      return "unitpanel_bombardment_icon_hint_not_bomber_unit";
    case eAirOrderRefusal::kNotStrategicBomber:
      return "unitpanel_nuclear_icon_hint_not_strategic_bomber";
    case eAirOrderRefusal::kNoActionPoints:
      return "attack_impossible_no_action_points";
    case eAirOrderRefusal::kNotFullActionPoints:
      return "air_order_impossible_not_full_ap";
    case eAirOrderRefusal::kSupplyTooLow:
      return "air_order_impossible_supply_too_low";
    case eAirOrderRefusal::kReconDone:
      return "unitpanel_recon_icon_hint_already_performed";
    case eAirOrderRefusal::kNoNuclearBomb:
      return "unitpanel_nuclear_icon_hint_no_nuclear_bomb";
    case eAirOrderRefusal::kTargetOffMap:
      return "air_order_impossible_target_off_map";
    case eAirOrderRefusal::kOutOfRange:
      return "air_order_impossible_out_of_range";
    case eAirOrderRefusal::kTargetNotFree:
      return "air_order_impossible_target_not_free";
    case eAirOrderRefusal::kTargetNotFriendly:
      return "air_order_impossible_target_not_friendly";
    case eAirOrderRefusal::kNoTarget:
      return "air_order_impossible_no_target";
  }
  return nullptr;
}

eAirOrderRefusal CheckRebase(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y) {
  const eAirOrderRefusal base = CheckUnit(world, unit);
  if (base != eAirOrderRefusal::kNone) return base;
  if (unit.actionPoints != unit.startingActionPoints) return eAirOrderRefusal::kNotFullActionPoints;
  if (!unit.CanRebaseNow(world)) return eAirOrderRefusal::kSupplyTooLow;
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return eAirOrderRefusal::kTargetOffMap;
  if (!unit.IsWithin(world, x, y, unit.GetRebaseRange(world))) return eAirOrderRefusal::kOutOfRange;
  if (map.GetHex(x, y).unit) return eAirOrderRefusal::kTargetNotFree;
  if (!unit.IsRebaseHex(world, x, y)) return eAirOrderRefusal::kTargetNotFriendly;
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal Rebase(cWorld& world, cJednostkaLotnicza& unit, int x, int y, bool sound) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckRebase(world, unit, x, y);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  unit.Rebase(world, x, y, sound);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal CheckAirFight(const cWorld& world, const cJednostkaLotnicza& attacker, int x, int y,
                               const cCountry* sight) {
  if (attacker.type != kUnitFighter) return eAirOrderRefusal::kNotFighter;
  const eAirOrderRefusal base = CheckMission(world, attacker, x, y);
  if (base != eAirOrderRefusal::kNone) return base;
  if (!attacker.IsWithin(world, x, y, attacker.GetRange(world))) return eAirOrderRefusal::kOutOfRange;
  if (!attacker.IsAirFightTarget(world, x, y, sight)) return eAirOrderRefusal::kNoTarget;
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal AirFight(cWorld& world, cJednostkaLotnicza& attacker, int x, int y, sBombardmentResult& result,
                          const cCountry* sight) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckAirFight(world, attacker, x, y, sight);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  auto* defender = dynamic_cast<cJednostkaLotnicza*>(world.GetMap().GetHex(x, y).unit);
  if (!defender) return eAirOrderRefusal::kNoTarget;
  defender->AirFight(world, result, &attacker);
  RemoveIfDestroyed(world, attacker, result);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal AiAirFight(cWorld& world, cJednostkaLotnicza& attacker, int x, int y, sBombardmentResult& result,
                            const cCountry& sight) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckAirFight(world, attacker, x, y, &sight);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  auto* defender = dynamic_cast<cJednostkaLotnicza*>(world.GetMap().GetHex(x, y).unit);
  if (!defender) return eAirOrderRefusal::kNoTarget;
  if (defender->type != kUnitFighter) {
    if (cJednostkaLotnicza* escort = FindCountryInterceptor(world, defender->countryId, x, y)) {
      if (attacker.ResolveInterception(escort, result)) {
        attacker.AddActionPoints(-1);
        RemoveIfDestroyed(world, attacker, result);
        return eAirOrderRefusal::kNone;
      }
    }
  }
  defender->AirFight(world, result, &attacker);
  RemoveIfDestroyed(world, attacker, result);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal CheckAirBombardment(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y,
                                     const cCountry* sight) {
  if (unit.type != kUnitTacticalBomber && unit.type != kUnitStrategicBomber) return eAirOrderRefusal::kNotBomber;
  const eAirOrderRefusal base = CheckMission(world, unit, x, y);
  if (base != eAirOrderRefusal::kNone) return base;
  if (!unit.IsBombardmentTarget(world, x, y, sight)) {
    const sHex& hex = world.GetMap().GetHex(x, y);
    const bool inRange = hex.IsLand() ? unit.IsWithin(world, x, y, unit.GetRange(world))
                                      : unit.IsWithin(world, x, y, world.constants.bombardmentRange);
    return inRange ? eAirOrderRefusal::kNoTarget : eAirOrderRefusal::kOutOfRange;
  }
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal AirBombardment(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result,
                                const cCountry* sight) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckAirBombardment(world, unit, x, y, sight);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  ResolveHexAirBombardment(world, x, y, unit, result);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal CheckAirRecon(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y) {
  const eAirOrderRefusal base = CheckMission(world, unit, x, y);
  if (base != eAirOrderRefusal::kNone) return base;
  if (unit.reconDone) return eAirOrderRefusal::kReconDone;
  if (!unit.IsWithin(world, x, y, unit.GetReconRange(world))) return eAirOrderRefusal::kOutOfRange;
  if (!unit.IsReconTarget(world, x, y)) return eAirOrderRefusal::kNoTarget;
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal AirRecon(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckAirRecon(world, unit, x, y);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  const sHex& hex = world.GetMap().GetHex(x, y);
  if (hex.IsWater()) {
    unit.ReconSeaZone(world, hex.seaZone, result);
  } else {
    unit.ReconHex(world, x, y, result);
    // A flight over a port that got through looks at the ships lying in it
    // too, with the same chance of missing some as over open water.
    if (result.kind == kCombatRecon && hex.city != nullptr && hex.city->IsPort() && hex.seaNode != 0) {
      if (sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(hex.seaNode)) {
        const sNavalTypeCounts seen = ReconNodeShips(world, *node, unit.countryId, true);
        ReportNodeShips(world, unit.countryId, unit.name.c_str(), *node, seen, result);
      }
    }
  }
  RemoveIfDestroyed(world, unit, result);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal CheckNuclearStrike(const cWorld& world, const cJednostkaLotnicza& unit, int x, int y) {
  if (unit.type != kUnitStrategicBomber) return eAirOrderRefusal::kNotStrategicBomber;
  const cCountry* country = world.GetCountry(unit.countryId);
  if (!country || country->nuclearBombs < 1) return eAirOrderRefusal::kNoNuclearBomb;
  const eAirOrderRefusal base = CheckMission(world, unit, x, y);
  if (base != eAirOrderRefusal::kNone) return base;
  if (!unit.IsWithin(world, x, y, unit.GetRange(world))) return eAirOrderRefusal::kOutOfRange;
  if (!unit.IsNuclearTarget(world, x, y)) return eAirOrderRefusal::kNoTarget;
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal NuclearStrike(cWorld& world, cJednostkaLotnicza& unit, int x, int y, sBombardmentResult& result) {
  const cFrameworkLockGuard lock;
  const eAirOrderRefusal refusal = CheckNuclearStrike(world, unit, x, y);
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  unit.AddActionPoints(-1);
  unit.NuclearStrike(world, x, y, result);
  return eAirOrderRefusal::kNone;
}

eAirOrderRefusal AiRebase(cWorld& world, cJednostkaLotnicza& unit, int x, int y) {
  const eAirOrderRefusal refusal = LockedStep([&] { return CheckRebase(world, unit, x, y); });
  if (refusal != eAirOrderRefusal::kNone) return refusal;
  const bool shown = unit.visible && world.turnState.showActions;
  const int fromX = unit.x, fromY = unit.y;
  if (shown) {
    unit.PlayFlyingSound();
    FollowHexInView(fromX, fromY);
    StoppableDelay(world, DelayMs(kDelayAIMoveBefore), __FILE__, __LINE__);
    StoppableDelay(world, DelayMs(kDelayAIMoveBetween), __FILE__, __LINE__);
    FollowHexInView(x, y);
    StoppableDelay(world, DelayMs(kDelayAIMoveBetween), __FILE__, __LINE__);
  }
  // The player's rebase, its check asked again (the sound, when shown, has
  // been played before the delays).
  const eAirOrderRefusal done = Rebase(world, unit, x, y, false);
  if (done != eAirOrderRefusal::kNone) return done;
  if (shown) StoppableDelay(world, DelayMs(kDelayAIMoveAfter), __FILE__, __LINE__);
  return eAirOrderRefusal::kNone;
}
