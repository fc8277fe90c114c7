// Convoys at the end of an impulse: each country's convoys sail in the order
// of its list during the supply pass, spending sea transport points, running
// the raids along their sea route and delivering supply or production points;
// afterwards the human countries are shown what came of them.
#pragma once

#include <iterator>
#include <vector>

class cCity;
class cJednostka;
class cWorld;
class cConvoy;
struct sConvoyResult;

// A unit of the supply pass and the city it draws its supply from (null when
// it found none).
struct sConvoySupplyDraw {
  const cJednostka* unit = nullptr;
  const cCity* city = nullptr;
};

// The land-connected city groups of the supply pass.
using ConvoyCityGroups = std::vector<std::vector<cCity*>>;

// Why an execution was refused, in the order the checks run. Each maps to a
// text key (ConvoyRefusalKey).
enum class eConvoyRefusal {
  kNone = 0,
  kSameCity,              // departure and destination are one city
  kNeutralAtPeace,        // supplies of a neutral at war with nobody
  kDepartureNotOwned,     // production points leave from a city the owner does not hold
  kDestinationEnemy,      // the destination's holder is at war with the owner
  kSameController,        // production points between two cities of one holder
  kDepartureNotFriendly,  // the departure is held by neither the owner nor an ally
  kDepartureUnsupplied,   // supplies from a city without full supply of its own
  kDestinationNotFriendly,  // supplies to an enemy or neutral
  kWellSupplied,          // the destination has 80 % of the full supply or more
  kNoSeaRoute,            // no route over the sea graph with friendly ports and straits
  kZeroProduction,        // a production convoy of value 0
  kNoProduction,          // the owner has less than one production point
  kNoUnitsToSupply,       // nobody draws supply from the destination's group
  kNoTransportPoints,     // the owner has no free sea transport points
  kTooFewTransportPoints, // a production convoy needs more than the owner has
};

// The language-base key of a refusal; null for kNone.
const char* ConvoyRefusalKey(eConvoyRefusal refusal);

// The checks of an execution that need no unit list, in their order (the
// first that fails); what the convoys dialog and the computer's planning can
// ask before the end of the impulse.
eConvoyRefusal CheckConvoy(cWorld& world, const cConvoy& convoy);

// Runs one convoy: the checks, the sea transport points it needs and takes,
// the raids at every node of its route and the delivery. The result says
// what came of it. Runs under the framework lock (the supply pass's step).
eConvoyRefusal ExecuteConvoy(cWorld& world, cConvoy& convoy, sConvoyResult& result, const ConvoyCityGroups& groups,
                             const std::vector<sConvoySupplyDraw>& draws);

// Every convoy of the country in list order: the points its convoys held
// come back first, the country's results are made afresh, and from the first
// real impulse on each result is also a report. groups are the country's
// (or its alliance's) land-connected city groups, draws the supply pass's
// units with the cities they draw from. Runs under the framework lock.
void ExecuteCountryConvoys(cWorld& world, int countryId, const ConvoyCityGroups& groups,
                           const std::vector<sConvoySupplyDraw>& draws);

// The same for the supply pass's own lists: any range of city groups (each
// a range of city pointers) and of entries with the members unit and city.
template <class Groups, class Entries>
void ExecuteCountryConvoysOf(cWorld& world, int countryId, const Groups& groups, const Entries& entries) {
  ConvoyCityGroups cityGroups;
  for (const auto& group : groups) cityGroups.emplace_back(std::begin(group), std::end(group));
  std::vector<sConvoySupplyDraw> draws;
  for (const auto& entry : entries) draws.push_back({entry.unit, entry.city});
  ExecuteCountryConvoys(world, countryId, cityGroups, draws);
}

// The convoy step of the end of an impulse, on the worker: every active
// country with convoy results that a player at this screen controls (a human
// country; in a play-by-e-mail game the viewing player's) is shown its
// results through the world's view, and the worker waits, stoppably, until
// the player has closed them (called on the main thread it does not wait).
void ExecuteConvoys(cWorld& world);
