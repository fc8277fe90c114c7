// Deployment from the reserve pool, as the units manager's deploy click and
// the computer opponent give it: a land or air unit onto a hex of the map, a
// ship into a fleet at a port. Each action runs its check first, under the
// framework lock: a hex without a city to supply the unit is a refusal
// here, not the end of the game the unit's placing would make it.
#pragma once

class cJednostka;
class cJednostkaMorska;
class cWorld;

// Why a deployment is refused. Each maps to a text key (DeployRefusalKey).
enum class eDeployRefusal {
  kNone = 0,
  kNotInReserve,    // the unit does not wait in the reserve pool
  kNotYetAvailable, // it arrives in a later turn
  kNotOwnTurn,      // it does not belong to the country whose turn it is
  kTargetOffMap,    // the hex is not on the map
  kTargetTaken,     // a unit stands on the hex
  kNoSupplyCity,    // no city on or next to the hex can supply it
  kNotAPort,        // a ship's sea node is no port (or no node at all)
  kPortTooSmall,    // the port is smaller than the ship's type needs
  kPortNotHeld,     // the ship's country does not control the port's hex
};

// The language-base key of a refusal; null for kNone.
const char* DeployRefusalKey(eDeployRefusal refusal);

// Whether the unit may be deployed on (x, y) now.
eDeployRefusal CheckDeployFromReserve(const cWorld& world, const cJednostka& unit, int x, int y);

// The check, then the unit's own placing (cJednostka::DeployFromReserve),
// under the framework lock; then whether the viewing country sees the unit
// is worked out again (cUnit::UpdateSpottedBy). A refused deployment
// changes nothing.
eDeployRefusal DeployFromReserve(cWorld& world, cJednostka& unit, int x, int y);

// Whether the ship may leave the naval reserve pool for the port of sea
// node seaNodeId now (a port its country holds, large enough for its type:
// the ports cJednostkaMorska::MarkDeployHexes marks).
eDeployRefusal CheckDeployShip(const cWorld& world, const cJednostkaMorska& ship, int seaNodeId);

// The check, then the ship joins a fleet of its country at the node
// (cJednostkaMorska::JoinFleetAtSeaNode, which makes one when none is
// there), under the framework lock. A refused deployment changes nothing.
eDeployRefusal DeployShip(cWorld& world, cJednostkaMorska& ship, int seaNodeId);
