// The fixture scenario loaded as a game for the tests of the end of an
// impulse and the strategic move: Westland (Allies leader) and Eastmark
// (Axis leader) on either side of the strait, Southia (Axis) south-east,
// Neutralia neutral at peace south-west.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/cities.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"

namespace twtest {

class FixtureGame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    const sGameStartSettings settings = CopyFixtureScenario(dir_.Path());
    folder_ = std::make_unique<ScopedWorkingFolder>(dir_.Path());
    LoadWorld(settings);
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
  }
  void TearDown() override {
    world_.reset();
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
    folder_.reset();
  }

  cWorld& World() { return *world_; }
  cMap& Map() { return world_->GetMap(); }
  sHex& Hex(int x, int y) { return world_->GetMap().GetHex(x, y); }
  cCountry& Country(int id) { return *world_->GetCountry(id); }

  cJednostkaLadowa& Land(const wchar_t* name) {
    for (cJednostkaLadowa* unit : world_->Units().landUnits) {
      if (unit->name == name) return *unit;
    }
    ADD_FAILURE() << "no land unit named so";
    return *world_->Units().landUnits.front();
  }
  cJednostkaLotnicza& Air(const wchar_t* name) {
    for (cJednostkaLotnicza* unit : world_->Units().airUnits) {
      if (unit->name == name) return *unit;
    }
    ADD_FAILURE() << "no air unit named so";
    return *world_->Units().airUnits.front();
  }
  cCity& City(const wchar_t* name) {
    for (cCity* city : world_->Cities()) {
      if (city->GetName() == name) return *city;
    }
    ADD_FAILURE() << "no city named so";
    return *world_->Cities().front();
  }
  // Moves the unit to a free hex (the hex links follow).
  void Place(cJednostka& unit, int x, int y) {
    if (Map().IsInside(unit.x, unit.y) && Hex(unit.x, unit.y).unit == &unit) Hex(unit.x, unit.y).unit = nullptr;
    unit.x = x;
    unit.y = y;
    Hex(x, y).unit = &unit;
  }
  // Every land neighbour of (x, y) passes to the country.
  void Surround(int x, int y, int countryId) {
    for (int dir = 0; dir < 6; ++dir) {
      if (sHex* n = Map().GetNeighbour(x, y, dir); n != nullptr && n->IsLand()) {
        n->controller = static_cast<std::uint8_t>(countryId);
      }
    }
  }

  TempDir dir_;
  plat::RecordingRenderer renderer_;
  FakeFramework frame_{&renderer_};
  std::unique_ptr<ScopedWorkingFolder> folder_;
  std::unique_ptr<cWorld> world_;
};

}  // namespace twtest
