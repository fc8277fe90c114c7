// The bombardment of a land unit by an air unit or a ship.
#include <algorithm>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportAirStrike = 8;
// The supply index a ship fires with.
constexpr int kShipSupplyIndex = 30;


// An entry of a table by index, the nearest end for an index outside it.
template <typename T, std::size_t N>
T Entry(const std::array<T, N>& table, int index) {
  return table[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(N) - 1))];
}


}  // namespace

void cJednostkaLadowa::ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex* /*target*/) {
  if (!World() || !attacker) return;
  cWorld& world = *World();
  const sScenarioConstants& k = world.constants;
  const cMap& map = world.GetMap();
  LogLine(L"%s is bombed by %s", name, attacker->name);

  // The attacker's condition, level and supply.
  auto* air = dynamic_cast<cJednostkaLotnicza*>(attacker);
  auto* ship = dynamic_cast<cJednostkaMorska*>(attacker);
  float condition = 1.0f;
  int levelIndex = 0;
  int supplyIndex = kShipSupplyIndex;
  if (air) {
    const int full = Entry(k.airBaseStrength, air->type - kUnitFighter);
    condition = full > 0 ? air->strength / static_cast<float>(full) : 1.0f;
    levelIndex = air->level - 1;
    supplyIndex = air->supply;
  } else if (ship) {
    condition = ship->maxHitPoints > 0 ? static_cast<float>(ship->hitPoints) / static_cast<float>(ship->maxHitPoints)
                                       : 1.0f;
    const cCountry* country = world.GetCountry(ship->countryId);
    levelIndex = (country ? country->techLevel[kTechNavy] : 1) - 1;
  }
  result.kind = kCombatAirStrikeLand;
  result.attackerCountry = attacker->countryId;
  result.defenderCountry = countryId;

  const sHex& hex = map.GetHex(x, y);
  const int fortificationStep = static_cast<int>(k.landCombatFactors[12]);
  const int fortPercent = 100 - static_cast<int>(hex.fortification) * fortificationStep;
  if (fortPercent <= 0) {
    LogLine(plat::Format(Text("error:_fort_in_hex_(%i,%i)_is_%i_which_exceeds_max._allowed_value!"), x, y,
                         static_cast<int>(hex.fortification)));
    FatalExit(1);
  }
  const float strengthF = condition * 100.0f;
  const float levelF = static_cast<float>(Entry(k.bombardTable58, levelIndex));
  const float supplyF = static_cast<float>(Entry(k.supplyEffectD, supplyIndex));
  const float terrainF = static_cast<float>(Entry(k.bombardTerrainTable, hex.terrain));
  const float fortF = static_cast<float>(fortPercent);
  const float cityF = hex.city ? static_cast<float>(k.bombardValue60) : 100.0f;
  const float weatherF = static_cast<float>(Entry(k.bombardTable59, static_cast<int>(hex.weather)));
  const float entrenchmentF = 100.0f - static_cast<float>(entrenchment) * k.entrenchmentFactor;
  LogLine(L"Modifiers: Strength(%.1f) Level(%.0f) Supply(%.0f) Terrain(%.0f) Weather(%.0f) City(%.0f) Fort(%.0f) "
          L"Enforcement(%.0f)",
          strengthF, levelF, supplyF, terrainF, weatherF, cityF, fortF, entrenchmentF);
  float effect = strengthF * levelF / 100.0f * supplyF / 100.0f * terrainF / 100.0f * weatherF / 100.0f * cityF /
                 100.0f * fortF / 100.0f * entrenchmentF / 100.0f;
  if (!(effect >= 1.0f)) effect = 1.0f;
  LogLine(L"Attack effectiveness = %.1f", effect);

  const int attackerDie = RandomRange(1, 6);
  const int defenderDie = std::clamp(RandomRange(1, 6), 1, 6);
  float defenderLoss = Entry(k.bombardFactors, defenderDie - 1) * effect / 100.0f;
  if (air && air->CommanderDoublesDamage()) defenderLoss *= 2.0f;
  cRelationsMatrix& relations = world.GetRelations();
  if (attacker->countryId != 0 && countryId != 0) relations.AddLosses(attacker->countryId, countryId, defenderLoss);
  LogLine(L"Obronca: D6=%i Straty=%.2f", defenderDie, defenderLoss);

  const int penalty = (100 - strength) / 20;
  const int column = std::clamp(level - penalty, 1, 5);
  LogLine(L"Wyznaczenie kolumny. Poziom obroncy(%i)-Kara(%i) = KOLUMNA %i", level, penalty, column);
  float attackerLoss = static_cast<float>(
      k.navalRows[static_cast<std::size_t>(std::clamp(attackerDie, 1, 6) - 1)][static_cast<std::size_t>(column - 1)]);
  if (air && air->CommanderPreventsLosses()) attackerLoss = 0.0f;
  LogLine(L"Atakujacy: K6=%i Straty=%.2f", attackerDie, attackerLoss);

  // The attacker's loss.
  float attackerLeft = 0.0f;
  bool attackerDestroyed = false;
  if (air) {
    air->strength -= attackerLoss;
    attackerLeft = air->strength;
    attackerDestroyed = air->strength < 0.1f;
  } else if (ship) {
    ship->AddHitPoints(-attackerLoss);
    attackerLeft = static_cast<float>(ship->hitPoints);
    attackerDestroyed = ship->hitPoints <= 0;
  }
  if (attackerDestroyed) {
    result.attackerText2 += L"\n";
    result.attackerText2 += Text("report_unit_killed");
    result.SetFlag(kFlagAttackerDestroyed);
  }
  result.attackerLosses += attackerLoss;
  result.attackerText1 += plat::Format(Text("report_looses_bombardment"), attackerLoss) + L"\n";
  if (attacker->countryId != 0 && countryId != 0) relations.AddLosses(countryId, attacker->countryId, attackerLoss);
  result.attackerText2 += plat::Format(Text("report_bombardment_land_unit_attacker"), cUnit::GetSubtypeText(World(), attacker->type),
                                       attacker->name, std::max(attackerLeft, 0.0f), attackerLoss) +
                          L"\n";
  result.attackerText2 +=
      plat::Format(Text("report_bombardment_land_unit_attacker_parameters"), strengthF, levelF, supplyF) + L"\n";

  // This unit's loss: the defender's report names it and the exchange (its
  // loss and the attacker's), then the five factors of its hex.
  float base = GetBaseStrength();
  if (!(base >= 0.001f)) base = 0.001f;
  const float points = defenderLoss * 100.0f / base;
  AddStrength(-static_cast<float>(points >= 1.0e6f ? 1000000 : static_cast<int>(std::max(points, 0.0f))));
  result.defenderText2 += plat::Format(Text("report_bombardment_land_unit"), cUnit::GetSubtypeText(World(), type), name,
                                       CountryName(world, countryId), defenderLoss, attackerLoss) +
                          L"\n";
  result.defenderText2 += plat::Format(Text("report_bombardment_land_unit_parameters"), terrainF, weatherF, cityF,
                                       fortF, entrenchmentF) +
                          L"\n";
  const std::wstring header = plat::Format(L"\n%s (%s) bombed %s (%s) on hex (%d, %d)\n\n", attacker->name,
                                           CountryName(world, attacker->countryId), name,
                                           CountryName(world, countryId), x, y);
  const int defenderCountry = countryId;
  const std::wstring attackerReport = header + result.attackerText2;
  std::wstring defenderReport = header + result.defenderText2;
  const bool destroyed = GetCombatStrength() < 0.1f;
  if (destroyed) {
    defenderReport += Text("report_unit_killed");
    result.defenderText2 += Text("report_unit_killed");
    result.SetFlag(kFlagDefenderDestroyed);
  }
  result.defenderLosses += defenderLoss;
  result.defenderText1 += plat::Format(Text("report_looses_bombardment"), defenderLoss);

  FileReport(world, kReportAirStrike, attacker->countryId, attackerReport);
  FileReport(world, kReportAirStrike, defenderCountry, defenderReport);
  // Last: nothing of this unit is read after it is gone.
  if (destroyed) Kill();
}
