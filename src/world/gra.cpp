#include "world/gra.h"

#include "app/console_log.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/air_reports_file.h"
#include "files/cities_file.h"
#include "files/countries_file.h"
#include "files/fleet_files.h"
#include "files/info_ini_file.h"
#include "files/unit_files.h"
#include "screens/map_screen.h"
#include "units/jednostka_ladowa.h"
#include "world/cities.h"
#include "world/game_phase.h"

cWorld* g_pWorld = nullptr;

std::function<void(int percent)> g_OnWorldLoadingProgress;

namespace {

constexpr int kWorldTextureSlot = 10;

void LoadingProgress(int percent) {
  if (g_OnWorldLoadingProgress) g_OnWorldLoadingProgress(percent);
}

}  // namespace

cWorld::cWorld() : map_(std::make_unique<cMap>()) {}

cWorld::cWorld(std::wstring_view pattern, bool savedGameFlag) : map_(std::make_unique<cMap>()) {
  // The empty state; from here on the readers reach the world through the
  // loaded-game pointer. Later readers look up what earlier ones made (units
  // their commanders, ships their fleets, unit names the countries), so the
  // order below is fixed.
  savedGame = savedGameFlag;
  folderPattern.assign(pattern);
  gameOver = false;
  lastMulberryMonth = -666;
  g_pWorld = this;
  try {
    LoadFolder();
  } catch (...) {
    // Only a test's fatal-exit hook throws here: free what was read and
    // leave no half-built game behind.
    for (cCity* city : cities_) delete city;
    cities_.clear();
    g_pWorld = nullptr;
    throw;
  }
}

void cWorld::LoadFolder() {
  LoadingProgress(5);
  const sInfoHeader header = LoadInfoHeader(folderPattern);
  ApplyInfoHeader(header, *this);
  turnNumber = header.turn;
  turnsLeft = header.turnsLeft;
  // The shown date of the header: the date line names it on the first turn.
  startDay = header.gameDay;
  startMonth = header.gameMonth;
  startYear = header.gameYear;
  pbemPlayers = header.pbemPlayers;
  LoadingProgress(10);
  // The constants always come from the scenario's own folder, also for a
  // saved game. The impulse within the month needs their impulses per month.
  constants.Load(scenarioName);
  // The land units read their action points, strengths and move costs from
  // them; a new unit takes its paradrop preparation turns when it is made.
  ApplyScenarioConstants(constants);
  RestoreDateFromHeader(header, *this);
  LoadingProgress(15);
  LoadMap(folderPattern);
  LoadingProgress(20);
  LoadFlags(folderPattern, eventFlags);
  LoadCities(*this, folderPattern);
  LoadingProgress(25);
  LoadCommanders(*this, folderPattern);
  LoadLandUnits(*this, folderPattern);
  PlaceLoadedLandUnits(*this);
  LoadAirUnits(*this, folderPattern);
  PlaceLoadedAirUnits(*this);
  LoadFleets(*this, folderPattern);
  LoadNavalUnits(*this, folderPattern);
  LoadingProgress(35);
  LoadCountries(*this, folderPattern);
  LoadUnitNameTemplates(*this, folderPattern, unitNamesBytes);
  LoadingProgress(40);
  LoadAirshipAttackReports(*this, folderPattern);
  LoadAirReconHexes(*this, folderPattern);
  LoadingProgress(45);
  CreateAiPlayers();
  // Relations and losses need the countries: without any there is nothing
  // to relate.
  if (GetCountryCount() > 0) relations_.Load(folderPattern, GetCountryCount());
  LoadingProgress(50);
  // The convoy store is filled by the second pass; the event list stays
  // empty until events are loaded there.
  units_.convoys.Resize(GetCountryCount());
  LoadingProgress(55);
  LoadingProgress(60);
  musicPlayer = std::make_unique<cMusicPlayer>();
  CreateMapScreenPanels();
  LoadingProgress(65);
  LoadMapSkin(g_Settings.MapSkin);
  LoadingProgress(70);
  LoadUnitsSkin(g_Settings.UnitsSkin);
  LoadingProgress(75);
}

cWorld::~cWorld() {
  SetGameState(kPhaseWorldDestroyed);
  // No other thread may use the world while it is freed.
  if (stop_worker_) stop_worker_();
  // The panels this world made show its records: they go with it.
  DestroyMapScreenPanels();
  g_Textures[kWorldTextureSlot].Release();
  ForEachCountryTexture([](cTexture& texture) { texture.Release(); });
  // The fonts survive a lost device in our drawing layer, so nothing needs
  // telling about one here.
  musicPlayer.reset();
  SaveZoomSetting();
  // The map goes first, then the cities its hexes named.
  map_.reset();
  for (cCity* city : cities_) delete city;
  cities_.clear();
  countries_.clear();
}

void cWorld::DropSupplyRoleOfCountryCities(int countryId) {
  for (cCity* city : cities_) {
    if (!map_->IsInside(city->x, city->y)) continue;
    if (map_->GetHex(city->x, city->y).originalOwner != countryId) continue;
    if (city->type == kCitySupply) city->type = kCityNormal;
    else if (city->type == kCitySupplyPort) city->type = kCityPort;
  }
}

void cWorld::LoadMap(std::wstring_view pathPattern) { map_ = std::make_unique<cMap>(pathPattern); }

void cWorld::SetGameState(int state) {
  game_state_.store(state);
  LogLine(L"---- Game state = %i", state);
}

cCountry* cWorld::GetCountry(int id) const {
  if (id < 1 || id > GetCountryCount()) return nullptr;
  return countries_[static_cast<std::size_t>(id - 1)].get();
}

void cWorld::ForEachCountryTexture(const std::function<void(cTexture&)>& fn) const {
  for (const auto& country : countries_) {
    if (cTexture* sheet = country->GetUnitSkinTextureHolder()) fn(*sheet);
    if (cTexture* flag = country->GetFlagTextureHolder()) fn(*flag);
  }
}

void cWorld::LoadCountryUnitSkins(std::wstring_view skinSet) {
  for (const auto& country : countries_) country->LoadUnitSkinTexture(skinSet);
}
