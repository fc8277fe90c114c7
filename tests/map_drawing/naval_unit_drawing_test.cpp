#include "map_drawing/naval_unit_draw.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/world_builders.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

using plat::DrawRecord;
using plat::RectI;
namespace N = naval_counter_layout;

bool SameNavalRect(const RectI& a, const RectI& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Sprite box k of the test entry: left 4k + 2, top 3k + 1, width 20 + k,
// height 10 + k; text boxes give those edges. NavalSource k: 20 x 10 at
// (100 + 30k, 40).
RectI NavalSpriteBox(int k) { return {4 * k + 2, 3 * k + 1, 20 + k, 10 + k}; }
RectI NavalTextBox(int k) { return {4 * k + 2, 3 * k + 1, 4 * k + 62, 3 * k + 17}; }
RectI NavalSource(int k) { return {100 + 30 * k, 40, 120 + 30 * k, 50}; }
constexpr int kBarBox = 7;

class ShipCounterDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = g_Settings;
    g_Settings.ShowUnitName = true;
    g_Textures[kSlotUnits].Create(1024, 1000);
    g_Textures[kSlotUnitInfo].Create(512, 128);
    flag_.Create(128, 85);
    SetDefaultFlagTexture(&flag_);
    for (int s = 0; s < 2; ++s) fonts_[s] = renderer_.CreateFont(L"Arial", 10 + 2 * s, 400);
    // Entry 1 is the map's; entry 0 (the dialogs') has its ship box 50
    // pixels further right.
    sUnitAppearance& look = g_NavalAppearance.entries[1];
    look.threshold = 100;
    for (int k = 0; k < 3; ++k) look.source[k] = NavalSource(k);
    for (int k = 0; k < 8; ++k) {
      look.box[k] = (k == 4 || k == 5) ? NavalTextBox(k) : NavalSpriteBox(k);
      look.valid[k] = true;
    }
    look.box[kBarBox] = {10, 20, 52, 6};  // 50 pixels inside the track
    for (int s = 0; s < 2; ++s) look.text[s].font = fonts_[s].get();
    g_NavalAppearance.entries[0] = look;
    g_NavalAppearance.entries[0].box[3].left += 50;
    g_NavalAppearance.current = &look;

    twtest::AddCountry(world_).colour = {0x00203040u, 0x00101010u, 0x0080C0E0u, 0x00FFFFFFu};
    twtest::AddCountry(world_);
    world_.turnState.currentCountry = world_.GetCountry(1);
    g_pWorld = &world_;
    g_pSprite = &batch_;
    fleet_.name = L"Home Fleet";
    ship_.SetType(41);
    ship_.countryId = 1;
    ship_.name = L"Warspite";
    ship_.maxHitPoints = 8;
    ship_.hitPoints = 6;
    ship_.fleet = &fleet_;
  }
  void TearDown() override {
    if (batch_.InBatch()) batch_.End();
    g_pSprite = nullptr;
    g_pWorld = nullptr;
    g_NavalAppearance.Reset();
    g_Textures[kSlotUnits].Release();
    g_Textures[kSlotUnitInfo].Release();
    SetDefaultFlagTexture(nullptr);
    g_Settings = settings_;
  }

  std::vector<DrawRecord> Records() {
    std::vector<DrawRecord> out;
    for (const auto& r : renderer_.records)
      if (r.kind == DrawRecord::kQuad || r.kind == DrawRecord::kText) out.push_back(r);
    renderer_.records.clear();
    return out;
  }
  std::vector<DrawRecord> DrawShip(int flags = 0) {
    batch_.Begin();
    DrawShipCounter(ship_, 0.0f, 0.0f, 0.4f, flags);
    batch_.End();
    return Records();
  }
  static std::vector<DrawRecord> QuadsOf(const std::vector<DrawRecord>& all, const cTexture& t) {
    std::vector<DrawRecord> out;
    for (const auto& r : all)
      if (r.kind == DrawRecord::kQuad && r.texture == t.Get()->Id()) out.push_back(r);
    return out;
  }
  static std::vector<DrawRecord> FromSource(const std::vector<DrawRecord>& all, const RectI& source) {
    std::vector<DrawRecord> out;
    for (const auto& r : QuadsOf(all, g_Textures[kSlotUnitInfo]))
      if (r.source.left == source.left && r.source.right == source.right) out.push_back(r);
    return out;
  }
  static std::vector<std::wstring> Texts(const std::vector<DrawRecord>& all) {
    std::vector<std::wstring> out;
    for (const auto& r : all)
      if (r.kind == DrawRecord::kText) out.push_back(r.text);
    return out;
  }
  // The quads of the bar's track or filling.
  static std::vector<DrawRecord> Bar(const std::vector<DrawRecord>& all, const RectI& part) {
    std::vector<DrawRecord> out;
    for (const auto& r : QuadsOf(all, g_Textures[kSlotUnitInfo]))
      if (SameNavalRect(r.source, part)) out.push_back(r);
    return out;
  }
  // The width of the bar's filling, or -1 when it is not drawn.
  static float FillWidth(const std::vector<DrawRecord>& all) {
    const auto fill = Bar(all, N::BarFill());
    return fill.empty() ? -1.0f : fill[0].corners[2].x - fill[0].corners[0].x;
  }

  sSettings settings_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  plat::SpriteBatch batch_{renderer_};
  std::unique_ptr<plat::Font> fonts_[2];
  cTexture flag_;
  cWorld world_;
  cFleet fleet_;
  cJednostkaMorska ship_{&world_};
};

