#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(ok.GetHex(2, 1).coastal, 0);
    EXPECT_EQ(ok.GetHex(0, 0).coastal, 0);  // water itself
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
