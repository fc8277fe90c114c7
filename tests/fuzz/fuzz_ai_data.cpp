// Reads arbitrary bytes as a computer opponent data file into a small world
// (three countries, a port at (1, 1), a town at (3, 2)). Fatal data errors
// end the input quietly through the throwing hook; a file that loads writes
// a text that loads back the same.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "files/ai_data_file.h"
#include "app/fatal_exit.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

std::unique_ptr<cWorld> SmallWorld() {
  auto world = std::make_unique<cWorld>();
  std::string error;
  BuildMapFromText("size 5 5\nterrain\nppppp\nppppp\nppppp\nppppp\nppppp\n", world->GetMap(), error);
  const int cities[2][3] = {{1, 1, kCityPort}, {3, 2, kCityNormal}};
  for (const auto& c : cities) {
    auto city = std::make_unique<cCity>();
    city->x = c[0];
    city->y = c[1];
    city->type = c[2];
    world->AddCity(std::move(city));
  }
  for (int id = 1; id <= 3; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    world->AddCountry(std::move(country));
  }
  return world;
}

// The two worlds hold distinct city records: cities compare by their hex.
bool SameCities(const std::vector<cCity*>& a, const std::vector<cCity*>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i]->x != b[i]->x || a[i]->y != b[i]->y) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tw_fuzz_ai_data_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    g_ConsoleLog.SetEnabled(false);
    return dir;
  }();
  const std::string file = (folder / "ai_data.csv").string();
  if (!plat::WriteFileBytes(file, std::string(reinterpret_cast<const char*>(data), size))) return 0;
  const std::wstring pattern = plat::WidenAnsi(folder.string()) + L"/%s";
  cScopedThrowingFatalHook hook;
  std::unique_ptr<cWorld> world = SmallWorld();
  try {
    LoadAiData(*world, pattern);
  } catch (const sFatalExitError&) {
    return 0;
  }
  // What the writer makes must load again, with every list whole.
  plat::WriteFileBytes(file, FormatAiDataText(*world));
  std::unique_ptr<cWorld> again = SmallWorld();
  try {
    LoadAiData(*again, pattern);
  } catch (const sFatalExitError&) {
    __builtin_trap();
  }
  for (int id = 1; id <= 3; ++id) {
    const sCountryAiData& a = world->GetCountry(id)->aiData;
    const sCountryAiData& b = again->GetCountry(id)->aiData;
    if (a.currentTargets.size() != b.currentTargets.size() || !SameCities(a.doNotAttackCities, b.doNotAttackCities) ||
        !SameCities(a.extraCitiesToGarrison, b.extraCitiesToGarrison) ||
        !SameCities(a.obligatorySeaInvasionTargets, b.obligatorySeaInvasionTargets) ||
        a.seaZonesToPatrol != b.seaZonesToPatrol ||
        a.purchaseQueue != b.purchaseQueue || a.countriesToPress != b.countriesToPress ||
        a.carrierTargetsPriorities != b.carrierTargetsPriorities) {
      __builtin_trap();
    }
  }
  return 0;
}
