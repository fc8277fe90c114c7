#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "platform/clock.h"
#include "platform/rand.h"
#include "world/turn_state.h"
#include "rules/worker_thread.h"
#include "support/fake_platform_framework.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/computer_player.h"
#include "world/country.h"
#include "world/world.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class ePlay { kPass, kMove, kFatalData, kDraw };

// Counts its turns; optionally orders a move the main thread must step,
// meets data it cannot play with, or draws a number from the worker's
// generator (read by the test once the worker has finished).
class cRecordingAiPlayer : public cComputerPlayer {
 public:
  explicit cRecordingAiPlayer(ePlay play) : play_(play) {}
  void PlayTurn(cWorld& world) override {
    ++turns;
    if (onTurn) onTurn();
    if (play_ == ePlay::kMove) world.SetGameState(kPhaseComputerMove);
    if (play_ == ePlay::kDraw) draws.push_back(plat::Rand());
    if (play_ == ePlay::kFatalData) {
      const cFrameworkLockGuard step;
      FatalExit(L"ERROR: unknown alliance");
    }
  }
  std::atomic<int> turns{0};
  std::vector<int> draws;
  // Run on the worker at each turn, before the play.
  std::function<void()> onTurn;

 private:
  ePlay play_;
};

struct sCountrySetup {
  const wchar_t* name;
  int alliance;
  int strength;
  bool human = false;
  ePlay play = ePlay::kPass;
};

// Polls until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

int CountLines(const twtest::LogCapture& log, const std::wstring& text) {
  const auto lines = log.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

class WorkerThreadTest : public ::testing::Test {
 protected:
  void TearDown() override {
    world_.reset();  // stops the thread through the world's stop hook
    EXPECT_FALSE(IsAiThreadRunning());
    g_pWorld = nullptr;
    g_bEventsCheckRequested = false;
  }

  void Build(const std::vector<sCountrySetup>& setup) {
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    // Time enough for every impulse a test plays.
    world_->turnsLeft = 1000;
    for (const sCountrySetup& row : setup) {
      cCountry& country = twtest::AddCountry(*world_, row.alliance, row.name);
      country.active = true;
      country.politicalStrength = row.strength;
      country.human = row.human;
    }
    // The maker fills one slot per country.
    world_->CreateAiPlayers([&](int id) {
      auto player = std::make_unique<cRecordingAiPlayer>(setup[id - 1].play);
      players_.push_back(player.get());
      return player;
    });
    ASSERT_EQ(players_.size(), setup.size());
  }

  // The start of play with a computer country first: the first country of
  // the impulse is current and the computer phase begins.
  void StartComputerPhase(const sWorkerStartOptions& options = {}) {
    world_->turnState.SetCurrentCountry(PickCurrentCountry(world_->Countries()));
    world_->SetGameState(kPhaseComputerPlayers);
    StartAiThread(*world_, options);
  }

  cCountry& Country(int id) { return *world_->GetCountry(id); }

  std::unique_ptr<cWorld> world_;
  std::vector<cRecordingAiPlayer*> players_;
};

// Computer countries only: impulse after impulse every country plays in its
// order and no human turn is ever handed out. The worker's own limit ends
// the run after three impulses, so the test watches the same three whatever
// the timing: left running, the worker plays the game's 1,000 impulses in
// a few seconds, and a game whose time has run out is rightly handed back
// to the player in phase 7.
TEST_F(WorkerThreadTest, ThreadCyclesImpulsesOfComputerCountries) {
  twtest::LogCapture log;
  Build({{L"Tollis", kNeutral, 30},
         {L"Osterhal", kAlliesLeader, 50},
         {L"Varnland", kAxisLeader, 40},
         {L"Nowhere", kNeutral, -1}});
  constexpr int kImpulses = 3;
  StartComputerPhase({std::nullopt, kImpulses});
  // Only a bound for a worker that hangs: the run ends by itself.
  ASSERT_TRUE(WaitFor([] { return AiThreadFinished(); }, 60000));
  StopAiThread();

  // Each impulse: Axis, Allies, the neutrals by strength, the dummy last;
  // every flag cleared between impulses, so each country comes again.
  std::vector<std::wstring> choices;
  for (const std::wstring& line : log.Lines()) {
    if (line.find(L"Aktualne panstwo") != std::wstring::npos || line == L"--=== KONIEC IMPULSU ===--")
      choices.push_back(line);
  }
  const std::vector<std::wstring> impulse = {
      L"Os. Aktualne panstwo = Varnland",   L"Alianci. Aktualne panstwo = Osterhal",
      L"Neutralni. Aktualne panstwo = Tollis", L"Neutralni. Aktualne panstwo = Nowhere",
      L"--=== KONIEC IMPULSU ===--"};
  // The test's own pick of the first country comes first, the pick that
  // opens the fourth impulse last.
  ASSERT_EQ(choices.size(), 1 + kImpulses * impulse.size());
  for (std::size_t i = 0; i < choices.size(); ++i) {
    EXPECT_EQ(choices[i], impulse[i % impulse.size()]) << "choice " << i;
  }
  // The dummy country never plays; the others play once per impulse.
  EXPECT_EQ(players_[3]->turns.load(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(players_[i]->turns.load(), kImpulses) << i;
  // Each end of impulse runs in phase 3 and goes back to 9.
  EXPECT_EQ(CountLines(log, L"---- Game state = 3"), kImpulses);
  EXPECT_EQ(world_->GetGameState(), kPhaseComputerPlayers);
  // No human turn: nothing was handed over and phase 7 never came.
  EXPECT_FALSE(log.Contains(L"==== AI THREAD FINISHED ====="));
  EXPECT_EQ(CountLines(log, L"---- Game state = 7"), 0);
  EXPECT_FALSE(world_->gameOver);
}

TEST_F(WorkerThreadTest, ThreadHandsOverToTheHumanAndGoesOnAfterItsTurn) {
  twtest::LogCapture log;
  Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50, true}, {L"Nowhere", kNeutral, -1}});
  StartComputerPhase();
  ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }));
  cTurnState& turn = world_->turnState;
  EXPECT_EQ(turn.currentCountry, &Country(2));
  EXPECT_EQ(turn.viewCountry, &Country(2));
  EXPECT_TRUE(Country(1).finishedTurn);
  EXPECT_EQ(players_[0]->turns.load(), 1);
  EXPECT_TRUE(log.Contains(L"==== AI THREAD FINISHED ====="));

  // The main thread ends the human's turn: the dummy follows, so the
  // computer phase begins again.
  Country(2).finishedTurn = true;
  cCountry* next = PickCurrentCountry(world_->Countries());
  ASSERT_EQ(next, &Country(3));
  turn.SetCurrentCountry(next);
  world_->SetGameState(kPhaseComputerPlayers);

  // The dummy ends the impulse, Varnland opens the next and plays, then the
  // human's turn comes again.
  ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }));
  EXPECT_EQ(turn.currentCountry, &Country(2));
  EXPECT_EQ(players_[0]->turns.load(), 2);
  EXPECT_EQ(players_[1]->turns.load(), 0);
  EXPECT_FALSE(Country(3).finishedTurn);
  EXPECT_EQ(CountLines(log, L"==== STARTING AI THREAD ====="), 2);
  EXPECT_EQ(CountLines(log, L"--=== KONIEC IMPULSU ===--"), 1);
}

