// The amphibious landing of a carried land unit, the player's and the
// computer opponent's.
#include "rules/amphibious_invasion.h"
#include "rules/rule_helpers.h"
#include "rules/worker_messages.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/land_attack_plan.h"
#include "world/landings.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/transport_tables.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// The mark of the hex a computer landing attacks.
constexpr std::uint32_t kMarkAttacked = 2;

// The unit leaves the list of carried units for the map list (still without
// a hex) and its ship is used up; the ship's death leaves the cargo alive.
void Disembark(cWorld& world, cJednostkaLadowa& unit) {
  sUnitLists& lists = world.Units();
  lists.carriedUnitsA.remove(&unit);
  lists.carriedUnitsB.remove(&unit);
  lists.landUnits.push_back(&unit);
  if (cJednostkaMorska* ship = unit.transport) ship->Kill(false);
  unit.transport = nullptr;
  unit.transporterId = -1;
}

// The battle of the landing unit against the unit on (x, y) with the
// assault penalty on its effectiveness, then the decision when both stand.
// True when the beach is taken (the hex is then free).
bool FightForBeach(cWorld& world, cJednostkaLadowa& unit, cJednostka& defender, int x, int y,
                   sBombardmentResult& result) {
  const sScenarioConstants& k = world.constants;
  cLandAttack attack;
  attack.Clear();
  attack.defender = &defender;
  attack.defenderX = x;
  attack.defenderY = y;
  attack.attackers[0] = &unit;
  const float penalty = transport_tables::AmphibiousAssaultPenalty(k);
  unit.effectiveness = std::clamp(static_cast<int>(100.0f - penalty * 100.0f), 0, 100);
  // The battle plays the combat sound for a defender the player sees.
  if (!defender.visible) PlayLandingCombatSound();
  attack.Resolve(world, result);
  // The battle forgets a unit it killed (a defender that surrendered too).
  if (attack.attackers[0] == nullptr) return false;
  if (attack.defender == nullptr) {
    unit.effectiveness = 100;
    return true;
  }
  const float held = defender.GetEffectiveCombatStrength() * static_cast<float>(transport_tables::LandingDecisionFactor(k));
  if (held > unit.GetEffectiveCombatStrength()) {
    LogLine(L"Amphibious invasion of %s repelled by %s", unit.name, defender.name);
    unit.Kill();
    return false;
  }
  LogLine(L"Amphibious invasion of %s destroys %s", unit.name, defender.name);
  defender.Kill();
  return true;
}

// The landed unit on its hex: full supply, effectiveness, the hex's
// control, action points anew.
void PlaceOnBeach(cWorld& world, cJednostkaLadowa& unit, int x, int y) {
  cMap& map = world.GetMap();
  sHex& hex = map.GetHex(x, y);
  unit.SetSupply(world.constants.maxSupply);
  unit.UpdateEffectiveness();
  unit.transport = nullptr;
  unit.x = x;
  unit.y = y;
  hex.unit = &unit;
  SetHexController(map, hex, unit.countryId);
  unit.ResetActionPoints();
}

const wchar_t* SeaNodeName(const cWorld& world, const sHex& hex) {
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(hex.seaZone);
  return node ? node->name.c_str() : L"";
}

}  // namespace

eTransportRefusal CheckAmphibiousInvasion(const cWorld& world, const cJednostkaLadowa& unit, int x, int y) {
  if (unit.transport == nullptr || unit.transport->carriedUnit != &unit) return eTransportRefusal::kNoCargo;
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return eTransportRefusal::kTargetOffMap;
  const sHex& hex = map.GetHex(x, y);
  if (!hex.IsLand()) return eTransportRefusal::kNotUnloadHex;
  if (hex.unit != nullptr && !AreAtWar(world, unit.countryId, hex.unit->countryId)) {
    return eTransportRefusal::kFriendlyOnBeach;
  }
  return eTransportRefusal::kNone;
}

namespace {

// The loss of a landing no defender opposes: a die on the unopposed-landing
// table. (The player's landing rolls it only off a wholly friendly hex; the
// computer's rolls it on every hex and keeps the loss only when it kills.)
int RollUnopposedLandingLoss(const cWorld& world) {
  return transport_tables::UnopposedLandingLoss(world.constants, RandomRange(1, 6));
}

}  // namespace

