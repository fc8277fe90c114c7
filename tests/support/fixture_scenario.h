// The fixture scenario of the tests (tests/data/fixture_scenario/Fixture): a
// 20 x 15 map with two alliances and their leaders, a neutral and the dummy
// country, ports, sea nodes, units of every kind, a fleet with ships, a
// convoy and commanders. Tests copy it into their working folder, where the
// game finds it as "data\scenarios\Fixture".
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "files/world_loader.h"

namespace twtest {

// The fixture's folder in the source tree (TW_SOURCE_DIR, or the first
// folder above the working folder or the test program that holds it);
// empty when it cannot be found.
inline std::filesystem::path FixtureScenarioSource() {
  namespace fs = std::filesystem;
  const fs::path marker = "tests/data/fixture_scenario/Fixture";
  if (const char* env = std::getenv("TW_SOURCE_DIR")) return fs::path(env) / marker;
  std::error_code ec;
  for (fs::path start : {fs::current_path(ec), fs::read_symlink("/proc/self/exe", ec).parent_path()}) {
    for (fs::path p = start; !p.empty(); p = p.parent_path()) {
      if (fs::is_directory(p / marker, ec)) return p / marker;
      if (p == p.parent_path()) break;
    }
  }
  return {};
}

// Copies the fixture to "<root>/data/scenarios/Fixture" (replacing an older
// copy) and returns the settings that start it as a new game. The game's
// paths are relative, so root is the working folder of the test.
inline sGameStartSettings CopyFixtureScenario(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  const fs::path target = root / "data/scenarios/Fixture";
  fs::remove_all(target);
  fs::create_directories(target);
  fs::copy(FixtureScenarioSource(), target, fs::copy_options::recursive);
  return sGameStartSettings{L"data\\scenarios\\Fixture\\%s", 0};
}

}  // namespace twtest