TEST(ShipCounterLayout, EveryNavalTypeHasItsOwnCellOnTheSheet) {
  for (int type = 40; type <= 45; ++type) {
    const RectI cell = N::ShipCell(type);
    EXPECT_TRUE(SameNavalRect(cell, {896, 100 * (type - 40), 1024, 100 * (type - 39)})) << type;
    EXPECT_FALSE(SameNavalRect(cell, N::BackgroundCell()));
  }
  // A code outside the naval types stays on the sheet's column.
  EXPECT_TRUE(SameNavalRect(N::ShipCell(46), N::ShipCell(45)));
  EXPECT_TRUE(SameNavalRect(N::ShipCell(2), N::ShipCell(40)));
}

TEST_F(ShipCounterDrawing, CounterShowsTypeColourHitPointsAndBothNames) {
  const auto all = DrawShip();
  const auto sheet = QuadsOf(all, g_Textures[kSlotUnits]);
  ASSERT_EQ(sheet.size(), 2u);
  EXPECT_EQ(sheet[0].argb, 0xFF203040u);  // the country's colour at full alpha
  EXPECT_TRUE(SameNavalRect(sheet[0].source, N::BackgroundCell()));
  EXPECT_TRUE(SameNavalRect(sheet[1].source, N::ShipCell(41)));
  EXPECT_FLOAT_EQ(sheet[1].depth, 0.4f);
  EXPECT_EQ(QuadsOf(all, flag_).size(), 1u);
  // 6 of 8: 75 per cent, 37 of the 50 pixels in the light colour.
  EXPECT_FLOAT_EQ(FillWidth(all), 37.0f);
  EXPECT_EQ(Bar(all, N::BarFill())[0].argb, 0xFF80C0E0u);
  EXPECT_EQ(Bar(all, N::BarTrack()).size(), 1u);
  // Shadow then text: the hit points, the ship's name and under it the fleet's.
  EXPECT_EQ(Texts(all), (std::vector<std::wstring>{L"75%", L"75%", L"Warspite", L"Warspite", L"Home Fleet",
                                                   L"Home Fleet"}));
  const auto texts = [&] {
    std::vector<const DrawRecord*> out;
    for (const auto& r : all)
      if (r.kind == DrawRecord::kText) out.push_back(&r);
    return out;
  }();
  EXPECT_FLOAT_EQ(texts[5]->corners[0].y - texts[3]->corners[0].y, 16.0f);  // one box height lower

  // Without names, and a ship outside any fleet (the purchase preview) shows
  // no fleet line.
  ship_.fleet = nullptr;
  EXPECT_EQ(Texts(DrawShip()), (std::vector<std::wstring>{L"75%", L"75%", L"Warspite", L"Warspite"}));
  g_Settings.ShowUnitName = false;
  EXPECT_EQ(Texts(DrawShip()), (std::vector<std::wstring>{L"75%", L"75%"}));

  // A black country stays black; a colour never set draws white.
  world_.GetCountry(2)->colour[0] = 0xFF000000u;
  ship_.countryId = 2;
  const auto plain = DrawShip();
  EXPECT_EQ(QuadsOf(plain, g_Textures[kSlotUnits])[0].argb, 0xFF000000u);
  ASSERT_EQ(Bar(plain, N::BarFill()).size(), 1u);
  EXPECT_EQ(Bar(plain, N::BarFill())[0].argb, 0xFFFFFFFFu);
}

