// A small world for the computer's land operations: a plain of 12 x 5 hexes,
// Westland (1) in the west and Eastmark (2) from column 7 on, at war;
// country 3 Westland's ally, country 4 neutral. Cities are added by the test
// and joined by land links, then Finish() works out the hop counts, the
// nearest-city grid and Westland's rail group. Moves are stepped by the
// rules through RuleSteppingClock; every delay of the computer is 0.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <string>
#include <vector>

#include "ai/ai_fronts.h"
#include "ai/ai_main_thread.h"
#include "ai/ai_test_units.h"
#include "ai/ai_unit_lists.h"
#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/jednostka_ladowa.h"
#include "world/strategic_movement.h"
#include "world/topography.h"

namespace twtest {

class OperationsTest : public ::testing::Test {
 protected:
  explicit OperationsTest(std::vector<std::string> rows = {"pppppppppppp", "pppppppppppp", "pppppppppppp",
                                                           "pppppppppppp", "pppppppppppp"})
      : w(std::move(rows)), main(*w.world) {
    MakeWestlandAtWarWithEastmark(w);
    for (sHex& hex : w.Map().Hexes()) {
      if (hex.x >= 7) hex.owner = hex.controller = hex.originalOwner = 2;
    }
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    w.world->constants.strategicMoveCost.fill(2);
    w.Country(1).strategicMovementPoints = 20;
    for (std::size_t i = 0; i < kDelays.size(); ++i) {
      saved_[i] = g_Delays[kDelays[i]].load();
      g_Delays[kDelays[i]] = 0.0f;
    }
  }
  ~OperationsTest() override {
    for (std::size_t i = 0; i < kDelays.size(); ++i) g_Delays[kDelays[i]] = saved_[i];
  }
  // A failed test shows the end of the log: what the computer said it did.
  void TearDown() override {
    if (!HasFailure()) return;
    const std::vector<std::wstring> lines = log.Lines();
    const std::size_t from = lines.size() > 40 ? lines.size() - 40 : 0;
    for (std::size_t i = from; i < lines.size(); ++i) std::wcerr << lines[i] << L"\n";
  }

  cCountry& Ai() { return w.Country(1); }

  cCity& City(int x, int y, const wchar_t* name, int type = kCitySupply) {
    cCity& city = AddCity(*w.world, x, y, type, name);
    w.Hex(x, y).city = &city;
    city.supplyInfo.assign(4, 10);
    return city;
  }
  // Land links both ways between the pairs, then the graph's derived data.
  void Finish(std::initializer_list<std::pair<cCity*, cCity*>> links) {
    cCityGraph& graph = w.world->GetCityGraph();
    graph.BuildNodes(w.world->Cities());
    for (auto [from, to] : links) {
      graph.Nodes()[static_cast<std::size_t>(from->graphNode)].links.push_back({to->graphNode, kCityLinkLand});
      graph.Nodes()[static_cast<std::size_t>(to->graphNode)].links.push_back({from->graphNode, kCityLinkLand});
    }
    for (cCity* city : w.world->Cities()) city->ComputeHopCounts(*w.world);
    w.world->GetTopography().ComputeWorldTopography(w.Map(), w.world->Cities());
    w.world->GetTopography().BuildNearestCityGrid(w.Map(), w.world->Cities());
    cStrategicMovement strategic(*w.world);
    strategic.Init();
    std::vector<cCity*> westland;
    for (cCity* city : w.world->Cities()) {
      if (city->GetControllerId() == 1) westland.push_back(city);
    }
    strategic.SetCountryTopography(1, Topography{westland});
  }
  sCityGraphNode& Node(const cCity& city) {
    return w.world->GetCityGraph().Nodes()[static_cast<std::size_t>(city.graphNode)];
  }

  // A supplied land unit with all its action points (4), drawing from the
  // city when one is given.
  cJednostkaLadowa& Land(int x, int y, int country, int strength, const wchar_t* name,
                         const cCity* source = nullptr, int type = kUnitInfantryDivision) {
    cJednostkaLadowa& unit = w.AddUnit(x, y, country, type);
    unit.level = 1;
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 4;
    return twtest::MakeSupplied(unit, name, source);
  }
  void Order(cJednostkaLadowa& unit, int order, int x, int y, int ultimateX = -1, int ultimateY = -1) {
    unit.aiOrder = order;
    unit.aiTargetX = x;
    unit.aiTargetY = y;
    unit.aiUltimateTargetX = ultimateX;
    unit.aiUltimateTargetY = ultimateY;
  }

  ai::sAiUnitLists& Lists() {
    ai::BuildUnitLists(*w.world, Ai(), lists);
    return lists;
  }
  std::vector<ai::sAiFront>& Fronts() {
    ai::BuildUnitLists(*w.world, Ai(), lists);
    ai::RefreshFronts(*w.world, Ai(), lists, fronts);
    return fronts;
  }
  bool Logged(const std::wstring& text) const {
    const std::vector<std::wstring> lines = log.Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::wstring& line) { return line.find(text) != std::wstring::npos; });
  }

  AirWorld w;
  RuleSteppingClock main;
  LogCapture log;
  ai::sAiUnitLists lists;
  std::vector<ai::sAiFront> fronts;

 private:
  static constexpr std::array<int, 6> kDelays{kDelayAIMoveBefore,   kDelayAIMoveBetween, kDelayAIMoveAfter,
                                              kDelayAIDeployBefore, kDelayAIDeployAfter, kDelayAICombatBefore};
  std::array<float, 6> saved_{};
};

}  // namespace twtest
