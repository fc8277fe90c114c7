#include "world/jednostka_ladowa.h"

#include <algorithm>
#include <list>

#include "app/console_log.h"
#include "app/settings.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/map.h"
#include "world/world.h"

sLandUnitConstants& LandUnitConstants() {
  static sLandUnitConstants constants;
  return constants;
}

namespace {

// An entry of a per-supply-level table; levels past either end read the
// nearest entry, an empty table reads 0.
int SupplyTableValue(const std::vector<int>& table, int level) {
  if (table.empty()) return 0;
  return table[static_cast<std::size_t>(std::clamp(level, 0, static_cast<int>(table.size()) - 1))];
}

// 1 - turns without supply / cut-off limit, never below 0: a unit at or past
// the limit (or under a limit that is not positive) is cut off entirely.
float SupplyCutFactor(int turnsWithoutSupply, int cutOffLimit) {
  if (cutOffLimit <= 0) return 0.0f;
  const float factor = 1.0f - static_cast<float>(turnsWithoutSupply) / static_cast<float>(cutOffLimit);
  return std::max(factor, 0.0f);
}

int DoctrineLevel(const cCountry* country) {
  return country ? std::clamp(country->techLevel[kTechDoctrine], 0, 5) : 0;
}

void BuildRelations(const cWorld& world, const cCountry& country, cLandMoveRelations& relations) {
  const int count = world.GetCountryCount();
  relations.Resize(count);
  for (int id = 1; id <= count; ++id) {
    const bool atWar = country.IsAtWarWith(id);
    const bool passable = id == country.id || atWar || country.IsAlliedWith(id);
    relations.Set(id, passable, atWar);
  }
}

// Copies the range into the unit's reachable-hex list, reusing its nodes and
// parking the spare ones, so a unit whose range is recomputed again and
// again does not allocate every time.
void FillReachableList(std::list<sReachableHex>& list, const std::vector<sLandMoveEntry>& range,
                       cJednostka* unit) {
  thread_local std::list<sReachableHex> spare;
  if (list.size() < range.size()) {
    const std::size_t missing = range.size() - list.size();
    const std::size_t fromSpare = std::min(missing, spare.size());
    list.splice(list.end(), spare, spare.begin(), std::next(spare.begin(), static_cast<long>(fromSpare)));
    for (std::size_t i = fromSpare; i < missing; ++i) list.emplace_back();
  } else if (list.size() > range.size()) {
    spare.splice(spare.end(), list, std::next(list.begin(), static_cast<long>(range.size())), list.end());
  }
  auto it = list.begin();
  for (const sLandMoveEntry& e : range) {
    *it++ = sReachableHex{unit, e.x, e.y, e.direction, e.cost};
  }
}

}  // namespace

sHexOccupant LandUnitOccupant(const cJednostka* unit) {
  if (!unit) return {};
  return {unit->countryId, unit->visible};
}

// --- construction ---

cJednostkaLadowa::cJednostkaLadowa(cWorld* world) : cJednostka(world) {
  category = kCategoryLand;
  if (world) id = world->ids.Take(*world, eIdKind::kLandUnit);
  turnsWithoutSupply = 1;
  movedOrDeployed = false;
  ownCommander = nullptr;
  hqCommanderId = -1;
  eventsEffect = 0;
  entrenchment = 0;
  lastX = -1;
  lastY = -1;
  if (world) turnsSinceParadrop = LandUnitConstants().paradropPreparationTurns;
}

cMulberry::cMulberry(cWorld* world) : cJednostkaLadowa(world) { type = kUnitArtificialHarbour; }

void cMulberry::SetSupply(int) { supply = World() ? World()->constants.maxSupply : 0; }

void cMulberry::AddStrength(float) { SetStrength(0); }

void cMulberry::SetStrength(int) {
  // The harbour's fixed strength is the third value of the harbour line.
  strength = World() ? static_cast<int>(World()->constants.mulberryValues[2]) : 0;
}

// --- effectiveness, action points, strengths ---

void cJednostkaLadowa::UpdateEffectiveness() {
  const sLandUnitConstants& k = LandUnitConstants();
  const cCountry* country = GetCountry();
  const int doctrine = country ? country->techLevel[kTechDoctrine] : 0;
  float f = 1.0f + static_cast<float>(k.doctrineEffectivenessBonus * doctrine) / 100.0f;
  if (ownCommander) {
    f *= GetCommanderValue(World(), *ownCommander, 0);
  } else if (GetCommander()) {
    f *= 1.0f + static_cast<float>(GetHqCommanderBonus()) / 100.0f;
  }
  const float s = static_cast<float>(SupplyTableValue(k.supplyEffectiveness, supply)) / 100.0f * f;
  const float e = s * static_cast<float>(eventsEffect + 100) / 100.0f;
  const int v = static_cast<int>(100.0f * e);
  effectiveness = static_cast<int>(static_cast<float>(v) - shoreBombardmentEffect);
  if (turnsWithoutSupply > 0) {
    effectiveness = static_cast<int>(SupplyCutFactor(turnsWithoutSupply, k.supplyCutOffLimit) *
                                     static_cast<float>(effectiveness));
  }
  if (effectiveness < 1) effectiveness = 1;
}

