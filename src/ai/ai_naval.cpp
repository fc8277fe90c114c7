// The computer's ships and ports: new ships into fleets at its ports, its
// fleets, how safe a sea node is for them, and the ports from which a sea
// node can be reached.
#include "ai/ai_naval.h"

#include <list>

#include "app/console_log.h"
#include "rules/deployment.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// Thresholds of the enemy's strength against ours at a node.
constexpr float kEnemyAsStrong = 1.0f;
constexpr float kEnemyWeak = 0.3f;
// Transports at a node that a middling enemy threatens, and the share of
// transports a weak enemy still threatens.
constexpr int kManyTransports = 3;
constexpr float kMostlyTransports = 0.5f;

// The first sea node the deployment rule lets the ship into.
const sWezelGrafuMorz* FirstDeployPort(const cWorld& world, const cJednostkaMorska& ship) {
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    if (CheckDeployShip(world, ship, node.id) == eDeployRefusal::kNone) return &node;
  }
  return nullptr;
}

}  // namespace

int DeployNavalUnits(cWorld& world, cCountry& country) {
  // Each ship of the pool is looked at once: a ship deployed leaves the
  // pool, one without a port waits, so the loop ends with the pool.
  std::vector<cJednostkaMorska*> waiting;
  for (cJednostkaMorska* ship : world.Units().navalReservePool) {
    if (ship->countryId == country.id && ship->availableInTurns < 1) waiting.push_back(ship);
  }
  int deployed = 0;
  for (cJednostkaMorska* ship : waiting) {
    if (WorkerStopping(world)) break;
    const bool done = LockedStep([&] {
      const sWezelGrafuMorz* port = FirstDeployPort(world, *ship);
      if (port == nullptr) return false;
      const sHex& hex = world.GetMap().GetHex(port->x, port->y);
      const std::wstring& where = hex.city != nullptr ? hex.city->GetName() : port->name;
      LogLine(L"%s is deploying %s in %s", country.name.c_str(), ship->name.c_str(), where.c_str());
      if (DeployShip(world, *ship, port->id) != eDeployRefusal::kNone) return false;
      LogLine(L"Deployment succesful.");
      return true;
    });
    if (done) {
      ++deployed;
    } else {
      LogLine(L"[AI] %s: %s waits in the reserve, no port can take it", country.name.c_str(), ship->name.c_str());
    }
  }
  return deployed;
}

std::vector<cFleet*> CollectOwnFleets(cWorld& world, int countryId) {
  std::vector<cFleet*> out;
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->country == countryId) out.push_back(fleet);
  }
  return out;
}

bool IsSeaNodeSafe(cWorld& world, const cCountry& country, int seaNode) {
  std::list<cJednostkaMorska*> own;
  std::list<cJednostkaMorska*> enemy;
  int transports = 0;
  const float ours = world.CollectFriendlyShipsAtSeaNode(country.id, seaNode, own, transports);
  const float theirs = world.CollectEnemyShipsNearSeaNode(country.id, seaNode, enemy);
  if (enemy.size() <= 1) return true;
  // Two or more enemy ships against nothing of ours seen there: as strong
  // as can be.
  if (ours <= 0.0f) return false;
  const float ratio = theirs / ours;
  const float transportShare = own.empty() ? 0.0f : static_cast<float>(transports) / static_cast<float>(own.size());
  if (ratio >= kEnemyAsStrong) return false;
  if (ratio > kEnemyWeak && transports >= kManyTransports) return false;
  if (ratio < kEnemyWeak && transportShare > kMostlyTransports) return false;
  return true;
}

std::vector<cCity*> FindStagingPorts(cWorld& world, const cCountry& country, int seaNode) {
  std::vector<cCity*> out;
  if (world.GetSeaGraph().GetNode(seaNode) == nullptr) return out;
  // The route search writes its marks into the shared nodes.
  LockedStep([&] {
    std::vector<int> path;
    for (cCity* city : world.Cities()) {
      if (!city->IsPort() || !IsControllerFriendlyTo(city->GetControllerId(), country)) continue;
      const int node = world.GetSeaGraph().FindNodeIdByMainHex(city->x, city->y);
      if (node < 1) continue;
      if (node == seaNode || world.GetSeaGraph().FindPath(world, node, seaNode, country.id, true, path)) out.push_back(city);
    }
  });
  return out;
}

}  // namespace ai
