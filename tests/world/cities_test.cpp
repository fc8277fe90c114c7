#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "city_fixture.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/cities.h"

using twtest::CityWorld;

namespace {

// The city stands on (2, 2), an even column: its neighbours in directions
// 0..5 are (2, 1), (3, 2), (3, 3), (2, 3), (1, 3), (1, 2). Here (1, 2),
// (3, 2), (1, 3) and (3, 3) are water.
constexpr const char* kSiegeMap =
    "size 5 5\nterrain\nppppp\nppppp\np~p~p\np~p~p\nppppp\nowner\n"
    "1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n";

// Country 1 Allies, 2 Axis (at war with 1), 3 neutral, 4 leader of the Allies.
void SetUpSides(CityWorld& w) {
  w.AddCountries({1, 2, 0, 4});
  w.War(1, 2);
}

}  // namespace

TEST(City, RecordCopyAndHexQueries) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Warszawa", 2, 2, kCitySupplyPort);
  EXPECT_EQ(w.world.GetMap().GetHex(2, 2).city, c);
  w.world.GetMap().GetHex(2, 2).owner = 3;
  w.world.GetMap().GetHex(2, 2).originalOwner = 4;
  w.Control(2, 2, 2);
  EXPECT_EQ(c->GetControllerId(), 2);
  EXPECT_EQ(c->GetOwnerId(), 3);
  EXPECT_EQ(c->GetOriginalOwnerId(), 4);

  c->graphNode = 5;
  c->supplyInfo = {1, 2};
  c->convoyInfo = {1};
  c->hopCounts = {0, 1};
  c->productionPoints = 2.5f;
  const cCity copy(*c);
  EXPECT_EQ(copy.GetName(), L"Warszawa");
  EXPECT_EQ(copy.graphNode, 5);
  EXPECT_FLOAT_EQ(copy.productionPoints, 2.5f);
  EXPECT_TRUE(copy.supplyInfo.empty() && copy.convoyInfo.empty() && copy.hopCounts.empty());

  // Types 2 and 3 are ports; a fresh city has no node.
  EXPECT_TRUE(c->IsPort());
  c->type = kCityPort;
  EXPECT_TRUE(c->IsPort());
  c->type = kCitySupply;
  EXPECT_FALSE(c->IsPort());
  EXPECT_EQ(cCity().graphNode, -1);

  cCity longName;
  longName.SetName(std::wstring(150, L'x'));
  EXPECT_EQ(longName.GetName().size(), kCityNameMax);

  // A city off the map answers "nobody" instead of reading a wrong hex.
  cCity off;
  off.x = 40;
  EXPECT_EQ(off.GetControllerId(), 0);
}

TEST(City, SeaNodeOfAPortAndTheMissingNodeExit) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Gdynia", 2, 1, kCityPort);
  // Nodes 1 and 3 sit on other hexes; 2 and 4 both on the port: the first wins.
  auto& nodes = w.world.GetSeaGraph().Nodes();
  const int hexes[4][2] = {{0, 0}, {2, 1}, {4, 4}, {2, 1}};
  for (int i = 0; i < 4; ++i) {
    nodes.emplace_back();
    nodes.back().id = i + 1;
    nodes.back().x = hexes[i][0];
    nodes.back().y = hexes[i][1];
  }
  EXPECT_EQ(c->GetSeaNodeId(), 2);
  c->y = 3;
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(c->GetSeaNodeId(), ::testing::ExitedWithCode(1), "");
}

