// The map frame with its kept pictures against a plain cell-by-cell drawing
// of the same cells (the cell drawing the pictures are recorded with, drawn
// at once), in every map mode, and
// after each kind of change that must show: a cell's terrain, weather,
// river, mark, fortification, owner or unit, a country's colour, the zoom,
// the scroll, a setting and the skin (depth table, sheets); and single
// cells drawn alone for what the golden pictures of the world map leave out.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/hex_drawing_parts.h"
#include "platform/clock.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/hex_changes.h"
#include "world/jednostka_ladowa.h"

namespace {

using plat::DrawRecord;
namespace S = skin_sheet_layout;

bool SameSource(const plat::RectI& a, const plat::RectI& b) {
  return std::tie(a.left, a.top, a.right, a.bottom) == std::tie(b.left, b.top, b.right, b.bottom);
}

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// One cell drawn at once in the map mode, by the drawing the map's kept
// pictures are recorded with.
void DrawCellNow(plat::SpriteBatch& batch, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy, int phase,
                 int mode = 0) {
  using namespace map_draw;
  cCountryLookup countries;
  sCellOut out{batch};
  switch (mode) {
    case 1: DrawCellTerrain(out, sCellLook(), hex, pos, eyeCandy); break;
    case 2: DrawCellPolitical(out, sCellLook(), countries, hex, pos); break;
    case 3: DrawCellWithCoastMark(out, sCellLook(), countries, hex, pos, eyeCandy); break;
    default: DrawCell(out, sCellLook(), countries, hex, pos, eyeCandy, phase); break;
  }
}

// Where two record lists first differ, or -1 when they are the same.
long FirstDifference(const std::vector<DrawRecord>& a, const std::vector<DrawRecord>& b) {
  auto key = [](const DrawRecord& r) {
    return std::tie(r.kind, r.texture, r.argb, r.depth, r.source.left, r.source.top, r.source.right, r.source.bottom,
                    r.text, r.corners[0].x, r.corners[0].y, r.corners[1].x, r.corners[1].y, r.corners[2].x,
                    r.corners[2].y, r.corners[3].x, r.corners[3].y);
  };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (key(a[i]) != key(b[i])) return static_cast<long>(i);
  return a.size() == b.size() ? -1 : static_cast<long>(n);
}

class MapPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = g_Settings;
    plat::SetClock(&clock_);
    clock_.Advance(12345);
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MapMode = 0;
    g_Settings.ShowWeather = g_Settings.ShowGrid = g_Settings.ShowSeaZonesBorders = true;
    g_Settings.ShowAPLeft = false;
    g_Settings.MapOwnershipMode = 3;
    g_Settings.BorderMode = 2;
    ResetSpriteDepthTable();
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Create(2004, 2004);
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    BuildWorld();
    // A unit drawn live at a depth the kept terrain uses as well: its quad
    // must keep its place among them.
    g_MapDrawHooks.drawUnit = [](plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, int) {
      const plat::RectI source{1, 1, 40, 40};
      sprite.Draw(*g_Textures[kSlotOthers].Get(), &source, pos.x + 10, pos.y + 10, LayerDepth(kLayerPlain),
                  0xFF000000u | static_cast<std::uint32_t>(hex.x * 256 + hex.y));
    };
    SetView(0.5f, kWidth / 2, kHeight / 2);
  }
  void TearDown() override {
    if (batch_.InBatch()) batch_.End();
    g_MapDrawHooks = {};
    g_pWorld = nullptr;
    world_.reset();
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
    g_Settings = settings_;
    ResetSpriteDepthTable();
    plat::SetClock(nullptr);
  }

  void BuildWorld() {
    cMap& map = Map();
    map.SetWidth(kWidth);
    map.SetHeight(kHeight);
    map.CreateHexes();
    map.ResetEyeCandies();
    unsigned seed = 99;
    auto next = [&seed] {
      seed = seed * 214013u + 2531011u;
      return (seed >> 16) & 0x7FFF;
    };
    for (sHex& c : map.Hexes()) {
      c.tileVariant = static_cast<std::uint8_t>(next() % 6);
      if (c.x < 2 || c.y < 2 || next() % 11 == 0) {
        c.terrain = kTerrainWater;
        c.seaZone = static_cast<std::uint16_t>(1 + c.x / 10);
        if (next() % 5 == 0) c.seaNode = 1;
        continue;
      }
      c.terrain = static_cast<std::uint8_t>(1 + next() % 7);
      c.owner = c.controller = static_cast<std::uint8_t>(1 + c.x / 14);
      if (next() % 4 == 0) c.seaZone = 3;
      if (next() % 6 == 0) c.riverMask = static_cast<std::uint8_t>(1u << (next() % 6));
      if (next() % 9 == 0) c.fortification = static_cast<std::uint8_t>(1 + next() % 3);
      if (next() % 13 == 0) c.unit = FakeUnit();
      c.weather = next() % 4 == 0 ? 2 : 0;
    }
    map.AddRiverMouths();
    for (std::uint32_t id = 1; id <= 3; ++id) {
      twtest::AddCountry(*world_, static_cast<int>(id)).colour[0] = 0x00302010u * id;
    }
    for (int y = 3; y < kHeight; y += 5) {
      for (int x = 3; x < kWidth; x += 7) {
        if (!map.GetHex(x, y).IsWater()) twtest::AddCity(*world_, x, y);
      }
    }
    map.RefreshBorderFlags(*world_);
  }

  // The hook draws from the cell alone: the unit is only a marker.
  using UnitPointer = decltype(sHex::unit);
  static UnitPointer FakeUnit() {
    alignas(16) static unsigned char storage[16];
    return reinterpret_cast<UnitPointer>(storage);
  }

  cMap& Map() { return world_->GetMap(); }

  // The loader fills the decorations; the map offers them read-only.
  sEyeCandy& Decoration(int x, int y) {
    auto& all = const_cast<std::vector<sEyeCandy>&>(Map().EyeCandies());
    return all[static_cast<std::size_t>(y) * kWidth + x];
  }
  static sEyeCandy Decorated(std::uint32_t left, std::uint32_t top, float scale) {
    sEyeCandy e;
    e.Reset();
    for (int w = 0; w < 3; ++w) {
      e.words[2 * w] = left;
      e.words[2 * w + 1] = top;
    }
    e.scale = scale;
    return e;
  }

  void SetView(float zoom, int x, int y) {
    g_MapTargetScale = zoom;
    g_Settings.MapZoom = zoom + 0.25f;
    Map().CenterAtHex(x, y);
    Map().UpdateView(1.0f);
  }

  // The visible cells one by one, drawn at once, as the map frame places
  // them.
  void DrawReference() {
    const cMap& map = Map();
    const plat::Matrix2D saved = batch_.GetTransform();
    const sMatrix4& m = map.viewTransform;
    batch_.SetTransform({m.m[0][0], m.m[0][1], m.m[1][0], m.m[1][1], m.m[3][0], m.m[3][1]});
    const float scale = g_Settings.MapZoom;
    const int ox = static_cast<int>(static_cast<float>(g_Settings.ResolutionX) / (2.0f * scale) - map.viewX);
    const int oy = static_cast<int>(static_cast<float>(g_Settings.ResolutionY) / (2.0f * scale) - map.viewY);
    int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    map.VisibleRange(c0, c1, r0, r1);
    const int phase = static_cast<int>((plat::GetTickCount() / 100) % 6);
    for (int y = r0; y < r1; ++y) {
      for (int x = c0; x < c1; ++x) {
        const sHex& hex = map.GetHex(x, y);
        const sEyeCandy& eyeCandy = map.EyeCandies()[static_cast<std::size_t>(y) * kWidth + x];
        sHexScreenPos pos;
        pos.x = static_cast<float>(x * kHexColumnWidth + ox);
        pos.y = static_cast<float>(y * kHexRowHeight + oy + (IsOddColumn(x) ? 0 : kHexEvenColumnDrop));
        DrawCellNow(batch_, hex, pos, eyeCandy, phase, g_Settings.MapMode);
      }
    }
    batch_.SetTransform(saved);
  }

  std::vector<DrawRecord> Frame(bool reference) {
    renderer_.records.clear();
    batch_.Begin();
    if (reference) {
      DrawReference();
    } else {
      Map().Render(batch_);
    }
    batch_.End();
    return std::move(renderer_.records);
  }

  sSettings settings_;
  plat::ManualClock clock_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  plat::SpriteBatch batch_{renderer_};
  std::unique_ptr<cWorld> world_;
};

