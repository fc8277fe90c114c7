#include "rules/supply.h"

#include <algorithm>
#include <cstdint>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/clock.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/strategic_movement.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

bool IsSupplyCity(const cCity* city) { return city != nullptr && city->type >= kCitySupply && city->type <= kCityPort; }

bool IsSourceType(const cCity& city) { return city.type == kCitySupply || city.type == kCitySupplyPort; }

// The order in which the floods and the nearest-city search visit the
// neighbours of a hex: north, south, then north-east, south-east,
// south-west, north-west. Among cities of equal cost the one met last wins,
// so the order decides which city a unit draws from.
constexpr int kSearchOrder[6] = {kDirNorth, kDirSouth, kDirNorthEast, kDirSouthEast, kDirSouthWest, kDirNorthWest};

// The first country of the leader's code (4, 5, 6) of alliance 1..3; null
// when the alliance has none.
const cCountry* LeaderOf(const cWorld& world, int alliance) {
  for (const auto& country : world.Countries()) {
    if (country && country->alliance == alliance + 3) return country.get();
  }
  return nullptr;
}

}  // namespace

int AllianceOfCode(int code) {
  if (code >= kAllies && code <= kComintern) return code;
  if (code >= kAlliesLeader && code <= kCominternLeader) return code - 3;
  return 0;
}

cSupplyCalculator::cSupplyCalculator(cWorld& world)
    : world_(world),
      width_(world.GetMap().GetWidth()),
      height_(world.GetMap().GetHeight()),
      cells_(static_cast<std::size_t>(std::max(0, width_)) * static_cast<std::size_t>(std::max(0, height_)), 0) {}

void cSupplyCalculator::ZeroGrid() { std::fill(cells_.begin(), cells_.end(), 0); }

bool cSupplyCalculator::HeldBySide(int x, int y, int alliance, int country) const {
  const int controller = world_.GetMap().GetHex(x, y).controller;
  // Land nobody controls belongs to no side.
  if (controller == 0) return false;
  if (alliance == -1) return controller == country;
  const cCountry* holder = world_.GetCountry(controller);
  return holder != nullptr && holder->IsInAlliance(alliance);
}

bool cSupplyCalculator::IsAllianceHexOpen(int x, int y, int alliance) const {
  return HeldBySide(x, y, alliance, -1) && Cell(x, y) != 1;
}

bool cSupplyCalculator::IsCountryHexOpen(int x, int y, int country) const {
  return HeldBySide(x, y, -1, country) && Cell(x, y) != 1;
}

int cSupplyCalculator::PathCost(int x, int y) const {
  const sHex& hex = world_.GetMap().GetHex(x, y);
  const auto& row = world_.constants.terrainCostRows[1];
  const int slot = hex.IsWater() || hex.terrain > kTerrainDesert ? 7 : hex.terrain - 1;
  // A cost below 1 would let the search run in circles.
  return std::max(1, row[static_cast<std::size_t>(slot)]);
}

void cSupplyCalculator::FindCityGroups(int alliance, int country, Topography& groups) {
  groups.clear();
  if (alliance == -1) {
    LogLine(L"Supply: city groups of country id=%i", country);
  } else {
    LogLine(L"Supply: city groups of alliance %i", alliance);
  }
  ZeroGrid();
  const cMap& map = world_.GetMap();
  for (cCity* city : world_.Cities()) {
    if (!IsSupplyCity(city) || !map.IsInside(city->x, city->y)) continue;
    const cCountry* holder = world_.GetCountry(city->GetControllerId());
    if (holder == nullptr) continue;
    const bool matches = alliance == -1 ? holder->id == country : AllianceOfCode(holder->alliance) == alliance;
    if (!matches || Cell(city->x, city->y) == 1) continue;
    LogLine(L"Supply: new group from %s", city->GetName());
    groups.emplace_back();
    FloodCityGroup(*city, alliance, country, groups.back());
  }
}

void cSupplyCalculator::FloodCityGroup(cCity& start, int alliance, int country, TopographyGroup& group) {
  const cMap& map = world_.GetMap();
  group.push_back(&start);
  Cell(start.x, start.y) = 1;
  std::vector<sMapCoord> queue{{start.x, start.y}};
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const sMapCoord at = queue[next];
    for (const int dir : kSearchOrder) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(at.x, at.y, dir, nx, ny);
      if (!map.IsInside(nx, ny)) continue;
      const bool open = alliance == -1 ? IsCountryHexOpen(nx, ny, country) : IsAllianceHexOpen(nx, ny, alliance);
      if (!open) continue;
      Cell(nx, ny) = 1;
      queue.push_back({nx, ny});
      cCity* city = map.GetHex(nx, ny).city;
      if (IsSupplyCity(city)) group.push_back(city);
    }
  }
}

