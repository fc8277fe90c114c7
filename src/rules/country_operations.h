// Operations on everything a country has at once, which scripted events
// order: its land, air or naval forces destroyed, its navy handed to
// another country, its frozen land units released or held longer, and
// peace with every enemy. The caller holds the framework lock.
#pragma once

class cWorld;

// Every land unit of the country on the map, then those carried aboard
// ships (their ships go with them).
void KillAllLandUnits(cWorld& world, int countryId);
// Every air unit of the country, one by one.
void KillAllAirUnits(cWorld& world, int countryId);
// Every ship of the country on the sea, one by one.
void KillAllNavalUnits(cWorld& world, int countryId);
// The country's fleets, its ships with what they carry and its ships in the
// naval reserve pool pass to the other country.
void ChangeOwnershipOfAllNavalUnits(cWorld& world, int countryId, int newCountryId);
// Every land unit of the country on the map whose freeze time is above 0 is
// unfrozen (and gets its action points).
void UnFreezeAllUnits(cWorld& world, int countryId);
// Every land unit of the country on the map that is frozen (freeze time 1
// or more) gets the freeze time turns.
void SetFreezeLevelForAllFreezedUnits(cWorld& world, int countryId, int turns);
// Nothing unless the country is at war. With returnOccupied, every hex the
// country holds of another's, or another holds of the country's, goes back
// to its owner. Then each land unit on the map and air unit standing on a
// hex of a controller other than its own country, where the controller or
// the unit's country is this country, goes to its reserve pool; the
// country's wars end and it leaves its alliance.
void MakePeaceWithAll(cWorld& world, int countryId, bool returnOccupied);