TEST_F(MapPictures, EveryModeMatchesTheCellByCellDrawingOnFirstAndLaterFrames) {
  for (int mode : {0, 1, 2, 3, 0}) {
    g_Settings.MapMode = mode;
    ASSERT_GT(Frame(true).size(), 500u);
    EXPECT_EQ(FirstDifference(Frame(false), Frame(true)), -1) << "mode " << mode;
    clock_.Advance(100);  // the next animation step: cities change, the kept pictures stay
    EXPECT_EQ(FirstDifference(Frame(false), Frame(true)), -1) << "mode " << mode << ", later";
  }
}

TEST_F(MapPictures, EachChangeShowsOnTheNextFrame) {
  cMap& map = Map();
  sHex& cell = map.GetHex(20, 15);
  cell.terrain = kTerrainPlain;
  cell.city = nullptr;
  cell.unit = nullptr;
  cell.owner = cell.controller = 1;
  map.RefreshBorderFlags(*world_);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"terrain", [&] { cell.terrain = kTerrainMountain; }},
      {"weather", [&] { cell.weather = 1; }},
      {"river", [&] { cell.riverMask = 2; }},
      {"mark", [&] { SetHexMark(map, cell, 8, -1); }},
      {"mark cleared", [&] { ClearHexMark(map, cell, 8, true); }},
      {"fortification", [&] { cell.fortification = 2; }},
      {"owner", [&] { SetHexOwner(map, cell, 3); }},
      {"controller", [&] { SetHexController(map, cell, 2); }},
      {"unit", [&] { cell.unit = FakeUnit(); }},
      {"decoration", [&] { Decoration(20, 15) = Decorated(2, 3, 0.8f); }},
      // Off the sheet (bad data): a source beyond what the kept form holds.
      {"decoration off the sheet", [&] { Decoration(20, 15) = Decorated(33000u, 100u, 0.8f); }},
      {"decoration hides a layer", [&] { Decoration(20, 15).alpha = g_SpriteDepths[kLayerMountain].level; }},
      {"country colour", [&] { world_->GetCountry(2)->colour[0] = 0x00ABCDEFu; }},
      {"scroll", [&] { map.viewX += 7.0f; }},
      {"zoom", [&] { SetView(0.3f, kWidth / 2, kHeight / 2); }},
      {"grid setting", [] { g_Settings.ShowGrid = false; }},
      {"ownership setting", [] { g_Settings.MapOwnershipMode = 1; }},
      {"skin depths", [] { g_SpriteDepths[kLayerWeather].depth = 0.05f; }},
      {"skin sheet", [] { g_Textures[kSlotOthers].Create(2004, 2004); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    Frame(false);  // the pictures are kept
    const auto before = Frame(true);
    change();
    const auto after = Frame(true);
    ASSERT_NE(FirstDifference(before, after), -1) << "the change does not show";
    EXPECT_EQ(FirstDifference(Frame(false), after), -1);
  }
}

