// The nine unit lists of the computer opponent.
#include "ai/ai_unit_lists.h"

#include <algorithm>
#include <list>

#include "app/console_log.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace ai {
namespace {

// Which of the four lists a unit of countryId belongs to, seen by country.
enum class eSide { kOwn, kAllied, kEnemy, kOther };

eSide SideOf(const cWorld& world, const cCountry& country, int countryId) {
  if (countryId == country.id) return eSide::kOwn;
  if (country.IsAlliedWith(countryId)) return eSide::kAllied;
  if (world.GetRelations().IsAtWar(country.id, countryId)) return eSide::kEnemy;
  return eSide::kOther;
}

template <class Unit>
void Split(const cWorld& world, const cCountry& country, Unit* unit, std::vector<Unit*>& own,
           std::vector<Unit*>& allied, std::vector<Unit*>& enemy, std::vector<Unit*>& other) {
  switch (SideOf(world, country, unit->countryId)) {
    case eSide::kOwn: own.push_back(unit); break;
    case eSide::kAllied: allied.push_back(unit); break;
    case eSide::kEnemy: enemy.push_back(unit); break;
    case eSide::kOther: other.push_back(unit); break;
  }
}

template <class Unit>
int DropDead(std::vector<Unit*>& units) {
  const auto dead = std::remove_if(units.begin(), units.end(), [](Unit* unit) { return !IsUnitInWorldLists(unit); });
  const int count = static_cast<int>(units.end() - dead);
  units.erase(dead, units.end());
  return count;
}

}  // namespace

void sAiUnitLists::Clear() {
  ownLand.clear();
  alliedLand.clear();
  enemyLand.clear();
  otherLand.clear();
  ownAir.clear();
  alliedAir.clear();
  enemyAir.clear();
  otherAir.clear();
  ownNaval.clear();
}

void BuildUnitLists(cWorld& world, const cCountry& country, sAiUnitLists& lists) {
  LogLine(L"[AI %s] Wyznaczam listy jednostek", country.name.c_str());
  lists.Clear();
  const sUnitLists& units = world.Units();
  for (cJednostkaLadowa* unit : units.landUnits) {
    if (unit->transport != nullptr) continue;
    Split(world, country, unit, lists.ownLand, lists.alliedLand, lists.enemyLand, lists.otherLand);
  }
  for (cJednostkaLotnicza* unit : units.airUnits) {
    Split(world, country, unit, lists.ownAir, lists.alliedAir, lists.enemyAir, lists.otherAir);
  }
  for (cJednostkaMorska* ship : units.navalUnits) {
    if (ship->countryId == country.id) lists.ownNaval.push_back(ship);
  }
  SortUnitsByStrength(lists.ownLand);
}

bool CompareUnitsByStrength(cJednostkaLadowa* a, cJednostkaLadowa* b) {
  return a->GetEffectiveCombatStrength() > b->GetEffectiveCombatStrength();
}

void SortUnitsByStrength(std::vector<cJednostkaLadowa*>& units) {
  std::stable_sort(units.begin(), units.end(), CompareUnitsByStrength);
}

int DropDeadUnits(const cWorld& world, sAiUnitLists& lists) {
  const std::list<cJednostkaMorska*>& ships = world.Units().navalUnits;
  const auto sunk = std::remove_if(lists.ownNaval.begin(), lists.ownNaval.end(), [&](cJednostkaMorska* ship) {
    return std::find(ships.begin(), ships.end(), ship) == ships.end();
  });
  const int sunkCount = static_cast<int>(lists.ownNaval.end() - sunk);
  lists.ownNaval.erase(sunk, lists.ownNaval.end());
  return sunkCount + DropDead(lists.ownLand) + DropDead(lists.alliedLand) + DropDead(lists.enemyLand) +
         DropDead(lists.otherLand) + DropDead(lists.ownAir) + DropDead(lists.alliedAir) + DropDead(lists.enemyAir) +
         DropDead(lists.otherAir);
}

}  // namespace ai
