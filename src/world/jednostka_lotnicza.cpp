#include "world/jednostka_lotnicza.h"

#include "app/console_log.h"
#include "world/world.h"

cJednostkaLotnicza::cJednostkaLotnicza() {
  category = kCategoryAir;
  if (g_pWorld) id = g_pWorld->ids.nextAirUnitId++;
}

int cJednostkaLotnicza::ComputeMoveRange(bool) {
  // Air units rebase instead of moving: no range of their own.
  reachableHexes.clear();
  return 0;
}

void cJednostkaLotnicza::MoveToReservePool() {
  LogLine(L"map --> reserve pool: %s", name.c_str());
  if (g_pWorld) {
    cMap& map = g_pWorld->GetMap();
    if (map.IsInside(x, y) && map.GetHex(x, y).unit == this) map.GetHex(x, y).unit = nullptr;
    sUnitLists& lists = g_pWorld->Units();
    lists.airUnits.remove(this);
    lists.reservePool.push_back(this);
  }
  inReserve = true;
  x = -1;
  y = -1;
}

void cJednostkaLotnicza::Kill() { RemoveUnitFromWorld(this); }
