#include "map_drawing/jednostka_ladowa_draw.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/world_builders.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"

namespace {

using plat::RectI;
namespace L = land_counter_layout;

bool SameRect(const RectI& a, const RectI& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Box k of the test entry: left 3k, top 2k + 1, width 10 + k, height 8 + k
// (sprite boxes), or those edges (text boxes). Source rectangle k: 20 wide,
// 10 high at (100 + 30k, 40).
RectI SpriteBox(int k) { return {3 * k, 2 * k + 1, 10 + k, 8 + k}; }
RectI TextBox(int k) { return {3 * k, 2 * k + 1, 3 * k + 40, 2 * k + 17}; }
RectI Source(int k) { return {100 + 30 * k, 40, 120 + 30 * k, 50}; }

class LandCounterDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = g_Settings;
    g_Settings.ShowUnitName = true;
    g_Textures[kSlotUnits].Create(1024, 1000);
    g_Textures[kSlotUnitInfo].Create(512, 128);
    flag_.Create(128, 85);
    SetDefaultFlagTexture(&flag_);
    for (int s = 0; s < 3; ++s) fonts_[s] = renderer_.CreateFont(L"Arial", 10 + 2 * s, 400);
    // Entry 0 (the panels' entry) is entry 1 with the counter box 50
    // pixels further right.
    sUnitAppearance& first = g_LandAppearance.entries[0];
    sUnitAppearance& look = g_LandAppearance.entries[1];
    look.threshold = 100;
    for (int k = 0; k < 9; ++k) look.source[k] = Source(k);
    for (int k = 0; k < 14; ++k) {
      look.box[k] = (k >= 9 && k <= 11) ? TextBox(k) : SpriteBox(k);
      look.valid[k] = true;
    }
    for (int s = 0; s < 3; ++s) {
      look.text[s].font = fonts_[s].get();
      look.text[s].color = 0xFF000000u + static_cast<std::uint32_t>(s + 1);
      look.text[s].color2 = 0xFFFFFF00u + static_cast<std::uint32_t>(s + 1);
    }
    g_LandAppearance.current = &look;
    first = look;
    first.box[13].left += 50;
    country_.id = 1;
    country_.colour[0] = 0x00336699u;
    state_.country = &country_;
    state_.type = 0;
    state_.level = 1;
    state_.name = L"1st Rifle";
    batch_.Begin();
  }
  void TearDown() override {
    if (batch_.InBatch()) batch_.End();
    g_LandAppearance.Reset();
    g_Textures[kSlotUnits].Release();
    g_Textures[kSlotUnitInfo].Release();
    SetDefaultFlagTexture(nullptr);
    g_Settings = settings_;
  }

  // The quads and texts drawn since the last call.
  std::vector<plat::DrawRecord> Records() {
    std::vector<plat::DrawRecord> out;
    for (const auto& r : renderer_.records)
      if (r.kind == plat::DrawRecord::kQuad || r.kind == plat::DrawRecord::kText) out.push_back(r);
    renderer_.records.clear();
    return out;
  }
  // Draws the state in a batch of its own.
  std::vector<plat::DrawRecord> DrawState(int flags = 0) {
    if (!batch_.InBatch()) batch_.Begin();
    DrawLandCounter(batch_, state_, 0, 0, 0.4f, flags);
    batch_.End();
    return Records();
  }
  static std::vector<plat::DrawRecord> QuadsOf(const std::vector<plat::DrawRecord>& all, const cTexture& t) {
    std::vector<plat::DrawRecord> out;
    for (const auto& r : all)
      if (r.kind == plat::DrawRecord::kQuad && r.texture == t.Get()->Id()) out.push_back(r);
    return out;
  }
  // The marker-sheet quads drawn from the source rectangle of box k (either row).
  static std::vector<plat::DrawRecord> Markers(const std::vector<plat::DrawRecord>& all, int k) {
    std::vector<plat::DrawRecord> out;
    for (const auto& r : QuadsOf(all, g_Textures[kSlotUnitInfo]))
      if (r.source.left == Source(k).left) out.push_back(r);
    return out;
  }
  static std::vector<std::wstring> Texts(const std::vector<plat::DrawRecord>& all) {
    std::vector<std::wstring> out;
    for (const auto& r : all)
      if (r.kind == plat::DrawRecord::kText) out.push_back(r.text);
    return out;
  }

