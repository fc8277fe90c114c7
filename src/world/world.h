// The world object: the whole state of one loaded game (map, cities,
// countries and relations, graphs, date, game phase, units, fleets,
// commanders, the turn state and the plain fields of the loaded game). The
// scenario and save-game files fill it (files/world_loader.h); the screen
// that shows it is its view (world/world_view.h).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "world/auto_events.h"
#include "world/event_manager.h"
#include "world/computer_player.h"
#include "world/pbem_player.h"
#include "world/report_store.h"
#include "world/scenario_constants.h"
#include "world/sea_battle_record.h"
#include "world/turn_state.h"
#include "world/world_view.h"
#include "world/calendar.h"
#include "world/country.h"
#include "world/dialog_close_signal.h"
#include "world/id_counters.h"
#include "world/map.h"
#include "world/relations.h"
#include "world/sea_graph.h"
#include "world/city_graph.h"
#include "world/topography.h"
#include "world/unit_constants.h"
#include "world/unit_lists.h"

class cMusicPlayer;
class cCommander;
class cFleet;
class cFleetWatcher;
class cJednostkaMorska;
class cWorkerWake;
class cWorld;

class cWorld {
 public:
  // An empty world: no map cells, no countries, date 1 / 9 / 1939, phase 0.
  // It does not make itself the loaded game (g_pWorld).
  cWorld();
  // Phase 15, stops the worker thread (the hook below), frees the view and
  // drops what the worker asked of the main thread, gives back the textures
  // of the world, then frees the map, the cities and the rest.
  ~cWorld();
  cWorld(const cWorld&) = delete;
  cWorld& operator=(const cWorld&) = delete;

  // Installed by whoever starts the worker thread (the turn flow): stops
  // it and waits for it. The destructor calls it before touching anything.
  void SetWorkerStopHook(std::function<void()> stop) { stop_worker_ = std::move(stop); }
  // The worker's stop flag while a worker plays this world (set with the
  // hook); the worker's waits in the world's own code give up once it is
  // set. Null without a worker.
  void SetWorkerStopFlag(const std::atomic<bool>* stop) { worker_stop_ = stop; }
  const std::atomic<bool>* WorkerStopFlag() const { return worker_stop_; }
  // What the worker sleeps on while it has nothing to do (set with the
  // hook, not owned): every change of the phase wakes it. Null without a
  // worker.
  void SetWorkerWake(cWorkerWake* wake) { worker_wake_ = wake; }

  // Every city whose hex's original owner is the country loses its supply
  // role: type 0 becomes 1, type 2 becomes 3.
  void DropSupplyRoleOfCountryCities(int countryId);

  // Plain fields of the loaded game.
  bool savedGame = false;            // loaded from a save folder
  std::wstring scenarioName;         // filled by the constants loader
  bool gameOver = false;
  int lastMulberryMonth = -666;      // no artificial harbour built yet
  int impulseCounters[2] = {0, 0};
  bool playByEmail = false;
  std::wstring playByEmailGameName;
  // The ids the next new convoy, fleet, ship, land and air unit receive.
  sIdCounters ids;
  // Unit sizes of the scenario's "Info.ini", stored as the value minus 1.
  int smallUnitsSize = 0;
  int largeUnitsSize = 1;
  // Whose turn it is, the viewing country and the player's selection.
  cTurnState turnState;
  // One computer player per country, index = country id - 1 (null where
  // the world was built without a maker).
  std::vector<std::unique_ptr<cComputerPlayer>> aiPlayers;
  // Makes one computer player per country with the maker (replacing any
  // made before); without a maker every slot stays empty.
  void CreateAiPlayers(const ComputerPlayerMaker& make);
  // The scenario constants of the unit operations.
  sUnitConstants unitConstants;
  // The scenario constants of "consts.csv" (read by the constants loader
  // right after the scenario header).
  sScenarioConstants constants;
  // Made by the loading (at 60 per cent).
  std::unique_ptr<cMusicPlayer> musicPlayer;
  // Makes the music player and makes it the one the window's pause mutes
  // (g_pMusicPlayer) until the world goes.
  void CreateMusicPlayer();

  // Logs "---- Game state = %i", stores the game phase and wakes the
  // sleeping worker, which may have work in the new phase.
  void SetGameState(int state);
  int GetGameState() const { return game_state_.load(); }

  // The screen that shows this world (the map screen), owned; made by the
  // loading, freed with the world. Main thread only.
  void SetView(std::unique_ptr<cWorldView> view);
  cWorldView* View() const { return view_.get(); }
  // Told by the view whenever one of its dialogs closes; the worker's wait
  // for a dialog (WaitWhileViewShows) sleeps on it.
  cDialogCloseSignal& DialogCloses() { return dialog_closes_; }
  const cDialogCloseSignal& DialogCloses() const { return dialog_closes_; }
  // Whoever must hear of deleted fleets (the open fleets dialog); not
  // owned, null when none. Set on the main thread; told under the
  // framework lock.
  void SetFleetWatcher(cFleetWatcher* watcher) { fleet_watcher_ = watcher; }
  cFleetWatcher* FleetWatcher() const { return fleet_watcher_; }

  // Plays the playlist of the first human country that has one, else the
  // default playlist; false when nothing could be played.
  bool StartMusicForHumans();
  void ReleaseCommandersOfCountry(int countryId);
  // Alliance 1..6: the first country of code alliance + 3 (1..3) or of code
  // alliance (4..6); null otherwise.
  cCountry* GetAllianceLeader(int alliance) const;
  bool HasActiveHumanCountry() const;
  // Victory points of the cities controlled by the alliance (codes a and
  // a + 3 together; -1 outside 1..6) or by one country. A city on a hex
  // nobody controls (id 0) counts for nobody.
  int CountAllianceVictoryPoints(int alliance) const;
  int CountCountryVictoryPoints(int countryId) const;
  // Land and air combat strength, ship hit points, victory and production
  // points of the country's cities, summed.
  int GetCountryScore(int countryId) const;

