// Deployment of a land or air unit from the reserve pool onto the map, as
// the units manager's deploy click and the computer opponent give it. The
// action runs its check first: a hex without a city to supply the unit is a
// refusal here, not the end of the game the unit's placing would make it.
#pragma once

class cJednostka;
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
};

// The language-base key of a refusal; null for kNone.
const char* DeployRefusalKey(eDeployRefusal refusal);

// Whether the unit may be deployed on (x, y) now.
eDeployRefusal CheckDeployFromReserve(const cWorld& world, const cJednostka& unit, int x, int y);

// The check, then the unit's own placing (cJednostka::DeployFromReserve),
// under the framework lock. A refused deployment changes nothing.
eDeployRefusal DeployFromReserve(cWorld& world, cJednostka& unit, int x, int y);
