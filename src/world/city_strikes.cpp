// Strikes on cities: the strategic bombardment of a city's production and
// the nuclear strike on a city and its port.
#include <algorithm>
#include <cmath>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_dice.h"
#include "world/air_strikes.h"
#include "world/air_tables.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportCityBombed = 5;
constexpr int kReportCityBombing = 12;



// The column of the air superiority of the city's holder over the hex.
int SuperiorityColumn(float q) {
  if (q == -1.0f) return -4;
  if (q < 1.0f) return 0;
  if (q < 1.5f) return -1;
  if (q < 2.0f) return -2;
  if (q < 3.0f) return -3;
  return -4;
}

}  // namespace

void StrategicBombardment(cWorld& world, cCity& city, cUnit& attacker, int hx, int hy,
                          sBombardmentResult& result) {
  const sScenarioConstants& k = world.constants;
  auto* air = dynamic_cast<cJednostkaLotnicza*>(&attacker);
  auto* ship = dynamic_cast<cJednostkaMorska*>(&attacker);
  if (!air && !ship) return;
  // 1: strength factor and level index (an air unit flies one bombing step
  // for each whole scenario step of strength, as a ship counts its maximum
  // hit points).
  int factor = 0;
  int levelIndex = 0;
  if (air) {
    const int step = k.bombingStep;
    factor = step > 0 ? static_cast<int>(air->strength) / step : 0;
    levelIndex = air->level - 1;
  } else {
    factor = ship->maxHitPoints > 0 ? ship->hitPoints / ship->maxHitPoints : 0;
    const cCountry* country = ship->GetCountry();
    levelIndex = std::max(0, (country ? country->techLevel[kTechNavy] : 1) - 1);
  }
  // 2-3: the production lost.
  const float base = static_cast<float>(factor) * 100.0f *
                     static_cast<float>(air_tables::Bounded(k.strategicBombingB, levelIndex)) / 100.0f;
  const int d = air_dice::Die();
  int loss = static_cast<int>(static_cast<float>(air_tables::Bounded(k.strategicBombingA, d - 1)) * base / 100.0f);
  loss = std::min(loss, static_cast<int>(city.productionPoints));
  LogLine(L"Strategic bombardment of %s by %s: %d PP lost", city.name.c_str(), attacker.name.c_str(), loss);
  // 4-5: the attacker's loss.
  const cMap& map = world.GetMap();
  const int holder = map.IsInside(hx, hy) ? map.GetHex(hx, hy).controller : 0;
  const cCountry* holderCountry = world.GetCountry(holder);
  int column = SuperiorityColumn(GetAirSuperiorityRatio(world, holder, hx, hy));
  column += 1 - (holderCountry ? holderCountry->techLevel[kTechArtillery] : 0) + levelIndex;
  column = std::clamp(column, -4, 4);
  const int e = air_dice::Die();
  const int lossX = AirAttackerLoss(world, e, column);
  // 6-8: the texts.
  const float s = air ? air->GetEffectiveCombatStrength() : static_cast<float>(ship->hitPoints);
  const float left = std::max(0.0f, s - static_cast<float>(lossX));
  result.attackerText2 += plat::Format(Text("report_bombardment_city_attacker"), city.name.c_str(),
                                       cUnit::GetSubtypeText(&world, attacker.type).c_str(), attacker.name.c_str(), left,
                                       static_cast<float>(lossX));
  city.productionPoints -= static_cast<float>(loss);
  city.productionLostToBombing += loss;
  result.defenderText2 += plat::Format(Text("report_bombardment_city"), city.name.c_str(),
                                       CountryName(world, holder), city.productionPoints, loss) +
                          L"\n\n";
  if (loss > 0) result.SetFlag(kFlagCityAffected);
  // 10-11: the attacker pays.
  if (air) {
    air->strength -= static_cast<float>(lossX);
    if (air->strength <= 0.0f) {
      result.attackerText2 += Text("report_unit_killed") + L"\n";
      result.SetFlag(kFlagAttackerDestroyed);
    }
  } else {
    ship->AddHitPoints(static_cast<float>(-lossX));
    if (ship->hitPoints <= 0) {
      result.attackerText2 += Text("report_unit_killed") + L"\n";
      result.SetFlag(kFlagAttackerDestroyed);
    }
  }
  result.attackerText1 +=
      plat::Format(Text("report_looses_city_bombardment"), static_cast<float>(lossX)) + L"\n";
  result.attackerLosses += static_cast<float>(lossX);
  result.attackerText1 += L"\n\n";
  // 12: the reports.
  FileReport(world, kReportCityBombed, holder,
             plat::Format(std::wstring(L"Strategic bombardment\n\nCity %s (%d, %d) was attacked by %s (%s) and "
                                       L"lost %d PP"),
                          city.name.c_str(), hx, hy, attacker.name.c_str(), CountryName(world, attacker.countryId),
                          loss));
  FileReport(world, kReportCityBombing, attacker.countryId,
             plat::Format(std::wstring(L"Strategic bombardment\n\nAttacked city %s (%d, %d) controlled by %s "
                                       L"with %s. City lost %d PP"),
                          city.name.c_str(), hx, hy, CountryName(world, holder), attacker.name.c_str(), loss));
}

void ApplyNuclearStrike(cWorld& world, cCity& city, sBombardmentResult& result) {
  const int percent = air_tables::NuclearCityLossPercent(world.constants);
  int loss = static_cast<int>(static_cast<float>(percent) * city.productionPoints / 100.0f);
  loss = std::min(loss, static_cast<int>(city.productionPoints));
  city.productionPoints -= static_cast<float>(loss);
  result.defenderText1 +=
      plat::Format(Text("report_nuclear_on_city_pp_decreased"), city.name.c_str(), loss) + L"\n";
  if (loss > 0) result.SetFlag(kFlagCityAffected);
  if (city.IsPort()) {
    const int nodeId = world.GetSeaGraph().FindNodeIdByMainHex(city.x, city.y);
    sWezelGrafuMorz* node = nodeId > 0 ? world.GetSeaGraph().GetNode(nodeId) : nullptr;
    if (node && !node->IsSeaZone()) {
      ResolveSeaNodeNuclearStrike(world, *node, result);
      result.SetFlag(kFlagPortAffected);
    }
  }
  result.defenderText1 += L"\n";
}
