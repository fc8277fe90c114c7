// "Europe, September 1939" played for a hundred impulses with every country
// computer-controlled: the computer plays its turns (its battles decide
// whether Paris falls), the end of each impulse checks the scenario's
// events. The historical option of every event is the only one the computer
// can draw, so the course of the war is the script's unless the battles
// change it: the pact and the partition of Poland in September 1939, the
// Winter War, the offensive in the West, and the fall of France at the end
// of the impulse in which Paris falls to the Axis, then what waits for it.
// The offensive in the West is Fall Gelb, or the war Germany's computer
// declares on Belgium itself when its offensive there stands ready (then
// Fall Gelb has no cause to come). The armistice takes Germany's targets
// in the West from its offensives, Barbarossa gives it Soviet ones. Whether
// the computer takes Paris depends on the seed: where its battles have not
// taken the city some impulses into the offensive, the test hands it to
// Germany, so that every game follows the fall of France. Every arm takes
// part: the computer replaces its air losses, fleets meet in battle and
// raiders are hunted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "headless_game/headless_play.h"
#include "headless_game/headless_summary.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/event_manager.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// The impulses played after the loading (whose own end of an impulse checks
// no events).
constexpr int kImpulses = 100;
// The seeds of the games played.
constexpr unsigned kSeeds[] = {1, 2};
// The impulses after the war in the West reached Belgium after which the test
// hands Paris to Germany if its battles have not taken it.
constexpr int kParisHandedOverAfter = 8;
constexpr int kAxis = 2;

// The ids of the script's events that the test follows.
enum : int {
  kPact = 101,
  kPartition = 102,
  kBalticPacts = 103,
  kWinterWar = 104,
  kFallGelb = 107,
  kChurchill = 108,
  kFallOfFrance = 110,
  kCatapult = 111,
  kBarbarossa = 124,
  kVichyNeutral = 131,
};

// A date as one number that orders like the dates: 16 September 1939 is
// 19390916.
constexpr int Day(int day, int month, int year) { return year * 10000 + month * 100 + day; }

struct sGame {
  std::map<int, int> firedAt;    // event id -> the impulse at whose end its flag was first set
  std::map<int, int> dates;      // impulse -> its date, as Day() writes it
  std::map<int, int> firings;    // event id -> how often its condition was found true
  int parisAxisAt = 0;           // the first impulse after which the Axis held Paris
  int belgiumAt = 0;             // the first impulse after which Germany was at war with Belgium
  bool belgiumByComputer = false;  // Germany's computer declared that war itself
  bool parisHandedOver = false;  // the test handed it over
  int impulses = 0;
  // The armistice, as it stood at the end of the impulse France fell.
  bool francePeace = false, southFrench = false, bordeauxGerman = false, freeFrench = false;
  // Germany's offensives aim no more at Paris and Strasbourg after the
  // armistice; Moscow is among its targets at the end once Barbarossa began.
  bool westTargetsGone = false, moscowTarget = false;
  bool franceAtPeaceAtTheEnd = false;
  std::vector<std::wstring> refused;  // the events' "ERR:" lines
  sWarShape war;                      // what the war was made of, over the whole log
};

class EuropeEventsGame : public ::testing::Test {
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

  static const cCountry* Named(const cWorld& world, const wchar_t* name) {
    for (const auto& country : world.Countries())
      if (country->name == name) return country.get();
    ADD_FAILURE() << "no country " << plat::NarrowBytes(name);
    return nullptr;
  }
  static const sHex* CityHex(const cWorld& world, const wchar_t* name) {
    for (const cCity* city : world.Cities())
      if (city->GetName() == name) return &world.GetMap().GetHex(city->x, city->y);
    ADD_FAILURE() << "no city " << plat::NarrowBytes(name);
    return nullptr;
  }
  static bool AxisHolds(const cWorld& world, const sHex* hex) {
    if (hex == nullptr) return false;
    for (const auto& country : world.Countries())
      if (country->id == hex->controller) return country->IsInAlliance(kAxis);
    return false;
  }

  // Whether the country's offensives aim at the city.
  static bool Targets(const cWorld& world, const cCountry& country, const wchar_t* city) {
    const sHex* hex = CityHex(world, city);
    return hex != nullptr && std::any_of(country.aiData.currentTargets.begin(), country.aiData.currentTargets.end(),
                                         [hex](const sAiTarget& t) { return t.a == hex->x && t.b == hex->y; });
  }

