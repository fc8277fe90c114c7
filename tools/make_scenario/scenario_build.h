// The scenario tool's world: the sources of a scenario read into one record,
// checked against each other while a world is built from them in memory
// (countries, map, cities, sea graph, units, relations), and the scenario
// folder written from that world with the game's own writers.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "scenario_sources.h"

class cWorld;

namespace scen {

struct sScenario {
  sMapSource map;
  std::vector<sCountrySource> countries;
  std::vector<std::pair<std::string, std::string>> wars;  // country codes at war
  std::vector<sCitySource> cities;
  std::vector<sLandLinkSource> roads;
  sUnitsSource units;
  sSeaSource sea;
  ConstsSource consts;
  sAiOrdersSource ai;
  std::string info;  // Info.ini as written

  // Made while the world is built.
  std::map<std::string, int> countryId;  // code -> id
  std::map<char, int> letterId;          // owner letter -> id
  std::map<std::string, int> zoneId;     // zone name -> node id
  std::map<std::string, const sCitySource*> cityByName;
  std::map<std::string, int> portNode;  // port city -> node id
  std::string seaEdges;                 // "sea_edges.csv" without its CRs
  std::string citiesDiagram;            // "cities_diagram.csv" without its CRs
};

// Reads map.txt, countries.txt, cities.txt, roads.txt, units.txt, sea.txt,
// consts.txt, Info.ini and, when there is one, ai.txt of the folder. Throws std::runtime_error naming the
// file and the line of the first fault.
void ReadScenarioSources(const std::filesystem::path& folder, sScenario& scenario);
// Fills the empty world from the sources. Throws std::runtime_error at the
// first record the game could not load or that contradicts another (a city
// on foreign soil, a port without water, two units on one hex, a fleet in a
// foreign port, a road to a resource city, a standing order naming a place
// or a country the scenario does not have, ...).
void BuildScenarioWorld(sScenario& scenario, cWorld& world);
// Writes every data file of the scenario folder (the pictures excepted).
void WriteScenarioFiles(const sScenario& scenario, cWorld& world, const std::filesystem::path& folder);

}  // namespace scen
