// The resolution of one sea battle: the preliminary stage, the rounds and the
// final report.
#include "rules/sea_battle.h"

#include <algorithm>
#include <cstdlib>

#include "app/console_log.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/rule_helpers.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

// A carrier standing this close to the left or right edge of the battle grid
// is hit half as often.
constexpr int kGridEdgeLow = 4;
constexpr int kGridEdgeHigh = 26;
constexpr int kGridMiddle = 15;


int NavyLevel(const cWorld& world, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return country ? country->techLevel[kTechNavy] : 0;
}

bool HoldsHumanShip(const cWorld& world, const std::vector<cJednostkaMorska*>& side) {
  for (const cJednostkaMorska* ship : side) {
    const cCountry* country = world.GetCountry(ship->countryId);
    if (country && country->human) return true;
  }
  return false;
}

}  // namespace

int PickSeaBattleRounds(const cWorld& world) {
  const auto& w = world.constants.seaBattleRoundWeights;
  const int r = RandomRange(1, w[0] + w[1] + w[2] + w[3] + w[4]);
  int bound = 0;
  for (int i = 0; i < 4; ++i) {
    bound += w[static_cast<std::size_t>(i)];
    if (r <= bound) return i + 1;
  }
  return 5;
}

cSeaBattle::cSeaBattle(cWorld& world, std::vector<cJednostkaMorska*> first, std::vector<cJednostkaMorska*> second)
    : firstSide(std::move(first)), secondSide(std::move(second)), world_(world) {
  roundsLeft = PickSeaBattleRounds(world);
  autoEnd = world.playByEmail;
  if (!firstSide.empty() && firstSide.front()->fleet) {
    if (const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(firstSide.front()->fleet->seaNode)) {
      seaAreaName = node->name;
    }
  }
  RecomputeHumanSides();
}

std::wstring cSeaBattle::Label(const cJednostkaMorska& ship) const {
  const cCountry* country = world_.GetCountry(ship.countryId);
  return ship.name + L" (" + (country ? country->name : std::wstring()) + L")";
}

void cSeaBattle::RecomputeHumanSides() {
  firstSideHuman = !world_.playByEmail && HoldsHumanShip(world_, firstSide);
  secondSideHuman = !world_.playByEmail && HoldsHumanShip(world_, secondSide);
}

// A ship is seen when it is visible; an unseen ship still stands in the line
// when its fleet is active. The hit chance on a ship whose seen flag and
// fleet's active flag differ is halved.
bool cSeaBattle::IsTargetable(const cJednostkaMorska& ship) const { return targetable_.count(ship.id) != 0; }

void cSeaBattle::ResetShip(cJednostkaMorska& ship) {
  ship.ResetSeaBattleFlags(world_);
  ship.battleSideMarker = false;
  if (ship.visible || (ship.fleet && ship.fleet->active)) {
    targetable_.insert(ship.id);
  } else {
    targetable_.erase(ship.id);
  }
}

int cSeaBattle::CountType(int side, int type) const {
  int n = 0;
  for (const cJednostkaMorska* ship : Side(side)) n += ship->type == type ? 1 : 0;
  return n;
}

int cSeaBattle::CountCarriers(int side) const { return CountType(side, kUnitAircraftCarrier); }

bool cSeaBattle::AllOfTypes(int side, int typeA, int typeB) const {
  for (const cJednostkaMorska* ship : Side(side)) {
    if (ship->type != typeA && ship->type != typeB) return false;
  }
  return true;
}

int cSeaBattle::BestNavyLevel(int side) const {
  int best = 0;
  bool any = false;
  for (const cJednostkaMorska* ship : Side(side)) {
    const int level = NavyLevel(world_, ship->countryId);
    if (!any || level > best) best = level;
    any = true;
  }
  return best;
}

