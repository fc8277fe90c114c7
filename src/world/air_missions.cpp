// The missions of an air unit besides the air fight: the target searches the
// unit panel marks, reconnaissance of land and sea, and the nuclear strike.
#include <algorithm>
#include <list>
#include <set>
#include <vector>

#include "app/console_log.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_sound.h"
#include "world/air_strikes.h"
#include "world/air_tables.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/reconnaissance.h"
#include "world/sea_graph.h"
#include "world/units_visibility.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr std::uint32_t kMarkReconLand = 256;
constexpr std::uint32_t kMarkBombard = 1024;
constexpr std::uint32_t kMarkNuclear = 4096;
constexpr std::uint32_t kMarkAirFight = 8192;
constexpr std::uint32_t kMarkReconSea = 16384;
constexpr std::uint32_t kMarkBombardSea = 65536;
// Every mark but the lowest bit.
constexpr std::uint32_t kAllMarksButLowest = ~1u;


// The hexes within r of (x, y): the box of r + 1 around it clipped to the
// map, rows outer, columns inner, kept when their distance is at most r.
template <class Fn>
void ForHexesWithin(const cMap& map, int x, int y, int r, Fn&& fn) {
  const int top = std::max(0, y - r - 1), bottom = std::min(map.GetHeight() - 1, y + r + 1);
  const int left = std::max(0, x - r - 1), right = std::min(map.GetWidth() - 1, x + r + 1);
  for (int row = top; row <= bottom; ++row) {
    for (int col = left; col <= right; ++col) {
      if (HexDistance(x, y, col, row) <= r) fn(col, row);
    }
  }
}

// Whether the country is at war with the holder; id 0 is nobody's and at
// war with nobody.
bool AtWar(const cCountry* own, int otherId) { return own && otherId > 0 && own->IsAtWarWith(otherId); }

// Whether the unit is seen: in the map's view (sight null) or in the
// country's own.
bool Seen(const cWorld& world, const cUnit& unit, const cCountry* sight) {
  return sight == nullptr ? unit.visible : SideSeesUnit(world, *sight, unit);
}

const sWezelGrafuMorz* SeaNodeOf(const cWorld& world, const sHex& hex) {
  return hex.seaZone > 0 ? world.GetSeaGraph().GetNode(hex.seaZone) : nullptr;
}

}  // namespace

// --- Single-hex tests ---

bool cJednostkaLotnicza::IsReconTarget(const cWorld& world, int hx, int hy) const {
  if (reconDone || !IsOnMap() || !IsWithin(world, hx, hy, GetReconRange(world))) return false;
  const sHex& hex = world.GetMap().GetHex(hx, hy);
  if (hex.IsWater()) return hex.seaZone > 0;
  return AtWar(world.GetCountry(countryId), hex.controller);
}

bool cJednostkaLotnicza::IsBombardmentTarget(const cWorld& world, int hx, int hy, const cCountry* sight) const {
  if (actionPoints < 1 || !IsOnMap()) return false;
  const sHex& hex = world.GetMap().GetHex(hx, hy);
  const cCountry* own = world.GetCountry(countryId);
  if (hex.IsLand()) {
    if (!IsWithin(world, hx, hy, GetRange(world))) return false;
    if (hex.unit && hex.unit->category == kCategoryLand && Seen(world, *hex.unit, sight) &&
        AtWar(own, hex.unit->countryId)) {
      return true;
    }
    return hex.city && AtWar(own, hex.controller);
  }
  if (!IsWithin(world, hx, hy, air_tables::SeaZoneDistance(world.constants))) return false;
  const sWezelGrafuMorz* node = SeaNodeOf(world, hex);
  if (node == nullptr) return false;
  if (sight == nullptr) return node->GetSpottedEnemyShipCount() > 0;
  for (const cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode == node->id && !fleet->ships.empty() && AtWar(own, fleet->country)) return true;
  }
  return false;
}

bool cJednostkaLotnicza::IsAirFightTarget(const cWorld& world, int hx, int hy, const cCountry* sight) const {
  if (actionPoints < 1 || !IsOnMap() || !IsWithin(world, hx, hy, GetRange(world))) return false;
  const sHex& hex = world.GetMap().GetHex(hx, hy);
  return hex.IsLand() && hex.unit && hex.unit != this && hex.unit->category == kCategoryAir &&
         Seen(world, *hex.unit, sight) && AtWar(world.GetCountry(countryId), hex.unit->countryId);
}

