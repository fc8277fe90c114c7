// A large generated scenario for the load, save and play benchmarks: a
// complete scenario folder made by the game's own writers from a world
// built in memory, plus the files only a scenario has (constants, cities
// diagram, sea edges).
#pragma once

#include <string>
#include <string_view>

struct sLargeScenarioSize {
  int width = 400;
  int height = 250;
  int countries = 60;
  int landUnits = 3000;  // of them landReserve in the reserve pool
  int landReserve = 100;
  int airUnits = 500;  // of them airReserve in the reserve pool
  int airReserve = 40;
  int ships = 400;  // of them shipReserve in the ship reserve pool
  int shipReserve = 20;
  int shipsPerFleet = 4;
  int cities = 1000;  // those on the coast of the sea band half ports
  int seaNodes = 150;  // sea zones, besides one node per port
};

// What was written, for the benchmarks' counters and checks.
struct sLargeScenarioInfo {
  std::wstring folderPattern;  // "data\scenarios\<name>\%s"
  int landOnMap = 0;
  int airOnMap = 0;
  int shipsInFleets = 0;
  int fleets = 0;
  int cities = 0;
  int ports = 0;     // of the cities
  int seaNodes = 0;  // sea zones and port nodes
  int convoys = 0;
};

// Writes "data\scenarios\<name>\" below the current folder (the game reads
// a scenario's constants, cities diagram and sea edges from there by name,
// so the caller first makes the folder it wants the current one). The same
// size always gives the same files. Leaves g_pWorld as it found it.
sLargeScenarioInfo WriteLargeScenario(std::wstring_view name, const sLargeScenarioSize& size = {});
