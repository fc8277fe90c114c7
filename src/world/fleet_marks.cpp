// The marks a fleet shows on the map for the fleets dialog (reachable nodes,
// targets of its carriers and guns, recon hexes), the ports a reserve ship
// may be placed at, and naval reconnaissance.
#include <algorithm>
#include <functional>
#include <vector>

#include "app/sound.h"
#include "world/air_sound.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex_changes.h"
#include "world/jednostka_morska.h"
#include "world/land_movement.h"
#include "world/naval_spotting.h"
#include "world/reconnaissance.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr std::uint32_t kMarkPort = 64;
constexpr std::uint32_t kMarkRecon = 256;
constexpr std::uint32_t kMarkTarget = 512;
constexpr std::uint32_t kMarkReach = 0x8000;
constexpr std::uint32_t kMarkFleetBits = 0xC000;

bool FleetsAtWar(const cWorld& world, int a, int b) {
  const cCountry* country = world.GetCountry(a);
  return country && b >= 1 && b <= world.GetCountryCount() && country->IsAtWarWith(b);
}

using HexList = std::vector<std::pair<int, int>>;
using HexTest = std::function<bool(const sHex&)>;

// The land hexes of the fleet's sea zone that qualify, then every land hex
// within range of such a hex that qualifies too; each listed once, in the
// order found.
HexList FindFromZone(const cWorld& world, const cFleet& fleet, int range, const HexTest& qualifies) {
  const cMap& map = world.GetMap();
  const int width = map.GetWidth(), height = map.GetHeight();
  std::vector<char> taken(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  HexList found;
  auto take = [&](int x, int y) {
    char& t = taken[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    if (t) return false;
    const sHex& hex = map.GetHex(x, y);
    if (!hex.IsLand() || !qualifies(hex)) return false;
    t = 1;
    found.emplace_back(x, y);
    return true;
  };
  HexList seeds;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const sHex& hex = map.GetHex(x, y);
      if (hex.IsLand() && hex.seaZone == fleet.seaNode && take(x, y)) seeds.emplace_back(x, y);
    }
  }
  for (auto [sx, sy] : seeds) {
    for (int y = std::max(0, sy - range); y <= std::min(height - 1, sy + range); ++y) {
      for (int x = std::max(0, sx - range); x <= std::min(width - 1, sx + range); ++x) {
        if (HexDistance(sx, sy, x, y) <= range) take(x, y);
      }
    }
  }
  return found;
}

// The count of the hexes found; with mark each gets the bits.
int MarkFound(cWorld& world, const HexList& found, bool mark, std::uint32_t bits) {
  if (mark) {
    cMap& map = world.GetMap();
    for (auto [x, y] : found) SetHexMark(map, map.GetHex(x, y), bits, -1);
  }
  return static_cast<int>(found.size());
}

bool Listed(const HexList& hexes, int x, int y) {
  return std::find(hexes.begin(), hexes.end(), std::make_pair(x, y)) != hexes.end();
}

// What the fleet's guns may fire at: a visible unit of a country at war
// with the fleet's that has not been shore-bombarded this impulse.
HexTest ShoreBombardmentQualifies(const cWorld& world, const cFleet& fleet) {
  return [&world, country = fleet.country](const sHex& hex) {
    return hex.unit && hex.unit->visible && FleetsAtWar(world, country, hex.unit->countryId) &&
           static_cast<int>(hex.unit->shoreBombardmentEffect * 100.0f) == 0;
  };
}

}  // namespace

int cFleet::GetCarrierAirRange(const cWorld& world) const {
  const cCountry* own = world.GetCountry(country);
  const int level = std::clamp(own ? own->techLevel[kTechAircraft] : 1, 1, 5);
  return static_cast<int>(world.constants.aircraftRangeFactors[static_cast<std::size_t>(level - 1)] *
                          static_cast<float>(world.constants.fleetValue157));
}

int cFleet::MarkReachableNodes(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (mark) ClearMapMarks(map, kMarkFleetBits, false);
  ComputeReachableNodes(world);
  int count = 0;
  for (int id : reachableNodes) {
    const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(id);
    if (!node) continue;
    ++count;
    const int x = node->IsSeaZone() ? node->x : node->ownShipX;
    const int y = node->IsSeaZone() ? node->y : node->ownShipY;
    if (mark && map.IsInside(x, y)) SetHexMark(map, map.GetHex(x, y), kMarkReach, -1);
  }
  return count;
}

namespace {

// The carriers' targets of the fleet: the land hexes (listed in found when
// given) and the sea zones with spotted enemy ships (in zonesFound).
int SearchAttackTargets(cWorld& world, const cFleet& fleet, bool mark, HexList* found, std::vector<int>* zonesFound) {
  cMap& map = world.GetMap();
  const int country = fleet.country;
  const HexList hexes = FindFromZone(world, fleet, fleet.GetCarrierAirRange(world), [&](const sHex& hex) {
    if (hex.unit && hex.unit->visible && FleetsAtWar(world, country, hex.unit->countryId)) return true;
    return hex.city != nullptr && FleetsAtWar(world, country, hex.controller);
  });
  int count = MarkFound(world, hexes, mark, kMarkTarget);
  if (found) *found = hexes;
  // The fleet's zone and its linked nodes where enemy ships are spotted.
  std::vector<int> zones{fleet.seaNode};
  if (const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(fleet.seaNode)) {
    for (const sSeaLink& link : node->links) zones.push_back(link.node);
  }
  for (int id : zones) {
    const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(id);
    if (!node || !node->IsSeaZone() || node->GetSpottedEnemyShipCount() == 0) continue;
    ++count;
    if (mark) map.MarkSeaZoneHexes(id, kMarkSeaZone);
    if (zonesFound) zonesFound->push_back(id);
  }
  return count;
}

}  // namespace

