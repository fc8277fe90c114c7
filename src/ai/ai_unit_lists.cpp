// The nine unit lists of the computer opponent.
#include "ai/ai_unit_lists.h"

#include <algorithm>
#include <functional>

#include "app/console_log.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/unit_lists.h"
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

// The units of the world's lists at one moment, for many look-ups: the
// world keeps them in linked lists, which a search per unit would walk whole
// for every unit of the computer's lists.
class cLiveUnits {
 public:
  explicit cLiveUnits(const cWorld& world) {
    const sUnitLists& lists = world.Units();
    units_.reserve(lists.landUnits.size() + lists.carriedUnitsA.size() + lists.carriedUnitsB.size() +
                   lists.airUnits.size() + lists.reservePool.size() + lists.navalUnits.size());
    units_.insert(units_.end(), lists.landUnits.begin(), lists.landUnits.end());
    units_.insert(units_.end(), lists.carriedUnitsA.begin(), lists.carriedUnitsA.end());
    units_.insert(units_.end(), lists.carriedUnitsB.begin(), lists.carriedUnitsB.end());
    units_.insert(units_.end(), lists.airUnits.begin(), lists.airUnits.end());
    units_.insert(units_.end(), lists.reservePool.begin(), lists.reservePool.end());
    std::sort(units_.begin(), units_.end(), std::less<>());
    ships_.assign(lists.navalUnits.begin(), lists.navalUnits.end());
    std::sort(ships_.begin(), ships_.end(), std::less<>());
  }
  bool Has(const cJednostka* unit) const { return std::binary_search(units_.begin(), units_.end(), unit, std::less<>()); }
  bool HasShip(const cJednostkaMorska* ship) const { return std::binary_search(ships_.begin(), ships_.end(), ship, std::less<>()); }

 private:
  std::vector<const cJednostka*> units_;
  std::vector<const cJednostkaMorska*> ships_;
};

template <class Unit, class IsLive>
int DropDead(std::vector<Unit*>& units, IsLive isLive) {
  const auto dead = std::remove_if(units.begin(), units.end(), [&](Unit* unit) { return !isLive(unit); });
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
  const cLiveUnits live(world);
  const auto unit = [&live](const cJednostka* u) { return live.Has(u); };
  return DropDead(lists.ownNaval, [&live](const cJednostkaMorska* ship) { return live.HasShip(ship); }) +
         DropDead(lists.ownLand, unit) + DropDead(lists.alliedLand, unit) + DropDead(lists.enemyLand, unit) +
         DropDead(lists.otherLand, unit) + DropDead(lists.ownAir, unit) + DropDead(lists.alliedAir, unit) +
         DropDead(lists.enemyAir, unit) + DropDead(lists.otherAir, unit);
}

}  // namespace ai
