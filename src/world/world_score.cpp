// The world's counts of victory points and the country score, its
// commanders' release and the music of its human countries.
#include <cmath>

#include "app/console_log.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/texture.h"
#include "world/commander.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

constexpr int kDefaultPlaylist = -1;

// Both alliance codes of a side: a and a + 3 (1..3 the members, 4..6 their
// leaders).
bool InAllianceGroup(int code, int alliance) {
  const int base = alliance > 3 ? alliance - 3 : alliance;
  return code == base || code == base + 3;
}

// The country controlling the city's hex; null for a hex nobody controls
// (country id 0), whose city counts for nobody.
const cCountry* CityController(const cWorld& world, const cCity& city) {
  const int controller = world.GetMap().GetHex(city.x, city.y).controller;
  return controller == 0 ? nullptr : world.GetCountry(controller);
}

}  // namespace

bool cWorld::StartMusicForHumans() {
  if (!musicPlayer) return false;
  for (const auto& country : countries_) {
    if (country->human && musicPlayer->PlayPlaylist(country->id)) return true;
  }
  return musicPlayer->PlayPlaylist(kDefaultPlaylist);
}

void cWorld::ReleaseCommandersOfCountry(int countryId) {
  for (cCommander* commander : units_.commanders) {
    if (commander != nullptr && commander->countryId == countryId) commander->state = kCommanderNotAssigned;
  }
}

cCountry* cWorld::GetAllianceLeader(int alliance) const {
  if (alliance < 1 || alliance > 6) return nullptr;
  const int code = alliance <= 3 ? alliance + 3 : alliance;
  for (const auto& country : countries_) {
    if (country->alliance == code) return country.get();
  }
  return nullptr;
}

bool cWorld::HasActiveHumanCountry() const {
  for (const auto& country : countries_) {
    if (country->active && country->human) return true;
  }
  return false;
}

int cWorld::CountAllianceVictoryPoints(int alliance) const {
  if (alliance < 1 || alliance > 6) return -1;
  int sum = 0;
  for (const cCity* city : cities_) {
    const cCountry* controller = CityController(*this, *city);
    if (controller != nullptr && InAllianceGroup(controller->alliance, alliance)) sum += city->victoryPoints;
  }
  return sum;
}

int cWorld::CountCountryVictoryPoints(int countryId) const {
  int sum = 0;
  for (const cCity* city : cities_) {
    const cCountry* controller = CityController(*this, *city);
    if (controller != nullptr && controller->id == countryId) sum += city->victoryPoints;
  }
  return sum;
}

int cWorld::GetCountryScore(int countryId) const {
  float land = 0.0f, air = 0.0f, naval = 0.0f, victory = 0.0f, production = 0.0f;
  for (const auto* list : {&units_.landUnits, &units_.carriedUnitsA, &units_.carriedUnitsB}) {
    for (cJednostkaLadowa* unit : *list) {
      if (unit->countryId == countryId) land += unit->GetCombatStrength();
    }
  }
  for (cJednostkaLotnicza* unit : units_.airUnits) {
    if (unit->countryId == countryId) air += unit->GetCombatStrength();
  }
  for (cJednostka* unit : units_.reservePool) {
    if (unit->countryId != countryId) continue;
    if (unit->category == kCategoryLand) {
      land += unit->GetCombatStrength();
    } else {
      air += unit->GetCombatStrength();
    }
  }
  for (const cJednostkaMorska* ship : units_.navalUnits) {
    if (ship->countryId == countryId) naval += static_cast<float>(ship->hitPoints);
  }
  for (const cJednostkaMorska* ship : units_.navalReservePool) {
    if (ship->countryId == countryId) naval += static_cast<float>(ship->hitPoints);
  }
  for (const cCity* city : cities_) {
    const cCountry* controller = CityController(*this, *city);
    if (controller == nullptr || controller->id != countryId) continue;
    victory += static_cast<float>(city->victoryPoints);
    production += city->productionPoints;
  }
  const float total = air + land + naval + victory + production;
  return static_cast<int>(std::trunc(total));
}
