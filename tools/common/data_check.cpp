#include "common/data_check.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>

#include "platform/text.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/scenario_constants.h"
#include "world/sea_graph.h"
#include "world/topography.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

// The typical case the constants are tried on: a unit of level 1 at full
// strength and full supply, on plain terrain in good weather; a commander of
// skill 3 and experience 2; a convoy of more than 20 STP.
constexpr int kPlainTerrain = 1;
constexpr int kTypicalSkill = 3;
constexpr int kTypicalExperience = 2;
// A factor the rules multiply as a percentage that is below this makes the
// effect less than a tenth: given on a scale of 10, not of 100.
constexpr int kLeastPercentFactor = 10;

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

class cChecker {
 public:
  cChecker(const cWorld& world, const sDataCheckFiles& files) : world_(world), files_(files), k_(world.constants) {}

  std::vector<std::string> Run() {
    AirStrikes();
    CityRaids();
    AirRanges();
    AirReplacements();
    PortStrikes();
    ConvoyRaids();
    Commanders();
    SupplyAndUpkeep();
    Ports();
    SeaBattles();
    Patrols();
    Targets();
    return warnings_;
  }

 private:
  // "WARNING: consts.csv line L (data line N, column C) = V: text".
  void AtConst(int dataLine, int column, const std::string& text) {
    const int fileLine = files_.constsFileLine ? files_.constsFileLine(dataLine) : 0;
    std::string where = files_.consts;
    if (fileLine > 0) where += " line " + std::to_string(fileLine);
    where += " (data line " + std::to_string(dataLine) + ", column " + std::to_string(column) + ")";
    warnings_.push_back("WARNING: " + where + " = " + Number(k_.Value(dataLine, column)) + ": " + text);
  }

  // The file column of the slot index of a line.
  static int Column(int dataLine, int index) { return ConstsLine(dataLine).firstColumn + index; }

  // Each value of the line that the rule multiplies as a percentage and
  // that lies between 1 and 9.
  template <typename T, std::size_t N>
  void PercentRow(int dataLine, const std::array<T, N>& row, const char* rule) {
    for (std::size_t i = 0; i < N; ++i) {
      const double v = static_cast<double>(row[i]);
      if (v > 0.0 && v < kLeastPercentFactor) {
        AtConst(dataLine, Column(dataLine, static_cast<int>(i)),
                std::string(rule) +
                    " multiplies it as a percentage: it cuts "
                    "the effect below a tenth");
      }
    }
  }

  // An air strike on a land unit (and a ship's bombardment of one).
  void AirStrikes() {
    const char* rule = "an air strike on a land unit";
    PercentRow(57, k_.bombardTerrainTable, rule);
    PercentRow(58, k_.bombardTable58, rule);
    PercentRow(59, k_.bombardTable59, rule);
    if (k_.bombardValue60 > 0 && k_.bombardValue60 < kLeastPercentFactor) {
      AtConst(60, 1,
              std::string(rule) +
                  " in a city multiplies it as a percentage: "
                  "it cuts the effect below a tenth");
    }
    const int supply = std::clamp(k_.maxSupply, 0, sScenarioConstants::kSupplyEntries - 1);
    const double effect = 100.0 * k_.bombardTable58[0] / 100.0 * k_.supplyEffectD[static_cast<std::size_t>(supply)] /
                          100.0 * k_.bombardTerrainTable[kPlainTerrain] / 100.0 * k_.bombardTable59[0] / 100.0;
    if (effect <= 1.0) {
      AtConst(58, 1,
              "a bomber of level 1 at full strength and supply strikes a unit "
              "in the open with the floor "
              "strength 1 (its factors give " +
                  Number(effect) + ")");
      return;
    }
    const float best = *std::max_element(k_.bombardFactors.begin(), k_.bombardFactors.end());
    const float base = k_.landBaseStrength[0][0];
    const double points = base > 0.0f ? best * effect / 100.0 * 100.0 / base : 0.0;
    if (points < 1.0) {
      AtConst(61, 2,
              "the best roll of " + std::string(rule) + " at strength " + Number(effect) +
                  " costs an infantry division of level 1 no strength point (" + Number(points) + ")");
    }
  }

