#include "world/sea_graph.h"

#include <algorithm>
#include <climits>
#include <string>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/data_rows.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/world.h"
#include "world/relations.h"
#include "app/file_text.h"

namespace {

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
  cRouteRules(const cWorld& world, int countryId)
      : country_id_(countryId),
        map_(&world.GetMap()),
        country_(world.GetCountry(countryId)),
        country_count_(world.GetCountryCount()),
        relations_(&world.GetRelations()) {}

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

const std::vector<int>& sWezelGrafuMorz::PortSightingsOf(int country) const {
  static const std::vector<int> kNone;
  for (const sPortSighting& sighting : portSightings) {
    if (sighting.country == country) return sighting.shipIds;
  }
  return kNone;
}

void sWezelGrafuMorz::SetPortSightings(int country, std::vector<int> shipIds) {
  for (sPortSighting& sighting : portSightings) {
    if (sighting.country != country) continue;
    sighting.shipIds = std::move(shipIds);
    return;
  }
  portSightings.push_back(sPortSighting{country, std::move(shipIds)});
}

// --- loading ---

void cSeaGraph::LoadSeaNodes(cWorld& world, std::wstring_view folderFormat) {
  const std::wstring fileName = plat::Format(folderFormat, L"sea_nodes.csv");
  const auto file = files::OpenCsvFileOrExit(fileName, {L"Otwieranie pliku wezlow grafu morz:"});
  cCsvReader& reader = *file;

  nodes_.clear();
  cMap* map = &world.GetMap();
  int count = 0;
  files::cRowCheck row(fileName, files::RowLossOf(world.savedGame));
  // The line of each node read, by id.
  std::vector<std::uint32_t> lines;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(10)) continue;
    row.WarnExtraFields(10);
    ++count;
    sWezelGrafuMorz node;
    node.id = row.Int(0, L"sea node id");
    if (node.id != count) {
      LogLine(L"ERROR. Sea node %i has ID=%i (should be equal!)", count, node.id);
      if (node.id >= 1 && node.id < count) {
        row.RefuseRepeated(plat::Format(L"sea node id %i", node.id), lines[static_cast<std::size_t>(node.id - 1)]);
      }
      row.RefuseValue(0, L"sea node id", plat::Format(L"breaks the sequence of ids (expected %i)", count));
    }
    node.name = reader[1];
    // Port sizes run 0 (a sea zone) to 9.
    node.maxSize = row.Int(2, L"maximum port size", 0, 9);
    node.size = row.IntClamped(3, L"port size", 0, node.maxSize);
    node.isSea = node.size == 0 ? 1 : 0;
    // Hexes off the map are tolerated: each is logged below.
    node.x = row.Int(4, L"hex x");
    node.y = row.Int(5, L"hex y");
    node.ownShipX = row.Int(6, L"player unit hex x");
    node.ownShipY = row.Int(7, L"player unit hex y");
    node.enemyShipX = row.Int(8, L"enemy unit hex x");
    node.enemyShipY = row.Int(9, L"enemy unit hex y");
    if (node.name == L"-" && map && map->IsInside(node.x, node.y)) {
      if (const cCity* city = map->GetHex(node.x, node.y).city) node.name = city->GetName();
    }
    nodes_.push_back(node);
    lines.push_back(row.Line());

