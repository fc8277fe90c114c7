// The ships' counters drawn with the shipped unit skin in the software
// renderer: the six types of two countries, whole and damaged, with the
// battle markers, and one drawn into a dialog's rectangle; and the shipped
// Europe 1939 scenario with fleets at sea and in port, the map's sea nodes
// showing their own and enemy ships. Compared with the committed pictures
// tests/data/golden/ship_counters.png and europe1939_fleets.png
// (TW_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/world_loader.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "map_drawing/naval_unit_draw.h"
#include "platform/text.h"
#include "sdl_fixture.h"
#include "support/world_builders.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/units_visibility.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

class ShipCounterSnapshot : public twtest::SdlTest {
 protected:
  ShipCounterSnapshot() : SdlTest(620, 420) {}
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    settings_ = g_Settings;
    g_Settings.ShowUnitName = true;
    for (const auto& [slot, file] : {std::pair<int, const char*>{kSlotUnits, "[UnitsSkin]Counters/units.png"},
                                     std::pair<int, const char*>{kSlotUnitInfo, "[UnitsSkin]Counters/info.png"}}) {
      ASSERT_EQ(g_Textures[slot].Load(Data(file).c_str(), cTexture::kFromFile, 1), 0) << file;
    }
    ASSERT_TRUE(
        ReadUnitAppearanceTable(Data("[UnitsSkin]Counters/naval_units.csv"), g_NavalAppearance, kNavalTableShape));
    ASSERT_EQ(defaultFlag_.Load(Data("Flags/unknown.png").c_str(), cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&defaultFlag_);
    CreateSkinFonts(renderer_.get());
    SelectUnitFontsForZoomPercent(100);
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    twtest::AddCountry(*world_, kAlliesLeader, L"Westland").colour = {0x002850B0, 0x00182F68, 0x0060A0FF, 0x00FFFFFF};
    twtest::AddCountry(*world_, kAxisLeader, L"Eastmark").colour = {0x00909090, 0x00404040, 0x00E0E0E0, 0x00FFFFFF};
    fleets_[0].name = L"Home Fleet";
    fleets_[1].name = L"Raiders";
  }
  void TearDown() override {
    g_pSprite = nullptr;
    g_pWorld = nullptr;
    world_.reset();
    for (int slot : {kSlotUnits, kSlotUnitInfo}) g_Textures[slot].Release();
    SetDefaultFlagTexture(nullptr);
    defaultFlag_.Release();
    ReleaseSkinFonts();
    g_NavalAppearance.Reset();
    g_Settings = settings_;
    SdlTest::TearDown();
  }
  std::wstring Data(const std::string& file) const { return plat::WidenBytes((root_ / "data/gfx" / file).string()); }

  cJednostkaMorska Ship(int country, int type, const wchar_t* name, int hitPoints, int maxHitPoints) {
    cJednostkaMorska ship(world_.get());
    ship.countryId = country;
    ship.SetType(type);
    ship.name = name;
    ship.hitPoints = hitPoints;
    ship.maxHitPoints = maxHitPoints;
    ship.fleet = &fleets_[country - 1];
    return ship;
  }

  std::unique_ptr<cWorld> world_;
  cFleet fleets_[2];
  cTexture defaultFlag_;
  sSettings settings_;
};

TEST_F(ShipCounterSnapshot, SixTypesOfTwoCountriesWithDamageMarkersAndOneInADialog) {
  renderer_->BeginScene();
  renderer_->Clear(0xFF2A4A66);
  plat::SpriteBatch batch(*renderer_);
  g_pSprite = &batch;
  batch.Begin();
  const wchar_t* names[6] = {L"Ark Royal", L"Warspite", L"Belfast", L"Upholder", L"Empire Star", L"LST 401"};
  const wchar_t* enemies[6] = {L"Graf Zeppelin", L"Bismarck", L"Prinz Eugen", L"U-47", L"Ostland", L"MFP 12"};
  for (int i = 0; i < 6; ++i) {
    const float x = static_cast<float>(-30 + 100 * i);
    cJednostkaMorska own = Ship(1, 40 + i, names[i], 10 - i, 10);
    DrawShipCounter(own, x, -40.0f, 0.5f, 0);
    cJednostkaMorska enemy = Ship(2, 40 + i, enemies[i], i == 3 ? 0 : 6, i == 5 ? 0 : 6);
    enemy.takesPartInBattle = i % 2 == 0;
    enemy.battleSideMarker = i >= 3;
    DrawShipCounter(enemy, x, 110.0f, 0.5f, i == 4 ? 1 : 0);
  }
  batch.End();
  cJednostkaMorska preview = Ship(1, 41, L"King George V", 3, 4);
  preview.fleet = nullptr;  // a ship being bought belongs to no fleet yet
  DrawNavalCounterInRect(preview, plat::RectI{40, 290, 123, 373});
  DrawNavalCounterInRect(preview, plat::RectI{160, 260, 326, 426});
  renderer_->EndScene();
  ExpectGolden("ship_counters.png");
}

