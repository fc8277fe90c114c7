// Convoys: standing orders of a country to ship supplies or production
// points from one of its port cities to another. The records and their
// store; the execution along the sea path comes with the convoy operations.
#pragma once

#include <string>
#include <vector>

class cCity;
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
  cConvoy(int owner, int type, cCity* departure, cCity* destination);

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
  // Removes the country's first convoy (a surrendering country); false when
  // it has none.
  bool RemoveFirstConvoyOf(int countryId);

 private:
  std::vector<std::vector<cConvoy>> convoys_;
  std::vector<std::vector<sConvoyResult>> results_;
};
