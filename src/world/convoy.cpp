#include "world/convoy.h"

#include <algorithm>
#include <cstdint>

#include "app/console_log.h"
#include "world/cities.h"
#include "world/hex_changes.h"
#include "world/land_movement.h"
#include "world/world.h"

namespace {

// The convoys dialog's port marks, on the hex where a port shows its own
// ships: 0x8000 marks a port to pick, 0x4000 is cleared with it.
constexpr std::uint32_t kConvoyPortMark = 0x8000u;
constexpr std::uint32_t kConvoyMarks = 0xC000u;

cCity* CityOnHex(cWorld& world, int x, int y) {
  cMap& map = world.GetMap();
  return map.IsInside(x, y) ? map.GetHex(x, y).city : nullptr;
}

int ControllerOfNodeCity(const cWorld& world, const sWezelGrafuMorz& node) {
  const cMap& map = world.GetMap();
  return map.IsInside(node.x, node.y) ? map.GetHex(node.x, node.y).controller : 0;
}

}  // namespace

cConvoy::cConvoy(cWorld& world, int ownerId, int convoyType, cCity* from, cCity* to)
    : owner(ownerId), departure(from), destination(to), type(convoyType) {
  id = world.ids.Take(world, eIdKind::kConvoy);
  if (departure) {
    const cSeaGraph& graph = world.GetSeaGraph();
    const int nodeId = graph.FindNodeIdByMainHex(departure->x, departure->y);
    if (const sWezelGrafuMorz* node = graph.GetNode(nodeId)) departurePortSize = node->size;
  }
}

cCity* ConvoyPortCityOfNode(cWorld& world, int nodeId) {
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(nodeId);
  if (!node) return nullptr;
  cCity* city = CityOnHex(world, node->x, node->y);
  return city && city->IsPort() ? city : nullptr;
}

int ConvoySeaNodeOfCity(const cWorld& world, const cCity* city) {
  return city ? world.GetSeaGraph().FindNodeIdByMainHex(city->x, city->y) : -1;
}

void cConvoyStore::Resize(int countryCount) {
  const auto count = static_cast<std::size_t>(countryCount < 0 ? 0 : countryCount);
  convoys_.resize(count);
  results_.resize(count);
}

std::vector<cConvoy>* cConvoyStore::ConvoysOf(int countryId) {
  if (countryId < 1 || countryId > static_cast<int>(convoys_.size())) return nullptr;
  return &convoys_[static_cast<std::size_t>(countryId - 1)];
}

std::vector<sConvoyResult>* cConvoyStore::ResultsOf(int countryId) {
  if (countryId < 1 || countryId > static_cast<int>(results_.size())) return nullptr;
  return &results_[static_cast<std::size_t>(countryId - 1)];
}

bool cConvoyStore::Add(const cConvoy& convoy) {
  std::vector<cConvoy>* list = ConvoysOf(convoy.owner);
  if (!list) return false;
  list->push_back(convoy);
  return true;
}

bool cConvoyStore::RemoveFirstConvoyOf(int countryId) {
  std::vector<cConvoy>* list = ConvoysOf(countryId);
  if (!list || list->empty()) return false;
  list->erase(list->begin());
  return true;
}

int cConvoyStore::AddConvoyBetweenSeaNodes(cWorld& world, int departureNodeId, int destinationNodeId, int ownerId) {
  const int nodes = world.GetSeaGraph().GetNodeCount();
  if (departureNodeId < 1 || departureNodeId > nodes) {
    LogLine(L"ERROR: New convoy has departure sea node with ID=%i, there's no such sea node!", departureNodeId);
    return -1;
  }
  if (destinationNodeId < 1 || destinationNodeId > nodes) {
    LogLine(L"ERROR: New convoy has destination sea node with ID=%i, there's no such sea node!", destinationNodeId);
    return -1;
  }
  cCity* departure = ConvoyPortCityOfNode(world, departureNodeId);
  if (!departure) {
    LogLine(L"ERROR: New convoy has departure sea node with ID=%i, there's no port city for this sea node!",
            departureNodeId);
    return -1;
  }
  cCity* destination = ConvoyPortCityOfNode(world, destinationNodeId);
  if (!destination) {
    LogLine(L"ERROR: New convoy has destination sea node with ID=%i, there's no port city for this sea node!",
            destinationNodeId);
    return -1;
  }
  if (!ConvoysOf(ownerId)) {
    LogLine(L"ERROR: New convoy has owner with ID=%i, there's no such country!", ownerId);
    return -1;
  }
  const cConvoy convoy(world, ownerId, kConvoySupplies, departure, destination);
  Add(convoy);
  return convoy.id;
}

