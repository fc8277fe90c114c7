// The airborne division's drop.
#include "rules/paradrop.h"

#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/rule_helpers.h"
#include "world/air_strikes.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/landings.h"
#include "world/map.h"
#include "world/transport_tables.h"
#include "world/world.h"

namespace {

// The unit leaves its hex for (x, y) with one action point less; a hex held
// by a country at war with it comes under its control.
void Land(cWorld& world, cJednostkaLadowa& unit, int x, int y) {
  cMap& map = world.GetMap();
  if (map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).unit == &unit) map.GetHex(unit.x, unit.y).unit = nullptr;
  sHex& hex = map.GetHex(x, y);
  unit.x = x;
  unit.y = y;
  hex.unit = &unit;
  if (hex.controller != 0 && AreAtWar(world, unit.countryId, hex.controller)) {
    SetHexController(map, hex, unit.countryId);
  }
  unit.AddActionPoints(-1);
}

}  // namespace

const char* ParadropSuperiorityKey(float ratio, int& modifier) {
  if (ratio < 1.0f / 3.0f) {
    modifier = 2;
    return "enemy_has_total_air_superiority_over_target_hex";
  }
  if (ratio < 0.5f) {
    modifier = 1;
    return "enemy_has_an_air_superiority_over_target_hex";
  }
  if (ratio < 2.0f) {
    modifier = 0;
    return "neither_side_has_an_air_superiority_over_target_hex";
  }
  if (ratio < 3.0f) {
    modifier = -1;
    return "you_have_an_air_superiority_over_target_hex";
  }
  modifier = -2;
  return "you_have_total_air_superiority_over_target_hex";
}

const char* ParadropActivityKey(int roll) {
  switch (std::clamp(roll, 1, 6)) {
    case 1: return "none";
    case 2: return "very_low";
    case 3: return "low";
    case 4: return "medium";
    case 5: return "high";
    default: return "very_high";
  }
}

const char* ParadropLossKey(int loss) {
  if (loss <= 0) return "none";
  if (loss < 33) return "light";
  if (loss < 66) return "medium";
  return "high";
}

eTransportRefusal CheckParadrop(const cWorld& world, cJednostkaLadowa& unit, int x, int y) {
  const cMap& map = world.GetMap();
  if (unit.inReserve || !map.IsInside(unit.x, unit.y) || map.GetHex(unit.x, unit.y).unit != &unit) {
    return eTransportRefusal::kNotOnMap;
  }
  const int current = world.turnState.CurrentCountryId();
  if (current != 0 && unit.countryId != current) return eTransportRefusal::kNotOwnUnit;
  if (!unit.CanAirborneAssault(nullptr)) return eTransportRefusal::kUnitCannot;
  if (!map.IsInside(x, y)) return eTransportRefusal::kTargetOffMap;
  if (map.GetHex(x, y).unit != nullptr || !IsParadropTarget(world, unit, x, y)) {
    return eTransportRefusal::kNotParadropTarget;
  }
  return eTransportRefusal::kNone;
}

eTransportRefusal Paradrop(cWorld& world, cJednostkaLadowa& unit, int x, int y, sLandingOutcome& outcome) {
  const cFrameworkLockGuard lock;
  const eTransportRefusal refusal = CheckParadrop(world, unit, x, y);
  if (refusal != eTransportRefusal::kNone) return refusal;
  outcome = sLandingOutcome{};
  outcome.title = plat::Format(Text("airborne_assault_title_unit%s"), unit.name);
  if (unit.visible) PlayParadropSound();
  const int current = world.turnState.CurrentCountryId();
  const float ratio = GetAirSuperiorityRatio(world, current != 0 ? current : unit.countryId, x, y);
  std::wstring& text = outcome.text;
  if (ratio == -1.0f) {
    text = Text("enemy_has_no_air_forces_over_this_hexlanding_was_successful");
    Land(world, unit, x, y);
    outcome.landed = true;
  } else {
    int modifier = 0;
    text += Text(ParadropSuperiorityKey(ratio, modifier));
    const int roll = std::clamp(RandomRange(1, 6) + modifier, 1, 6);
    text += Text("enemy_air_activity:_") + L" " + Text(ParadropActivityKey(roll));
    const int loss = transport_tables::ParadropLoss(world.constants, roll);
    text += Text("paratroops_losses:_") + L" " + Text(ParadropLossKey(loss));
    unit.SetStrength(std::max(0, unit.strength - loss));
    if (unit.GetCombatStrength() < kDestroyedBelow) {
      text += Text("airborne_unit_eliminated");
      LogLine(L"Paradrop of %s on (%i, %i): the unit is eliminated", unit.name, x, y);
      unit.Kill();
      return eTransportRefusal::kNone;
    }
    text += Text("troops_have_landed");
    Land(world, unit, x, y);
    outcome.landed = true;
  }
  unit.RevealUnitsAround(world, false);
  return eTransportRefusal::kNone;
}