// Human countries that can never be handed a turn (too weak, or of an
// alliance code outside the known ones) stop the computer phase after the
// impulse instead of running impulses without pause; nobody is current.
TEST_F(WorkerThreadTest, ThreadStopsWhenNoHumanCountryCanEverMove) {
  for (const sCountrySetup human : {sCountrySetup{L"Exile", kNeutral, -5, true}, sCountrySetup{L"Rogue", 9, 30, true}}) {
    SCOPED_TRACE(human.name);
    twtest::LogCapture log;
    Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50}, human});
    StartComputerPhase();
    ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }, 2000));
    EXPECT_EQ(world_->turnState.currentCountry, nullptr);
    EXPECT_EQ(CountLines(log, L"--=== KONIEC IMPULSU ===--"), 1);
    EXPECT_EQ(CountLines(log, L"No human country can ever move: the computer players stop"), 1);
    EXPECT_EQ(std::pair(players_[0]->turns.load(), players_[2]->turns.load()), std::pair(1, 0));
    world_.reset();
    players_.clear();
  }
}

TEST_F(WorkerThreadTest, ThreadWaitsForTheMainThreadToStepAComputerMove) {
  Build({{L"Varnland", kAxisLeader, 40, false, ePlay::kMove}, {L"Osterhal", kAlliesLeader, 50, true}});
  StartComputerPhase();
  // The fake main thread sees the move order and takes its time.
  ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseComputerMove; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(160));
  EXPECT_EQ(world_->GetGameState(), kPhaseComputerMove);
  EXPECT_EQ(world_->turnState.currentCountry, &Country(1));
  // The step is done: 10 becomes 9 and the worker goes on to the human.
  world_->SetGameState(kPhaseComputerPlayers);
  ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }));
  EXPECT_TRUE(Country(1).finishedTurn);
  EXPECT_EQ(world_->turnState.currentCountry, &Country(2));
}

