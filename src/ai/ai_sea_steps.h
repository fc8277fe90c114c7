// The small steps the computer's sea operations share: fleets found again
// by id (a landing or a kill may delete a fleet under the worker's feet),
// the move of a fleet in one locked step, the display of a shown action and
// of a strike's result, and the text a shown action puts on the status line.
#pragma once

#include <functional>
#include <string>
#include <vector>

class cCity;
class cCountry;
class cFleet;
class cJednostkaLadowa;
class cJednostkaMorska;
class cWorld;
struct sBombardmentResult;

namespace ai {

// The fleet with the id that is still in the world's list; null when gone.
cFleet* FindFleetById(cWorld& world, int fleetId);
// The ids of the country's fleets, in the world's order.
std::vector<int> OwnFleetIds(cWorld& world, int countryId);
// The ship is still in the world's naval list.
bool IsShipInWorld(const cWorld& world, const cJednostkaMorska* ship);
// The own fleet moves along the sea route toward the node as far as its
// reach allows, through the fleet move's rule (MoveFleetToward); a fleet
// the rule refuses (moved this turn, no route, an unknown node) stays, the
// refusal logged. Returns the node it stands at afterwards.
int SailFleet(cWorld& world, cFleet& fleet, int nodeId);
// A fleet order given in one locked step.
void SetFleetOrder(cWorld& world, cFleet& fleet, int order, int destination);
// A land unit's order, targets and ultimate targets in one locked step.
void SetUnitOrder(cJednostkaLadowa& unit, int order, int targetX, int targetY, int ultimateX, int ultimateY);

// A unit on its way to a port (its target; the ultimate target when it has
// one): a strategic move and a step toward the ultimate target, a strategic
// move toward the target when that differs, else a move toward the target
// hex. It takes nextOrder once it stands on the target, or when it had
// action points and none were spent (it can get no nearer).
void MoveTowardPort(cWorld& world, cCountry& country, cJednostkaLadowa& unit, int nextOrder);

// Of the ports the unit may use (all, without a test), the one nearest the
// unit's area city over the cities graph (its own area city counts 0
// hops); null when none is linked or the unit has no area city.
cCity* NearestPortOverCityGraph(cWorld& world, const cJednostkaLadowa& unit, const std::vector<cCity*>& ports,
                                const std::function<bool(const cCity&)>& usable = {});

// Whether the country's action with the unit is shown: the unit is visible
// to the player and the turn shows the computer's actions.
bool IsActionShown(const cWorld& world, const cJednostkaLadowa& unit);
// The text of a shown action on the status line and in the log; in the log
// only when not shown.
void ReportAction(const std::wstring& text, bool shown);
// The view centred on the hex, then the pause before a move.
void ShowMoveBefore(cWorld& world, int x, int y);
void ShowMoveAfter(cWorld& world);
// The display of a strike on (x, y) that the player sees: the view on the
// hex, the pause, mark 2 on the hex, the pauses, the combat report for the
// computer's result delay, then the mark cleared. The caller holds no lock.
void ShowStrikeResult(cWorld& world, int x, int y, const sBombardmentResult& result);

}  // namespace ai
