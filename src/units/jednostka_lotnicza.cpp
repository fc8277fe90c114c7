#include "units/jednostka_lotnicza.h"

#include "app/console_log.h"
#include "world/gra.h"

cJednostkaLotnicza::cJednostkaLotnicza() {
  category = kCategoryAir;
  if (g_pWorld) id = ++g_pWorld->nextAirUnitId;
}

int cJednostkaLotnicza::ComputeMoveRange(bool) {
  // Air units rebase instead of moving: no range of their own.
  reachableHexes.clear();
  return 0;
}

void cJednostkaLotnicza::MoveToReservePool() {
  LogLine(L"map --> reserve pool: %s", name.c_str());
  if (g_pWorld) {
    // The hex cells keep land units only, so an air unit has no hex link
    // to clear.
    sUnitLists& lists = g_pWorld->Units();
    lists.airUnits.remove(this);
    lists.reservePool.push_back(this);
  }
  inReserve = true;
  x = -1;
  y = -1;
}

void cJednostkaLotnicza::Kill() { RemoveUnitFromWorld(this); }
