// What the viewing country's side sees of the land and air units.
#pragma once

class cCountry;
class cWorld;

// With fog of war off every unit is visible; otherwise the viewer's own and
// its allies' units, what they reveal around them and what its
// reconnaissance spotted. Then the ships the viewer sees at every sea node
// (the spotting pass without the draws of a running battle). Logs
// "Recalculating units visibility".
void RecalculateUnitsVisibility(cWorld& world, const cCountry& viewer);