void cSeaBattle::Fight(const sSeaBattleHooks& hooks) {
  reportText = plat::Format(std::wstring(L"Sea battle at %s\n\n"), seaAreaName.c_str());
  initialShips.clear();
  for (int side = 0; side < 2; ++side) {
    for (const cJednostkaMorska* ship : Side(side)) {
      initialShips.push_back({ship->id, side, ship->hitPoints, ship->countryId, ship->name, Label(*ship)});
    }
  }
  // Who fights or watches the battle reads its first stage's report, also
  // when the stage sank every ship of theirs.
  const bool watched = ShowsSeaBattle(world_, *this);
  // The main thread draws the ships: the stage changes them in one step.
  LockedStep([this] { PreliminaryStrikes(); });
  if (!strikeEntries.empty() || cancelRegularPart) {
    auto lines = [this](int kind) {
      std::wstring text;
      bool any = false;
      for (const sSeaBattleStrike& entry : strikeEntries) {
        if (entry.kind != kind) continue;
        any = true;
        const int taken = static_cast<int>(entry.hitPointsTaken);
        text += entry.destroyed ? plat::Format(Text("___%s_destroyed_%s_(inflicted_%i_hp_loss)"),
                                               entry.attackerLabel.c_str(), entry.targetLabel.c_str(), taken)
                                : plat::Format(Text("___%s_attacked_%s_and_inflicted_%i_hp_loss"),
                                               entry.attackerLabel.c_str(), entry.targetLabel.c_str(), taken);
        text += L"\n";
      }
      return any ? text : Text("___(none)") + L"\n";
    };
    reportText += L"Aircraft carrier groups\n-----------------\n" + lines(sSeaBattleStrike::kCarrier);
    reportText += L"\nSubmarines\n-----------------\n" + lines(sSeaBattleStrike::kSubmarine);
    if (cancelRegularPart) {
      reportText += Text("due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.");
    }
    if (watched && hooks.showPreliminaryReport) hooks.showPreliminaryReport(L"Fleet detected", reportText);
  }
  record.preliminaryReport = reportText;
  if (cancelRegularPart) {
    ended_ = true;
    // The other players of a play-by-e-mail game learn of a battle that
    // ended in its first stage too.
    if (world_.playByEmail) LockedStep([this] { world_.seaBattleRecords.push_back(record); });
    return;
  }
  if (firstSide.empty() || secondSide.empty()) {
    ended_ = true;
    return;
  }
  if (hooks.playRegularPart) {
    hooks.playRegularPart(*this);
    // A worker told to stop leaves the battle as it stands.
    if (WorkerStopping(world_)) return;
  }
  // Whatever the screen left undone is played out here.
  PlayToEnd();
}

void cSeaBattle::PlayToEnd() {
  // Each step either removes a ship's turn in this round or ends a round,
  // and the rounds are counted down, so the loop ends. Each step is one
  // change under the lock.
  while (!ended_) LockedStep([this] { return PlayRound(); });
}