  // A raid on a city by a strategic bomber of level 1 at full strength: it
  // flies one bombing step for each whole step of its strength.
  void CityRaids() {
    const int full = k_.airBaseStrength[2];
    const int step = k_.bombingStep;
    if (step < 1) {
      AtConst(15, 1, "a raid on a city flies no bombing step: it never destroys production");
      return;
    }
    const int steps = full / step;
    if (steps < 1) {
      AtConst(15, 1,
              "a strategic bomber at its full strength " + Number(full) +
                  " (line 14) flies no bombing step of this size: a raid on a city never destroys production");
      return;
    }
    const double base = steps * 100.0 * k_.strategicBombingB[0] / 100.0;
    const int best = *std::max_element(k_.strategicBombingA.begin(), k_.strategicBombingA.end());
    const int loss = static_cast<int>(best * base / 100.0);
    if (loss < 1) {
      AtConst(126, 2,
              "a raid on a city by a bomber of level 1 destroys no production "
              "point even at the best die (" +
                  Number(best) + " x " + Number(base) + " / 100, line 125)");
    }
  }

  // The strongest air unit of the type (20-22) on the map or in reserve;
  // -1 when the scenario has none of it.
  int StrongestAir(int type) const {
    int strongest = -1;
    const auto count = [&](const cJednostka* unit) {
      if (unit != nullptr && unit->category == kCategoryAir && unit->type == type) {
        const float strength = static_cast<const cJednostkaLotnicza*>(unit)->strength;
        strongest = std::max(strongest, static_cast<int>(strength));
      }
    };
    for (const cJednostka* unit : world_.Units().airUnits) count(unit);
    for (const cJednostka* unit : world_.Units().reservePool) count(unit);
    return strongest;
  }
  // A scenario without aircraft has no air war to keep from happening.
  bool AnyAir() const {
    return StrongestAir(kUnitFighter) >= 0 || StrongestAir(kUnitTacticalBomber) >= 0 ||
           StrongestAir(kUnitStrategicBomber) >= 0;
  }

  // The air ranges of aircraft of level 1 (line 47 times line 151), in a
  // scenario with aircraft: an air unit reaches something, the computer's
  // rebasing (toward friendly cities nearer than the rebase range less 2)
  // finds a city, and a fighter at full strength is strong enough to
  // intercept.
  void AirRanges() {
    if (!AnyAir()) return;
    const float factor = k_.aircraftRangeFactors[0];
    const auto range = [&](int base) { return static_cast<int>(static_cast<float>(base) * factor); };
    if (range(k_.airRangeBase[0]) < 1) {
      AtConst(47, 1, "fighters and tactical bombers of level 1 reach no hex: no air fight, strike or interception");
    }
    if (range(k_.airRangeBase[2]) < 1) AtConst(47, 3, "strategic bombers of level 1 reach no city");
    if (range(k_.airRangeBase[3]) - 2 < 1) {
      AtConst(47, 4, "the computer never rebases a fighter or tactical bomber of level 1: no city lies nearer than its "
                     "rebase range less 2");
    }
    if (range(k_.airRangeBase[4]) - 2 < 1) {
      AtConst(47, 5, "the computer never rebases a strategic bomber of level 1: no city lies nearer than its rebase "
                     "range less 2");
    }
    if (k_.airRangeBase[1] / 2 >= k_.airBaseStrength[0]) {
      AtConst(47, 2,
              "no fighter intercepts: its strength must exceed half of this, and at full strength it has " +
                  Number(k_.airBaseStrength[0]) + " (line 14)");
    }
  }

