// The computer's air actions: air fights, strikes on land units and ships
// and strategic bombing, each through the air order rules (which check the
// order and change the world in their own locked step). The lists are
// cleaned of killed units after every action, so no dead unit is read.
#include "ai/ai_air.h"

#include <algorithm>
#include <map>

#include "ai/ai_combat_display.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "platform/rand.h"
#include "rules/air_orders.h"
#include "world/air_strikes.h"
#include "world/air_tables.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// Whether a human reads the results of the country's losses: a player at
// this screen or a play-by-e-mail player.
bool HasHumanPlayer(const cWorld& world, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return country != nullptr && (country->human || country->pbemPlayerId != 0);
}

// Shown when the player sees either unit and the country's actions are
// shown, or when the attacked country is the player's.
bool IsShown(const cWorld& world, const cJednostka& attacker, const cJednostka& attacked) {
  return (world.turnState.showActions && (attacker.visible || attacked.visible)) ||
         HasHumanPlayer(world, attacked.countryId);
}

// The own air units of the type that are still alive, in list order.
std::vector<cJednostkaLotnicza*> OwnOfType(const sAiUnitLists& lists, int type) {
  std::vector<cJednostkaLotnicza*> out;
  for (cJednostkaLotnicza* unit : lists.ownAir) {
    if (unit->type == type && IsUnitInWorldLists(unit)) out.push_back(unit);
  }
  return out;
}

bool Alive(const cJednostka* unit) { return IsUnitInWorldLists(unit); }

// Half the base strength of a land unit's level and type: the least an
// enemy unit must have to be worth a tactical strike.
float LeastStrikeStrength(const cWorld& world, const cJednostkaLadowa& unit) {
  const int level = std::clamp(unit.level, 1, 5);
  const int type = std::clamp(unit.type, 0, 6);
  return world.constants.landBaseStrength[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(type)] / 2.0f;
}

// One pass of the fighters against enemy aircraft of the hunted type.
bool FightAirBattlesWith(cWorld& world, cCountry& country, sAiUnitLists& lists, int huntedType) {
  bool fought = false;
  for (cJednostkaLotnicza* fighter : OwnOfType(lists, kAirFighter)) {
    if (WorkerStopping(world)) break;
    if (!Alive(fighter) || fighter->actionPoints <= 0 || fighter->strength <= 1.0f) continue;
    cJednostkaLotnicza* target = fighter->FindWeakestEnemyAirInRange(huntedType, &country);
    if (target == nullptr) continue;
    const int tx = target->x, ty = target->y;
    cShownCombat display(world, tx, ty, IsShown(world, *fighter, *target));
    LogLine(L"[AI]: %s - %s attacks %s", country.name.c_str(), fighter->name.c_str(), target->name.c_str());
    sBombardmentResult result;
    const eAirOrderRefusal refusal = AiAirFight(world, *fighter, tx, ty, result, country);
    if (refusal != eAirOrderRefusal::kNone) {
      LogLine(L"[AI]: %s - air fight refused (%hs)", country.name.c_str(), AirOrderRefusalKey(refusal));
      continue;
    }
    fought = true;
    display.Report(result);
    DropDeadUnits(world, lists);
  }
  return fought;
}

}  // namespace

bool FightAirBattles(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  LogLine(L"[AI]: %s - Air fights", country.name.c_str());
  bool any = false;
  for (int hunted : {kAirFighter, kAirStrategicBomber, kAirTacticalBomber}) {
    if (FightAirBattlesWith(world, country, lists, hunted)) {
      any = true;
      BuildUnitLists(world, country, lists);
    }
  }
  return any;
}

int StrikeWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  int strikes = 0;
  DropDeadUnits(world, lists);
  for (cJednostkaLotnicza* bomber : OwnOfType(lists, kAirTacticalBomber)) {
    if (WorkerStopping(world) || lists.enemyLand.empty()) break;
    if (!Alive(bomber) || bomber->actionPoints <= 0 || bomber->strength <= 3.0f) continue;
    LogLine(L"bu bu bu petla 2.5");
    const int range = bomber->GetRange();
    cJednostkaLadowa* target = nullptr;
    for (cJednostkaLadowa* enemy : lists.enemyLand) {
      if (HexDistance(bomber->x, bomber->y, enemy->x, enemy->y) >= range) continue;
      const float s = enemy->GetEffectiveCombatStrength();
      if (s < LeastStrikeStrength(world, *enemy)) continue;
      if (target != nullptr && s <= target->GetEffectiveCombatStrength()) continue;
      // A target the bombardment rule refuses (one its side does not see)
      // would cost the bomber its turn for nothing.
      if (CheckAirBombardment(world, *bomber, enemy->x, enemy->y, &country) != eAirOrderRefusal::kNone) continue;
      target = enemy;
    }
    if (target == nullptr) continue;
    LogLine(L"bu bu bu petla 5");
    LogLine(L"[AI]: %s - %s strikes %s", country.name.c_str(), bomber->name.c_str(), target->name.c_str());
    const int tx = target->x, ty = target->y;
    cShownCombat display(world, tx, ty, IsShown(world, *bomber, *target));
    sBombardmentResult result;
    const eAirOrderRefusal refusal = AirBombardment(world, *bomber, tx, ty, result, &country);
    if (refusal != eAirOrderRefusal::kNone) {
      LogLine(L"[AI]: %s - air strike refused (%hs)", country.name.c_str(), AirOrderRefusalKey(refusal));
      continue;
    }
    ++strikes;
    if (result.Flag(kFlagStoppedByInterception)) {
      LogLine(L"Przechwycenie udane, nici z ataku!");
    } else if (result.Flag(kFlagIntercepted)) {
      LogLine(L"Przechwycenie nieudane, bombardujemy!");
    }
    display.Report(result);
    LogLine(L"bu bu bu petla 20");
    DropDeadUnits(world, lists);
  }
  LogLine(L"bu bu bu koniec");
  return strikes;
}

int AttackShipsWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  // One pass over the bombers: each strikes at most once in the turn, so the
  // phase ends however the strikes go.
  int strikes = 0;
  LogLine(L"bu bu bu bu 1");
  for (cJednostkaLotnicza* bomber : OwnOfType(lists, kAirTacticalBomber)) {
    if (WorkerStopping(world)) break;
    if (!Alive(bomber) || bomber->actionPoints <= 0) continue;
    // The sea zones near the bomber with enemy ships it may strike, each by
    // its first hex in reach.
    const int r = air_tables::SeaZoneDistance(world.constants);
    std::map<int, sMapCoord> zones;
    for (int y = bomber->y - r; y <= bomber->y + r; ++y) {
      for (int x = bomber->x - r; x <= bomber->x + r; ++x) {
        if (!bomber->IsWithin(x, y, r)) continue;
        const sHex& hex = world.GetMap().GetHex(x, y);
        if (!hex.IsWater() || hex.seaZone == 0 || zones.count(hex.seaZone) != 0) continue;
        if (CheckAirBombardment(world, *bomber, x, y, &country) == eAirOrderRefusal::kNone) zones[hex.seaZone] = {x, y};
      }
    }
    if (zones.empty()) continue;
    auto pick = zones.begin();
    std::advance(pick, plat::Rand() % static_cast<int>(zones.size()));
    const int zone = pick->first;
    const sMapCoord at = pick->second;
    LogLine(L"bu bu bu bu 5");
    cShownCombat display(
        world, at.x, at.y,
        (bomber->visible && world.turnState.showActions) || world.FindFleetAtSeaNode(zone, country.id) != nullptr);
    // The bomber may be shot down on the way: its name is kept beforehand.
    const std::wstring name = bomber->name;
    sBombardmentResult result;
    const eAirOrderRefusal refusal = AirBombardment(world, *bomber, at.x, at.y, result, &country);
    if (refusal != eAirOrderRefusal::kNone) {
      LogLine(L"[AI]: %s - strike on sea zone %i refused (%hs)", country.name.c_str(), zone,
              AirOrderRefusalKey(refusal));
      continue;
    }
    ++strikes;
    LogLine(L"[AI]: %s - %s struck the ships of sea zone %i", country.name.c_str(), name.c_str(), zone);
    display.Report(result);
    DropDeadUnits(world, lists);
    if (lists.ownAir.empty()) break;
  }
  LogLine(L"bu bu bu bu 20");
  return strikes;
}

int BombardWithAir(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  int raids = 0;
  const double least = world.constants.Value(14, 3) / 2.0;
  for (cJednostkaLotnicza* bomber : OwnOfType(lists, kAirStrategicBomber)) {
    if (WorkerStopping(world)) break;
    if (!Alive(bomber) || bomber->actionPoints <= 0 || bomber->strength < least) continue;
    const int range = bomber->GetRange();
    cCity* target = nullptr;
    for (cCity* city : world.Cities()) {
      const int controller = city->GetControllerId();
      if (controller <= 0 || !country.IsAtWarWith(controller)) continue;
      if (!bomber->IsWithin(city->x, city->y, range)) continue;
      const float ratio = GetAirSuperiorityRatio(world, country.id, city->x, city->y);
      if (static_cast<int>(ratio) != -1 && ratio < world.constants.aiThreshold) continue;
      if (target == nullptr || city->productionPoints > target->productionPoints) target = city;
    }
    if (target == nullptr) continue;
    LogLine(L"[AI]: %s - %s bombs %s", country.name.c_str(), bomber->name.c_str(), target->name.c_str());
    // The report of a raid goes only to a human owner of the city.
    const bool humanTarget = HasHumanPlayer(world, target->GetControllerId());
    cShownCombat display(world, target->x, target->y,
                         (bomber->visible && world.turnState.showActions) || humanTarget);
    sBombardmentResult result;
    const eAirOrderRefusal refusal = AirBombardment(world, *bomber, target->x, target->y, result, &country);
    if (refusal != eAirOrderRefusal::kNone) {
      LogLine(L"[AI]: %s - strategic bombing refused (%hs)", country.name.c_str(), AirOrderRefusalKey(refusal));
      continue;
    }
    ++raids;
    if (humanTarget) display.Report(result);
    DropDeadUnits(world, lists);
  }
  return raids;
}

}  // namespace ai
