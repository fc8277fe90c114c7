// The map family of the scripted events' effects, shared by its three
// files: event_map_effects.cpp (the name table, hexes, cities, ports,
// convoys and areas), event_unit_effects.cpp (land and air units on the map
// and in the reserve) and event_sea_effects.cpp (ships, fleets and sea
// zones). Every effect runs with the framework lock held (ExecuteEventEffect
// takes it) and checks each id, coordinate and type it uses: a bad one
// writes an "ERR:" line naming the event and the effect changes nothing.
#pragma once

#include <memory>
#include <string>

#include "rules/event_params.h"

class cCountry;
class cJednostkaLadowa;
class cWorld;
struct sEventEffect;

using MapEffectFn = void (*)(cWorld& world, const sEventEffect& effect, const sEventCall& call);

// What a map change must tell the screen (through the world's view, on the
// main thread): the panels of the selected hex and unit, and after a change
// of control the minimap's ownership layer.
void ShowMapChange(bool controlChanged);

// --- land units made by the scripts (event_unit_effects.cpp) ---
// Land types 0-6 and levels 1-5; false after the error line.
bool CheckEventLandUnit(double type, double level, const sEventCall& call);
// A new land unit of the country, as a purchase makes it (full supply, its
// effectiveness, no commander, no supply source, no action points), with
// the next land-unit id, the strength given and ready at once; off the map,
// in no list. The type and level must have passed the check.
std::unique_ptr<cJednostkaLadowa> NewEventLandUnit(cWorld& world, const cCountry& country, double type,
                                                   double level, double strength, const std::wstring& name);

// --- effects of event_unit_effects.cpp ---
void AddLandUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddLandUnitAndTakeHex(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void FirePartisans(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddAirUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddHarbour(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void KillUnitOnHex(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void TeleportUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void FreezeUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void FreezeUnitOfCountry(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void UnfreezeUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void RemoveUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);

// --- effects of event_sea_effects.cpp ---
void AddShipToReserve(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddLandUnitAtSea(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddLandingLandUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void AddShipAtSeaNode(cWorld& world, const sEventEffect& effect, const sEventCall& call);
void DamageShipsInSeaZone(cWorld& world, const sEventEffect& effect, const sEventCall& call);
