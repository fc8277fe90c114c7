// A small coast for sea transport and landings: two rows of sea (zone 1)
// above land whose first row is coastal, a port of Westland (country 1) at
// (1, 2) that is sea node 2, the Axis (country 2) holding the land from
// column 4 on, the landing and paradrop constants of a test scenario, and
// the worker's delays at 0.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "world/cities.h"
#include "world/country.h"

namespace twtest {

class TransportWorld : public AirWorld {
 public:
  static constexpr int kZone = 1;
  static constexpr int kPort = 2;
  static constexpr int kPortX = 1;
  static constexpr int kPortY = 2;

  TransportWorld() : AirWorld({"~~~~~~~", "~~~~~~~", "ppppppp", "ppppppp", "ppppppp"}) {
    ThreeCountries();
    AddSeaNode(true, 0, 0);
    for (int x = 0; x < Map().GetWidth(); ++x) {
      Hex(x, 2).seaZone = kZone;
      Hex(x, 2).coastal = 1;
    }
    for (int y = 2; y < Map().GetHeight(); ++y) {
      for (int x = 4; x < Map().GetWidth(); ++x) Hex(x, y).owner = Hex(x, y).controller = 2;
    }
    cCity* port = AddCity(kPortX, kPortY, kCityPort);
    port->supplyInfo = {7, 0, 0};
    sScenarioConstants& k = world->constants;
    k.seaTransportCost = {2, 3, 4, 5, 6, 7, 8};
    k.amphibiousTransportCost = {3, 4, 5, 6, 7, 8, 9};
    k.navalTypeStrength = {12, 15, 8, 4, 3, 5};
    k.invasionTable = {10, 20, 30, 40, 50, 60};
    k.invasionFactor = 0.5f;
    k.invasionValue = 2;
    k.paradropTable = {5, 10, 20, 33, 50, 66};
    k.value172 = 2;
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    for (int slot = 0; slot < kDelayCount; ++slot) {
      saved_delays_[static_cast<std::size_t>(slot)] = g_Delays[slot].load();
      g_Delays[slot] = 0.0f;
    }
  }
  ~TransportWorld() {
    for (int slot = 0; slot < kDelayCount; ++slot) g_Delays[slot] = saved_delays_[static_cast<std::size_t>(slot)];
  }

  // The port as sea node 2 (its main hex the port's city hex).
  void AddPortNode() { AddSeaNode(false, kPortX, kPortY, 3); }

  // A level-1 land unit with action points and full supply.
  cJednostkaLadowa& Unit(int x, int y, int country, int type = 0) {
    cJednostkaLadowa& unit = AddUnit(x, y, country, type);
    unit.level = 1;
    unit.actionPoints = unit.startingActionPoints = 3;
    unit.supply = 10;
    unit.effectiveness = 100;
    return unit;
  }

  // A land unit aboard a new ship of the type in a new fleet of its
  // country at the node.
  cJednostkaLadowa& Carried(int country, int shipType, int node, int landType = 0) {
    cFleet& fleet = AddFleet(country, node, {shipType}, 3);
    cJednostkaMorska& ship = *fleet.ships.front();
    ship.id = ++ship_ids_;
    cJednostkaLadowa& unit = Unit(-1, -1, country, landType);
    sUnitLists& lists = world->Units();
    lists.landUnits.remove(&unit);
    (shipType == kUnitCargoShip ? lists.carriedUnitsA : lists.carriedUnitsB).push_back(&unit);
    ship.carriedUnit = &unit;
    unit.transport = &ship;
    unit.transporterId = ship.id;
    unit.visible = false;
    return unit;
  }

  bool InMapList(const cJednostkaLadowa* unit) const {
    for (const cJednostkaLadowa* u : world->Units().landUnits) {
      if (u == unit) return true;
    }
    return false;
  }

 private:
  std::array<float, kDelayCount> saved_delays_{};
  int ship_ids_ = 100;
};

}  // namespace twtest