int cFleet::MarkAttackHexTargets(cWorld& world, bool mark) {
  if (mark) ClearMapMarks(world.GetMap(), 0xFFFFFFFFu, false);
  return SearchAttackTargets(world, *this, mark, nullptr, nullptr);
}

bool cFleet::IsAttackHexTarget(cWorld& world, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  HexList hexes;
  std::vector<int> zones;
  SearchAttackTargets(world, *this, false, &hexes, &zones);
  const sHex& hex = map.GetHex(x, y);
  if (hex.IsWater()) return std::find(zones.begin(), zones.end(), static_cast<int>(hex.seaZone)) != zones.end();
  return Listed(hexes, x, y);
}

int cFleet::MarkShoreBombardmentTargets(cWorld& world, bool mark) {
  if (mark) ClearMapMarks(world.GetMap(), 0xFFFFFFFFu, false);
  return MarkFound(world, FindFromZone(world, *this, GetCarrierAirRange(world), ShoreBombardmentQualifies(world, *this)),
                   mark, kMarkTarget);
}

bool cFleet::IsShoreBombardmentTarget(const cWorld& world, int x, int y) const {
  if (!world.GetMap().IsInside(x, y)) return false;
  const HexTest qualifies = ShoreBombardmentQualifies(world, *this);
  if (!qualifies(world.GetMap().GetHex(x, y))) return false;
  return Listed(FindFromZone(world, *this, GetCarrierAirRange(world), qualifies), x, y);
}

namespace {

// The sea zones the fleet's carriers reconnoitre: the fleet's own zone at
// sea; from a port, the zones the port opens on (its own node is the
// harbour, the port city's hex).
std::vector<int> ReconZones(const cWorld& world, const cFleet& fleet) {
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(fleet.seaNode);
  if (node == nullptr) return {};
  if (node->IsSeaZone()) return {node->id};
  std::vector<int> zones;
  for (const sSeaLink& link : node->links) {
    const sWezelGrafuMorz* linked = world.GetSeaGraph().GetNode(link.node);
    if (linked != nullptr && linked->IsSeaZone() &&
        std::find(zones.begin(), zones.end(), linked->id) == zones.end()) {
      zones.push_back(linked->id);
    }
  }
  return zones;
}

}  // namespace

bool cFleet::IsReconHex(cWorld& world, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  const sHex& hex = map.GetHex(x, y);
  if (hex.IsWater()) {
    const std::vector<int> zones = ReconZones(world, *this);
    return std::find(zones.begin(), zones.end(), static_cast<int>(hex.seaZone)) != zones.end();
  }
  return Listed(FindFromZone(world, *this, GetCarrierAirRange(world), [](const sHex&) { return true; }), x, y);
}

int cFleet::MarkReconHexes(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (mark) ClearMapMarks(map, 0xFFFFFFFFu, false);
  int count = MarkFound(
      world, FindFromZone(world, *this, GetCarrierAirRange(world), [](const sHex&) { return true; }), mark, kMarkRecon);
  for (int zone : ReconZones(world, *this)) {
    ++count;
    if (mark) map.MarkSeaZoneHexes(zone, kMarkSeaZone);
  }
  return count;
}

eDeployPort cJednostkaMorska::DeployPortFit(const sWezelGrafuMorz& node) const {
  if (node.IsSeaZone() || !World()) return eDeployPort::kNotAPort;
  const cWorld& world = *World();
  const int index = std::clamp(type - kUnitAircraftCarrier, 0, 5);
  if (node.size < world.constants.minPortSize[static_cast<std::size_t>(index)]) return eDeployPort::kTooSmall;
  const cMap& map = world.GetMap();
  if (!map.IsInside(node.x, node.y) || map.GetHex(node.x, node.y).controller != countryId) {
    return eDeployPort::kNotHeld;
  }
  return eDeployPort::kFits;
}

int cJednostkaMorska::MarkDeployHexes(bool mark) {
  if (!World()) return 0;
  cWorld& world = *World();
  cMap& map = world.GetMap();
  if (mark) ClearMapMarks(map, 0xFFFFFFFFu, false);
  int count = 0;
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    if (DeployPortFit(node) != eDeployPort::kFits) continue;
    ++count;
    if (mark && map.IsInside(node.ownShipX, node.ownShipY)) {
      SetHexMark(map, map.GetHex(node.ownShipX, node.ownShipY), kMarkPort, -1);
    }
  }
  return count;
}

void cJednostkaMorska::ReconSeaZone(cWorld& world, int seaNodeId, sBombardmentResult& result) {
  if (visible) PlayAirSound(SND_AIR_RECON);
  if (sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(seaNodeId)) {
    const sNavalTypeCounts seen = ReconNodeShips(world, *node, countryId, false);
    ReportNodeShips(world, countryId, name.c_str(), *node, seen, result);
  }
  reconDone = true;
}

void cJednostkaMorska::ReconHex(cWorld& world, int x, int y, sBombardmentResult& result) {
  if (visible) PlayAirSound(SND_AIR_RECON);
  ReconArea(world, countryId, name.c_str(), x, y, result);
  reconDone = true;
}
