// make_scenario: builds a scenario folder from its readable sources.
//   make_scenario <source folder> <scenario folder> <preview.png>
// The sources (map.txt, countries.txt, cities.txt, roads.txt, units.txt,
// sea.txt, consts.txt, Info.ini) are read and checked; a world is built in
// memory and written with the game's own writers, then the scenario picture,
// the minimap, the flags and a preview of the whole map are drawn.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "scenario_build.h"
#include "scenario_render.h"
#include "world/gra.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_scenario <source folder> <scenario folder> <preview.png>\n");
    return 2;
  }
  const std::filesystem::path out = argv[2];
  try {
    scen::sScenario scenario;
    scen::ReadScenarioSources(argv[1], scenario);
    cWorld world;
    // Some writers reach the world through the loaded game.
    g_pWorld = &world;
    scen::BuildScenarioWorld(scenario, world);
    scen::WriteScenarioFiles(scenario, world, out);
    RenderScenarioPictures(world, scenario.countries, out, argv[3]);
    g_pWorld = nullptr;
    std::printf("make_scenario: %s: %dx%d, %d countries, %d cities, %d sea nodes, %zu land, %zu air, %zu ships\n",
                out.string().c_str(), world.GetMap().GetWidth(), world.GetMap().GetHeight(), world.GetCountryCount(),
                static_cast<int>(world.Cities().size()), world.GetSeaGraph().GetNodeCount(),
                world.Units().landUnits.size(), world.Units().airUnits.size(), world.Units().navalUnits.size());
  } catch (const std::exception& e) {
    g_pWorld = nullptr;
    std::fprintf(stderr, "make_scenario: %s\n", e.what());
    return 1;
  }
  return 0;
}
