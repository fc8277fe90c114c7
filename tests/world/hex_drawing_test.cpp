#include "world/hex_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map.h"
#include "world/map_text.h"

namespace {

using plat::RectI;
namespace L = skin_sheet_layout;

bool SameRect(const RectI& a, const RectI& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class HexDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = g_Settings;
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MapZoom = 1.0f;
    g_Settings.MapMode = 0;
    g_Settings.ShowWeather = false;
    g_Settings.ShowGrid = false;
    g_Settings.ShowAPLeft = false;
    g_Settings.ShowSeaZonesBorders = false;
    g_Settings.MapOwnershipMode = 0;
    g_Settings.BorderMode = 0;
    ResetSpriteDepthTable();
    for (int slot : {kSlotTerrain, kSlotOthers}) g_Textures[slot].Create(2004, 2004);
    g_Textures[kSlotEyeCandies].Create(1002, 501);
    g_pWorld = &world_;
    batch_.Begin();
  }
  void TearDown() override {
    if (batch_.InBatch()) batch_.End();
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
    g_MapDrawHooks = {};
    g_CityAppearance.Reset();
    g_pWorld = nullptr;
    g_Settings = settings_;
    ResetSpriteDepthTable();
  }

  std::vector<plat::DrawRecord> Flush() {
    batch_.End();
    std::vector<plat::DrawRecord> quads;
    for (const auto& r : renderer_.records)
      if (r.kind == plat::DrawRecord::kQuad) quads.push_back(r);
    renderer_.records.clear();
    return quads;
  }

  static std::uint64_t Id(int slot) { return g_Textures[slot].Get()->Id(); }

  // The quads of a sheet with a source rectangle.
  static std::vector<plat::DrawRecord> Find(const std::vector<plat::DrawRecord>& quads, int slot, const RectI& source) {
    std::vector<plat::DrawRecord> found;
    for (const auto& q : quads)
      if (q.texture == Id(slot) && SameRect(q.source, source)) found.push_back(q);
    return found;
  }

  void AddCountry(int alliance, std::uint32_t colour) { twtest::AddCountry(world_, alliance).colour[0] = colour; }

  sSettings settings_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  plat::SpriteBatch batch_{renderer_};
  cWorld world_;
  sEyeCandy eye_;
};

TEST_F(HexDrawing, ForestDrawsFeatureOverPlainAndKeepsPlainWhenHidden) {
  sHex hex;
  hex.terrain = kTerrainForest;
  hex.tileVariant = 1;
  hex.weather = 1;  // snow
  DrawHex(batch_, hex, {10, 20, 0}, eye_, 0);
  auto quads = Flush();
  ASSERT_EQ(quads.size(), 2u);
  auto forest = Find(quads, kSlotTerrain, L::Terrain(kTerrainForest, 1, 1));
  auto plain = Find(quads, kSlotTerrain, L::Terrain(kTerrainPlain, 1, 1));
  ASSERT_EQ(forest.size(), 1u);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_FLOAT_EQ(forest[0].depth, LayerDepth(kLayerForest));
  EXPECT_FLOAT_EQ(plain[0].depth, LayerDepth(kLayerPlain) - 0.01f);  // weather 1 lifts the base
  EXPECT_FLOAT_EQ(plain[0].corners[0].x, 10.0f);
  EXPECT_FLOAT_EQ(plain[0].corners[0].y, 20.0f);

  // The forest layer hidden by the decoration record: the plain stays.
  eye_.alpha = g_SpriteDepths[kLayerForest].level;
  batch_.Begin();
  DrawHex(batch_, hex, {10, 20, 0}, eye_, 0);
  quads = Flush();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(Find(quads, kSlotTerrain, L::Terrain(kTerrainPlain, 1, 1)).size(), 1u);

  // A hidden plain layer hides a plain cell's own picture.
  hex.terrain = kTerrainPlain;
  eye_.alpha = g_SpriteDepths[kLayerPlain].level;
  batch_.Begin();
  DrawHex(batch_, hex, {0, 0, 0}, eye_, 0);
  EXPECT_TRUE(Flush().empty());
}

// The cell's elements and their order are covered by the golden pictures
// of the world map; here the colours the pictures' settings leave out.
TEST_F(HexDrawing, OwnershipTintsAndBordersTakeTheirColoursWithFullAlpha) {
  AddCountry(kAxis, 0x00112233);
  AddCountry(kAllies, 0x80445566);
  g_Settings.MapOwnershipMode = 3;
  g_Settings.BorderMode = 2;
  g_Settings.BorderColor = 0xFFAA0000;
  sHex hex;
  hex.terrain = kTerrainPlain;
  hex.controller = 1;
  hex.owner = 2;
  hex.borderFlags = 1;  // owner border on side 1
  DrawHex(batch_, hex, {0, 0, 0}, eye_, 0);
  const auto quads = Flush();
  const std::pair<RectI, std::uint32_t> expected[] = {
      {L::ControllerTint(), 0xFF112233u}, {L::OwnerTint(), 0xFF445566u}, {L::Border(1), 0xFFAA0000u}};
  for (const auto& [source, argb] : expected) {
    const auto found = Find(quads, kSlotOthers, source);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].argb, argb);
    EXPECT_FLOAT_EQ(found[0].depth, LayerDepth(SameRect(source, L::Border(1)) ? kLayerBorders : kLayerTint));
  }
}

