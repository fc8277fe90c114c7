// The land unit: infantry, mechanized and armoured divisions and corps,
// airborne divisions, and (as cMulberry) the artificial harbour. Adds to
// cJednostka its strength, freeze time, events effect, the computer
// opponent's order and targets, entrenchment and the transport links, and
// works out its effectiveness, its action points for an impulse, its
// strengths and its movement range (the computer opponent's move orders
// are rules: rules/land_move_orders.h).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "world/land_movement.h"
#include "world/unit.h"

class cCity;
class cJednostkaMorska;
class cWorld;
struct sScenarioConstants;

// The scenario constants the land unit reads, filled from the loaded world's
// constants by ApplyScenarioConstants; the defaults are neutral.
struct sLandUnitConstants {
  // By land warfare doctrine level 0..5 and land type 0..6.
  std::array<std::array<int, 7>, 6> actionPoints{};
  // Per cent of the action points lost, by supply level.
  std::vector<int> supplyActionPointPenalty;
  // Turns without supply at which a unit is cut off.
  int supplyCutOffLimit = 1;
  // Effectiveness per cent by supply level.
  std::vector<int> supplyEffectiveness;
  // Per cent of effectiveness per doctrine level.
  int doctrineEffectivenessBonus = 0;
  // By level 1..5 (index level - 1) and land type 0..6.
  std::array<std::array<float, 7>, 5> baseStrength{};
  int paradropPreparationTurns = 0;
  sLandMoveRules move;
};

// The land constants of the loaded scenario (process-wide).
sLandUnitConstants& LandUnitConstants();

// Fills LandUnitConstants() from a world's "consts.csv" record: action
// points (lines 2-7), base strength (9-13), the first terrain cost row and
// its addition as the zone-of-control cost (15), the doctrine effectiveness
// bonus (18), the few-points threshold from the attack cost (34), the supply
// effects on effectiveness and action points (49-56), the paradrop
// preparation turns (134), the cut-off limit (137) and the winter and mud
// move factors (139, 141). Must run before the world's land units are made:
// a new unit takes the paradrop preparation turns.
void ApplyScenarioConstants(const sScenarioConstants& constants);

class cJednostkaLadowa : public cJednostka {
 public:
  // A land unit of the world (null: of none); takes the world's next
  // land-unit id (0 without a world).
  explicit cJednostkaLadowa(cWorld* world);
  cJednostkaLadowa(const cJednostkaLadowa&) = default;
  cJednostkaLadowa& operator=(const cJednostkaLadowa&) = default;

