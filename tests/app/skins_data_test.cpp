// The committed skins' tables. The map skin's sheets and city table and the
// land counters' bands are read and drawn by the world map's golden pictures
// (zoom 100 and 50); what the bands place where, at every zoom, here.
#include <gtest/gtest.h>

#include <tuple>

#include "app/settings.h"
#include "app/skins.h"
#include "support/test_support.h"

namespace {

struct sUnitTableFile {
  const char* file;
  sUnitAppearanceTable* table;
  sUnitTableShape shape;
  int counterBox;  // the counter's picture: left, top, width, height
  int nameBox;     // the first line of the unit's names: a text box, edges
  int nameLines;   // a ship's fleet has its line under the ship's
};
constexpr sUnitTableFile kUnitTables[] = {{"land_units.csv", &g_LandAppearance, kLandTableShape, 13, 9, 1},
                                          {"air_units.csv", &g_AirAppearance, kAirTableShape, 11, 7, 1},
                                          {"naval_units.csv", &g_NavalAppearance, kNavalTableShape, 0, 4, 2}};

std::filesystem::path SkinsRoot() { return twtest::FindSourceRoot("data/gfx/[UnitsSkin]Counters/land_units.csv"); }

bool Overlap(const plat::RectI& a, const plat::RectI& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Pixels high on the screen at the zoom.
double OnScreen(const sTextStyle& style, int zoomPercent) { return style.height * zoomPercent / 100.0; }

TEST(SkinsData, UnitTablesGiveFallingZoomBands) {
  const auto root = SkinsRoot();
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  for (const sUnitTableFile& t : kUnitTables) {
    t.table->Reset();
    ASSERT_TRUE(ReadUnitAppearanceTable((root / "data/gfx/[UnitsSkin]Counters" / t.file).wstring(), *t.table, t.shape));
    const auto& e = t.table->entries;
    EXPECT_EQ(e[0].name, L"Normal") << t.file;
    EXPECT_EQ(e[0].threshold, 10000) << t.file;
    // The frame and the counter's box are drawn, with a face for the text.
    EXPECT_TRUE(e[0].valid[0] && e[0].valid[t.counterBox] && !e[0].text[0].face.empty()) << t.file;
    for (int i = 1; i < kAppearanceEntries && e[i].threshold != kUnusedThreshold; ++i) {
      EXPECT_LT(e[i].threshold, e[i - 1].threshold) << t.file << " entry " << i;
    }
    t.table->Reset();
  }
}

// At every zoom of the map a counter covers neither its unit's name nor the
// name of the city it stands on, the two names keep apart, and every name
// drawn is at least 9 pixels high on the screen.
TEST(SkinsData, NamesKeepClearOfTheCountersAndCanBeReadAtEveryZoom) {
  const auto root = SkinsRoot();
  ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
  const bool dynamic = g_Settings.DynamicAppearance;
  g_Settings.DynamicAppearance = true;
  g_CityAppearance.Reset();
  ASSERT_TRUE(ReadCityAppearanceTable((root / "data/gfx/[MapSkin]Normal/appearance.csv").wstring()));
  for (const sUnitTableFile& t : kUnitTables) {
    t.table->Reset();
    ASSERT_TRUE(ReadUnitAppearanceTable((root / "data/gfx/[UnitsSkin]Counters" / t.file).wstring(), *t.table, t.shape));
  }
  for (int zoom = 100; zoom >= 1; --zoom) {
    SelectMapFontForZoomPercent(zoom);
    SelectUnitFontsForZoomPercent(zoom);
    const sCityAppearance& city = *g_CityAppearance.current;
    if (city.valid[6]) {
      EXPECT_GE(OnScreen(city.text[0], zoom), 9.0) << "the city's name at " << zoom << " %";
    }
    for (const sUnitTableFile& t : kUnitTables) {
      SCOPED_TRACE(testing::Message() << t.file << " at " << zoom << " %");
      const sUnitAppearance& unit = *t.table->current;
      const plat::RectI& c = unit.box[t.counterBox];
      const plat::RectI counter{c.left, c.top, c.left + c.right, c.top + c.bottom};
      if (city.valid[6]) {
        EXPECT_FALSE(Overlap(counter, city.box[6])) << "the counter covers the city's name";
      }
      if (!unit.valid[t.nameBox]) continue;
      EXPECT_GE(OnScreen(unit.text[0], zoom), 9.0) << "the unit's name";
      plat::RectI names = unit.box[t.nameBox];
      names.bottom += (t.nameLines - 1) * names.Height();
      EXPECT_FALSE(Overlap(counter, names)) << "the counter covers its name";
      if (city.valid[6]) {
        EXPECT_FALSE(Overlap(names, city.box[6])) << "the two names";
      }
    }
  }
  g_CityAppearance.Reset();
  for (const sUnitTableFile& t : kUnitTables) t.table->Reset();
  g_Settings.DynamicAppearance = dynamic;
}

}  // namespace
