// The root of the unit class tree and the base of land and air units.
//
//   cUnit
//   +-- cJednostka              land and air units (supply, level, action points)
//   |   +-- cJednostkaLadowa    land unit
//   |   |   +-- cMulberry       artificial harbour
//   |   +-- cJednostkaLotnicza  air unit
//   +-- cJednostkaMorska        ship
//
// Each class keeps the virtual operations of its base in the same order and
// adds its own after them.
#pragma once

#include <list>
#include <string>
#include <string_view>
#include <vector>

class cCity;
class cCommander;
class cCountry;
class cFleet;
class cJednostka;
class cJednostkaLadowa;
class cWorld;
struct sBombardmentResult;
struct sHex;

namespace plat {
struct RectI;
}

// Unit categories.
enum eUnitCategory : int {
  kCategoryLand = 0,
  kCategoryAir = 1,
  kCategoryNaval = 2,
};

// Unit type codes.
enum eUnitType : int {
  kUnitInfantryDivision = 0,
  kUnitInfantryCorps = 1,
  kUnitMechanizedDivision = 2,
  kUnitMechanizedCorps = 3,
  kUnitArmouredDivision = 4,
  kUnitArmouredCorps = 5,
  kUnitAirborneDivision = 6,
  kUnitFighter = 20,
  kUnitTacticalBomber = 21,
  kUnitStrategicBomber = 22,
  kUnitAircraftCarrier = 40,
  kUnitBattleship = 41,
  kUnitCruiser = 42,
  kUnitSubmarine = 43,
  kUnitCargoShip = 44,
  kUnitAmphibiousShip = 45,
  kUnitArtificialHarbour = 60,
};

// The category of a type code, or -1 for a code that names no unit.
int CategoryOfUnitType(int type);

// The longest unit name kept (the stored field holds 99 characters).
constexpr std::size_t kUnitNameMaxLength = 99;

// One entry of a movement range.
struct sReachableHex {
  cJednostka* unit = nullptr;  // the unit whose range this is
  int x = -1;
  int y = -1;
  int direction = -1;  // side it was entered from
  int cost = 0;        // movement cost to reach it
};

class cUnit {
 public:
  // A unit of the world (null: of none, when its getters answer as without
  // a loaded game). Copies belong to the same world.
  explicit cUnit(cWorld* world) : world_(world) {}
  cUnit(const cUnit&) = default;
  cUnit& operator=(const cUnit&) = default;

  // Puts the unit under the best HQ commander in range among the given land
  // units, in their order (the first of equals): those of the world's land
  // units that carry a commander, gathered once for a pass over every unit.
  // Ships have no HQ commander.
  void AssignBestHQCommanderAmong(const cWorld& world, const std::vector<const cJednostkaLadowa*>& commanded);

