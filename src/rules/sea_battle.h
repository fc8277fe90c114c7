// One sea battle between two lists of ships, fought in two stages: the
// preliminary stage (carrier strikes and submarine attacks, with the chances
// that end the battle there) and the regular rounds, in which the ship
// selected on the acting side shoots at the ship selected on the other side.
//
// The battle keeps a record of everything that happens (strikes, shots,
// retreats, rounds, the end and the report), so that a screen can replay
// it step by step; the resolution itself knows no screen. Who shows the
// preliminary report and who plays the rounds is handed in (sSeaBattleHooks);
// without hooks the rounds are played to the end at once.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "world/sea_battle_record.h"

class cJednostkaMorska;
class cWorld;

// A carrier strike or a submarine attack of the preliminary stage.
struct sSeaBattleStrike {
  enum eKind { kCarrier = 0, kSubmarine = 1 };
  int kind = kCarrier;
  int attackerId = 0;
  int targetId = 0;
  std::wstring attackerLabel;
  std::wstring targetLabel;
  float hitPointsTaken = 0.0f;
  bool destroyed = false;
};

// One step of the regular part, in the order they happened.
struct sSeaBattleEvent {
  enum eKind { kShot, kRetreat, kTurnCompleted, kEnd };
  eKind kind = kShot;
  int shooterId = 0;     // the shooter, or the ship that tried to retreat
  int targetId = 0;      // the target of a shot
  int chance = 0;        // the hit chance or the retreat chance, per cent
  bool success = false;  // a hit, or a retreat that worked
  int damage = 0;        // hit points the target lost
  bool destroyed = false;
  std::wstring line;     // the battle log's line
};

// A ship of the battle as it was when the battle began, keyed by unit id
// (bought ships may share names).
struct sSeaBattleShip {
  int id = 0;
  int side = 0;  // 0 first side, 1 second side
  int initialHitPoints = 0;
  int countryId = 0;
  std::wstring name;
  std::wstring label;  // "name (country)"
};

// Who shows the battle. showPreliminaryReport shows the preliminary stage's
// report and returns when it was read; playRegularPart plays the rounds
// (PlayRound, TryRetreat, the selections) until the battle has ended. When
// the worker is told to stop meanwhile, the battle is left where it stands.
struct sSeaBattleHooks {
  std::function<void(const std::wstring& title, const std::wstring& text)> showPreliminaryReport;
  std::function<void(class cSeaBattle& battle)> playRegularPart;
};

// 1 to 5 rounds by the scenario's five weights.
int PickSeaBattleRounds(const cWorld& world);

class cSeaBattle {
 public:
  cSeaBattle(cWorld& world, std::vector<cJednostkaMorska*> firstSide, std::vector<cJednostkaMorska*> secondSide);
  cSeaBattle(const cSeaBattle&) = delete;
  cSeaBattle& operator=(const cSeaBattle&) = delete;

  // The whole battle: the preliminary stage, its report, the regular part
  // (through the hooks, or played to the end) and the final report.
  void Fight(const sSeaBattleHooks& hooks = {});

  // --- the preliminary stage ---
  void PreliminaryStrikes();
  void CarrierStrikes(int strikingSide);
  void SubmarineAttacks(int strikingSide);

  // --- the regular part, as the screen drives it ---
  // One step: the shot of the acting side's selection at the other's, the
  // removal of destroyed ships and the end test. Always true.
  bool PlayRound();
  void NextRound();
  void SelectRandomShips();
  bool SelectFirstSideShip(int shipId);
  bool SelectSecondSideShip(int shipId);
  // Under the framework lock: the ship leaves the battle on a d100 below the
  // retreat chance; either way it has acted, and the battle goes on with the
  // next shooter and target (or ends when the ship's side is gone).
  bool TryRetreat(cJednostkaMorska& ship);
  // The column of the ship's cell on the screen's 31 x 31 battle grid; a
  // carrier near either edge (below 4 or above 26) is hit half as often.
  // Ships the screen has not placed stand in the middle column.
  void SetGridColumn(int shipId, int column) { gridColumns_[shipId] = column; }
  int GridColumn(int shipId) const;
  void RequestAutoEnd() { autoEnd = true; countdown = 0.0f; }
  void RequestNextRound() { nextRound = true; countdown = 0.0f; }
  // The round timer after a round played automatically: the next follows
  // at once in a battle nobody watches, else after the seconds of
  // "InterfaceSettings/SeaBattleTimeout".
  void PresetRoundTimer();
  // Drops the ships below 1 hit point from both sides and kills every naval
  // unit of the world below 1 hit point (after the walk over the lists).
  void RemoveDestroyedShips();
  void EndBattle();
  bool Ended() const { return ended_; }

