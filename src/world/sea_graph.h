// The sea graph: ships and convoys move over sea nodes, not over hexes. A
// node is a sea zone (open water covering many hexes) or the harbour of one
// port city. Node ids start at 1; the node with id n is element n - 1. Links
// are directed and may be guarded by a strait hex whose controller decides
// who may pass.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class cJednostkaMorska;
class cMap;
class cWorld;

// Naval unit types 40..45 index the ship counts as type - 40.
constexpr int kFirstNavalType = 40;
constexpr int kNavalTypeCount = 6;
// A number of ships for each naval type, indexed as the counts are.
using sNavalTypeCounts = std::array<int, kNavalTypeCount>;

struct sSeaLink {
  int node = 0;        // linked node id
  int straitX = -1;    // -1: no strait
  int straitY = -1;
};

struct sWezelGrafuMorz {
  int id = 0;
  int isSea = 1;       // 1 sea zone, 0 port
  int maxSize = 0;     // 0 for a sea zone, 1..9 for a port
  int size = 0;        // never above maxSize
  std::wstring name;
  int x = 0, y = 0;    // main hex (a port's city hex)
  cJednostkaMorska* ownShip = nullptr;    // shown friendly ship, not owned
  int ownShipX = 0, ownShipY = 0;
  cJednostkaMorska* enemyShip = nullptr;  // shown enemy ship, not owned
  int enemyShipX = 0, enemyShipY = 0;
  std::vector<sSeaLink> links;
  int ownCounts[kNavalTypeCount] = {};
  int alliedCounts[kNavalTypeCount] = {};
  int enemyCounts[kNavalTypeCount] = {};
  // At a port, the enemy ships (by id) that each country's looks counted in
  // the port's spotted-enemy counts: its last pass, and its flights since. A
  // ship's visible flag is not the country's own (every side's pass sets
  // its own ships'), so a flight counts these with the ships it sees.
  struct sPortSighting {
    int country = 0;
    std::vector<int> shipIds;
  };
  std::vector<sPortSighting> portSightings;
  int searchDistance = 0;  // hops in the last route search; -1 not reached
  int previousNode = -1;   // node the last search came from; -1 none

  bool IsSeaZone() const { return isSea != 0; }

  int GetSpottedEnemyShipCount() const;
  // Clears the shown ships and the own and allied counts; the spotted enemy
  // counts too unless keepEnemy.
  void ResetShipCounts(bool keepEnemy);
  // The enemy ships the country's looks at this port counted (none yet:
  // empty), and their replacement.
  const std::vector<int>& PortSightingsOf(int country) const;
  void SetPortSightings(int country, std::vector<int> shipIds);
};

class cSeaGraph {
 public:
  // Reads "sea_nodes.csv" through the folder's path pattern (one "%s" for
  // the file name), stamps the node ids into the world's map and checks
  // that every port city of the world has a node. Unusable data ends the
  // process (exit code 1).
  void LoadSeaNodes(cWorld& world, std::wstring_view folderFormat);
  // Reads "data\scenarios\<scenario>\sea_edges.csv". A missing file or a
  // line naming a node that does not exist ends the process (exit code 1).
  // The straits must lie on the world's map.
  void LoadSeaEdges(const cWorld& world, std::wstring_view scenarioName);
  // The same from text already read (the path only names the file in logs).
  // False after the log line when a line names an unknown node or holds a
  // field that is not a whole number, or a strait off the map (no map: any
  // strait is taken).
  bool ReadSeaEdgesText(const cMap* map, std::string_view text, std::wstring_view path = L"sea_edges.csv");

  // Shortest route (fewest links) for the country; out gets the node ids
  // from the destination back to the start. Among equally short routes the
  // one through the predecessor processed last is taken. The straits and
  // ports are judged by the world's map, alliances and wars.
  bool FindPath(const cWorld& world, int fromId, int toId, int countryId, bool friendlyPortsOnly,
                std::vector<int>& out);
  // First node in id order whose main hex is (x, y); -1 for none.
  int FindNodeIdByMainHex(int x, int y) const;
  // First linked sea zone of the node, in link order; -1 for none.
  int GetAdjacentSeaZoneId(int nodeId) const;
  // A link from -> to without a strait, or with a strait the country or one
  // of its allies controls (on the world's map).
  bool HasPassableLink(const cWorld& world, int fromId, int toId, int countryId) const;

  // Null for an id outside 1 .. count.
  sWezelGrafuMorz* GetNode(int id);
  const sWezelGrafuMorz* GetNode(int id) const;
  int GetNodeCount() const { return static_cast<int>(nodes_.size()); }
  std::vector<sWezelGrafuMorz>& Nodes() { return nodes_; }
  const std::vector<sWezelGrafuMorz>& Nodes() const { return nodes_; }

  // While set, a port shows the viewing country nothing of the allied and
  // enemy fleets lying in it; reconnaissance lifts it around its own pass.
  bool hidePortFleets = true;

  // The country for which the ship counts and shown ships were computed.
  int GetViewingCountry() const { return viewing_country_; }
  void SetViewingCountry(int countryId) { viewing_country_ = countryId; }

 private:
  std::vector<sWezelGrafuMorz> nodes_;
  int viewing_country_ = 0;
  // Working storage of FindPath.
  std::vector<int> level_, next_level_, stamp_;
};