  // Air replacements of a unit of level 1 at full supply: they fill it up to
  // its type's full strength (line 14) at the price of line 80, at most the
  // air allowance of the supply bands (lines 50 and 56) at a time, half of
  // it for a fighter of the computer.
  void AirReplacements() {
    if (!AnyAir()) return;
    static const char* const kTypes[3] = {"fighters", "tactical bombers", "strategic bombers"};
    const int supply = std::clamp(k_.maxSupply, 0, sScenarioConstants::kSupplyEntries - 1);
    const int allowance = k_.supplyEffectF[static_cast<std::size_t>(supply)];
    // The band that gives the allowance at full supply: the last whose
    // bound reaches it.
    int band = -1;
    for (std::size_t i = 0; i < k_.supplyBandBounds.size(); ++i) {
      if (supply >= 1 && k_.supplyBandBounds[i] >= supply) band = static_cast<int>(i);
    }
    const int bandColumn = Column(56, std::max(band, 0));
    if (allowance < 1) {
      AtConst(56, bandColumn,
              "an air unit in full supply (" + Number(supply) + ") gets no replacement: its allowance is " +
                  Number(allowance));
    }
    for (int i = 0; i < 3; ++i) {
      const int type = kUnitFighter + i;
      const int strongest = StrongestAir(type);
      if (strongest < 0) continue;
      const std::string what = kTypes[i];
      const int full = k_.airBaseStrength[static_cast<std::size_t>(i)];
      if (full < 1) {
        AtConst(14, i + 1, what + " have no full strength: replacements never raise them");
        continue;
      }
      if (strongest > full) {
        AtConst(14, i + 1,
                what + " of the scenario stand at up to " + Number(strongest) +
                    ", above this full strength: a replacement fills them only up to it");
      }
      if (!(k_.airCostFactorsA[static_cast<std::size_t>(i)] > 0.0f)) {
        AtConst(80, Column(80, i), what + " have no price of a replacement point: none is ever bought");
      }
      if (i == 0 && allowance >= 1 && allowance / 2 < 1) {
        AtConst(56, bandColumn,
                "the computer never replaces a fighter's losses: it takes half the allowance of full supply (" +
                    Number(allowance) + "), which is 0");
      }
    }
  }

  // Air strikes on a port: the chance to damage it and to hit a ship.
  void PortStrikes() {
    const int damage = k_.airNavalBombard[0] * 1 - k_.airNavalBombard[1] * 1;
    if (damage < 1)
      AtConst(176, 1,
              "an air strike never damages a port (aircraft and artillery of "
              "level 1)");
    int hitPoints = 0;
    for (const cJednostkaMorska* ship : world_.Units().navalUnits) {
      if (ship != nullptr && ship->type == kUnitBattleship) hitPoints = std::max(hitPoints, ship->maxHitPoints);
    }
    if (hitPoints == 0) hitPoints = k_.navalTypeStrength[1];
    const int chance = hitPoints * k_.portBombardValues[2] + k_.portBombardValues[0];
    if (chance < 1) {
      AtConst(178, 3, "an air strike on a port never hits a battleship in it");
    } else if (static_cast<int>(chance * static_cast<float>(k_.portBombardValues[3]) / 100.0f) < 1) {
      AtConst(178, 4,
              "a strategic bomber's strike on a port never hits a battleship "
              "in it (its share of the chance " +
                  Number(chance) + " is a percentage)");
    }
  }

  // A fleet's and a raider's chance to attack a convoy of more than 20 STP.
  void ConvoyRaids() {
    const auto& f = k_.convoyRouteFactors;
    const int chance = static_cast<int>(static_cast<float>(static_cast<int>(f[0])) * f[3]);
    if (chance < 1) {
      AtConst(121, 1, "a fleet never attacks a convoy: the chance is " + Number(chance) + " %");
    }
    const int raider = static_cast<int>(static_cast<float>(chance) * f[4]);
    if (raider < 1) {
      AtConst(121, 5,
              "a raider without a commander never attacks a convoy: the chance "
              "is " +
                  Number(raider) + " %");
    }
    if (k_.convoyAttackValues[1] * kTypicalSkill < 1) {
      AtConst(180, 2, "a commander never adds to the chance of a raid on a convoy");
    }
  }

  // The commanders' checks: a threshold of weight x skill out of 100.
  void Commanders() {
    static const char* const kChecks[5] = {
        "the effectiveness a commander's skill adds", "the effectiveness a commander's experience adds",
        "a commander's prevention of losses", "a commander's doubling of damage", "a commander's bonus to bombardment"};
    for (std::size_t i = 0; i < 5; ++i) {
      const int weight = k_.commanderBonusValues[i];
      const int typical = i == 1 ? kTypicalExperience : kTypicalSkill;
      if (weight * typical < 1) {
        AtConst(179, static_cast<int>(i) + 1, std::string(kChecks[i]) + " never takes effect");
      }
    }
  }

  void SupplyAndUpkeep() {
    if (k_.maxSupply < 1) {
      AtConst(48, 1, "no unit is ever supplied");
      return;
    }
    const int cost = k_.terrainCostRows[1][0];
    if (cost >= k_.maxSupply) {
      AtConst(
          16, 2,
          "supply never reaches beyond its source: the plain costs " + Number(cost) + " of " + Number(k_.maxSupply));
    }
    const int supply = std::clamp(k_.maxSupply, 0, sScenarioConstants::kSupplyEntries - 1);
    if (k_.supplyEffectB[static_cast<std::size_t>(supply)] >= 100) {
      AtConst(52, 2, "a unit in full supply gets no action points");
    }
    if (!(k_.upkeepFactor > 0.0f)) AtConst(136, 1, "units never cost upkeep");
  }

