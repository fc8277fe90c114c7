#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "city_fixture.h"

namespace {

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