  // What the armistice did, looked at when it has just been signed.
  static void NoteArmistice(const cWorld& world, sGame& game) {
    const cCountry* france = Named(world, L"France");
    const cCountry* germany = Named(world, L"Germany");
    const cCountry* britain = Named(world, L"United Kingdom");
    if (france == nullptr || germany == nullptr || britain == nullptr) return;
    game.francePeace = !france->IsAtWarWithAnyone();
    game.westTargetsGone = !Targets(world, *germany, L"Paris") && !Targets(world, *germany, L"Strasbourg");
    const sHex* marseille = CityHex(world, L"Marseille");
    const sHex* bordeaux = CityHex(world, L"Bordeaux");
    game.southFrench = marseille != nullptr && marseille->controller == france->id;
    game.bordeauxGerman = bordeaux != nullptr && bordeaux->controller == germany->id;
    const auto& land = world.Units().landUnits;
    game.freeFrench = std::any_of(land.begin(), land.end(), [britain](const cJednostkaLadowa* unit) {
      return unit->countryId == britain->id && unit->name == L"Free French Division";
    });
  }

  // Plays the game one impulse at a time, noting after each which events
  // have fired and who holds Paris.
  sGame Play(unsigned seed) {
    sGame game;
    const twtest::LogCapture log;
    const cHeadlessMainThread mainThread;
    cFastClock clock;
    plat::Srand(seed);
    cWorld* world = LoadHeadlessGame(L"data\\scenarios\\Europe1939\\%s", false);
    EXPECT_NE(world, nullptr);
    if (world == nullptr) return game;
    for (sEvent& event : world->eventManager.events) {
      bool first = true;
      for (sEventOption& option : event.options) {
        if (!first) option.chanceAI = 0;
        first = false;
      }
    }
    // The log of a long game is rotated: each part is counted before the
    // next rotation replaces it.
    g_ConsoleLog.SetRotationObserver([&game](const std::string& rotated) { CountWarLog(rotated, game.war); });
    const sHex* paris = CityHex(*world, L"Paris");
    // The game starts on the scenario's start date; each end of an impulse
    // checks the events under the date of its impulse.
    for (int impulse = 1; impulse <= kImpulses && !world->gameOver; ++impulse) {
      {
        const cFrameworkLockGuard lock;
        const sGameDate date = world->GetDate();
        game.dates[impulse] = Day(date.GetDay(world->TurnsPerMonth()), date.month, date.year);
      }
      if (game.parisAxisAt == 0 && paris != nullptr && game.belgiumAt != 0 &&
          impulse > game.belgiumAt + kParisHandedOverAfter) {
        const cFrameworkLockGuard lock;
        const cCountry* germany = Named(*world, L"Germany");
        if (germany != nullptr && !AxisHolds(*world, paris)) {
          world->GetMap().GetHex(paris->x, paris->y).controller = germany->id;
          game.parisHandedOver = true;
        }
      }
      const sHeadlessPlay play = PlayHeadlessImpulses(*world, 1, seed + static_cast<unsigned>(impulse));
      if (play.impulses != 1) break;
      game.impulses = impulse;
      const cFrameworkLockGuard lock;
      for (const sEvent& event : world->eventManager.events) {
        if (world->eventFlags[static_cast<std::size_t>(event.eventId)] != 0)
          game.firedAt.emplace(event.eventId, impulse);
      }
      if (game.parisAxisAt == 0 && AxisHolds(*world, paris)) game.parisAxisAt = impulse;
      const cCountry* germany = Named(*world, L"Germany");
      const cCountry* belgium = Named(*world, L"Belgium");
      if (game.belgiumAt == 0 && germany != nullptr && belgium != nullptr &&
          world->GetRelations().IsAtWar(germany->id, belgium->id)) {
        game.belgiumAt = impulse;
      }
      if (game.firedAt.count(kFallOfFrance) != 0 && game.firedAt.at(kFallOfFrance) == impulse)
        NoteArmistice(*world, game);
    }
    {
      const cFrameworkLockGuard lock;
      const cCountry* france = Named(*world, L"France");
      game.franceAtPeaceAtTheEnd = france != nullptr && !france->IsAtWarWithAnyone();
      const cCountry* germany = Named(*world, L"Germany");
      game.moscowTarget = germany != nullptr && Targets(*world, *germany, L"Moscow");
      delete g_pWorld;
      g_pWorld = nullptr;
    }
    CountWarLog(g_ConsoleLog.Path(), game.war);
    g_ConsoleLog.SetRotationObserver(nullptr);
    const std::wstring firing = L"Condition for event with ID=";
    for (const std::wstring& line : log.Lines()) {
      if (line.rfind(L"ERR: event", 0) == 0) game.refused.push_back(line);
      if (line == L"[AI]: Germany DECLARED WAR ON Belgium!!") game.belgiumByComputer = true;
      if (line.rfind(firing, 0) == 0 && line.find(L"is true") != std::wstring::npos)
        ++game.firings[std::stoi(line.substr(firing.size()))];
      // A firing that drew no option leaves the event holding, to fire
      // again: only the firing that applied an option counts.
      if (line.rfind(L"Event ", 0) == 0 && line.find(L": no option could be drawn") != std::wstring::npos)
        --game.firings[std::stoi(line.substr(6))];
    }
    return game;
  }

  twtest::TempWorkingFolder folder_;
};