  sSettings settings_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  plat::SpriteBatch batch_{renderer_};
  std::unique_ptr<plat::Font> fonts_[3];
  cTexture flag_;
  cCountry country_;
  sLandCounterState state_;
};

// The counters' parts, their order and depth are covered by the golden
// pictures of the world map; here what those pictures do not show.
TEST(LandCounterLayout, SymbolCellsStayOnTheSheet) {
  for (int level : {0, 1, 5, 9}) EXPECT_TRUE(SameRect(L::SymbolCell(60, level), {512, 600, 640, 700}));
  // Levels beyond the sheet's five rows stay on the sheet.
  EXPECT_TRUE(SameRect(L::SymbolCell(5, 7), {256, 900, 384, 1000}));
  EXPECT_TRUE(SameRect(L::SymbolCell(2, -3), {128, 0, 256, 100}));
}

TEST_F(LandCounterDrawing, BlinkBitSwitchesOwnMarkersToTheirSecondRow) {
  state_.own = state_.canReplenish = state_.hasHqCommander = true;
  state_.actionPoints = 3;
  state_.supply = 5;
  state_.freezeTime = 2;
  const auto steady = DrawState(2);  // only bit 0 counts
  const auto blink = DrawState(3);
  for (int k : {3, 4, 5, 8}) {
    SCOPED_TRACE(k);
    ASSERT_EQ(Markers(steady, k).size(), 1u);
    ASSERT_EQ(Markers(blink, k).size(), 1u);
    EXPECT_EQ(Markers(steady, k)[0].source.top, 40);
    EXPECT_EQ(Markers(blink, k)[0].source.top, 50);
  }
  // The commander row depends on the kind of commander, never on the blink;
  // the frozen marker never blinks.
  EXPECT_EQ(Markers(steady, 7)[0].source.top, 50);
  EXPECT_EQ(Markers(blink, 7)[0].source.top, 50);
  EXPECT_EQ(Markers(blink, 6)[0].source.top, 40);
}

TEST_F(LandCounterDrawing, CountrySheetTintAndFlag) {
  cCountry other;
  other.id = 2;
  other.colour[0] = 0x80AA0000u;  // alpha is forced to 255
  other.unitSkinTexture = std::make_shared<cTexture>();
  other.unitSkinTexture->Create(1024, 1000);
  other.flagTexture = std::make_shared<cTexture>();
  other.flagTexture->Create(128, 85);
  state_.country = &other;
  state_.type = 60;
  const auto all = DrawState();
  const auto own = QuadsOf(all, *other.unitSkinTexture);
  ASSERT_EQ(own.size(), 2u);
  EXPECT_EQ(own[0].argb, 0xFFAA0000u);
  EXPECT_TRUE(SameRect(own[1].source, {512, 600, 640, 700}));
  EXPECT_TRUE(QuadsOf(all, g_Textures[kSlotUnits]).empty());
  EXPECT_EQ(QuadsOf(all, *other.flagTexture).size(), 1u);
  EXPECT_TRUE(QuadsOf(all, flag_).empty());

  // A country whose own sheet did not load uses the skin's, and the default flag.
  other.unitSkinTexture->Release();
  other.flagTexture.reset();
  const auto fallback = DrawState();
  EXPECT_EQ(QuadsOf(fallback, g_Textures[kSlotUnits]).size(), 2u);
  EXPECT_EQ(QuadsOf(fallback, flag_).size(), 1u);
}

// The counter of a real land unit: its fields as the drawing reads them.
class LandUnitDrawing : public LandCounterDrawing {
 protected:
  void SetUp() override {
    LandCounterDrawing::SetUp();
    batch_.End();
    renderer_.records.clear();
    twtest::AddCountry(world_).colour[0] = 0x00112233u;
    twtest::AddCountry(world_).colour[0] = 0x00445566u;
    world_.smallUnitsSize = 0;
    world_.largeUnitsSize = 2;
    world_.turnState.currentCountry = world_.GetCountry(1);
    g_pWorld = &world_;
    g_pSprite = &batch_;
    constants_ = LandUnitConstants();
    LandUnitConstants().baseStrength[1][3] = 10.0f;
    unit_.SetType(3);  // mechanized corps
    unit_.level = 2;
    unit_.countryId = 1;
    unit_.strength = 50;
    unit_.effectiveness = 80;  // 10 x 50% x 80% = 4
    unit_.actionPoints = 2;
    unit_.supply = 20;
    unit_.name = L"XXIV Panzerkorps";
    unit_.visible = true;
  }
  void TearDown() override {
    LandUnitConstants() = constants_;
    g_MapDrawHooks = {};
    g_pSprite = nullptr;
    g_pWorld = nullptr;
    LandCounterDrawing::TearDown();
  }