void cSeaBattle::PreliminaryStrikes() {
  for (int side = 0; side < 2; ++side) {
    for (cJednostkaMorska* ship : Side(side)) {
      ResetShip(*ship);
      countries.insert(ship->countryId);
    }
  }
  if (world_.playByEmail) {
    record = {};
    record.seaAreaName = seaAreaName;
    for (const cJednostkaMorska* ship : firstSide) record.firstSideShips.push_back(Label(*ship));
    for (const cJednostkaMorska* ship : secondSide) record.secondSideShips.push_back(Label(*ship));
  }
  // Carrier stage.
  const bool carrierA = CountCarriers(0) > 0;
  const bool carrierB = CountCarriers(1) > 0;
  const int nA = BestNavyLevel(0);
  const int nB = BestNavyLevel(1);
  CarrierStrikes(0);
  RemoveDestroyedShips();
  CarrierStrikes(1);
  RemoveDestroyedShips();
  if (carrierA != carrierB) {
    const int side = carrierA ? 0 : 1;
    if (!firstSide.empty() && !secondSide.empty()) {
      if (RandomRange(0, 100) < std::abs(nA - nB) * 5) {
        CarrierStrikes(side);
        RemoveDestroyedShips();
      }
      const int own = side == 0 ? nA : nB;
      const int other = side == 0 ? nB : nA;
      if (RandomRange(0, 100) < CountCarriers(side) + 20 * ((own - other) + 1)) cancelRegularPart = true;
    }
  } else if (carrierA && carrierB) {
    if (RandomRange(0, 100) < CountCarriers(0) + CountCarriers(1) + 20) cancelRegularPart = true;
  }
  // Submarine stage.
  SubmarineAttacks(0);
  RemoveDestroyedShips();
  SubmarineAttacks(1);
  RemoveDestroyedShips();
  const int sA = CountType(0, kUnitSubmarine);
  const int sB = CountType(1, kUnitSubmarine);
  const bool onlySubsA = !firstSide.empty() && AllOfTypes(0, kUnitSubmarine, kUnitSubmarine);
  const bool onlySubsB = !secondSide.empty() && AllOfTypes(1, kUnitSubmarine, kUnitSubmarine);
  if ((onlySubsA || onlySubsB) && (sA > 0 || sB > 0)) {
    const int x = onlySubsA ? sA : sB;
    if (RandomRange(0, 100) < 50 - x) cancelRegularPart = true;
  }
  if (AllOfTypes(0, kUnitSubmarine, kUnitSubmarine) && AllOfTypes(1, kUnitSubmarine, kUnitSubmarine)) {
    if (RandomRange(0, 100) < 100 - sB - sA) cancelRegularPart = true;
  }
  if (AllOfTypes(0, kUnitCargoShip, kUnitAmphibiousShip) && AllOfTypes(1, kUnitCargoShip, kUnitAmphibiousShip)) {
    cancelRegularPart = true;
  } else {
    // Opening side: more carriers, then the better navy of the first
    // ships' countries, then more ships, then the lower country id.
    const int cA = CountCarriers(0), cB = CountCarriers(1);
    const int firstNavyA = firstSide.empty() ? 0 : NavyLevel(world_, firstSide.front()->countryId);
    const int firstNavyB = secondSide.empty() ? 0 : NavyLevel(world_, secondSide.front()->countryId);
    if (cA != cB) {
      openingSide = cA > cB;
    } else if (firstNavyA != firstNavyB) {
      openingSide = firstNavyA > firstNavyB;
    } else if (firstSide.size() != secondSide.size()) {
      openingSide = firstSide.size() > secondSide.size();
    } else {
      openingSide = !firstSide.empty() && !secondSide.empty() &&
                    firstSide.front()->countryId < secondSide.front()->countryId;
    }
    firstSideActs = openingSide;
    SelectRandomShips();
    if (!firstSideSelected || !secondSideSelected) cancelRegularPart = true;
  }
  unattended = (!firstSideHuman && !secondSideHuman) || world_.playByEmail;
}

void cSeaBattle::CarrierStrikes(int strikingSide) {
  std::vector<cJednostkaMorska*> targets;
  for (cJednostkaMorska* ship : Side(1 - strikingSide)) {
    if (ship->hitPoints > 0) targets.push_back(ship);
  }
  const std::vector<cJednostkaMorska*> strikers = Side(strikingSide);
  for (cJednostkaMorska* carrier : strikers) {
    if (targets.empty()) break;
    if (carrier->type != kUnitAircraftCarrier) continue;
    const int n = NavyLevel(world_, carrier->countryId);
    for (int i = 0; i < n && !targets.empty(); ++i) {
      if (RandomRange(0, 1000) >= n * 30) continue;
      const auto index = static_cast<std::size_t>(RandomIndex(static_cast<int>(targets.size())));
      cJednostkaMorska& target = *targets[index];
      const int before = target.hitPoints;
      target.AddHitPoints(static_cast<float>(-n));
      const bool destroyed = target.hitPoints <= 0;
      strikeEntries.push_back({sSeaBattleStrike::kCarrier, carrier->id, target.id, Label(*carrier), Label(target),
                               static_cast<float>(before - target.hitPoints), destroyed});
      if (destroyed) {
        battleLog += plat::Format(Text("seabattle_aircraft_carrier_attack_destroys"), Label(*carrier).c_str(),
                                  Label(target).c_str());
        targets.erase(targets.begin() + static_cast<std::ptrdiff_t>(index));
      } else {
        battleLog += plat::Format(Text("seabattle_aircraft_carrier_attack_hits"), Label(*carrier).c_str(),
                                  Label(target).c_str(), n);
      }
      battleLog += L"\n";
    }
  }
}

