// Spotting between units and the computer opponent's search for a free hex
// away from its target.
#include <vector>

#include "app/settings.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/unit.h"
#include "world/country.h"
#include "world/world.h"
#include "world/hex.h"

namespace {

// The unit country or an ally of it.
bool IsOnSideOf(const cCountry& country, int unitCountry) {
  return unitCountry == country.id || country.IsAlliedWith(unitCountry);
}

}  // namespace

void cUnit::UpdateSpottedBy(const cWorld& world, const cCountry* country) {
  if (visible) return;
  const int fog = g_Settings.FogOfWar;
  if (fog == 0) {
    visible = true;
    return;
  }
  if (!country) return;
  const sUnitLists& lists = world.Units();
  for (const cJednostkaLadowa* spotter : lists.landUnits) {
    if (IsOnSideOf(*country, spotter->countryId) && HexDistance(x, y, spotter->x, spotter->y) <= fog) {
      visible = true;
      return;
    }
  }
  for (const cJednostkaLotnicza* spotter : lists.airUnits) {
    if (IsOnSideOf(*country, spotter->countryId) && HexDistance(x, y, spotter->x, spotter->y) <= fog) {
      visible = true;
      return;
    }
  }
}

void cUnit::RevealUnitsAround(cWorld& world, bool flagContacts) {
  const int fog = g_Settings.FogOfWar;
  const cCountry* own = world.GetCountry(countryId);
  auto* self = dynamic_cast<cJednostka*>(this);
  auto reveal = [&](cUnit& other) {
    if (fog != 0 && HexDistance(x, y, other.x, other.y) > fog) return;
    if (flagContacts && self && !other.visible && other.countryId != countryId &&
        !(own && own->IsAlliedWith(other.countryId))) {
      self->newEnemyContact = true;
    }
    other.visible = true;
  };
  sUnitLists& lists = world.Units();
  for (cJednostkaLadowa* other : lists.landUnits) reveal(*other);
  for (cJednostkaLotnicza* other : lists.airUnits) reveal(*other);
}

namespace {

// The cheapest entry of a move range (reachable hexes or a land unit's
// range) that is a free hex next to the target and not taken yet; the first
// of equal cost wins. last when there is none.
template <typename Iterator>
Iterator CheapestFreeHexBesideTarget(const cMap& map, Iterator first, Iterator last, int targetX, int targetY,
                                     const int taken[6][2]) {
  Iterator best = last;
  for (Iterator entry = first; entry != last; ++entry) {
    if (entry->cost >= 99999) continue;
    if (map.GetNeighbourDirection(targetX, targetY, entry->x, entry->y) != 0) continue;
    bool isTaken = false;
    for (int d = 0; d < 6; ++d) {
      if (taken[d][0] == entry->x && taken[d][1] == entry->y) isTaken = true;
    }
    if (isTaken) continue;
    if (!map.IsInside(entry->x, entry->y) || map.GetHex(entry->x, entry->y).unit) continue;
    if (best == last || entry->cost < best->cost) best = entry;
  }
  return best;
}

}  // namespace

bool cJednostka::FindFreeHexAwayFromTarget(int targetX, int targetY, int taken[6][2], sReachableHex& out,
                                           int direction) {
  if (direction < 0 || direction > 5 || !World()) return false;
  const cMap& map = World()->GetMap();
  if (auto* land = dynamic_cast<cJednostkaLadowa*>(this)) {
    // A land unit's range is read where the search leaves it, without the
    // copy into the reachable-hex list.
    land->ComputeMoveRangeOnly(true);
    const std::vector<sLandMoveEntry>& range = land->MoveRange();
    const auto best = CheapestFreeHexBesideTarget(map, range.begin(), range.end(), targetX, targetY, taken);
    if (best == range.end()) return false;
    out = sReachableHex{this, best->x, best->y, best->direction, best->cost};
  } else {
    ComputeMoveRange(true);
    const auto best =
        CheapestFreeHexBesideTarget(map, reachableHexes.begin(), reachableHexes.end(), targetX, targetY, taken);
    if (best == reachableHexes.end()) return false;
    out = *best;
  }
  taken[direction][0] = out.x;
  taken[direction][1] = out.y;
  return true;
}