  cWorld world_;
  sLandUnitConstants constants_;
  cJednostkaLadowa unit_{&world_};
};

// The counter's parts drawn from a unit are in the golden pictures of the
// world map; here the numbers of a weakened unit, the shared batch and the
// map's hook.
TEST_F(LandUnitDrawing, DrawUsesTheSharedBatchAndTheHookSpottedLandUnitsOnly) {
  batch_.Begin();
  DrawLandCounter(batch_, LandCounterStateOf(unit_), 5.0f, 6.0f, 0.3f, 1);
  batch_.End();
  const auto all = Records();
  const auto sheet = QuadsOf(all, g_Textures[kSlotUnits]);
  ASSERT_EQ(sheet.size(), 2u);
  EXPECT_EQ(sheet[0].argb, 0xFF112233u);
  EXPECT_EQ(Texts(all), (std::vector<std::wstring>{L"4", L"4", L"2", L"2", L"XXIV Panzerkorps",
                                                   L"XXIV Panzerkorps"}));
  // Nothing to draw into without the shared batch.
  g_pSprite = nullptr;
  DrawLandCounterInRect(unit_, {20, 40, 103, 90});
  EXPECT_TRUE(Records().empty());

  InstallLandUnitDrawHook();
  sHex hex;
  auto hook = [&] {
    batch_.Begin();
    g_MapDrawHooks.drawUnit(batch_, hex, {5.0f, 6.0f, 0.3f}, 0);
    batch_.End();
    return QuadsOf(Records(), g_Textures[kSlotUnits]).size();
  };
  hex.unit = &unit_;
  EXPECT_EQ(hook(), 2u);
  unit_.visible = false;
  EXPECT_EQ(hook(), 0u);
  // An air unit shares the hex cells but not the land counter.
  cJednostkaLotnicza air(&world_);
  air.visible = true;
  hex.unit = &air;
  EXPECT_EQ(hook(), 0u);
}

TEST_F(LandUnitDrawing, PendingAttackOnTheUnitDrawsOneArrowPerAttackingSide) {
  g_Textures[kSlotOthers].Create(2048, 2048);
  InstallLandUnitDrawHook();
  sHex hex;
  hex.unit = &unit_;
  auto arrows = [&] {
    batch_.Begin();
    g_MapDrawHooks.drawUnit(batch_, hex, {5.0f, 6.0f, 0.3f}, 0);
    batch_.End();
    std::vector<int> sides;
    for (const auto& r : QuadsOf(Records(), g_Textures[kSlotOthers])) {
      if (r.source.top == 836) sides.push_back((r.source.left - 1) / 167);
    }
    return sides;
  };
  EXPECT_TRUE(arrows().empty()) << "no attack pending";
  cJednostkaLadowa attacker(&world_);
  world_.turnState.SetAttack(&unit_, 0, 0, nullptr, &attacker, nullptr, nullptr, &attacker);
  EXPECT_EQ(arrows(), (std::vector<int>{1, 4}));
  cJednostkaLadowa other(&world_);
  world_.turnState.attack->defender = &other;
  EXPECT_TRUE(arrows().empty()) << "the attack is on another unit";
  world_.turnState.ClearAttack();
  g_Textures[kSlotOthers].Release();
}

