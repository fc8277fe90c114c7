#include "app/skins.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/settings.h"
#include "support/test_support.h"

namespace {

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::vector<std::wstring> Fields(std::initializer_list<const wchar_t*> list) {
  return std::vector<std::wstring>(list.begin(), list.end());
}

void ExpectRect(const plat::RectI& r, int l, int t, int rr, int b) {
  EXPECT_EQ((std::array<int, 4>{r.left, r.top, r.right, r.bottom}), (std::array<int, 4>{l, t, rr, b}));
}

// One city entry of 18 lines; the threshold and a few boxes vary.
std::string CityEntry(int threshold, const std::string& b6 = "10;20;100;15") {
  std::string s = std::to_string(threshold) + "\n";
  for (int i = 0; i < 6; ++i) {
    s += std::to_string(i * 10) + ";5;32;32\n";            // A_i: left, top, width, height
    s += std::to_string(i) + ";7;40;" + (i == 3 ? "0" : "30") + "\n";  // B_i; B3 has no bottom
  }
  s += b6 + ";Arial;14;50;255;255;0;0;0;0\n";
  s += "1;2;3;4;Tahoma;12;87;1;2;3;4;5;6\n";
  s += "5;5;5;0;Arial;10;50;9;9;9;0;0;0\n";  // B8 zero height: invalid
  s += "20;30;148;115\n";
  s += "0;0;0;0\n";
  return s;
}

std::string UnitGroup(const std::string& name, int threshold, int lines) {
  std::string s = name + "\r\n" + std::to_string(threshold) + "\r\n";
  for (int i = 2; i < lines; ++i) {
    s += std::to_string(i) + ";" + std::to_string(i + 1) + ";10;20;Arial;" + std::to_string(i) +
         ";50;255;0;0;0;0;0\r\n";
  }
  return s;
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSpriteDepthTable();
    ReleaseSkinFonts();
    g_CityAppearance.Reset();
    for (sUnitAppearanceTable* t : {&g_LandAppearance, &g_AirAppearance, &g_NavalAppearance}) t->Reset();
    g_Settings.DynamicAppearance = true;
    g_Settings.MapZoom = 1.0f;
  }
  void TearDown() override { ReleaseSkinFonts(); }
  twtest::TempDir dir_;
};

TEST_F(SkinTest, RectAndTextStyleFromFields) {
  ExpectRect(RectFromFields(Fields({L"10", L"20", L"30", L"40"}), false), 10, 20, 30, 40);
  ExpectRect(RectFromFields(Fields({L"10", L"20", L"30", L"40"}), true), 10, 20, 40, 60);
  ExpectRect(RectFromFields(Fields({L"10", L"20", L"30"}), true), 0, 0, 0, 0);
  ExpectRect(RectFromFields(Fields({L"-5", L"x", L"7z", L"40"}), false), -5, 0, 7, 40);

  sTextStyle style;
  TextStyleFromFields(
      Fields({L"0", L"0", L"0", L"0", L"Tahoma", L"14", L"50", L"255", L"255", L"0", L"1", L"2", L"300"}),
      style);
  EXPECT_EQ(style.weight, 500);
  EXPECT_EQ(style.color, 0xFFFFFF00u);
  EXPECT_EQ(style.color2, 0xFF01022Cu);  // 300 & 255 = 44
}

TEST_F(SkinTest, SpriteDepthDefaultsAndFile) {
  EXPECT_EQ(g_SpriteDepths[17].level, 34);
  EXPECT_FLOAT_EQ(g_SpriteDepths[17].depth, 1.0f - 0.34f);

  std::string text = "# level of each layer\r\n50;water\r\n0\r\nnot a number\r\n\r\n";
  for (int i = 0; i < 20; ++i) text += std::to_string(i + 3) + "\n";
  const std::string file = dir_.Write("sprites_depth.csv", text);
  ReadSpriteDepthTable(W(file));
  EXPECT_EQ(g_SpriteDepths[0].level, 39);
  EXPECT_FLOAT_EQ(g_SpriteDepths[0].depth, 0.6f);
  EXPECT_EQ(g_SpriteDepths[2].level, 3);  // the unreadable and empty lines are skipped
  EXPECT_EQ(g_SpriteDepths[17].level, 18);  // the lines after the 18th are ignored

  ReadSpriteDepthTable(W(dir_.File("missing.csv")));
  EXPECT_EQ(g_SpriteDepths[0].level, 39);
}

