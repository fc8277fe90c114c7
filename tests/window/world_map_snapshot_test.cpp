// A 20 x 15 fixture map with a few land units, drawn by the hex drawing with
// the shipped map and unit skins in the software renderer (800 x 600), at
// zoom 1.0 and 0.5, compared with the committed
// pictures tests/data/golden/world_map_zoom{100,50}.png
// (TW_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "sdl_fixture.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/landings.h"
#include "world/map.h"
#include "world/map_text.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// Land in the middle, a western and an eastern sea, an inland lake.
constexpr const char* kTerrain[15] = {
    "~~~~~~~~~~~~~~~~~~~~",  //
    "~~~pppffpp~~~~~~~~~~",  //
    "~~pppffffhhp~~~pph~~",  //
    "~~ppprrpphhmm~ppfp~~",  //
    "~~~pppppppmmmppppf~~",  //
    "~~~sspppdpppp~~pff~~",  //
    "~~~ssppdddpp~~~phh~~",  //
    "~~~~pppddppppppppmm~",  //
    "~~~~~ppppffppprpppp~",  //
    "~~~~~~pppfffpppppp~~",  //
    "~~~~~~~ppppphhpp~~~~",  //
    "~~~~~~~~pppppp~~~~~~",  //
    "~~~~~~~~~ppp~~~~~~~~",  //
    "~~~~~~~~~~~~~~~~~~~~",  //
    "~~~~~~~~~~~~~~~~~~~~",  //
};

std::string FixtureText() {
  std::ostringstream s;
  s << "size 20 15\nterrain\n";
  for (const char* row : kTerrain) s << row << "\n";
  const auto grid = [&](const char* name, int (*value)(int x, int y, bool water)) {
    s << name << "\n";
    for (int y = 0; y < 15; ++y) {
      for (int x = 0; x < 20; ++x) s << value(x, y, kTerrain[y][x] == '~') << (x < 19 ? " " : "\n");
    }
  };
  // Country 1 holds the west, 2 the east, 3 the south.
  grid("owner", [](int x, int y, bool water) { return water ? 0 : y >= 8 ? 3 : x < 10 ? 1 : 2; });
  // Sea zone 1 is the western sea, 2 the eastern, 3 the lake.
  grid("seazone", [](int x, int y, bool water) {
    if (!water) return 0;
    if (x >= 12 && x <= 14 && y >= 5 && y <= 6) return 3;
    return x + y < 17 || (x < 9 && y > 9) ? 1 : 2;
  });
  grid("variant", [](int x, int y, bool) { return (x * 7 + y * 3) % 6; });
  // A river from the hills down to the southern coast, and one into the lake.
  s << "river 9 2 8\nriver 9 3 8\nriver 9 4 4\nriver 10 5 8\nriver 10 6 8\nriver 10 7 8\nriver 10 8 4\n"
       "river 11 9 8\nriver 11 10 8\n";
  s << "river 15 3 4\nriver 16 4 8\n";
  s << "fort 8 6 2\nfort 13 4 1\nfort 6 9 3\n";
  // Snow in the north-east, mud in the south.
  for (int x = 14; x < 20; ++x)
    for (int y = 1; y < 4; ++y) s << "weather " << x << " " << y << " 1\n";
  for (int x = 7; x < 14; ++x) s << "weather " << x << " 11 2\n";
  return s.str();
}

// A land unit of the fixture: the fields the counters show.
struct sUnitRow {
  const wchar_t* name;
  int country, type, level, x, y;
  int actionPoints = 0, supply = 20, freezeTime = 0;
  bool attacked = false, wasAttacked = false;
};