TEST_F(HexDrawing, RiverMouthsOnWaterAndNoRiverForBadLandMask) {
  sHex water;
  water.terrain = kTerrainWater;
  water.tileVariant = 1;
  water.weather = 1;
  water.riverMask = kRiverMouthBit | 1 | 32;
  DrawHex(batch_, water, {0, 0, 0}, eye_, 0);
  auto quads = Flush();
  ASSERT_EQ(quads.size(), 3u);
  // Water always takes the first weather row, but still the weather's depth.
  auto base = Find(quads, kSlotTerrain, L::Terrain(kTerrainWater, 1, 0));
  ASSERT_EQ(base.size(), 1u);
  EXPECT_FLOAT_EQ(base[0].depth, LayerDepth(kLayerWater) - 0.01f);
  for (int side : {0, 5}) {
    auto mouth = Find(quads, kSlotTerrain, L::RiverMouth(side, 1));
    ASSERT_EQ(mouth.size(), 1u) << side;
    EXPECT_FLOAT_EQ(mouth[0].depth, LayerDepth(kLayerRivers) - 0.0001f);
  }

  // A land cell's mask above 63 means no river at all.
  sHex land;
  land.terrain = kTerrainPlain;
  land.riverMask = 64 | 2;
  batch_.Begin();
  DrawHex(batch_, land, {0, 0, 0}, eye_, 0);
  EXPECT_EQ(Flush().size(), 1u);
}

// A 3 x 3 map of plain with two owners; borders only between them.
class HexBorders : public HexDrawing {
 protected:
  void SetUp() override {
    HexDrawing::SetUp();
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size 3 3\nterrain\nppp\nppp\npp~\nowner\n1 1 1\n1 2 1\n1 1 0\n", world_.GetMap(),
                                 error))
        << error;
    world_.GetMap().RefreshBorderFlags();
  }
};

TEST_F(HexBorders, OnlyWhereOwnersDiffer) {
  cMap& map = world_.GetMap();
  // The centre (1, 1) borders (2, 0), (2, 1), (1, 2); (1, 0), (0, 1) and
  // (0, 0) face it with one side each; water beside it is no owner border.
  g_Settings.BorderMode = 2;
  g_MapTargetScale = 1.0f;
  g_Settings.MapZoom = 0.5f;  // eases to 1.0 in one step, setting the visible range
  map.CenterAtHex(1, 1);
  map.UpdateView(1.0f);
  map.Render(batch_);
  const auto quads = Flush();
  int borders = 0;
  for (int side = 1; side <= 3; ++side) borders += static_cast<int>(Find(quads, kSlotOthers, L::Border(side)).size());
  EXPECT_EQ(borders, 3 + 1 + 1 + 1);  // the centre's three and one each of (1, 0), (0, 1), (0, 0)
}

TEST_F(HexBorders, SetOwnerRefreshesTheNeighboursFacingTheCell) {
  cMap& map = world_.GetMap();
  SetHexOwner(map, map.GetHex(1, 1), 1);
  for (const sHex& hex : map.Hexes()) EXPECT_EQ(hex.borderFlags & 7, 0) << hex.x << "," << hex.y;
  SetHexController(map, map.GetHex(1, 1), 2);
  EXPECT_EQ(map.GetHex(1, 1).borderFlags & 0x38, 0x38);
  EXPECT_EQ(map.GetHex(1, 0).borderFlags & 0x38, 0x20);  // its side 3
  EXPECT_EQ(map.GetHex(0, 1).borderFlags & 0x38, 0x08);  // its side 1
  EXPECT_EQ(map.GetHex(1, 1).borderFlags & 7, 0);
}

}  // namespace

namespace {

// The marked-cell list: each cell once, in the order first marked, emptied
// when the cells are made anew (it must never point at freed cells).
TEST(MarkedHexes, ListedOnceInFirstMarkedOrderAndEmptiedWithNewCells) {
  cMap map;
  map.SetWidth(4);
  map.SetHeight(3);
  map.CreateHexes();
  sHex& a = map.GetHex(2, 1);
  sHex& b = map.GetHex(0, 0);
  SetHexMark(map, a, 4, 1);
  SetHexMark(map, b, 8, 2);
  SetHexMark(map, a, 16, 3);
  ASSERT_EQ(map.MarkedHexes().size(), 2u);
  EXPECT_EQ(map.MarkedHexes()[0], &a);
  EXPECT_EQ(map.MarkedHexes()[1], &b);

  ClearHexMark(map, a, 4 | 16, true);
  ASSERT_EQ(map.MarkedHexes().size(), 1u);
  EXPECT_EQ(map.MarkedHexes()[0], &b);
  SetHexMark(map, a, 4, 1);
  EXPECT_EQ(map.MarkedHexes().back(), &a);

  map.CreateHexes();
  EXPECT_TRUE(map.MarkedHexes().empty());
}

}  // namespace
