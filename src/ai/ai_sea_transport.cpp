// The computer's sea transport of reserve units to the fronts: the friendly
// ports that serve a front, the friendly ports with a sea route to one of
// them, and the reserve units sent to those ports (order 10), waiting there
// (order 11) and loaded onto cargo ships bound for the front's port.
#include <algorithm>
#include <utility>
#include <vector>

#include "ai/ai_economy.h"
#include "ai/ai_fronts.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "platform/format.h"
#include "rules/sea_transport.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/strategic_movement.h"
#include "world/topography.h"
#include "world/transport_tables.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

bool Contains(const std::vector<cCity*>& cities, const cCity* city) {
  return std::find(cities.begin(), cities.end(), city) != cities.end();
}

int PortNode(const cWorld& world, const cCity& port) { return world.GetSeaGraph().FindNodeIdByMainHex(port.x, port.y); }

// The friendly ports that serve the fronts: a city of a front, or joined by
// land held by the country's side to one; fronts of a single enclosed city
// are left out. In the order of the fronts.
std::vector<cCity*> FindFrontPorts(cWorld& world, const cCountry& country, const std::vector<sAiFront>& fronts,
                                   const std::vector<cCity*>& friendlyPorts) {
  std::vector<cCity*> out;
  std::vector<cCity*> route;
  for (const sAiFront& front : fronts) {
    if (IsFrontSingleEnclosedCity(world, front, country.id)) continue;
    const std::vector<cCity*> cities = CollectFrontCitiesOf(world, front, country.id);
    for (cCity* port : friendlyPorts) {
      if (Contains(out, port)) continue;
      bool serves = Contains(cities, port);
      for (std::size_t i = 0; i < cities.size() && !serves; ++i) {
        serves = world.GetCityGraph().FindPath(world, port, cities[i], country.id, route);
      }
      if (serves) out.push_back(port);
    }
  }
  return out;
}

// Each friendly port with a sea route to a front port, with the first such
// front port (the fronts in their order), in the order of the friendly ports.
std::vector<std::pair<cCity*, cCity*>> FindEmbarkationPorts(cWorld& world, const cCountry& country,
                                              const std::vector<cCity*>& friendlyPorts,
                                              const std::vector<cCity*>& frontPorts) {
  std::vector<std::pair<cCity*, cCity*>> out;
  LockedStep([&] {
    std::vector<int> path;
    for (cCity* from : friendlyPorts) {
      const int fromNode = PortNode(world, *from);
      if (fromNode < 1) continue;
      for (cCity* to : frontPorts) {
        const int toNode = PortNode(world, *to);
        if (to == from || toNode < 1) continue;
        if (!world.GetSeaGraph().FindPath(world, fromNode, toNode, country.id, true, path)) continue;
        LogLine(L"Connection by sea: %s -> %s", from->GetName().c_str(), to->GetName().c_str());
        const bool known = std::any_of(out.begin(), out.end(), [from](const auto& entry) { return entry.first == from; });
        if (!known) out.emplace_back(from, to);
      }
    }
  });
  return out;
}

// The embarkation port the unit reaches by strategic movement nearest its
// area city over the cities graph; null when none.
cCity* ChooseEmbarkationPort(cWorld& world, const cJednostkaLadowa& unit, const std::vector<std::pair<cCity*, cCity*>>& ports) {
  const cStrategicMovement movement(world);
  std::vector<cCity*> candidates;
  for (const auto& entry : ports) candidates.push_back(entry.first);
  return NearestPortOverCityGraph(world, unit, candidates,
                                  [&](const cCity& port) { return movement.IsCityReachable(unit, port); });
}

