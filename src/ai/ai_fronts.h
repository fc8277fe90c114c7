// The computer opponent's fronts: the land and air strength of every side
// around each city of the cities graph, the chains of cities that face an
// enemy across land links, how well each is held, and the strategic moves
// that send units to the fronts that need them.
#pragma once

#include <string>
#include <vector>

#include "world/city_graph.h"

class cCity;
class cCountry;
class cJednostkaLadowa;
class cWorld;

namespace ai {

struct sAiUnitLists;

// --- the node's strengths, kept in the cities graph's search fields ---

// The float fields: land strengths (effective combat strength sums).
enum eNodeLand : int { kNodeOurLand = 0, kNodeOwnLand = 1, kNodeEnemyLand = 2 };
// The int fields: air unit counts and strengths, and the count of own units.
enum eNodeCount : int {
  kNodeOurAirUnits = 0,
  kNodeOwnAirUnits = 1,
  kNodeEnemyAirUnits = 2,
  kNodeOwnUnits = 3,
  kNodeOurAirStrength = 4,
  kNodeOwnAirStrength = 5,
  kNodeEnemyAirStrength = 6,
};
inline float& NodeLand(sCityGraphNode& node, eNodeLand field) { return node.searchFloats[field]; }
inline float NodeLand(const sCityGraphNode& node, eNodeLand field) { return node.searchFloats[field]; }
inline std::int32_t& NodeCount(sCityGraphNode& node, eNodeCount field) { return node.searchValues[field]; }
inline std::int32_t NodeCount(const sCityGraphNode& node, eNodeCount field) { return node.searchValues[field]; }
// The node already belongs to a front.
inline bool IsNodeOnFront(const sCityGraphNode& node) { return node.searchFlag != 0; }

// --- fronts ---

enum eFrontState : int { kFrontHeld = 0, kFrontWeak = 1, kFrontCritical = 2, kNoFront = 3 };
// Advantage below which a front is critical, and below which it is weak.
constexpr float kCriticalAdvantage = 0.33f;
constexpr float kWeakAdvantage = 0.8f;
// The advantage of a front with no enemy land strength (and some of ours).
constexpr float kUncontestedAdvantage = 99999.0f;

struct sAiFront {
  std::wstring name;                    // "Front miasta <city>"
  std::vector<sCityGraphNode*> cities;  // own and allied cities and the enemy cities facing them
  int state = kFrontHeld;
  float advantage = 0.0f;  // our land strength / enemy land strength
  float ourLand = 0.0f, ownLand = 0.0f, enemyLand = 0.0f;
  int ourAirUnits = 0, ownAirUnits = 0, enemyAirUnits = 0;
  int ourAirStrength = 0, ownAirStrength = 0, enemyAirStrength = 0;

  // The front's lines in the log: name, air units, air strength, land
  // strength, state, then one line per city.
  void Dump() const;
  // One line: the first city, the number of cities and the advantage.
  void DumpSummary() const;
};

// Resets the cities graph's search data, then counts every listed land unit
// at the node of its area city (own, allied, enemy) and every listed air
// unit but the strategic bombers likewise. The enemy units' approach lists
// are emptied on the way.
void ComputeNodeStrengths(cWorld& world, const cCountry& country, sAiUnitLists& lists);
// Rebuilds the fronts from the node marks and the relations: each front
// starts at an unmarked own or allied city with a land link to an unmarked
// city held by an enemy and grows breadth-first over land links between
// cities whose holders are at war, one of them on the country's side.
void BuildFronts(cWorld& world, const cCountry& country, std::vector<sAiFront>& fronts);
// Sums, advantage and state of every front; every city's front state is set
// (kNoFront for a city on no front).
void EvaluateFronts(cWorld& world, std::vector<sAiFront>& fronts);
// The advantage of our land strength over the enemy's, and its state.
float FrontAdvantage(float ours, float enemy);
int FrontStateOf(float advantage);

// The front's node with the greatest / the smallest our land strength (the
// first of equal ones); null for a front without cities.
sCityGraphNode* GetStrongestNode(const sAiFront& front);
sCityGraphNode* GetWeakestNode(const sAiFront& front);
// The cities of the front held by the country or an ally.
std::vector<cCity*> CollectFrontCitiesOf(const cWorld& world, const sAiFront& front, int countryId);
// Exactly one city of the front is held by the country or an ally, and it
// is enclosed.
bool IsFrontSingleEnclosedCity(const cWorld& world, const sAiFront& front, int countryId);
// The front city (of the country's side) a unit can reach by strategic
// movement, or a reachable city of its side linked by land to one it
// cannot, nearest by the cities graph then by hexes; null when none or the
// unit has no area city.
cCity* FindFrontCityForUnit(cWorld& world, const std::vector<sAiFront>& fronts, const cJednostkaLadowa& unit);

// Our land strength, weakest first; fronts by advantage, smallest first.
bool CompareNodesByStrength(const sCityGraphNode* a, const sCityGraphNode* b);
bool CompareFrontsByAdvantage(const sAiFront& a, const sAiFront& b);

// Node strengths, fronts and their evaluation afresh: the usual picture.
void RefreshFronts(cWorld& world, const cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts);

// --- strategic moves to the fronts ---

// Moves own land units strategically to the weakest cities of the critical
// fronts, one at a time, recomputing the fronts after each, until a pass
// moves nobody. Returns the number of units moved.
int SavePoorlyDefendedFronts(cWorld& world, cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts);
// For each front whose strongest node holds more than the country's
// "MinRatioToPatchFront" times the own land strength of its weakest node,
// moves own land units strategically to the weakest node's city until the
// ratio falls to the limit or no unit can go. Returns the number moved.
int PatchWeakFronts(cWorld& world, cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts);

// The computer's strategic move of a land unit to (x, y) by the city: shown
// when the unit is visible and the turn shows actions, made by the
// strategic move rule. False (logged) when the rule refuses it.
bool PrzeniesStrategicznieJednostke(cWorld& world, cCountry& country, cJednostkaLadowa& unit, const cCity& city,
                                    int x, int y);
// A strategic move toward the city on (x, y) when the unit may move, the
// city lies at least minHops land links from the unit's area city and a
// destination at or next to it is free. True when the unit moved.
bool TryStrategicMoveToCity(cWorld& world, cCountry& country, cJednostkaLadowa& unit, int x, int y, int minHops);

}  // namespace ai
