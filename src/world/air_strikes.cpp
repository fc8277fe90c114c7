// The strike of a cell from the air (or by a ship's guns and aircraft): who
// intercepts, which target is struck, and the report texts.
#include "world/air_strikes.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/sound.h"
#include "world/air_sound.h"
#include "app/string_base.h"
#include "world/air_tables.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kResultAirLand = 2;
constexpr int kResultAirSea = 3;
constexpr int kResultNavalLand = 8;
constexpr int kResultNavalSea = 9;


// Whether a and b are at war; id 0 (land nobody controls) is at war with
// nobody.
bool AtWar(const cWorld& world, int a, int b) {
  if (a <= 0 || b <= 0) return false;
  const cCountry* country = world.GetCountry(a);
  return country && country->IsAtWarWith(b);
}

bool OwnOrAllied(const cWorld& world, int country, int other) {
  if (country <= 0 || other <= 0) return false;
  if (country == other) return true;
  const cCountry* c = world.GetCountry(country);
  return c && c->IsAlliedWith(other);
}

int Power(const cWorld& world, const cJednostkaLotnicza& fighter) {
  return InterceptionBonus(world, fighter.supply) + fighter.level + static_cast<int>(fighter.strength);
}

// The land interceptor search over fighters that pass the test.
template <class Test>
cJednostkaLotnicza* BestFighter(const cWorld& world, int x, int y, Test&& test) {
  LogLine(L"Searching for interceptor while attacking hex (%i, %i / land)", x, y);
  const int least = air_tables::MinInterceptorStrength(world.constants) / 2;
  cJednostkaLotnicza* best = nullptr;
  int bestPower = 0;
  for (cJednostkaLotnicza* unit : world.Units().airUnits) {
    if (!unit || unit->type != kUnitFighter || !test(*unit)) continue;
    if (HexDistance(unit->x, unit->y, x, y) > unit->GetRange(world)) continue;
    if (unit->strength <= static_cast<float>(least)) continue;
    const int power = Power(world, *unit);
    LogLine(L"Possible interceptor: %s, power: %i", unit->name.c_str(), power);
    if (!best || power > bestPower) {
      LogLine(L"Interceptor above is best so far!");
      best = unit;
      bestPower = power;
    }
  }
  LogLine(best ? L"Searching for interceptor finished" : L"Searching for interceptor finished, no interceptor found");
  return best;
}

void KillAttacker(cUnit& attacker) {
  if (auto* ship = dynamic_cast<cJednostkaMorska*>(&attacker)) {
    ship->Kill(true);
  } else {
    attacker.Kill();
  }
}

}  // namespace

cJednostkaLotnicza* FindBestInterceptor(const cWorld& world, int x, int y, int attackingCountry) {
  return BestFighter(world, x, y,
                     [&](const cJednostkaLotnicza& unit) { return AtWar(world, unit.countryId, attackingCountry); });
}

// The fighters of the defending country and its allies.
cJednostkaLotnicza* FindCountryInterceptor(const cWorld& world, int defendingCountry, int x, int y) {
  return BestFighter(world, x, y, [&](const cJednostkaLotnicza& unit) {
    return OwnOrAllied(world, defendingCountry, unit.countryId);
  });
}

cJednostkaMorska* FindBestCarrierInterceptor(const cWorld& world, int seaNodeId, int attackingCountry) {
  // Water that belongs to no sea node: nobody intercepts there.
  if (seaNodeId <= 0) {
    LogLine(L"Searching for interceptor finished, no interceptor found");
    return nullptr;
  }
  const int least = world.constants.carrierMinStrength;
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(seaNodeId);
  LogLine(L"Searching for interceptor while attacking sea node: %s)", node ? node->name.c_str() : L"");
  cJednostkaMorska* best = nullptr;
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    if (!ship || ship->type != kUnitAircraftCarrier || ship->hitPoints < least) continue;
    if (!ship->fleet || ship->fleet->seaNode != seaNodeId) continue;
    if (!AtWar(world, ship->countryId, attackingCountry)) continue;
    LogLine(L"Possible interceptor: %s, power: %i", ship->name.c_str(), ship->hitPoints);
    // The first of equal carriers stays.
    if (!best || ship->hitPoints > best->hitPoints) {
      LogLine(L"Interceptor above is best so far!");
      best = ship;
    }
  }
  LogLine(best ? L"Searching for interceptor finished" : L"Searching for interceptor finished, no interceptor found");
  return best;
}

float GetAirSuperiorityRatio(const cWorld& world, int countryId, int x, int y) {
  const cCountry* country = world.GetCountry(countryId);
  if (!country || !world.GetMap().IsInside(x, y)) return -1.0f;
  const int range = static_cast<int>(air_tables::RangeMultiplier(world.constants, country->techLevel[kTechAircraft]) *
                                     static_cast<float>(air_tables::FighterRange(world.constants)));
  int friendly = 0;
  int enemy = 0;
  const sHex& hex = world.GetMap().GetHex(x, y);
  for (cJednostkaLotnicza* unit : world.Units().airUnits) {
    if (!unit || unit->type != kUnitFighter || HexDistance(unit->x, unit->y, x, y) > range) continue;
    if (OwnOrAllied(world, countryId, unit->countryId)) friendly += static_cast<int>(unit->strength);
    if (hex.IsLand() && AtWar(world, countryId, unit->countryId)) enemy += static_cast<int>(unit->strength);
  }
  if (hex.IsWater() && hex.seaZone > 0) {
    for (cJednostkaMorska* ship : world.Units().navalUnits) {
      if (ship && ship->type == kUnitAircraftCarrier && ship->hitPoints >= world.constants.carrierMinStrength &&
          AtWar(world, countryId, ship->countryId)) {
        enemy += ship->hitPoints;
      }
    }
  }
  if (enemy == 0) return -1.0f;
  return static_cast<float>(friendly) / static_cast<float>(enemy);
}