void cSeaBattle::SubmarineAttacks(int strikingSide) {
  const bool onlySubs =
      AllOfTypes(0, kUnitSubmarine, kUnitSubmarine) && AllOfTypes(1, kUnitSubmarine, kUnitSubmarine);
  const int factor = onlySubs ? 5 : 10;
  std::vector<cJednostkaMorska*> targets;
  for (cJednostkaMorska* ship : Side(1 - strikingSide)) {
    if (ship->hitPoints > 0) targets.push_back(ship);
  }
  const std::vector<cJednostkaMorska*> strikers = Side(strikingSide);
  for (cJednostkaMorska* sub : strikers) {
    if (targets.empty()) break;
    if (sub->type != kUnitSubmarine) continue;
    const int s = sub->GetTechLevel();
    if (RandomRange(0, 1000) >= s * factor) continue;
    const auto index = static_cast<std::size_t>(RandomIndex(static_cast<int>(targets.size())));
    cJednostkaMorska& target = *targets[index];
    const int before = target.hitPoints;
    target.AddHitPoints(static_cast<float>(-s));
    const bool destroyed = target.hitPoints <= 0;
    strikeEntries.push_back({sSeaBattleStrike::kSubmarine, sub->id, target.id, Label(*sub), Label(target),
                             static_cast<float>(before - target.hitPoints), destroyed});
    if (destroyed) {
      battleLog += plat::Format(Text("seabattle_submarine_attack_destroys"), Label(*sub).c_str(),
                                Label(target).c_str());
      targets.erase(targets.begin() + static_cast<std::ptrdiff_t>(index));
    } else {
      battleLog += plat::Format(Text("seabattle_submarine_attack_hits"), Label(*sub).c_str(), Label(target).c_str(),
                                s);
    }
    battleLog += L"\n";
  }
}

void cSeaBattle::RemoveDestroyedShips() {
  // The lists are walked first; the kills come after, so no list is walked
  // while a ship (or its fleet) is freed.
  std::vector<cJednostkaMorska*> sunk;
  LockedStep([&] {
    auto gone = [](const cJednostkaMorska* ship) { return ship->hitPoints < 1; };
    firstSide.erase(std::remove_if(firstSide.begin(), firstSide.end(), gone), firstSide.end());
    secondSide.erase(std::remove_if(secondSide.begin(), secondSide.end(), gone), secondSide.end());
    if (firstSideSelected && gone(firstSideSelected)) firstSideSelected = nullptr;
    if (secondSideSelected && gone(secondSideSelected)) secondSideSelected = nullptr;
    for (cJednostkaMorska* ship : world_.Units().navalUnits) {
      if (gone(ship)) sunk.push_back(ship);
    }
    for (cJednostkaMorska* ship : sunk) {
      targetable_.erase(ship->id);
      if (shipLeftHook) shipLeftHook(ship->id);
      ship->Kill(true);
    }
  });
  RecomputeHumanSides();
}

void cSeaBattle::SelectRandomShips() {
  auto pick = [this](const std::vector<cJednostkaMorska*>& side, bool needsTurn) -> cJednostkaMorska* {
    std::vector<cJednostkaMorska*> candidates;
    for (cJednostkaMorska* ship : side) {
      if (ship->hitPoints <= 0) continue;
      if (needsTurn ? ship->takesPartInBattle : IsTargetable(*ship)) candidates.push_back(ship);
    }
    if (candidates.empty()) return nullptr;
    return candidates[static_cast<std::size_t>(RandomIndex(static_cast<int>(candidates.size())))];
  };
  firstSideSelected = pick(firstSide, firstSideActs);
  secondSideSelected = pick(secondSide, !firstSideActs);
}