TEST_F(SkinTest, CityTableEntriesAndValidity) {
  std::string text =
      "; city appearance\n"
      "#AP;;4;6;70;20;Verdana;16;87;255;255;255;0;0;0\n" +
      CityEntry(1000) + "#\n" + CityEntry(60, "10;20;0;15") + "#\n" + CityEntry(30) + "\n";
  const std::string file = dir_.Write("appearance.csv", text);
  // Entry 3 had something before: it is marked unused.
  g_CityAppearance.entries[3].threshold = 500;
  g_CityAppearance.entries[3].text[0].face = L"Old";
  ASSERT_TRUE(ReadCityAppearanceTable(W(file)));

  const sCityAppearanceTable& t = g_CityAppearance;
  ExpectRect(t.apRect, 4, 6, 70, 20);

  const sCityAppearance& e0 = t.entries[0];
  EXPECT_EQ(e0.threshold, 1000);
  ExpectRect(e0.source[2], 20, 5, 52, 37);
  ExpectRect(e0.box[6], 10, 20, 110, 35);
  // Box 3 has no bottom, box 8 no height.
  EXPECT_EQ((std::array<bool, 4>{e0.valid[0], e0.valid[3], e0.valid[6], e0.valid[8]}),
            (std::array<bool, 4>{true, false, true, false}));
  // B6 of width 0: right equals left.
  EXPECT_EQ(t.entries[1].threshold, 60);
  EXPECT_FALSE(t.entries[1].valid[6]);
  // The last entry is not closed by a "#" line: its flags stay unset.
  EXPECT_EQ(t.entries[2].threshold, 30);
  EXPECT_FALSE(t.entries[2].valid[0]);
  EXPECT_EQ(t.entries[3].threshold, kUnusedThreshold);
  EXPECT_TRUE(t.entries[3].text[0].face.empty());
}

TEST_F(SkinTest, ZoomChoice) {
  const int thresholds[5] = {1000, 150, 80, -100, 0};
  for (int i = 0; i < 5; ++i) g_CityAppearance.entries[i].threshold = thresholds[i];
  SelectMapFontForZoom();  // zoom 1.0 = 100 %
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);
  SelectMapFontForZoomPercent(50);
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[2]);
  SelectMapFontForZoomPercent(5000);  // nothing matches: unchanged
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[2]);
  g_CityAppearance.entries[5].threshold = 9000;  // beyond the five looked at
  SelectMapFontForZoomPercent(100);
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);

  g_LandAppearance.entries[0].threshold = 1000;
  g_LandAppearance.entries[9].threshold = 200;
  g_NavalAppearance.entries[0].threshold = 1000;
  g_NavalAppearance.entries[1].threshold = 90;
  g_Settings.DynamicAppearance = false;
  SelectUnitFontsForZoomPercent(100);
  EXPECT_EQ(g_LandAppearance.current, &g_LandAppearance.entries[0]);
  g_Settings.DynamicAppearance = true;
  g_Settings.MapZoom = 1.5f;
  SelectUnitFontsForZoom();
  EXPECT_EQ(g_LandAppearance.current, &g_LandAppearance.entries[9]);
}

// The loaders work on "data\gfx\..." of the working folder: a temporary one.
class SkinFolderTest : public SkinTest {
 protected:
  twtest::TempWorkingFolder folder_;
};

TEST_F(SkinFolderTest, MissingSkinFoldersAreLogged) {
  twtest::LogCapture log;
  g_SpriteDepths[0].level = 7;
  LoadMapSkin(L"Absent");
  EXPECT_TRUE(log.Contains(L"Opening file with cities appearance definition..."));
  EXPECT_TRUE(log.Contains(L"data\\gfx\\[MapSkin]Absent\\appearance.csv"));
  EXPECT_EQ(g_SpriteDepths[0].level, 7);  // no folder: the table stays

  LoadUnitsSkin(L"Absent");
  EXPECT_TRUE(log.Contains(L"ERROR during opening CSV file data\\gfx\\[UnitsSkin]Absent\\land_units.csv"));
  EXPECT_TRUE(log.Contains(L"ERROR during opening CSV file data\\gfx\\[UnitsSkin]Absent\\naval_units.csv"));
  EXPECT_FALSE(log.Contains(L"ERROR during opening CSV file data\\gfx\\[UnitsSkin]Absent\\air_units.csv"));
  EXPECT_EQ(g_LandAppearance.entries[0].threshold, kUnusedThreshold);
}

TEST_F(SkinFolderTest, LoadersReadTheFolderAndChooseByZoom) {
  folder_.Write("data/gfx/[MapSkin]Test/sprites_depth.csv", "#\n12\n");
  folder_.Write("data/gfx/[MapSkin]Test/appearance.csv", "#\n" + CityEntry(1000) + "#\n" + CityEntry(70) + "#\n");
  folder_.Write("data/gfx/[UnitsSkin]Test/land_units.csv", UnitGroup("Full", 1000, 25) + UnitGroup("Small", 70, 25));
  g_SpriteDepths[1].level = 99;
  g_Settings.MapZoom = 0.5f;
  LoadMapSkin(L"Test");
  EXPECT_EQ(g_SpriteDepths[0].level, 12);
  EXPECT_EQ(g_SpriteDepths[1].level, 2);  // reset to the defaults first
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);
  // The closing "#" line opened entry 2, which stays empty; entry 3 is unused.
  EXPECT_EQ(g_CityAppearance.entries[2].threshold, 0);
  EXPECT_EQ(g_CityAppearance.entries[3].threshold, kUnusedThreshold);

  LoadUnitsSkin(L"Test");
  EXPECT_EQ(g_LandAppearance.current, &g_LandAppearance.entries[1]);
  EXPECT_EQ(g_LandAppearance.entries[1].name, L"Small");
}

}  // namespace
