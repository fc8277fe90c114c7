// The CSV reader and the tables read with it: the interface layout and the
// map and unit skins.
#include "app/csv_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

std::wstring W(const std::string& s) { return plat::FromUtf8(s); }

using Fields = std::vector<std::wstring>;
using Records = std::vector<Fields>;

class CsvReaderTest : public ::testing::Test {
 protected:
  // Every record of the file, read as the game's loaders do.
  Records Read(const std::string& bytes, bool keepEmpty) {
    cCsvReader reader(W(dir_.Write("t.csv", bytes)));
    EXPECT_TRUE(reader.IsOpened());
    Records records;
    while (!reader.AtEnd()) {
      const std::uint16_t count = reader.ReadRecord(keepEmpty);
      EXPECT_EQ(count, reader.FieldCount());
      records.push_back(reader.Fields());
    }
    return records;
  }
  twtest::TempDir dir_;
};

TEST_F(CsvReaderTest, FieldAndCommentRulesMissingFilesAndWindowsStylePaths) {
  const struct { std::string bytes; bool keepEmpty; Records want; } cases[] = {
      {"#id;name\r\n1;abc\r\n", false, {{}, {L"1", L"abc"}}},
      {"a;b\r\nc;d", false, {{L"a", L"b"}, {L"c", L"d"}}},
      // LF and CR alone end a record as CR LF does, also mixed in one file.
      {"a;b\nc;d\n", false, {{L"a", L"b"}, {L"c", L"d"}}},
      {"a;b\rc\r\nd\n\re", false, {{L"a", L"b"}, {L"c"}, {L"d"}, {}, {L"e"}}},
      {"#x\ny;z\r#w\r\nv", false, {{}, {L"y", L"z"}, {}, {L"v"}}},
      {"a;;b;\r\n\r\n", false, {{L"a", L"b"}, {}}},
      {"a;;b;\r\n\r\n", true, {{L"a", L"", L"b", L""}, {L""}}},
      {"a;\n\nb", true, {{L"a", L""}, {L""}, {L"b"}}},
      {"a;#b;c#d\r\n;;#x;y\r\n #z\r\n#q;r", false, {{L"a", L"#b", L"c#d"}, {}, {L" #z"}, {}}},
      {";#x;y\r\n#q;r", true, {{L"", L"#x", L"y"}, {}}},  // a kept empty field comes before the '#'
      {"\x80;\xE9t\xE9\r\n\x9C", false, {{L"\u20AC", L"\u00E9t\u00E9"}, {L"\u0153"}}},  // Windows-1252
      {std::string(999, 'x') + ";" + std::string(100000, 'y'), false,
       {{std::wstring(999, L'x'), std::wstring(100000, L'y')}}},  // long fields stay whole
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.bytes, c.keepEmpty), c.want) << ::testing::PrintToString(c.bytes);
  // A missing file or a folder opens nothing; a Windows-style path finds the file in any case.
  for (const std::string& path : {dir_.File("none.csv"), dir_.Path().string()}) {
    cCsvReader missing(W(path));
    EXPECT_EQ(std::tuple(missing.IsOpened(), missing.AtEnd(), missing.ReadRecord(true)), std::tuple(false, true, 0));
  }
  dir_.Write("data/Scen/Fleets.csv", "1;2\r\n");
  cCsvReader reader(W(dir_.Path().string()) + L"\\DATA\\scen\\fleets.CSV");
  EXPECT_EQ(reader.ReadRecord(false), 2);
  EXPECT_EQ(std::tuple(reader[1], reader.LineCounter(), reader.AtEnd()), std::tuple(std::wstring(L"2"), 1u, true));
  // The line counter is the line number of the record, whatever the line ends.
  cCsvReader lines(W(dir_.Write("lines.csv", "#h\r\n1\n\r2\r3")));
  std::vector<std::uint32_t> numbers;
  while (!lines.AtEnd()) {
    if (lines.ReadRecord(false) > 0) numbers.push_back(lines.LineCounter());
  }
  EXPECT_EQ(numbers, (std::vector<std::uint32_t>{2, 4, 5}));
}