  // --- Virtual operations, in their order ---
  // Ships and air units answer an interception; the others do not.
  virtual bool ResolveInterception(cUnit* interceptor, sBombardmentResult& result);
  virtual void UpdateEffectiveness();
  // Marks (or counts, mark false) the hexes the unit may be placed on.
  virtual int MarkDeployHexes(bool mark) = 0;
  // Rebuilds the movement range; countOnly leaves the map marks alone.
  virtual int ComputeMoveRange(bool countOnly) = 0;
  virtual void ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex* target);
  // Removes the unit from every list and its hex, releases its commander
  // and deletes it. Nothing at this level.
  virtual void Kill();
  virtual ~cUnit() = default;

  // --- Shared members ---
  // The world the unit belongs to; null for a unit of none.
  cWorld* World() const { return world_; }
  // Copies the name, cut to 99 characters.
  void SetName(std::wstring_view text);
  // Stores the type code and sets the category from it; an unknown code
  // keeps the category.
  void SetType(int newType);
  // The owner, from the unit's world; null when there is none.
  cCountry* GetCountry() const;
  // The HQ commander (by id, from the unit's world); null when none.
  cCommander* GetCommander() const;
  // HQ commander id = the commander's id, or -1 for null.
  void SetCommander(const cCommander* commander);
  // A commander's weighted skill and experience, weakened by distance (the
  // weights and the command range of the world; neutral ones without one).
  static float GetCommanderValue(const cWorld* world, const cCommander& commander, int distance);
  // Whole part of the HQ commander's value at its distance; 0 without one.
  int GetHqCommanderBonus() const;
  // Moves the unit onto a free hex inside the map; anything else is refused
  // (returns false) and nothing changes.
  bool PlaceOnHex(cWorld& world, int newX, int newY);
  bool IsOnMap() const { return x >= 0 && y >= 0; }
  // The player's strategic move to (x, y): the sound when visible, the hex
  // links, action points 0, and the cost for the unit's country (strategic
  // movement points for land and naval units, production points for air
  // units). A hex outside the map is refused (false) and nothing changes.
  bool StrategicMove(cWorld& world, int newX, int newY);

  // --- Commander checks in combat ---
  // The own commander, else the HQ commander; null when none.
  cCommander* GetCountingCommander() const;
  // Hex distance to the unit the counting commander leads; 100 when he leads
  // none (or there is no commander).
  int GetCommanderDistance() const;
  float GetCommanderDistanceFactor() const;
  bool CommanderPreventsLosses() const;
  bool CommanderDoublesDamage() const;

  // Spotting ("Gameplay/FogOfWar" is the distance in hexes; 0 is no fog).
  // The unit becomes visible when fog is off or when a land unit, then an
  // air unit, of the country or its allies stands within the distance.
  void UpdateSpottedBy(const cWorld& world, const cCountry* country);
  // Every land and air unit within the fog distance becomes visible; with
  // flagContacts an enemy one not yet visible sets this unit's
  // new-enemy-contact flag (land and air units only carry it).
  void RevealUnitsAround(cWorld& world, bool flagContacts);

  // The localized name of a type code (unit sizes from the world; those of
  // size 1 without one).
  static std::wstring GetSubtypeText(const cWorld* world, int type);

  // --- Fields, in their order ---
  int category = kCategoryLand;
  int type = 0;
  std::wstring name;
  std::wstring secondText;
  int countryId = 0;
  cCommander* ownCommander = nullptr;  // not owned
  int hqCommanderId = -1;
  int id = 0;
  int x = -1;
  int y = -1;
  bool inReserve = false;
  bool visible = false;
  int turnsWithoutSupply = 0;
  int availableInTurns = 0;

 protected:
  // The commander check of the three combat operations: the whole part of
  // distance factor x weight x skill, or -1 without a commander.
  int CommanderThreshold(int weight) const;

 private:
  cWorld* world_ = nullptr;
};

class cJednostka : public cUnit {
 public:
  // Also teaches the city queries whose unit stands on a hex (once).
  explicit cJednostka(cWorld* world);
  cJednostka(const cJednostka&) = default;
  cJednostka& operator=(const cJednostka&) = default;

  // --- Virtual operations added after those of cUnit ---
  void UpdateEffectiveness() override = 0;
  int MarkDeployHexes(bool mark) override = 0;
  int ComputeMoveRange(bool countOnly) override = 0;
  ~cJednostka() override = default;
  virtual void SetSupplySourceX(int value) { supplySourceX = value; }
  virtual void SetSupplySourceY(int value) { supplySourceY = value; }
  virtual void SetSupply(int level) { supply = level; }
  virtual void AddActionPoints(int delta) { actionPoints += delta; }
  virtual void SetStartingActionPoints(int n) { startingActionPoints = n; }
  virtual void SetActionPoints(int n) = 0;
  virtual void ResetActionPoints() = 0;
  virtual void GetEffectivenessHint(std::wstring& buffer) = 0;
  virtual float GetCombatStrength() = 0;
  virtual int GetStrength() = 0;
  virtual void AddStrength(float delta) = 0;
  virtual float GetBaseStrength() = 0;
  virtual bool IsHexInMoveRange(int hexX, int hexY) = 0;
  virtual float GetEffectiveCombatStrength() = 0;
  virtual bool CanUpgradeToCorps(std::wstring* hint) = 0;
  virtual float GetUpgradeToCorpsCost() = 0;
  virtual void UpgradeToCorps() = 0;
  virtual bool CanLevelUp(std::wstring* hint) = 0;
  virtual float GetLevelUpCost() = 0;
  virtual void LevelUp() = 0;
  virtual bool CanReplenish(std::wstring* hint) = 0;
  virtual bool CanStrategicMove(std::wstring* hint) = 0;
  virtual bool CanAirborneAssault(std::wstring* hint) = 0;
  virtual bool CanSeaTransport(std::wstring* hint) = 0;
  virtual bool CanAmphibiousTransport(std::wstring* hint) = 0;
  virtual bool CanAirFight(std::wstring* hint) = 0;
  virtual bool CanBombard(std::wstring* hint) = 0;
  virtual bool CanNuclearAttack(std::wstring* hint) = 0;
  virtual bool CanAirRecon(std::wstring* hint) = 0;