eTransportRefusal AmphibiousInvasion(cWorld& world, cJednostkaLadowa& unit, int x, int y, sLandingOutcome& outcome) {
  const cFrameworkLockGuard lock;
  const eTransportRefusal refusal = CheckAmphibiousInvasion(world, unit, x, y);
  if (refusal == eTransportRefusal::kFriendlyOnBeach) {
    LogLine(L"Critical Error: Cannot assault with a friendly unit during the amphibious invasion!");
  }
  if (refusal != eTransportRefusal::kNone) return refusal;
  cMap& map = world.GetMap();
  const sHex& hex = map.GetHex(x, y);
  const float f = unit.GetBaseStrength() / 100.0f;
  Disembark(world, unit);
  unit.visible = true;
  outcome = sLandingOutcome{};
  if (cJednostka* defender = hex.unit) {
    outcome.opposed = true;
    outcome.landed = FightForBeach(world, unit, *defender, x, y, outcome.result);
  } else {
    const float before = unit.GetCombatStrength();
    int loss = 0;
    if (!IsHexFullyFriendly(world, hex, unit.countryId)) {
      loss = RollUnopposedLandingLoss(world);
      unit.AddStrength(static_cast<float>(-loss));
    }
    const float after = std::max(0.0f, unit.GetCombatStrength());
    outcome.landed = unit.GetCombatStrength() >= kDestroyedBelow;
    const char* key = outcome.landed ? "invasion_no_enemy_success_unit_losses_strength"
                                     : "invasion_no_enemy_fail_unit_losses_strength";
    outcome.text = plat::Format(Text(key), static_cast<double>(before), static_cast<double>(loss) * f,
                                static_cast<double>(after));
    outcome.title = plat::Format(Text("invasion_no_enemy_title"), SeaNodeName(world, hex));
    if (!outcome.landed) unit.Kill();
  }
  if (outcome.landed) {
    PlaceOnBeach(world, unit, x, y);
    unit.RevealUnitsAround(world, false);
  }
  return eTransportRefusal::kNone;
}

bool AiAmphibiousInvasion(cWorld& world, cJednostkaLadowa& unit, int x, int y) {
  LogLine(Text("ai_unloading_amphib_unit_%s_to_hex_(%i,_%i)"), unit.name, x, y);
  // The check and the unit off its ship in one step; whether the player
  // sees the landing is decided with the unit on the target hex for the
  // moment.
  bool shown = false;
  bool visible = false;
  cJednostka* defender = nullptr;
  const eTransportRefusal refusal = LockedStep([&] {
    const eTransportRefusal checked = CheckAmphibiousInvasion(world, unit, x, y);
    if (checked != eTransportRefusal::kNone) return checked;
    Disembark(world, unit);
    unit.visible = false;
    unit.x = x;
    unit.y = y;
    unit.UpdateSpottedBy(world, world.turnState.viewCountry);
    unit.x = -1;
    unit.y = -1;
    visible = unit.visible;
    shown = visible && world.turnState.showActions;
    defender = world.GetMap().GetHex(x, y).unit;
    return eTransportRefusal::kNone;
  });
  if (refusal == eTransportRefusal::kFriendlyOnBeach) {
    LogLine(L"Critical Error: Cannot assault with a friendly unit during the amphibious invasion!");
  }
  if (refusal != eTransportRefusal::kNone) return false;
  if (shown) {
    FollowHexInView(x, y);
    LockedStep([&] { unit.visible = false; });
    StoppableDelay(world, DelayMs(kDelayAIMoveBefore), __FILE__, __LINE__);
    LockedStep([&] { unit.visible = true; });
    StoppableDelay(world, DelayMs(kDelayAIMoveAfter), __FILE__, __LINE__);
  }

  bool landed = false;
  if (defender != nullptr) {
    if (visible) {
      StoppableDelay(world, DelayMs(kDelayAICombatBefore), __FILE__, __LINE__);
      LockedStep([&] { SetHexMark(world.GetMap(), world.GetMap().GetHex(x, y), kMarkAttacked, -1); });
    }
    sBombardmentResult result;
    // The defender may have left or died while the worker waited.
    landed = LockedStep([&] {
      if (world.GetMap().GetHex(x, y).unit != defender) defender = world.GetMap().GetHex(x, y).unit;
      if (defender == nullptr) return true;
      return FightForBeach(world, unit, *defender, x, y, result);
    });
    // A unit killed in the landing is not read again.
    if (visible) {
      StoppableDelay(world, DelayMs(kDelayAICombatAfter), __FILE__, __LINE__);
      ShowComputerCombatResultAndWait(world, result);
      LockedStep([&] { ClearHexMark(world.GetMap(), world.GetMap().GetHex(x, y), kMarkAttacked, false); });
    }
    if (!landed) return false;
  } else {
    landed = LockedStep([&] {
      const int loss = RollUnopposedLandingLoss(world);
      unit.AddStrength(static_cast<float>(-loss));
      if (unit.GetCombatStrength() < kDestroyedBelow) {
        unit.Kill();
        return false;
      }
      unit.AddStrength(static_cast<float>(loss));
      return true;
    });
    if (!landed) return false;
  }
  landed = LockedStep([&] {
    if (world.GetMap().GetHex(x, y).unit != nullptr) {
      // Someone took the beach while the worker waited: the landing force
      // is lost at sea.
      LogLine(L"Amphibious invasion of %s: hex (%i, %i) is taken, the unit is lost", unit.name, x, y);
      unit.Kill();
      return false;
    }
    PlaceOnBeach(world, unit, x, y);
    return true;
  });
  if (landed && visible) StoppableDelay(world, DelayMs(kDelayAIMoveAfter), __FILE__, __LINE__);
  return landed;
}