TEST(City, BesiegedNeedsTwoWarringNeighboursAndNoEmptyLand) {
  CityWorld w(kSiegeMap);
  SetUpSides(w);
  cCity* c = w.AddCity(L"Modlin", 2, 2, kCityNormal);

  // Without a garrison there is no siege.
  w.PlaceUnit(2, 1, 2);
  w.PlaceUnit(2, 3, 2);
  EXPECT_FALSE(c->IsBesieged());

  w.PlaceUnit(2, 2, 1);
  EXPECT_TRUE(c->IsBesieged());

  // One besieger with only water besides it is not enough.
  w.world.GetMap().GetHex(2, 3).unit = nullptr;
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainWater;
  EXPECT_FALSE(c->IsBesieged());

  // An empty land neighbour breaks any siege.
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainPlain;
  w.PlaceUnit(2, 3, 2);
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainPlain;
  EXPECT_FALSE(c->IsBesieged());
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainWater;
  EXPECT_TRUE(c->IsBesieged());

  // A neighbour not at war with the holder (a neutral) breaks it too.
  w.PlaceUnit(2, 3, 3);
  EXPECT_FALSE(c->IsBesieged());
}

TEST(City, BesiegedOnAHexWithoutControllerIsNeverTrue) {
  CityWorld w(kSiegeMap);
  SetUpSides(w);
  cCity* c = w.AddCity(L"Nowhere", 2, 2, kCityNormal);
  w.Control(2, 2, 0);
  w.PlaceUnit(2, 2, 1);
  w.PlaceUnit(2, 1, 2);
  w.PlaceUnit(2, 3, 2);
  EXPECT_FALSE(c->IsBesieged());
}

TEST(City, FreeFriendlyHexPrefersTheCityThenNeighboursInDirectionOrder) {
  CityWorld w("size 5 5\nterrain\nppppp\nppppp\nppppp\nppppp\nppppp\nowner\n"
              "1 1 1 1 1\n1 1 1 1 1\n1 1 1 2 1\n1 3 1 4 1\n1 1 1 1 1\n");
  SetUpSides(w);
  cCity* c = w.AddCity(L"Krakow", 2, 2, kCitySupply);
  int x = 0, y = 0;
  c->FindFreeFriendlyHex(x, y, w.Country(1));
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 2);

  // City hex taken: direction 0 (2, 1) holds a unit, 1 (3, 2) is the enemy's,
  // 2 (3, 3) the allied leader's.
  w.PlaceUnit(2, 2, 1);
  w.PlaceUnit(2, 1, 1);
  c->FindFreeFriendlyHex(x, y, w.Country(1));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 3);

  // Water and hexes without controller are passed over.
  w.world.GetMap().GetHex(3, 3).terrain = kTerrainWater;
  w.Control(2, 3, 0);
  c->FindFreeFriendlyHex(x, y, w.Country(1));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);

  // A neutral is friendly only to itself: its own hex (1, 3) in direction 4.
  c->FindFreeFriendlyHex(x, y, w.Country(3));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 3);
  w.PlaceUnit(1, 3, 3);
  c->FindFreeFriendlyHex(x, y, w.Country(3));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
}

TEST(City, EnclosedWhenNoNeighbourIsEmptyLand) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Hel", 2, 2, kCityPort);
  EXPECT_FALSE(c->IsEnclosed());
  w.PlaceUnit(2, 1, 1);
  EXPECT_FALSE(c->IsEnclosed());
  w.PlaceUnit(2, 3, 1);
  EXPECT_TRUE(c->IsEnclosed());
}

