#include "rules/strategic_move.h"

#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/strategic_movement.h"
#include "world/worker_steps.h"
#include "world/world.h"

const char* StrategicMoveRefusalKey(eStrategicMoveRefusal refusal) {
  switch (refusal) {
    case eStrategicMoveRefusal::kNone: return nullptr;
    case eStrategicMoveRefusal::kNotOnMap: return "air_order_impossible_not_on_map";
    case eStrategicMoveRefusal::kNotOwnUnit: return "attack_impossible_not_own_unit";
    case eStrategicMoveRefusal::kNoPoints: return StrategicMoveBlockKey(eStrategicMoveBlock::kNoPoints);
    case eStrategicMoveRefusal::kNotFullActionPoints:
      return StrategicMoveBlockKey(eStrategicMoveBlock::kNotFullActionPoints);
    case eStrategicMoveRefusal::kNoSupplySource: return StrategicMoveBlockKey(eStrategicMoveBlock::kNoSupplySource);
    case eStrategicMoveRefusal::kOutOfSupply: return StrategicMoveBlockKey(eStrategicMoveBlock::kOutOfSupply);
    case eStrategicMoveRefusal::kTargetOffMap: return "air_order_impossible_target_off_map";
    case eStrategicMoveRefusal::kNotDestination: return "strategic_move_impossible_not_destination";
  }
  return nullptr;
}

eStrategicMoveRefusal CheckStrategicMove(const cWorld& world, const cJednostka& unit, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(unit.x, unit.y) || map.GetHex(unit.x, unit.y).unit != &unit) {
    return eStrategicMoveRefusal::kNotOnMap;
  }
  if (unit.countryId != world.turnState.CurrentCountryId()) return eStrategicMoveRefusal::kNotOwnUnit;
  switch (GetStrategicMoveBlock(world, unit)) {
    case eStrategicMoveBlock::kNone: break;
    case eStrategicMoveBlock::kNoPoints: return eStrategicMoveRefusal::kNoPoints;
    case eStrategicMoveBlock::kNotFullActionPoints: return eStrategicMoveRefusal::kNotFullActionPoints;
    case eStrategicMoveBlock::kNoSupplySource: return eStrategicMoveRefusal::kNoSupplySource;
    case eStrategicMoveBlock::kOutOfSupply: return eStrategicMoveRefusal::kOutOfSupply;
  }
  if (!map.IsInside(x, y)) return eStrategicMoveRefusal::kTargetOffMap;
  if (!IsStrategicMoveTarget(world, unit, x, y)) return eStrategicMoveRefusal::kNotDestination;
  return eStrategicMoveRefusal::kNone;
}

eStrategicMoveRefusal OrderStrategicMove(cWorld& world, cJednostka& unit, int x, int y) {
  return LockedStep([&] {
    const eStrategicMoveRefusal refusal = CheckStrategicMove(world, unit, x, y);
    if (refusal != eStrategicMoveRefusal::kNone) return refusal;
    unit.StrategicMove(world, x, y);
    return eStrategicMoveRefusal::kNone;
  });
}