bool cSeaBattle::SelectFirstSideShip(int shipId) {
  for (cJednostkaMorska* ship : firstSide) {
    if (ship->id != shipId) continue;
    if (firstSideActs && !ship->takesPartInBattle) return false;
    firstSideSelected = ship;
    return true;
  }
  return false;
}

bool cSeaBattle::SelectSecondSideShip(int shipId) {
  for (cJednostkaMorska* ship : secondSide) {
    if (ship->id != shipId) continue;
    if (firstSideActs) {
      secondSideSelected = ship;
      return true;
    }
    if (ship->takesPartInBattle) secondSideSelected = ship;
    return false;
  }
  return false;
}

int cSeaBattle::GridColumn(int shipId) const {
  const auto found = gridColumns_.find(shipId);
  return found == gridColumns_.end() ? kGridMiddle : found->second;
}

void cSeaBattle::Shoot(cJednostkaMorska& shooter, cJednostkaMorska& target) {
  int chance = shooter.GetHitChance();
  if (target.ownCommander) chance -= world_.constants.convoyAttackValues[0] * target.ownCommander->skill;
  const int column = GridColumn(target.id);
  if (target.type == kUnitAircraftCarrier && (column < kGridEdgeLow || column > kGridEdgeHigh)) chance /= 2;
  const bool fleetActive = target.fleet && target.fleet->active;
  if (target.visible != fleetActive) chance /= 2;
  chance = std::max(1, chance);
  const bool planes = shooter.type == kUnitAircraftCarrier;
  sSeaBattleEvent event;
  event.kind = sSeaBattleEvent::kShot;
  event.shooterId = shooter.id;
  event.targetId = target.id;
  event.chance = chance;
  if (RandomRange(1, 100) > chance) {
    event.line = plat::Format(Text(planes ? "seabattle_planes_shot_misses" : "seabattle_shot_misses"),
                              shooter.name.c_str(), target.name.c_str());
  } else {
    const int before = target.hitPoints;
    target.AddHitPoints(static_cast<float>(-shooter.RollShotDamage()));
    event.success = true;
    event.damage = before - target.hitPoints;
    event.destroyed = target.hitPoints <= 0;
    if (event.destroyed) {
      event.line = plat::Format(Text(planes ? "seabattle_planes_shot_destroys" : "seabattle_shot_destroys"),
                                shooter.name.c_str(), target.name.c_str());
    } else {
      event.line = plat::Format(Text(planes ? "seabattle_planes_shot_hits" : "seabattle_shot_hits"),
                                shooter.name.c_str(), target.name.c_str(), event.damage);
    }
  }
  battleLog += event.line + L"\n";
  shooter.takesPartInBattle = false;
  events.push_back(std::move(event));
}

void cSeaBattle::LogEnd() {
  sSeaBattleEvent event;
  event.kind = sSeaBattleEvent::kEnd;
  event.line = Text("seabattle_end");
  battleLog += event.line + L"\n";
  events.push_back(std::move(event));
  EndBattle();
}

bool cSeaBattle::PlayRound() {
  if (ended_) return true;
  cJednostkaMorska* shooter = firstSideActs ? firstSideSelected : secondSideSelected;
  cJednostkaMorska* target = firstSideActs ? secondSideSelected : firstSideSelected;
  if (!shooter || !target) {
    LogEnd();
    return true;
  }
  Shoot(*shooter, *target);
  RemoveDestroyedShips();
  NextStep();
  return true;
}

void cSeaBattle::NextStep() {
  if (firstSide.empty() || secondSide.empty()) {
    LogEnd();
    return;
  }
  auto active = [](const std::vector<cJednostkaMorska*>& side) {
    return std::any_of(side.begin(), side.end(), [](const cJednostkaMorska* s) { return s->takesPartInBattle; });
  };
  const bool first = active(firstSide);
  const bool second = active(secondSide);
  if (first && second) {
    firstSideActs = !firstSideActs;
    SelectRandomShips();
  } else if (first || second) {
    firstSideActs = first;
    SelectRandomShips();
  } else {
    NextRound();
    if (roundsLeft <= 0) LogEnd();
  }
}

