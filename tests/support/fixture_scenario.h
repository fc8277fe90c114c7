// The fixture scenario of the tests (tests/data/fixture_scenario/Fixture): a
// 20 x 15 map with two alliances and their leaders, a neutral and the dummy
// country, ports, sea nodes, units of every kind, a fleet with ships, a
// convoy and commanders. Tests copy it into their working folder, where the
// game finds it as "data\scenarios\Fixture".
#pragma once

#include <filesystem>
#include <string>

#include "files/world_loader.h"
#include "support/test_support.h"

namespace twtest {

// The fixture's folder in the source tree (TW_SOURCE_DIR, or the first
// folder above the working folder or the test program that holds it);
// empty when it cannot be found.
inline std::filesystem::path FixtureScenarioSource() {
  const std::string marker = "tests/data/fixture_scenario/Fixture";
  const std::filesystem::path root = FindSourceRoot(marker);
  return root.empty() ? root : root / marker;
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
