// What the viewing country's side sees of the land and air units.
#pragma once

class cCountry;
class cUnit;
class cWorld;

// With fog of war off every unit is visible; otherwise the viewer's own and
// its allies' units, what they reveal around them and what its
// reconnaissance spotted. Then the ships the viewer sees at every sea node
// (the spotting pass without the draws of a running battle). Logs
// "Recalculating units visibility".
void RecalculateUnitsVisibility(cWorld& world, const cCountry& viewer);

// Whether the viewer's side sees the unit, by the rules the pass above
// marks the flags with, without reading or touching any flag: with fog of
// war off every unit; otherwise the units of its side, those within the fog
// distance of a land or air unit of its side, and those its reconnaissance
// spotted. The computer decides in this sight of its own.
bool SideSeesUnit(const cWorld& world, const cCountry& viewer, const cUnit& unit);