  // --- Shared members ---
  // Leaves the map (its hex and the land or air units' list) for the
  // reserve pool, with the log line.
  void MoveToReservePool();
  // The bombardment bonus of the counting commander (0 without one).
  int GetCommanderBonus() const;
  // Places a reserve unit on (x, y) with the supply of the city on or next
  // to it. Without such a city the game cannot go on: the log line, then the
  // end of the process (exit code 1).
  void DeployFromReserve(cWorld& world, int hexX, int hexY);
  // The city DeployFromReserve takes the supply from for (x, y), with the
  // country whose turn it is deploying: the city on the hex, else the last
  // neighbouring city (not a resources city) that country controls and,
  // while it is at war, supplies with at least half the maximum (and, for a
  // unit of a human or e-mail player, sends no convoy from). Null when there
  // is none: a caller that must not end the game tests this first.
  const cCity* FindDeploySupplyCity(const cWorld& world, int hexX, int hexY) const;
  // The computer opponent's attack set-up, for a unit next to the target:
  // rebuilds the range and picks the cheapest reachable hex (cost below
  // 99999, the first on a tie) that is not next to the target, not one of
  // the six taken hexes and free. The entry is copied to out and taken
  // hexes[direction] receives its position. False when there is none, or
  // for a direction outside 0..5.
  bool FindFreeHexAwayFromTarget(int targetX, int targetY, int taken[6][2], sReachableHex& out, int direction);
  // Level + delta when that stays above 0 (then UpdateEffectiveness runs);
  // otherwise nothing changes.
  void AdjustLevel(int delta);
  // The fleet's battleships and cruisers that have not fired this turn (the
  // marked ones, or all with allShips) fire at this unit from the sea: its
  // shore-bombardment effect, its effectiveness, the result and two
  // reports. The unit dies when its combat strength falls below 0.1.
  void ResolveShoreBombardment(cWorld& world, cFleet& fleet, sBombardmentResult& result, bool allShips);
  // The id the scenario's files (its events) name the unit by: the one the
  // scenario gave it, which a unit that took a free id for a repeated one
  // keeps here; a unit the game made is named by its own id.
  int IdInScenario() const { return scenarioId != 0 ? scenarioId : id; }

  // --- Fields added, in their order ---
  int supplySourceX = -1;
  int supplySourceY = -1;
  int level = 1;
  int effectiveness = 0;
  int actionPoints = 0;
  int startingActionPoints = 0;
  int supply = 0;
  bool attacked = false;
  bool wasAttacked = false;
  std::list<sReachableHex> reachableHexes;
  std::list<sReachableHex> secondHexes;
  float shoreBombardmentEffect = 0.0f;
  bool newEnemyContact = false;
  // The id the scenario gave the unit, as the unit files keep it; 0 for a
  // unit the game made (IdInScenario).
  int scenarioId = 0;
};

// True while the unit is in one of the world's land, carried, air or
// reserve lists.
bool IsUnitInWorldLists(const cWorld& world, const cJednostka* unit);
// The death of a land or air unit: it leaves every list of the world and
// its hex, no country keeps it as recon-spotted, its own commander is
// released (on his way to headquarters, leading nothing), and it is deleted.
void RemoveUnitFromWorld(cWorld& world, cJednostka* unit);
// A unit killed in play: in one locked step it leaves its hex, then the turn
// state (selection, move, undo, attack; the panels are refreshed), then the
// lists, and is freed.
void KillUnitInWorld(cWorld& world, cJednostka* unit);
