#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/settings.h"
#include "app/texture.h"
#include "platform/lines.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/gra.h"
#include "city_fixture.h"

namespace {

TEST(Country, UnitTypeNameSlots) {
  cCountry country;
  for (int slot = 0; slot < kUnitTypeNameSlots; ++slot) country.SetUnitTypeName(slot, std::to_wstring(slot));
  // type -> slot
  const int cases[][2] = {{0, 0}, {6, 6}, {20, 7}, {22, 9}, {40, 10}, {45, 15}, {60, 16}};
  for (const auto& c : cases) {
    ASSERT_NE(country.GetUnitTypeName(c[0]), nullptr) << c[0];
    EXPECT_EQ(std::wstring(country.GetUnitTypeName(c[0])), std::to_wstring(c[1])) << c[0];
  }
  for (int type : {-1, 7, 19, 23, 39, 46, 59, 61}) EXPECT_EQ(country.GetUnitTypeName(type), nullptr) << type;
  // Slots outside the table are ignored; a new text replaces the old.
  country.SetUnitTypeName(17, L"x");
  country.SetUnitTypeName(-1, L"x");
  country.SetUnitTypeName(16, L"Mulberry");
  EXPECT_EQ(std::wstring(country.GetUnitTypeName(60)), L"Mulberry");
  EXPECT_EQ(cCountry().GetUnitTypeName(0), nullptr);
}

TEST(Country, CopyKeepsItsOwnTexts) {
  cCountry a;
  a.SetUnitTypeName(3, L"Panzerkorps");
  a.attackReports.push_back(L"report");
  a.aiData.seaZonesToPatrol[4] = 7;
  a.flagTexture = std::make_shared<cTexture>();
  cCountry b = a;
  b.SetUnitTypeName(3, L"changed");
  b.attackReports.clear();
  b.aiData.seaZonesToPatrol[4] = 1;
  EXPECT_EQ(std::wstring(a.GetUnitTypeName(3)), L"Panzerkorps");
  EXPECT_EQ(a.attackReports.size(), 1u);
  EXPECT_EQ(a.GetSeaZonePatrolValue(4), 7);
  // The images are shared and outlive the record they came from.
  EXPECT_EQ(b.GetFlagTextureHolder(), a.GetFlagTextureHolder());
  {
    cCountry c = a;
    a = cCountry();
  }
  EXPECT_NE(b.GetFlagTextureHolder(), nullptr);
}

TEST(Country, PointsAndMapView) {
  cCountry country;
  float x, y, zoom;
  country.GetMapView(x, y, zoom);
  EXPECT_EQ(zoom, -100.0f);
  country.SaveMapView(12.5f, -3.0f, 0.75f);
  country.GetMapView(x, y, zoom);
  EXPECT_EQ(x, 12.5f);
  EXPECT_EQ(y, -3.0f);
  EXPECT_EQ(zoom, 0.75f);
  country.AddProductionPoints(2.5);
  country.AddProductionPoints(-1.0);
  country.AddDiplomaticPoints(3);
  country.AddSeaTransportPoints(4);
  country.seaTransportPointsInConvoys = 6;
  EXPECT_DOUBLE_EQ(country.productionPoints, 1.5);
  EXPECT_EQ(country.diplomaticPoints, 3);
  EXPECT_EQ(country.GetTotalSeaTransportPoints(), 10);
}

TEST(Country, AiDataDefaultsAndLists) {
  cCountry country;
  const sCountryAiData& ai = country.aiData;
  EXPECT_EQ(ai.maxNumberOfFrontsForSeaInvasion, 2);
  EXPECT_EQ(ai.currentSeaInvasionTarget, -1);
  EXPECT_EQ(ai.desiredTechLevels[6], 0);
  EXPECT_EQ(ai.newUnitPurchasePreferences[7], 2);
  EXPECT_EQ(ai.carrierTargetsPriorities[8], 10);
  EXPECT_FLOAT_EQ(ai.minRatioToPatchFront, 2.5f);
  EXPECT_EQ(country.GetSeaZonePatrolValue(3), 0);
  country.aiData.seaZonesToPatrol[3] = 40;
  EXPECT_EQ(country.GetSeaZonePatrolValue(3), 40);

  cCity warsaw, krakow, twin;
  warsaw.x = 5, warsaw.y = 2;
  krakow.x = 4, krakow.y = 6;
  twin.x = 5, twin.y = 2;
  country.aiData.extraCitiesToGarrison = {&krakow};
  EXPECT_TRUE(country.IsExtraCityToGarrison(4, 6));
  EXPECT_FALSE(country.IsExtraCityToGarrison(6, 4));
  country.aiData.doNotAttackCities = {&krakow, &warsaw, &twin};
  country.RemoveDoNotAttackCity(5, 2);
  ASSERT_EQ(country.aiData.doNotAttackCities.size(), 2u);
  EXPECT_EQ(country.aiData.doNotAttackCities[1], &twin);
  country.RemoveDoNotAttackCity(9, 9);
  EXPECT_EQ(country.aiData.doNotAttackCities.size(), 2u);
}

// The images: files in the working folder, loaded through a recording
// renderer.
struct CountryImages : ::testing::Test {
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame{&renderer};
  twtest::LogCapture log;

