// The computer's sea invasion planning: the target (an obligatory city, or
// the enemy port that scores best), the units gathered at the ports from
// which the target's sea zone can be reached (orders 14 and 15), and their
// loading onto amphibious ships once all are there and the country has the
// amphibious invasion points.
#include <algorithm>
#include <limits>
#include <map>

#include "ai/ai_economy.h"
#include "ai/ai_fronts.h"
#include "ai/ai_helpers.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "platform/format.h"
#include "rules/sea_transport.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/topography.h"
#include "world/transport_tables.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// The invasion gathers units until their strength reaches this many times
// the defender's; an empty target hex counts as this strong.
constexpr float kInvasionStrengthRatio = 12.0f;
constexpr float kEmptyTargetStrength = 0.1f;
// Score of a free land hex beside the target, and of an allied city linked
// to it by a link of the second type.
constexpr double kFreeNeighbourScore = 2.0;
constexpr double kAlliedLinkScore = 10.0;
// The neighbours looked at around the target: directions 0 to 4.
constexpr int kScoredDirections = 5;

struct sInvasionTarget {
  cCity* city = nullptr;
  int zone = -1;  // the sea zone of the city's hex: where the fleets go
};

// The sea zone in front of the hex, where the fleets go: the hex's own sea
// zone, or for a port's hex (whose sea node is the port) the first sea zone
// linked to the port; -1 when the hex has none.
int SeaZoneOf(const cWorld& world, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return -1;
  const int id = map.GetHex(x, y).seaZone;
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(id);
  if (node == nullptr) return -1;
  return node->IsSeaZone() ? id : world.GetSeaGraph().GetAdjacentSeaZoneId(id);
}

float StrengthOn(const sHex& hex) { return hex.unit != nullptr ? hex.unit->GetEffectiveCombatStrength() : 0.0f; }

double ScoreTarget(cWorld& world, const cCountry& country, const cCity& city) {
  const cMap& map = world.GetMap();
  double score = -static_cast<double>(StrengthOn(map.GetHex(city.x, city.y)));
  cCityGraph& graph = world.GetCityGraph();
  const int node = city.graphNode;
  const bool hasNode = node >= 0 && node < static_cast<int>(graph.Nodes().size());
  if (hasNode && graph.HasAlliedLinkOfType1(world, node, country.id)) score += kAlliedLinkScore;
  for (int dir = 0; dir < kScoredDirections; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(city.x, city.y, dir, nx, ny);
    if (!map.IsInside(nx, ny)) continue;
    const sHex& hex = map.GetHex(nx, ny);
    if (!hex.IsLand()) continue;
    if (hex.unit == nullptr) {
      score += kFreeNeighbourScore;
    } else if (hex.unit->category == kCategoryLand) {
      score -= static_cast<double>(hex.unit->GetEffectiveCombatStrength()) / 2.0;
    }
  }
  if (hasNode) score += NodeCount(graph.Nodes()[static_cast<std::size_t>(node)], kNodeOwnAirStrength);
  return score;
}

// The staging ports of each sea zone, searched once per call.
class cStagingPorts {
 public:
  cStagingPorts(cWorld& world, const cCountry& country) : world_(world), country_(country) {}
  const std::vector<cCity*>& Of(int zone) {
    auto it = cache_.find(zone);
    if (it == cache_.end()) it = cache_.emplace(zone, FindStagingPorts(world_, country_, zone)).first;
    return it->second;
  }

 private:
  cWorld& world_;
  const cCountry& country_;
  std::map<int, std::vector<cCity*>> cache_;
};

sInvasionTarget ChooseTarget(cWorld& world, cCountry& country, cStagingPorts& staging) {
  sInvasionTarget best;
  std::vector<cCity*>& obligatory = country.aiData.obligatorySeaInvasionTargets;
  if (!obligatory.empty()) {
    cCity* city = obligatory.front();
    LockedStep([&] { obligatory.erase(obligatory.begin()); });
    const int zone = SeaZoneOf(world, city->x, city->y);
    if (zone < 0) {
      // A target no fleet can reach: no invasion this turn, the game goes on.
      LogLine(L"Error! Hex(%i,%i) was targeted for amphib invasion but tasksIt has no seazone attribute", city->x,
              city->y);
      return best;
    }
    best.city = city;
    best.zone = zone;
    return best;
  }
  double bestScore = std::numeric_limits<double>::lowest();
  for (cCity* city : world.Cities()) {
    LogLine(L"Checking city %s", city->GetName().c_str());
    if (!city->IsPort() || !AtWar(country, city->GetControllerId())) continue;
    LogLine(L"Condition 1 passed");
    const int zone = SeaZoneOf(world, city->x, city->y);
    if (zone < 0 || staging.Of(zone).empty()) continue;
    LogLine(L"Condition 2 passed");
    const double score = ScoreTarget(world, country, *city);
    if (best.city == nullptr || score > bestScore) {
      bestScore = score;
      best.city = city;
      best.zone = zone;
    }
  }
  return best;
}

bool IsInvasionCandidate(const cWorld& world, const cJednostkaLadowa& unit) {
  return IsUnitInWorldLists(world, &unit) && !unit.IsHarbour() && unit.IsOnMap() &&
         (unit.aiOrder == kAiIdle || unit.aiOrder == kAiReserve);
}

