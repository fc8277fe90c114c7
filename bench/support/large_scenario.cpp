#include "support/large_scenario.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/consts_file.h"
#include "files/save_game.h"
#include "platform/lines.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

// The sea: a band of rows across the whole map just above its middle
// (rows 120 to 129 of 250), and the first columns.
constexpr int kWestCoastColumns = 3;
int g_seaTop = 120;
int g_seaRows = 10;

void SetSeaBand(const sLargeScenarioSize& size) {
  g_seaRows = std::max(2, size.height / 25);
  g_seaTop = size.height * 12 / 25;
}

bool IsSeaCell(int x, int y) { return x < kWestCoastColumns || (y >= g_seaTop && y < g_seaTop + g_seaRows); }

// Countries own rectangles of a grid of ten columns.
int RegionColumns(const sLargeScenarioSize& size) { return size.countries < 10 ? size.countries : 10; }
int RegionRows(const sLargeScenarioSize& size) {
  const int columns = RegionColumns(size);
  return (size.countries + columns - 1) / columns;
}
int OwnerOf(const sLargeScenarioSize& size, int x, int y) {
  const int column = x * RegionColumns(size) / size.width;
  const int row = y * RegionRows(size) / size.height;
  const int owner = row * RegionColumns(size) + column + 1;
  return owner <= size.countries ? owner : size.countries;
}

std::string MapText(const sLargeScenarioSize& size) {
  std::string text = "size " + std::to_string(size.width) + " " + std::to_string(size.height) + "\nterrain\n";
  const char kTerrain[] = "pppfprphpsppmdpp";
  unsigned seed = 2024;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      seed = seed * 1103515245u + 12345u;
      text += IsSeaCell(x, y) ? '~' : kTerrain[(seed >> 16) % 16];
    }
    text += '\n';
  }
  text += "owner\n";
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      if (x) text += ' ';
      text += IsSeaCell(x, y) ? "0" : std::to_string(OwnerOf(size, x, y));
    }
    text += '\n';
  }
  text += "coastal auto\n";
  // Some weather, so that the movement rules see mud and snow.
  for (int y = 1; y < size.height; y += 9) {
    for (int x = 4; x < size.width; x += 13) {
      if (!IsSeaCell(x, y)) text += "weather " + std::to_string(x) + " " + std::to_string(y) + " " +
                                    std::to_string(1 + (x + y) % 2) + "\n";
    }
  }
  return text;
}

// Land hexes of one country, in row order, skipping cities so that units
// and cities spread over the region.
std::vector<std::pair<int, int>> FreeLandHexes(const cWorld& world, const sLargeScenarioSize& size, int country) {
  std::vector<std::pair<int, int>> hexes;
  const cMap& map = world.GetMap();
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const sHex& hex = map.GetHex(x, y);
      if (hex.IsLand() && hex.owner == country && !hex.city && !hex.unit) hexes.emplace_back(x, y);
    }
  }
  return hexes;
}

sScenarioConstants Constants() {
  sScenarioConstants c;
  for (auto& row : c.terrainCostRows) row = {1, 2, 2, 3, 2, 4, 1, 99, 0};
  for (int level = 0; level < 6; ++level) c.landActionPoints[level] = {6, 6, 10, 10, 12, 12, 6};
  c.airActionPoints = {3, 3, 3};
  for (int level = 0; level < 5; ++level) {
    for (int t = 0; t < 7; ++t) c.landBaseStrength[level][t] = 10.0f + 2.0f * level + t;
  }
  c.maxSupply = 20;
  c.strategicMoveCost = {2, 3, 4, 5, 6, 7, 2};
  c.commanderRange = {3, 0};
  c.seaBattleRoundWeights = {10, 20, 30, 20, 10};
  c.siegeFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 2.0f, 2.0f};
  c.noSupplyTurnsLimit = 3;
  c.navalSpotFriendly = {50, 1, 5, 10};
  c.navalSpotEnemy = {50, 1, 5};
  c.shipSupplyLimit = 10;
  c.aiShipSupply = 10;
  c.mulberryValues = {50.0f, 5.0f, 8.0f, 12.0f};
  c.winterMoveFactor = 50.0f;
  c.mudMoveFactor = 50.0f;
  return c;
}

// A file of the scenario folder that no save writes (CR LF line ends, as
// the game's readers of these tables expect).
void WriteText(const std::wstring& folder, const wchar_t* fileName, const std::string& text) {
  plat::WriteFileBytes(plat::ResolvePath(folder + L"\\" + fileName), text);
}

}  // namespace

