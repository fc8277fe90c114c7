// The map from its text description, and the passes that derive coastal
// sea zones, river mouths and border flags from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/hex_changes.h"
#include "world/map.h"
#include "world/map_text.h"

TEST(MapText, GridsAndCellCommandsWithEitherLineEnd) {
  for (const char* eol : {"\n", "\r\n"}) {
    std::string text = std::string("size 3 2") + eol + "terrain" + eol + "~pf" + eol + "rsh" + eol + "# note" + eol +
                       eol + "owner" + eol + "0 1 2" + eol + "3 4 5" + eol + "seazone" + eol + "9 0 0" + eol +
                       "0 0 70000" + eol;
    cMap map;
    std::string error;
    EXPECT_FALSE(BuildMapFromText(text, map, error));
    EXPECT_NE(error.find("line 12"), std::string::npos) << error;
    text.replace(text.find("70000"), 5, "700");
    cMap ok;
    ASSERT_TRUE(BuildMapFromText(text + "coastal auto" + eol + "river 1 0 5" + eol + "winter 0 0 1 1 1 2 3 4 5 6 7 8 9 10 11 12", ok, error)) << error;
    EXPECT_EQ(ok.GetHex(1, 0).terrain, kTerrainPlain);
    EXPECT_EQ(ok.GetHex(2, 1).terrain, kTerrainHill);
    EXPECT_EQ(ok.GetHex(2, 1).originalOwner, 5);
    EXPECT_EQ(ok.GetHex(2, 1).seaZone, 700);
    EXPECT_EQ(ok.GetHex(1, 0).coastal, 1);
    EXPECT_EQ(ok.GetHex(1, 0).riverMask, 5);
    EXPECT_EQ(ok.GetHex(1, 1).winterChance[11], 12);
  }
}

TEST(MapText, Errors) {
  for (const char* text : {"", "terrain\n", "size 2 1\nterrain\n~x\n", "size 2 1\nfort 2 0 1\n", "size 2 2\nterrain\n~~\n",
                           "size 0 3\n", "size 2 2\nowner\n1 2\n3 256\n"}) {
    cMap map;
    std::string error;
    EXPECT_FALSE(BuildMapFromText(text, map, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  cMap map;
  std::string error;
  BuildMapFromText("size 2 2\nterrain\n~~\n", map, error);
  EXPECT_NE(error.find("too few rows"), std::string::npos);
}

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

// A 3 x 3 map of plain with two owners: a change of owner or controller
// refreshes the borders of the cell and of the neighbours facing it.
TEST(HexBorders, SetOwnerRefreshesTheNeighboursFacingTheCell) {
  cMap map;
  std::string error;
  ASSERT_TRUE(BuildMapFromText("size 3 3\nterrain\nppp\nppp\npp~\nowner\n1 1 1\n1 2 1\n1 1 0\n", map, error)) << error;
  map.RefreshBorderFlags([](int) { return eSeaNodeKind::kNone; });
  SetHexOwner(map, map.GetHex(1, 1), 1);
  for (const sHex& hex : map.Hexes()) EXPECT_EQ(hex.borderFlags & 7, 0) << hex.x << "," << hex.y;
  SetHexController(map, map.GetHex(1, 1), 2);
  EXPECT_EQ(map.GetHex(1, 1).borderFlags & 0x38, 0x38);
  EXPECT_EQ(map.GetHex(1, 0).borderFlags & 0x38, 0x20);  // its side 3
  EXPECT_EQ(map.GetHex(0, 1).borderFlags & 0x38, 0x08);  // its side 1
  EXPECT_EQ(map.GetHex(1, 1).borderFlags & 7, 0);
}

// The marked-cell list: each cell once, in the order first marked, emptied
// when the cells are made anew (it must never point at freed cells).
TEST(MarkedHexes, ListedOnceInFirstMarkedOrderAndEmptiedWithNewCells) {
  cMap map;
  map.SetWidth(4);
  map.SetHeight(3);
  map.CreateHexes();
  sHex* a = &map.GetHex(2, 1);
  sHex* b = &map.GetHex(0, 0);
  using List = std::vector<sHex*>;
  SetHexMark(map, *a, 4, 1);
  SetHexMark(map, *b, 8, 2);
  SetHexMark(map, *a, 16, 3);
  EXPECT_EQ(map.MarkedHexes(), (List{a, b}));
  ClearHexMark(map, *a, 4 | 16, true);
  SetHexMark(map, *a, 4, 1);
  EXPECT_EQ(map.MarkedHexes(), (List{b, a}));

  map.CreateHexes();
  EXPECT_TRUE(map.MarkedHexes().empty());
}