TEST_F(MapPictures, DecorationWordsBeyondTheIntegerRangeAreLeftOut) {
  const auto plain = Frame(true);
  Decoration(20, 15) = Decorated(0x7FFFFFF0u, 0x7FFFFFFFu, 0.8f);
  Decoration(21, 15) = Decorated(5u, 0x7FFFFF90u, 0.8f);
  EXPECT_EQ(FirstDifference(Frame(true), plain), -1);
  EXPECT_EQ(FirstDifference(Frame(false), plain), -1);
}

TEST_F(MapPictures, RowsChangedWhileOutOfViewRedrawWhenBack) {
  SetView(0.5f, 12, 6);
  const auto top = Frame(true);
  Frame(false);
  SetView(0.5f, 12, 24);  // the top rows leave the view, their pictures stay kept
  EXPECT_EQ(FirstDifference(Frame(false), Frame(true)), -1);
  sHex& cell = Map().GetHex(12, 3);
  cell.terrain = cell.terrain == kTerrainDesert ? kTerrainSwamp : kTerrainDesert;
  SetView(0.5f, 12, 6);
  const auto changed = Frame(true);
  ASSERT_NE(FirstDifference(top, changed), -1);
  EXPECT_EQ(FirstDifference(Frame(false), changed), -1);
  SetView(0.5f, 12, 24);
  Frame(false);
  world_->GetCountry(1)->colour[0] = 0x00123456u;
  SetView(0.5f, 12, 6);
  EXPECT_EQ(FirstDifference(Frame(false), Frame(true)), -1);
}