namespace {

bool SameRect(const plat::RectI& a, const plat::RectI& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class CityDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = g_Settings;
    g_Textures[kSlotOthers].Create(2004, 2004);
    font_ = renderer_.CreateFont(L"Arial", 10, 400);
    sCityAppearance& look = g_CityAppearance.entries[0];
    for (int i = 0; i < 6; ++i) {
      look.source[i] = {1000 + 20 * i, 10, 1000 + 20 * i + 16, 22};  // 16 x 12 icons
      look.box[i] = {i * 10, 5, i * 10 + 8, 11};
      look.valid[i] = true;
    }
    for (int i = 6; i < 9; ++i) {
      look.box[i] = {0, 40 + 10 * (i - 6), 60, 48 + 10 * (i - 6)};
      look.valid[i] = true;
      look.text[i - 6].font = font_.get();
      look.text[i - 6].color = 0xFF000000u + static_cast<std::uint32_t>(i);
      look.text[i - 6].color2 = 0xFF000100u + static_cast<std::uint32_t>(i);
    }
    g_CityAppearance.current = &look;
  }
  void TearDown() override {
    g_CityAppearance.Reset();
    g_Textures[kSlotOthers].Release();
    g_Settings = settings_;
  }
  void Draw(const cCity& city, bool tile, int variant) {
    renderer_.records.clear();
    batch_.Begin();
    city.Draw(batch_, 100, 200, 0.5f, tile, variant);
    batch_.End();
  }
  std::vector<plat::RectI> QuadSources() const {
    std::vector<plat::RectI> out;
    for (const auto* q : renderer_.Quads()) out.push_back(q->source);
    return out;
  }
  std::vector<std::pair<std::wstring, std::uint32_t>> Texts() const {
    std::vector<std::pair<std::wstring, std::uint32_t>> out;
    for (const auto* t : renderer_.Texts()) out.emplace_back(t->text, t->argb);
    return out;
  }

  sSettings settings_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  plat::SpriteBatch batch_{renderer_};
  std::unique_ptr<plat::Font> font_;
};

}  // namespace

TEST_F(CityDrawing, SupplyPortWithPointsDrawsTileIconsAndLabelsInOrder) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Danzig", 2, 2, kCitySupplyPort);
  c->victoryPoints = 3;
  c->productionPoints = 4.6f;
  w.world.GetMap().GetHex(2, 2).fortification = 2;
  g_Settings.ShowCityName = true;
  Draw(*c, true, 4);  // variant 4: the second city tile

  const auto& look = *g_CityAppearance.current;
  plat::RectI fort = look.source[1];
  fort.top += 24;
  fort.bottom += 24;
  const std::vector<plat::RectI> expected{{168, 502, 334, 668}, look.source[0], fort, look.source[2],
                                          look.source[3], look.source[5]};
  const auto sources = QuadSources();
  ASSERT_EQ(sources.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(SameRect(sources[i], expected[i])) << i;
  const auto quads = renderer_.Quads();
  EXPECT_FLOAT_EQ(quads[1]->corners[0].x, 100.0f);  // box B0 at the position
  EXPECT_FLOAT_EQ(quads[1]->corners[0].y, 205.0f);
  EXPECT_FLOAT_EQ(quads[1]->depth, 0.5f);

  // Shadow first, then the text: victory points, production, name.
  const std::vector<std::pair<std::wstring, std::uint32_t>> texts{
      {L"3", 0xFF000108u}, {L"3", 0xFF000008u}, {L"5", 0xFF000107u},
      {L"5", 0xFF000007u}, {L"Danzig", 0xFF000106u}, {L"Danzig", 0xFF000006u}};
  EXPECT_EQ(Texts(), texts);
}

TEST_F(CityDrawing, EmptyCityAndResourceSite) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Lodz", 2, 2, kCityNormal);
  g_Settings.ShowCityName = false;
  Draw(*c, false, 0);
  const auto& look = *g_CityAppearance.current;
  auto sources = QuadSources();
  ASSERT_EQ(sources.size(), 2u);  // city icon and the level-0 fortification icon
  EXPECT_TRUE(SameRect(sources[0], look.source[0]));
  EXPECT_TRUE(SameRect(sources[1], look.source[1]));
  EXPECT_TRUE(Texts().empty());

  c->type = kCityResources;
  Draw(*c, true, 3);
  sources = QuadSources();
  ASSERT_EQ(sources.size(), 4u);
  EXPECT_TRUE(SameRect(sources[0], {669, 502, 835, 668}));
  EXPECT_TRUE(SameRect(sources[3], look.source[4]));
}
