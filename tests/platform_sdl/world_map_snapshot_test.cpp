// A 20 x 15 fixture map with a few land units, drawn by the hex drawing with
// the shipped map and unit skins in the software renderer (800 x 600), at
// zoom 1.0 and 0.5, compared with the committed
// pictures tests/data/golden/world_map_zoom{100,50}.png
// (TW_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "golden_compare.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_ladowa_draw.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/hex_drawing.h"
#include "world/map.h"
#include "world/map_text.h"
#include "world/sea_graph.h"

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

// Country 1 holds the west, 2 the east, 3 the south.
int OwnerOf(int x, int y) {
  if (kTerrain[y][x] == '~') return 0;
  if (y >= 8) return 3;
  return x < 10 ? 1 : 2;
}

// Sea zone 1 is the western sea, 2 the eastern, 3 the lake.
int SeaZoneOf(int x, int y) {
  if (kTerrain[y][x] != '~') return 0;
  if (x >= 12 && x <= 14 && y >= 5 && y <= 6) return 3;
  return x + y < 17 || (x < 9 && y > 9) ? 1 : 2;
}

std::string FixtureText() {
  std::ostringstream s;
  s << "size 20 15\nterrain\n";
  for (const char* row : kTerrain) s << row << "\n";
  s << "owner\n";
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 20; ++x) s << OwnerOf(x, y) << (x < 19 ? " " : "\n");
  }
  s << "seazone\n";
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 20; ++x) s << SeaZoneOf(x, y) << (x < 19 ? " " : "\n");
  }
  s << "variant\n";
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 20; ++x) s << (x * 7 + y * 3) % 6 << (x < 19 ? " " : "\n");
  }
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

