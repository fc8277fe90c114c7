#include "world/gra.h"

#include "app/console_log.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "world/cities.h"

cWorld* g_pWorld = nullptr;

std::function<void(int percent)> g_OnWorldLoadingProgress;

namespace {

constexpr int kPhaseDestroyed = 15;
constexpr int kWorldTextureSlot = 10;

void LoadingProgress(int percent) {
  if (g_OnWorldLoadingProgress) g_OnWorldLoadingProgress(percent);
}

// The folder as a path pattern for the loaders: "<folder>\%s". A "%" in the
// folder name is doubled so that it stays part of the name.
std::wstring FolderPattern(std::wstring_view folder) {
  std::wstring pattern;
  for (wchar_t c : folder) {
    pattern += c;
    if (c == L'%') pattern += L'%';
  }
  pattern += L"\\%s";
  return pattern;
}

}  // namespace

cWorld::cWorld() : map_(std::make_unique<cMap>()) {}

cWorld::cWorld(std::wstring_view folder, bool savedGameFlag) : map_(std::make_unique<cMap>()) {
  // 1-2: the empty state, then the loaders can reach the world.
  savedGame = savedGameFlag;
  scenarioFolder.assign(folder);
  g_pWorld = this;
  const std::wstring pattern = FolderPattern(folder);
  // The report list and the AI-data list are made here once they exist.
  LoadingProgress(5);
  gameOver = false;
  lastMulberryMonth = -666;
  // "Info.ini" is read here (scenario files).
  LoadingProgress(10);
  // The scenario constants and name are read here (scenario files).
  LoadingProgress(15);
  LoadMap(pattern);
  LoadingProgress(20);
  // "flags.txt" and the cities, each linked to its hex (scenario files).
  LoadingProgress(25);
  // Commanders, land units with their placement, air units, fleets and
  // ships (scenario files and the unit issues).
  LoadingProgress(35);
  // Countries and unit-name templates (scenario files).
  LoadingProgress(40);
  // Airship-attack reports and air-reconnaissance hexes (scenario files).
  LoadingProgress(45);
  // One computer player per country (computer opponent). Relations and
  // losses need the countries: without any there is nothing to relate.
  if (GetCountryCount() > 0) relations_.Load(pattern, GetCountryCount());
  viewedCountry = nullptr;
  LoadingProgress(50);
  // Strategic movement, event manager and convoy store are made here.
  LoadingProgress(55);
  LoadingProgress(60);
  musicPlayer = std::make_unique<cMusicPlayer>();
  // The six map-screen panels are made here (map screen).
  LoadingProgress(65);
  LoadMapSkin(g_Settings.MapSkin);
  LoadingProgress(70);
  LoadUnitsSkin(g_Settings.UnitsSkin);
  LoadingProgress(75);
}

cWorld::~cWorld() {
  SetGameState(kPhaseDestroyed);
  // No other thread may use the world while it is freed.
  if (stop_worker_) stop_worker_();
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

void cWorld::RenderMapScreen(float) { ++map_screen_calls_.renders; }

void cWorld::OnKeyboard(unsigned, bool, bool) { ++map_screen_calls_.keys; }

void cWorld::OnMouse(bool, bool, bool, bool, bool, int, int, int) { ++map_screen_calls_.mouse; }

void cWorld::OnGUIEvent(unsigned, int, CDXUTControl*) { ++map_screen_calls_.guiEvents; }

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
