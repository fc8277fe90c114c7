// The turn of a computer country: the order of its steps, the branch of a
// country at war and of one at peace, and the log lines that mark them.
#include "ai/ai_player.h"

#include <string>

#include "ai/ai_air.h"
#include "ai/ai_attacks.h"
#include "ai/ai_economy.h"
#include "ai/ai_naval.h"
#include "ai/ai_operations.h"
#include "app/console_log.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"

// The replacements' strength factors: before the attacks only units at or
// below half strength are topped up, at the end of the turn all but the
// nearly whole.
namespace {
constexpr float kEarlyReplacementFactor = 0.5f;
constexpr float kLateReplacementFactor = 0.98f;
}  // namespace

void cAiPlayer::PlayTurn(cWorld& world) {
  cCountry* country = world.turnState.currentCountry;
  if (country == nullptr) return;
  const std::wstring greeting = plat::Format(L"[AI] %s: NEW TURN", country->name.c_str());
  ShowStatusText(greeting);
  LogLine(greeting);
  ai::MarkAttackableCities(world, *country);
  ai::MakeDiplomacyDecisions(world, *country);
  if (WorkerStopping(world)) return;
  const bool played = country->IsAtWarWithAnyone() ? PlayWarTurn(world, *country) : PlayPeaceTurn(world, *country);
  if (!played) return;
  LogLine(L"[AI]: Ending turn");
}

bool cAiPlayer::PlayWarTurn(cWorld& world, cCountry& country) {
  const wchar_t* name = country.name.c_str();
  auto stopping = [&world] { return WorkerStopping(world); };
  LogLine(L"[AI]: %s ma wojne", name);
  ai::BuildUnitLists(world, country, lists_);
  ai::DeclareWarOnTargets(world, country);
  // A declaration changes who is an enemy.
  ai::BuildUnitLists(world, country, lists_);
  ai::RefreshFronts(world, country, lists_, fronts_);
  ai::AssignCommanders(world, country);
  LogLine(L"[AI]: %s - Replacements", name);
  ai::ReplaceAirLosses(world, country, kEarlyReplacementFactor);
  ai::ReplaceLandLosses(world, country, kEarlyReplacementFactor);
  ai::RepairShips(world, country);
  if (stopping()) return false;

  ai::SavePoorlyDefendedFronts(world, country, lists_, fronts_);
  if (stopping()) return false;
  ai::PatchWeakFronts(world, country, lists_, fronts_);
  if (stopping()) return false;

  ai::RebaseAirUnits(world, country, lists_);  // logs "Rebasing air units"
  ai::MoveUnitsForScenarioSpecialCase(world, country);
  ai::BuyNewUnits(world, country);
  if (stopping()) return false;

  LogLine(L"[AI]: %s - Deploying new units", name);
  ai::DeployLandUnits(world, country);
  ai::DeployAirUnits(world, country);
  ai::DeployNavalUnits(world, country);
  ai::BuildUnitLists(world, country, lists_);
  if (stopping()) return false;

  ai::FightAirBattles(world, country, lists_);  // logs "Air fights"
  if (stopping()) return false;
  ai::MultipleDirectionAttacks(world, country, lists_);
  if (stopping()) return false;
  ai::OneSideAttacks(world, country, lists_);
  if (stopping()) return false;

  LogLine(L"[AI]: %s - Checking the state of fronts (before operational planning)", name);
  ai::BuildUnitLists(world, country, lists_);
  ai::RefreshFronts(world, country, lists_, fronts_);
  line_.clear();
  if (ai::ShouldBuildLineOfDefence(fronts_)) {
    LogLine(L"[AI]: %s - Calculating line of defence...", name);
    line_ = ai::BuildLineOfDefence(world, country);
  }

  LogLine(L"[AI]: %s - Operational planning...", name);
  LogLine(L"bu 1");
  ai::ResetCityCounters(world);
  ai::AssignUnitRoles(world, country, lists_, fronts_);
  LogLine(L"bu 2");
  ai::BuildUpForInvasion(world, country, lists_);
  LogLine(L"bu 3");
  ai::StrikeWithAir(world, country, lists_);
  if (stopping()) return false;
  LogLine(L"bu 4");
  ai::AttackShipsWithAir(world, country, lists_);
  if (stopping()) return false;
  LogLine(L"bu 5");
  ai::PlanSeaInvasion(world, country, lists_, fronts_);
  LogLine(L"bu 6");
  if (stopping()) return false;

  LogLine(L"[AI]: %s - Executing operational moves...", name);
  ai::ExecuteOperationalMoves(world, country, lists_, line_);
  if (stopping()) return false;
  LogLine(L"[AI]: %s - Planning sea transport of units to front...", name);
  if (country.aiData.transportsUnitsToFrontsBySea) ai::TransportUnitsToFronts(world, country, lists_, fronts_);
  if (stopping()) return false;

  ai::BombardWithAir(world, country, lists_);
  ai::PlayNavalPhase(world, country, lists_);
  if (stopping()) return false;
  ai::BuildUnitLists(world, country, lists_);
  if (ai::AssignFollowUpMoves(world, country, lists_)) ai::ExecuteOperationalMoves(world, country, lists_, line_);
  if (stopping()) return false;

  ai::PlanSupplyConvoys(world, country);
  ai::ReplaceAirLosses(world, country, kLateReplacementFactor);
  ai::ReplaceLandLosses(world, country, kLateReplacementFactor);
  return !stopping();
}

bool cAiPlayer::PlayPeaceTurn(cWorld& world, cCountry& country) {
  LogLine(L"[AI]: %s nie ma wojny", country.name.c_str());
  ai::BuildUnitLists(world, country, lists_);
  ai::BuyNewUnits(world, country);
  ai::DeployLandUnits(world, country);
  ai::DeployAirUnits(world, country);
  ai::DeployNavalUnits(world, country);
  if (WorkerStopping(world)) return false;
  ai::BuildUnitLists(world, country, lists_);
  ai::PlayNavalPhase(world, country, lists_);
  if (WorkerStopping(world)) return false;
  ai::PlanSupplyConvoys(world, country);
  return !WorkerStopping(world);
}

std::unique_ptr<cComputerPlayer> MakeAiPlayer(int) { return std::make_unique<cAiPlayer>(); }