TEST_F(MapPictures, ChangeBetweenTwoFramesOfOneBatchKeepsTheFirstIntact) {
  sHex& cell = Map().GetHex(12, 9);
  const std::uint8_t oldTerrain = cell.terrain;
  const std::uint8_t newTerrain = oldTerrain == kTerrainForest ? kTerrainHill : kTerrainForest;
  Frame(false);
  auto twice = [&](bool reference) {
    cell.terrain = oldTerrain;
    renderer_.records.clear();
    batch_.Begin();
    reference ? DrawReference() : Map().Render(batch_);
    cell.terrain = newTerrain;
    reference ? DrawReference() : Map().Render(batch_);
    batch_.End();
    return std::move(renderer_.records);
  };
  const auto reference = twice(true);
  EXPECT_EQ(FirstDifference(twice(false), reference), -1);
}

// With a renderer that keeps pictures, the far layers of the map (those
// under the cities) are drawn once and shown again from the kept picture
// while nothing they show changes, the cities' animation going on over
// them; a hex that changes owner, a scroll and a zoom draw them anew, as
// the cell-by-cell drawing has them.
TEST_F(MapPictures, KeptFarLayersStayUntilAHexChangesOwnerOrTheViewMoves) {
  g_MapDrawHooks.drawUnit = nullptr;  // the fixture's units lie among the terrain
  renderer_.SetKeeping(true);
  const auto cleared = [&] {
    renderer_.records.clear();
    renderer_.Clear(0);
    batch_.Begin();
    Map().Render(batch_);
    batch_.End();
    std::vector<DrawRecord> records = std::move(renderer_.records);
    records.erase(records.begin());  // the clear
    return records;
  };
  // A frame drawn whole (the kept layers drawn as it is kept) matches the
  // reference; the next one shows the kept picture and then the same rest.
  const auto expectKeptAndShown = [&](const char* what) {
    SCOPED_TRACE(what);
    const auto drawn = cleared();
    EXPECT_GT(batch_.KeptDepthsDrawn(), 5u);
    EXPECT_EQ(FirstDifference(drawn, Frame(true)), -1);
    clock_.Advance(100);  // the cities' next step
    const auto reference = Frame(true);
    const auto shown = cleared();
    ASSERT_GT(batch_.KeptDepthsShown(), 5u);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().kind, DrawRecord::kKept);
    ASSERT_LT(shown.size(), reference.size() / 2);  // most of the map comes from the kept picture
    const std::vector<DrawRecord> rest(reference.end() - static_cast<long>(shown.size() - 1), reference.end());
    EXPECT_EQ(FirstDifference(std::vector<DrawRecord>(shown.begin() + 1, shown.end()), rest), -1);
  };
  expectKeptAndShown("first");
  sHex& cell = Map().GetHex(20, 15);
  SetHexOwner(Map(), cell, cell.owner == 1 ? 2 : 1);
  expectKeptAndShown("owner");
  Map().viewX += 7.0f;
  expectKeptAndShown("scroll");
  SetView(0.3f, kWidth / 2, kHeight / 2);
  expectKeptAndShown("zoom");
}

TEST_F(MapPictures, MapGoneBeforeTheBatchEndsStillDrawsItsFrame) {
  const std::size_t expected = Frame(true).size();
  batch_.Begin();
  Map().Render(batch_);
  g_pWorld = nullptr;
  world_.reset();  // the batch still holds the pictures it was given
  batch_.End();
  EXPECT_EQ(renderer_.records.size(), expected);
}