std::array<int, 4> Entry(int id) {
  const sLayoutRect& r = g_GuiLayout[id];
  return {r.a, r.b, r.c, r.d};
}

class GuiLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (sLayoutRect& r : g_GuiLayout) r = {};
    for (sGuiFont& f : g_GuiFonts) f = {};
  }
  bool Load(const std::string& text) { return LoadGuiLayoutFile(W(dir_.Write("GUI_test.csv", text))); }
  twtest::TempDir dir_;
};

TEST_F(GuiLayoutTest, RectanglesEdgeConversionFontsTheEighthFontAndAMissingFileEndsTheProcess) {
  g_GuiLayout[1200] = g_GuiLayout[700] = {5, 6, 7, 8};
  twtest::LogCapture log;
  ASSERT_TRUE(Load("skipped;1;2;3;4\r\n# header\r\n12;100;50;200;30\r\n3;10;20;30;40\r\n"
                   "56;1;2;3;4\r\n57;1;2;3;4\r\n16;x;7\r\n1500;1;1;1;1\r\n-1;1;1;1;1\r\n"
                   "1499;9;9;9;9;99\r\n\r\n# fonts\r\n"));
  // 12 is kept as x, y, width, height; in 16 "x" reads 0 and width and height
  // stay -1; the line before the header was skipped (1); entries from 1000
  // up are not reset.
  const std::pair<int, std::array<int, 4>> entries[] = {
      {12, {100, 50, 200, 30}}, {3, {10, 20, 40, 60}},  {56, {1, 2, 4, 6}},     {16, {0, 7, -1, 6}},
      {1, {-1, -1, -2, -2}},    {700, {-1, -1, -1, -1}}, {1000, {0, 0, 0, 0}}, {1200, {5, 6, 7, 8}},
      {1499, {9, 9, 9, 9}}};
  for (const auto& [id, rect] : entries) EXPECT_EQ(Entry(id), rect) << id;
  EXPECT_TRUE(log.Contains(L"Loading GUI coordinates nad fonts from \"" + W(dir_.File("GUI_test.csv")) +
                           L"\"... OK"));

  // The fonts; missing fields stay, bad numbers are passed over.
  ASSERT_TRUE(Load("#\n#\n1;Arial;14;50;255;255;0;0;0;0;77\n7;Tahoma;18;37;1;2;3;4;5;6\n"
                   "9;Bad;1;1;1;1;1;1;1;1\n0;Bad;1;1;1;1;1;1;1;1\n2;Caf\xe9\n"));
  const auto font = [](int k) {
    const sGuiFont& f = g_GuiFonts[k];
    return std::tuple(f.face, f.height, f.weight, f.color, f.color2);
  };
  EXPECT_EQ(font(0), std::tuple(std::wstring(L"Arial"), 14, 500, 0xFFFFFF00u, 0xFF000000u));
  EXPECT_EQ(font(1), std::tuple(std::wstring(L"Caf\u00e9"), 0, 0, 0u, 0u));  // Windows-1252 widened; the rest stays
  // No eighth font in the file: the seventh at three quarters of its height.
  EXPECT_EQ(font(7), std::tuple(std::wstring(L"Tahoma"), 13, 396, 0xFF010203u, 0xFF040506u));

  // An eighth font in the file is kept, also when it is not the last line.
  ASSERT_TRUE(Load("#\n#\n8;Small;10;37;1;1;1;0;0;0\n7;Tahoma;18;37;1;2;3;4;5;6\n"));
  EXPECT_EQ(font(7), std::tuple(std::wstring(L"Small"), 10, 396, 0xFF010101u, 0xFF000000u));

  // A missing file changes nothing; the missing file of the screen size ends the process.
  g_GuiLayout[5] = {1, 2, 3, 4};
  EXPECT_FALSE(LoadGuiLayoutFile(L"data\\GUI_1x1.csv"));
  EXPECT_EQ(Entry(5), (std::array<int, 4>{1, 2, 3, 4}));  // nothing changed
  EXPECT_TRUE(log.Contains(L"Loading GUI coordinates from \"data\\GUI_1x1.csv\"... FAILED"));

  g_Settings.ResolutionX = g_Settings.ResolutionY = 1;
  EXPECT_EQ(GuiLayoutFileName(), L"data\\GUI_1x1.csv");
  EXPECT_EXIT(LoadGuiLayout(), ::testing::ExitedWithCode(1), "");
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
  // B8 has no height: invalid.
  return s + b6 + ";Arial;14;50;255;255;0;0;0;0\n1;2;3;4;Tahoma;12;87;1;2;3;4;5;6\n5;5;5;0;Arial;10;50;9;9;9;0;0;0\n" +
         "20;30;148;115\n0;0;0;0\n";
}