  static std::string TinyPng() {
    std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    s += std::string("\0\0\0\x10\0\0\0\x10", 8);
    return s + std::string("\x08\x06\0\0\0", 5);
  }
  static void Put(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(plat::WriteFileBytes(path, TinyPng()));
  }
  // The game's paths are relative: each test works in a folder of its own.
  twtest::TempDir dir;
  std::filesystem::path previous = std::filesystem::current_path();
  void SetUp() override { std::filesystem::current_path(dir.Path()); }
  void TearDown() override { std::filesystem::current_path(previous); }
};

TEST_F(CountryImages, UnitSheetFollowsTheSkinName) {
  Put("data/gfx/[UnitsSkin]Counters/units_Poland.png");
  Put("data/gfx/[UnitsSkin]Counters/units_Polish.png");
  g_Settings.UnitsSkin = L"Counters";
  renderer.SetMaxTextureWidth(2048);
  cCountry country;
  country.SetNameWithDefaultSkin(L"Poland");
  ASSERT_NE(country.GetUnitSkinTextureHolder(), nullptr);
  EXPECT_EQ(country.GetUnitSkinTextureHolder()->FileName(), L"data\\gfx\\[UnitsSkin]Counters\\units_Poland.png");
  EXPECT_EQ(country.GetUnitSkinTextureHolder()->MipLevels(), 3);
  renderer.SetMaxTextureWidth(1024);
  country.SetSkinName(L"Polish");
  EXPECT_EQ(country.name, L"Poland");
  ASSERT_NE(country.GetUnitSkinTextureHolder(), nullptr);
  EXPECT_EQ(country.GetUnitSkinTextureHolder()->FileName(), L"data\\gfx\\[UnitsSkin]Counters\\units_Polish.png");
  EXPECT_EQ(country.GetUnitSkinTextureHolder()->MipLevels(), 1);
  // No file: no sheet, and nothing is tried.
  country.SetSkinName(L"Nowhere");
  EXPECT_EQ(country.GetUnitSkinTextureHolder(), nullptr);
  EXPECT_FALSE(log.Contains(L"Loading file \"data\\gfx\\[UnitsSkin]Counters\\units_Nowhere.png\" (1) [FAILED]"));
}

TEST_F(CountryImages, FlagFallsBackToTheCommonFolder) {
  Put("data/scenarios/1939/Flags/France.png");
  Put("data/gfx/Flags/France.png");
  Put("data/gfx/Flags/Italy.png");
  cCountry france, italy, nowhere;
  france.name = L"France";
  italy.name = L"Italy";
  nowhere.name = L"Atlantis";
  france.LoadFlagTexture(L"1939");
  italy.LoadFlagTexture(L"1939");
  nowhere.LoadFlagTexture(L"1939");
  ASSERT_NE(france.GetFlagTextureHolder(), nullptr);
  EXPECT_EQ(france.GetFlagTextureHolder()->FileName(), L"data\\scenarios\\1939\\Flags\\France.png");
  ASSERT_NE(italy.GetFlagTextureHolder(), nullptr);
  EXPECT_EQ(italy.GetFlagTextureHolder()->FileName(), L"data\\gfx\\Flags\\Italy.png");
  EXPECT_NE(italy.GetFlagTexture(), nullptr);
  EXPECT_EQ(nowhere.GetFlagTextureHolder(), nullptr);
  // Without a flag of its own a country shows the default flag.
  EXPECT_EQ(nowhere.GetFlagTexture(), nullptr);
  cTexture fallback;
  fallback.Create(4, 4);
  SetDefaultFlagTexture(&fallback);
  EXPECT_EQ(nowhere.GetFlagTexture(), fallback.Get());
  EXPECT_EQ(italy.GetFlagTexture(), italy.GetFlagTextureHolder()->Get());
  SetDefaultFlagTexture(nullptr);

  // The world hands every loaded image to the device events.
  cWorld world;
  world.Countries().push_back(std::make_unique<cCountry>(italy));
  world.Countries().push_back(std::make_unique<cCountry>(nowhere));
  int images = 0;
  world.ForEachCountryTexture([&](cTexture&) { ++images; });
  EXPECT_EQ(images, 1);
  EXPECT_EQ(world.GetCountry(2)->name, L"Atlantis");
  EXPECT_EQ(world.GetCountry(3), nullptr);
  EXPECT_EQ(world.GetCountry(0), nullptr);
}

// Cities: a row of five plain hexes.
constexpr const char* kRow = "size 5 1\nterrain\nppppp\nowner\n1 1 1 1 2\n";

TEST(CountryCities, MainCityPrefersSupply) {
  twtest::CityWorld w(kRow);
  w.AddCountries({4, 5});
  cCity* port = w.AddCity(L"Port", 0, 0, kCityPort);
  cCity* supplySmall = w.AddCity(L"SupplySmall", 1, 0, kCitySupply);
  cCity* supplyBig = w.AddCity(L"SupplyBig", 2, 0, kCitySupplyPort);
  cCity* resources = w.AddCity(L"Mine", 3, 0, kCityResources);
  cCity* foreign = w.AddCity(L"Foreign", 4, 0, kCitySupply);
  port->productionPoints = 50;
  supplySmall->productionPoints = 5;
  supplyBig->productionPoints = 5;  // a tie keeps the first
  resources->productionPoints = 100;
  foreign->productionPoints = 100;
  EXPECT_EQ(w.Country(1).FindMainCity(), supplySmall);
  supplyBig->productionPoints = 6;
  EXPECT_EQ(w.Country(1).FindMainCity(), supplyBig);
  // Without supply cities the port or normal city of most production.
  w.Control(1, 0, 2);
  w.Control(2, 0, 2);
  EXPECT_EQ(w.Country(1).FindMainCity(), port);
  w.Control(0, 0, 2);
  EXPECT_EQ(w.Country(1).FindMainCity(), nullptr);
}

TEST(CountryCities, LostAllOwnCities) {
  twtest::CityWorld w(kRow);
  w.AddCountries({4, 5});
  cCity* capital = w.AddCity(L"Capital", 0, 0, kCityNormal);
  // At peace: nothing lost, with or without cities.
  capital->victoryPoints = 0;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities());
  w.War(1, 2);
  // A city worth no victory points does not count.
  EXPECT_TRUE(w.Country(1).HasLostAllOwnCities());
  capital->victoryPoints = 1;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities());
  // Controlled by the enemy: lost.
  w.Control(0, 0, 2);
  EXPECT_TRUE(w.Country(1).HasLostAllOwnCities());
  // The enemy controls a city it does not own: not its own city.
  EXPECT_TRUE(w.Country(2).HasLostAllOwnCities());
  // A dummy country never loses.
  w.Country(1).politicalStrength = -1;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities());
}

}  // namespace
