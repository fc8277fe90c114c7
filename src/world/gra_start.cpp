// Start of play (from the loading screen to the map screen) and the world's
// counts of victory points and the country score.
#include <cmath>

#include "app/console_log.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/fatal.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "app/input_routing.h"
#include "rules/worker_thread.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "units/commander.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/cities.h"
#include "world/gra.h"

namespace {

constexpr int kPauseWallpaperSlot = 10;
constexpr int kDefaultPlaylist = -1;

// Both alliance codes of a side: a and a + 3 (1..3 the members, 4..6 their
// leaders).
bool InAllianceGroup(int code, int alliance) {
  const int base = alliance > 3 ? alliance - 3 : alliance;
  return code == base || code == base + 3;
}

// The country controlling the city's hex; a hex nobody controls is a broken
// scenario and ends the process after the message.
const cCountry* CityController(const cWorld& world, const cCity& city, const wchar_t* message) {
  const int controller = world.GetMap().GetHex(city.x, city.y).controller;
  if (controller == 0) FilesFatalExit(plat::Format(message, city.name), 1);
  return world.GetCountry(controller);
}

// What the viewing country's side sees of the land and air units: with fog
// of war off everything; otherwise its own and its allies' units and what
// they reveal around them, and what its reconnaissance spotted. (The sea
// nodes' naval visibility joins this with the naval rules.)
void RecalculateUnitsVisibility(cWorld& world, const cCountry& viewer) {
  LogLine(L"Recalculating units visibility");
  sUnitLists& units = world.Units();
  const bool fog = g_Settings.FogOfWar != 0;
  for (cJednostkaLadowa* unit : units.landUnits) unit->visible = !fog;
  for (cJednostkaLotnicza* unit : units.airUnits) unit->visible = !fog;
  if (!fog) return;
  const auto ownSide = [&viewer](const cUnit& unit) {
    return unit.countryId == viewer.id || viewer.IsAlliedWith(unit.countryId);
  };
  for (cJednostkaLadowa* unit : units.landUnits) {
    if (!ownSide(*unit)) continue;
    unit->visible = true;
    unit->RevealUnitsAround(false);
  }
  for (cJednostkaLotnicza* unit : units.airUnits) {
    if (!ownSide(*unit)) continue;
    unit->visible = true;
    unit->RevealUnitsAround(false);
  }
  for (cUnit* unit : viewer.reconSpottedUnits) {
    if (unit != nullptr) unit->visible = true;
  }
}

}  // namespace

void cWorld::StartGame() {
  g_Textures[kPauseWallpaperSlot].Release();
  g_Textures[kPauseWallpaperSlot].Load(L"data\\gfx\\wallpaper_pause.png", cTexture::kFromFile, 1);
  LogLine(L"============== Starting game ==============");
  if (const cCountry* next = turnState.FindNextHumanCountry(countries_)) RecalculateUnitsVisibility(*this, *next);
  map_->ApplyCurrentZoom();
  LogLine(L"Updating units appearance");
  SelectUnitFontsForZoom();
  LogLine(L"Updating cities appearance");
  SelectMapFontForZoom();
  LogLine(L"Updating minimapr 2nd layer");
  map_->UpdateMinimapOwnershipLayer();
  turnState.Deselect();
  LogLine(L"Initializing music");
  StartMusicForHumans();
  LogLine(L"Closing menu, setting callbacks");
  // The loading screen's handler is still running: it is freed at the end
  // of the frame.
  RetireCurrentMenu();
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(WorldOnMouseThunk, true);
  framework.SetCallbackKeyboard(WorldOnKeyboardThunk);
  framework.SetCallbackFrameMove(OnInGameFrameMove);
  LogLine(L"============== Enjoy your game :)");
  SelectUnitFontsForZoom();
  SelectMapFontForZoom();

  cCountry* current = turnState.currentCountry;
  const auto requestOrCentre = [this](const cCountry* country) {
    if (country != nullptr && country->specialFlags == 1) {
      g_bEventsCheckRequested = true;
    } else {
      turnState.CenterOnCurrentCountry(false);
    }
  };
  if (current != nullptr && current->human) {
    turnState.viewCountry = current;
    RestorePanelsAfterComputerPhase();
    SelectUnitFontsForZoom();
    SelectMapFontForZoom();
    requestOrCentre(current);
    return;
  }
  requestOrCentre(current);
  if (turnState.viewCountry == nullptr) {
    for (const auto& country : countries_) {
      if (country->human) {
        turnState.viewCountry = country.get();
        break;
      }
    }
  }
  if (turnState.viewCountry != nullptr) RecalculateUnitsVisibility(*this, *turnState.viewCountry);
  MinimizePanelsForComputerPhase();
}

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
    const cCountry* controller = CityController(
        *this, *city, L"City %s is not controlled by any country (controller id = 0)! (Counting alliance VPs)");
    if (controller != nullptr && InAllianceGroup(controller->alliance, alliance)) sum += city->victoryPoints;
  }
  return sum;
}

int cWorld::CountCountryVictoryPoints(int countryId) const {
  int sum = 0;
  for (const cCity* city : cities_) {
    const cCountry* controller = CityController(
        *this, *city,
        L"ERROR: City %s is not controlled by any country (controller id = 0)! (Counting country VPs)");
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
    const cCountry* controller = CityController(
        *this, *city, L"City %s is not controlled by any country (controller id = 0)! (Counting country VPs)");
    if (controller == nullptr || controller->id != countryId) continue;
    victory += static_cast<float>(city->victoryPoints);
    production += city->productionPoints;
  }
  const float total = air + land + naval + victory + production;
  return static_cast<int>(std::trunc(total));
}