void LoadForFront(cWorld& world, cCountry& country, cJednostkaLadowa& unit, const std::vector<std::pair<cCity*, cCity*>>& ports) {
  int px = -1, py = -1;
  if (!unit.FindAdjacentPort(world, px, py) || unit.actionPoints <= 0) return;
  const int cost = transport_tables::SeaTransportCost(world.constants, unit.type);
  if (country.seaTransportPoints < cost) {
    LockedStep([&] {
      auto& queue = country.aiData.purchaseQueue;
      queue.erase(std::remove(queue.begin(), queue.end(), static_cast<int>(kAiBuySeaTransportLot)), queue.end());
      queue.push_back(kAiBuySeaTransportLot);
    });
    return;
  }
  const cCity* port = world.GetMap().GetHex(px, py).city;
  auto it = std::find_if(ports.begin(), ports.end(), [&](const auto& entry) { return entry.first == port; });
  if (it == ports.end()) {
    LogLine(L"[AI] %s: %s waits at %s, which has no sea route to a front", country.name.c_str(), unit.name.c_str(),
            port != nullptr ? port->GetName().c_str() : L"");
    return;
  }
  const int destination = PortNode(world, *it->second);
  const eTransportRefusal refusal =
      LockedStep([&] { return CheckLoadOntoShip(world, unit, kUnitCargoShip); });
  if (refusal != eTransportRefusal::kNone) {
    LogLine(L"[AI] %s: %s cannot be loaded onto a transport (refusal %i)", country.name.c_str(), unit.name.c_str(),
            static_cast<int>(refusal));
    return;
  }
  LogLine(L"%s meets all conditions and will be loaded onto transport to go to front", unit.name.c_str());
  const bool shown = IsActionShown(world, unit);
  if (shown) ShowMoveBefore(world, unit.x, unit.y);
  ReportAction(plat::Format(L"[AI] %s: Loading %s onto transport", country.name.c_str(), unit.name.c_str()), shown);
  cFleet* fleet = nullptr;
  const eTransportRefusal loading = AiLoadOntoTransport(world, unit, kUnitCargoShip, kAiFleetTransport, &fleet);
  if (loading != eTransportRefusal::kNone) {
    LogLine(L"[AI] %s: loading %s refused (%hs)", country.name.c_str(), unit.name.c_str(),
            TransportRefusalKey(loading));
  }
  if (fleet != nullptr) LockedStep([&] { fleet->aiDestinationNode = destination; });
  if (shown) ShowMoveAfter(world);
}

}  // namespace

void TransportUnitsToFronts(cWorld& world, cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts) {
  LogLine(L"Transporting sea units to fronts");
  if (fronts.empty()) {
    LogLine(L"No open fronts... aborting procedure.");
    return;
  }
  DropDeadUnits(world, lists);
  const bool anyReserve = std::any_of(lists.ownLand.begin(), lists.ownLand.end(),
                                      [](const cJednostkaLadowa* unit) { return unit->aiOrder == kAiReserve; });
  if (!anyReserve) {
    LogLine(L"No own idle land units (idle = no order). Aborting procedure.");
    return;
  }
  LogLine(L"Fronts before sort:");
  for (const sAiFront& front : fronts) front.DumpSummary();
  std::stable_sort(fronts.begin(), fronts.end(), CompareFrontsByAdvantage);
  LogLine(L"Fronts after sort:");
  for (const sAiFront& front : fronts) front.DumpSummary();

  std::vector<cCity*> friendlyPorts;
  for (cCity* city : world.Cities()) {
    if (city->IsPort() && IsControllerFriendlyTo(city->GetControllerId(), country)) friendlyPorts.push_back(city);
  }
  const std::vector<cCity*> frontPorts = FindFrontPorts(world, country, fronts, friendlyPorts);
  const std::vector<std::pair<cCity*, cCity*>> embarkation = FindEmbarkationPorts(world, country, friendlyPorts, frontPorts);
  if (embarkation.empty() || frontPorts.empty()) return;

  for (cJednostkaLadowa* unit : lists.ownLand) {
    if (unit->aiOrder != kAiReserve || unit->IsHarbour()) continue;
    if (cCity* port = ChooseEmbarkationPort(world, *unit, embarkation)) {
      SetUnitOrder(*unit, kAiToTransportPort, port->x, port->y, port->x, port->y);
    }
  }
  for (cJednostkaLadowa* unit : std::vector<cJednostkaLadowa*>(lists.ownLand)) {
    if (WorkerStopping(world)) return;
    if (!IsUnitInWorldLists(world, unit) || unit->aiOrder != kAiToTransportPort) continue;
    MoveTowardPort(world, country, *unit, kAiAwaitTransport);
  }
  bool loaded = false;
  for (cJednostkaLadowa* unit : std::vector<cJednostkaLadowa*>(lists.ownLand)) {
    if (WorkerStopping(world)) break;
    if (!IsUnitInWorldLists(world, unit) || unit->aiOrder != kAiAwaitTransport) continue;
    LoadForFront(world, country, *unit, embarkation);
    loaded = loaded || !IsUnitInWorldLists(world, unit) || unit->transport != nullptr;
  }
  // The loaded units have left the map.
  if (loaded) BuildUnitLists(world, country, lists);
}

}  // namespace ai