  // Plays the regular part without a screen until the battle ends.
  void PlayToEnd();

  // Whether the ship may be shot at: it is seen, or its fleet is active.
  bool IsTargetable(const cJednostkaMorska& ship) const;
  // The ship's label, "name (country)".
  std::wstring Label(const cJednostkaMorska& ship) const;
  const std::vector<cJednostkaMorska*>& Side(int side) const { return side == 0 ? firstSide : secondSide; }

  // What the screen and the reports read.
  std::wstring reportText;   // the preliminary stage's report
  std::wstring seaAreaName;
  std::wstring battleLog;
  std::wstring finalReport;  // the report of the end of the battle
  bool cancelRegularPart = false;
  std::vector<sSeaBattleStrike> strikeEntries;
  std::vector<sSeaBattleEvent> events;
  int roundsLeft = 0;
  bool openingSide = true;   // true: the first side opens the regular part
  bool firstSideActs = true;
  bool firstSideHuman = false;
  bool secondSideHuman = false;
  bool unattended = false;
  bool autoEnd = false;
  bool nextRound = false;
  cJednostkaMorska* firstSideSelected = nullptr;
  cJednostkaMorska* secondSideSelected = nullptr;
  float countdown = 0.0f;
  std::vector<sSeaBattleShip> initialShips;
  std::vector<cJednostkaMorska*> firstSide;
  std::vector<cJednostkaMorska*> secondSide;
  std::set<int> countries;
  // The play-by-e-mail game's record of this battle (filled in such a game
  // only, and appended to the world's records at the end).
  sSeaBattleRecord record;

  // The screen that shows the battle, told on the main thread: a ship left
  // the battle (sunk or retreated; called before a sunk ship is freed), and
  // the battle ended. Unset while no screen shows it.
  std::function<void(int shipId)> shipLeftHook;
  std::function<void()> endedHook;

 private:
  void ResetShip(cJednostkaMorska& ship);
  void RecomputeHumanSides();
  void Shoot(cJednostkaMorska& shooter, cJednostkaMorska& target);
  // After a ship's action: the end when a side is gone, else the next
  // acting side and selections, or the next round.
  void NextStep();
  void LogEnd();
  int CountCarriers(int side) const;
  int CountType(int side, int type) const;
  bool AllOfTypes(int side, int typeA, int typeB) const;
  int BestNavyLevel(int side) const;

  cWorld& world_;
  std::set<int> targetable_;  // ids of the ships that may be shot at
  std::map<int, int> gridColumns_;  // by ship id
  bool ended_ = false;
};

// The sea battles of the end of an impulse: the surprise attacks of carriers
// and raider submarines, the meetings of each alliance's (and each warring
// neutral's) fleets with their enemies in every sea zone, and the hunt for
// enemy raiders. Runs on the worker thread.
void GenerateSeaBattles(cWorld& world, const sSeaBattleHooks& hooks = {});

// What the sea-battle step asks of the screen that shows the world (the map
// screen implements it beside cWorldView). Main thread only: the worker
// reaches it through the main-thread request queue.
class cSeaBattleView {
 public:
  virtual ~cSeaBattleView() = default;
  // Makes the sea-battle screen for the battle the current menu (game phase
  // 5 while it is shown; closing it sets phase 4) and starts its automatic
  // play when the battle's auto-end flag is set.
  virtual void ShowSeaBattle(cSeaBattle& battle) = 0;
};

// Whether the battle is played on the screen: a human side fights, or the
// play-by-e-mail player watches it played out. Battles of computer players
// alone are fought at once.
bool ShowsSeaBattle(const cWorld& world, const cSeaBattle& battle);

// The sea-battle step of a real end of an impulse, on the worker thread:
// game phase 4 and the status text, then the battles of GenerateSeaBattles,
// each shown battle on the sea-battle screen while the worker waits (and
// gives up the wait when told to stop).
void RunSeaBattles(cWorld& world);