int cConvoyStore::AddConvoy(cWorld& world, int ownerId, int type, int value, int departureX, int departureY,
                            int destinationX, int destinationY) {
  cCity* departure = CityOnHex(world, departureX, departureY);
  cCity* destination = CityOnHex(world, destinationX, destinationY);
  if (!departure || !destination || !ConvoysOf(ownerId)) return -1;
  cConvoy convoy(world, ownerId, type == kConvoyProduction ? kConvoyProduction : kConvoySupplies, departure,
                 destination);
  convoy.value = value;
  Add(convoy);
  return convoy.id;
}

int cConvoyStore::AddSupplyConvoyAi(cWorld& world, cCity* departure, cCity* destination, int ownerId) {
  if (!departure || !destination || !departure->IsPort() || !destination->IsPort() || !ConvoysOf(ownerId)) return -1;
  cConvoy convoy(world, ownerId, kConvoySupplies, departure, destination);
  const auto index = static_cast<std::size_t>(ownerId - 1);
  const int current = index < destination->supplyInfo.size() ? destination->supplyInfo[index] : 0;
  convoy.value = world.constants.maxSupply - current;
  if (convoy.value < 1) {
    LogLine(L"Supply convoy to %s would carry %i; its value becomes 0", destination->GetName(), convoy.value);
    convoy.value = 0;
  }
  Add(convoy);
  return convoy.id;
}

int cConvoyStore::RemoveConvoys(cWorld& world, int ownerId, int type, int departureX, int departureY,
                                int destinationX, int destinationY) {
  const cCity* departure = CityOnHex(world, departureX, departureY);
  const cCity* destination = CityOnHex(world, destinationX, destinationY);
  std::vector<cConvoy>* list = ConvoysOf(ownerId);
  if (!departure || !destination || !list) return 0;
  const auto before = list->size();
  std::erase_if(*list, [&](const cConvoy& convoy) {
    return convoy.type == type && convoy.departure == departure && convoy.destination == destination;
  });
  return static_cast<int>(before - list->size());
}

bool cConvoyStore::HasConvoyTo(const cCity* destination, int countryId) {
  const std::vector<cConvoy>* list = ConvoysOf(countryId);
  return list && std::any_of(list->begin(), list->end(),
                             [destination](const cConvoy& convoy) { return convoy.destination == destination; });
}

bool cConvoyStore::IsDeparturePort(const cWorld& world, int countryId, int nodeId) {
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(nodeId);
  return node && !node->IsSeaZone() && countryId != 0 && ControllerOfNodeCity(world, *node) == countryId;
}

bool cConvoyStore::IsDestinationPort(const cWorld& world, int countryId, int departureNodeId, int nodeId) {
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(nodeId);
  const cCountry* country = world.GetCountry(countryId);
  if (!node || node->IsSeaZone() || node->id == departureNodeId || !country) return false;
  // A city hex nobody holds is friendly to nobody.
  return IsControllerFriendlyTo(ControllerOfNodeCity(world, *node), *country);
}

void cConvoyStore::MarkDeparturePorts(cWorld& world, int countryId) {
  cMap& map = world.GetMap();
  ClearMapMarks(map, kConvoyMarks, false);
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    if (!map.IsInside(node.ownShipX, node.ownShipY) || !IsDeparturePort(world, countryId, node.id)) continue;
    SetHexMark(map, map.GetHex(node.ownShipX, node.ownShipY), kConvoyPortMark, -1);
  }
}

void cConvoyStore::MarkDestinationPorts(cWorld& world, int countryId, int departureNodeId) {
  cMap& map = world.GetMap();
  ClearMapMarks(map, kConvoyMarks, false);
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    if (!map.IsInside(node.ownShipX, node.ownShipY)) continue;
    if (!IsDestinationPort(world, countryId, departureNodeId, node.id)) continue;
    SetHexMark(map, map.GetHex(node.ownShipX, node.ownShipY), kConvoyPortMark, -1);
  }
}