class WorldMapSnapshot : public twtest::SdlTest, public ::testing::WithParamInterface<int> {
 protected:
  WorldMapSnapshot() : SdlTest(800, 600) {}
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    plat::SetClock(&clock_);
    settings_ = g_Settings;
    LoadSkin();
    BuildWorld();
  }
  void TearDown() override {
    g_MapDrawHooks = {};
    g_pWorld = nullptr;
    world_.reset();  // before the units its hexes point to
    units_.clear();
    LandUnitConstants() = landConstants_;
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies, kSlotUnits, kSlotUnitInfo}) g_Textures[slot].Release();
    SetDefaultFlagTexture(nullptr);
    defaultFlag_.Release();
    ReleaseSkinFonts();
    g_CityAppearance.Reset();
    g_LandAppearance.Reset();
    ResetSpriteDepthTable();
    g_Settings = settings_;
    plat::SetClock(nullptr);
    SdlTest::TearDown();
  }

  std::wstring Data(const std::string& file) const { return plat::WidenBytes((root_ / "data/gfx" / file).string()); }
  void LoadSkin() {
    const std::pair<int, const char*> textures[] = {{kSlotTerrain, "[MapSkin]Normal/terrain.png"},
                                                    {kSlotOthers, "[MapSkin]Normal/others.png"},
                                                    {kSlotEyeCandies, "[MapSkin]Normal/eyecandies.png"},
                                                    {kSlotUnits, "[UnitsSkin]Counters/units.png"},
                                                    {kSlotUnitInfo, "[UnitsSkin]Counters/info.png"}};
    for (const auto& [slot, file] : textures) {
      ASSERT_EQ(g_Textures[slot].Load(Data(file).c_str(), cTexture::kFromFile, 1), 0) << file;
    }
    ResetSpriteDepthTable();
    ReadSpriteDepthTable(Data("[MapSkin]Normal/sprites_depth.csv"));
    ASSERT_TRUE(ReadCityAppearanceTable(Data("[MapSkin]Normal/appearance.csv")));
    ASSERT_TRUE(ReadUnitAppearanceTable(Data("[UnitsSkin]Counters/land_units.csv"), g_LandAppearance, kLandTableShape));
    ASSERT_EQ(defaultFlag_.Load(Data("Flags/unknown.png").c_str(), cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&defaultFlag_);
    CreateSkinFonts(renderer_.get());
  }

  void BuildWorld() {
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    cMap& map = world_->GetMap();
    std::string error;
    ASSERT_TRUE(BuildMapFromText(FixtureText(), map, error)) << error;
    map.AddRiverMouths();
    map.AssignCoastalSeaZones();
    map.ResetEyeCandies();
    twtest::AddCountry(*world_, kAxisLeader, L"Varnland").colour[0] = 0x00C03028;
    twtest::AddCountry(*world_, kAlliesLeader, L"Ostmark").colour[0] = 0x003060D0;
    twtest::AddCountry(*world_, kAllies, L"Sudria").colour[0] = 0x0040A040;
    // Three sea zones anchored at a hex, and two ports of sizes 3 and 5 on
    // their city hexes.
    const std::tuple<const wchar_t*, int, int, int> nodes[] = {
        {L"West Sea", 1, 5, 0}, {L"East Sea", 18, 10, 0}, {L"Lake", 13, 6, 0},
        {L"Brenna", 4, 4, 3},   {L"Kessmark", 15, 5, 5}};
    for (const auto& [name, x, y, portSize] : nodes) {
      sWezelGrafuMorz node;
      node.id = world_->GetSeaGraph().GetNodeCount() + 1;
      node.name = name;
      node.x = x;
      node.y = y;
      node.maxSize = node.size = portSize;
      node.isSea = portSize == 0 ? 1 : 0;
      node.ownShipX = node.enemyShipX = portSize == 0 ? -1 : x;
      node.ownShipY = node.enemyShipY = portSize == 0 ? -1 : y;
      world_->GetSeaGraph().Nodes().push_back(node);
    }
    // Sea zones own their water; the ports their city hex.
    for (sHex& hex : map.Hexes()) {
      if (hex.IsWater()) hex.seaNode = hex.seaZone;
    }
    map.GetHex(4, 4).seaNode = 4;
    map.GetHex(15, 5).seaNode = 5;
    const std::tuple<const wchar_t*, int, int, int, int, float> cities[] = {
        {L"Varnholt", 5, 2, kCitySupply, 5, 12.0f}, {L"Brenna", 4, 4, kCitySupplyPort, 2, 6.0f},
        {L"Ostburg", 15, 2, kCitySupply, 4, 10.0f},  {L"Kessmark", 15, 5, kCityPort, 0, 4.0f},
        {L"Oderstal", 9, 10, kCityNormal, 1, 3.0f},  {L"Ironfell", 12, 7, kCityResources, 0, 8.0f}};
    for (const auto& [name, x, y, type, victoryPoints, production] : cities) {
      cCity& city = twtest::AddCity(*world_, x, y, type, name);
      city.victoryPoints = victoryPoints;
      city.productionPoints = production;
    }
    map.RefreshBorderFlags(*world_);
    AddUnits();
  }

  // Varnland's turn: its units show the owner's markers, the others only
  // readiness, commander and frost.
  void AddUnits() {
    landConstants_ = LandUnitConstants();
    for (int level = 0; level < 5; ++level) {
      LandUnitConstants().baseStrength[level] = {4, 8, 6, 12, 8, 16, 5};
      for (float& value : LandUnitConstants().baseStrength[level]) value *= 1.0f + 0.25f * static_cast<float>(level);
    }
    world_->turnState.currentCountry = world_->GetCountry(1);
    world_->largeUnitsSize = 1;
    const sUnitRow rows[] = {
        {L"3rd Panzer", 1, kUnitArmouredCorps, 3, 6, 3, 4},
        {L"7th Motor", 1, kUnitMechanizedDivision, 2, 8, 5, 2, 4},
        {L"Fallschirm", 1, kUnitAirborneDivision, 1, 5, 4, 0, 20, 0, true},
        {L"2nd Rifles", 2, kUnitInfantryDivision, 1, 10, 2, 0, 20, 0, false, true},
        {L"I Guards", 2, kUnitInfantryCorps, 2, 11, 5, 0, 20, 2},
        {L"Sud Motor", 3, kUnitMechanizedCorps, 4, 8, 8},
        {L"Mulberry", 3, kUnitArtificialHarbour, 1, 13, 10},
    };
    for (const sUnitRow& row : rows) {
      auto unit = row.type == kUnitArtificialHarbour ? std::make_unique<cMulberry>(world_.get())
                                                     : std::make_unique<cJednostkaLadowa>(world_.get());
      unit->name = row.name;
      unit->countryId = row.country;
      unit->SetType(row.type);
      unit->level = row.level;
      unit->strength = 100;
      unit->effectiveness = 100;
      unit->supply = row.supply;
      unit->visible = true;
      unit->x = row.x;
      unit->y = row.y;
      unit->actionPoints = row.actionPoints;
      unit->freezeTime = row.freezeTime;
      unit->attacked = row.attacked;
      unit->wasAttacked = row.wasAttacked;
      world_->GetMap().GetHex(row.x, row.y).unit = unit.get();
      units_.push_back(std::move(unit));
    }
    InstallLandUnitDrawHook();
  }

  void Draw(float zoom, int centreX, int centreY) {
    g_Settings.ResolutionX = 800;
    g_Settings.ResolutionY = 600;
    g_Settings.MapMode = 0;
    g_Settings.ShowWeather = true;
    g_Settings.ShowGrid = true;
    g_Settings.ShowCityName = true;
    g_Settings.ShowAPLeft = false;
    g_Settings.ShowSeaZonesBorders = true;
    g_Settings.MapOwnershipMode = 1;
    g_Settings.BorderMode = 2;
    g_Settings.BorderColor = 0xFFF0E0A0;
    cMap& map = world_->GetMap();
    g_MapTargetScale = zoom;
    g_Settings.MapZoom = zoom + 0.25f;  // eases to the zoom in one step
    map.CenterAtHex(centreX, centreY);
    map.UpdateView(1.0f);
    ASSERT_EQ(g_Settings.MapZoom, zoom);
    SelectMapFontForZoomPercent(static_cast<int>(zoom * 100));
    SelectUnitFontsForZoomPercent(static_cast<int>(zoom * 100));

    renderer_->BeginScene();
    renderer_->Clear(0xFF182028);
    plat::SpriteBatch batch(*renderer_);
    batch.Begin();
    map.Render(batch);
    batch.End();
    renderer_->EndScene();
  }

  plat::ManualClock clock_;
  sSettings settings_;
  std::unique_ptr<cWorld> world_;
  cTexture defaultFlag_;
  std::vector<std::unique_ptr<cJednostkaLadowa>> units_;
  sLandUnitConstants landConstants_;
};

