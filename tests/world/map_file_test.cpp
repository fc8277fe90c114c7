#include <gtest/gtest.h>

#include <tuple>

#include <cstring>
#include <string>

#include "support/test_support.h"
#include "world/map.h"
#include "world/map_text.h"

namespace {

const char kSample[] =
    "# a small sample\r\nsize 5 4\r\nterrain\r\n~~ppf\r\n~pphm\n~prsd\n~~~pp\n"
    "owner\n0 0 1 1 2\n0 1 1 2 2\n0 3 3 2 2\n0 0 0 3 3\n"
    "controller\n0 0 1 4 2\n0 1 1 2 2\n0 3 3 2 2\n0 0 0 3 3\n"
    "seazone\n5 5 0 0 0\n5 0 0 0 0\n6 0 0 0 0\n6 6 300 0 0\n"
    "variant\n0 1 2 3 4\n5 6 7 8 9\n10 11 12 13 14\n15 16 17 18 19\n"
    "coastal auto\nriver 3 1 33\nfort 2 2 3\nextra 4 3 200\nweather 4 0 2\nnoweather 4 0\nnoweather 1 1\n"
    "mud 1 0 2 1 1 2 3 4 5 6 7 8 9 10 11 12\nwinter 3 2 4 3 90 80 70 0 0 0 0 0 0 0 50 100\n";

void BuildSample(cMap& map) {
  std::string error;
  ASSERT_TRUE(BuildMapFromText(kSample, map, error)) << error;
}

std::wstring Pattern(const twtest::TempDir& dir) { return dir.Path().wstring() + L"\\%s"; }

std::string Header(int w, int h, const char* magic = "Tdwv1") {
  std::string header(268, '\0');
  std::memcpy(header.data(), magic, 5);
  header[264] = static_cast<char>(w & 0xFF);
  header[265] = static_cast<char>(w >> 8);
  header[266] = static_cast<char>(h & 0xFF);
  header[267] = static_cast<char>(h >> 8);
  return header;
}

}  // namespace

TEST(MapFile, HeaderAndFlagBytesAreExact) {
  cMap map;
  BuildSample(map);
  const std::string bytes = map.MapFileBytes();
  ASSERT_EQ(bytes.size(), 268u + 20 * 37);
  EXPECT_EQ(bytes.substr(0, 5), "Tdwv1");
  EXPECT_EQ(std::string(bytes.data() + 5), "Map for Tidewrack created by Brackmoor.");
  EXPECT_EQ(bytes.substr(260, 4), std::string("\x00\x00\x80\x3f", 4));  // 1.0f
  EXPECT_EQ(bytes.substr(264, 4), std::string("\x05\x00\x04\x00", 4));
  // {x, y, byte of the record, value}: the flag word (35, 36) is 1 for
  // coastal (even without weather rolls), 2 for no weather, 0 for plain;
  // sea zone 300 (3, 4); rough (0), variant (5) and fortification (9);
  // the extra byte (1).
  const int cells[][4] = {{1, 1, 35, 1}, {1, 1, 36, 0},       {4, 0, 35, 2}, {3, 1, 35, 0}, {2, 3, 3, 300 & 0xFF},
                          {2, 3, 4, 1},  {2, 2, 0, 3},        {2, 2, 5, 12}, {2, 2, 9, 3},  {4, 3, 1, 200}};
  for (const auto& [x, y, at, value] : cells) {
    EXPECT_EQ(static_cast<unsigned char>(bytes[static_cast<std::size_t>(268 + (y * 5 + x) * 37 + at)]), value)
        << x << "," << y << " byte " << at;
  }
}

TEST(MapFile, SaveLoadRoundTripKeepsEveryRecordField) {
  twtest::TempDir dir;
  cMap map;
  BuildSample(map);
  map.GetHex(4, 0).weather = 2;
  ASSERT_TRUE(map.SaveMapFile(dir.Path().wstring()));
  // The passes change river masks of water and sea zones of land; compare
  // against a copy that ran them too.
  map.AddRiverMouths();
  map.AssignCoastalSeaZones();
  cMap loaded;
  ASSERT_EQ(loaded.ReadMapFile(dir.Path().wstring() + L"\\map.tdw"), eMapReadResult::kOk);
  // The stored fields are compared through the bytes at the end; here what
  // the reader sets itself.
  for (const sHex& b : loaded.Hexes()) {
    SCOPED_TRACE(std::to_string(b.x) + "," + std::to_string(b.y));
    EXPECT_EQ(&loaded.GetHex(b.x, b.y), &b);
    EXPECT_EQ(b.hasWeather, b.coastal ? 1 : map.GetHex(b.x, b.y).hasWeather);
    EXPECT_EQ(b.markValue, -1);
    EXPECT_EQ(b.city, nullptr);
  }
  EXPECT_EQ(loaded.FrontMarks().size(), 20u);
  EXPECT_EQ(loaded.EyeCandies().size(), 20u);
  EXPECT_EQ(loaded.EyeCandies()[3].alpha, 100);
  // Written again, the file is the same bytes but for the passes' changes.
  EXPECT_EQ(loaded.MapFileBytes(), map.MapFileBytes());
}

