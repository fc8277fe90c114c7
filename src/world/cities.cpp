#include "world/cities.h"

#include <cstdlib>
#include <utility>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "world/city_graph.h"
#include "world/world.h"
#include "world/country.h"
#include "world/relations.h"

namespace {

LandUnitCountryFn g_landUnitCountry = nullptr;

const sHex* CityHex(const cWorld& world, const cCity& city) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(city.x, city.y)) return nullptr;
  return &map.GetHex(city.x, city.y);
}

const sHex* CityHex(const cCity& city) { return city.World() ? CityHex(*city.World(), city) : nullptr; }

}  // namespace

bool IsControllerFriendlyTo(int controller, const cCountry& country) {
  return controller != 0 && (controller == country.id || country.IsAlliedWith(controller));
}

bool IsControllerFriendlyTo(const cWorld& world, int controller, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return country && IsControllerFriendlyTo(controller, *country);
}

bool IsControllerAlliedTo(const cWorld& world, int controller, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return controller != 0 && country && country->IsAlliedWith(controller);
}

void SetLandUnitCountryFn(LandUnitCountryFn fn) { g_landUnitCountry = fn; }

int LandUnitCountryId(const cJednostka* unit) {
  return unit && g_landUnitCountry ? g_landUnitCountry(unit) : 0;
}

cCity::cCity() { name.reserve(kCityNameMax); }

cCity::cCity(const cCity& other)
    : x(other.x),
      y(other.y),
      name(other.name),
      type(other.type),
      victoryPoints(other.victoryPoints),
      productionPoints(other.productionPoints),
      supply(other.supply),
      productionLostToBombing(other.productionLostToBombing),
      graphNode(other.graphNode),
      visited(other.visited) {}

void cCity::SetName(std::wstring_view text) { name.assign(text.substr(0, kCityNameMax)); }

int cCity::GetControllerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->controller : 0;
}

int cCity::GetOwnerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->owner : 0;
}

int cCity::GetOriginalOwnerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->originalOwner : 0;
}

void cCity::FindFreeFriendlyHex(const cWorld& world, int& outX, int& outY, const cCountry& country) const {
  outX = -1;
  outY = -1;
  const sHex* hex = CityHex(world, *this);
  if (!hex) return;
  if (IsControllerFriendlyTo(hex->controller, country) && hex->unit == nullptr) {
    outX = x;
    outY = y;
    return;
  }
  const cMap& map = world.GetMap();
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (!n || n->IsWater() || n->controller == 0 || n->unit != nullptr) continue;
    if (!IsControllerFriendlyTo(n->controller, country)) continue;
    outX = n->x;
    outY = n->y;
    return;
  }
}

bool cCity::IsEnclosed(const cWorld& world) const {
  if (!CityHex(world, *this)) return true;
  const cMap& map = world.GetMap();
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (n && n->IsLand() && n->unit == nullptr) return false;
  }
  return true;
}

bool cCity::IsBesieged(const cWorld& world) const {
  const sHex* hex = CityHex(world, *this);
  if (!hex || hex->unit == nullptr) return false;
  const cMap& map = world.GetMap();
  int besiegers = 0;
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (!n) continue;
    if (n->unit != nullptr) {
      if (!world.GetRelations().IsAtWar(LandUnitCountryId(n->unit), hex->controller)) return false;
      ++besiegers;
    } else if (n->IsLand()) {
      return false;
    }
  }
  return besiegers >= 2;
}

int cCity::GetHopsTo(const cCity& other) const {
  if (other.graphNode < 0 || static_cast<std::size_t>(other.graphNode) >= hopCounts.size()) return -1;
  return hopCounts[other.graphNode];
}

void cCity::ComputeHopCounts(cWorld& world) {
  const cCityGraph& graph = world.GetCityGraph();
  const auto& nodes = graph.Nodes();
  hopCounts.assign(nodes.size(), -1);
  world.ResetCityHopMarks();
  if (graphNode < 0 || static_cast<std::size_t>(graphNode) >= nodes.size()) return;

  // The queue keeps every entry; position `next` walks through it.
  std::vector<std::pair<int, int>> queue;  // (node, hops)
  visited = 1;
  queue.emplace_back(graphNode, 0);
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const auto [node, hops] = queue[next];
    for (const sCityGraphLink& link : nodes[node].links) {
      if (link.type != kCityLinkLand) continue;
      cCity* target = nodes[link.target].city;
      if (target->visited) continue;
      target->visited = 1;
      queue.emplace_back(link.target, hops + 1);
    }
  }
  for (const auto& [node, hops] : queue) {
    const int index = nodes[node].city->graphNode;
    if (index >= 0 && static_cast<std::size_t>(index) < hopCounts.size()) hopCounts[index] = hops;
  }
}

void cWorld::AddCity(std::unique_ptr<cCity> city) {
  cCity* raw = city.release();
  raw->SetWorld(this);
  cities_.push_back(raw);
  if (map_->IsInside(raw->x, raw->y)) map_->GetHex(raw->x, raw->y).city = raw;
}

void cWorld::ComputeCityHopDistances() {
  for (cCity* city : cities_) {
    if (city->type != kCityResources) city->ComputeHopCounts(*this);
  }
}

void cWorld::ResetCityHopMarks() {
  for (cCity* city : cities_) city->visited = 0;
}
