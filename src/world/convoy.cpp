#include "world/convoy.h"

#include "world/cities.h"
#include "world/world.h"

cConvoy::cConvoy(int ownerId, int convoyType, cCity* from, cCity* to)
    : owner(ownerId), departure(from), destination(to), type(convoyType) {
  if (!g_pWorld) return;
  id = g_pWorld->ids.nextConvoyId++;
  if (departure) {
    cSeaGraph& graph = g_pWorld->GetSeaGraph();
    const int nodeId = graph.FindNodeIdByMainHex(departure->x, departure->y);
    if (const sWezelGrafuMorz* node = graph.GetNode(nodeId)) departurePortSize = node->size;
  }
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