TEST(MapFile, MagicFifthLetterRefusedHeaderTextFree) {
  cMap source;
  BuildSample(source);
  std::string bytes = source.MapFileBytes();
  twtest::LogCapture log;
  cMap map;
  std::string other = bytes;
  std::memcpy(other.data() + 5, "Some other text", 16);
  other[259] = 'x';
  EXPECT_EQ(map.ReadMapBytes(other, L"m"), eMapReadResult::kOk);
  EXPECT_EQ(map.GetWidth(), 5);
  bytes[4] = '2';
  EXPECT_EQ(map.ReadMapBytes(bytes, L"m"), eMapReadResult::kWrongVersion);
  EXPECT_TRUE(log.Contains(L"ERROR: Wrong map file version"));
  EXPECT_EQ(map.GetWidth(), 0);
}

// A weather code or a monthly chance out of range is brought into range
// with one WARNING per kind naming the file and the first hex; an unknown
// terrain code is refused.
TEST(MapFile, HexValuesOutOfRange) {
  cMap source;
  BuildSample(source);
  std::string bytes = source.MapFileBytes();
  const std::size_t hex = 268 + 37 * (2 * 5 + 3);  // (3, 2) of the 5-wide sample
  bytes[hex + 34] = static_cast<char>(224);       // weather
  bytes[hex + 10 + 4] = static_cast<char>(101);   // mud chance of May
  bytes[hex + 22] = static_cast<char>(255);       // winter chance of January
  twtest::LogCapture log;
  cMap map;
  ASSERT_EQ(map.ReadMapBytes(bytes, L"m.tdw"), eMapReadResult::kOk);
  const sHex& h = map.GetHex(3, 2);
  EXPECT_EQ(std::tuple(h.weather, h.mudChance[4], h.winterChance[0]), std::tuple(0u, 100, 100));
  EXPECT_TRUE(log.Contains(L"WARNING: m.tdw: 1 weather codes (0 to 2; taken as 0) out of range, the first at hex (3, 2)"));
  EXPECT_TRUE(log.Contains(
      L"WARNING: m.tdw: 2 monthly mud or winter chances (0 to 100; taken as 100) out of range, the first at hex (3, 2)"));
  bytes[hex] = 8;  // terrain
  EXPECT_EQ(map.ReadMapBytes(bytes, L"m.tdw"), eMapReadResult::kBadValue);
  EXPECT_EQ(log.Lines().back(), L"ERROR: m.tdw: hex (3, 2) has terrain code 8 (0 to 7)");
  EXPECT_EQ(map.GetWidth(), 0);
}

TEST(MapFile, ZeroSizeAndShortFilesAreRefused) {
  twtest::LogCapture log;
  cMap map;
  EXPECT_EQ(map.ReadMapBytes(Header(0, 10), L"m"), eMapReadResult::kZeroSize);
  EXPECT_TRUE(log.Contains(L"ERROR: Map cannot have 0 heigth or 0 width"));
  EXPECT_EQ(map.ReadMapBytes(Header(10, 0), L"m"), eMapReadResult::kZeroSize);
  EXPECT_EQ(map.ReadMapBytes(Header(2, 2) + std::string(3 * 37 + 36, '\0'), L"short.tdw"),
            eMapReadResult::kTruncated);
  EXPECT_TRUE(log.Contains(L"ERROR: Map file \"short.tdw\" is shorter than its header says"));
  EXPECT_EQ(map.GetWidth(), 0);
  EXPECT_EQ(map.ReadMapBytes(Header(2, 2).substr(0, 200), L"m"), eMapReadResult::kTruncated);
  // A huge promised size is refused before anything is allocated.
  EXPECT_EQ(map.ReadMapBytes(Header(65535, 65535) + std::string(37, '\0'), L"m"), eMapReadResult::kTruncated);
  // Extra bytes after the records are ignored.
  EXPECT_EQ(map.ReadMapBytes(Header(1, 1) + std::string(40, '\0'), L"m"), eMapReadResult::kOk);
}

TEST(MapFileDeathTest, FatalDataErrorsEndTheProcessWithCode1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  twtest::TempDir dir;
  EXPECT_EXIT({ cMap map(Pattern(dir)); }, ::testing::ExitedWithCode(1), "");
  dir.Write("map.tdw", Header(0, 10));
  EXPECT_EXIT({ cMap map(Pattern(dir)); }, ::testing::ExitedWithCode(1), "");
}