// A group of the units table: its name, threshold and 23 text boxes.
std::string UnitGroup(const std::string& name, int threshold) {
  std::string s = name + "\r\n" + std::to_string(threshold) + "\r\n";
  for (int i = 2; i < 25; ++i) s += std::to_string(i) + ";3;10;20;Arial;12;50;255;0;0;0;0;0\r\n";
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

TEST_F(SkinTest, RectTextStyleAndSpriteDepthFromFieldsAndFile) {
  ExpectRect(RectFromFields(Fields{L"10", L"20", L"30", L"40"}, false), 10, 20, 30, 40);
  ExpectRect(RectFromFields(Fields{L"10", L"20", L"30", L"40"}, true), 10, 20, 40, 60);
  ExpectRect(RectFromFields(Fields{L"10", L"20", L"30"}, true), 0, 0, 0, 0);
  ExpectRect(RectFromFields(Fields{L"-5", L"x", L"7z", L"40"}, false), -5, 0, 7, 40);

  sTextStyle style;
  TextStyleFromFields(Fields{L"0", L"0", L"0", L"0", L"Tahoma", L"14", L"50", L"255", L"255", L"0", L"1", L"2", L"300"},
                      style);
  // The last colour field is taken modulo 256.
  EXPECT_EQ(std::tuple(style.weight, style.color, style.color2), std::tuple(500, 0xFFFFFF00u, 0xFF01022Cu));

  // The sprite depths: the defaults, a file, and a missing file that changes nothing.
  EXPECT_EQ(g_SpriteDepths[17].level, 34);
  EXPECT_FLOAT_EQ(g_SpriteDepths[17].depth, 1.0f - 0.34f);

  std::string text = "# level of each layer\r\n50;water\r\n0\r\nnot a number\r\n\r\n";
  for (int i = 0; i < 20; ++i) text += std::to_string(i + 3) + "\n";
  ReadSpriteDepthTable(W(dir_.Write("sprites_depth.csv", text)));
  // The unreadable and empty lines are skipped, the lines after the 18th ignored.
  EXPECT_EQ(std::tuple(g_SpriteDepths[0].level, g_SpriteDepths[2].level, g_SpriteDepths[17].level),
            std::tuple(39, 3, 18));
  EXPECT_FLOAT_EQ(g_SpriteDepths[0].depth, 0.6f);

  ReadSpriteDepthTable(W(dir_.File("missing.csv")));
  EXPECT_EQ(g_SpriteDepths[0].level, 39);
}

TEST_F(SkinTest, CityTableEntriesAndValidity) {
  std::string text =
      "; city appearance\n"
      "#AP;;4;6;70;20;Verdana;16;87;255;255;255;0;0;0\n" +
      CityEntry(1000) + "#\n" + CityEntry(60, "10;20;0;15") + "#\n" + CityEntry(30) + "\n";
  // Entry 3 had something before: it is marked unused.
  g_CityAppearance.entries[3].threshold = 500;
  g_CityAppearance.entries[3].text[0].face = L"Old";
  ASSERT_TRUE(ReadCityAppearanceTable(W(dir_.Write("appearance.csv", text))));

  const sCityAppearanceTable& t = g_CityAppearance;
  ExpectRect(t.apRect, 4, 6, 70, 20);

  const sCityAppearance& e0 = t.entries[0];
  ExpectRect(e0.source[2], 20, 5, 52, 37);
  ExpectRect(e0.box[6], 10, 20, 110, 35);
  // Box 3 has no bottom, box 8 no height.
  EXPECT_EQ((std::array<bool, 4>{e0.valid[0], e0.valid[3], e0.valid[6], e0.valid[8]}),
            (std::array<bool, 4>{true, false, true, false}));
  // B6 of width 0 (right equals left) is invalid; the last entry is not
  // closed by a "#" line: its flags stay unset.
  EXPECT_EQ((std::array<int, 4>{e0.threshold, t.entries[1].threshold, t.entries[2].threshold, t.entries[3].threshold}),
            (std::array<int, 4>{1000, 60, 30, kUnusedThreshold}));
  EXPECT_EQ(std::tuple(t.entries[1].valid[6], t.entries[2].valid[0], t.entries[3].text[0].face.empty()),
            std::tuple(false, false, true));
}

TEST_F(SkinTest, ZoomChoice) {
  const int thresholds[5] = {1000, 150, 80, -100, 0};
  for (int i = 0; i < 5; ++i) g_CityAppearance.entries[i].threshold = thresholds[i];
  g_CityAppearance.entries[5].threshold = 9000;  // beyond the five looked at
  SelectMapFontForZoom();                        // zoom 1.0 = 100 %
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);
  // At 5000 nothing matches: unchanged.
  for (auto [percent, entry] : {std::pair{50, 2}, {5000, 2}, {100, 1}}) {
    SelectMapFontForZoomPercent(percent);
    EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[entry]) << percent;
  }

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
  EXPECT_TRUE(log.Contains(L"data\\gfx\\[MapSkin]Absent\\appearance.csv"));
  EXPECT_EQ(g_SpriteDepths[0].level, 7);  // no folder: the table stays

  LoadUnitsSkin(L"Absent");
  // The land table is required, the air table optional.
  EXPECT_TRUE(log.Contains(L"ERROR during opening CSV file data\\gfx\\[UnitsSkin]Absent\\land_units.csv"));
  EXPECT_FALSE(log.Contains(L"ERROR during opening CSV file data\\gfx\\[UnitsSkin]Absent\\air_units.csv"));
  EXPECT_EQ(g_LandAppearance.entries[0].threshold, kUnusedThreshold);
}