TEST_F(ShipCounterDrawing, HitPointsWithoutAMaximumShowNothingLeftAndOverfullShowsFull) {
  ship_.maxHitPoints = 0;
  ship_.hitPoints = 5;
  auto all = DrawShip();
  EXPECT_EQ(Texts(all)[0], L"0%");
  EXPECT_FLOAT_EQ(FillWidth(all), -1.0f);  // an empty bar has no filling
  EXPECT_EQ(Bar(all, N::BarTrack()).size(), 1u);
  ship_.maxHitPoints = 4;
  ship_.hitPoints = 9;  // more than the maximum (a scenario may say so)
  all = DrawShip();
  EXPECT_EQ(Texts(all)[0], L"100%");
  EXPECT_FLOAT_EQ(FillWidth(all), 50.0f);
  ship_.hitPoints = -3;
  EXPECT_EQ(Texts(DrawShip())[0], L"0%");
}

TEST_F(ShipCounterDrawing, BattleMarkersFollowTheirFlagsAndBitZeroPicksTheSecondRow) {
  EXPECT_TRUE(FromSource(DrawShip(), NavalSource(1)).empty() && FromSource(DrawShip(), NavalSource(2)).empty());
  ship_.takesPartInBattle = true;
  auto all = DrawShip(2);  // only bit 0 counts
  ASSERT_EQ(FromSource(all, NavalSource(1)).size(), 1u);
  EXPECT_TRUE(FromSource(all, NavalSource(2)).empty());
  EXPECT_EQ(FromSource(all, NavalSource(1))[0].source.top, 40);
  ship_.battleSideMarker = true;
  all = DrawShip(1);
  ASSERT_EQ(FromSource(all, NavalSource(2)).size(), 1u);
  EXPECT_EQ(FromSource(all, NavalSource(1))[0].source.top, 50);
  EXPECT_EQ(FromSource(all, NavalSource(2))[0].source.top, 50);
  // A box the table leaves invalid is never drawn.
  g_NavalAppearance.current->valid[1] = false;
  g_NavalAppearance.current->valid[kBarBox] = false;
  all = DrawShip();
  EXPECT_TRUE(FromSource(all, NavalSource(1)).empty());
  EXPECT_TRUE(Bar(all, N::BarTrack()).empty() && Bar(all, N::BarFill()).empty());
}

TEST_F(ShipCounterDrawing, InARectangleTheFirstEntryIsScaledAndTheNamesHidden) {
  sUnitAppearance* current = g_NavalAppearance.current;
  const plat::Matrix2D before = plat::Matrix2D::Scaling(2.0f, 3.0f);
  batch_.SetTransform(before);
  const RectI ship = NavalSpriteBox(3);
  for (const auto& [right, scale] : {std::pair{186, 1.0f}, std::pair{103, 0.5f}}) {
    SCOPED_TRACE(scale);
    DrawNavalCounterInRect(ship_, {20, 40, right, 90});
    EXPECT_FALSE(batch_.InBatch());
    EXPECT_EQ(g_NavalAppearance.current, current);
    EXPECT_TRUE(g_Settings.ShowUnitName);
    EXPECT_FLOAT_EQ(batch_.GetTransform().m11, 2.0f);
    EXPECT_FLOAT_EQ(batch_.GetTransform().m22, 3.0f);
    const auto all = Records();
    const auto sheet = QuadsOf(all, g_Textures[kSlotUnits]);
    ASSERT_EQ(sheet.size(), 2u);
    // Entry 0's ship box, 50 further right, at the rectangle's corner.
    EXPECT_NEAR(sheet[1].corners[0].x, 20.0f + scale * static_cast<float>(ship.left + 50), 1e-3);
    EXPECT_NEAR(sheet[1].corners[0].y, 40.0f + scale * static_cast<float>(ship.top), 1e-3);
    EXPECT_NEAR(sheet[1].corners[2].x - sheet[1].corners[0].x, scale * static_cast<float>(ship.right), 1e-3);
    EXPECT_FLOAT_EQ(sheet[1].depth, 0.0f);
    EXPECT_EQ(Texts(all), (std::vector<std::wstring>{L"75%", L"75%"}));
  }
  DrawNavalCounterInRect(ship_, {20, 40, 20, 90});
  EXPECT_TRUE(Records().empty());
  g_pSprite = nullptr;
  DrawNavalCounterInRect(ship_, {20, 40, 186, 90});
  DrawShipCounter(ship_, 1.0f, 2.0f, 0.5f, 0);
  EXPECT_TRUE(Records().empty());
}