TEST_F(WorkerThreadTest, ThreadEndsTheComputerPhaseWhenTheGameIsOver) {
  Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50}});
  world_->gameOver = true;
  StartComputerPhase();
  ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }));
  EXPECT_EQ(players_[0]->turns.load(), 1);
  EXPECT_EQ(players_[1]->turns.load(), 0);
  EXPECT_EQ(world_->turnState.currentCountry, &Country(2));
}

// The end of the game found at the end of an impulse: the worker plays no
// further, hands the map back to the player in phase 7 (who may still look at
// it and save) and keeps waiting; nothing closes the program.
TEST_F(WorkerThreadTest, ThreadHandsTheEndedGameBackToThePlayerAndWaits) {
  SetMainThreadToCurrent();
  twtest::LogCapture log;
  twtest::FakePlatformFramework frame;
  Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50}});
  world_->turnsLeft = 1;  // the second end of an impulse finds the time run out
  StartComputerPhase();
  const auto end = Clock::now() + std::chrono::seconds(5);
  while (world_->GetGameState() != kPhaseHumanTurn && Clock::now() < end) {
    DrainMainThreadRequests();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(world_->GetGameState(), kPhaseHumanTurn);
  EXPECT_TRUE(world_->gameOver);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  DrainMainThreadRequests();
  EXPECT_FALSE(frame.shutdown);
  EXPECT_TRUE(IsAiThreadRunning());
  EXPECT_FALSE(AiThreadFinished());
  EXPECT_EQ(players_[0]->turns.load(), 2);
  EXPECT_EQ(players_[1]->turns.load(), 2);
  EXPECT_EQ(world_->GetGameState(), kPhaseHumanTurn);
  EXPECT_TRUE(log.Contains(L"==== AI THREAD FINISHED ====="));
  const auto lines = log.Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const std::wstring& line) { return line.rfind(L"game_over:_time_has_run_out", 0) == 0; }));
}

// A run limited to a number of impulses ends after that many ends of
// impulses, with the next impulse's first country current and the computer
// phase not yet begun again; a new start goes on from there.
TEST_F(WorkerThreadTest, ThreadStopsAfterTheGivenNumberOfImpulsesAndGoesOnWhenStartedAgain) {
  twtest::LogCapture log;
  Build({{L"Tollis", kNeutral, 30}, {L"Osterhal", kAlliesLeader, 50}, {L"Varnland", kAxisLeader, 40}});
  StartComputerPhase({std::nullopt, 3});
  ASSERT_TRUE(WaitFor([] { return AiThreadFinished(); }));
  EXPECT_EQ(CountLines(log, L"Updatuje minimape po koncu impulsu"), 3);
  EXPECT_EQ(CountLines(log, L"The worker stops after 3 impulses"), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(players_[i]->turns.load(), 3) << i;
  EXPECT_EQ(world_->GetGameState(), kPhaseComputerPlayers);
  EXPECT_EQ(world_->turnState.currentCountry, &Country(3));
  for (int id = 1; id <= 3; ++id) EXPECT_FALSE(Country(id).finishedTurn) << id;
  // Nothing more is played while the finished thread is not stopped.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(players_[2]->turns.load(), 3);

  StartAiThread(*world_, {std::nullopt, 2});
  ASSERT_TRUE(WaitFor([] { return AiThreadFinished(); }));
  EXPECT_EQ(CountLines(log, L"Updatuje minimape po koncu impulsu"), 5);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(players_[i]->turns.load(), 5) << i;
  EXPECT_EQ(world_->turnState.currentCountry, &Country(3));
}

// The seed given at the start is the worker's generator's: the same seed
// draws the same numbers, from the first of the sequence on; another seed
// draws others.
TEST_F(WorkerThreadTest, ThreadSeedsItsGeneratorWithTheGivenSeed) {
  const auto draws = [this](unsigned seed) {
    players_.clear();
    Build({{L"Osterhal", kAlliesLeader, 50, false, ePlay::kDraw}, {L"Varnland", kAxisLeader, 40, false, ePlay::kDraw}});
    StartComputerPhase({seed, 2});
    EXPECT_TRUE(WaitFor([] { return AiThreadFinished(); }));
    std::vector<int> both = players_[1]->draws;
    both.insert(both.end(), players_[0]->draws.begin(), players_[0]->draws.end());
    world_.reset();
    return both;
  };
  const std::vector<int> first = draws(77);
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(draws(77), first);
  EXPECT_NE(draws(78), first);
  // The Axis leader plays first, with the first number of the seed's sequence.
  plat::Srand(77);
  EXPECT_EQ(first[0], plat::Rand());
}

TEST_F(WorkerThreadTest, ThreadServesAnEventsCheckRequestOnce) {
  Build({{L"Varnland", kAxisLeader, 40}});
  world_->SetGameState(kPhaseScenarioLoaded);
  StartAiThread(*world_);
  RequestEventsCheck();
  EXPECT_TRUE(WaitFor([] { return !g_bEventsCheckRequested.load(); }));
  EXPECT_EQ(players_[0]->turns.load(), 0);
  EXPECT_EQ(world_->GetGameState(), kPhaseScenarioLoaded);
}

// With nothing to do (the player's turn) the worker makes no timed sleep:
// it sleeps until the computer's phase, an events check asked for or the
// stop wakes it. The clock counts the worker's timed sleeps (and blocks
// none: a worker that polled would spin on it).
TEST_F(WorkerThreadTest, IdleThreadSleepsUntilWorkOrTheStopWakesIt) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50, true}});
  world_->turnState.SetCurrentCountry(&Country(2));
  world_->SetGameState(kPhaseHumanTurn);
  StartAiThread(*world_);
  const auto sleepsWhileIdle = [&clock] {
    const int before = clock.SleepCalls();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return clock.SleepCalls() - before;
  };
  EXPECT_EQ(sleepsWhileIdle(), 0);
  // The human's turn ends: the computer plays and hands the turn back.
  world_->turnState.SetCurrentCountry(&Country(1));
  world_->SetGameState(kPhaseComputerPlayers);
  EXPECT_TRUE(WaitFor([this] { return world_->GetGameState() == kPhaseHumanTurn; }));
  EXPECT_EQ(players_[0]->turns.load(), 1);
  RequestEventsCheck();
  EXPECT_TRUE(WaitFor([] { return !g_bEventsCheckRequested.load(); }));
  EXPECT_EQ(sleepsWhileIdle(), 0);
  // Stopped without the world: the stop itself wakes the sleep.
  StopAiThread();
  EXPECT_TRUE(AiThreadFinished());
  plat::SetClock(nullptr);
}