  // The turn counter of the game and the turns still to play after it, and
  // the shown date of "Info.ini" (day 0: none; the date line then uses the
  // game date). Read from "Info.ini" by the loading.
  int turnNumber = 1;
  int turnsLeft = 0;
  int startDay = 0;
  int startMonth = 0;
  int startYear = 0;

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
  // Appends the country (its id should be the new count) and makes this its
  // world.
  void AddCountry(std::unique_ptr<cCountry> country);
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
  sTurnsPerMonth& TurnsPerMonth() { return constants.turnsPerMonth; }
  const sTurnsPerMonth& TurnsPerMonth() const { return constants.turnsPerMonth; }

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

  // Land, carried, air and naval units, the reserve pools, the fleets and
  // the commanders (owned).
  sUnitLists& Units() { return units_; }
  const sUnitLists& Units() const { return units_; }
  // First ship of the naval list with that id, or null.
  cJednostkaMorska* FindNavalUnitById(int unitId) const;
  // First fleet standing at the node and owned by the country, or null.
  cFleet* FindFleetAtSeaNode(int seaNodeId, int countryId) const;
  // Null at once for a negative id; an id nobody has logs
  // "Commander with ID=%i not found" and gives null.
  cCommander* FindCommanderById(int commanderId) const;
  // Each kills the first unit of the country in its list (a carried unit
  // through its ship, which takes the cargo along); false when none is left.
  bool KillFirstLandUnitOfCountry(int countryId);
  bool KillFirstCarriedUnitA(int countryId);
  bool KillFirstCarriedUnitB(int countryId);
  bool KillFirstAirUnitOfCountry(int countryId);
  bool KillFirstNavalUnitOfCountry(int countryId);
  // The fleet at the node holding the most battleships and cruisers that
  // have not shore-bombarded yet (the lowest id on a tie), among the fleets
  // with such a ship of the country; its eligible ships are marked and every
  // other ship unmarked. Null, with no mark changed, when there is none.
  cFleet* SelectShoreBombardmentFleet(int countryId, int seaNodeId);
  // The ships at the node of the country and of the turn's current country's
  // allies that pass their draw to take part (line 146), with the sum of
  // their combat values; transports counts the cargo and amphibious ships.
  float CollectFriendlyShipsAtSeaNode(int countryId, int seaNodeId, std::list<cJednostkaMorska*>& out,
                                      int& transports);
  // The ships of the country's enemies at the node or one passable link
  // from it that pass their draw (line 147), with their combat values' sum.
  float CollectEnemyShipsNearSeaNode(int countryId, int seaNodeId, std::list<cJednostkaMorska*>& out);

  // --- Loading (the readers' order is the constructor's) ---
  // The folder as a path pattern with one "%s" for the file name.
  std::wstring folderPattern;
  // What a game keeps beside its units: the numbered event flags of
  // "flags.txt", the bytes of "unit_names.csv" (saved unchanged), the
  // play-by-e-mail players, the report list, the automatic events and each
  // country's city groups of strategic movement (index id - 1).
  std::vector<int> eventFlags;
  std::string unitNamesBytes;
  std::vector<sPbemPlayer> pbemPlayers;
  // The sea battles of a play-by-e-mail game, for the players to read.
  std::vector<sSeaBattleRecord> seaBattleRecords;
  cReportStore reports;
  cAutoEventsRepository autoEvents;
  // The scenario's scripted events (loaded by the second loading pass).
  cEventManager eventManager;
  // Set by the event dialog's save-and-exit of a play-by-e-mail game: the
  // events check shows no further event and the program ends.
  std::atomic<bool> eventSaveAndExitRequested{false};
  CountryTopographies topographies;
  // Size every city's supply and convoy row to the countries, all zero.
  void ResetCitySupplyRows();
  // Destroy the country's units of the reserve pool (ship reserve pool);
  // the others keep their order.
  void RemoveCountryReserveUnits(int countryId);
  void RemoveCountryReserveShips(int countryId);

 private:
  std::unique_ptr<cMap> map_;
  // Before the view, which tells it until it goes.
  cDialogCloseSignal dialog_closes_;
  std::unique_ptr<cWorldView> view_;
  cFleetWatcher* fleet_watcher_ = nullptr;
  std::function<void()> stop_worker_;
  const std::atomic<bool>* worker_stop_ = nullptr;
  cWorkerWake* worker_wake_ = nullptr;
  std::vector<cCity*> cities_;
  cCityGraph city_graph_;
  cWorldTopography topography_;
  sUnitLists units_;
  std::vector<std::unique_ptr<cCountry>> countries_;
  cRelationsMatrix relations_;
  cSeaGraph sea_graph_;
  sGameDate date_;
  // Shared by the main thread and the worker thread.
  std::atomic<int> game_state_{0};
};

// The loaded game; null when none is loaded.
extern cWorld* g_pWorld;

// Event effects on land units of one side (from the alliance code of the
// unit's country: 2 and 5 side 1, 1 and 4 side 2, 3 and 6 side 3, others 4):
// delta is added to the events effect of each such unit on a hex whose
// original owner is the country, or inside the rectangle (both corners
// included).
void AddEventEffectInCountry(cWorld& world, int countryId, int side, int delta);
void AddEventEffectInArea(cWorld& world, int x1, int y1, int x2, int y2, int side, int delta);
