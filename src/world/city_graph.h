// The cities graph: one node per city that is not a resource city, linked by
// the directed connections of "cities_diagram.csv". Land links (type 0) carry
// land routes and hop counts; links of type 1 are only looked at by the
// computer opponent.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class cCity;
class cMap;
class cWorld;

constexpr int kCityLinkLand = 0;
constexpr int kCityLinkSecond = 1;

struct sCityGraphLink {
  int target = -1;  // index into the node vector
  int type = 0;
};

struct sCityGraphNode {
  cCity* city = nullptr;  // not owned
  std::list<sCityGraphLink> links;
  std::uint8_t searchFlag = 0;
  std::uint8_t visited = 0;
  // Working data of the computer opponent's searches.
  float searchFloats[3] = {};
  std::int32_t searchValues[7] = {};
};

// Outcome of reading "cities_diagram.csv" from text. Every failure has been
// logged; LoadCitiesDiagram ends the process on any of them.
enum class eCitiesDiagramResult {
  kOk,
  kNoMap,         // the world has no map
  kCannotOpen,    // the file is missing
  kNoCity,        // a line names a hex without a city
  kNoNode,        // a line's second city has no node
  kBadLine,       // a line without five whole numbers, or of an unknown link type
};

class cCityGraph {
 public:
  cCityGraph() = default;
  cCityGraph(const cCityGraph&) = delete;
  cCityGraph& operator=(const cCityGraph&) = delete;

  // One node per city of types 0..3 in list order; each such city learns its
  // node index (resource cities keep -1). Replaces any earlier nodes.
  void BuildNodes(const std::vector<cCity*>& cities);

  // Reads "data\scenarios\<scenario>\cities_diagram.csv" against the
  // world's map. A world without a map, a missing file, a line naming a hex
  // without a city or a second city without a node is fatal: the log line,
  // then the end of the process with exit code 1.
  void LoadCitiesDiagram(const cWorld& world, std::wstring_view scenarioName);
  // The reading itself from the file's text, without ending the process
  // (path names the file in the log lines). Every line that is not a
  // comment or empty must hold five whole numbers, the last 0 or 1.
  // The links name cities by their hexes on the map.
  eCitiesDiagramResult ReadCitiesDiagramText(const cMap& map, std::string_view text,
                                             std::wstring_view path = L"cities_diagram.csv");

  // The route with the fewest land links from one city to another through
  // cities held by the country or its allies, destination first. False (and
  // an empty list) when there is none; a city is never a route to itself.
  // The country is looked up in the world.
  bool FindPath(const cWorld& world, const cCity* from, const cCity* to, int countryId, std::vector<cCity*>& out);
  // True when a type-1 link leads from the node to a city whose hex is held
  // by a country allied with the given country (of the world).
  bool HasAlliedLinkOfType1(const cWorld& world, int nodeIndex, int countryId) const;
  // Clears both flags and the search values of every node.
  void ResetSearchData();

  // Node index of the city in the graph's city list, -1 when it has none.
  int FindNodeIndex(const cCity* city) const;

  std::vector<sCityGraphNode>& Nodes() { return nodes_; }
  const std::vector<sCityGraphNode>& Nodes() const { return nodes_; }

 private:
  std::vector<sCityGraphNode> nodes_;
  // (node index, city) for every city with a node, in the world's city order.
  std::vector<std::pair<int, cCity*>> node_cities_;
};
