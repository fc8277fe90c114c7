#include "support/two_countries.h"

#include <memory>

#include "world/country.h"
#include "world/hex.h"
#include "world/map_text.h"
#include "world/relations.h"
#include "world/world.h"

void AddTwoCountriesAtWar(cWorld& world, const wchar_t* first, const wchar_t* second) {
  for (int id = 1; id <= 2; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->name = id == 1 ? first : second;
    country->alliance = id == 1 ? kAllies : kAxis;
    world.AddCountry(std::move(country));
  }
  world.GetRelations().Reset(2);
  world.GetRelations().SetAtWar(1, 2, true);
  world.GetRelations().SetAtWar(2, 1, true);
}

void BuildSplitMap(cWorld& world, int size, const std::string& row) {
  std::string text = "size " + std::to_string(size) + " " + std::to_string(size) + "\nterrain\n";
  for (int y = 0; y < size; ++y) text += row + "\n";
  std::string error;
  BuildMapFromText(text, world.GetMap(), error);
  for (sHex& hex : world.GetMap().Hexes()) hex.controller = hex.owner = hex.x < size / 2 ? 1 : 2;
}
