// The world object: the whole state of one loaded game (map, cities,
// countries and relations, graphs, date, game phase and the plain fields of
// the loaded game). The units, fleets, commanders, turn state and the other
// parts of a game join it as they are built.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "world/calendar.h"
#include "world/country.h"
#include "world/map.h"
#include "world/relations.h"
#include "world/sea_graph.h"
#include "world/city_graph.h"
#include "world/topography.h"

class CDXUTControl;
class cMusicPlayer;

class cWorld {
 public:
  // An empty world: no map cells, no countries, date 1 / 9 / 1939, phase 0.
  // It does not make itself the loaded game (g_pWorld).
  cWorld();
  // Builds the world from a scenario or save folder: makes itself the loaded
  // game (g_pWorld) before anything is read, so loaders reach it there, then
  // reads the folder in the designed order with the loading screen's
  // progress. The caller runs the second loading pass afterwards.
  cWorld(std::wstring_view folder, bool savedGame);
  // Phase 15, stops the worker thread (the hook below), gives back the
  // textures of the world, then frees the map, the cities and the rest.
  ~cWorld();
  cWorld(const cWorld&) = delete;
  cWorld& operator=(const cWorld&) = delete;

  // Installed by whoever starts the worker thread (the turn flow): stops
  // it and waits for it. The destructor calls it before touching anything.
  void SetWorkerStopHook(std::function<void()> stop) { stop_worker_ = std::move(stop); }

  // Every city whose hex's original owner is the country loses its supply
  // role: type 0 becomes 1, type 2 becomes 3.
  void DropSupplyRoleOfCountryCities(int countryId);

  // Plain fields of the loaded game.
  std::wstring scenarioFolder;       // the folder the world was loaded from
  bool savedGame = false;            // loaded from a save folder
  std::wstring scenarioName;         // filled by the constants loader
  bool gameOver = false;
  int lastMulberryMonth = -666;      // no artificial harbour built yet
  int impulseCounters[2] = {0, 0};
  bool playByEmail = false;
  std::wstring playByEmailGameName;
  cCountry* viewedCountry = nullptr; // whose view the map screen shows; null until play starts
  int nextConvoyId = 0;
  int nextLandUnitId = 0;
  int nextAirUnitId = 0;
  // Made near the end of construction.
  std::unique_ptr<cMusicPlayer> musicPlayer;

  // Stores the game phase and logs "---- Game state = %i".
  void SetGameState(int state);
  int GetGameState() const { return game_state_.load(); }

  // The map screen: map, units and panels.
  void RenderMapScreen(float elapsed);
  void OnKeyboard(unsigned key, bool keyDown, bool altDown);
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
               int y);
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control);

  // Until the map screen is built the world only counts the map-screen calls
  // it receives, which shows where the frame sends its drawing and input.
  struct sMapScreenCalls {
    int renders = 0;
    int keys = 0;
    int mouse = 0;
    int guiEvents = 0;
  };
  const sMapScreenCalls& MapScreenCalls() const { return map_screen_calls_; }

  // The hex map; empty until LoadMap reads "map.tdw" through the folder's
  // path pattern (a fatal data error ends the process there).
  cMap& GetMap() { return *map_; }
  const cMap& GetMap() const { return *map_; }
  void LoadMap(std::wstring_view pathPattern);

  // The sea graph; a sea-zone id that names one of its nodes reads as that
  // node's kind.
  cSeaGraph& GetSeaGraph() { return sea_graph_; }
  const cSeaGraph& GetSeaGraph() const { return sea_graph_; }
  eSeaNodeKind GetSeaNodeKind(int seaZone) const {
    const sWezelGrafuMorz* node = sea_graph_.GetNode(seaZone);
    if (!node) return eSeaNodeKind::kNone;
    return node->IsSeaZone() ? eSeaNodeKind::kOpenSea : eSeaNodeKind::kPort;
  }

  // The countries (owned), by id at index id - 1.
  int GetCountryCount() const { return static_cast<int>(countries_.size()); }
  // Null for an id outside 1 .. count.
  cCountry* GetCountry(int id) const;
  std::vector<std::unique_ptr<cCountry>>& Countries() { return countries_; }
  const std::vector<std::unique_ptr<cCountry>>& Countries() const { return countries_; }
  // Every country's unit sheet and flag that is loaded, for the device events.
  void ForEachCountryTexture(const std::function<void(cTexture&)>& fn) const;
  // Loads every country's unit sheet of a unit-skin set.
  void LoadCountryUnitSkins(std::wstring_view skinSet);
  // War flags and losses between the countries.
  cRelationsMatrix& GetRelations() { return relations_; }
  const cRelationsMatrix& GetRelations() const { return relations_; }
  // The game date and the impulses of each month (one each until the
  // scenario constants give theirs).
  sGameDate& GetDate() { return date_; }
  const sGameDate& GetDate() const { return date_; }
  sTurnsPerMonth& TurnsPerMonth() { return turns_per_month_; }
  const sTurnsPerMonth& TurnsPerMonth() const { return turns_per_month_; }

  // The cities in file order (owned); each hex names the city standing on it.
  std::vector<cCity*>& Cities() { return cities_; }
  const std::vector<cCity*>& Cities() const { return cities_; }
  // Takes ownership and links the city to the hex at its position.
  void AddCity(std::unique_ptr<cCity> city);
  cCityGraph& GetCityGraph() { return city_graph_; }
  const cCityGraph& GetCityGraph() const { return city_graph_; }
  // Hop counts from every city of types 0..3 over the cities graph.
  void ComputeCityHopDistances();
  // Clears the hop-search mark of every city.
  void ResetCityHopMarks();
  // Land masses and nearest cities; held here until the turn state holds them.
  cWorldTopography& GetTopography() { return topography_; }
  const cWorldTopography& GetTopography() const { return topography_; }

 private:
  std::unique_ptr<cMap> map_;
  std::function<void()> stop_worker_;
  std::vector<cCity*> cities_;
  cCityGraph city_graph_;
  cWorldTopography topography_;
  std::vector<std::unique_ptr<cCountry>> countries_;
  cRelationsMatrix relations_;
  cSeaGraph sea_graph_;
  sGameDate date_;
  sTurnsPerMonth turns_per_month_{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  // Shared by the main thread and the worker thread.
  std::atomic<int> game_state_{0};
  sMapScreenCalls map_screen_calls_;
};

// The loaded game; null when none is loaded.
extern cWorld* g_pWorld;

// The loading screen's bar: receives the per-cent steps of the world's
// construction (and renders a frame). Set by the loading screen; unset,
// the steps go nowhere.
extern std::function<void(int percent)> g_OnWorldLoadingProgress;
