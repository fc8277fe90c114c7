// The computer opponent's economy and diplomacy: what a computer country buys
// with its production points, its diplomatic steps and declarations of war,
// and the upkeep of its forces (replacements, ship repairs, commanders,
// supply convoys). Each operation is self-contained on the worker thread: it
// reads the country's units from the world's lists, changes the world only
// through the rules (or one short locked step of its own) and never holds the
// framework lock across a wait.
#pragma once

#include <array>
#include <vector>

class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;
class cWorld;

namespace ai {

// --- the country's own units ---

// The country's land units on the map, air units and ships, in the order of
// the world's lists.
struct sOwnUnits {
  std::vector<cJednostkaLadowa*> land;
  std::vector<cJednostkaLotnicza*> air;
  std::vector<cJednostkaMorska*> ships;
};
sOwnUnits CollectOwnUnits(cWorld& world, int countryId);

// --- purchases ---

// The codes of a country's purchase queue.
enum eAiPurchaseCode : int {
  kAiBuyAmphibiousPoint = 0,  // one amphibious invasion point
  kAiBuySeaTransportLot = 1,  // ten sea transport points
  kAiBuyAirLevelUp = 2,
  kAiBuyLandLevelUp = 3,
  kAiBuyResearch = 4,         // one research investment
  kAiBuyLandUnit = 5,
  kAiBuyAirUnit = 6,
  kAiBuyShip = 7,
  kAiBuyStrategicPoint = 10,  // one strategic movement point
};

// What one decision chose, for the execution step that follows it.
struct sAiPurchase {
  cJednostkaLotnicza* airUnit = nullptr;
  float airLevelUpCost = 0.0f;
  cJednostkaLadowa* landUnit = nullptr;
  float landLevelUpCost = 0.0f;
  float researchCost = 0.0f;
  int tech = -1;
};

// The most decisions one turn's purchases make: a second guard behind the
// rules that make every pass spend points or end the loop.
constexpr int kMaxPurchasePasses = 1000;

// The purchase loop of a turn: the level-ups and research still queued are
// dropped, then a decision and an execution per pass until an execution
// buys nothing. Returns the number of purchases made.
int BuyNewUnits(cWorld& world, cCountry& country);
// Appends one code to an empty queue (nothing when the queue holds codes).
void DecidePurchase(cWorld& world, cCountry& country, sAiPurchase& purchase);
// Carries out the first queued code the country can pay: true when it did.
bool ExecutePurchase(cWorld& world, cCountry& country, sAiPurchase& purchase);
// The weighted draw over the 14 purchase preferences (one rand() draw): the
// first index whose cumulative share reaches the draw; when rounding leaves
// none, the last index with a positive weight. -1 (and no draw) when every
// weight is 0 or less.
int ChoosePurchasePreference(const std::array<int, 14>& weights);
// The technology to invest in next, or -1.
int ChooseResearch(const cWorld& world, const cCountry& country);
// The first own air unit / armoured land unit that has not acted in this
// impulse, is below level 5 and can level up; null when none.
cJednostkaLotnicza* FindAirUnitToLevelUp(cWorld& world, const cCountry& country);
cJednostkaLadowa* FindArmourToLevelUp(cWorld& world, const cCountry& country);
// The land unit (not armoured) whose level-up brings the forces closest to
// the desired share of each level; null when no level falls short or no
// unit below a short level can level up.
cJednostkaLadowa* FindLandUnitToLevelUpByStructure(cWorld& world, const cCountry& country);

// --- diplomacy ---

// The alliance entry policy (hasten or delay) and the pressure on the
// countries listed in the country's data; each action's text is shown.
void MakeDiplomacyDecisions(cWorld& world, cCountry& country);
// The share of the country's offensive units that stand ready (order 13
// among orders 12 and 13); 0 when none has either order.
float OffensiveReadiness(cWorld& world, const cCountry& country);
// When the offensive stands ready (readiness above 0.7), war on the
// controller of each current target hex that may be declared on. Returns the
// number of declarations.
int DeclareWarOnTargets(cWorld& world, cCountry& country);

// --- upkeep ---

// Strength for own land units below factor x 100, weakest first.
void ReplaceLandLosses(cWorld& world, cCountry& country, float factor);
// Strength for own air units at or below factor x their type's full
// strength, weakest (strength + level) first.
void ReplaceAirLosses(cWorld& world, cCountry& country, float factor);
// Hit points for own ships damaged to the repair threshold, as far as the
// production points pay.
void RepairShips(cWorld& world, cCountry& country);
// Free commanders, best first, to the strongest own land units without one.
void AssignCommanders(cWorld& world, cCountry& country);
// Supply convoys from the country's supplied ports to its cut-off city
// groups. Returns the number of convoys added.
int PlanSupplyConvoys(cWorld& world, cCountry& country);
// A fixed rebasing for particular scenarios; no scenario of this game needs
// one, so nothing changes.
void MoveUnitsForScenarioSpecialCase(cWorld& world, cCountry& country);

}  // namespace ai