sSupplyUnitEntry cSupplyCalculator::FindNearestCity(cJednostka& unit, int alliance, int country) {
  const cMap& map = world_.GetMap();
  const int range = world_.constants.maxSupply;
  sSupplyUnitEntry entry{&unit, nullptr, range + 1};
  if (!map.IsInside(unit.x, unit.y)) return entry;
  cCity* here = map.GetHex(unit.x, unit.y).city;
  if (IsSupplyCity(here)) return {&unit, here, 0};
  // Costs are kept as cost + 1 so that the start (cost 0) reads as reached.
  touched_.clear();
  std::vector<sMapCoord> queue{{unit.x, unit.y}};
  Cell(unit.x, unit.y) = 1;
  touched_.push_back(unit.y * width_ + unit.x);
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const sMapCoord at = queue[next];
    const int d = Cell(at.x, at.y) - 1;
    if (d >= entry.cost) continue;
    for (const int dir : kSearchOrder) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(at.x, at.y, dir, nx, ny);
      if (!map.IsInside(nx, ny)) continue;
      if (!HeldBySide(nx, ny, alliance, country)) continue;
      const int cost = d + PathCost(nx, ny);
      const int cell = Cell(nx, ny);
      if (cell != 0 && cell - 1 <= cost) continue;
      if (cell == 0) touched_.push_back(ny * width_ + nx);
      Cell(nx, ny) = cost + 1;
      queue.push_back({nx, ny});
      cCity* city = map.GetHex(nx, ny).city;
      // On an equal cost the later city wins.
      if (IsSupplyCity(city) && cost <= range && cost <= entry.cost) {
        entry.city = city;
        entry.cost = cost;
      }
    }
  }
  for (const int index : touched_) cells_[static_cast<std::size_t>(index)] = 0;
  return entry;
}

void cSupplyCalculator::FindNearestCities(int alliance, int country, SupplyEntries& entries) {
  ZeroGrid();
  const auto belongs = [&](const cJednostka& unit) {
    if (alliance == -1) return unit.countryId == country;
    const cCountry* owner = world_.GetCountry(unit.countryId);
    return owner != nullptr && owner->IsInAlliance(alliance);
  };
  const auto add = [&](cJednostka* unit) {
    if (unit == nullptr || !belongs(*unit)) return;
    sSupplyUnitEntry entry = FindNearestCity(*unit, alliance, country);
    if (entry.city != nullptr) {
      LogLine(L"Supply: %s draws from %s at cost %i", unit->name, entry.city->GetName(), entry.cost);
    } else {
      LogLine(L"Supply: %s reaches no city", unit->name);
    }
    entries.push_back(entry);
  };
  for (cJednostkaLadowa* unit : world_.Units().landUnits) add(unit);
  for (cJednostkaLotnicza* unit : world_.Units().airUnits) add(unit);
}

void cSupplyCalculator::SupplyCountryUnits(int countryId) {
  cCountry* country = world_.GetCountry(countryId);
  if (country == nullptr) return;
  LogLine(L"Supply: units of %s (id=%i)", country->name, countryId);
  const sScenarioConstants& k = world_.constants;
  const int alliance = AllianceOfCode(country->alliance);
  int leaderId = world_.GetCountryCount() + 1;
  if (alliance != 0) {
    if (const cCountry* leader = LeaderOf(world_, alliance)) leaderId = leader->id;
    LogLine(L"Supply: alliance leader id=%i", leaderId);
  } else {
    LogLine(L"Supply: %s is neutral", country->name);
    if (!country->IsAtWarWithAnyone()) {
      if (convoys_) convoys_(world_, countryId, GroupsOf(0), EntriesOf(0));
      // Peace-time supply: source and cut-off count stay as they are.
      LogLine(L"Supply: every unit of %s gets peace-time supply", country->name);
      for (cJednostkaLadowa* unit : world_.Units().landUnits) {
        if (unit != nullptr && unit->countryId == countryId) unit->SetSupply(k.maxSupply / 2);
      }
      for (cJednostkaLotnicza* unit : world_.Units().airUnits) {
        if (unit != nullptr && unit->countryId == countryId) unit->SetSupply(k.maxSupply / 2);
      }
      return;
    }
  }
  const std::size_t slot = static_cast<std::size_t>(countryId - 1);
  for (const TopographyGroup& group : GroupsOf(alliance)) {
    bool source = false;
    for (const cCity* city : group) {
      const int holder = city->GetControllerId();
      if (IsSourceType(*city) && holder != 0 && (holder == countryId || holder == leaderId)) source = true;
    }
    for (cCity* city : group) {
      if (city->supplyInfo.size() <= slot) city->supplyInfo.resize(slot + 1, 0);
      city->supplyInfo[slot] = source ? k.maxSupply : city->supply;
      LogLine(L"Supply: %s gives %i", city->GetName(), city->supplyInfo[slot]);
    }
  }
  LogLine(L"Supply: %s has %i sea transport points, %i in convoys", country->name, country->seaTransportPoints,
          country->seaTransportPointsInConvoys);
  if (convoys_) convoys_(world_, countryId, GroupsOf(alliance), EntriesOf(alliance));
  const int cutOffLimit = k.noSupplyTurnsLimit;
  for (const sSupplyUnitEntry& entry : EntriesOf(alliance)) {
    cJednostka* unit = entry.unit;
    if (unit == nullptr || unit->countryId != countryId) continue;
    const bool land = unit->category == kCategoryLand;
    if (entry.city == nullptr) {
      if (land && unit->turnsWithoutSupply + 1 < cutOffLimit) {
        ++unit->turnsWithoutSupply;
        continue;
      }
      LogLine(L"Supply: %s is cut off", unit->name);
      unit->SetSupplySourceX(-1);
      unit->SetSupplySourceY(-1);
      unit->SetSupply(0);
      continue;
    }
    const int given = slot < entry.city->supplyInfo.size() ? entry.city->supplyInfo[slot] : 0;
    const int value = std::max(1, given - entry.cost);
    LogLine(L"Supply: %s from %s (%i - %i) = %i", unit->name, entry.city->GetName(), given, entry.cost, value);
    unit->SetSupplySourceX(entry.city->x);
    unit->SetSupplySourceY(entry.city->y);
    unit->SetSupply(value);
    if (land && unit->turnsWithoutSupply > 0) --unit->turnsWithoutSupply;
  }
}