TEST_F(EuropeEventsGame, HundredComputerImpulsesFollowTheWarAndFranceFallsWhenParisFalls) {
  int huntedIn = 0;
  for (const unsigned seed : kSeeds) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const sGame game = Play(seed);
    EXPECT_EQ(game.impulses, kImpulses);
    EXPECT_GT(game.war.airReplacements, 0) << "the computer never replaced an air loss";
    EXPECT_GT(game.war.seaBattles, 0) << "no fleets met in battle";
    if (game.war.raiderHunts > 0) ++huntedIn;
    EXPECT_TRUE(game.refused.empty()) << "an effect was refused: " << plat::NarrowBytes(game.refused.front());
    for (const auto& [id, count] : game.firings) {
      if (id != kVichyNeutral) {
        EXPECT_EQ(count, 1) << "event " << id << " fired " << count << " times";
      }
    }

    const auto dateOf = [&game](int id) {
      const auto fired = game.firedAt.find(id);
      return fired == game.firedAt.end() ? 0 : game.dates.at(fired->second);
    };
    // The events of the autumn of 1939 come at their dates, one after the
    // other: the game's first events check (its first impulse is dated 1
    // September) signs the pact, the second (16 September) divides Poland;
    // the Baltic pacts follow, the Winter War in the second half of November.
    EXPECT_EQ(game.dates.at(1), Day(1, 9, 1939));
    EXPECT_EQ(game.dates.at(2), Day(16, 9, 1939));
    EXPECT_EQ(game.dates.at(3), Day(1, 10, 1939));
    const std::map<int, int> dated = {{kPact, Day(1, 9, 1939)},
                                      {kPartition, Day(16, 9, 1939)},
                                      {kBalticPacts, Day(1, 10, 1939)},
                                      {kWinterWar, Day(16, 11, 1939)}};
    for (const auto& [id, day] : dated) EXPECT_EQ(dateOf(id), day) << "event " << id;
    // The war reaches Belgium by Fall Gelb, in May 1940 at the earliest with
    // Churchill after it, or by Germany's own declaration, and then Fall
    // Gelb does not come; or France falls before either.
    const bool fallGelb = game.firedAt.count(kFallGelb) != 0;
    if (fallGelb) {
      EXPECT_GE(dateOf(kFallGelb), Day(1, 5, 1940));
      EXPECT_FALSE(game.belgiumByComputer);
      EXPECT_EQ(game.belgiumAt, game.firedAt.at(kFallGelb));
      ASSERT_TRUE(game.firedAt.count(kChurchill));
      EXPECT_GE(game.firedAt.at(kChurchill), game.firedAt.at(kFallGelb));
    } else if (game.belgiumByComputer) {
      EXPECT_NE(game.belgiumAt, 0);
    } else {
      ASSERT_TRUE(game.firedAt.count(kFallOfFrance)) << "no war in the West";
      EXPECT_LT(dateOf(kFallOfFrance), Day(1, 5, 1940));
    }

    // France falls at the end of the impulse in which Paris fell, not before.
    ASSERT_NE(game.parisAxisAt, 0) << "Paris did not fall, not even when handed over";
    ASSERT_TRUE(game.firedAt.count(kFallOfFrance))
        << "Paris fell at impulse " << game.parisAxisAt << (game.parisHandedOver ? " (handed over)" : "");
    EXPECT_EQ(game.firedAt.at(kFallOfFrance), game.parisAxisAt);
    // Paris may fall in the very impulse at whose end Fall Gelb comes due:
    // the events check fires Fall Gelb first, then the fall of France.
    if (fallGelb) {
      EXPECT_GE(game.firedAt.at(kFallOfFrance), game.firedAt.at(kFallGelb));
    }
    // Catapult follows at once, or on its first day (1 June 1940) when
    // France fell in the winter.
    if (dateOf(kFallOfFrance) <= Day(31, 12, 1940)) {  // Catapult's last day
      ASSERT_TRUE(game.firedAt.count(kCatapult));
      if (dateOf(kFallOfFrance) >= Day(1, 6, 1940)) {
        EXPECT_EQ(game.firedAt.at(kCatapult), game.firedAt.at(kFallOfFrance));
      } else {
        EXPECT_EQ(dateOf(kCatapult), Day(1, 6, 1940));
      }
    }
    // The armistice: France at peace, the south French, the Atlantic coast
    // German, the Free French with Britain.
    EXPECT_TRUE(game.francePeace);
    EXPECT_TRUE(game.southFrench);
    EXPECT_TRUE(game.bordeauxGerman);
    EXPECT_TRUE(game.freeFrench);
    EXPECT_TRUE(game.westTargetsGone);
    if (game.firedAt.count(kBarbarossa) != 0) {
      EXPECT_TRUE(game.moscowTarget);
    }
    // However the war went on, Vichy is at peace at the end.
    EXPECT_TRUE(game.franceAtPeaceAtTheEnd);
  }
  EXPECT_GE(huntedIn, 1) << "no raider was hunted in any game";
}

}  // namespace
