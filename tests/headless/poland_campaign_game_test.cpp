// "Europe, September 1939" with every country computer-controlled, played as
// the runner plays it: the September campaign ends as it did. Over several
// seeds Poland has lost all its cities or capitulated by the end of 1939
// (impulse 8) in most games; a game is cut short once Poland has fallen.
// Each game draws the events' options as the computer does, so the seeds
// decide both the battles and the choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/framework_lock.h"
#include "headless_game/headless_play.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kCampaignSeeds[] = {11, 12, 13, 14, 15, 16};
constexpr int kEndOf1939 = 8;  // two impulses a month from September

class PolandCampaignGame : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
    ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
    fs::create_directories(folder_.Path() / "data/scenarios");
    fs::create_directories(folder_.Path() / "data/save");
    fs::copy(root / "data/scenarios/Europe1939", folder_.Path() / "data/scenarios/Europe1939",
             fs::copy_options::recursive);
    fs::create_directory_symlink(root / "data/gfx", folder_.Path() / "data/gfx");
    plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
  }
  void TearDown() override { plat::SetMessageBoxHandler({}); }

  // Poland has no city left or is out of the war.
  static bool PolandFallen(const cWorld& world) {
    const cCountry* poland = nullptr;
    for (const auto& country : world.Countries())
      if (country->name == L"Poland") poland = country.get();
    if (poland == nullptr) {
      ADD_FAILURE() << "no Poland";
      return false;
    }
    if (!poland->active) return true;
    for (const cCity* city : world.Cities())
      if (city->GetControllerId() == poland->id) return false;
    return true;
  }

  // The impulse after which Poland had fallen; 0 when it still stood at the
  // end of 1939.
  int PlayUntilPolandFalls(unsigned seed) {
    const twtest::LogCapture log;
    const cHeadlessMainThread mainThread;
    cFastClock clock;
    plat::Srand(seed);
    cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Europe1939\\%s", false);
    EXPECT_NE(world, nullptr);
    if (world == nullptr) return 0;
    int fellAt = 0;
    for (int impulse = 1; impulse <= kEndOf1939 && fellAt == 0; ++impulse) {
      const sHeadlessPlay play = PlayHeadlessImpulses(*world, 1, seed * 100 + static_cast<unsigned>(impulse));
      if (play.impulses != 1) break;
      const cFrameworkLockGuard lock;
      if (PolandFallen(*world)) fellAt = impulse;
    }
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
    return fellAt;
  }

  twtest::TempWorkingFolder folder_;
};

TEST_F(PolandCampaignGame, PolandFallsByTheEndOf1939InMostGames) {
  int fallen = 0;
  std::string record;
  for (const unsigned seed : kCampaignSeeds) {
    const int fellAt = PlayUntilPolandFalls(seed);
    record += " seed " + std::to_string(seed) + ": " + (fellAt == 0 ? std::string("stands") : std::to_string(fellAt));
    if (fellAt != 0) ++fallen;
  }
  EXPECT_GE(fallen, 4) << "Poland fell by impulse " << kEndOf1939 << " in " << fallen << " of 6 games:" << record;
}

}  // namespace
