// Where fleets meet at the end of an impulse: surprise attacks, the meetings
// of the alliances' and the warring neutrals' fleets in every sea zone, and
// the hunt for enemy raiders.
#include <functional>
#include <vector>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/rule_helpers.h"
#include "rules/sea_battle.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {



void AddReportToAllCountries(cWorld& world, const std::wstring& text) {
  for (int id = 1; id <= world.GetCountryCount(); ++id) FileReport(world, kReportSeaBattle, id, text);
}

int BattleWeight(const cWorld& world, const cJednostkaMorska& ship) {
  const int index = ship.type - kUnitAircraftCarrier;
  return index >= 0 && index < 6 ? world.constants.navalSeaBattleValue[static_cast<std::size_t>(index)] : 0;
}

bool Joins(const cWorld& world) { return RandomRange(1, 100) <= world.constants.seaBattleJoinChance; }

bool AtWar(const cWorld& world, int a, int b) {
  const cCountry* country = world.GetCountry(a);
  return country && b >= 1 && b <= world.GetCountryCount() && country->IsAtWarWith(b);
}

void KillSunkShips(cWorld& world) {
  LockedStep([&world] {
    std::vector<cJednostkaMorska*> sunk;
    for (cJednostkaMorska* ship : world.Units().navalUnits) {
      if (ship->hitPoints < 1) sunk.push_back(ship);
    }
    for (cJednostkaMorska* ship : sunk) ship->Kill(true);
  });
}

// One side of the meetings: an alliance (its members, the enemies of its
// leader) or a neutral country at war (itself, its enemies).
struct sMeetingSide {
  std::function<bool(int country)> member;
  int enemyOf = 0;
};

void Battle(cWorld& world, std::vector<cJednostkaMorska*> attackers, std::vector<cJednostkaMorska*> defenders,
            const std::wstring& message, const sSeaBattleHooks& hooks) {
  LogLine(message);
  AddReportToAllCountries(world, message);
  cSeaBattle battle(world, std::move(attackers), std::move(defenders));
  battle.Fight(hooks);
}

void Meeting(cWorld& world, const sWezelGrafuMorz& node, const sMeetingSide& side, const std::wstring& message,
             const char* startedKey, const sSeaBattleHooks& hooks) {
  std::vector<cJednostkaMorska*> attackers, defenders;
  int sum = 0;
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    const cFleet* fleet = ship->fleet;
    if (!fleet || fleet->seaNode != node.id) continue;
    if (side.member(ship->countryId) && fleet->formation == kFormationRegular && fleet->active) {
      sum += BattleWeight(world, *ship);
      if (Joins(world)) attackers.push_back(ship);
    }
    if (AtWar(world, fleet->country, side.enemyOf) && fleet->formation == kFormationRegular) {
      bool quarrel = false;
      for (const cJednostkaMorska* other : defenders) quarrel = quarrel || AtWar(world, ship->countryId, other->countryId);
      if (!quarrel && Joins(world)) defenders.push_back(ship);
    }
  }
  if (attackers.empty() || defenders.empty()) return;
  if (RandomRange(1, 1000) > sum) {
    LogLine(Text("check_failed._no_battle_here_this_time."));
    return;
  }
  LogLine(startedKey ? Text(startedKey) : std::wstring(L"Check succeeded, starting battle"));
  Battle(world, std::move(attackers), std::move(defenders), message, hooks);
}

void RaiderHunt(cWorld& world, const sWezelGrafuMorz& node, const sMeetingSide& side,
                const std::function<std::wstring(const cJednostkaMorska& raider)>& message, const wchar_t* who,
                const sSeaBattleHooks& hooks) {
  auto regular = [&](const cJednostkaMorska& ship) {
    return ship.fleet && ship.fleet->seaNode == node.id && side.member(ship.countryId) &&
           ship.fleet->formation == kFormationRegular && ship.fleet->active;
  };
  int sum = 0;
  std::vector<int> raiders;
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    if (regular(*ship)) sum += BattleWeight(world, *ship);
    if (ship->fleet && ship->fleet->seaNode == node.id && ship->fleet->formation == kFormationRaiders &&
        AtWar(world, ship->fleet->country, side.enemyOf)) {
      raiders.push_back(ship->id);
    }
  }
  if (raiders.empty()) return;
  const int chance = sum / static_cast<int>(raiders.size());
  for (int raiderId : raiders) {
    // A raider sunk in an earlier hunt here is gone from the world.
    cJednostkaMorska* raider = world.FindNavalUnitById(raiderId);
    if (!raider) continue;
    if (RandomRange(1, 1000) > chance) {
      if (who) LogLine(plat::Format(Text("check_for_raider_detection_(for_%s)_failed!"), who));
      continue;
    }
    if (who) LogLine(plat::Format(Text("check_for_raider_detection_(for_%s)_succeeded!"), who));
    std::vector<cJednostkaMorska*> attackers;
    for (cJednostkaMorska* ship : world.Units().navalUnits) {
      if (regular(*ship) && Joins(world)) attackers.push_back(ship);
    }
    if (attackers.empty()) continue;
    Battle(world, std::move(attackers), {raider}, message(*raider), hooks);
  }
}

}  // namespace