    const bool port = !node.IsSeaZone();
    if (!StampHex(map, node.x, node.y, node.id, false)) {
      LogLine(L"WARNING. Main hex for sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
      row.Warn(L"the main hex is outside the map");
    }
    if (!StampHex(map, node.ownShipX, node.ownShipY, node.id, port)) {
      LogLine(L"WARNING. Player unit in sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
      row.Warn(L"the player unit's hex is outside the map");
    }
    if (!StampHex(map, node.enemyShipX, node.enemyShipY, node.id, port)) {
      LogLine(L"WARNING. Enemy unit in sea node %s (ID=%i) is placed outside the map!", node.name, node.id);
      row.Warn(L"the enemy unit's hex is outside the map");
    }
  }
  reader.Close();

  bool missing = false;
  for (const cCity* city : world.Cities()) {
    if (!city || !city->IsPort()) continue;
    if (map && map->IsInside(city->x, city->y) && map->GetHex(city->x, city->y).seaNode != 0) continue;
    LogLine(L"ERROR. There is no sea node for port city %s (%i, %i)", city->GetName(), city->x, city->y);
    LogLine(L"ERROR: %s: no sea node stands on the port city %s (%i, %i)", fileName, city->GetName(), city->x,
            city->y);
    missing = true;
  }
  if (missing) FatalExit(1);
}

void cSeaGraph::LoadSeaEdges(const cWorld& world, std::wstring_view scenarioName) {
  const std::wstring fileName =
      plat::Format(L"data\\scenarios\\%s\\sea_edges.csv", std::wstring(scenarioName));
  const std::string text = files::ReadDataFileOrExit(fileName, {L"Otwieranie pliku krawedzi grafu morz:"});
  if (!ReadSeaEdgesText(&world.GetMap(), text, fileName)) FatalExit(1);
}

bool cSeaGraph::ReadSeaEdgesText(const cMap* map, std::string_view text, std::wstring_view path) {
  int edges = 0;
  plat::LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    // The line end counts towards the five characters of a line too short
    // to hold a link.
    if (line.empty() || line.front() == '#') continue;
    if (line.size() + 1 <= 5) {
      LogLine(L"WARNING: %s line %i: \"%hs\" is too short to hold a link; the row is skipped", std::wstring(path),
              static_cast<int>(lines.LineNumber()), std::string(line));
      continue;
    }
    int values[4] = {0, 0, -1, -1};
    std::size_t start = 0;
    const int lineNumber = static_cast<int>(lines.LineNumber());
    for (int f = 0; f < 4 && start <= line.size(); ++f) {
      std::size_t semi = line.find(';', start);
      if (semi == std::string_view::npos) semi = line.size();
      const std::string field(line.substr(start, semi - start));
      start = semi + 1;
      // A trailing ';' leaves one empty field: it stands for nothing.
      if (field.empty() && start > line.size() && f >= 2) break;
      if (!files::ParseWholeInt(plat::WidenAnsi(field), values[f])) {
        LogLine(L"ERROR: %s line %i column %i: \"%hs\" is not a whole number", std::wstring(path), lineNumber, f + 1,
                field);
        return false;
      }
    }
    // A strait is a hex of the map (or -1: none).
    for (int f = 2; f < 4 && map; ++f) {
      const int size = f == 2 ? map->GetWidth() : map->GetHeight();
      if (values[f] >= -1 && values[f] < size) continue;
      LogLine(L"ERROR: %s line %i column %i: strait %s %i is not -1 or on the map", std::wstring(path), lineNumber,
              f + 1, f == 2 ? L"x" : L"y", values[f]);
      return false;
    }
    sWezelGrafuMorz* from = GetNode(values[0]);
    if (!from || !GetNode(values[1])) {
      LogLine(L"ERROR. Sea edge in line %i links sea node %i to sea node %i, but no such node was loaded!",
              lineNumber, values[0], values[1]);
      LogLine(L"ERROR: %s line %i: sea node %i or %i does not exist", std::wstring(path), lineNumber, values[0],
              values[1]);
      return false;
    }
    from->links.push_back({values[1], values[2], values[3]});
    ++edges;
  }
  // No fleet could sail anywhere.
  if (edges == 0) {
    LogLine(L"WARNING: %s: no sea edge rows: the file is empty or holds only its header and comments",
            std::wstring(path));
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

bool cSeaGraph::HasPassableLink(const cWorld& world, int fromId, int toId, int countryId) const {
  const sWezelGrafuMorz* from = GetNode(fromId);
  if (!from) return false;
  const cRouteRules rules(world, countryId);
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
bool cSeaGraph::FindPath(const cWorld& world, int fromId, int toId, int countryId, bool friendlyPortsOnly,
                         std::vector<int>& out) {
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

  const cRouteRules rules(world, countryId);
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
