// Strikes on ships: the bombardment of a ship, of the ships of a sea zone or
// a port (with the harbour itself), and the nuclear strike on a port.
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_dice.h"
#include "world/air_strikes.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportNavalStrike = 16;


int TechOf(const cUnit& unit, int tech) {
  const cCountry* country = unit.GetCountry();
  return country ? country->techLevel[static_cast<std::size_t>(tech)] : 0;
}


// The ships of the world's fleets at the node, in fleet and ship order.
std::vector<cJednostkaMorska*> ShipsAt(const cWorld& world, int nodeId, int enemyOf) {
  std::vector<cJednostkaMorska*> ships;
  for (cFleet* fleet : world.Units().fleets) {
    if (!fleet || fleet->seaNode != nodeId) continue;
    if (enemyOf > 0) {
      const cCountry* attacker = world.GetCountry(enemyOf);
      if (!attacker || !attacker->IsAtWarWith(fleet->country)) continue;
    }
    for (cJednostkaMorska* ship : fleet->ships) {
      if (ship) ships.push_back(ship);
    }
  }
  return ships;
}

}  // namespace

void cJednostkaMorska::ApplyHitPointFloor() {
  if (!World()) return;
  const int floor =
      static_cast<int>(std::floor(World()->constants.seaBattleValue155 / 100.0f * static_cast<float>(maxHitPoints)));
  if (hitPoints < floor) hitPoints = floor;
}

void cJednostkaMorska::ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex*) {
  if (!World() || !attacker) return;
  const sScenarioConstants& k = World()->constants;
  auto* carrier = dynamic_cast<cJednostkaMorska*>(attacker);
  auto* air = dynamic_cast<cJednostkaLotnicza*>(attacker);
  float attackerStrength = 0.0f;
  if (carrier) {
    attackerStrength = carrier->maxHitPoints > 0 ? static_cast<float>(carrier->hitPoints / carrier->maxHitPoints) : 0;
  } else if (air) {
    attackerStrength = air->GetEffectiveCombatStrength();
  }
  result.attackerCountry = attacker->countryId;
  result.defenderCountry = countryId;
  const int before = hitPoints;
  AddHitPoints(-1.0f);
  if (hitPoints >= 1 && air_dice::Percent() <= k.value183) AddHitPoints(-1.0f);
  if (hitPoints >= 1 && air_dice::Percent() <= k.value184) AddHitPoints(static_cast<float>(-hitPoints));
  const int lost = before - hitPoints;
  result.defenderLosses += static_cast<float>(lost);
  result.defenderText1 += plat::Format(std::wstring(L" - %s %s\n   (%s, %s)\n   Strength lost: %.2f"),
                                       GetSubtypeText(World(), type).c_str(), name.c_str(),
                                       fleet ? fleet->name.c_str() : L"", CountryName(*World(), countryId),
                                       static_cast<double>(lost));
  // A navy level of 0 on either side counts as 1 (no division by nothing).
  const float ratio = static_cast<float>(std::max(1, TechOf(*this, kTechNavy))) /
                      static_cast<float>(std::max(1, TechOf(*attacker, kTechNavy)));
  const int chance =
      static_cast<int>((ratio + (type == kUnitAircraftCarrier ? 1.0f : 0.0f)) * attackerStrength *
                       static_cast<float>(hitPoints));
  if (RandomRange(0, 100) < chance) {
    result.attackerText1 += plat::Format(Text("report_bombardment_naval_unit_attacker_losses_1_strength_point"),
                                         GetSubtypeText(World(), attacker->type).c_str(), fleet ? fleet->name.c_str() : L"",
                                         CountryName(*World(), attacker->countryId));
    if (carrier) {
      carrier->AddHitPoints(-1.0f);
      if (carrier->hitPoints <= 0) {
        result.attackerText1 += Text("report_unit_killed");
        result.SetFlag(kFlagAttackerDestroyed);
      }
    } else if (air && !air->CommanderPreventsLosses()) {
      air->strength -= 1.0f;
      if (air->strength < 0.1f) {
        result.attackerText1 += Text("report_unit_killed");
        result.SetFlag(kFlagAttackerDestroyed);
      }
    }
  }
}

