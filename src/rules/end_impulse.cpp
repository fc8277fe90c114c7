// The end of an impulse: the world settles after every country has moved.
// Each step changes the world in one short step under the framework lock;
// the steps that show the player something wait outside it.
#include "rules/end_impulse.h"

#include <vector>

#include "app/console_log.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "rules/convoys.h"
#include "rules/sea_battle.h"
#include "rules/supply.h"
#include "rules/world_turn.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/world.h"
#include "world/worker_steps.h"
#include "world/world_view.h"

namespace {

// A freeze time of 10000 or more stands for good.
constexpr int kFrozenForGood = 10000;

// 1. Artificial harbours lose a month of their time once a month; those
// whose time is up are collected during the walk and killed after it.
void AgeHarbours(cWorld& world) {
  if (world.GetDate().month == world.lastMulberryMonth) return;
  world.lastMulberryMonth = world.GetDate().month;
  std::vector<cJednostkaLadowa*> expired;
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    auto* harbour = dynamic_cast<cMulberry*>(unit);
    if (harbour == nullptr) continue;
    --harbour->remainingMonths;
    if (harbour->remainingMonths < 1) expired.push_back(harbour);
  }
  for (cJednostkaLadowa* harbour : expired) harbour->Kill();
}

// 3. A unit that kept still (or spent no points) digs in one step deeper; one
// back on its last position keeps its entrenchment; any other loses it.
void UpdateEntrenchment(cWorld& world) {
  const int maximum = world.constants.entrenchmentMax;
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->startingActionPoints == 0 && !unit->movedOrDeployed) {
      ++unit->entrenchment;
    } else if (unit->actionPoints == unit->startingActionPoints && unit->startingActionPoints > 0) {
      ++unit->entrenchment;
    } else if (unit->x != unit->lastX || unit->y != unit->lastY) {
      unit->entrenchment = 0;
    }
    unit->lastX = unit->x;
    unit->lastY = unit->y;
    if (unit->entrenchment > maximum) unit->entrenchment = maximum;
  }
}

// 4 - 8: commanders arrive, the once-per-impulse flags of the countries are
// cleared, bombed production and ports are repaired by a point, the fleets
// re-pick their leaders and the events effects end.
void SettleCommandersCountriesCitiesPorts(cWorld& world) {
  for (cCommander* commander : world.Units().commanders) {
    if (commander != nullptr && commander->state == kCommanderOnHisWay) commander->state = kCommanderNotAssigned;
  }
  for (auto& country : world.Countries()) {
    if (!country->active) continue;
    country->finishedTurn = false;
    country->doneDelayWarEntry = false;
    country->doneHasteWarEntry = false;
    country->doneTurnInOrientation = false;
    country->doneExertPressureAxis = false;
    country->doneExertPressureAllied = false;
    country->doneExertPressureComintern = false;
  }
  for (cCity* city : world.Cities()) {
    if (city->productionLostToBombing <= 0) continue;
    --city->productionLostToBombing;
    city->productionPoints += 1.0f;
  }
  // A damaged port regains a step of its capacity. A port that was read
  // with no capacity at all lies blocked: it was loaded as a sea zone and
  // stays one, so it is not repaired (a step would reopen it at the next
  // load while it still counts as sea now).
  cSeaGraph& graph = world.GetSeaGraph();
  for (int id = 1; id <= graph.GetNodeCount(); ++id) {
    sWezelGrafuMorz* node = graph.GetNode(id);
    if (node != nullptr && !node->IsSeaZone() && node->size < node->maxSize) ++node->size;
  }
  for (int id = 1; id <= graph.GetNodeCount(); ++id) {
    if (const sWezelGrafuMorz* node = graph.GetNode(id)) PropagateFleetCommanders(world, *node, -1);
  }
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->eventsEffect = 0;
}

// 12 - 15: the units' values and per-impulse flags for the next impulse.
void RefreshUnits(cWorld& world) {
  const float harbourStrength = static_cast<float>(world.constants.Value(135, 3));
  // The land units that carry a commander, by country: each unit looks for
  // its HQ commander among its own country's only.
  std::vector<std::vector<const cJednostkaLadowa*>> commanded(static_cast<std::size_t>(world.GetCountryCount()) + 1);
  const std::vector<const cJednostkaLadowa*> none;
  for (const cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->ownCommander == nullptr || unit->countryId < 0 || unit->countryId > world.GetCountryCount()) continue;
    commanded[static_cast<std::size_t>(unit->countryId)].push_back(unit);
  }
  const auto commandersOf = [&](int countryId) -> const std::vector<const cJednostkaLadowa*>& {
    return countryId < 0 || countryId > world.GetCountryCount() ? none : commanded[static_cast<std::size_t>(countryId)];
  };
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->IsHarbour() && unit->GetCombatStrength() > harbourStrength) {
      unit->SetStrength(static_cast<int>(harbourStrength));
    }
    if (unit->freezeTime < kFrozenForGood) unit->freezeTime = unit->freezeTime > 1 ? unit->freezeTime - 1 : 0;
    unit->shoreBombardmentEffect = 0.0f;
    unit->ResetActionPoints();
    unit->AssignBestHQCommanderAmong(world, commandersOf(unit->countryId));
    unit->UpdateEffectiveness();
    unit->attacked = false;
    unit->wasAttacked = false;
    unit->newEnemyContact = false;
  }
  for (cJednostkaLotnicza* unit : world.Units().airUnits) {
    unit->ResetActionPoints();
    unit->AssignBestHQCommanderAmong(world, commandersOf(unit->countryId));
    unit->UpdateEffectiveness();
    unit->attacked = false;
    unit->wasAttacked = false;
    unit->newEnemyContact = false;
    unit->reconDone = false;
  }
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    ship->shoreBombardmentDone = false;
    ship->reconDone = false;
    ship->airstrikeDone = false;
    ship->canBeRepaired = true;
  }
  for (cFleet* fleet : world.Units().fleets) fleet->moved = false;
}