void cJednostkaLadowa::ResetActionPoints() {
  if (freezeTime > 0) {
    actionPoints = 0;
    return;
  }
  const sLandUnitConstants& k = LandUnitConstants();
  const int base = type >= 0 && type <= 6 ? k.actionPoints[DoctrineLevel(GetCountry())][type] : 0;
  int points = (100 - SupplyTableValue(k.supplyActionPointPenalty, supply)) * base / 100;
  if (turnsWithoutSupply > 0) {
    points = static_cast<int>(SupplyCutFactor(turnsWithoutSupply, k.supplyCutOffLimit) *
                              static_cast<float>(points));
  }
  if (points < 0) points = 0;
  if (points == 0 && (type == kUnitInfantryDivision || type == kUnitInfantryCorps ||
                      type == kUnitAirborneDivision)) {
    points = 1;
  }
  actionPoints = points;
  startingActionPoints = points;
  movedOrDeployed = false;
}

void cJednostkaLadowa::Unfreeze() {
  freezeTime = 0;
  ResetActionPoints();
}

float cJednostkaLadowa::GetBaseStrength() {
  if (level < 1 || level > 5 || type < 0 || type > 6) return 0.0f;
  return LandUnitConstants().baseStrength[level - 1][type];
}

float cJednostkaLadowa::GetCombatStrength() {
  return GetBaseStrength() * static_cast<float>(strength) / 100.0f;
}

float cJednostkaLadowa::GetEffectiveCombatStrength() {
  return GetCombatStrength() * static_cast<float>(effectiveness) / 100.0f;
}

void cJednostkaLadowa::AddStrength(float delta) {
  strength = static_cast<int>(static_cast<float>(strength) + delta);
}

// --- ports ---

bool cJednostkaLadowa::FindAdjacentPort(const cWorld& world, int& outX, int& outY) const {
  outX = -1;
  outY = -1;
  const cCountry* country = world.GetCountry(countryId);
  if (!country) return false;
  const cMap& map = world.GetMap();
  auto isPort = [&](int hx, int hy) {
    if (!map.IsInside(hx, hy)) return false;
    const sHex& hex = map.GetHex(hx, hy);
    return hex.city && hex.city->IsPort() && IsControllerFriendlyTo(hex.controller, *country);
  };
  if (isPort(x, y)) {
    outX = x;
    outY = y;
    return true;
  }
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(x, y, dir, nx, ny);
    if (isPort(nx, ny)) {
      outX = nx;
      outY = ny;
      return true;
    }
  }
  return false;
}

// --- movement range ---

int cJednostkaLadowa::ComputeMoveRange(bool countOnly) {
  const int count = ComputeMoveRangeOnly(countOnly);
  FillReachableList(reachableHexes, range_, this);
  return count;
}

int cJednostkaLadowa::ComputeMoveRangeOnly(bool countOnly) {
  range_.clear();
  const cCountry* country = GetCountry();
  if (!World() || !country) return 0;
  thread_local cLandMoveRelations relations;
  BuildRelations(*World(), *country, relations);
  sLandMover mover;
  mover.unit = this;
  mover.x = x;
  mover.y = y;
  mover.actionPoints = actionPoints;
  mover.startingActionPoints = startingActionPoints;
  mover.freezeTime = freezeTime;
  mover.movedOrDeployed = movedOrDeployed;
  mover.harbour = IsHarbour();
  mover.doctrineLevel = DoctrineLevel(country);
  mover.winterMovePercent = country->winterMove;
  mover.mudMovePercent = country->mudMove;
  return ComputeLandMoveRange(World()->GetMap(), mover, LandUnitConstants().move, relations, &LandUnitOccupant,
                              countOnly, range_);
}

bool cJednostkaLadowa::IsHexInMoveRange(int hexX, int hexY) {
  const bool inside = std::any_of(range_.begin(), range_.end(), [&](const sLandMoveEntry& e) {
    return e.x == hexX && e.y == hexY;
  });
  if (inside) {
    LogLine(L"Hex (%i, %i) jest w zasiegu ruchu jednostki", hexX, hexY);
  } else {
    LogLine(L"Hex (%i, %i) jest poza zasiegiem ruchu jednostki", hexX, hexY);
  }
  return inside;
}

