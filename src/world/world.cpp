#include "world/world.h"

#include "app/console_log.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "app/main_thread_queue.h"
#include "world/jednostka_ladowa.h"
#include "world/cities.h"
#include "world/game_phase.h"
#include "world/worker_wake.h"

cWorld* g_pWorld = nullptr;

namespace {

constexpr int kWorldTextureSlot = 10;

}  // namespace

cWorld::cWorld() : map_(std::make_unique<cMap>()) {}

cWorld::~cWorld() {
  SetGameState(kPhaseWorldDestroyed);
  // No other thread may use the world while it is freed.
  if (stop_worker_) stop_worker_();
  // The view shows this world's records: it goes with it, and so does what
  // the worker still asked of the main thread about them.
  view_.reset();
  DiscardMainThreadRequests();
  g_Textures[kWorldTextureSlot].Release();
  ForEachCountryTexture([](cTexture& texture) { texture.Release(); });
  // The fonts survive a lost device in our drawing layer, so nothing needs
  // telling about one here.
  if (g_pMusicPlayer == musicPlayer.get()) g_pMusicPlayer = nullptr;
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
  // The line first: the other thread may act on the new phase at once, and
  // the log keeps the order in which things happened.
  LogLine(L"---- Game state = %i", state);
  game_state_.store(state);
  if (worker_wake_ != nullptr) worker_wake_->Notify();
}

cCountry* cWorld::GetCountry(int id) const {
  if (id < 1 || id > GetCountryCount()) return nullptr;
  return countries_[static_cast<std::size_t>(id - 1)].get();
}

void cWorld::AddCountry(std::unique_ptr<cCountry> country) {
  country->SetWorld(this);
  countries_.push_back(std::move(country));
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

void cWorld::CreateMusicPlayer() {
  musicPlayer = std::make_unique<cMusicPlayer>();
  g_pMusicPlayer = musicPlayer.get();
}

void cWorld::SetView(std::unique_ptr<cWorldView> view) { view_ = std::move(view); }

void cWorld::CreateAiPlayers(const ComputerPlayerMaker& make) {
  aiPlayers.clear();
  aiPlayers.resize(countries_.size());
  if (!make) return;
  for (std::size_t i = 0; i < countries_.size(); ++i) aiPlayers[i] = make(static_cast<int>(i) + 1);
}