// Nanoseconds the thread has waited for a core (the second field of
// /proc/self/task/<tid>/schedstat); 0 where the kernel keeps no account.
long long QueuedNs(pid_t tid) {
  std::ifstream file("/proc/self/task/" + std::to_string(tid) + "/schedstat");
  long long runNs = 0, queuedNs = 0;
  return file >> runNs >> queuedNs ? queuedNs : 0;
}

// Noted by the worker as it ends, after its body has returned (its
// thread-local objects go); shared, since a failed test may leave first.
struct sThreadEnd {
  pid_t tid = 0;
  Clock::time_point at = Clock::time_point::max();
  long long queuedNs = 0;
};

void NoteTheEndOfThisThread(const std::shared_ptr<sThreadEnd>& end) {
  struct sProbe {
    std::shared_ptr<sThreadEnd> end;
    ~sProbe() {
      end->at = Clock::now();
      end->queuedNs = QueuedNs(end->tid);
    }
  };
  end->tid = gettid();
  thread_local sProbe probe;
  probe.end = end;
}

// How long the worker goes on after the world's destruction begins, less
// what the scheduler kept it (and the destroying thread, which sets the
// stop) waiting for a core: the time it slept or worked after the stop,
// which the code decides, where the wall time stretches with a busy
// machine.
long long StopMs(std::unique_ptr<cWorld>& world, const sThreadEnd& end) {
  const pid_t self = gettid();
  const long long workerQueued = QueuedNs(end.tid);
  const long long selfQueued = QueuedNs(self);
  const auto start = Clock::now();
  world.reset();
  const long long queuedNs = end.queuedNs - workerQueued + QueuedNs(self) - selfQueued;
  return (std::chrono::duration_cast<std::chrono::nanoseconds>(end.at - start).count() - queuedNs) / 1000000;
}