bool cJednostkaLotnicza::IsNuclearTarget(const cWorld& world, int hx, int hy) const {
  if (actionPoints < 1 || !IsOnMap() || !IsWithin(world, hx, hy, GetRange(world))) return false;
  const sHex& hex = world.GetMap().GetHex(hx, hy);
  return hex.IsLand() && AtWar(world.GetCountry(countryId), hex.controller);
}

// --- Searches ---

int cJednostkaLotnicza::MarkReconHexes(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (mark) map.ClearHexMarks(kAllMarksButLowest, true);
  if (reconDone || !IsOnMap()) return 0;
  int count = 0;
  std::set<int> zones;
  ForHexesWithin(map, x, y, GetReconRange(world), [&](int col, int row) {
    sHex& hex = map.GetHex(col, row);
    if (hex.IsLand()) {
      if (!AtWar(world.GetCountry(countryId), hex.controller)) return;
      ++count;
      if (mark) SetHexMark(map, hex, kMarkReconLand, -1);
    } else if (hex.seaZone > 0 && zones.insert(hex.seaZone).second) {
      ++count;
      if (mark) map.MarkSeaZoneHexes(hex.seaZone, kMarkReconSea);
    }
  });
  return count;
}

int cJednostkaLotnicza::MarkBombardmentTargets(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (mark) map.ClearHexMarks(kAllMarksButLowest, true);
  if (actionPoints < 1 || !IsOnMap()) return 0;
  int count = 0;
  ForHexesWithin(map, x, y, GetRange(world), [&](int col, int row) {
    sHex& hex = map.GetHex(col, row);
    if (!hex.IsLand() || !IsBombardmentTarget(world, col, row)) return;
    ++count;
    if (mark) SetHexMark(map, hex, kMarkBombard, -1);
  });
  std::set<int> zones;
  ForHexesWithin(map, x, y, air_tables::SeaZoneDistance(world.constants), [&](int col, int row) {
    sHex& hex = map.GetHex(col, row);
    if (!hex.IsWater() || hex.seaZone == 0 || zones.count(hex.seaZone) || !IsBombardmentTarget(world, col, row)) return;
    zones.insert(hex.seaZone);
    ++count;
    if (mark) map.MarkSeaZoneHexes(hex.seaZone, kMarkBombardSea);
  });
  return count;
}

int cJednostkaLotnicza::MarkAirFightTargets(cWorld& world, bool mark) {
  if (actionPoints < 1 || !IsOnMap()) return 0;
  cMap& map = world.GetMap();
  int count = 0;
  ForHexesWithin(map, x, y, GetRange(world), [&](int col, int row) {
    if (!IsAirFightTarget(world, col, row)) return;
    ++count;
    if (mark) SetHexMark(map, map.GetHex(col, row), kMarkAirFight, -1);
  });
  return count;
}

int cJednostkaLotnicza::MarkNuclearTargets(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (mark) map.ClearHexMarks(kAllMarksButLowest, true);
  if (actionPoints < 1 || !IsOnMap()) return 0;
  int count = 0;
  ForHexesWithin(map, x, y, GetRange(world), [&](int col, int row) {
    if (!IsNuclearTarget(world, col, row)) return;
    ++count;
    if (mark) SetHexMark(map, map.GetHex(col, row), kMarkNuclear, -1);
  });
  return count;
}

// --- Reconnaissance ---

void cJednostkaLotnicza::ReconHex(cWorld& world, int hx, int hy, sBombardmentResult& result) {
  AddActionPoints(-1);
  reconDone = true;
  if (cJednostkaLotnicza* interceptor = FindBestInterceptor(world, hx, hy, countryId)) {
    if (ResolveInterception(interceptor, result)) return;
    // Both fell: the mission unit is flagged for its caller and sees nothing.
    if (strength < 0.1f) {
      result.SetFlag(kFlagAttackerDestroyed);
      return;
    }
  }
  if (visible) PlayAirSound(SND_AIR_RECON);
  ReconArea(world, countryId, name.c_str(), hx, hy, result);
}