void ResolveSeaNodeAirBombardment(cWorld& world, sWezelGrafuMorz& node, cUnit& attacker, int hx, int hy,
                                  sBombardmentResult& result) {
  (void)hy;
  const sScenarioConstants& k = world.constants;
  std::wstring account;
  if (node.IsSeaZone()) {
    account = plat::Format(Text("report_bombardment_sea_zone"), node.name.c_str());
  } else {
    const cMap& map = world.GetMap();
    const int holder = map.IsInside(hx, hy) ? map.GetHex(hx, hy).controller : 0;
    const cCountry* holderCountry = world.GetCountry(holder);
    const int aircraft = attacker.GetCountry() ? attacker.GetCountry()->techLevel[kTechAircraft] : 0;
    const int artillery = holderCountry ? holderCountry->techLevel[kTechArtillery] : 0;
    const int chance =
        std::clamp(k.airNavalBombard[0] * aircraft - k.airNavalBombard[1] * artillery, 0, 100);
    const int before = node.size;
    if (air_dice::Percent() < chance && node.size >= 2) {
      node.size = std::max(1, node.size - 1);
      result.SetFlag(kFlagPortAffected);
    }
    account = plat::Format(Text("report_bombardment_port"), node.name.c_str(), CountryName(world, holder), before,
                           node.maxSize, node.size, node.maxSize);
  }
  account += L"\n";

  // Which ships are hit.
  std::vector<cJednostkaMorska*> hit;
  float previous = 0.0f;
  auto* air = dynamic_cast<cJednostkaLotnicza*>(&attacker);
  for (cJednostkaMorska* ship : ShipsAt(world, node.id, attacker.countryId)) {
    float raw = static_cast<float>(ship->hitPoints * k.portBombardValues[2] +
                                   (ship->visible ? k.portBombardValues[0] : k.portBombardValues[1]));
    if (air) raw += static_cast<float>(air->GetCommanderBonus());
    if (attacker.type == kUnitStrategicBomber) {
      raw = std::trunc(raw * static_cast<float>(k.portBombardValues[3]) / 100.0f);
    }
    const float chance = std::trunc(raw - 0.25f * static_cast<float>(hit.size()) * previous);
    previous = chance;
    if (static_cast<float>(air_dice::Percent()) < chance) hit.push_back(ship);
  }
  std::set<int> hitCountries;
  if (!hit.empty()) {
    account += Text(node.IsSeaZone() ? "report_bombardment_sea_zone_naval_units_affected"
                                     : "report_bombardment_port_naval_units_affected");
    sBombardmentResult shipResult;
    for (auto it = hit.rbegin(); it != hit.rend(); ++it) {
      cJednostkaMorska* ship = *it;
      hitCountries.insert(ship->countryId);
      account += L"\n";
      shipResult.defenderText1.clear();
      ship->ResolveAttack(shipResult, &attacker, nullptr);
      account += shipResult.defenderText1;
      if (shipResult.Flag(kFlagAttackerDestroyed)) result.SetFlag(kFlagAttackerDestroyed);
      result.attackerText1 += shipResult.attackerText1;
      if (ship->hitPoints <= 0) {
        account += plat::Format(std::wstring(L"\n%s destroyed!\n"), ship->name.c_str());
        ship->Kill(true);
        result.SetFlag(kFlagNavalDefenceDestroyed);
      }
    }
  } else {
    account += Text(node.IsSeaZone() ? "report_bombardment_sea_zone_no_naval_units_affected"
                                     : "report_bombardment_port_no_naval_units_affected");
  }
  account += L"\n\n";
  result.defenderText2 += account;
  result.attackerText1 +=
      plat::Format(Text("report_looses_sea_zone_port_bombardment"), static_cast<float>(hit.size())) + L"\n";

  const std::wstring text = plat::Format(std::wstring(L"%s (%s) attacked %s\n\n"), attacker.name.c_str(),
                                         CountryName(world, attacker.countryId), node.name.c_str()) +
                            account;
  FileReport(world, kReportNavalStrike, attacker.countryId, text);
  for (int id : hitCountries) FileReport(world, kReportNavalStrike, id, text);
}

void ResolveSeaNodeNuclearStrike(cWorld& world, sWezelGrafuMorz& node, sBombardmentResult& result) {
  node.size = 1;
  result.defenderText1 += Text("report_nuclear_on_port_size_decreased") + L"\n";
  std::vector<cJednostkaMorska*> sunk;
  for (cJednostkaMorska* ship : ShipsAt(world, node.id, 0)) {
    if (air_dice::Percent() < 50) sunk.push_back(ship);
  }
  if (sunk.empty()) {
    result.defenderText1 += Text("report_nuclear_on_port_no_naval_units_destroyed") + L"\n";
  } else {
    result.SetFlag(kFlagNavalDefenceDestroyed);
    result.defenderText1 += Text("report_nuclear_on_port_destroyed_naval_units") + L"\n";
    for (cJednostkaMorska* ship : sunk) {
      result.defenderText1 += plat::Format(std::wstring(L" %s - %s (%s)\n"), ship->fleet ? ship->fleet->name.c_str() : L"",
                                           ship->name.c_str(), CountryName(world, ship->countryId));
      ship->Kill(true);
    }
  }
  result.defenderText1 += L"\n";
}