void LoadInvasionForce(cWorld& world, cCountry& country, sAiUnitLists& lists, const sInvasionTarget& target) {
  std::vector<cJednostkaLadowa*> waiting;
  int needed = 0;
  for (cJednostkaLadowa* unit : lists.ownLand) {
    if (!IsUnitInWorldLists(world, unit) || unit->aiOrder != kAiAwaitInvasionShip) continue;
    waiting.push_back(unit);
    needed += transport_tables::AmphibiousCost(world.constants, unit->type);
  }
  if (waiting.empty()) return;
  if (needed > country.amphibiousInvasionPoints) {
    LockedStep([&] { country.aiData.purchaseQueue.push_back(kAiBuyAmphibiousPoint); });
    LogLine(L"Need to buy more AIP for invasion! Exiting sea invasion procedure");
    return;
  }
  LogLine(L"We have enough AIP. Starting loading units.");
  for (cJednostkaLadowa* unit : waiting) {
    if (WorkerStopping(world)) return;
    const cMap& map = world.GetMap();
    const cCity* port = map.IsInside(unit->aiTargetX, unit->aiTargetY) ? map.GetHex(unit->aiTargetX, unit->aiTargetY).city
                                                                      : nullptr;
    if (port == nullptr) {
      LogLine(L"ERROR: No target for unit!");
      continue;
    }
    if (!port->IsPort()) {
      LogLine(L"ERROR: cannot load %s, %s is not a port (!)", unit->name.c_str(), port->GetName().c_str());
      continue;
    }
    const eTransportRefusal refusal =
        LockedStep([&] { return CheckLoadOntoShip(world, *unit, kUnitAmphibiousShip); });
    if (refusal != eTransportRefusal::kNone) {
      LogLine(L"[AI] %s: %s cannot be loaded onto an amphibious ship yet (refusal %i)", country.name.c_str(),
              unit->name.c_str(), static_cast<int>(refusal));
      continue;
    }
    const bool shown = IsActionShown(world, *unit);
    if (shown) ShowMoveBefore(world, unit->x, unit->y);
    ReportAction(plat::Format(L"[AI] %s: Loading %s onto amphib", country.name.c_str(), unit->name.c_str()), shown);
    cFleet* fleet = nullptr;
    const eTransportRefusal loading = AiLoadOntoTransport(world, *unit, kUnitAmphibiousShip, kAiFleetInvasion, &fleet);
    if (loading != eTransportRefusal::kNone) {
      LogLine(L"[AI] %s: loading %s refused (%hs)", country.name.c_str(), unit->name.c_str(),
              TransportRefusalKey(loading));
    }
    if (fleet != nullptr) {
      LockedStep([&] {
        fleet->aiDestinationNode = target.zone;
        fleet->aiInvasionX = target.city->x;
        fleet->aiInvasionY = target.city->y;
      });
    }
    if (shown) ShowMoveAfter(world);
  }
  // The loaded units have left the map.
  BuildUnitLists(world, country, lists);
}

}  // namespace

void PlanSeaInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts) {
  sCountryAiData& data = country.aiData;
  LockedStep([&] { data.currentSeaInvasionTarget = -1; });
  if (!data.makesSeaInvasions || !data.currentTargets.empty() ||
      static_cast<int>(fronts.size()) > data.maxNumberOfFrontsForSeaInvasion) {
    return;
  }
  LockedStep([&] {
    auto& obligatory = data.obligatorySeaInvasionTargets;
    obligatory.erase(std::remove_if(obligatory.begin(), obligatory.end(),
                                    [&](const cCity* city) {
                                      if (city == nullptr) return true;
                                      const int controller = city->GetControllerId();
                                      return controller == country.id || !AtWar(country, controller);
                                    }),
                     obligatory.end());
  });
  LogLine(L"%s plannning sea invasion. Determining target", country.name.c_str());
  cStagingPorts staging(world, country);
  const sInvasionTarget target = ChooseTarget(world, country, staging);
  if (target.city == nullptr) return;
  LogLine(L"Target for invasion: %i", target.zone);
  LockedStep([&] { data.currentSeaInvasionTarget = target.zone; });

  const sHex& targetHex = world.GetMap().GetHex(target.city->x, target.city->y);
  const float defender = targetHex.unit != nullptr ? std::max(StrengthOn(targetHex), kEmptyTargetStrength)
                                                   : kEmptyTargetStrength;
  const std::vector<cCity*>& ports = staging.Of(target.zone);
  DropDeadUnits(world, lists);
  std::vector<std::pair<cJednostkaLadowa*, cCity*>> candidates;
  for (cJednostkaLadowa* unit : lists.ownLand) {
    if (!IsInvasionCandidate(world, *unit)) continue;
    if (cCity* port = NearestPortOverCityGraph(world, *unit, ports)) candidates.emplace_back(unit, port);
  }
  if (candidates.empty()) {
    LogLine(L"No land units applicable for invasion. Exiting sea invasion procedure.");
    return;
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const auto& a, const auto& b) { return CompareUnitsByStrength(a.first, b.first); });
  float chosen = 0.0f;
  for (const auto& [unit, port] : candidates) {
    if (chosen >= kInvasionStrengthRatio * defender) break;
    SetUnitOrder(*unit, kAiToInvasionPort, port->x, port->y, port->x, port->y);
    chosen += unit->GetEffectiveCombatStrength();
  }

  for (cJednostkaLadowa* unit : std::vector<cJednostkaLadowa*>(lists.ownLand)) {
    if (WorkerStopping(world)) return;
    if (!IsUnitInWorldLists(world, unit) || unit->aiOrder != kAiToInvasionPort) continue;
    MoveTowardPort(world, country, *unit, kAiAwaitInvasionShip);
  }
  DropDeadUnits(world, lists);
  for (const cJednostkaLadowa* unit : lists.ownLand) {
    if (unit->aiOrder == kAiToInvasionPort) return;
  }
  LogLine(L"All units ready for invasion!");
  LoadInvasionForce(world, country, lists, target);
}

}  // namespace ai