sLargeScenarioInfo WriteLargeScenario(std::wstring_view name, const sLargeScenarioSize& size) {
  cWorld* const previous = g_pWorld;
  auto world = std::make_unique<cWorld>();
  g_pWorld = world.get();
  sLargeScenarioInfo info;
  const std::wstring folder = L"data\\scenarios\\" + std::wstring(name);
  info.folderPattern = folder + L"\\%s";
  std::filesystem::create_directories(plat::ResolvePath(folder));

  SetSeaBand(size);
  std::string error;
  BuildMapFromText(MapText(size), world->GetMap(), error);
  cMap& map = world->GetMap();
  world->scenarioName.assign(name);
  world->turnsLeft = 60;

  // Countries: the first third allied, the second third axis and at war
  // with them, the rest neutral.
  for (int id = 1; id <= size.countries; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->active = true;
    country->name = L"Country " + std::to_wstring(id);
    country->skinName = L"default";
    country->alliance = id * 3 <= size.countries ? kAllies : (id * 3 <= 2 * size.countries ? kAxis : kNeutral);
    country->productionPoints = 100.0;
    country->strategicMovementPoints = 50;
    country->mudMove = 50.0f;
    country->winterMove = 50.0f;
    country->human = id == 1;
    world->AddCountry(std::move(country));
  }
  world->GetRelations().Reset(size.countries);
  for (int a = 1; a <= size.countries; ++a) {
    for (int b = 1; b <= size.countries; ++b) {
      const int sideA = world->GetCountry(a)->alliance, sideB = world->GetCountry(b)->alliance;
      if ((sideA == kAllies && sideB == kAxis) || (sideA == kAxis && sideB == kAllies)) {
        world->GetRelations().SetAtWar(a, b, true);
      }
    }
  }

  // Cities on a regular grid. Those that would fall into the sea stand on
  // its coast instead, and every other one of them is a port.
  std::vector<cCity*> cityGrid;
  std::vector<cCity*> ports;
  const int cityColumns = std::min(40, std::max(1, (size.width - kWestCoastColumns - 4) / 3));
  const int cityRows = (size.cities + cityColumns - 1) / cityColumns;
  for (int i = 0; i < size.cities; ++i) {
    const int column = i % cityColumns, row = i / cityColumns;
    int x = kWestCoastColumns + 2 + column * (size.width - kWestCoastColumns - 4) / cityColumns;
    int y = 2 + row * (size.height - 4) / cityRows;
    const bool coast = IsSeaCell(x, y);
    if (coast) y = y < g_seaTop + g_seaRows / 2 ? g_seaTop - 1 : g_seaTop + g_seaRows;
    if (map.GetHex(x, y).city) continue;
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->SetName(L"City " + std::to_wstring(i + 1));
    if (coast && column % 2 == 0) {
      city->type = column % 4 == 0 ? kCitySupplyPort : kCityPort;
      ports.push_back(city.get());
    } else {
      city->type = i % 10 == 0 ? kCityResources : (i % 3 == 0 ? kCitySupply : kCityNormal);
    }
    city->victoryPoints = i % 5 == 0 ? 2 : 0;
    city->productionPoints = 1.5f + static_cast<float>(i % 7);
    city->supply = city->type == kCitySupply || city->type == kCitySupplyPort ? 10 : 0;
    map.GetHex(x, y).city = city.get();
    cityGrid.push_back(city.get());
    world->AddCity(std::move(city));
  }
  info.cities = static_cast<int>(cityGrid.size());

  // Cities diagram: each city linked both ways with the next one in its row
  // and the one below it (resource cities are no nodes of the graph).
  std::string diagram = "# from x;y;to x;y;type\r\n";
  auto link = [&diagram](const cCity* a, const cCity* b) {
    if (a->type == kCityResources || b->type == kCityResources) return;
    diagram += std::to_string(a->x) + ";" + std::to_string(a->y) + ";" + std::to_string(b->x) + ";" +
               std::to_string(b->y) + ";0\r\n";
    diagram += std::to_string(b->x) + ";" + std::to_string(b->y) + ";" + std::to_string(a->x) + ";" +
               std::to_string(a->y) + ";0\r\n";
  };
  for (std::size_t i = 0; i < cityGrid.size(); ++i) {
    if ((i + 1) % cityColumns != 0 && i + 1 < cityGrid.size()) link(cityGrid[i], cityGrid[i + 1]);
    if (i + cityColumns < cityGrid.size()) link(cityGrid[i], cityGrid[i + cityColumns]);
  }

  // Commanders: one land, one air and one naval commander per country; each
  // leads the first unit of his kind of his country.
  std::vector<cCommander*> commanders;
  for (int id = 1; id <= size.countries; ++id) {
    for (int type = 0; type < 3; ++type) {
      auto* commander = new cCommander();
      commander->id = static_cast<int>(world->Units().commanders.size()) + 1;
      commander->name = L"Commander " + std::to_wstring(commander->id);
      commander->countryId = id;
      commander->type = type;
      commander->skill = 1 + commander->id % 5;
      commander->experience = commander->id % 10;
      commander->state = kCommanderAssigned;
      world->Units().commanders.push_back(commander);
    }
  }
  auto commanderOf = [&](int country, int type) { return world->Units().commanders[(country - 1) * 3 + type]; };

  // Land units, spread over the countries, each on its own free hex.
  std::vector<std::vector<std::pair<int, int>>> free(static_cast<std::size_t>(size.countries) + 1);
  std::vector<std::size_t> nextFree(free.size(), 0);
  for (int id = 1; id <= size.countries; ++id) free[id] = FreeLandHexes(*world, size, id);
  auto takeHex = [&](int country, int stride) -> std::pair<int, int> {
    auto& list = free[country];
    std::size_t& next = nextFree[country];
    while (next < list.size()) {
      const auto hex = list[next];
      next += static_cast<std::size_t>(stride);
      if (!map.GetHex(hex.first, hex.second).unit) return hex;
    }
    return {-1, -1};
  };
  for (int i = 0; i < size.landUnits; ++i) {
    auto* unit = new cJednostkaLadowa(world.get());
    unit->id = i + 1;
    unit->countryId = 1 + i % size.countries;
    unit->SetName(L"Division " + std::to_wstring(i + 1));
    unit->SetType(i % 7);
    unit->level = 1 + i % 5;
    unit->strength = 40 + i % 60;
    unit->actionPoints = 6;
    unit->startingActionPoints = 6;
    unit->supply = 15;
    unit->supplySourceX = -1;
    unit->supplySourceY = -1;
    if (i < size.landUnits - size.landReserve) {
      const auto hex = takeHex(unit->countryId, 23);
      unit->x = hex.first;
      unit->y = hex.second;
      if (unit->x >= 0) map.GetHex(unit->x, unit->y).unit = unit;
    }
    // The reserve units, and those for which their country has no room.
    unit->inReserve = unit->x < 0;
    if (i < size.countries) {
      unit->ownCommander = commanderOf(unit->countryId, 0);
      unit->ownCommander->ledUnit = unit;
    }
    world->Units().landUnits.push_back(unit);
    if (unit->x >= 0) ++info.landOnMap;
  }

  for (int i = 0; i < size.airUnits; ++i) {
    auto* unit = new cJednostkaLotnicza(world.get());
    unit->id = i + 1;
    unit->countryId = 1 + i % size.countries;
    unit->SetName(L"Wing " + std::to_wstring(i + 1));
    unit->SetType(kUnitFighter + i % 3);
    unit->level = 1 + i % 5;
    unit->strength = static_cast<float>(5 + i % 6);
    unit->actionPoints = 3;
    unit->startingActionPoints = 3;
    if (i < size.airUnits - size.airReserve) {
      const auto hex = takeHex(unit->countryId, 7);
      unit->x = hex.first;
      unit->y = hex.second;
      if (unit->x >= 0) map.GetHex(unit->x, unit->y).unit = unit;
    }
    unit->inReserve = unit->x < 0;
    if (i < size.countries) {
      unit->ownCommander = commanderOf(unit->countryId, 1);
      unit->ownCommander->ledUnit = unit;
    }
    world->Units().airUnits.push_back(unit);
    if (unit->x >= 0) ++info.airOnMap;
  }

  // Sea nodes along the band of sea, linked into a chain.
  std::string seaNodes = "#ID;Name;...\r\n";
  std::string seaEdges = "# from;to;strait x;strait y\r\n";
  for (int id = 1; id <= size.seaNodes; ++id) {
    const int x = kWestCoastColumns + (id - 1) * (size.width - kWestCoastColumns - 1) / size.seaNodes;
    seaNodes += plat::NarrowAnsi(plat::Format(L"%i;Sea zone %i;0;0;%i;%i;%i;%i;%i;%i;\r\n", id, id, x, g_seaTop, x,
                                              g_seaTop + g_seaRows / 2, x, g_seaTop + g_seaRows - 1));
    if (id > 1) {
      seaEdges += std::to_string(id - 1) + ";" + std::to_string(id) + ";-1;-1\r\n";
      seaEdges += std::to_string(id) + ";" + std::to_string(id - 1) + ";-1;-1\r\n";
    }
  }
  // A port node on each port city, linked with the sea zone off its coast.
  auto zoneOff = [&size](int x) {
    const int zone = 1 + (x - kWestCoastColumns) * size.seaNodes / (size.width - kWestCoastColumns - 1);
    return std::clamp(zone, 1, size.seaNodes);
  };
  std::vector<int> portNode;
  for (const cCity* port : ports) {
    const int id = size.seaNodes + static_cast<int>(portNode.size()) + 1;
    portNode.push_back(id);
    seaNodes += plat::NarrowAnsi(plat::Format(L"%i;-;4;2;%i;%i;%i;%i;%i;%i;\r\n", id, port->x, port->y, port->x,
                                              port->y, port->x, port->y));
    const std::string zone = std::to_string(zoneOff(port->x));
    seaEdges += std::to_string(id) + ";" + zone + ";-1;-1\r\n" + zone + ";" + std::to_string(id) + ";-1;-1\r\n";
  }
  info.seaNodes = size.seaNodes + static_cast<int>(ports.size());
  info.ports = static_cast<int>(ports.size());

  // A convoy between each two neighbouring ports of one country.
  std::string convoys = "#Convoys\r\n#ID;Owner ID;Type;Value;Departure port ID;Destination port ID;";
  for (std::size_t k = 0; k + 1 < ports.size(); ++k) {
    const int owner = map.GetHex(ports[k]->x, ports[k]->y).owner;
    if (owner == 0 || map.GetHex(ports[k + 1]->x, ports[k + 1]->y).owner != owner) continue;
    ++info.convoys;
    convoys += "\r\n" + std::to_string(info.convoys) + ";" + std::to_string(owner) + ";" + std::to_string(k % 2) +
               ";0;" + std::to_string(portNode[k]) + ";" + std::to_string(portNode[k + 1]) + ";";
  }

  // Fleets of a few ships each at the sea nodes; the last ships in reserve.
  const int shipsAtSea = size.ships - size.shipReserve;
  cFleet* fleet = nullptr;
  for (int i = 0; i < size.ships; ++i) {
    auto* ship = new cJednostkaMorska(world.get());
    ship->id = i + 1;
    ship->SetName(L"Ship " + std::to_wstring(i + 1));
    ship->SetType(kUnitAircraftCarrier + i % 6);
    ship->maxHitPoints = 6;
    ship->hitPoints = 3 + i % 4;
    if (i < shipsAtSea) {
      if (i % size.shipsPerFleet == 0) {
        fleet = new cFleet();
        fleet->id = static_cast<int>(world->Units().fleets.size()) + 1;
        fleet->name = L"Fleet " + std::to_wstring(fleet->id);
        fleet->country = 1 + (fleet->id - 1) % size.countries;
        fleet->seaNode = 1 + (fleet->id - 1) % size.seaNodes;
        world->Units().fleets.push_back(fleet);
      }
      ship->countryId = fleet->country;
      ship->fleet = fleet;
      ship->fleetId = fleet->id;
      fleet->ships.push_back(ship);
      world->Units().navalUnits.push_back(ship);
      ++info.shipsInFleets;
    } else {
      ship->countryId = 1 + i % size.countries;
      ship->inReserve = true;
      world->Units().navalReservePool.push_back(ship);
    }
    if (i < size.countries) {
      ship->ownCommander = commanderOf(ship->countryId, 2);
      ship->ownCommander->ledUnit = ship;
    }
  }
  info.fleets = static_cast<int>(world->Units().fleets.size());

  world->Units().convoys.Resize(size.countries);
  world->eventFlags.assign(40000, 0);
  world->unitNamesBytes = "# unit names\r\n;;1;2;3\r\n1;%i Infantry Division;;;\r\n2;%i Infantry Corps;;;\r\n";

  // Every file a saved game has, by the save's own writers, straight into
  // the scenario folder; then the files only a scenario has, and the
  // convoys (the convoy writer names ports by the sea nodes of a loaded
  // world, which this one has not).
  for (const sSaveStep& step : StandardSaveSteps(*world)) step.write(folder);
  WriteConstsFile(folder + L"\\consts.csv", Constants());
  WriteText(folder, L"cities_diagram.csv", diagram);
  WriteText(folder, L"sea_nodes.csv", seaNodes);
  WriteText(folder, L"sea_edges.csv", seaEdges);
  WriteText(folder, L"convoys.csv", convoys);

  // The units belong to the world's lists; the hexes go with the map.
  world.reset();
  g_pWorld = previous;
  return info;
}