// 16, 17: the reserve pools come a turn closer; what was spotted is
// forgotten.
void AdvanceReservesAndSpotting(cWorld& world, bool realEnd) {
  if (realEnd) {
    for (cJednostka* unit : world.Units().reservePool) {
      if (unit->availableInTurns > 0) --unit->availableInTurns;
    }
    for (cJednostkaMorska* ship : world.Units().navalReservePool) {
      if (ship->availableInTurns > 0) --ship->availableInTurns;
    }
  }
  for (auto& country : world.Countries()) country->reconSpottedUnits.clear();
}

// 18: unrest calms, the points of movement and invasion are refreshed and,
// in the first impulse of a month at war, the war economy grows.
void SettleCountries(cWorld& world, bool realEnd) {
  const sScenarioConstants& k = world.constants;
  const bool monthBegins = IsFirstImpulseOfMonth(world);
  for (auto& country : world.Countries()) {
    if (!country->active) continue;
    country->AddSocialUnrest(-static_cast<float>(k.Value(115, 6)));
    country->strategicMovementPoints = country->strategicMovementPointsMax;
    country->amphibiousInvasionPointsTotal = country->amphibiousInvasionPoints;
    country->AddAmphibiousTransportAip(world);
    if (!realEnd || !monthBegins || !country->IsAtWarWithAnyone()) continue;
    if (country->warEconomy >= 100.0f) {
      country->warEconomy += static_cast<float>(k.Value(115, 7));
      continue;
    }
    const bool nationalistOrCommunist = country->orientation == 1 || country->orientation == 2;
    country->warEconomy += static_cast<float>(k.Value(115, nationalistOrCommunist ? 5 : 4));
    if (country->warEconomy > 100.0f) country->warEconomy = 100.0f;
  }
}

// 20, 21: the counters and the date move on by one impulse. The turn number
// counts the impulses played and the turns left those still to play, so only
// a real end changes them, and the date moves on only at a real end too: the
// loading's pass plays no impulse. It settles a world whose date is already
// that of the impulse about to be played (a scenario's start date, a saved
// game's date); moving the date or the turns there would show and date the
// whole game one impulse late, fire dated events an impulse early, and make a
// scenario of 152 turns last 151.
void AdvanceDate(cWorld& world, bool realEnd) {
  ++world.impulseCounters[0];
  if (!realEnd) return;
  --world.turnsLeft;
  ++world.turnNumber;
  world.GetDate().Advance(world.TurnsPerMonth());
}

}  // namespace

bool IsFirstImpulseOfMonth(const cWorld& world) { return world.GetDate().turn == 1; }

void ShowStatusHint(const char* key) {
  const wchar_t* text = g_StringBase.GetText(key);
  ShowStatusText(text != nullptr ? text : L"");
}

void EndImpulse(cWorld& world, bool realEnd) {
  ShowStatusHint("end_of_turn");
  LogLine(L"Ageing artificial harbours");
  LockedStep([&world] { AgeHarbours(world); });
  LogLine(L"Rolling the weather");
  LockedStep([&world] { world.GetMap().RollWeather(world.GetDate().month - 1); });
  LogLine(L"Updating entrenchment");
  LockedStep([&world] { UpdateEntrenchment(world); });
  LogLine(L"Settling commanders, countries, cities and ports");
  LockedStep([&world] { SettleCommandersCountriesCitiesPorts(world); });

  if (realEnd) {
    CheckSurrenders(world);
    CheckSieges(world);
    CalculateProduction(world);
    PayUpkeep(world);
    DoResearch(world);
    // In a play-by-e-mail game the events are checked in each human turn.
    if (!world.playByEmail) CheckEvents(world);
    if (CheckGameOver(world)) return;
  }

  LogLine(L"Calculating supply");
  // Each supply pass takes the framework lock for its own short steps; each
  // country's convoys sail inside its step of the calculation.
  CalculateSupply(world, [](cWorld& w, int countryId, const Topography& groups, SupplyEntries& entries) {
    ExecuteCountryConvoysOf(w, countryId, groups, entries);
  });
  PullSupplyFromMulberries(world);
  PullSupplyFromShips(world);
  AbsorbHexesWithoutSupply(world);
  if (realEnd) {
    ShowStatusHint("statusbar_hint_convoys_results");
    ExecuteConvoys(world);
  }
  LogLine(L"Refreshing the units");
  LockedStep([&world, realEnd] {
    RefreshUnits(world);
    AdvanceReservesAndSpotting(world, realEnd);
    SettleCountries(world, realEnd);
  });
  ChangeWorldView([](cWorldView& view) { view.RefreshCounters(); });
  if (realEnd) RunSeaBattles(world);
  LockedStep([&world, realEnd] { AdvanceDate(world, realEnd); });
  // Land may have changed hands (surrenders, land cut off): the minimap's
  // ownership layer is a picture of the main thread's.
  ChangeWorldView([](cWorldView& view) { view.RefreshMinimapOwnership(); });
  LogLine(L"Koniec impulsu wykonany");
}
