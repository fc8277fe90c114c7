// A fleet: the ships of one country standing at one node of the sea graph.
// Fleets are what moves at sea: once per turn, along the sea graph's route,
// as far as the fleet's reach allows. The fleet also sums its ships' values
// and splits off marked ships into a new fleet.
#pragma once

#include <list>
#include <string>
#include <vector>

class cFleet;
class cJednostkaMorska;
class cWorld;
struct sBombardmentResult;
struct sWezelGrafuMorz;

// Told of every fleet the world deletes while the fleet still exists, so
// that whoever holds it (the fleets dialog's selection) lets it go. The
// higher layer that shows fleets implements it and registers itself with
// the world (cWorld::SetFleetWatcher).
class cFleetWatcher {
 public:
  virtual void RemoveFleet(const cFleet* fleet) = 0;

 protected:
  ~cFleetWatcher() = default;
};

enum eFleetFormation : int {
  kFormationRegular = 0,
  kFormationRaiders = 1,
};

class cFleet {
 public:
  cFleet() = default;
  // The split: a new fleet of the source's country, node, formation, flags
  // and orders, with the next fleet id of the world and the name made from
  // "fleet_#%i"; it takes the source's marked ships (their fleet becomes the
  // new one). The caller removes them from the source (RemoveMarkedShips)
  // and adds the new fleet to the world's list.
  cFleet(cWorld& world, const cFleet& source);
  // A plain copy of the record (the loaders fill a template and copy it).
  cFleet(const cFleet&) = default;
  cFleet& operator=(const cFleet&) = default;

  // The sea node the fleet stands at; null when the id names no node.
  sWezelGrafuMorz* GetSeaNode(cWorld& world) const;
  int GetShipCount() const { return static_cast<int>(ships.size()); }
  // The end of the fleet: the world's fleet watcher lets it go, it leaves
  // the world's fleet list and is freed. Its ships are not touched (the
  // caller has moved or killed them).
  void Delete(cWorld& world);
  // Removes the ship from the list (the ship keeps its own fields).
  void RemoveShip(cJednostkaMorska* ship) { ships.remove(ship); }

  // --- sums over the ships, in list order ---
  // The sea transport points the fleet destroys in a convoy raid (each ship
  // rolls its own damage).
  int RollConvoyDamage(const cWorld& world) const;
  float GetCombatValue(const cWorld& world) const;
  int GetTotalMaxHp() const;
  // The hit points of all ships; every ship's sea-zone assignment is set
  // back to -1 on the way.
  int SumHpAndClearZoneAssignments();
  // Whether every ship carries the first ship's sea-zone assignment; zone
  // gets the first differing assignment, or -1 when all agree.
  bool ShipsShareSeaZone(int& zone) const;
  void ClearShipMarks();
  void MarkShipsWithZone(int zone);
  void RemoveMarkedShips();
  // Appends the marked ships to other (their fleet becomes other) and
  // removes them from this fleet.
  void MoveMarkedShipsTo(cFleet& other);

  // --- movement ---
  // The nodes the fleet can reach this turn, the own node first (breadth
  // first within the fleet reach; ports only when friendly and large enough
  // for every ship; straits only when a friend holds them; from a port
  // other ports only through one sea zone). Fills reachableNodes.
  void ComputeReachableNodes(const cWorld& world);
  bool CanReach(const cWorld& world, int nodeId);
  // The node a move toward the target ends at this turn: the target when the
  // fleet reaches it (its own node for its own node), else the farthest
  // node of the sea route (friendly ports only) that it reaches; -1 when
  // there is no route (routed false) or no node of it is reached.
  int StepToward(const cWorld& world, int targetNodeId, bool* routed = nullptr);
  // The move along the sea route toward the target, as far as the reach
  // allows (StepToward), with the spotting at the new node; each refusal is
  // a warning line and leaves the fleet in place. Returns the node the
  // fleet stands at afterwards. The caller holds the framework lock.
  int MoveTo(cWorld& world, int targetNodeId);
  // A fleet in a port that fell to the enemy goes to the first sea zone
  // linked to it (no moved flag, no spotting); false when there is none.
  bool LeaveEnemyPort(cWorld& world);

  // --- the fleets dialog's marks: each returns the count and, with mark,
  // clears the map's marks first and marks the hexes ---
  // The main hex of each reachable sea zone and the player-marker hex of
  // each reachable port (mark 0x8000; 0xC000 cleared).
  int MarkReachableNodes(cWorld& world, bool mark);
  // Land hexes of the fleet's sea zone, and those within its carriers'
  // aircraft range of them, holding a visible enemy unit or an enemy city
  // (512); then the fleet's zone and each linked node where the country
  // has spotted enemy ships (16384).
  int MarkAttackHexTargets(cWorld& world, bool mark);
  // Whether (x, y) is one of those targets: a land hex the search finds or
  // a hex of a sea zone it finds; nothing is marked.
  bool IsAttackHexTarget(cWorld& world, int x, int y);
  // The same search for visible enemy units not shore-bombarded this
  // impulse (512): the land hexes of the fleet's sea zone holding one, and
  // those within the aircraft range of such a hex.
  int MarkShoreBombardmentTargets(cWorld& world, bool mark);
  // Whether (x, y) is one of those targets; nothing is marked. The shore
  // bombardment order accepts exactly these hexes.
  bool IsShoreBombardmentTarget(const cWorld& world, int x, int y) const;
  // The land hexes of the fleet's sea zone and those within the aircraft
  // range of them (256), then the hexes (16384) of the fleet's own zone at
  // sea, or from a port of the zones the port opens on; each hex and each
  // zone counts one.
  int MarkReconHexes(cWorld& world, bool mark);
  // Whether (x, y) is one of those hexes; nothing is marked.
  bool IsReconHex(cWorld& world, int x, int y);
  // The aircraft range of the fleet's carriers: the range multiplier of the
  // country's aircraft level times the carrier aircraft range.
  int GetCarrierAirRange(const cWorld& world) const;

  // The shore bombardment of the unit on (x, y): true when a unit of a
  // country at war that was not yet bombarded this impulse stood there;
  // otherwise every ship counts as having bombarded (false). The marked
  // battleships and cruisers fire, or all of them with allShips.
  bool ShoreBombardHex(cWorld& world, int x, int y, sBombardmentResult& result, bool allShips);

  int country = 0;
  std::list<int> reachableNodes;
  int id = 0;
  std::wstring name;
  int seaNode = 0;
  int formation = kFormationRegular;
  std::list<cJednostkaMorska*> ships;  // not owned
  bool moved = false;
  int aiOrder = 0;
  int aiDestinationNode = -1;
  int aiInvasionX = -1;
  int aiInvasionY = -1;
  bool active = true;

 private:
  // Stands the fleet at the node: the own counts of the old node lose it.
  void StandAt(cWorld& world, int nodeId);
};

// The name of a fleet made during play: the text of "fleet_#%i" with its id.
std::wstring MakeFleetName(int fleetId);
