// The computer-opponent settings and standing orders of one country, read
// from "ai_data.csv" and changed by the computer opponent during play. The
// record is embedded in its country; the cities it names are the world's
// city records, found by their hex when the file is read.
#pragma once

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

class cCity;

struct sAiTarget {
  int a = 0;
  int b = 0;
  int c = 0;
};

// The sea zones a country's fleets patrol, each with its value, in the order
// they were listed: the file's order, then the order events added them. The
// file may name a zone twice; the first entry of a zone is the one that
// counts and the one an event changes or removes.
class cPatrolZones {
 public:
  using Entry = std::pair<int, int>;  // sea zone id, value

  // As the file lists it.
  void Append(int zone, int value) { entries_.emplace_back(zone, value); }
  // The zone's first entry takes the value; a zone not listed is appended.
  void Set(int zone, int value);
  // The zone's first entry leaves the list.
  void RemoveFirst(int zone);
  // The zone's first entry, or null.
  const Entry* Find(int zone) const;
  bool Contains(int zone) const { return Find(zone) != nullptr; }

  bool empty() const { return entries_.empty(); }
  std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Entry>::const_iterator end() const { return entries_.end(); }
  bool operator==(const cPatrolZones&) const = default;

 private:
  std::vector<Entry> entries_;
};

struct sCountryAiData {
  bool makesSeaInvasions = false;
  int maxNumberOfFrontsForSeaInvasion = 2;
  int currentSeaInvasionTarget = -1;
  std::vector<cCity*> obligatorySeaInvasionTargets;
  std::vector<sAiTarget> currentTargets;
  std::vector<cCity*> doNotAttackCities;
  std::vector<cCity*> extraCitiesToGarrison;
  cPatrolZones seaZonesToPatrol;
  std::vector<int> purchaseQueue;
  int fortLevelToHoldAtAllCost = 5;
  std::array<int, 5> desiredLandForcesStructure{10, 20, 30, 20, 10};
  std::array<int, 7> desiredTechLevels{1, 1, 1, 1, 1, 1, 0};
  int desiredStrategicMovementPoints = 0;
  std::array<int, 14> newUnitPurchasePreferences{10, 10, 5, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0};
  // Three pairs of a count and a weight.
  std::array<int, 3> newUnitPurchaseCounts{99, 99, 99};
  std::array<float, 3> newUnitPurchaseWeights{-1.0f, -1.0f, -1.0f};
  std::array<int, 3> multipleSideAttackPreferences{5, 3, 4};
  std::array<int, 3> oneSideAttackPreferences{4, 2, 2};
  int allianceEntryPolicy = 0;
  std::vector<int> countriesToPress;
  bool transportsUnitsToFrontsBySea = false;
  float minRatioToPatchFront = 2.5f;
  int maxUnitCountOnFront = 15;
  int maxCoveringUnitDistance = 3;
  int maxSafeMoveCost = 5;
  // Fractions (the file gives percent).
  std::array<float, 2> shoreBombardmentSingleUse{1.0f, 1.0f};
  std::array<int, 9> carrierTargetsPriorities{90, 80, 70, 60, 50, 40, 30, 20, 10};

  // True when a city at (x, y) is listed among the extra garrisons.
  bool IsExtraCityToGarrison(int x, int y) const;
  // The first city at (x, y) among the cities not to attack leaves that
  // list (every entry of it).
  void RemoveDoNotAttackCity(int x, int y);
};
