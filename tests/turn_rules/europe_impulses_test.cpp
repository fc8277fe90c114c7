// A hundred ends of impulses of "Europe, September 1939" with every country
// played by the computer: the whole sequence on the real data, the same
// game for the same seed.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "rules/world_turn.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr int kEuropeImpulses = 100;

// Every file of a saved game by its path inside the save folder.
std::map<std::string, std::string> ReadSave(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).generic_string()] =
        twtest::WithoutSaveClock(entry.path().filename().string(), twtest::ReadFile(entry.path().string()));
  }
  return files;
}

// What the ends of the impulses leave of a game, to compare two runs.
struct sOutcome {
  std::vector<double> production;
  std::vector<int> techLevels;
  std::vector<int> activeCountries;
  std::size_t reports = 0;
  int month = 0;
  int year = 0;
  bool operator==(const sOutcome&) const = default;
};

// Plays the impulses and saves the game that results under saveName.
sOutcome PlayImpulses(unsigned seed, const std::wstring& saveName) {
  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  EXPECT_NE(g_pWorld, nullptr);
  if (g_pWorld == nullptr) return {};
  cWorld& world = *g_pWorld;
  for (auto& country : world.Countries()) country->human = false;
  plat::Srand(seed);
  const int firstCounter = world.impulseCounters[0];
  for (int i = 0; i < kEuropeImpulses && !world.gameOver; ++i) EndImpulse(world, true);
  EXPECT_FALSE(world.gameOver);
  EXPECT_EQ(world.impulseCounters[0], firstCounter + kEuropeImpulses);
  sOutcome outcome;
  for (const auto& country : world.Countries()) {
    outcome.production.push_back(country->productionPoints);
    outcome.techLevels.insert(outcome.techLevels.end(), country->techLevel.begin(), country->techLevel.end());
    if (country->active) outcome.activeCountries.push_back(country->id);
  }
  outcome.reports = world.reports.Reports().size();
  outcome.month = world.GetDate().month;
  outcome.year = world.GetDate().year;
  EXPECT_TRUE(SaveGame(world, saveName, false).ok);
  delete g_pWorld;
  g_pWorld = nullptr;
  return outcome;
}

TEST(Europe1939Impulses, HundredImpulsesOfComputerPlayGiveTheSameGameForTheSameSeed) {
  const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const twtest::TempWorkingFolder dir;
  fs::create_directories("data/scenarios");
  fs::copy(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939", fs::copy_options::recursive);
  fs::create_directory_symlink(root / "data/gfx", "data/gfx");
  fs::create_directory_symlink(root / "data/Music", "data/Music");
  plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame{&renderer};
  const sOutcome first = PlayImpulses(7, L"first");
  const sOutcome second = PlayImpulses(7, L"second");
  const sOutcome other = PlayImpulses(8, L"other");
  plat::SetMessageBoxHandler({});
  EXPECT_EQ(first, second);
  // The whole saved games, file by file, are the same for the same seed; a
  // different seed plays a different game.
  const auto firstSave = ReadSave("data/save/first");
  const auto secondSave = ReadSave("data/save/second");
  ASSERT_GT(firstSave.size(), 10u);
  ASSERT_EQ(firstSave.size(), secondSave.size());
  for (const auto& [name, content] : firstSave) {
    const auto found = secondSave.find(name);
    ASSERT_NE(found, secondSave.end()) << name;
    EXPECT_TRUE(found->second == content) << name << " differs between two games of the same seed";
  }
  EXPECT_NE(firstSave, ReadSave("data/save/other"));
  EXPECT_GT(first.reports, static_cast<std::size_t>(kEuropeImpulses)) << "production and upkeep every impulse";
  EXPECT_GE(first.year, 1942) << "a hundred impulses are years of war";
}

}  // namespace