  // --- Overrides, in the order of the base ---
  void UpdateEffectiveness() override;
  int MarkDeployHexes(bool mark) override;
  int ComputeMoveRange(bool countOnly) override;
  // The death of the land unit: it leaves the turn state's selection, move,
  // undo record and pending attack, then (under the framework lock) its hex
  // and every list of the world; no country keeps it as spotted, its own
  // commander is released; then it is deleted. Nothing may use it after.
  void Kill() override;
  // An air unit's or a ship's bombardment of this unit on its own hex (the
  // target argument is not read): both sides roll, this unit loses strength
  // by the attack's effectiveness, the attacker strength or hit points by
  // this unit's level and condition; the texts and two reports are written.
  // A destroyed attacker is flagged and left to the caller to kill; this
  // unit, destroyed, is killed here.
  void ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex* target) override;
  ~cJednostkaLadowa() override = default;
  void SetActionPoints(int n) override { actionPoints = n; }
  void ResetActionPoints() override;
  void GetEffectivenessHint(std::wstring& buffer) override;
  float GetCombatStrength() override;
  int GetStrength() override { return strength; }
  void AddStrength(float delta) override;
  float GetBaseStrength() override;
  bool IsHexInMoveRange(int hexX, int hexY) override;
  float GetEffectiveCombatStrength() override;
  bool CanUpgradeToCorps(std::wstring* hint) override;
  float GetUpgradeToCorpsCost() override;
  void UpgradeToCorps() override;
  bool CanLevelUp(std::wstring* hint) override;
  float GetLevelUpCost() override;
  void LevelUp() override;
  bool CanReplenish(std::wstring* hint) override;
  bool CanStrategicMove(std::wstring* hint) override;
  bool CanAirborneAssault(std::wstring* hint) override;
  bool CanSeaTransport(std::wstring* hint) override;
  bool CanAmphibiousTransport(std::wstring* hint) override;
  bool CanAirFight(std::wstring* hint) override;
  bool CanBombard(std::wstring* hint) override;
  bool CanNuclearAttack(std::wstring* hint) override;
  bool CanAirRecon(std::wstring* hint) override;
  // --- Added here ---
  virtual void SetStrength(int value) { strength = value; }

  // --- Members ---
  // Types 1, 3 and 5.
  bool IsCorps() const { return type == 1 || type == 3 || type == 5; }
  bool IsHarbour() const { return type == kUnitArtificialHarbour; }
  // The level-up's change alone (strength rescaled, cost paid, level + 1,
  // action points 0), without touching the range or the map's marks: the
  // computer opponent's form.
  void RaiseLevel();
  void Unfreeze();
  bool FindAdjacentPort(const cWorld& world, int& outX, int& outY) const;
  void SetAiOrder(cWorld& world, int orderCode, int targetX, int targetY, int mode);
  // Whether an order on a route (SetAiOrder's mode 2 or more) to the city on
  // (x, y) would find one: from the city the unit draws supply from (or the
  // nearest city of its hex) through cities its side holds, or that city
  // being the target itself.
  bool HasOrderRouteTo(cWorld& world, int targetX, int targetY) const;
  // Hops over the cities graph from the nearest city of the unit's hex to
  // the city on (x, y); -1 when there is no route, no city there or no
  // nearest city.
  int GetHopsToCity(const cWorld& world, int cityX, int cityY);
  // The hex of a strategic move to the city (world/strategic_movement.cpp):
  // none unless the unit has all its starting action points, the city is a
  // destination of the unit and its country has the points the move costs.
  // The city's hex when free, else its first neighbour (direction order)
  // that has a controller, carries no unit and is held by the unit's
  // country or an ally.
  bool FindStrategicMoveDestination(const cWorld& world, const cCity& target, int& outX, int& outY) const;

  // --- Fields added, in their order ---
  int strength = 0;
  float floatField = 0.0f;  // copied with the unit, read by nothing here
  cJednostkaMorska* transport = nullptr;
  int freezeTime = 0;
  int eventsEffect = 0;
  int aiOrder = 0;
  int aiTargetX = -1;
  int aiTargetY = -1;
  int aiUltimateTargetX = -1;
  int aiUltimateTargetY = -1;
  int turnsSinceParadrop = 0;
  bool movedOrDeployed = false;
  int entrenchment = 0;
  int lastX = -1;
  int lastY = -1;
  int transporterId = -1;

  // The last range as the search left it (after ComputeMoveRange the
  // reachable-hex list of the base holds the same entries).
  const std::vector<sLandMoveEntry>& MoveRange() const { return range_; }
  // The search of ComputeMoveRange for callers that read only MoveRange():
  // the reachable-hex list of the base is left as it was, which spares the
  // computer's many range searches its copy. Returns the same count.
  int ComputeMoveRangeOnly(bool countOnly);

 private:
  std::vector<sLandMoveEntry> range_;
};

class cMulberry : public cJednostkaLadowa {
 public:
  // A land unit of type 60 with the harbour's operations.
  explicit cMulberry(cWorld* world);

  void SetSupplySourceX(int) override { supplySourceX = -1; }
  void SetSupplySourceY(int) override { supplySourceY = -1; }
  void SetSupply(int level) override;
  void AddActionPoints(int) override { actionPoints = 0; }
  void SetStartingActionPoints(int) override { startingActionPoints = 0; }
  void SetActionPoints(int) override { actionPoints = 0; }
  void ResetActionPoints() override { actionPoints = 0; }
  void AddStrength(float delta) override;
  void SetStrength(int value) override;

  // Months the harbour still stands ("mulberry remaining time (months)";
  // the reader puts the scenario's lifetime in place of -1).
  int remainingMonths = -1;
};

// The country and visibility of the unit (land or air) on a hex, for the
// range: any unit blocks its hex and an enemy one casts a zone of control.
sHexOccupant LandUnitOccupant(const cJednostka* unit);
