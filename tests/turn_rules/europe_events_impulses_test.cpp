// A hundred ends of impulses of "Europe, September 1939" with every country
// computer-controlled: the scenario's scripted events of 1939 and 1940 fire
// in the order of the war, each once, and change the map as they say. Only
// the ends of impulses run here, no country plays its turn (the computer's
// battles would make the course of the war a matter of its dice), so France
// is made to fall by handing Paris to Germany at a chosen impulse.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/world_loader.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "rules/hex_control.h"
#include "rules/world_turn.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/event_manager.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr int kImpulses = 100;
// 16 June 1940: two impulses a month from 1 September 1939.
constexpr int kParisFallsAt = 20;

// The events of the war's course that the test follows (ids of the script).
enum : int {
  kPact = 101, kPartition = 102, kBalticPacts = 103, kWinterWar = 104, kMoscowPeace = 105, kWeserubung = 106,
  kFallGelb = 107, kChurchill = 108, kItalyDeclares = 109, kFallOfFrance = 110, kCatapult = 111, kBlitz = 112,
  kHendaye = 119, kItalyAtWar = 130, kVichyNeutral = 131,
};

struct sFired {
  int impulse = 0;  // 1-based impulse at whose end it fired
  int option = 0;   // the stop flag's value: the option taken
  int day = 0, month = 0, year = 0;
};

struct sGame {
  std::map<int, sFired> fired;
  std::map<int, int> firings;  // how often each event fired
  std::vector<std::wstring> errors;  // "ERR:" and "ERROR" lines of the log
  int impulses = 0;
};

class EuropeEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
    ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
    fs::create_directories("data/scenarios");
    fs::copy(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939", fs::copy_options::recursive);
    fs::create_directory_symlink(root / "data/gfx", "data/gfx");
    fs::create_directory_symlink(root / "data/Music", "data/Music");
    plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
  }
  void TearDown() override {
    if (IsSkipped()) return;
    plat::SetMessageBoxHandler({});
    delete g_pWorld;
    g_pWorld = nullptr;
  }

  static cCountry* Named(cWorld& world, const wchar_t* name) {
    for (auto& country : world.Countries())
      if (country->name == name) return country.get();
    ADD_FAILURE() << "no country " << plat::NarrowBytes(name);
    return nullptr;
  }
  static const cCity* CityNamed(cWorld& world, const wchar_t* name) {
    for (const cCity* city : world.Cities())
      if (city->GetName() == name) return city;
    ADD_FAILURE() << "no city " << plat::NarrowBytes(name);
    return nullptr;
  }
  static int ControllerOf(cWorld& world, const wchar_t* city) {
    const cCity* c = CityNamed(world, city);
    return c == nullptr ? -1 : world.GetMap().GetHex(c->x, c->y).controller;
  }

  // Plays the impulses; parisAt is the impulse before whose end Germany is
  // given Paris (0: never). Every option but the first weighs nothing, so
  // the computer takes the course of history at every choice.
  sGame Play(int parisAt) {
    const twtest::LogCapture log;
    LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
    EXPECT_NE(g_pWorld, nullptr);
    sGame game;
    if (g_pWorld == nullptr) return game;
    cWorld& world = *g_pWorld;
    EXPECT_GE(world.eventManager.events.size(), 15u) << "the scenario's events are loaded";
    for (auto& country : world.Countries()) country->human = false;
    for (sEvent& event : world.eventManager.events) {
      bool first = true;
      for (sEventOption& option : event.options) {
        if (!first) option.chanceAI = 0;
        first = false;
      }
    }
    plat::Srand(7);
    const cCity* paris = CityNamed(world, L"Paris");
    const int germany = Named(world, L"Germany")->id;
    for (int i = 1; i <= kImpulses && !world.gameOver; ++i) {
      if (i == parisAt && paris != nullptr) ChangeHexStripeControllerAndOwner(world, paris->x, paris->y, 1, germany);
      sGameDate date = world.GetDate();
      const int day = date.GetDay(world.TurnsPerMonth());
      EndImpulse(world, true);
      game.impulses = i;
      for (const sEvent& event : world.eventManager.events) {
        const int flag = world.eventFlags[static_cast<std::size_t>(event.eventId)];
        if (flag != 0 && game.fired.count(event.eventId) == 0)
          game.fired[event.eventId] = sFired{i, flag, day, date.month, date.year};
      }
    }
    const std::wstring firing = L"Condition for event with ID=";
    for (const std::wstring& line : log.Lines()) {
      if (line.find(L"ERR:") != std::wstring::npos || line.find(L"ERROR") != std::wstring::npos)
        game.errors.push_back(line);
      if (line.rfind(firing, 0) == 0 && line.find(L"is true") != std::wstring::npos)
        ++game.firings[std::stoi(line.substr(firing.size()))];
      // A firing that drew no option leaves the event holding, to fire
      // again: only the firing that applied an option counts.
      if (line.rfind(L"Event ", 0) == 0 && line.find(L": no option could be drawn") != std::wstring::npos)
        --game.firings[std::stoi(line.substr(6))];
    }
    return game;
  }

  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  twtest::TempWorkingFolder dir_;
};

