// A computer country's supply convoys: each turn one of its convoys is
// given up, then every group of its cities that is cut off from a supply
// city by land and lacks a convoy gets one by sea from the nearest supplied
// port.
#include <vector>

#include "ai/ai_economy.h"
#include "app/console_log.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/strategic_movement.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// A city that supplies the country's units: its own supply city, or for a
// member of an alliance one of the alliance leader's.
bool IsSupplyCityFor(const cWorld& world, const cCountry& country, const cCity& city) {
  if (city.type != kCitySupply && city.type != kCitySupplyPort) return false;
  const int owner = city.GetOwnerId();
  if (owner == country.id) return true;
  if (country.alliance >= kAllies && country.alliance <= kComintern) {
    const cCountry* leader = world.GetAllianceLeader(country.alliance);
    return leader != nullptr && owner == leader->id;
  }
  return false;
}

bool IsFriendlyPort(const cCountry& country, const cCity& city) {
  return city.IsPort() && IsControllerFriendlyTo(city.GetControllerId(), country);
}

int SeaNodeOf(const cWorld& world, const cCity& city) { return world.GetSeaGraph().FindNodeIdByMainHex(city.x, city.y); }

int SupplyFor(const cCity& city, int countryId) {
  const auto slot = static_cast<std::size_t>(countryId - 1);
  return slot < city.supplyInfo.size() ? city.supplyInfo[slot] : 0;
}

// The source port with the shortest sea route (friendly ports only) to the
// destination, or null when none reaches it.
cCity* NearestSource(cWorld& world, const cCountry& country, const std::vector<cCity*>& sources, const cCity& to) {
  const int toNode = SeaNodeOf(world, to);
  if (toNode < 1) return nullptr;
  cCity* best = nullptr;
  std::size_t bestLength = 0;
  std::vector<int> route;
  for (cCity* source : sources) {
    const int fromNode = SeaNodeOf(world, *source);
    route.clear();
    if (fromNode < 1 || !world.GetSeaGraph().FindPath(world, fromNode, toNode, country.id, true, route)) continue;
    if (best == nullptr || route.size() < bestLength) {
      best = source;
      bestLength = route.size();
    }
  }
  return best;
}

}  // namespace

int PlanSupplyConvoys(cWorld& world, cCountry& country) {
  sUnitLists& lists = world.Units();
  // A step under the lock waits for the main thread's frame: a country
  // without convoys has none to remove.
  const std::vector<cConvoy>* own = lists.convoys.ConvoysOf(country.id);
  if (own != nullptr && !own->empty()) LockedStep([&] { lists.convoys.RemoveOneConvoy(country.id); });
  const Topography groups = cStrategicMovement(world).CountryTopography(country.id);
  std::vector<cCity*> sources;
  std::vector<bool> supplied(groups.size(), false);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    bool hasSupplyCity = false;
    for (const cCity* city : groups[g]) hasSupplyCity = hasSupplyCity || IsSupplyCityFor(world, country, *city);
    if (!hasSupplyCity) continue;
    for (cCity* city : groups[g]) {
      if (IsFriendlyPort(country, *city)) {
        sources.push_back(city);
        supplied[g] = true;
      }
    }
  }
  if (sources.empty()) return 0;
  int added = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (supplied[g]) continue;
    bool served = false;
    for (const cCity* city : groups[g]) served = served || lists.convoys.HasConvoyTo(city, country.id);
    if (served) continue;
    for (cCity* port : groups[g]) {
      if (!IsFriendlyPort(country, *port) || SupplyFor(*port, country.id) >= world.constants.maxSupply) continue;
      cCity* source = NearestSource(world, country, sources, *port);
      if (source == nullptr) continue;
      const int id = LockedStep([&] { return lists.convoys.AddSupplyConvoyAi(world, source, port, country.id); });
      if (id < 0) continue;
      LogLine(L"[AI]: %s - supply convoy from %s to %s", country.name.c_str(), source->GetName().c_str(),
              port->GetName().c_str());
      ++added;
      break;
    }
  }
  return added;
}

}  // namespace ai