void cSeaBattle::NextRound() {
  --roundsLeft;
  battleLog += L"\nTurn completed\n";
  sSeaBattleEvent event;
  event.kind = sSeaBattleEvent::kTurnCompleted;
  events.push_back(std::move(event));
  for (int side = 0; side < 2; ++side) {
    for (cJednostkaMorska* ship : Side(side)) ResetShip(*ship);
  }
  SelectRandomShips();
}

bool cSeaBattle::TryRetreat(cJednostkaMorska& ship) {
  return LockedStep([&] {
    const int chance = world_.constants.value174;
    const cCountry* country = world_.GetCountry(ship.countryId);
    const wchar_t* countryName = country ? country->name.c_str() : L"";
    sSeaBattleEvent event;
    event.kind = sSeaBattleEvent::kRetreat;
    event.shooterId = ship.id;
    event.chance = chance;
    event.success = RandomRange(1, 100) < chance;
    ship.takesPartInBattle = false;
    ship.leftBattle = true;
    if (event.success) {
      event.line = plat::Format(std::wstring(L"%s (%s) tried to retreat with chance %d%%: success"),
                                ship.name.c_str(), countryName, chance);
      for (auto* side : {&firstSide, &secondSide}) side->erase(std::remove(side->begin(), side->end(), &ship), side->end());
      initialShips.erase(std::remove_if(initialShips.begin(), initialShips.end(),
                                        [&ship](const sSeaBattleShip& s) { return s.id == ship.id; }),
                         initialShips.end());
      if (firstSideSelected == &ship) firstSideSelected = nullptr;
      if (secondSideSelected == &ship) secondSideSelected = nullptr;
      if (shipLeftHook) shipLeftHook(ship.id);
    } else {
      event.line = plat::Format(std::wstring(L"%s (%s) tried to retreat: failed"), ship.name.c_str(), countryName);
    }
    battleLog += event.line + L"\n";
    const bool success = event.success;
    events.push_back(std::move(event));
    // The try was the ship's action: the battle goes on with the next
    // shooter and target, as after a shot (a ship that left is no longer
    // anybody's selection, and one that stayed has no shot left).
    if (!ended_) NextStep();
    return success;
  });
}

void cSeaBattle::EndBattle() {
  roundsLeft = 0;
  ended_ = true;
  std::wstring destroyed, damaged;
  for (const sSeaBattleShip& record : initialShips) {
    const cJednostkaMorska* found = nullptr;
    for (int side = 0; side < 2 && !found; ++side) {
      for (const cJednostkaMorska* ship : Side(side)) {
        if (ship->id == record.id) found = ship;
      }
    }
    if (!found) {
      destroyed += record.label + L"\n";
    } else if (found->hitPoints < record.initialHitPoints) {
      const cCountry* country = world_.GetCountry(record.countryId);
      damaged += plat::Format(std::wstring(L"%s (%s) lost %d HP\n"), record.name.c_str(),
                              country ? country->name.c_str() : L"", record.initialHitPoints - found->hitPoints);
    }
  }
  finalReport = battleLog + L"\n\nDestroyed ships:\n" + destroyed + L"\n\nDamaged ships:\n" + damaged;
  firstSide.clear();
  secondSide.clear();
  firstSideSelected = secondSideSelected = nullptr;
  for (int id : countries) FileReport(world_, kReportSeaBattle, id, finalReport);
  if (world_.playByEmail) {
    record.finalReport = finalReport;
    world_.seaBattleRecords.push_back(record);
  }
  if (endedHook) endedHook();
}

void cSeaBattle::PresetRoundTimer() {
  countdown = unattended ? -1.0f : static_cast<float>(g_Settings.SeaBattleTimeout);
}
