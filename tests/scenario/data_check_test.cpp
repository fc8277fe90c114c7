// The scenario data check: Europe 1939 and the fixture pass it without a
// warning; each fault planted in Europe 1939 (a factor the rules multiply as
// a percentage given on a scale of 10, a chance that truncates to 0, a
// bombing step or an air range that keeps a rule from taking effect, an air
// replacement that never raises a unit, a port cut off from the open sea,
// enemy navies that never meet, a sea battle that never starts, a target
// without a route) is warned of, naming the file, the line and the value.
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
#include "support/world_builders.h"
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

// An air replacement that can never raise a unit: full strengths on the
// scale of 8 where the aircraft stand at 100, a price of 0, an allowance
// that halves to nothing for a fighter; then none at all.
TEST_F(DataCheck, AnAirReplacementThatNeverRaisesAUnitIsWarnedOf) {
  LoadEurope();
  sScenarioConstants& k = g_pWorld->constants;
  const sScenarioConstants sound = k;
  k.airBaseStrength = {4, 8, 8};
  k.airCostFactorsA[1] = 0.0f;
  k.supplyEffectF.fill(1);
  std::vector<std::string> warnings = Check();
  for (const char* column : {"(data line 14, column 1) = 4:", "(data line 14, column 2) = 8:",
                             "(data line 14, column 3) = 8:"}) {
    EXPECT_EQ(Matching(warnings, {column, "stand at up to 100, above this full strength"}), 1) << Joined(warnings);
  }
  EXPECT_EQ(Matching(warnings, {"(data line 80, column 3) = 0:", "tactical bombers", "none is ever bought"}), 1)
      << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 56, column ", "never replaces a fighter's losses"}), 1)
      << Joined(warnings);

  k = sound;
  k.supplyEffectF.fill(0);
  warnings = Check();
  // The band of full supply (10): Europe's band of the bound 10, column 3.
  EXPECT_EQ(Matching(warnings, {"(data line 56, column 3) = ", "in full supply (10) gets no replacement"}), 1)
      << Joined(warnings);
  EXPECT_EQ(warnings.size(), 1u) << Joined(warnings);
}

// Enemy navies (at war, or in the alliances of two leaders at war) whose
// fleets never patrol a sea zone in common, by their lists or because a zone
// lies beyond what their fleets reach; and sea battles or surprise attacks
// the constants keep from ever happening.
TEST_F(DataCheck, EnemyNaviesThatNeverMeetAndSeaBattlesThatNeverStartAreWarnedOf) {
  LoadEurope();
  const auto country = [](const wchar_t* name) -> cCountry& {
    for (const auto& c : g_pWorld->Countries()) {
      if (c->name == name) return *c;
    }
    ADD_FAILURE() << plat::NarrowBytes(name);
    return *g_pWorld->Countries().front();
  };
  const auto zone = [](const wchar_t* name) {
    for (const sWezelGrafuMorz& node : g_pWorld->GetSeaGraph().Nodes()) {
      if (node.name == name) return node.id;
    }
    ADD_FAILURE() << plat::NarrowBytes(name);
    return 0;
  };
  cCountry& uk = country(L"United Kingdom");
  cCountry& france = country(L"France");
  const cPatrolZones britain = uk.aiData.seaZonesToPatrol;
  const cPatrolZones french = france.aiData.seaZonesToPatrol;
  // Britain keeps to the Irish Sea: Germany and Italy never meet it (the
  // Soviet Union, whose leader is at war with nobody, is no enemy).
  uk.aiData.seaZonesToPatrol = twtest::PatrolZones({{zone(L"Irish Sea"), 100}});
  std::vector<std::string> warnings = Check();
  EXPECT_EQ(Matching(warnings, {"ai_data.csv: the fleets of Germany and United Kingdom, enemies, never patrol"}), 1)
      << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"the fleets of Italy and United Kingdom", "; Irish Sea)"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 2u) << Joined(warnings);

  // France lists the zones of its enemies, but beyond the Turkish straits
  // and the Baltic's Danish ones, which its fleets may not pass.
  uk.aiData.seaZonesToPatrol = britain;
  france.aiData.seaZonesToPatrol =
      twtest::PatrolZones({{zone(L"Western Black Sea"), 100}, {zone(L"Western Baltic"), 90}});
  warnings = Check();
  EXPECT_EQ(Matching(warnings, {"the fleets of Germany and France", "; none)"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"the fleets of Italy and France", "; none)"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 2u) << Joined(warnings);

  // No ship joins a battle; no warship weighs anything; no surprise attack.
  france.aiData.seaZonesToPatrol = french;
  sScenarioConstants& k = g_pWorld->constants;
  k.seaBattleJoinChance = 0;
  k.navalSeaBattleValue = {0, 0, 0, 0, 5, 5, 0, 0};
  warnings = Check();
  EXPECT_EQ(Matching(warnings, {"(data line 128, column 1) = 0:", "joins a sea battle"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 72, column 1) = 0:", "no sea battle ever starts"}), 1)
      << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 72, column 7) = 0:", "carrier"}), 1) << Joined(warnings);
  EXPECT_EQ(Matching(warnings, {"(data line 72, column 8) = 0:", "raider submarine"}), 1) << Joined(warnings);
  EXPECT_EQ(warnings.size(), 4u) << Joined(warnings);
}

}  // namespace