void GenerateSeaBattles(cWorld& world, const sSeaBattleHooks& hooks) {
  LogLine(Text("sea_battles_generator_thread_started"));
  int leaders[3] = {-1, -1, -1};
  for (const auto& country : world.Countries()) {
    for (int a = 1; a <= 3; ++a) {
      if (country->alliance == a + 3) leaders[a - 1] = country->id;
    }
  }

  // Surprise attacks of carriers and raider submarines.
  const std::vector<cJednostkaMorska*> ships(world.Units().navalUnits.begin(), world.Units().navalUnits.end());
  const cCountry* current = world.turnState.currentCountry;
  for (cJednostkaMorska* ship : ships) {
    if (WorkerStopping(world)) return;
    const bool raider = ship->type == kUnitSubmarine && ship->fleet && ship->fleet->formation == kFormationRaiders;
    if (ship->type != kUnitAircraftCarrier && !raider) continue;
    std::wstring message;
    if (!LockedStep([&] { return ship->TrySurpriseAttack(world, ships, message); })) continue;
    const sWezelGrafuMorz* node = ship->fleet ? world.GetSeaGraph().GetNode(ship->fleet->seaNode) : nullptr;
    FileReport(world, kReportSeaBattle, ship->countryId,
               L"Raiders activity - " + (node ? node->name : std::wstring()) + L"\n\n" + message);
    const cCountry* owner = world.GetCountry(ship->countryId);
    const bool shown = (owner && owner->human) || (current && current->IsAlliedWith(ship->countryId));
    if (shown && hooks.showPreliminaryReport) hooks.showPreliminaryReport(L"Raiders", message);
  }
  // The kills come after the walk over the ships.
  KillSunkShips(world);

  static const char* const kMeetKeys[3] = {"allied_fleets_have_met_enemy_formations_in_%s",
                                           "axis_fleets_have_met_enemy_formations_in_%s",
                                           "comintern_fleets_have_met_enemy_formations_in_%s"};
  static const char* const kRaiderKeys[3] = {"allied_fleets_have_met_enemy_raider_(%s)_in_%s",
                                             "axis_fleets_have_met_enemy_raider_(%s)_in_%s",
                                             "comintern_fleets_have_met_enemy_raider_(%s)_in_%s"};
  auto neutralsAtWar = [&world] {
    std::vector<const cCountry*> out;
    for (const auto& country : world.Countries()) {
      if (country->alliance == kNeutral && country->IsAtWarWithAnyone()) out.push_back(country.get());
    }
    return out;
  };
  const int nodeCount = world.GetSeaGraph().GetNodeCount();
  for (int nodeId = 1; nodeId <= nodeCount; ++nodeId) {
    // A worker told to stop fights no further battle.
    if (WorkerStopping(world)) return;
    const sWezelGrafuMorz node = *world.GetSeaGraph().GetNode(nodeId);
    if (node.isSea != 1) continue;
    for (int a = 1; a <= 3 && leaders[a - 1] != -1; ++a) {
      sMeetingSide side{[&world, a](int id) {
                          const cCountry* c = world.GetCountry(id);
                          return c && c->IsInAlliance(a);
                        },
                        leaders[a - 1]};
      Meeting(world, node, side, plat::Format(Text(kMeetKeys[a - 1]), node.name.c_str()), nullptr, hooks);
    }
    for (const cCountry* neutral : neutralsAtWar()) {
      const int id = neutral->id;
      sMeetingSide side{[id](int country) { return country == id; }, id};
      Meeting(world, node, side,
              plat::Format(Text("fleets_of_%s_have_met_enemy_formations_in_%s"), neutral->name.c_str(),
                           node.name.c_str()),
              "check_succeeded._starting_battle.", hooks);
    }
    for (int a = 1; a <= 3 && leaders[a - 1] != -1; ++a) {
      sMeetingSide side{[&world, a](int id) {
                          const cCountry* c = world.GetCountry(id);
                          return c && c->IsInAlliance(a);
                        },
                        leaders[a - 1]};
      RaiderHunt(
          world, node, side,
          [&](const cJednostkaMorska& raider) {
            return plat::Format(Text(kRaiderKeys[a - 1]), raider.name.c_str(), node.name.c_str());
          },
          nullptr, hooks);
    }
    for (const cCountry* neutral : neutralsAtWar()) {
      const int id = neutral->id;
      const std::wstring name = neutral->name;
      sMeetingSide side{[id](int country) { return country == id; }, id};
      RaiderHunt(
          world, node, side,
          [&](const cJednostkaMorska& raider) {
            return plat::Format(Text("fleets_of_%s_have_met_enemy_raider_(%s)_in_%s"), name.c_str(),
                                raider.name.c_str(), node.name.c_str());
          },
          name.c_str(), hooks);
    }
  }
  LogLine(Text("ending_sea_battle_generator_thread"));
}

