// A small world for whole computer turns. A plain of 12 x 5 hexes: West
// (country 1, the computer) holds the columns left of 7 in rows 0-2 with
// the cities A, B and B2, East (2) the rest of those rows with C and D, and
// Midland (3, neutral) rows 3-4 with the city M; the cities graph joins
// A-B, A-B2, B-C, B2-C, C-D by land and B2-M. The land and combat constants
// give small, quick battles, every delay is 0, and the turn is played as in
// the game: cAiPlayer::PlayTurn runs on a worker thread while this thread
// serves as the main thread, running the worker's requests and stepping its
// moves with the game's own move clock under the framework lock.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ai/ai_player.h"
#include "ai/ai_test_units.h"
#include "air_rules/air_fixture.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "platform/clock.h"
#include "platform/rand.h"
#include "rules/land_move.h"
#include "rules/moving_unit_step.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/strategic_movement.h"
#include "world/topography.h"
#include "world/turn_state.h"

namespace twtest {

// A clock both threads sleep on: a sleep advances the time at once and
// gives the other thread a moment of real time (the worker polls for the
// main thread's steps in sleeps, the main thread for the worker's end).
class TurnClock final : public plat::Clock {
 public:
  std::uint32_t TickCount() override { return static_cast<std::uint32_t>(now_.load()); }
  void Sleep(int ms) override {
    if (ms > 0) now_.fetch_add(static_cast<std::uint64_t>(ms));
    std::this_thread::sleep_for(std::chrono::microseconds(20));
  }

 private:
  std::atomic<std::uint64_t> now_{0};
};

// What the main thread saw of one turn.
struct sTurnRun {
  bool ended = false;  // the worker came back from PlayTurn
  int steps = 0;       // hexes stepped for the worker's moves
  int frames = 0;
};

// Every delay of the settings at 0 for the scope.
class ZeroDelays {
 public:
  ZeroDelays() {
    for (int i = 0; i < kDelayCount; ++i) {
      saved_[static_cast<std::size_t>(i)] = g_Delays[i].load();
      g_Delays[i] = 0.0f;
    }
  }
  ~ZeroDelays() {
    for (int i = 0; i < kDelayCount; ++i) g_Delays[i] = saved_[static_cast<std::size_t>(i)];
  }
  ZeroDelays(const ZeroDelays&) = delete;
  ZeroDelays& operator=(const ZeroDelays&) = delete;

 private:
  std::array<float, kDelayCount> saved_{};
};

// Plays the turn state's current country's turn as the game does: the
// player's PlayTurn on a worker thread (its rand() from draws, repeated in
// a cycle), while this thread serves as the main thread, running the
// worker's requests and stepping its moves with the game's move clock
// under the framework lock; frame runs under the lock before every step, as
// the frames of the game do. Once stop is set the worker is waited for
// without stepping its moves, as the game's stop of the worker does. A
// turn still running after 60 s of real time is stopped and fails the test.
class TurnRunner {
 public:
  explicit TurnRunner(cWorld& world) : world_(world) { world.SetWorkerStopFlag(&stop); }
  TurnRunner(const TurnRunner&) = delete;
  TurnRunner& operator=(const TurnRunner&) = delete;

  sTurnRun Play(cComputerPlayer& player, const std::function<void()>& frame = {}) {
    sTurnRun run;
    CreateFrameworkLock();
    g_bRunning = true;
    SetMainThreadToCurrent();
    std::atomic<bool> ended{false};
    std::thread worker([&] {
      std::size_t next = 0;
      const plat::ScopedRandOverride dice([&] { return draws[next++ % draws.size()]; });
      player.PlayTurn(world_);
      ended = true;
    });
    cMovingUnitClock stepper;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!ended && !stop) {
      DrainMainThreadRequests();
      {
        const cFrameworkLockGuard lock;
        // The frame sees what the worker left, a move it handed over
        // included, before the step (which may finish the move at once).
        if (frame) frame();
        if (stepper.Step(world_, plat::GetTickCount())) ++run.steps;
        ++run.frames;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        ADD_FAILURE() << "the turn did not end";
        stop = true;
      }
      plat::Sleep(1);
    }
    {
      const cFrameworkLockSuspension free;
      worker.join();
    }
    DrainMainThreadRequests();
    g_bRunning = false;
    DeleteFrameworkLock();
    run.ended = ended;
    return run;
  }

  std::atomic<bool> stop{false};
  std::vector<int> draws{plat::kRandMax / 2};  // never empty

 private:
  cWorld& world_;
};

class TurnWorld : public AirWorld {
 public:
  static constexpr int kWest = 1, kEast = 2, kMidland = 3;