void cJednostkaLotnicza::ReconSeaZone(cWorld& world, int seaNodeId, sBombardmentResult& result) {
  if (seaNodeId <= 0) return;
  AddActionPoints(-1);
  reconDone = true;
  if (cJednostkaMorska* carrier = FindBestCarrierInterceptor(world, seaNodeId, countryId)) {
    if (ResolveInterception(carrier, result)) return;
  }
  if (visible) PlayAirSound(SND_AIR_RECON);
  // The flight rolls to see each ship at the node, fleets in port included:
  // it may miss some. The report tells what it saw.
  if (sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(seaNodeId)) {
    const sNavalTypeCounts seen = ReconNodeShips(world, *node, countryId, true);
    ReportNodeShips(world, countryId, name.c_str(), *node, seen, result);
  }
}

// --- Nuclear strike ---

void cJednostkaLotnicza::NuclearStrike(cWorld& world, int hx, int hy, sBombardmentResult& result) {
  cMap& map = world.GetMap();
  if (!map.IsInside(hx, hy)) return;
  const sScenarioConstants& k = world.constants;
  if (visible) PlayAirSound(SND_NUCLEAR_ATTACK);
  result.kind = kCombatNuclear;
  result.attackerCountry = countryId;
  result.defenderCountry = map.GetHex(hx, hy).controller;

  const int radius = air_tables::NuclearRadius(k);
  std::set<int> struckCountries;
  std::vector<cCity*> struckCities;
  std::vector<cJednostka*> struckUnits;
  const int top = std::max(0, hy - radius - 1), bottom = std::min(map.GetHeight() - 1, hy + radius + 1);
  const int left = std::max(0, hx - radius - 1), right = std::min(map.GetWidth() - 1, hx + radius + 1);
  for (int row = top; row <= bottom; ++row) {
    for (int col = left; col <= right; ++col) {
      sHex& hex = map.GetHex(col, row);
      if (hex.controller > 0) struckCountries.insert(hex.controller);
      if (hex.unit && hex.unit != this) struckUnits.push_back(hex.unit);
      if (hex.city && std::find(struckCities.begin(), struckCities.end(), hex.city) == struckCities.end()) {
        struckCities.push_back(hex.city);
      }
    }
  }
  bool first = true;
  for (cJednostka* unit : struckUnits) {
    if (first) result.defenderText1 += Text("report_nuclear_affected_units") + L"\n";
    first = false;
    const cCountry* country = unit->GetCountry();
    result.defenderText1 += plat::Format(std::wstring(L" %s (%s)"), unit->name.c_str(),
                                         country ? country->name.c_str() : L"") +
                            L"\n";
    result.SetFlag(kFlagDefenderDestroyed);
    unit->Kill();
  }
  if (!struckCities.empty()) {
    result.defenderText1 += Text("report_nuclear_affected_cities") + L"\n";
    for (cCity* city : struckCities) ApplyNuclearStrike(world, *city, result);
  }
  const int direct = air_tables::NuclearUnrestDirect(k);
  const int allies = air_tables::NuclearUnrestAllies(k);
  result.defenderText1 +=
      plat::Format(Text("report_nuclear_social_unrest_results_direct"), static_cast<float>(direct)) + L"\n";
  std::set<int> alliedCountries;
  for (int id : struckCountries) {
    cCountry* country = world.GetCountry(id);
    if (!country) continue;
    country->socialUnrest = std::clamp(country->socialUnrest + static_cast<float>(direct), 0.0f, 100.0f);
    result.defenderText1 += plat::Format(std::wstring(L" %s"), country->name.c_str());
  }
  for (const auto& other : world.Countries()) {
    if (!other || struckCountries.count(other->id)) continue;
    for (int id : struckCountries) {
      if (other->IsAlliedWith(id)) {
        alliedCountries.insert(other->id);
        break;
      }
    }
  }
  if (!alliedCountries.empty()) {
    result.defenderText1 += L"\n" +
                            plat::Format(Text("report_nuclear_social_unrest_results_allies"),
                                         static_cast<float>(allies)) +
                            L"\n";
    for (int id : alliedCountries) {
      cCountry* country = world.GetCountry(id);
      country->socialUnrest = std::clamp(country->socialUnrest + static_cast<float>(allies), 0.0f, 100.0f);
      result.defenderText1 += plat::Format(std::wstring(L" %s"), country->name.c_str());
    }
  }
  if (cCountry* own = world.GetCountry(countryId)) own->nuclearBombs -= 1;
}
