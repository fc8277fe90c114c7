// A fleet: the ships of one country standing at one node of the sea graph.
// Movement, reach and the dialog's questions come with the fleet operations.
#pragma once

#include <list>
#include <string>

class cJednostkaMorska;
struct sWezelGrafuMorz;

enum eFleetFormation : int {
  kFormationRegular = 0,
  kFormationRaiders = 1,
};

class cFleet {
 public:
  // The sea node the fleet stands at, from the loaded world; null when the
  // id names no node.
  sWezelGrafuMorz* GetSeaNode() const;
  int GetShipCount() const { return static_cast<int>(ships.size()); }
  // Removes the ship from the list (the ship keeps its own fields).
  void RemoveShip(cJednostkaMorska* ship) { ships.remove(ship); }

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
};