TEST_P(WorldMapSnapshot, MatchesGolden) {
  const int percent = GetParam();
  if (percent == 100) {
    Draw(1.0f, 7, 4);
  } else {
    Draw(0.5f, 10, 7);
  }
  ExpectGolden("world_map_zoom" + std::to_string(percent) + ".png");
}

INSTANTIATE_TEST_SUITE_P(Zooms, WorldMapSnapshot, ::testing::Values(100, 50));

// Varnland's airborne division with its drop targets marked: free land within
// two hexes that is no mountain (the mark of a unit with action points left),
// compared with tests/data/golden/paradrop_marks.png.
using ParadropMarksSnapshot = WorldMapSnapshot;
TEST_F(ParadropMarksSnapshot, MatchesGolden) {
  world_->GetRelations().Reset(world_->GetCountryCount());
  world_->GetRelations().SetAtWar(1, 2, true);
  world_->constants.value172 = 2;
  world_->constants.aircraftRangeFactors.fill(1.0f);
  world_->GetCountry(1)->techLevel[kTechAircraft] = 1;
  cJednostkaLadowa* para = nullptr;
  for (const auto& unit : units_) {
    if (unit->type == kUnitAirborneDivision) para = unit.get();
  }
  ASSERT_NE(para, nullptr);
  para->actionPoints = 3;
  EXPECT_GT(MarkParadropHexes(*world_, *para), 8);
  Draw(1.0f, 5, 4);
  ExpectGolden("paradrop_marks.png");
}

}  // namespace
