#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/music_player.h"
#include "app/texture.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map.h"
#include "world/map_text.h"

namespace {

constexpr const char* kFixture =
    "size 4 3\n"
    "terrain\n"
    "pppp\n"
    "pff~\n"
    "pp~~\n"
    "owner\n"
    "1 1 2 2\n"
    "1 1 2 0\n"
    "1 1 0 0\n";

TEST(WorldObject, DestructionStopsTheWorkerFirstThenFrees) {
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  twtest::LogCapture log;
  auto* world = new cWorld();
  std::string error;
  ASSERT_TRUE(BuildMapFromText(kFixture, world->GetMap(), error)) << error;
  ASSERT_EQ(g_Textures[10].Create(16, 16), 0);
  auto flag = std::make_shared<cTexture>();
  ASSERT_EQ(flag->Create(8, 8), 0);
  twtest::AddCountry(*world).flagTexture = flag;
  twtest::AddCity(*world, 1, 1);

  int stops = 0;
  world->SetWorkerStopHook([&] {
    ++stops;
    // Nothing is freed yet, and the phase already says so.
    EXPECT_EQ(world->GetGameState(), 15);
    EXPECT_EQ(world->GetMap().GetWidth(), 4);
    EXPECT_NE(world->GetMap().GetHex(1, 1).city, nullptr);
    EXPECT_NE(g_Textures[10].Get(), nullptr);
    EXPECT_NE(flag->Get(), nullptr);
    EXPECT_TRUE(log.Contains(L"---- Game state = 15"));
  });
  delete world;
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(g_Textures[10].Get(), nullptr);
  EXPECT_EQ(flag->Get(), nullptr);  // the country's flag was given back
}

TEST(WorldObject, DropSupplyRoleOnlyInTheCountrysOriginalLand) {
  cWorld world;
  std::string error;
  ASSERT_TRUE(BuildMapFromText(kFixture, world.GetMap(), error)) << error;
  struct Placed {
    int x, y, type;
  };
  // Types 0..4 on country 1's land; supply cities on country 2's land and
  // one off the map (never touched, never a crash).
  const Placed cities[] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 2}, {1, 1, 3}, {0, 2, 4}, {2, 0, 0}, {3, 0, 2}, {9, 9, 0}};
  for (const Placed& s : cities) twtest::AddCity(world, s.x, s.y, s.type);
  world.DropSupplyRoleOfCountryCities(1);
  std::vector<int> types;
  for (const cCity* c : world.Cities()) types.push_back(c->type);
  EXPECT_EQ(types, (std::vector<int>{1, 1, 3, 3, 4, 0, 2, 0}));
  world.DropSupplyRoleOfCountryCities(2);
  types.clear();
  for (const cCity* c : world.Cities()) types.push_back(c->type);
  EXPECT_EQ(types, (std::vector<int>{1, 1, 3, 3, 4, 1, 3, 0}));
}

}  // namespace
