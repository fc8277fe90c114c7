// What the map-screen tests share: the map screen made the world's view for
// the scope of a test, with what the test leaves behind taken back at its
// end, the map's view put over a hex, and a click on a hex as the player
// makes one.
#pragma once

#include <gtest/gtest.h>

#include "app/settings.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "world/map.h"
#include "world/world.h"

namespace twtest {

// Made, it keeps the settings; Open makes the map screen the world's view.
// Gone, it closes every dialog, takes the view back from the world it
// opened (declare it after the world, which must outlive it), retires the
// menus and puts the settings back.
class MapScreenScope {
 public:
  MapScreenScope() : saved_(g_Settings) {}
  ~MapScreenScope() {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    if (world_ != nullptr) world_->SetView(nullptr);
    RetireCurrentMenu();
    DeleteRetiredMenus();
    g_Settings = saved_;
  }
  MapScreenScope(const MapScreenScope&) = delete;
  MapScreenScope& operator=(const MapScreenScope&) = delete;

  void Open(cWorld& world) {
    world_ = &world;
    world.SetView(MakeMapScreen(world));
  }

 private:
  cWorld* world_ = nullptr;
  sSettings saved_;
};

// The map's view, free of its bounds, over the hex (column, row).
inline void LookAtHex(cMap& map, int column, int row) {
  map.minViewX = map.minViewY = -100000;
  map.maxViewX = map.maxViewY = 100000;
  map.viewX = map.targetX = static_cast<float>(column * 83);
  map.viewY = map.targetY = static_cast<float>(row * 98);
}

// A point of the screen well inside the hex: the hex is picked there and
// 12 pixels further right and down. False, with a test failure, when no
// point of the screen is.
inline bool PointOfHex(const cMap& map, int column, int row, int& px, int& py) {
  for (int y = 0; y < kScreenH; y += 3) {
    for (int x = 0; x < kScreenW; x += 3) {
      int c = -1, r = -1, c2 = -1, r2 = -1;
      if (!PickHexAtScreen(map, x, y, kScreenW, kScreenH, c, r) || c != column || r != row) continue;
      if (!PickHexAtScreen(map, x + 12, y + 12, kScreenW, kScreenH, c2, r2) || c2 != column || r2 != row) continue;
      px = x + 6;
      py = y + 6;
      return true;
    }
  }
  ADD_FAILURE() << "hex " << column << "," << row << " not on the screen";
  return false;
}

// A left click (press and release) there on the loaded map screen.
inline void ClickHex(const cMap& map, int column, int row) {
  int x = 0, y = 0;
  if (!PointOfHex(map, column, row, x, y)) return;
  LoadedMapScreen()->OnMouse(true, false, false, false, false, 0, x, y);
  LoadedMapScreen()->OnMouse(false, false, false, false, false, 0, x, y);
}

}  // namespace twtest
