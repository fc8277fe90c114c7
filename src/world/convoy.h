// Convoys: standing orders of a country to ship supplies or production
// points from one of its port cities to another. The records, their store
// and the ways convoys are made, found and removed; the execution along the
// sea path is a rule of the end of an impulse (rules/convoys.h).
#pragma once

#include <string>
#include <vector>

class cCity;
class cWorld;
struct sCityGroup;

enum eConvoyType : int {
  kConvoySupplies = 0,
  kConvoyProduction = 1,
};

class cConvoy {
 public:
  // A convoy read from a file: every number 0, no cities.
  cConvoy() = default;
  // A new convoy: id = the world's next convoy id (the counter moves on),
  // value 0, the departure port size from the departure city's sea node
  // (0 when the city has no node).
  cConvoy(cWorld& world, int owner, int type, cCity* departure, cCity* destination);

  int id = 0;
  int owner = 0;
  cCity* departure = nullptr;    // not owned
  cCity* destination = nullptr;  // not owned
  int type = kConvoySupplies;
  int value = 0;
  int departurePortSize = 0;
  // Scratch of an execution.
  int suppliedUnits = 0;
  float supplyCost = 0.0f;
  sCityGroup* destinationGroup = nullptr;  // not owned
};

// The port city of a sea node: the city on the node's main hex when it is a
// port; null otherwise (also for an unknown node).
cCity* ConvoyPortCityOfNode(cWorld& world, int nodeId);
// The sea node on a city's hex; -1 for none.
int ConvoySeaNodeOfCity(const cWorld& world, const cCity* city);

// What one executed convoy came to, for the convoy results dialog.
struct sConvoyResult {
  std::wstring departureName;
  std::wstring destinationName;
  std::wstring cargoText;
  int stpNeeded = 0;
  int stpSent = 0;
  int stpLost = 0;
  std::wstring resultText;
  std::wstring detailsText;
};

class cConvoyStore {
 public:
  // One entry per country (index id - 1) in both vectors.
  void Resize(int countryCount);
  int GetCountryCount() const { return static_cast<int>(convoys_.size()); }
  // The country's convoys in creation order; null for an unknown id.
  std::vector<cConvoy>* ConvoysOf(int countryId);
  std::vector<sConvoyResult>* ResultsOf(int countryId);
  // Appends a convoy to its owner's list; false for an unknown owner.
  bool Add(const cConvoy& convoy);
  // Removes the country's first convoy (a surrendering country, the
  // computer opponent); false, with nothing changed, when it has none.
  bool RemoveFirstConvoyOf(int countryId);
  bool RemoveOneConvoy(int countryId) { return RemoveFirstConvoyOf(countryId); }

  // The convoys dialog's new convoy between two port nodes of the sea graph:
  // a supplies convoy of value 0. Returns its id, or -1 after the log line
  // of the first failed check (a node id outside the graph, a node without
  // a port city on its main hex).
  int AddConvoyBetweenSeaNodes(cWorld& world, int departureNodeId, int destinationNodeId, int ownerId);
  // A scenario script's convoy between the cities on two hexes, with its
  // type and value; -1 when a hex holds no city or the owner is unknown.
  int AddConvoy(cWorld& world, int ownerId, int type, int value, int departureX, int departureY,
                int destinationX, int destinationY);
  // The computer opponent's supplies convoy between two port cities; its
  // value is what the destination lacks of the full supply for the owner (a
  // value below 1 is logged and becomes 0). -1 when a city is no port.
  int AddSupplyConvoyAi(cWorld& world, cCity* departure, cCity* destination, int ownerId);
  // A scenario script's removal of every convoy of the owner with that type
  // between the cities on the two hexes (nothing when a hex holds no city).
  // Returns how many went.
  int RemoveConvoys(cWorld& world, int ownerId, int type, int departureX, int departureY, int destinationX,
                    int destinationY);
  // Whether the country has a convoy to the city.
  bool HasConvoyTo(const cCity* destination, int countryId);

  // The convoys dialog's map marks: clears the marks 0xC000, then marks with
  // 0x8000 the city hex of every port node whose city hex the country
  // controls (departures), or, for destinations, of every other port node
  // whose city hex is held by the country or an ally.
  static void MarkDeparturePorts(cWorld& world, int countryId);
  static void MarkDestinationPorts(cWorld& world, int countryId, int departureNodeId);
  // What those marks offer: a port node whose city hex the country holds;
  // another port node held by the country or an ally.
  static bool IsDeparturePort(const cWorld& world, int countryId, int nodeId);
  static bool IsDestinationPort(const cWorld& world, int countryId, int departureNodeId, int nodeId);

 private:
  std::vector<std::vector<cConvoy>> convoys_;
  std::vector<std::vector<sConvoyResult>> results_;
};