// A skin without its sheets (a game whose map skin could not be loaded):
// nothing of the map is kept, and its units, drawn live, still come out.
TEST_F(MapPictures, AMapWithoutItsSkinsSheetsStillDrawsItsUnits) {
  cTexture units;
  units.Create(64, 64);
  g_MapDrawHooks.drawUnit = [&units](plat::SpriteBatch& sprite, const sHex&, sHexScreenPos pos, int) {
    sprite.Draw(*units.Get(), nullptr, pos.x, pos.y, LayerDepth(kLayerPlain), 0xFFFFFFFFu);
  };
  for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
  std::size_t unitQuads = 0, otherQuads = 0;
  for (const DrawRecord& r : Frame(false)) {
    if (r.kind == DrawRecord::kQuad) ++(r.texture == units.Get()->Id() ? unitQuads : otherQuads);
  }
  EXPECT_GT(unitQuads, 0u);
  EXPECT_EQ(otherQuads, 0u);
}

// One cell drawn alone, with the map's own pictures and details switched off.
class HexDrawing : public MapPictures {
 protected:
  void SetUp() override {
    MapPictures::SetUp();
    g_Settings.ShowWeather = g_Settings.ShowGrid = g_Settings.ShowSeaZonesBorders = false;
    g_Settings.MapOwnershipMode = g_Settings.BorderMode = 0;
    batch_.Begin();
  }
  // The quads drawn since the batch began.
  std::vector<DrawRecord> Flush() {
    batch_.End();
    std::vector<DrawRecord> quads;
    for (const auto& r : renderer_.records)
      if (r.kind == DrawRecord::kQuad) quads.push_back(r);
    renderer_.records.clear();
    return quads;
  }
  // The quads of a sheet with a source rectangle.
  static std::vector<DrawRecord> Find(const std::vector<DrawRecord>& quads, int slot, const plat::RectI& source) {
    std::vector<DrawRecord> found;
    for (const auto& q : quads)
      if (q.texture == g_Textures[slot].Get()->Id() && SameSource(q.source, source)) found.push_back(q);
    return found;
  }
  sEyeCandy eye_;
};

// The cell's elements, their order and depths are covered by the golden
// pictures of the world map (forests under snow, rivers into the sea);
// here what those pictures do not show.
TEST_F(HexDrawing, DecorationHidesTheForestLayerButNotThePlainUnderIt) {
  sHex hex;
  hex.terrain = kTerrainForest;
  hex.tileVariant = 1;
  hex.weather = 1;  // snow
  eye_.alpha = g_SpriteDepths[kLayerForest].level;
  DrawCellNow(batch_, hex, {10, 20, 0}, eye_, 0);
  const auto quads = Flush();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(Find(quads, kSlotTerrain, S::Terrain(kTerrainPlain, 1, 1)).size(), 1u);
}

// The colours the pictures' settings leave out.
TEST_F(HexDrawing, OwnershipTintsAndBordersTakeTheirColoursWithFullAlpha) {
  world_->GetCountry(1)->colour[0] = 0x00112233;
  world_->GetCountry(2)->colour[0] = 0x80445566;
  g_Settings.MapOwnershipMode = 3;
  g_Settings.BorderMode = 2;
  g_Settings.BorderColor = 0xFFAA0000;
  sHex hex;
  hex.terrain = kTerrainPlain;
  hex.controller = 1;
  hex.owner = 2;
  hex.borderFlags = 1;  // owner border on side 1
  DrawCellNow(batch_, hex, {0, 0, 0}, eye_, 0);
  const auto quads = Flush();
  const std::pair<plat::RectI, std::uint32_t> expected[] = {
      {S::ControllerTint(), 0xFF112233u}, {S::OwnerTint(), 0xFF445566u}, {S::Border(1), 0xFFAA0000u}};
  for (const auto& [source, argb] : expected) {
    const auto found = Find(quads, kSlotOthers, source);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].argb, argb);
    EXPECT_FLOAT_EQ(found[0].depth, LayerDepth(SameSource(source, S::Border(1)) ? kLayerBorders : kLayerTint));
  }
}

