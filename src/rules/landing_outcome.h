// What the transport and landing orders answer: why an order is refused,
// and what a landing did, for the screen that shows it (the combat report
// of an opposed landing, the message of an unopposed one or of a drop).
#pragma once

#include <string>

#include "world/combat_result.h"

// Why a loading, unloading, landing or drop is refused. Each maps to a text
// key (TransportRefusalKey).
enum class eTransportRefusal {
  kNone = 0,
  kNotOnMap,            // the unit does not stand on the map
  kNotOwnUnit,          // the unit does not belong to the country whose turn it is
  kNotShipType,         // only cargo ships (44) and amphibious ships (45) carry units
  kUnitCannot,          // the unit's own check refuses (points, action points, supply)
  kNoPort,              // no friendly port on or next to the unit's hex
  kNoSeaNode,           // no sea node has the port as its main hex
  kNoCargo,             // the ship carries no unit
  kNoFleet,             // the ship stands in no fleet at a sea node
  kTargetOffMap,        // the target hex is not on the map
  kNotUnloadHex,        // the target is not a hex the ship can put its cargo on
  kFriendlyOnBeach,     // a unit of a country not at war stands on the landing hex
  kNotParadropTarget,   // the drop target is taken or out of range
};

// The language-base key of a refusal; null for kNone.
const char* TransportRefusalKey(eTransportRefusal refusal);

struct sLandingOutcome {
  bool landed = false;
  // A unit stood on the landing hex: the battle is in result.
  bool opposed = false;
  sBombardmentResult result;
  // The message of an unopposed landing or of a drop (empty for a battle).
  std::wstring title;
  std::wstring text;
};