  TurnWorld() : AirWorld(std::vector<std::string>(5, std::string(12, 'p'))) {
    AddCountries({kAxisLeader, kAlliesLeader, kNeutral});
    const wchar_t* names[] = {L"West", L"East", L"Midland"};
    for (int id = 1; id <= 3; ++id) {
      cCountry& c = Country(id);
      c.name = names[id - 1];
      c.active = true;
      c.orientation = id == kWest ? 1 : 0;
      c.politicalStrength = 50;
      c.diplomaticPoints = 500;
      c.techLevel[kTechAircraft] = 1;
      // Nothing to buy unless a test gives a profile and points.
      c.aiData.newUnitPurchasePreferences = {};
      c.aiData.transportsUnitsToFrontsBySea = false;
    }
    for (sHex& hex : Map().Hexes()) {
      const int holder = hex.y >= 3 ? kMidland : (hex.x >= 7 ? kEast : kWest);
      hex.owner = hex.controller = hex.originalOwner = static_cast<std::uint8_t>(holder);
    }
    world->turnState.SetCurrentCountry(&Country(kWest));
    world->turnState.showActions = false;
    world->SetGameState(kPhaseComputerPlayers);

    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    for (auto& row : world->constants.landBaseStrength) row.fill(10.0f);
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    sScenarioConstants& k = world->constants;
    twtest::SetSmallBattleTables(k);
    k.strategicMoveCost.fill(2);

    a = &City(1, 1, L"A");
    b = &City(4, 0, L"B");
    b2 = &City(4, 2, L"B2");
    c = &City(8, 1, L"C");
    d = &City(11, 1, L"D");
    m = &City(5, 4, L"M");
    cCityGraph& graph = world->GetCityGraph();
    graph.BuildNodes(world->Cities());
    for (auto [from, to] : {std::pair{a, b}, {a, b2}, {b, c}, {b2, c}, {c, d}, {b2, m}}) Link(*from, *to);
    for (cCity* city : world->Cities()) city->ComputeHopCounts(*world);
    world->GetTopography().ComputeWorldTopography(Map(), world->Cities());
    world->GetTopography().BuildNearestCityGrid(Map(), world->Cities());
    cStrategicMovement strategic(*world);
    strategic.Init();
    strategic.SetCountryTopography(kWest, Topography{{a, b, b2}});

    plat::SetClock(&clock);
  }
  ~TurnWorld() { plat::SetClock(nullptr); }

  cCountry& Ai() { return Country(kWest); }

  // A supplied land unit with all its action points, drawing from the
  // nearest city.
  cJednostkaLadowa& Land(int x, int y, int country, int strength, const wchar_t* name) {
    cJednostkaLadowa& unit = AddUnit(x, y, country, kUnitInfantryDivision);
    unit.level = 1;
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 4;
    unit.effectiveness = 100;
    unit.supply = 10;
    unit.turnsWithoutSupply = 0;
    unit.name = name;
    if (const cCity* source = world->GetTopography().NearestCity(x, y)) {
      unit.supplySourceX = source->x;
      unit.supplySourceY = source->y;
    }
    return unit;
  }

  // Plays West's turn (see TurnRunner).
  sTurnRun PlayTurn(const std::function<void()>& frame = {}) { return runner.Play(player, frame); }

  int Count(const std::wstring& line) const {
    const std::vector<std::wstring> lines = log.Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }
  // The lines before line number end (all by default) that start with prefix.
  int CountStartingWith(const std::wstring& prefix, int end = -1) const {
    const std::vector<std::wstring> lines = log.Lines();
    const std::size_t last = end < 0 ? lines.size() : std::min(lines.size(), static_cast<std::size_t>(end));
    int n = 0;
    for (std::size_t i = 0; i < last; ++i) n += lines[i].rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }
  // The index of the first line that starts with prefix, -1 when none.
  int IndexOf(const std::wstring& prefix) const {
    const std::vector<std::wstring> lines = log.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  }
  // The lines of the log that are one of wanted, in the order they came.
  std::vector<std::wstring> Only(const std::vector<std::wstring>& wanted) const {
    std::vector<std::wstring> out;
    for (const std::wstring& line : log.Lines()) {
      if (std::find(wanted.begin(), wanted.end(), line) != wanted.end()) out.push_back(line);
    }
    return out;
  }

  cCity* a = nullptr;
  cCity* b = nullptr;
  cCity* b2 = nullptr;
  cCity* c = nullptr;
  cCity* d = nullptr;
  cCity* m = nullptr;
  ZeroDelays delays;
  TurnClock clock;
  LogCapture log;
  cAiPlayer player;
  TurnRunner runner{*world};

 private:
  cCity& City(int x, int y, const wchar_t* name) {
    cCity& city = twtest::AddCity(*world, x, y, kCitySupply, name);
    Hex(x, y).city = &city;
    return city;
  }
  void Link(const cCity& from, const cCity& to) {
    std::vector<sCityGraphNode>& nodes = world->GetCityGraph().Nodes();
    nodes[static_cast<std::size_t>(from.graphNode)].links.push_back({to.graphNode, kCityLinkLand});
    nodes[static_cast<std::size_t>(to.graphNode)].links.push_back({from.graphNode, kCityLinkLand});
  }
};

}  // namespace twtest