bool ResolveHexAirBombardment(cWorld& world, int x, int y, cUnit& attacker, sBombardmentResult& result) {
  cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  sHex& hex = map.GetHex(x, y);
  const bool isAir = attacker.category == kCategoryAir;
  auto* air = dynamic_cast<cJednostkaLotnicza*>(&attacker);
  auto* ship = dynamic_cast<cJednostkaMorska*>(&attacker);
  const int defending = hex.IsLand() ? (hex.unit ? hex.unit->countryId : hex.controller) : 0;

  // 1-2: the interception.
  cUnit* interceptor = nullptr;
  if (hex.IsWater()) {
    interceptor = FindBestCarrierInterceptor(world, hex.seaZone, attacker.countryId);
  } else if (defending > 0) {
    interceptor = FindCountryInterceptor(world, defending, x, y);
  }
  if (interceptor && attacker.ResolveInterception(interceptor, result)) {
    if (result.Flag(kFlagAttackerDestroyed)) {
      LogLine(L"Przechwycenie przy bombowaniu heksa udane, ataker zabijany");
      KillAttacker(attacker);
    }
    return false;
  }
  // Both may fall in one interception: the interceptor's loss is decided
  // first and the mission goes on, but a mission unit left without strength
  // flies no further.
  if (interceptor && air && air->strength < 0.1f) {
    result.SetFlag(kFlagAttackerDestroyed);
    LogLine(L"Przechwycenie przy bombowaniu heksa udane, ataker zabijany");
    KillAttacker(attacker);
    return false;
  }

  // 3-4: the sound, the action point, the kind.
  if (attacker.visible) {
    const bool heavy = attacker.type == kUnitStrategicBomber || attacker.type == kUnitAircraftCarrier;
    PlayAirSound(heavy ? SND_STRATEGIC_BOMBARDMENT : SND_AIR_STRIKE);
  }
  if (air) air->AddActionPoints(-1);
  if (ship) ship->airstrikeDone = true;
  if (hex.IsLand()) {
    result.kind = isAir ? kResultAirLand : kResultNavalLand;
  } else {
    result.kind = isAir ? kResultAirSea : kResultNavalSea;
  }
  result.attackerCountry = attacker.countryId;
  result.defenderCountry = defending;

  if (hex.IsWater()) {
    result.attackerText1 += Text("report_bombardment_sea_zone_affected") + L"\n";
    sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(hex.seaZone);
    if (node && node->IsSeaZone()) {
      ResolveSeaNodeAirBombardment(world, *node, attacker, x, y, result);
      if (result.Flag(kFlagAttackerDestroyed)) {
        LogLine(L"Attacker zabity podczas nalotu na hex (sea zone na heksie)");
        KillAttacker(attacker);
      }
    }
    return true;
  }

  // 5.1-5.2: the land unit.
  if (!hex.unit) {
    result.attackerText1 += Text("report_bombardment_no_unit") + L"\n\n";
  } else {
    cJednostka* target = hex.unit;
    target->visible = true;
    if (cCountry* own = attacker.GetCountry()) {
      auto& spotted = own->reconSpottedUnits;
      if (std::find(spotted.begin(), spotted.end(), target) == spotted.end()) spotted.push_back(target);
    }
    result.attackerText1 += Text("report_bombardment_affected_unit") + L"\n";
    target->ResolveAttack(result, &attacker, &hex);
    if (result.Flag(kFlagAttackerDestroyed)) {
      LogLine(L"Attacker zabity podczas nalotu na hex (jednostke na heksie)");
      KillAttacker(attacker);
      return true;
    }
  }
  // 5.3: the city, for strategic bombers and carriers.
  if (attacker.type == kUnitStrategicBomber || attacker.type == kUnitAircraftCarrier) {
    if (!hex.city) {
      result.attackerText1 += Text("report_bombardment_no_city") + L"\n\n";
    } else {
      result.attackerText1 += Text("report_bombardment_affected_city") + L"\n";
      StrategicBombardment(world, *hex.city, attacker, x, y, result);
      if (result.Flag(kFlagAttackerDestroyed)) {
        LogLine(L"Attacker zabity podczas nalotu na hex (miasto na heksie)");
        KillAttacker(attacker);
        result.attackerText1 += Text("report_bombardment_no_port") + L"\n\n";
        return true;
      }
    }
  }
  // 5.4: the port.
  sWezelGrafuMorz* portNode = nullptr;
  if (hex.city && hex.city->IsPort()) {
    const int nodeId = world.GetSeaGraph().FindNodeIdByMainHex(x, y);
    if (nodeId > 0) portNode = world.GetSeaGraph().GetNode(nodeId);
  }
  if (portNode) {
    result.attackerText1 += Text("report_bombardment_port_affected") + L"\n";
    if (!portNode->IsSeaZone()) {
      ResolveSeaNodeAirBombardment(world, *portNode, attacker, x, y, result);
      if (result.Flag(kFlagAttackerDestroyed)) {
        LogLine(L"Attacker zabity podczas nalotu na hex (port na heksie)");
        KillAttacker(attacker);
      }
    }
  } else {
    result.attackerText1 += Text("report_bombardment_no_port") + L"\n\n";
  }
  return true;
}
