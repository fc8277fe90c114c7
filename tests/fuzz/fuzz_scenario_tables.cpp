// Reads arbitrary bytes as one of the remaining tables of a scenario or save
// folder (the first byte picks which): cities, sea nodes, sea edges, the
// relations and losses matrices, the cities diagram, topography, the city
// supply rows and the automatic events, into a small world. Fatal data
// errors end the input quietly through the throwing hook; what loads must
// hold together (cities on the map and in their hexes, node ids in
// sequence), and cities written back must load back as many.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/auto_events_file.h"
#include "files/cities_file.h"
#include "files/city_rows_file.h"
#include "files/topography_file.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/auto_events.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/map_text.h"
#include "world/world.h"

namespace {

const char* const kFiles[] = {"cities.csv",     "sea_nodes.csv",  "sea_edges.csv",          "relations.csv",
                              "losses.csv",     "cities_diagram.csv", "topography.csv", "cities_supply_info.csv",
                              "auto_events.csv"};
constexpr int kKinds = sizeof kFiles / sizeof kFiles[0];

// A 6 x 5 map with two cities (a port at (1, 1) on sea node 1), three
// countries and a sea graph of two nodes.
std::unique_ptr<cWorld> SmallWorld() {
  auto world = std::make_unique<cWorld>();
  std::string error;
  BuildMapFromText("size 6 5\nterrain\npppppp\npppppp\npppppp\npppppp\npppppp\n", world->GetMap(), error);
  for (const auto& [x, y, type] : {std::tuple(1, 1, kCityPort), std::tuple(3, 2, kCityNormal)}) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    world->AddCity(std::move(city));
  }
  world->GetCityGraph().BuildNodes(world->Cities());
  for (int id = 1; id <= 3; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    world->AddCountry(std::move(country));
  }
  world->GetRelations().Reset(3);
  world->GetSeaGraph().Nodes().resize(2);
  for (int id = 1; id <= 2; ++id) world->GetSeaGraph().Nodes()[static_cast<std::size_t>(id - 1)].id = id;
  world->GetMap().GetHex(1, 1).seaNode = 1;
  world->ResetCitySupplyRows();
  return world;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Cities lie on the map, each the city of its own hex.
void CheckCities(cWorld& world) {
  for (const cCity* city : world.Cities()) {
    Check(world.GetMap().IsInside(city->x, city->y));
    Check(world.GetMap().GetHex(city->x, city->y).city == city);
  }
}

void Load(int kind, cWorld& world, const std::wstring& pattern, const std::string& bytes,
          const std::wstring& folder) {
  switch (kind) {
    case 0:
      LoadCities(world, pattern);
      CheckCities(world);
      break;
    case 1: {
      world.GetSeaGraph().LoadSeaNodes(world, pattern);
      int id = 0;
      for (const auto& node : world.GetSeaGraph().Nodes()) Check(node.id == ++id && node.size <= node.maxSize);
      break;
    }
    case 2:
      world.GetSeaGraph().ReadSeaEdgesText(&world.GetMap(), bytes);
      break;
    case 3:
    case 4:
      // Both files are read: the other one is a valid matrix.
      plat::WriteFileBytes(plat::ToUtf8(folder) + (kind == 3 ? "/losses.csv" : "/relations.csv"),
                           "1;A;0;0;0\n2;B;0;0;0\n3;C;0;0;0\n");
      world.GetRelations().Load(pattern, 3);
      break;
    case 5:
      world.GetCityGraph().ReadCitiesDiagramText(world.GetMap(), bytes);
      break;
    case 6:
      LoadTopography(world, pattern);
      break;
    case 7:
      plat::WriteFileBytes(plat::ToUtf8(folder) + "/cities_convoy_info.csv", bytes);
      LoadCitiesSupplyInfo(world, pattern);
      break;
    default:
      LoadAutoEvents(world.autoEvents, pattern);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tw_fuzz_scenario_tables_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    g_ConsoleLog.SetEnabled(false);  // millions of runs would fill the log
    return dir;
  }();
  if (size == 0) return 0;
  const int kind = data[0] % kKinds;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!plat::WriteFileBytes((folder / kFiles[kind]).string(), bytes)) return 0;
  const std::wstring folderText = plat::WidenAnsi(folder.string());
  const std::wstring pattern = folderText + L"/%s";
  cScopedThrowingFatalHook hook;
  std::unique_ptr<cWorld> world = SmallWorld();
  cWorld* const previous = g_pWorld;
  g_pWorld = world.get();
  try {
    Load(kind, *world, pattern, bytes, folderText);
  } catch (const sFatalExitError&) {
    g_pWorld = previous;
    return 0;
  }
  if (kind == 0) {
    // The cities written back load back, as many.
    const std::size_t count = world->Cities().size();
    WriteCities(*world, folderText);
    std::unique_ptr<cWorld> again = SmallWorld();
    g_pWorld = again.get();
    try {
      LoadCities(*again, pattern);
    } catch (const sFatalExitError&) {
      __builtin_trap();
    }
    Check(again->Cities().size() == count);
  }
  g_pWorld = previous;
  return 0;
}
