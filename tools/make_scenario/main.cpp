// make_scenario: builds a scenario folder from its readable sources.
//   make_scenario <source folder> <scenario folder> <preview.png>
// The sources (map.txt, countries.txt, cities.txt, roads.txt, units.txt,
// sea.txt, consts.txt, Info.ini) are read and checked; a world is built in
// memory and written with the game's own writers, then the scenario picture,
// the minimap, the flags and a preview of the whole map are drawn. Last the
// folder is loaded as the game loads it and the data check runs on it: its
// warnings (a rule the constants keep from taking effect, a port cut off
// from the sea, a target without a route) name the source file and line.
//   make_scenario --pictures <scenario folder>
// loads an existing scenario folder the way the game does and draws its
// picture and minimap ("image.png", "minimap.png") into it.
//   make_scenario --farthest-zoom <scenario folder> <picture.png>
// loads it and draws the whole map as the game shows it at the farthest
// zoom, with the map skin of the game's "data\gfx" folder (see below).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/data_check.h"
#include "farthest_zoom.h"
#include "files/world_loader.h"
#include "platform/text.h"
#include "scenario_build.h"
#include "scenario_render.h"
#include "world/world.h"

namespace {

// The game finds a scenario as "data\scenarios\<name>" under its working
// folder (some files by that path whatever the loader is given; <name> from
// its Info.ini, which names the folder) and its skins under "data\gfx". A
// scratch working folder shows it the scenario folder there, and the "gfx"
// folder beside the "scenarios" folder holding it (else the working
// folder's "data/gfx").
class ScratchGameFolder {
 public:
  explicit ScratchGameFolder(const std::filesystem::path& scenario) {
    namespace fs = std::filesystem;
    const fs::path source = fs::absolute(scenario).lexically_normal();
    fs::path gfx = source.parent_path().parent_path() / "gfx";
    if (!fs::is_directory(gfx)) gfx = fs::absolute("data/gfx");
    char pattern[] = "/tmp/make_scenario_XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no scratch folder");
    root_ = pattern;
    previous_ = fs::current_path();
    name_ = source.filename().string();
    if (name_.empty()) name_ = source.parent_path().filename().string();
    try {
      fs::create_directories(root_ / "data/scenarios");
      fs::create_directory_symlink(source, root_ / "data/scenarios" / name_);
      if (fs::is_directory(gfx)) fs::create_directory_symlink(gfx, root_ / "data/gfx");
      fs::current_path(root_);
    } catch (...) {
      std::error_code ec;
      fs::remove_all(root_, ec);
      throw;
    }
  }
  ~ScratchGameFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(root_, ec);  // the links, not what they point to
  }
  ScratchGameFolder(const ScratchGameFolder&) = delete;
  ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;
  // The loader's folder pattern of the scenario.
  std::wstring Pattern() const { return plat::WidenBytes("data\\scenarios\\" + name_ + "\\%s"); }

 private:
  std::filesystem::path root_, previous_;
  std::string name_;
};

int DrawExisting(const std::string& mode, const std::filesystem::path& folder, const char* png) {
  try {
    if (!std::filesystem::is_regular_file(folder / "map.tdw")) {
      throw std::runtime_error(folder.string() + " holds no scenario");
    }
    const std::filesystem::path picture = png ? std::filesystem::absolute(png) : std::filesystem::path();
    const std::filesystem::path target = std::filesystem::absolute(folder);
    ScratchGameFolder game(folder);
    LoadWorld(sGameStartSettings{game.Pattern(), 0});
    if (g_pWorld == nullptr) throw std::runtime_error(folder.string() + " could not be loaded");
    if (mode == "--pictures") {
      RenderScenarioImages(*g_pWorld, target);
    } else {
      setenv("SDL_VIDEODRIVER", "dummy", 0);
      if (SDL_Init(SDL_INIT_VIDEO) != 0) throw std::runtime_error(std::string("SDL: ") + SDL_GetError());
      RenderFarthestZoomPicture(*g_pWorld, picture);
      SDL_Quit();
    }
  } catch (const std::exception& e) {
    delete g_pWorld;
    g_pWorld = nullptr;
    std::fprintf(stderr, "make_scenario: %s\n", e.what());
    return 1;
  }
  delete g_pWorld;
  g_pWorld = nullptr;
  std::printf("make_scenario: %s: pictures drawn\n", folder.string().c_str());
  return 0;
}

// The data check of the written folder, its warnings pointing at the
// sources; the number of warnings.
int CheckWrittenScenario(const std::filesystem::path& sources, const std::filesystem::path& folder) {
  std::vector<int> lineOf(200, 0);
  std::ifstream consts(sources / "consts.txt");
  std::string line;
  for (int fileLine = 1; std::getline(consts, line); ++fileLine) {
    std::istringstream words(line);
    int dataLine = 0;
    if (line.empty() || line[0] == '#' || !(words >> dataLine)) continue;
    if (dataLine > 0 && dataLine < static_cast<int>(lineOf.size()))
      lineOf[static_cast<std::size_t>(dataLine)] = fileLine;
  }
  sDataCheckFiles files;
  files.consts = (sources / "consts.txt").string();
  files.seaEdges = (sources / "sea.txt").string();
  files.ai = (sources / "ai.txt").string();
  files.constsFileLine = [&lineOf](int dataLine) {
    return dataLine > 0 && dataLine < static_cast<int>(lineOf.size()) ? lineOf[static_cast<std::size_t>(dataLine)] : 0;
  };
  const std::filesystem::path target = std::filesystem::absolute(folder);
  ScratchGameFolder game(target);
  LoadWorld(sGameStartSettings{game.Pattern(), 0});
  if (g_pWorld == nullptr) throw std::runtime_error(folder.string() + " could not be loaded back");
  const std::vector<std::string> warnings = CheckScenarioData(*g_pWorld, files);
  delete g_pWorld;
  g_pWorld = nullptr;
  for (const std::string& warning : warnings) std::printf("make_scenario: %s\n", warning.c_str());
  return static_cast<int>(warnings.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--pictures") return DrawExisting(argv[1], argv[2], nullptr);
  if (argc == 4 && std::string(argv[1]) == "--farthest-zoom") return DrawExisting(argv[1], argv[2], argv[3]);
  if (argc != 4 || argv[1][0] == '-') {
    std::fprintf(stderr,
                 "usage: make_scenario <source folder> <scenario folder> <preview.png>\n"
                 "       make_scenario --pictures <scenario folder>\n"
                 "       make_scenario --farthest-zoom <scenario folder> "
                 "<picture.png>\n");
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
    std::printf(
        "make_scenario: %s: %dx%d, %d countries, %d cities, %d sea "
        "nodes, %zu land, %zu air, %zu ships\n",
        out.string().c_str(), world.GetMap().GetWidth(), world.GetMap().GetHeight(), world.GetCountryCount(),
        static_cast<int>(world.Cities().size()), world.GetSeaGraph().GetNodeCount(), world.Units().landUnits.size(),
        world.Units().airUnits.size(), world.Units().navalUnits.size());
    CheckWrittenScenario(std::filesystem::absolute(argv[1]), out);
  } catch (const std::exception& e) {
    g_pWorld = nullptr;
    std::fprintf(stderr, "make_scenario: %s\n", e.what());
    return 1;
  }
  return 0;
}