class WorldMapSnapshot : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    renderer_ = plat::sdl::CreateSoftwareRenderer(800, 600);
    ASSERT_TRUE(renderer_);
    frame_.SetRenderer(renderer_.get());
    plat::SetClock(&clock_);
    settings_ = g_Settings;
    root_ = twtest::FindSourceRoot("tests/platform_sdl/world_map_snapshot_test.cpp");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
    LoadSkin();
    BuildWorld();
  }
  void TearDown() override {
    g_MapDrawHooks = {};
    if (world_) {
      for (sHex& hex : world_->GetMap().Hexes()) hex.unit = nullptr;
    }
    units_.clear();
    LandUnitConstants() = landConstants_;
    g_pWorld = nullptr;
    world_.reset();
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies, kSlotUnits, kSlotUnitInfo}) g_Textures[slot].Release();
    SetDefaultFlagTexture(nullptr);
    defaultFlag_.Release();
    ReleaseSkinFonts();
    g_CityAppearance.Reset();
    g_LandAppearance.Reset();
    ResetSpriteDepthTable();
    g_Settings = settings_;
    plat::SetClock(nullptr);
    renderer_.reset();
    SDL_Quit();
  }

  void LoadSkin() {
    const fs::path skin = root_ / "data/gfx/[MapSkin]Normal";
    const auto load = [&](int slot, const char* file) {
      const std::wstring path = plat::WidenBytes((skin / file).string());
      ASSERT_EQ(g_Textures[slot].Load(path.c_str(), cTexture::kFromFile, 1), 0) << file;
    };
    load(kSlotTerrain, "terrain.png");
    load(kSlotOthers, "others.png");
    load(kSlotEyeCandies, "eyecandies.png");
    ResetSpriteDepthTable();
    ReadSpriteDepthTable(plat::WidenBytes((skin / "sprites_depth.csv").string()));
    ASSERT_TRUE(ReadCityAppearanceTable(plat::WidenBytes((skin / "appearance.csv").string())));
    const fs::path units = root_ / "data/gfx/[UnitsSkin]Counters";
    const auto loadUnits = [&](int slot, const char* file) {
      const std::wstring path = plat::WidenBytes((units / file).string());
      ASSERT_EQ(g_Textures[slot].Load(path.c_str(), cTexture::kFromFile, 1), 0) << file;
    };
    loadUnits(kSlotUnits, "units.png");
    loadUnits(kSlotUnitInfo, "info.png");
    ASSERT_TRUE(ReadUnitAppearanceTable(plat::WidenBytes((units / "land_units.csv").string()), g_LandAppearance,
                                        kLandTableShape));
    const std::wstring flag = plat::WidenBytes((root_ / "data/gfx/Flags/unknown.png").string());
    ASSERT_EQ(defaultFlag_.Load(flag.c_str(), cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&defaultFlag_);
    CreateSkinFonts(renderer_.get());
  }

  void AddCountry(const wchar_t* name, int alliance, std::uint32_t colour) {
    twtest::AddCountry(*world_, alliance, name).colour[0] = colour;
  }

  void AddCity(const wchar_t* name, int x, int y, int type, int victoryPoints, float production) {
    cCity& city = twtest::AddCity(*world_, x, y, type, name);
    city.victoryPoints = victoryPoints;
    city.productionPoints = production;
  }

  // A sea zone anchored at (x, y), or a port on a city hex.
  void AddSeaNode(const wchar_t* name, int x, int y, int portSize) {
    cSeaGraph& graph = world_->GetSeaGraph();
    sWezelGrafuMorz node;
    node.id = graph.GetNodeCount() + 1;
    node.name = name;
    node.x = x;
    node.y = y;
    node.maxSize = node.size = portSize;
    node.isSea = portSize == 0 ? 1 : 0;
    node.ownShipX = node.enemyShipX = portSize == 0 ? -1 : x;
    node.ownShipY = node.enemyShipY = portSize == 0 ? -1 : y;
    graph.Nodes().push_back(node);
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
    AddCountry(L"Varnland", kAxisLeader, 0x00C03028);
    AddCountry(L"Ostmark", kAlliesLeader, 0x003060D0);
    AddCountry(L"Sudria", kAllies, 0x0040A040);
    AddSeaNode(L"West Sea", 1, 5, 0);
    AddSeaNode(L"East Sea", 18, 10, 0);
    AddSeaNode(L"Lake", 13, 6, 0);
    AddSeaNode(L"Brenna", 4, 4, 3);
    AddSeaNode(L"Kessmark", 15, 5, 5);
    // Sea zones own their water; the ports their city hex.
    for (sHex& hex : map.Hexes()) {
      if (hex.IsWater()) hex.seaNode = hex.seaZone;
    }
    map.GetHex(4, 4).seaNode = 4;
    map.GetHex(15, 5).seaNode = 5;
    AddCity(L"Varnholt", 5, 2, kCitySupply, 5, 12.0f);
    AddCity(L"Brenna", 4, 4, kCitySupplyPort, 2, 6.0f);
    AddCity(L"Ostburg", 15, 2, kCitySupply, 4, 10.0f);
    AddCity(L"Kessmark", 15, 5, kCityPort, 0, 4.0f);
    AddCity(L"Oderstal", 9, 10, kCityNormal, 1, 3.0f);
    AddCity(L"Ironfell", 12, 7, kCityResources, 0, 8.0f);
    map.RefreshBorderFlags();
    AddUnits();
  }

  cJednostkaLadowa& AddUnit(std::unique_ptr<cJednostkaLadowa> unit, const wchar_t* name, int country, int type,
                            int level, int x, int y) {
    unit->name = name;
    unit->countryId = country;
    unit->SetType(type);
    unit->level = level;
    unit->strength = 100;
    unit->effectiveness = 100;
    unit->supply = 20;
    unit->visible = true;
    unit->x = x;
    unit->y = y;
    world_->GetMap().GetHex(x, y).unit = unit.get();
    units_.push_back(std::move(unit));
    return *units_.back();
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
    AddUnit(std::make_unique<cJednostkaLadowa>(), L"3rd Panzer", 1, kUnitArmouredCorps, 3, 6, 3).actionPoints = 4;
    cJednostkaLadowa& mech = AddUnit(std::make_unique<cJednostkaLadowa>(), L"7th Motor", 1,
                                     kUnitMechanizedDivision, 2, 8, 5);
    mech.actionPoints = 2;
    mech.supply = 4;
    AddUnit(std::make_unique<cJednostkaLadowa>(), L"Fallschirm", 1, kUnitAirborneDivision, 1, 5, 4).attacked = true;
    cJednostkaLadowa& rifles = AddUnit(std::make_unique<cJednostkaLadowa>(), L"2nd Rifles", 2,
                                       kUnitInfantryDivision, 1, 10, 2);
    rifles.wasAttacked = true;
    AddUnit(std::make_unique<cJednostkaLadowa>(), L"I Guards", 2, kUnitInfantryCorps, 2, 11, 5).freezeTime = 2;
    AddUnit(std::make_unique<cJednostkaLadowa>(), L"Sud Motor", 3, kUnitMechanizedCorps, 4, 8, 8);
    AddUnit(std::make_unique<cMulberry>(), L"Mulberry", 3, kUnitArtificialHarbour, 1, 13, 10);
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

  twtest::TempDir dir_;
  twtest::FakeFramework frame_;
  plat::ManualClock clock_;
  std::unique_ptr<plat::sdl::SdlRenderer> renderer_;
  sSettings settings_;
  fs::path root_;
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
  const std::string name = "world_map_zoom" + std::to_string(percent) + ".png";
  if (!twtest::CompareWithGolden(*renderer_, root_ / "tests/data/golden" / name, dir_.File(name))) {
    GTEST_SKIP() << "golden picture rewritten";
  }
}

INSTANTIATE_TEST_SUITE_P(Zooms, WorldMapSnapshot, ::testing::Values(100, 50));

}  // namespace