TEST_F(SkinFolderTest, LoadersReadTheFolderAndChooseByZoom) {
  folder_.Write("data/gfx/[MapSkin]Test/sprites_depth.csv", "#\n12\n");
  folder_.Write("data/gfx/[MapSkin]Test/appearance.csv", "#\n" + CityEntry(1000) + "#\n" + CityEntry(70) + "#\n");
  folder_.Write("data/gfx/[UnitsSkin]Test/land_units.csv", UnitGroup("Full", 1000) + UnitGroup("Small", 70));
  g_SpriteDepths[1].level = 99;
  g_Settings.MapZoom = 0.5f;
  LoadMapSkin(L"Test");
  // Entry 1 was reset to the defaults first.
  EXPECT_EQ(std::pair(g_SpriteDepths[0].level, g_SpriteDepths[1].level), std::pair(12, 2));
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);
  // The closing "#" line opened entry 2, which stays empty; entry 3 is unused.
  EXPECT_EQ(std::pair(g_CityAppearance.entries[2].threshold, g_CityAppearance.entries[3].threshold),
            std::pair(0, kUnusedThreshold));

  LoadUnitsSkin(L"Test");
  EXPECT_EQ(g_LandAppearance.current, &g_LandAppearance.entries[1]);
  EXPECT_EQ(g_LandAppearance.entries[1].name, L"Small");
}

}  // namespace
