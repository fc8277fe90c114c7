#include "world/city_graph.h"

#include <string>

#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/world.h"
#include "app/file_text.h"

namespace {

// Splits at ';' into the five fields of a link (a trailing ';' adds
// nothing); false with the column of the first field that is missing or not
// a whole number.
bool ParseLinkLine(std::string_view line, int out[5], int& badColumn) {
  for (int f = 0; f < 5; ++f) {
    const std::size_t end = line.find(';');
    badColumn = f + 1;
    if (line.empty() && end == std::string_view::npos) return false;
    if (!files::ParseWholeInt(plat::WidenAnsi(line.substr(0, end)), out[f])) return false;
    line = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
  }
  return true;
}

cCity* CityAt(const cMap& map, int x, int y) {
  return map.IsInside(x, y) ? map.GetHex(x, y).city : nullptr;
}

}  // namespace

void cCityGraph::BuildNodes(const std::vector<cCity*>& cities) {
  nodes_.clear();
  node_cities_.clear();
  for (cCity* city : cities) {
    if (!city || city->type == kCityResources) continue;
    const int index = static_cast<int>(nodes_.size());
    sCityGraphNode node;
    node.city = city;
    nodes_.push_back(std::move(node));
    node_cities_.emplace_back(index, city);
    city->graphNode = index;
  }
}

int cCityGraph::FindNodeIndex(const cCity* city) const {
  for (const auto& [index, c] : node_cities_) {
    if (c == city) return index;
  }
  return -1;
}

eCitiesDiagramResult cCityGraph::ReadCitiesDiagramText(const cMap& map, std::string_view text, std::wstring_view path) {
  plat::LineReader reader(text);
  std::string_view line;
  while (reader.Next(line)) {
    const int lineNumber = static_cast<int>(reader.LineNumber());
    // Comments and empty lines.
    if (!line.empty() && line[0] == '#') continue;
    if (line.find_first_not_of("; \t") == std::string_view::npos) continue;

    int f[5];
    int badColumn = 0;
    if (!ParseLinkLine(line, f, badColumn)) {
      LogLine(L"ERROR: %s line %i column %i: a link needs five whole numbers (from x;y;to x;y;type): \"%s\"",
              std::wstring(path), lineNumber, badColumn, plat::WidenAnsi(line));
      return eCitiesDiagramResult::kBadLine;
    }
    if (f[4] != kCityLinkLand && f[4] != kCityLinkSecond) {
      LogLine(L"ERROR: %s line %i column 5: link type %i is not 0 or 1", std::wstring(path), lineNumber, f[4]);
      return eCitiesDiagramResult::kBadLine;
    }
    cCity* first = CityAt(map, f[0], f[1]);
    cCity* second = CityAt(map, f[2], f[3]);
    if (!first || !second) {
      LogLine(g_StringBase.GetText("critical_error_at_line_%i._no_city_at_given_coordinates"), lineNumber);
      LogLine(L"ERROR: %s line %i: cities.csv has no city at (%i, %i)", std::wstring(path), lineNumber,
              first ? f[2] : f[0], first ? f[3] : f[1]);
      return eCitiesDiagramResult::kNoCity;
    }
    const int target = FindNodeIndex(second);
    if (target < 0) {
      LogLine(g_StringBase.GetText("critical_error._cannot_find_node_index_for_city_%s_(line_%i)"),
              second->GetName(), lineNumber);
      return eCitiesDiagramResult::kNoNode;
    }
    for (sCityGraphNode& node : nodes_) {
      if (node.city == first) node.links.push_back({target, f[4]});
    }
  }
  return eCitiesDiagramResult::kOk;
}

void cCityGraph::LoadCitiesDiagram(const cWorld& world, std::wstring_view scenarioName) {
  // The links name cities by their hexes, so without a map nothing can be
  // read; going on would leave the routes silently empty.
  if (world.GetMap().GetWidth() == 0) {
    LogLine(g_StringBase.GetText("error_while_reading_cities_diagram._cannot_retrieve_map_pointer._end."));
    FatalExit(1);
  }
  const std::wstring fileName = plat::Format(L"data\\scenarios\\%s\\cities_diagram.csv", std::wstring(scenarioName));
  const std::string text = files::ReadDataFileOrExit(fileName, {L"Otwieranie pliku diagramu miast:"});
  if (ReadCitiesDiagramText(world.GetMap(), text, fileName) != eCitiesDiagramResult::kOk) FatalExit(1);
  // No route joins any two cities: convoys and the computer's routes would
  // find nothing.
  std::size_t links = 0;
  for (const sCityGraphNode& node : nodes_) links += node.links.size();
  if (links == 0 && nodes_.size() > 1) {
    LogLine(L"WARNING: %s: no city link rows: the file is empty or holds only its header and comments", fileName);
  }
}

bool cCityGraph::FindPath(const cWorld& world, const cCity* from, const cCity* to, int countryId,
                          std::vector<cCity*>& out) {
  if (!from || !to) return false;
  out.clear();
  for (sCityGraphNode& node : nodes_) node.visited = 0;
  if (from->GetHopsTo(*to) == -1) return false;
  if (!IsControllerFriendlyTo(world, from->GetControllerId(), countryId)) return false;
  const int start = from->graphNode;
  if (start < 0 || static_cast<std::size_t>(start) >= nodes_.size()) return false;

  struct sEntry {
    int node;
    int predecessor;  // index into the queue, -1 for the start
  };
  std::vector<sEntry> queue;
  nodes_[start].visited = 1;
  queue.push_back({start, -1});
  int reached = -1;
  for (std::size_t next = 0; next < queue.size() && reached < 0; ++next) {
    const int node = queue[next].node;
    for (const sCityGraphLink& link : nodes_[node].links) {
      if (link.type != kCityLinkLand) continue;
      sCityGraphNode& target = nodes_[link.target];
      if (target.visited) continue;
      if (!IsControllerFriendlyTo(world, target.city->GetControllerId(), countryId)) continue;
      target.visited = 1;
      queue.push_back({link.target, static_cast<int>(next)});
      if (target.city == to) {
        reached = static_cast<int>(queue.size()) - 1;
        break;
      }
    }
  }
  if (reached < 0) {
    out.clear();
    return false;
  }
  for (int i = reached; i >= 0; i = queue[i].predecessor) out.push_back(nodes_[queue[i].node].city);
  return true;
}

bool cCityGraph::HasAlliedLinkOfType1(const cWorld& world, int nodeIndex, int countryId) const {
  if (nodeIndex < 0 || static_cast<std::size_t>(nodeIndex) >= nodes_.size()) return false;
  for (const sCityGraphLink& link : nodes_[nodeIndex].links) {
    if (link.type != kCityLinkSecond) continue;
    if (IsControllerAlliedTo(world, nodes_[link.target].city->GetControllerId(), countryId)) return true;
  }
  return false;
}

void cCityGraph::ResetSearchData() {
  for (sCityGraphNode& node : nodes_) {
    node.searchFlag = 0;
    node.visited = 0;
    for (float& v : node.searchFloats) v = 0.0f;
    for (std::int32_t& v : node.searchValues) v = 0;
  }
}
