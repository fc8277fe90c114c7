// The committed unit skin's tables. The map skin's sheets and city table
// and the land counters' two bands are read and drawn by the world map's
// golden pictures (zoom 100 and 50); the air and naval tables only here.
#include <gtest/gtest.h>

#include <tuple>

#include "app/skins.h"
#include "support/test_support.h"

namespace {

TEST(SkinsData, UnitTablesGiveTwoZoomBands) {
  const auto root = twtest::FindSourceRoot("data/gfx/[UnitsSkin]Counters/land_units.csv");
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const std::tuple<const char*, sUnitAppearanceTable*, sUnitTableShape, int> tables[] = {  // and the counter's box
      {"land_units.csv", &g_LandAppearance, kLandTableShape, 13},
      {"air_units.csv", &g_AirAppearance, kAirTableShape, 11},
      {"naval_units.csv", &g_NavalAppearance, kNavalTableShape, 3}};
  for (const auto& [file, table, shape, counterBox] : tables) {
    table->Reset();
    ASSERT_TRUE(ReadUnitAppearanceTable((root / "data/gfx/[UnitsSkin]Counters" / file).wstring(), *table, shape));
    const auto& e = table->entries;
    EXPECT_EQ(e[0].name, L"Normal") << file;
    EXPECT_EQ(std::tuple(e[0].threshold, e[1].threshold, e[2].threshold), std::tuple(10000, 60, kUnusedThreshold));
    // The frame and the counter's box are drawn, with a face for the text.
    EXPECT_TRUE(e[0].valid[0] && e[0].valid[counterBox] && !e[0].text[0].face.empty()) << file;
    table->Reset();
  }
}

}  // namespace