TEST_F(EuropeEvents, HundredImpulsesFollowTheWarOf1939And1940) {
  const sGame game = Play(kParisFallsAt);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  EXPECT_EQ(game.impulses, kImpulses);
  // No effect was refused (a war declared twice, a unit on a held hex, ...).
  EXPECT_TRUE(game.errors.empty()) << plat::NarrowBytes(game.errors.empty() ? L"" : game.errors.front());
  for (const auto& [id, count] : game.firings) {
    if (id != kVichyNeutral) {
      EXPECT_EQ(count, 1) << "event " << id << " fired again";
    }
  }

  // The impulse at whose end each event of 1939-1940 fires: the pact at the
  // first events check of the game, then in the order of the war.
  const std::map<int, int> expected = {
      {kPact, 1},       {kPartition, 2},  {kBalticPacts, 3}, {kWinterWar, 6},   {kMoscowPeace, 13},
      {kWeserubung, 15}, {kFallGelb, 17}, {kChurchill, 17},  {kItalyAtWar, 19}, {kFallOfFrance, kParisFallsAt},
      {kCatapult, kParisFallsAt}};
  for (const auto& [id, impulse] : expected) {
    const auto found = game.fired.find(id);
    ASSERT_NE(found, game.fired.end()) << "event " << id << " never fired";
    EXPECT_EQ(found->second.impulse, impulse) << "event " << id;
    EXPECT_EQ(found->second.option, 1) << "event " << id << " took the historical option";
  }
  const sFired& pact = game.fired.at(kPact);
  EXPECT_EQ(std::vector<int>({pact.day, pact.month, pact.year}), std::vector<int>({1, 9, 1939}));
  const sFired& fall = game.fired.at(kFallOfFrance);
  EXPECT_EQ(std::vector<int>({fall.day, fall.month, fall.year}), std::vector<int>({16, 6, 1940}));
  // Norway and Denmark, attacked, joined the Allies and brought the two
  // alliances to war, Italy with them: it chose how to fight, not whether.
  EXPECT_FALSE(game.fired.count(kItalyDeclares));
  // Once France is out, the events that wait for it follow.
  EXPECT_TRUE(game.fired.count(kBlitz));
  EXPECT_TRUE(game.fired.count(kHendaye));

  // What the events did to the map: Poland divided along the Bug, the Baltic
  // states (Wilno with Lithuania) annexed, Karelia Soviet, France occupied in
  // the north and on the Atlantic, Vichy in the south, at peace whatever wars
  // the alliances fought since; the Free French with Britain.
  const int germany = Named(world, L"Germany")->id, france = Named(world, L"France")->id;
  const int soviets = Named(world, L"Soviet Union")->id;
  EXPECT_EQ(ControllerOf(world, L"Lwow"), soviets);
  EXPECT_EQ(ControllerOf(world, L"Brest-Litovsk"), soviets);
  EXPECT_EQ(ControllerOf(world, L"Warsaw"), Named(world, L"Poland")->id);
  EXPECT_EQ(ControllerOf(world, L"Wilno"), soviets);
  EXPECT_EQ(ControllerOf(world, L"Kaunas"), soviets);
  EXPECT_FALSE(Named(world, L"Lithuania")->active);
  EXPECT_EQ(ControllerOf(world, L"Viipuri"), soviets);
  EXPECT_EQ(ControllerOf(world, L"Bordeaux"), germany);
  EXPECT_EQ(ControllerOf(world, L"Lille"), germany);
  EXPECT_EQ(ControllerOf(world, L"Lyon"), france);
  EXPECT_EQ(ControllerOf(world, L"Marseille"), france);
  EXPECT_EQ(ControllerOf(world, L"Algiers"), france);
  EXPECT_FALSE(Named(world, L"France")->IsAtWarWithAnyone());
  EXPECT_TRUE(world.GetRelations().IsAtWar(germany, Named(world, L"United Kingdom")->id));
  const int britain = Named(world, L"United Kingdom")->id;
  const auto& land = world.Units().landUnits;
  EXPECT_TRUE(std::any_of(land.begin(), land.end(), [britain](const cJednostkaLadowa* unit) {
    return unit->countryId == britain && unit->name == L"Free French Division";
  }));
}

TEST_F(EuropeEvents, FranceStandsWhileParisHolds) {
  const sGame game = Play(0);
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_TRUE(game.errors.empty()) << plat::NarrowBytes(game.errors.empty() ? L"" : game.errors.front());
  EXPECT_TRUE(game.fired.count(kPact));
  EXPECT_TRUE(game.fired.count(kItalyAtWar)) << "Italy is at war once the West is attacked";
  for (int id : {kFallOfFrance, kCatapult, kBlitz, kHendaye}) EXPECT_FALSE(game.fired.count(id)) << "event " << id;
  EXPECT_TRUE(g_pWorld->GetRelations().IsAtWar(Named(*g_pWorld, L"Germany")->id, Named(*g_pWorld, L"France")->id));
}

}  // namespace