void cSupplyCalculator::CalculateSupply() {
  cStrategicMovement strategic(world_);
  LockedStep([&] {
    LogLine(L"Supply: calculation begins");
    world_.ResetCitySupplyRows();
    ShowStatusText(g_StringBase.GetText("calculating_supply:_determining_groups_of_cities..."));
    world_.topographies.clear();
    strategic.Init();
    for (int alliance = 1; alliance <= 3; ++alliance) FindCityGroups(alliance, -1, GroupsOf(alliance));
    for (int id = 1; id <= world_.GetCountryCount(); ++id) {
      const int alliance = AllianceOfCode(world_.GetCountry(id)->alliance);
      if (alliance != 0) strategic.SetCountryTopography(id, GroupsOf(alliance));
    }
    ShowStatusText(g_StringBase.GetText("calculating_supply:_supply_goes_to_units..."));
    LogLine(L"Supply: city groups done");
  });
  const std::uint32_t searchStart = plat::GetTickCount();
  for (int alliance = 1; alliance <= 3; ++alliance) {
    LockedStep([&] {
      EntriesOf(alliance).clear();
      FindNearestCities(alliance, -1, EntriesOf(alliance));
    });
  }
  LogLine(L"PERFORMANCE: Determining supply sources for units of alliance countries TIME = %i ms",
          static_cast<int>(plat::GetTickCount() - searchStart));
  const std::uint32_t supplyStart = plat::GetTickCount();
  LogLine(L"Supply: %i countries", world_.GetCountryCount());
  for (int i = 0; i < world_.GetCountryCount(); ++i) {
    const cCountry& country = *world_.Countries()[static_cast<std::size_t>(i)];
    if (country.alliance == kNeutral) continue;
    if (country.id != i + 1) {
      LogLine(L"ERROR: country at index %i has id=%i (%s)", i, country.id, country.name);
    }
    LockedStep([&] { SupplyCountryUnits(i + 1); });
  }
  LogLine(L"PERFORMANCE: Calculating supply for units of alliance countries (including convoy executions) TIME = %i ms",
          static_cast<int>(plat::GetTickCount() - supplyStart));
  ZeroGrid();
  for (int id = 1; id <= world_.GetCountryCount(); ++id) {
    cCountry& country = *world_.GetCountry(id);
    if (country.alliance != kNeutral) continue;
    LockedStep([&] {
      LogLine(L"Supply: neutral %s", country.name);
      GroupsOf(0).clear();
      EntriesOf(0).clear();
      if (country.IsAtWarWithAnyone()) {
        FindCityGroups(-1, id, GroupsOf(0));
        strategic.SetCountryTopography(id, GroupsOf(0));
        FindNearestCities(-1, id, EntriesOf(0));
      }
      SupplyCountryUnits(id);
    });
  }
}

void CalculateSupply(cWorld& world, const ConvoyExecution& convoys) {
  cSupplyCalculator calculator(world);
  calculator.SetConvoyExecution(convoys);
  calculator.CalculateSupply();
}
