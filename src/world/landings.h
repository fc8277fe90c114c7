// What the landings ask of the world without changing it: the range and the
// targets of an airborne division's drop and their marks on the map, and the
// landings' sounds (played by the main thread).
#pragma once

class cJednostkaLadowa;
class cWorld;

// The drop range in hexes: the whole part of the aircraft range multiplier
// of the unit's country's aircraft level times the paradrop range.
int GetParadropRange(const cWorld& world, const cJednostkaLadowa& unit);
// Whether (x, y) is a drop target of the unit: an airborne drop target of
// the current country (land, not mountain, no visible unit, held by nobody,
// the country, an ally or an enemy) within the drop range of the unit.
bool IsParadropTarget(const cWorld& world, const cJednostkaLadowa& unit, int x, int y);
// Marks every drop target of the unit (mark 16 when the unit has at most one
// action point, else 4; value -1) and returns their count.
int MarkParadropHexes(cWorld& world, const cJednostkaLadowa& unit);

// The paradrop sound and the land combat sound, at once on the main thread,
// else in its next frame.
void PlayParadropSound();
void PlayLandingCombatSound();