// A strike's target is mostly a unit: its mark is drawn over the counter
// too, nearer than the unit; a mark that is no target (the sea zone's)
// stays under it.
TEST_F(HexDrawing, TargetMarksShowOverTheUnitOnTheHex) {
  cJednostkaLadowa unit(world_.get());
  sHex hex;
  hex.terrain = kTerrainPlain;
  hex.unit = &unit;
  hex.markBits = 0x400u;  // a bombardment target
  DrawCellNow(batch_, hex, {0, 0, 0}, eye_, 0);
  auto marks = Find(Flush(), kSlotOthers, S::Mark(10));
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_FLOAT_EQ(marks[0].depth, LayerDepth(kLayerMarks));
  EXPECT_LT(marks[1].depth, LayerDepth(kLayerUnits));
  hex.markBits = 0x4000u;
  batch_.Begin();
  DrawCellNow(batch_, hex, {0, 0, 0}, eye_, 0);
  marks = Find(Flush(), kSlotOthers, S::Mark(14));
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_FLOAT_EQ(marks[0].depth, LayerDepth(kLayerMarks));
  hex.unit = nullptr;
}

TEST_F(HexDrawing, WaterKeepsItsFirstWeatherRowAndBadLandMasksDrawNoRiver) {
  sHex water;
  water.terrain = kTerrainWater;
  water.tileVariant = 1;
  water.weather = 1;
  water.riverMask = kRiverMouthBit | 1 | 32;
  DrawCellNow(batch_, water, {0, 0, 0}, eye_, 0);
  auto quads = Flush();
  EXPECT_EQ(quads.size(), 3u);  // the water and two mouths
  EXPECT_EQ(Find(quads, kSlotTerrain, S::Terrain(kTerrainWater, 1, 0)).size(), 1u);
  // A land cell's mask above 63 means no river at all.
  sHex land;
  land.terrain = kTerrainPlain;
  land.riverMask = 64 | 2;
  batch_.Begin();
  DrawCellNow(batch_, land, {0, 0, 0}, eye_, 0);
  EXPECT_EQ(Flush().size(), 1u);
}

}  // namespace

// A city's name lies in front of the counters (the skin keeps it clear of
// the counter on its own hex; a long one reaches under its neighbours') and
// behind the selected unit.
TEST_F(HexDrawing, CityNameLiesInFrontOfTheUnitsAndBehindTheSelectedOne) {
  plat::RecordingFont font(renderer_, 12);
  sCityAppearance& look = *g_CityAppearance.current;
  const bool wasValid = look.valid[6];
  const plat::RectI wasBox = look.box[6];
  plat::Font* const wasFont = look.text[0].font;
  look.valid[6] = true;
  look.box[6] = {0, 120, 166, 140};
  look.text[0].font = &font;
  const bool showName = g_Settings.ShowCityName;
  g_Settings.ShowCityName = true;
  cCity city;
  city.name = L"Kiel";
  sHex hex;
  hex.terrain = kTerrainPlain;
  hex.city = &city;
  DrawCellNow(batch_, hex, {0, 0, 0}, eye_, 0);
  batch_.End();
  std::vector<float> nameDepths;
  for (const auto& r : renderer_.records)
    if (r.kind == DrawRecord::kText && r.text == L"Kiel") nameDepths.push_back(r.depth);
  renderer_.records.clear();
  look.valid[6] = wasValid;
  look.box[6] = wasBox;
  look.text[0].font = wasFont;
  g_Settings.ShowCityName = showName;
  ASSERT_EQ(nameDepths.size(), 2u);  // the shadow and the name
  for (float depth : nameDepths) {
    EXPECT_LT(depth, LayerDepth(kLayerUnits)) << "in front of the counters (larger depths are drawn first)";
    EXPECT_GT(depth, LayerDepth(kLayerSelectedUnit)) << "behind the selected unit";
  }
  batch_.Begin();
  EXPECT_EQ(batch_.GetTextDepth(), 0.0f) << "each batch starts with its text in front";
}