int cJednostkaLadowa::MarkDeployHexes(bool mark) {
  if (!World()) return 0;
  cMap& map = World()->GetMap();
  if (mark) ClearMapMarks(map, ~1u, true);
  const int current = World()->turnState.CurrentCountryId();
  const cCountry* country = World()->GetCountry(current);
  const bool atWar = country && country->IsAtWarWithAnyone();
  const int halfSupply = World()->constants.maxSupply / 2;
  int count = 0;
  auto countHex = [&](sHex& hex) {
    ++count;
    if (mark) SetHexMark(map, hex, kMarkDeploy, -1);
  };
  for (cCity* city : World()->Cities()) {
    if (!city || city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    sHex& cityHex = map.GetHex(city->x, city->y);
    if (cityHex.controller != current || cityHex.owner != current) continue;
    if (atWar) {
      const std::size_t slot = static_cast<std::size_t>(current - 1);
      const int supplyValue = slot < city->supplyInfo.size() ? city->supplyInfo[slot] : 0;
      const bool convoy = slot < city->convoyInfo.size() && city->convoyInfo[slot] != 0;
      if (supplyValue < halfSupply || convoy) continue;
    }
    if (!cityHex.unit) countHex(cityHex);
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(city->x, city->y, dir, nx, ny);
      if (!map.IsInside(nx, ny)) continue;
      sHex& hex = map.GetHex(nx, ny);
      if (!hex.unit && hex.controller == current && hex.owner == current) countHex(hex);
    }
  }
  return count;
}

namespace {

// The route of an order of the unit to the city on (x, y): the city the unit
// draws supply from (else the nearest city of its hex), the target city and,
// when the cities graph links them through cities the unit's side holds,
// the route. Returns whether such a route was found.
bool FindOrderRoute(cWorld& world, const cJednostkaLadowa& unit, int targetX, int targetY,
                    const cCity*& start, const cCity*& destination, std::vector<cCity*>& route) {
  start = nullptr;
  destination = nullptr;
  route.clear();
  const cMap& map = world.GetMap();
  if (map.IsInside(unit.supplySourceX, unit.supplySourceY)) start = map.GetHex(unit.supplySourceX, unit.supplySourceY).city;
  if (!start) start = world.GetTopography().NearestCity(unit.x, unit.y);
  if (map.IsInside(targetX, targetY)) destination = map.GetHex(targetX, targetY).city;
  return start && destination && world.GetCityGraph().FindPath(world, start, destination, unit.countryId, route);
}

}  // namespace

bool cJednostkaLadowa::HasOrderRouteTo(cWorld& world, int targetX, int targetY) const {
  const cCity* start = nullptr;
  const cCity* destination = nullptr;
  std::vector<cCity*> route;
  const bool found = FindOrderRoute(world, *this, targetX, targetY, start, destination, route);
  return (start != nullptr && start == destination) || (found && !route.empty());
}

void cJednostkaLadowa::SetAiOrder(cWorld& world, int orderCode, int targetX, int targetY, int mode) {
  if (mode <= 1) {
    aiOrder = orderCode;
    aiTargetX = targetX;
    aiTargetY = targetY;
    aiUltimateTargetX = -1;
    aiUltimateTargetY = -1;
    return;
  }
  const cCity* start = nullptr;
  const cCity* destination = nullptr;
  std::vector<cCity*> route;
  const bool found = FindOrderRoute(world, *this, targetX, targetY, start, destination, route);
  // The unit draws its supply from the city it is sent to: no route is
  // needed, it goes there straight (a city is no route to itself).
  if (start != nullptr && start == destination) {
    aiOrder = orderCode;
    aiTargetX = targetX;
    aiTargetY = targetY;
    aiUltimateTargetX = -1;
    aiUltimateTargetY = -1;
    return;
  }
  if (found && !route.empty()) {
    aiOrder = orderCode;
    aiTargetX = route.front()->x;
    aiTargetY = route.front()->y;
    aiUltimateTargetX = targetX;
    aiUltimateTargetY = targetY;
  } else {
    aiOrder = 0;
    aiTargetX = -1;
    aiTargetY = -1;
    LogLine(L"ERROR: Nie znaleziono sciezki dla rozkazu nr %i", orderCode);
    LogLine(L"  (%s: no route from %s to %s)", name.c_str(), start ? start->GetName().c_str() : L"no city",
            destination ? destination->GetName().c_str() : L"no city");
  }
}

int cJednostkaLadowa::GetHopsToCity(const cWorld& world, int cityX, int cityY) {
  const cMap& map = world.GetMap();
  const cCity* target = map.IsInside(cityX, cityY) ? map.GetHex(cityX, cityY).city : nullptr;
  if (!target) {
    LogLine(L"ERROR (Returining no. of hops - land unit): City is null");
    aiOrder = 0;
    aiTargetX = -1;
    aiTargetY = -1;
    aiUltimateTargetX = -1;
    aiUltimateTargetY = -1;
    return -1;
  }
  const cCity* nearest = world.GetTopography().NearestCity(x, y);
  if (!nearest) return -1;
  return nearest->GetHopsTo(*target);
}

// --- death ---

void cJednostkaLadowa::Kill() { KillUnitInWorld(*World(), this); }
