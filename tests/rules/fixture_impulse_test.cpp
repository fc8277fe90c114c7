// The worker thread on the fixture scenario as the loader builds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "world/turn_state.h"
#include "rules/worker_thread.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

class FixtureImpulse : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    fs::current_path(dir_.Path());
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    ASSERT_NE(g_pWorld, nullptr);
  }
  void TearDown() override {
    delete g_pWorld;  // stops the worker first
    g_pWorld = nullptr;
    EXPECT_FALSE(IsAiThreadRunning());
    fs::current_path(old_cwd_);
  }

  static bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
  }

  fs::path old_cwd_;
  twtest::TempDir dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
};

TEST_F(FixtureImpulse, ThreadPlaysAWholeImpulseOfTheFixture) {
  cWorld& world = *g_pWorld;
  ASSERT_EQ(world.aiPlayers.size(), static_cast<std::size_t>(world.GetCountryCount()));
  for (auto& country : world.Countries()) country->human = false;
  twtest::LogCapture log;
  world.turnState.SetCurrentCountry(PickCurrentCountry(world.Countries()));
  world.SetGameState(kPhaseComputerPlayers);
  StartAiThread();
  const std::wstring impulseEnd = L"Updatuje minimape po koncu impulsu";
  ASSERT_TRUE(WaitFor([&] { return log.Contains(impulseEnd); }));
  StopAiThread();

  // Axis by strength, the Allies, then the neutral before the dummy.
  std::vector<std::wstring> choices;
  for (const std::wstring& line : log.Lines()) {
    if (line.find(L"Aktualne panstwo") != std::wstring::npos) choices.push_back(line);
    if (line == impulseEnd) break;
  }
  const std::vector<std::wstring> expected = {
      L"Os. Aktualne panstwo = Eastmark",      L"Os. Aktualne panstwo = Southia",
      L"Alianci. Aktualne panstwo = Westland", L"Neutralni. Aktualne panstwo = Neutralia",
      L"Neutralni. Aktualne panstwo = Dummy",  L"Os. Aktualne panstwo = Eastmark"};
  EXPECT_EQ(choices, expected);
}

}  // namespace