// A sea node draws its shown own ship on the own-ship hex (with the port's
// marker) and its shown enemy ship on the enemy-ship hex, at the units'
// depth.
TEST_F(ShipCounterDrawing, SeaNodeDrawsItsShownShipsOnTheirHexes) {
  g_Textures[kSlotOthers].Create(2048, 2048);
  cJednostkaMorska enemy = ship_;
  enemy.countryId = 2;
  enemy.SetType(43);
  sWezelGrafuMorz port;
  port.isSea = 0;
  port.size = 3;
  port.x = 1, port.y = 1;
  port.ownShipX = 2, port.ownShipY = 1;
  port.enemyShipX = 3, port.enemyShipY = 1;
  auto drawn = [&](int hexX) {
    batch_.Begin();
    DrawSeaNodeOnHex(batch_, port, 10.0f, 20.0f, 0.9f, hexX, 1, false, false);
    batch_.End();
    return Records();
  };
  EXPECT_EQ(QuadsOf(drawn(2), g_Textures[kSlotOthers]).size(), 1u) << "the port's marker without a ship";
  port.ownShip = &ship_;
  port.enemyShip = &enemy;
  auto own = drawn(2);
  auto ships = QuadsOf(own, g_Textures[kSlotUnits]);
  ASSERT_EQ(ships.size(), 2u);
  EXPECT_TRUE(SameNavalRect(ships[1].source, N::ShipCell(41)));
  EXPECT_FLOAT_EQ(ships[1].depth, LayerDepth(kLayerUnits));
  EXPECT_FLOAT_EQ(ships[1].corners[0].x, 10.0f + static_cast<float>(NavalSpriteBox(3).left));
  EXPECT_EQ(QuadsOf(own, g_Textures[kSlotOthers]).size(), 1u);
  ships = QuadsOf(drawn(3), g_Textures[kSlotUnits]);
  ASSERT_EQ(ships.size(), 2u);
  EXPECT_TRUE(SameNavalRect(ships[1].source, N::ShipCell(43)));
  EXPECT_TRUE(drawn(1).empty()) << "a port shows no marker on its city hex";
  g_Textures[kSlotOthers].Release();
}

// The sea-battle field's cell: water, its mark, and the ship standing on
// it drawn on the cell 0.1 nearer than the cell's depth, with the battle
// markers in the row of the acting side's flag.
TEST_F(ShipCounterDrawing, BattleTileDrawsItsShipNearerWithTheActingSideRow) {
  g_Textures[kSlotTerrain].Create(2048, 2048);
  g_Textures[kSlotOthers].Create(2048, 2048);
  ResetSpriteDepthTable();
  ship_.takesPartInBattle = true;
  sHex cell;
  cell.terrain = kTerrainWater;
  cell.markBits = 0x20000;
  auto drawn = [&](bool flag, const cJednostkaMorska* ship) {
    batch_.Begin();
    DrawHexTile(batch_, cell, {30.0f, 40.0f, 0.6f}, flag, ship);
    batch_.End();
    return Records();
  };
  const auto empty = drawn(false, nullptr);
  EXPECT_EQ(QuadsOf(empty, g_Textures[kSlotTerrain]).size(), 1u);
  EXPECT_EQ(QuadsOf(empty, g_Textures[kSlotOthers]).size(), 1u);
  EXPECT_TRUE(QuadsOf(empty, g_Textures[kSlotUnits]).empty());
  for (const bool flag : {false, true}) {
    SCOPED_TRACE(flag);
    const auto all = drawn(flag, &ship_);
    const auto sheet = QuadsOf(all, g_Textures[kSlotUnits]);
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_TRUE(SameNavalRect(sheet[1].source, N::ShipCell(41)));
    EXPECT_NEAR(sheet[1].depth, 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(sheet[1].corners[0].x, 30.0f + static_cast<float>(NavalSpriteBox(3).left));
    EXPECT_FLOAT_EQ(sheet[1].corners[0].y, 40.0f + static_cast<float>(NavalSpriteBox(3).top));
    ASSERT_EQ(FromSource(all, NavalSource(1)).size(), 1u);
    EXPECT_EQ(FromSource(all, NavalSource(1))[0].source.top, flag ? 50 : 40);
    EXPECT_EQ(QuadsOf(all, g_Textures[kSlotTerrain]).size(), 1u);
  }
  g_Textures[kSlotTerrain].Release();
  g_Textures[kSlotOthers].Release();
}

}  // namespace
