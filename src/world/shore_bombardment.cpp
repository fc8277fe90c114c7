// The shore bombardment: a fleet's battleships and cruisers fire at a land
// unit on the coast, which loses effectiveness for the rest of the impulse.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/random.h"
#include "app/sound.h"
#include "world/air_sound.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportShoreBombardmentFleet = 14;
constexpr int kReportShoreBombardmentUnit = 15;



}  // namespace

void cJednostka::ResolveShoreBombardment(cWorld& world, cFleet& fleet, sBombardmentResult& result, bool allShips) {
  const sScenarioConstants& k = world.constants;
  visible = true;
  result.kind = kCombatShoreBombardment;
  result.attackerCountry = fleet.country;
  result.defenderCountry = countryId;

  std::vector<cJednostkaMorska*> battleships, cruisers;
  for (cJednostkaMorska* ship : fleet.ships) {
    if (ship->shoreBombardmentDone || !(allShips || ship->marked)) continue;
    if (ship->type == kUnitBattleship) battleships.push_back(ship);
    if (ship->type == kUnitCruiser) cruisers.push_back(ship);
  }
  const int die = RandomRange(1, 6);
  const auto n = static_cast<float>(battleships.size() + cruisers.size());
  const float scale = n > 0.0f ? std::pow(n, -1.0f / k.shoreBombardmentExponent) : 0.0f;

  result.attackerText2 += L"Shore bombardment\n----------\n Fleet: " + fleet.name + L"\n";
  if (!battleships.empty()) {
    result.attackerText2 += L" Battleships:\n  ";
    for (const cJednostkaMorska* ship : battleships) result.attackerText2 += ship->name + L"\n  ";
    result.attackerText2 += L"\n";
  }
  if (!cruisers.empty()) {
    result.attackerText2 += L" Cruisers:\n  ";
    for (const cJednostkaMorska* ship : cruisers) result.attackerText2 += ship->name + L"\n  ";
  }

  const auto dieIndex = static_cast<std::size_t>(std::clamp(die, 1, 6) - 1);
  float firepower = 0.0f;
  auto fire = [&](std::vector<cJednostkaMorska*>& ships, float perDie, int fullHp) {
    for (cJednostkaMorska* ship : ships) {
      // A ship's share follows its hit points against the type's full
      // strength; a type without a full strength fires whole.
      const float h = ship->maxHitPoints > 0 && fullHp > 0
                          ? static_cast<float>(ship->hitPoints) / static_cast<float>(fullHp)
                          : 1.0f;
      firepower += perDie * scale * h;
      ship->shoreBombardmentDone = true;
    }
  };
  fire(battleships, k.battleshipFire[dieIndex], k.navalTypeStrength[1]);
  fire(cruisers, k.cruiserFire[dieIndex], k.navalTypeStrength[2]);

  const float strength = GetCombatStrength();
  firepower = std::min(firepower, strength);
  const cCountry* fleetCountry = world.GetCountry(fleet.country);
  const int navy = fleetCountry ? fleetCountry->techLevel[kTechNavy] : 1;
  const float multiplier = k.navyTechFactors[static_cast<std::size_t>(std::clamp(navy, 1, 5) - 1)];
  // A unit without strength takes no effect rather than a division by 0.
  const float effect =
      strength > 0.0f ? multiplier * firepower / strength * static_cast<float>(effectiveness) : 0.0f;
  shoreBombardmentEffect = effect;
  result.defenderText2 += plat::Format(Text("report_details_shorebombardment_def"), static_cast<int>(effect));

  const int hexX = x, hexY = y;
  const std::wstring unitName = name;
  const int unitCountry = countryId;
  UpdateEffectiveness();
  if (GetCombatStrength() < 0.1f) {
    result.SetFlag(kFlagDefenderDestroyed);
    Kill();
  }
  const std::wstring head = plat::Format(std::wstring(L"Shore bombardment: hex (%d, %d)\n\n"), hexX, hexY);
  FileReport(world, kReportShoreBombardmentUnit, unitCountry,
             head + plat::Format(std::wstring(L"Unit %s was attacked from sea by %s (%s)\n\n"), unitName.c_str(),
                                 fleet.name.c_str(), CountryName(world, fleet.country)) +
                 result.defenderText2);
  FileReport(world, kReportShoreBombardmentFleet, fleet.country,
             head + plat::Format(std::wstring(L"Attacked unit %s (%s) from sea with %s\n\n"), unitName.c_str(),
                                 CountryName(world, unitCountry), fleet.name.c_str()) +
                 result.attackerText1);
}

bool cFleet::ShoreBombardHex(cWorld& world, int x, int y, sBombardmentResult& result, bool allShips) {
  PlayAirSound(SND_SHORE_BOMBARDMENT);
  const cMap& map = world.GetMap();
  cJednostka* unit = map.IsInside(x, y) ? map.GetHex(x, y).unit : nullptr;
  const cCountry* own = world.GetCountry(country);
  if (unit && static_cast<int>(unit->shoreBombardmentEffect * 100.0f) == 0 && own &&
      own->IsAtWarWith(unit->countryId)) {
    unit->ResolveShoreBombardment(world, *this, result, allShips);
    return true;
  }
  for (cJednostkaMorska* ship : ships) ship->shoreBombardmentDone = true;
  return false;
}