// After the cells the map draws the selected land unit again at the
// selected unit's depth (map mode 0 only) and the marker of the selected
// hex (modes 0 and 1), at the cell's place for the view origin.
TEST_F(LandUnitDrawing, TheSelectionHookDrawsTheSelectedUnitAndTheHexMarker) {
  cMap& map = world_.GetMap();
  map.SetWidth(4);
  map.SetHeight(3);
  map.CreateHexes();
  g_Textures[kSlotOthers].Create(2048, 2048);
  const sSpriteDepth savedMarks = g_SpriteDepths[kLayerMarks], savedUnit = g_SpriteDepths[kLayerSelectedUnit];
  g_SpriteDepths[kLayerMarks].depth = 0.9f;
  g_SpriteDepths[kLayerSelectedUnit].depth = 0.15f;
  unit_.x = 2;
  unit_.y = 1;
  world_.turnState.selectedUnit = &unit_;
  world_.turnState.selectedHex = &map.GetHex(1, 2);
  InstallSelectionDrawHook();
  ASSERT_TRUE(g_MapDrawHooks.drawAfterCells);
  auto draw = [&](int mode) {
    renderer_.records.clear();
    batch_.Begin();
    g_MapDrawHooks.drawAfterCells(batch_, map, 10, 20, mode);
    batch_.End();
    return Records();
  };

  const auto full = draw(0);
  const auto counter = QuadsOf(full, g_Textures[kSlotUnits]);
  ASSERT_EQ(counter.size(), 2u);
  for (const auto& quad : counter) EXPECT_FLOAT_EQ(quad.depth, 0.15f);
  const auto marker = QuadsOf(full, g_Textures[kSlotOthers]);
  ASSERT_EQ(marker.size(), 1u);
  // Hex (1, 2): an odd column, so not dropped: (83 + 10, 196 + 20).
  EXPECT_EQ(std::tuple(marker[0].corners[0].x, marker[0].corners[0].y, marker[0].depth), std::tuple(93.0f, 216.0f, 0.9f));
  EXPECT_TRUE(SameRect(marker[0].source, skin_sheet_layout::Mark(0)));

  const auto terrainOnly = draw(1);
  EXPECT_EQ(std::pair(QuadsOf(terrainOnly, g_Textures[kSlotUnits]).size(), QuadsOf(terrainOnly, g_Textures[kSlotOthers]).size()),
            std::pair(std::size_t{0}, std::size_t{1}));
  // A hidden unit and no selected hex: nothing.
  unit_.visible = false;
  world_.turnState.selectedHex = nullptr;
  EXPECT_TRUE(QuadsOf(draw(0), g_Textures[kSlotUnits]).empty() && QuadsOf(draw(0), g_Textures[kSlotOthers]).empty());

  world_.turnState = cTurnState();
  g_Textures[kSlotOthers].Release();
  g_SpriteDepths[kLayerMarks] = savedMarks;
  g_SpriteDepths[kLayerSelectedUnit] = savedUnit;
}

TEST_F(LandUnitDrawing, InARectangleTheFirstEntryIsScaledAndTheNameHidden) {
  sUnitAppearance* current = g_LandAppearance.current;
  const plat::Matrix2D before = plat::Matrix2D::Scaling(2.0f, 3.0f);
  batch_.SetTransform(before);
  DrawLandCounterInRect(unit_, {20, 40, 103, 90});  // 83 wide: half size
  EXPECT_FALSE(batch_.InBatch());
  EXPECT_EQ(g_LandAppearance.current, current);
  EXPECT_TRUE(g_Settings.ShowUnitName);
  EXPECT_FLOAT_EQ(batch_.GetTransform().m11, 2.0f);
  EXPECT_FLOAT_EQ(batch_.GetTransform().m22, 3.0f);
  const auto all = Records();
  const auto sheet = QuadsOf(all, g_Textures[kSlotUnits]);
  ASSERT_EQ(sheet.size(), 2u);
  // Entry 0's counter box: left 39 + 50, top 27, 23 x 21, at (40, 80) in
  // counter space, then halved.
  const RectI b = SpriteBox(13);
  EXPECT_NEAR(sheet[0].corners[0].x, 0.5f * static_cast<float>(40 + b.left + 50), 1e-3);
  EXPECT_NEAR(sheet[0].corners[0].y, 0.5f * static_cast<float>(80 + b.top), 1e-3);
  EXPECT_NEAR(sheet[0].corners[2].x - sheet[0].corners[0].x, 0.5f * static_cast<float>(b.right), 1e-3);
  EXPECT_FLOAT_EQ(sheet[0].depth, 0.0f);
  // Strength and action points only; the name is switched off.
  EXPECT_EQ(Texts(all), (std::vector<std::wstring>{L"4", L"4", L"2", L"2"}));
  // No width, no drawing (and no division by zero).
  DrawLandCounterInRect(unit_, {20, 40, 20, 90});
  EXPECT_TRUE(Records().empty());
}

}  // namespace
