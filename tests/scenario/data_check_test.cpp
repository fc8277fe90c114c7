// The scenario data check: Europe 1939 and the fixture pass it without a
// warning; each fault planted in Europe 1939 (a factor the rules multiply as
// a percentage given on a scale of 10, a chance that truncates to 0, a
// bombing step or an air range that keeps a rule from taking effect, a port
// cut off from the open sea, a target without a route) is warned of, naming
// the file, the line and the value.
#include "common/data_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/world_loader.h"
#include "platform/text.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// The warnings that hold every part.
int Matching(const std::vector<std::string>& warnings, std::initializer_list<const char*> parts) {
  return static_cast<int>(std::count_if(warnings.begin(), warnings.end(), [&](const std::string& w) {
    return std::all_of(parts.begin(), parts.end(), [&](const char* p) { return w.find(p) != std::string::npos; });
  }));
}

class DataCheck : public ::testing::Test {
 protected:
  void Load(const sGameStartSettings& settings) {
    LoadWorld(settings);
    ASSERT_NE(g_pWorld, nullptr);
  }
  void LoadEurope() {
    const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
    ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
    fs::create_directories("data/scenarios");
    fs::copy(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939", fs::copy_options::recursive);
    fs::create_directory_symlink(root / "data/gfx", "data/gfx");
    Load(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
    std::string text = twtest::ReadFile("data/scenarios/Europe1939/consts.csv");
    lines_ = ConstsFileLines(text);
    files_.constsFileLine = [this](int line) { return lines_[static_cast<std::size_t>(line)]; };
  }
  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  std::vector<std::string> Check() const { return CheckScenarioData(*g_pWorld, files_); }

  twtest::TempWorkingFolder folder_;
  sDataCheckFiles files_;
  std::vector<int> lines_;
};

TEST_F(DataCheck, EuropeAndTheFixturePass) {
  LoadEurope();
  EXPECT_EQ(Joined(Check()), "");
  delete g_pWorld;
  g_pWorld = nullptr;
  Load(twtest::CopyFixtureScenario(fs::current_path()));
  EXPECT_EQ(Joined(Check()), "");
}

TEST_F(DataCheck, ConstantsThatKeepARuleFromTakingEffectAreNamedByLineAndValue) {
  LoadEurope();
  sScenarioConstants& k = g_pWorld->constants;
  const sScenarioConstants sound = k;
  // The strike's level factors on a scale of 10: each is named, and the
  // strike of a bomber of level 1 floors.
  k.bombardTable58 = {1, 2, 3, 4, 5};
  std::vector<std::string> warnings = Check();
  const std::string line58 = "consts.csv line " + std::to_string(lines_[58]) + " (data line 58, column ";
  EXPECT_EQ(Matching(warnings, {line58.c_str(), "an air strike on a land unit"}), 5) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {line58.c_str(), "column 1) = 1:", "floor strength"}), 1) << Joined(warnings);

  // A raider's factor that truncates its chance to 0; a raid on a city that
  // destroys nothing; a port strike that never hits; no upkeep.
  k = sound;
  k.convoyRouteFactors[4] = 0.01f;
  k.strategicBombingB = {1, 2, 3, 4, 5};
  k.portBombardValues = {0, 0, 0, 50};
  k.upkeepFactor = 0.0f;
  warnings = Check();
  EXPECT_EQ(Matching(warnings, {"(data line 121, column 5) = 0.01:", "raider"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 126, column 2) = 1:", "city"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 178, column 3) = 0:", "port"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 136, column 1) = 0:", "upkeep"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 4u) << Joined(warnings);

  // A bombing step above a strategic bomber's full strength; a rebase range
  // within which the computer's rebasing never finds a city; a least
  // interceptor strength no fighter at full strength exceeds the half of.
  k = sound;
  k.bombingStep = k.airBaseStrength[2] + 1;
  k.airRangeBase[3] = 2;
  k.airRangeBase[1] = 2 * k.airBaseStrength[0];
  warnings = Check();
  const std::string step = "(data line 15, column 1) = " + std::to_string(k.bombingStep) + ":";
  EXPECT_EQ(Matching(warnings, {step.c_str(), "bombing step"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 47, column 4) = 2:", "never rebases"}), 1) << Joined(warnings);
  const std::string least = "(data line 47, column 2) = " + std::to_string(k.airRangeBase[1]) + ":";
  EXPECT_EQ(Matching(warnings, {least.c_str(), "intercepts"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 3u) << Joined(warnings);
  // No step at all.
  k = sound;
  k.bombingStep = 0;
  warnings = Check();
  EXPECT_EQ(Matching(warnings, {"(data line 15, column 1) = 0:", "no bombing step"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 1u) << Joined(warnings);
}

TEST_F(DataCheck, APortCutOffFromTheSeaAndATargetWithoutARouteAreWarnedOf) {
  LoadEurope();
  cSeaGraph& sea = g_pWorld->GetSeaGraph();
  // Leningrad's port keeps its link to Lake Ladoga only: the lake's passage
  // to the Gulf of Finland is cut.
  const int port = sea.FindNodeIdByMainHex(67, 9);
  ASSERT_GT(port, 0);
  const int lake = sea.GetAdjacentSeaZoneId(port);
  for (sWezelGrafuMorz& node : sea.Nodes()) {
    if (node.id != lake) continue;
    std::erase_if(node.links, [&](const sSeaLink& link) { return link.node != port; });
  }
  for (sWezelGrafuMorz& node : sea.Nodes()) {
    if (node.id != lake && node.id != port)
      std::erase_if(node.links, [&](const sSeaLink& l) { return l.node == lake; });
  }
  // Italy aims at London, which no road joins to the continent.
  cCountry* italy = nullptr;
  for (const auto& country : g_pWorld->Countries()) {
    if (country->name == L"Italy") italy = country.get();
  }
  ASSERT_NE(italy, nullptr);
  const cCity* london = nullptr;
  for (const cCity* city : g_pWorld->Cities()) {
    if (city->GetName() == L"London") london = city;
  }
  ASSERT_NE(london, nullptr);
  italy->aiData.currentTargets.push_back({london->x, london->y, 30});

  const std::vector<std::string> warnings = Check();
  EXPECT_EQ(Matching(warnings, {"sea_edges.csv: the port Leningrad", "reaches no open sea (only Lake Ladoga)"}), 1)
      << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"ai_data.csv: the target", "of Italy, London, has no land route"}), 1)
      << Joined(warnings);
  EXPECT_EQ(warnings.size(), 2u) << Joined(warnings);
}

}  // namespace
