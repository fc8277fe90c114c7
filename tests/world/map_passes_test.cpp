#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/test_support.h"
#include "world/map.h"
#include "world/map_text.h"

namespace {

void Build(cMap& map, const char* text) {
  std::string error;
  ASSERT_TRUE(BuildMapFromText(text, map, error)) << error;
}

}  // namespace

TEST(MapPasses, CoastalSeaZoneLastQualifyingDirectionWins) {
  // (2, 2) is even: direction 1 is (3, 2), direction 5 is (1, 2).
  cMap map;
  Build(map,
        "size 5 5\nterrain\n~~~~~\n~ppp~\n~~p~~\n~ppp~\n~~~~~\n"
        "seazone\n0 0 0 0 0\n0 0 0 0 0\n0 7 0 4 0\n0 0 0 0 0\n0 0 0 0 0\n");
  map.GetHex(2, 2).seaZone = 9;
  map.GetHex(2, 3).seaZone = 9;
  map.AssignCoastalSeaZones();
  EXPECT_EQ(map.GetHex(2, 2).seaZone, 7);
  // (2, 3): its water neighbours have no zone, so it keeps its own.
  EXPECT_EQ(map.GetHex(2, 3).seaZone, 9);
  // Water cells are never changed, and coastal flags stay.
  EXPECT_EQ(map.GetHex(1, 2).seaZone, 7);
  EXPECT_EQ(map.GetHex(2, 2).coastal, 0);
}

TEST(MapPasses, RiverMouthBits) {
  // A river on side 2 of the land hex (2, 2) (even column): its neighbours in
  // directions 1 (3, 2) and 3 (2, 3) are water.
  cMap map;
  Build(map, "size 5 5\nterrain\nppppp\nppppp\npp~~p\nppp~p\nppppp\nriver 2 2 4\n");
  map.GetHex(2, 3).terrain = kTerrainWater;
  map.AddRiverMouths();
  EXPECT_EQ(map.GetHex(3, 2).riverMask, (1 << 2) | 64);
  EXPECT_EQ(map.GetHex(2, 3).riverMask, (1 << 5) | 64);
  EXPECT_EQ(map.GetHex(2, 2).riverMask, 4);  // land keeps its sides
  EXPECT_EQ(map.GetHex(3, 3).riverMask, 0);  // water, but not at the river's ends
  EXPECT_EQ(map.GetHex(2, 1).riverMask, 0);
}

TEST(MapPasses, RiverMouthsAtTheGridEdgeAndAccumulating) {
  // Rivers on every side of the corner cell (0, 0): only existing water
  // neighbours get marks, and two rivers add up on one water cell.
  cMap map;
  Build(map, "size 2 2\nterrain\np~\n~~\nriver 0 0 63\n");
  map.AddRiverMouths();
  // (1, 0) is direction 1 of (0, 0): from side 0 (s + 1) -> bit 3, from side
  // 2 (s + 5) -> bit 2.
  EXPECT_EQ(map.GetHex(1, 0).riverMask, (1 << 3) | (1 << 2) | 64);
  // (0, 1) is direction 3: from side 2 -> bit 5, from side 4 -> bit 4.
  EXPECT_EQ(map.GetHex(0, 1).riverMask, (1 << 5) | (1 << 4) | 64);
  // (1, 1) is direction 2: from side 1 -> bit 4, from side 3 -> bit 3.
  EXPECT_EQ(map.GetHex(1, 1).riverMask, (1 << 4) | (1 << 3) | 64);
}

TEST(MapPasses, BorderFlagsOwnersControllersAndSeaZones) {
  cMap map;
  Build(map,
        "size 4 3\nterrain\npp~~\npp~~\n~p~~\n"
        "owner\n1 2 0 0\n1 1 0 0\n0 1 0 0\n"
        "controller\n1 3 0 0\n1 1 0 0\n0 1 0 0\n"
        "seazone\n0 0 1 2\n0 0 1 3\n4 0 1 2\n");
  // Zone 1 open sea, 2 open sea, 3 a port, 4 unknown to the sea graph.
  auto kind = [](int zone) {
    if (zone == 1 || zone == 2) return eSeaNodeKind::kOpenSea;
    if (zone == 3) return eSeaNodeKind::kPort;
    return eSeaNodeKind::kNone;
  };
  map.GetHex(3, 2).borderFlags = kSeaBorderSide3;  // no neighbour below: kept
  map.RefreshBorderFlags(kind);
  // (0, 0) even: side 1 is (1, 0), owner 2 and controller 3 differ; side 2
  // (1, 1) and side 3 (0, 1) are the same country.
  EXPECT_EQ(map.GetHex(0, 0).borderFlags, 0b001001);
  // (1, 1) odd: side 1 is (2, 0), water: no land border.
  EXPECT_EQ(map.GetHex(1, 1).borderFlags & 0x3F, 0);
  // (2, 0) even, zone 1: side 1 (3, 0) zone 2 open sea -> bit 64; side 2
  // (3, 1) is a port -> clear; side 3 (2, 1) same zone -> clear.
  EXPECT_EQ(map.GetHex(2, 0).borderFlags, kSeaBorderSide1);
  // (2, 1): side 1 (3, 1) port, side 2 (3, 2) zone 2 -> bit 128.
  EXPECT_EQ(map.GetHex(2, 1).borderFlags, kSeaBorderSide2);
  // A water cell of a port zone is left alone.
  map.GetHex(3, 1).borderFlags = 0x1C0;
  map.RefreshBorderFlags(kind);
  EXPECT_EQ(map.GetHex(3, 1).borderFlags, 0x1C0);
  EXPECT_EQ(map.GetHex(3, 2).borderFlags, kSeaBorderSide3);
  // (0, 2), zone 4, unknown to the graph: side 1 (1, 2) is land -> clear.
  EXPECT_EQ(map.GetHex(0, 2).borderFlags, 0);
}