// Europe 1939 as Germany sees it at the start of its turn, fog of war off: the High Seas Fleet and
// the U-boats out in the North Sea, the Home Fleet meeting them there, the
// Baltic Squadron at Kiel.
class EuropeFleetsSnapshot : public twtest::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(fs::is_directory(root_ / "data/scenarios/Europe1939"));
    fs::create_directories(dir_.Path() / "data/scenarios");
    fs::create_directory_symlink(root_ / "data/gfx", dir_.Path() / "data/gfx");
    fs::create_directory_symlink(root_ / "data/scenarios/Europe1939", dir_.Path() / "data/scenarios/Europe1939");
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    settings_ = g_Settings;
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MapMode = 0;
    g_Settings.FogOfWar = 0;
    g_Settings.ShowUnitName = true;
    g_Settings.ShowCityName = true;
    g_Settings.ShowGrid = true;
    g_Settings.ShowSeaZonesBorders = true;
    LoadMapSkin(L"Normal");
    LoadUnitsSkin(L"Counters");
    ASSERT_TRUE(g_Textures[kSlotUnits].Get());
    ASSERT_EQ(defaultFlag_.Load(L"data\\gfx\\Flags\\unknown.png", cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&defaultFlag_);
    CreateSkinFonts(renderer_.get());
    LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
    ASSERT_NE(g_pWorld, nullptr);
    InstallLandUnitDrawHook();
  }
  void TearDown() override {
    g_MapDrawHooks = {};
    delete g_pWorld;
    g_pWorld = nullptr;
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies, kSlotUnits, kSlotUnitInfo}) g_Textures[slot].Release();
    SetDefaultFlagTexture(nullptr);
    defaultFlag_.Release();
    ReleaseSkinFonts();
    g_NavalAppearance.Reset();
    g_LandAppearance.Reset();
    g_AirAppearance.Reset();
    g_CityAppearance.Reset();
    ResetSpriteDepthTable();
    g_MapZoomLevel = 1.0f;
    g_Settings = settings_;
    SdlTest::TearDown();
    folder_.reset();
  }

  cFleet& FleetNamed(const wchar_t* name) {
    for (cFleet* fleet : g_pWorld->Units().fleets) {
      if (fleet->name == name) return *fleet;
    }
    ADD_FAILURE() << "no fleet " << plat::NarrowBytes(name);
    return *g_pWorld->Units().fleets.front();
  }

  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  cTexture defaultFlag_;
  sSettings settings_;
};

TEST_F(EuropeFleetsSnapshot, FleetsAtSeaAndInPortStandAtTheirNodes) {
  cWorld& world = *g_pWorld;
  cSeaGraph& graph = world.GetSeaGraph();
  const auto nodeNamed = [&](const wchar_t* name) {
    for (const sWezelGrafuMorz& node : graph.Nodes()) {
      if (node.name == name) return node.id;
    }
    ADD_FAILURE() << "no sea node " << plat::NarrowBytes(name);
    return 1;
  };
  FleetNamed(L"Hochseeflotte").seaNode = nodeNamed(L"Southern North Sea");
  FleetNamed(L"U-boat Arm").seaNode = nodeNamed(L"Northern North Sea");
  FleetNamed(L"Home Fleet").seaNode = nodeNamed(L"Northern North Sea");
  world.turnState.currentCountry = world.GetCountry(1);
  // What Germany sees, as at the start of its turn: the units, and the ships
  // at every sea node.
  RecalculateUnitsVisibility(world, *world.GetCountry(1));
  EXPECT_EQ(graph.GetViewingCountry(), 1);

  // The shown ships: Germany's own at sea and in port, an enemy at sea.
  const sWezelGrafuMorz& north = *graph.GetNode(nodeNamed(L"Northern North Sea"));
  ASSERT_NE(north.ownShip, nullptr);
  ASSERT_NE(north.enemyShip, nullptr);
  EXPECT_EQ(north.ownShip->countryId, 1);
  EXPECT_NE(north.enemyShip->countryId, 1);
  EXPECT_NE(graph.GetNode(nodeNamed(L"Southern North Sea"))->ownShip, nullptr);
  EXPECT_NE(graph.GetNode(nodeNamed(L"Kiel"))->ownShip, nullptr);

  cMap& map = world.GetMap();
  map.ComputeFitScale();
  g_MapTargetScale = 0.62f;
  g_Settings.MapZoom = 0.62f + 0.25f;
  map.CenterAtHex(26, 19);
  map.UpdateView(1.0f);
  SelectMapFontForZoomPercent(62);
  SelectUnitFontsForZoomPercent(62);
  renderer_->BeginScene();
  renderer_->Clear(0xFF000000u);
  plat::SpriteBatch batch(*renderer_);
  g_pSprite = &batch;
  batch.Begin();
  map.Render(batch);
  batch.End();
  g_pSprite = nullptr;
  renderer_->EndScene();
  ExpectGolden("europe1939_fleets.png");
}

}  // namespace