  // Every port reaches the open sea: the largest group of sea zones that
  // the links join.
  void Ports() {
    const cSeaGraph& graph = world_.GetSeaGraph();
    const auto& nodes = graph.Nodes();
    std::map<int, std::size_t> index;
    for (std::size_t i = 0; i < nodes.size(); ++i) index[nodes[i].id] = i;
    std::vector<int> group(nodes.size(), -1);
    std::vector<int> zonesInGroup;
    for (std::size_t start = 0; start < nodes.size(); ++start) {
      if (group[start] >= 0) continue;
      const int g = static_cast<int>(zonesInGroup.size());
      zonesInGroup.push_back(0);
      std::deque<std::size_t> queue{start};
      group[start] = g;
      while (!queue.empty()) {
        const std::size_t at = queue.front();
        queue.pop_front();
        if (nodes[at].IsSeaZone()) ++zonesInGroup[static_cast<std::size_t>(g)];
        for (const sSeaLink& link : nodes[at].links) {
          const auto found = index.find(link.node);
          if (found == index.end() || group[found->second] >= 0) continue;
          group[found->second] = g;
          queue.push_back(found->second);
        }
      }
    }
    if (zonesInGroup.empty()) return;
    const int open =
        static_cast<int>(std::max_element(zonesInGroup.begin(), zonesInGroup.end()) - zonesInGroup.begin());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      if (nodes[i].IsSeaZone() || group[i] == open) continue;
      std::string reached;
      for (std::size_t j = 0; j < nodes.size(); ++j) {
        if (j == i || group[j] != group[i] || !nodes[j].IsSeaZone()) continue;
        reached += (reached.empty() ? "" : ", ") + plat::ToUtf8(nodes[j].name);
      }
      warnings_.push_back("WARNING: " + files_.seaEdges + ": the port " + plat::ToUtf8(nodes[i].name) + " (node " +
                          std::to_string(nodes[i].id) + ") reaches no open sea" +
                          (reached.empty() ? std::string(" (no sea zone at all)") : " (only " + reached + ")"));
    }
  }

  // The sea battles of the end of an impulse, in a scenario with ships: a
  // ship joins a battle by the chance of line 128; a battle starts, and a
  // raider is found, by the weights of the warships (line 72, columns 1-4);
  // carriers and raider submarines attack by surprise by columns 7 and 8.
  void SeaBattles() {
    const auto& ships = world_.Units().navalUnits;
    if (ships.empty()) return;
    if (k_.seaBattleJoinChance < 1) AtConst(128, 1, "no ship ever joins a sea battle");
    const auto& weight = k_.navalSeaBattleValue;
    if (std::all_of(weight.begin(), weight.begin() + 4, [](int w) { return w < 1; })) {
      AtConst(72, Column(72, 0), "every warship weighs nothing: no sea battle ever starts and no raider is found");
    }
    const bool carriers = std::any_of(ships.begin(), ships.end(), [](const cJednostkaMorska* ship) {
      return ship != nullptr && ship->type == kUnitAircraftCarrier;
    });
    const bool raiders = std::any_of(ships.begin(), ships.end(), [](const cJednostkaMorska* ship) {
      return ship != nullptr && ship->type == kUnitSubmarine && ship->fleet != nullptr &&
             ship->fleet->formation == kFormationRaiders;
    });
    if (carriers && weight[6] < 1) AtConst(72, Column(72, 6), "a carrier never attacks by surprise");
    if (raiders && weight[7] < 1) AtConst(72, Column(72, 7), "a raider submarine never attacks by surprise");
  }

  // The alliance (1-3) of an alliance code, 0 for a neutral.
  static int Side(int alliance) { return alliance >= 1 && alliance <= 6 ? (alliance - 1) % 3 + 1 : 0; }

  // Two countries are enemies at sea when they are at war at the start, or
  // stand in two alliances whose leaders are.
  bool Enemies(const cCountry& a, const cCountry& b) const {
    if (a.IsAtWarWith(b.id)) return true;
    const int sideA = Side(a.alliance), sideB = Side(b.alliance);
    if (sideA == 0 || sideB == 0 || sideA == sideB) return false;
    const cCountry* leaderA = nullptr;
    const cCountry* leaderB = nullptr;
    for (const auto& country : world_.Countries()) {
      if (country == nullptr) continue;
      if (country->alliance == sideA + 3) leaderA = country.get();
      if (country->alliance == sideB + 3) leaderB = country.get();
    }
    return leaderA != nullptr && leaderB != nullptr && leaderA->IsAtWarWith(leaderB->id);
  }

  // The sea zones the country's patrol list names that one of its fleets
  // reaches over the open sea (through the straits it may pass at the
  // start).
  std::vector<int> PatrolledZones(const cCountry& country) const {
    const cSeaGraph& graph = world_.GetSeaGraph();
    std::vector<char> reached(static_cast<std::size_t>(graph.GetNodeCount()) + 1, 0);
    std::deque<int> queue;
    for (const cFleet* fleet : world_.Units().fleets) {
      if (fleet == nullptr || fleet->country != country.id || fleet->ships.empty()) continue;
      const int node = fleet->seaNode;
      if (node < 1 || node > graph.GetNodeCount() || reached[static_cast<std::size_t>(node)]) continue;
      reached[static_cast<std::size_t>(node)] = 1;
      queue.push_back(node);
    }
    while (!queue.empty()) {
      const int at = queue.front();
      queue.pop_front();
      for (const sSeaLink& link : graph.GetNode(at)->links) {
        const sWezelGrafuMorz* next = graph.GetNode(link.node);
        if (next == nullptr || !next->IsSeaZone() || reached[static_cast<std::size_t>(link.node)]) continue;
        if (!graph.HasPassableLink(world_, at, link.node, country.id)) continue;
        reached[static_cast<std::size_t>(link.node)] = 1;
        queue.push_back(link.node);
      }
    }
    std::vector<int> zones;
    for (const auto& [zone, value] : country.aiData.seaZonesToPatrol) {
      if (zone >= 1 && zone <= graph.GetNodeCount() && reached[static_cast<std::size_t>(zone)]) zones.push_back(zone);
    }
    return zones;
  }

  // The patrol zones of two enemy navies share a node their fleets reach,
  // so that they meet in battle.
  void Patrols() {
    std::vector<const cCountry*> navies;
    for (const auto& country : world_.Countries()) {
      if (country != nullptr && !country->aiData.seaZonesToPatrol.empty()) navies.push_back(country.get());
    }
    const cSeaGraph& graph = world_.GetSeaGraph();
    const auto names = [&](const std::vector<int>& zones) {
      std::string out;
      for (int zone : zones) out += (out.empty() ? "" : ", ") + plat::ToUtf8(graph.GetNode(zone)->name);
      return out.empty() ? std::string("none") : out;
    };
    for (std::size_t i = 0; i < navies.size(); ++i) {
      const std::vector<int> first = PatrolledZones(*navies[i]);
      for (std::size_t j = i + 1; j < navies.size(); ++j) {
        if (!Enemies(*navies[i], *navies[j])) continue;
        const std::vector<int> second = PatrolledZones(*navies[j]);
        const bool shared = std::any_of(first.begin(), first.end(), [&](int zone) {
          return std::find(second.begin(), second.end(), zone) != second.end();
        });
        if (shared) continue;
        warnings_.push_back("WARNING: " + files_.ai + ": the fleets of " + plat::ToUtf8(navies[i]->name) + " and " +
                            plat::ToUtf8(navies[j]->name) +
                            ", enemies, never patrol the same sea zone: they never meet in battle (zones their fleets "
                            "reach: " +
                            names(first) + "; " + names(second) + ")");
      }
    }
  }

  // Every target of the computer's standing orders is joined by land to a
  // supply source of its owner, through the cities of the owner's side and
  // of the target's holder (those it takes on the way); and where the side
  // holds a city linked to it, the staging city of the build-up, that city
  // has a route through the side's cities from such a source (the route the
  // build-up order is given along).
  void Targets() {
    const auto& nodes = world_.GetCityGraph().Nodes();
    for (const auto& owner : world_.Countries()) {
      if (owner == nullptr) continue;
      for (const sAiTarget& target : owner->aiData.currentTargets) {
        const cCity* city = world_.GetMap().IsInside(target.a, target.b)
                                ? world_.GetTopography().NearestCity(target.a, target.b)
                                : nullptr;
        const std::string who = files_.ai + ": the target (" + std::to_string(target.a) + ", " +
                                std::to_string(target.b) + ") of " + plat::ToUtf8(owner->name);
        if (city == nullptr || city->graphNode < 0 || city->graphNode >= static_cast<int>(nodes.size())) {
          warnings_.push_back("WARNING: " + who + " is no city of the routes");
          continue;
        }
        const int holder = city->GetControllerId();
        if (!FromSupplySource(*city, *owner, holder)) {
          warnings_.push_back("WARNING: " + who + ", " + plat::ToUtf8(city->GetName()) +
                              ", has no land route from a supply source of " + plat::ToUtf8(owner->name));
          continue;
        }
        const cCity* staging = Staging(*city, *owner);
        if (staging != nullptr && !FromSupplySource(*staging, *owner, -1)) {
          warnings_.push_back("WARNING: " + who +
                              ": no route through the cities of its side joins "
                              "its staging city " +
                              plat::ToUtf8(staging->GetName()) + " to a supply source of " + plat::ToUtf8(owner->name));
        }
      }
    }
  }

  // The target's city when the side holds it, else the side's city linked
  // to it by land nearest it.
  const cCity* Staging(const cCity& city, const cCountry& owner) const {
    if (IsControllerFriendlyTo(city.GetControllerId(), owner)) return &city;
    const auto& nodes = world_.GetCityGraph().Nodes();
    const cCity* best = nullptr;
    int bestDistance = INT_MAX;
    for (const sCityGraphLink& link : nodes[static_cast<std::size_t>(city.graphNode)].links) {
      if (link.type != kCityLinkLand || link.target < 0 || link.target >= static_cast<int>(nodes.size())) continue;
      const cCity* linked = nodes[static_cast<std::size_t>(link.target)].city;
      if (linked == nullptr || !IsControllerFriendlyTo(linked->GetControllerId(), owner)) continue;
      const int d = HexDistance(linked->x, linked->y, city.x, city.y);
      if (d < bestDistance) {
        bestDistance = d;
        best = linked;
      }
    }
    return best;
  }

  // Whether a supply source of the owner reaches the city by land through
  // the cities of the owner's side and those of the holder (-1: none).
  bool FromSupplySource(const cCity& goal, const cCountry& owner, int holder) const {
    const auto& nodes = world_.GetCityGraph().Nodes();
    std::vector<char> seen(nodes.size(), 0);
    std::deque<int> queue{goal.graphNode};
    seen[static_cast<std::size_t>(goal.graphNode)] = 1;
    while (!queue.empty()) {
      const int at = queue.front();
      queue.pop_front();
      const cCity* city = nodes[static_cast<std::size_t>(at)].city;
      if (city != nullptr && city->GetControllerId() == owner.id &&
          (city->type == kCitySupply || city->type == kCitySupplyPort)) {
        return true;
      }
      for (const sCityGraphLink& link : nodes[static_cast<std::size_t>(at)].links) {
        if (link.type != kCityLinkLand || link.target < 0 || link.target >= static_cast<int>(nodes.size())) continue;
        if (seen[static_cast<std::size_t>(link.target)]) continue;
        const cCity* next = nodes[static_cast<std::size_t>(link.target)].city;
        if (next == nullptr) continue;
        const int controller = next->GetControllerId();
        if (!IsControllerFriendlyTo(controller, owner) && controller != holder) continue;
        seen[static_cast<std::size_t>(link.target)] = 1;
        queue.push_back(link.target);
      }
    }
    return false;
  }

  const cWorld& world_;
  const sDataCheckFiles& files_;
  const sScenarioConstants& k_;
  std::vector<std::string> warnings_;
};

}  // namespace

std::vector<std::string> CheckScenarioData(const cWorld& world, const sDataCheckFiles& files) {
  return cChecker(world, files).Run();
}

std::vector<int> ConstsFileLines(const std::string& text) {
  std::vector<int> lines(sScenarioConstants::kDataLines + 1, 0);
  int fileLine = 0;
  int dataLine = 0;
  std::size_t start = 0;
  while (start < text.size() && dataLine < sScenarioConstants::kDataLines) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    ++fileLine;
    if (!line.empty() && line[0] == '#') continue;
    if (line.find_first_not_of(" \t\r;") == std::string::npos) continue;
    lines[static_cast<std::size_t>(++dataLine)] = fileLine;
  }
  return lines;
}
