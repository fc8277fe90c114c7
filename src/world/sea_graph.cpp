#include "world/sea_graph.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/csv_reader.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/world.h"
#include "world/relations.h"
#include "app/file_text.h"

namespace {


// The leading decimal integer of a field as the C library reads it (0 when
// there is none).
int FieldInt(const std::wstring& field) { return static_cast<int>(std::wcstol(field.c_str(), nullptr, 10)); }

int FieldInt(std::string_view field) {
  const std::string text(field);
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

cMap* WorldMap() { return g_pWorld ? &g_pWorld->GetMap() : nullptr; }

// Marks hex (x, y) as belonging to the node; false when it is off the map.
bool StampHex(cMap* map, int x, int y, int id, bool alsoSeaZone) {
  if (!map || !map->IsInside(x, y)) return false;
  sHex& hex = map->GetHex(x, y);
  hex.seaNode = static_cast<std::uint16_t>(id);
  if (alsoSeaZone) hex.seaZone = static_cast<std::uint16_t>(id);
  return true;
}

// How the route search sees the countries: one look-up of the searching
// country, then plain answers for the controllers it meets.
class cRouteRules {
 public:
  explicit cRouteRules(int countryId) : country_id_(countryId) {
    if (!g_pWorld) return;
    map_ = &g_pWorld->GetMap();
    country_ = g_pWorld->GetCountry(countryId);
    country_count_ = g_pWorld->GetCountryCount();
    relations_ = &g_pWorld->GetRelations();
  }

  // Controller of the hex; 0 (nobody) off the map.
  int ControllerAt(int x, int y) const {
    return map_ && map_->IsInside(x, y) ? map_->GetHex(x, y).controller : 0;
  }
  // The country itself or one of its allies; nobody is neither.
  bool IsFriendly(int controller) const {
    if (controller == 0) return false;
    if (controller == country_id_) return true;
    return country_ && controller <= country_count_ && country_->IsAlliedWith(controller);
  }
  bool IsAtWar(int controller) const {
    if (!relations_) return false;
    const int n = relations_->GetCount();
    if (controller < 1 || controller > n || country_id_ < 1 || country_id_ > n) return false;
    return relations_->IsAtWar(country_id_, controller);
  }
  // A link without a strait, or one whose strait hex a friend holds.
  bool StraitOpen(const sSeaLink& link) const {
    return link.straitX == -1 || IsFriendly(ControllerAt(link.straitX, link.straitY));
  }
  bool PortOpen(const sWezelGrafuMorz& port, bool friendlyOnly) const {
    const int controller = ControllerAt(port.x, port.y);
    return friendlyOnly ? IsFriendly(controller) : !IsAtWar(controller);
  }

 private:
  int country_id_;
  const cMap* map_ = nullptr;
  const cCountry* country_ = nullptr;
  int country_count_ = 0;
  const cRelationsMatrix* relations_ = nullptr;
};

}  // namespace

// --- nodes ---

void sWezelGrafuMorz::CollectFleets(std::list<cFleet*>& out) const {
  out.clear();
  if (g_pWorld == nullptr) return;
  for (cFleet* fleet : g_pWorld->Units().fleets) {
    if (fleet->seaNode == id) out.push_back(fleet);
  }
}

int sWezelGrafuMorz::GetOwnShipCount() const {
  int sum = 0;
  for (int c : ownCounts) sum += c;
  return sum;
}

int sWezelGrafuMorz::GetSpottedEnemyShipCount() const {
  int sum = 0;
  for (int c : enemyCounts) sum += c;
  return sum;
}

void sWezelGrafuMorz::ResetShipCounts(bool keepEnemy) {
  ownShip = nullptr;
  enemyShip = nullptr;
  std::fill(std::begin(ownCounts), std::end(ownCounts), 0);
  std::fill(std::begin(alliedCounts), std::end(alliedCounts), 0);
  if (!keepEnemy) std::fill(std::begin(enemyCounts), std::end(enemyCounts), 0);
}

// --- loading ---

void cSeaGraph::LoadSeaNodes(std::wstring_view folderFormat) {
  const std::wstring fileName = plat::Format(folderFormat, L"sea_nodes.csv");
  const auto file = files::OpenCsvFileOrExit(fileName, {L"Otwieranie pliku wezlow grafu morz:"});
  cCsvReader& reader = *file;

  nodes_.clear();
  cMap* map = WorldMap();
  int count = 0;
  while (!reader.AtEnd()) {
    reader.ReadRecord(false);
    if (reader.FieldCount() < 10) continue;
    ++count;
    sWezelGrafuMorz node;
    node.id = FieldInt(reader[0]);
    if (node.id != count) {
      LogLine(L"ERROR. Sea node %i has ID=%i (should be equal!)", count, node.id);
      FatalExit(1);
      return;
    }
    node.name = reader[1];
    node.maxSize = FieldInt(reader[2]);
    node.size = std::min(FieldInt(reader[3]), node.maxSize);
    node.isSea = node.size == 0 ? 1 : 0;
    node.x = FieldInt(reader[4]);
    node.y = FieldInt(reader[5]);
    node.ownShipX = FieldInt(reader[6]);
    node.ownShipY = FieldInt(reader[7]);
    node.enemyShipX = FieldInt(reader[8]);
    node.enemyShipY = FieldInt(reader[9]);
    if (node.name == L"-" && map && map->IsInside(node.x, node.y)) {
      if (const cCity* city = map->GetHex(node.x, node.y).city) node.name = city->GetName();
    }
    nodes_.push_back(node);

    const bool port = !node.IsSeaZone();
    if (!StampHex(map, node.x, node.y, node.id, false)) {
      LogLine(L"WARNING. Main hex for sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
    }
    if (!StampHex(map, node.ownShipX, node.ownShipY, node.id, port)) {
      LogLine(L"WARNING. Player unit in sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
    }
    if (!StampHex(map, node.enemyShipX, node.enemyShipY, node.id, port)) {
      LogLine(L"WARNING. Enemy unit in sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
    }
  }
  reader.Close();

  if (!g_pWorld) return;
  bool missing = false;
  for (const cCity* city : g_pWorld->Cities()) {
    if (!city || !city->IsPort()) continue;
    if (map && map->IsInside(city->x, city->y) && map->GetHex(city->x, city->y).seaNode != 0) continue;
    LogLine(L"ERROR. There is no sea node for port city %s (%i, %i)", city->GetName(), city->x, city->y);
    missing = true;
  }
  if (missing) FatalExit(1);
}

void cSeaGraph::LoadSeaEdges(std::wstring_view scenarioName) {
  const std::wstring fileName =
      plat::Format(L"data\\scenarios\\%s\\sea_edges.csv", std::wstring(scenarioName));
  const std::string text = files::ReadDataFileOrExit(fileName, {L"Otwieranie pliku krawedzi grafu morz:"});
  if (!ReadSeaEdgesText(text)) FatalExit(1);
}

bool cSeaGraph::ReadSeaEdgesText(std::string_view text) {
  plat::LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    // The line end counts towards the five characters of a line too short
    // to hold a link.
    if (line.empty() || line.front() == '#' || line.size() + 1 <= 5) continue;
    int values[4] = {0, 0, -1, -1};
    std::size_t start = 0;
    for (int f = 0; f < 4 && start <= line.size(); ++f) {
      std::size_t semi = line.find(';', start);
      if (semi == std::string_view::npos) semi = line.size();
      values[f] = FieldInt(line.substr(start, semi - start));
      start = semi + 1;
    }
    sWezelGrafuMorz* from = GetNode(values[0]);
    if (!from || !GetNode(values[1])) {
      LogLine(L"ERROR. Sea edge in line %i links sea node %i to sea node %i, but no such node was loaded!",
              static_cast<int>(lines.LineNumber()), values[0], values[1]);
      return false;
    }
    from->links.push_back({values[1], values[2], values[3]});
  }
  return true;
}

// --- queries ---

sWezelGrafuMorz* cSeaGraph::GetNode(int id) {
  return id >= 1 && id <= GetNodeCount() ? &nodes_[static_cast<std::size_t>(id - 1)] : nullptr;
}

const sWezelGrafuMorz* cSeaGraph::GetNode(int id) const {
  return id >= 1 && id <= GetNodeCount() ? &nodes_[static_cast<std::size_t>(id - 1)] : nullptr;
}

int cSeaGraph::FindNodeIdByMainHex(int x, int y) const {
  for (const sWezelGrafuMorz& node : nodes_) {
    if (node.x == x && node.y == y) return node.id;
  }
  return -1;
}

int cSeaGraph::GetAdjacentSeaZoneId(int nodeId) const {
  const sWezelGrafuMorz* node = GetNode(nodeId);
  if (!node) return -1;
  for (const sSeaLink& link : node->links) {
    const sWezelGrafuMorz* other = GetNode(link.node);
    if (other && other->IsSeaZone()) return other->id;
  }
  return -1;
}

bool cSeaGraph::HasPassableLink(int fromId, int toId, int countryId) const {
  const sWezelGrafuMorz* from = GetNode(fromId);
  if (!from) return false;
  const cRouteRules rules(countryId);
  for (const sSeaLink& link : from->links) {
    if (link.node == toId && rules.StraitOpen(link)) return true;
  }
  return false;
}

// Breadth-first over the links, one level of equal hop count at a time.
//
// The search as designed queued a node again each time another node of the
// level before reached it, so that the node reached last took the place of
// its predecessor; with many equally short routes (any mesh of sea zones)
// the queue grew with the number of routes, which is exponential. Here each
// node is queued once per level and the level is ordered by the moment each
// node was last reached. The routes found are the same: every node ends with
// the predecessor that reached it last, and the next level is visited in the
// order the repeated queue would have visited it for the last time.
bool cSeaGraph::FindPath(int fromId, int toId, int countryId, bool friendlyPortsOnly, std::vector<int>& out) {
  out.clear();
  for (sWezelGrafuMorz& node : nodes_) {
    node.searchDistance = -1;
    node.previousNode = -1;
  }
  sWezelGrafuMorz* start = GetNode(fromId);
  sWezelGrafuMorz* goal = GetNode(toId);
  if (!start || !goal) return false;
  start->searchDistance = 0;
  start->previousNode = 0;

  const cRouteRules rules(countryId);
  stamp_.assign(nodes_.size(), 0);
  int clock = 0;
  level_.assign(1, fromId);
  for (int distance = 0; !level_.empty(); ++distance) {
    next_level_.clear();
    for (int id : level_) {
      for (const sSeaLink& link : nodes_[static_cast<std::size_t>(id - 1)].links) {
        sWezelGrafuMorz* next = GetNode(link.node);
        if (!next) continue;
        if (next->searchDistance != -1 && next->searchDistance <= distance) continue;
        if (!rules.StraitOpen(link)) continue;
        if (!next->IsSeaZone() && !rules.PortOpen(*next, friendlyPortsOnly)) continue;
        if (next->searchDistance == -1) {
          next->searchDistance = distance + 1;
          next_level_.push_back(link.node);
        }
        next->previousNode = id;
        stamp_[static_cast<std::size_t>(link.node - 1)] = ++clock;
      }
    }
    std::sort(next_level_.begin(), next_level_.end(), [this](int a, int b) {
      return stamp_[static_cast<std::size_t>(a - 1)] < stamp_[static_cast<std::size_t>(b - 1)];
    });
    level_.swap(next_level_);
  }

  if (goal->searchDistance < 0) return false;
  // Every step goes one level down, so the walk ends at the start.
  for (int id = toId;; id = nodes_[static_cast<std::size_t>(id - 1)].previousNode) {
    out.push_back(id);
    if (id == fromId) break;
  }
  return true;
}