// The bound holds for StopMs, whatever the machine's load: with its cores
// oversubscribed the two threads can wait well over 100 ms for a core,
// which says nothing about how the worker's waits take the stop.
TEST_F(WorkerThreadTest, ThreadStopsWithin100MsOfTheWorldsDestruction) {
  {
    SCOPED_TRACE("idle in the human's turn");
    Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50, true}});
    const auto end = std::make_shared<sThreadEnd>();
    players_[0]->onTurn = [end] { NoteTheEndOfThisThread(end); };
    StartComputerPhase();
    ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseHumanTurn; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LT(StopMs(world_, *end), 100);
    EXPECT_FALSE(IsAiThreadRunning());
  }
  {
    SCOPED_TRACE("waiting for a computer move");
    twtest::LogCapture log;
    players_.clear();
    Build({{L"Varnland", kAxisLeader, 40, false, ePlay::kMove}, {L"Osterhal", kAlliesLeader, 50, true}});
    const auto end = std::make_shared<sThreadEnd>();
    players_[0]->onTurn = [end] { NoteTheEndOfThisThread(end); };
    StartComputerPhase();
    ASSERT_TRUE(WaitFor([&] { return world_->GetGameState() == kPhaseComputerMove; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LT(StopMs(world_, *end), 100);
    // The worker unwound without handing over to the human.
    EXPECT_FALSE(log.Contains(L"==== AI THREAD FINISHED ====="));
  }
  {
    SCOPED_TRACE("started twice, stopped directly, then the world goes");
    players_.clear();
    Build({{L"Varnland", kAxisLeader, 40}});
    StartAiThread(*world_);
    StartAiThread(*world_);  // the first thread is joined, not leaked
    EXPECT_TRUE(IsAiThreadRunning());
    EXPECT_EQ(StopAiThread(), 0);
    EXPECT_FALSE(IsAiThreadRunning());
    EXPECT_EQ(StopAiThread(), 0);
  }
}

// A fatal data error met by the computer player ends the program with exit
// code 1 through the main thread (here, a loop that drains the requests as
// the frame move does); the worker unwinds instead of ending the process
// itself.
using WorkerFatalDeathTest = WorkerThreadTest;
TEST_F(WorkerFatalDeathTest, FatalDataOnTheWorkerEndsTheProgramThroughTheMainThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetMainThreadToCurrent();
        Build({{L"Varnland", kAxisLeader, 40, false, ePlay::kFatalData}, {L"Osterhal", kAlliesLeader, 50, true}});
        StartComputerPhase();
        for (int frame = 0; frame < 5000; ++frame) {
          DrainMainThreadRequests();
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::exit(3);
      },
      ::testing::ExitedWithCode(1), "");
}

// The hand-over to a human on the worker: the main thread clears the
// selection, begins the glide and brings the panels back in one request,
// and the human turn (phase 7) comes last; the worker itself touches no
// panel, camera or selection.
TEST_F(WorkerThreadTest, HandOverThreadSetsTheHumanTurnLastOnTheMainThread) {
  SetMainThreadToCurrent();
  twtest::LogCapture log;
  Build({{L"Varnland", kAxisLeader, 40}, {L"Osterhal", kAlliesLeader, 50, true}});
  auto* view = new twtest::RecordingView(*world_);
  world_->SetView(std::unique_ptr<cWorldView>(view));
  world_->turnState.SetCurrentCountry(&Country(2));
  world_->SetGameState(kPhaseComputerPlayers);
  std::atomic<bool> stop{false};
  world_->SetWorkerStopFlag(&stop);
  std::atomic<bool> done{false};
  bool handedOver = false;
  std::thread worker([&] {
    handedOver = HandOverToHuman(*world_);
    done = true;
  });
  // The main thread's frames: nothing of the hand-over happens outside them.
  while (PendingMainThreadRequests() == 0) std::this_thread::yield();
  EXPECT_EQ(world_->GetGameState(), kPhaseComputerPlayers);
  EXPECT_TRUE(view->Calls().empty());
  while (!done) {
    DrainMainThreadRequests();
    std::this_thread::yield();
  }
  worker.join();
  EXPECT_TRUE(handedOver);
  EXPECT_EQ(world_->GetGameState(), kPhaseHumanTurn);
  EXPECT_EQ(view->glidedTo.load(), 2);
  EXPECT_EQ(world_->turnState.viewCountry, &Country(2));
  // The new viewer's sight of the units is recalculated on the way.
  EXPECT_TRUE(log.Contains(L"rekalkuluje fog of war"));
  EXPECT_TRUE(log.Contains(L"Recalculating units visibility"));
  // The human country is greeted before the panels come back with phase 7.
  EXPECT_EQ(view->greeted.load(), 2);
  const auto calls = view->Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].first, "glide");
  EXPECT_EQ(calls[1].first, "greet");
  EXPECT_EQ(calls[2].first, "leave");
  for (const auto& [what, thread] : calls) EXPECT_EQ(thread, std::this_thread::get_id()) << what;
  world_->SetWorkerStopFlag(nullptr);
}

}  // namespace
