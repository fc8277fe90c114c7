#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/format.h"
#include "platform/lines.h"
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

namespace {

// An old map: a 4148-byte header with the size at 4132 and 4136 (signed,
// little-endian), then 20-byte records row by row.
std::string OldMapBytes(int w, int h, const std::vector<std::string>& records) {
  std::string file(4148, '\0');
  for (int i = 0; i < 4; ++i) {
    file[static_cast<std::size_t>(4132 + i)] = static_cast<char>((w >> (8 * i)) & 0xFF);
    file[static_cast<std::size_t>(4136 + i)] = static_cast<char>((h >> (8 * i)) & 0xFF);
  }
  for (const auto& r : records) file += r;
  return file;
}

std::string OldMapRecord(int terrain, int river, int ctl, int own, int orig, int extra, int zone, int fort) {
  std::string r(20, '\x7f');  // the bytes the conversion does not read
  const std::pair<int, int> fields[] = {{0, terrain}, {2, river}, {3, ctl}, {4, own},
                                        {5, orig},    {12, extra}, {13, zone}, {14, fort}};
  for (const auto& [at, value] : fields) r[static_cast<std::size_t>(at)] = static_cast<char>(value);
  return r;
}

std::vector<int> ConvertedValues(const cMap& map, int (*value)(const sHex&)) {
  std::vector<int> out;
  for (const sHex& h : map.Hexes()) out.push_back(value(h));
  return out;
}

}  // namespace

// A 5 x 4 old map with its three weather files, converted and read back
// through the map's constructor as "map.tdw". Every expected value below is
// worked out from the files by hand.
TEST(MapConversion, OldMapAndWeatherFilesBecomeOutputMapBesideThem) {
  twtest::TempDir dir;
  std::vector<std::string> records(5 * 4, OldMapRecord(1, 0, 2, 3, 4, 9, 0, 1));
  records[1 * 5 + 1] = OldMapRecord(2, 0, 5, 6, 7, 8, 3, 2);  // (1, 1): land with sea-zone byte 3
  records[3 * 5 + 0] = OldMapRecord(0, 0, 0, 0, 0, 0, 7, 0);  // (0, 3): water of zone 7
  dir.Write("map.hmf", OldMapBytes(5, 4, records));
  dir.Write("weather.csv",
            "# x;y;weather;flag\r\n"
            "  3 ; 0 ; 2 ; 1 \r\n"
            "\r\n"
            "2;1;1;0\n"
            "9;9;1;1\n"  // off the map
            "4;2;1\n");  // three fields
  dir.Write("winter_area.csv",
            "# x1;y1;x2;y2;January..December\n"
            "1;1;3;3;0;0;0;0;0;0;0;0;0;0;0;5\n"
            "2;0;2;2;0;;0;0;0;0;0;0;0;0;0;7\n"  // an empty month: 0, warned
            "-2;3;0;9;0;0;0;0;0;0;0;0;0;0;0;1\n"  // cut to the map: (0, 3)
            "4;0;4;1;200;0;0;0;0;0;0;0;0;0;0;0\n"
            "4;0;4;1;100;0;0;0;0;0;0;0;0;0;0;0\n"
            "0;0;4;4;1;1;1\n"                     // too few fields
            "x;0;4;4;1;1;1;1;1;1;1;1;1;1;1;1\n");  // not a number
  dir.Write("mud_area.csv", "1;0;1;1;0;0;10;0;0;0;0;0;0;0;0;0\n");
  twtest::LogCapture log;
  cMap converted;
  ASSERT_TRUE(converted.ConvertHmfMap(Pattern(dir)));
  const std::wstring folder = dir.Path().wstring();
  EXPECT_TRUE(log.Contains(L"WARNING: empty field in file " + folder + L"\\winter_area.csv (line 3)"));
  EXPECT_TRUE(log.Contains(L"WARNING: wrong value in file " + folder + L"\\winter_area.csv (line 8)"));

  std::filesystem::rename(dir.Path() / "output_map.tdw", dir.Path() / "map.tdw");
  const cMap map(Pattern(dir));
  ASSERT_EQ(std::pair(map.GetWidth(), map.GetHeight()), std::pair(5, 4));
  // The fields of a record, and the coastal flag from the sea-zone byte.
  const sHex& c = map.GetHex(1, 1);
  EXPECT_EQ(std::vector<int>({c.terrain, c.controller, c.owner, c.originalOwner, c.extra, c.fortification,
                              c.seaZone, c.coastal}),
            std::vector<int>({2, 5, 6, 7, 8, 2, 3, 1}));
  EXPECT_EQ(std::pair(map.GetHex(0, 3).coastal, map.GetHex(0, 3).seaZone),
            std::pair(std::uint8_t{1}, std::uint16_t{7}));
  // The coastal pass gave the land beside the water its zone, not the flag.
  EXPECT_EQ(std::pair(map.GetHex(1, 3).coastal, map.GetHex(1, 3).seaZone),
            std::pair(std::uint8_t{0}, std::uint16_t{7}));

  // weather.csv: (3, 0) mud with rolls on, (2, 1) snow with rolls off; the
  // other lines change nothing.
  EXPECT_EQ(ConvertedValues(map, [](const sHex& h) { return static_cast<int>(h.weather); }),
            std::vector<int>({0, 0, 0, 2, 0,  //
                              0, 0, 1, 0, 0,  //
                              0, 0, 0, 0, 0,  //
                              0, 0, 0, 0, 0}));
  EXPECT_EQ(std::pair(map.GetHex(3, 0).hasWeather, map.GetHex(2, 1).hasWeather), std::pair(std::uint8_t{1}, std::uint8_t{0}));
  // December: 1;1;3;3 takes columns 1 to 3 (its last column) and rows 1
  // and 2 (not its last row); 2;0;2;2 adds 7 to (2, 0) and (2, 1).
  EXPECT_EQ(ConvertedValues(map, [](const sHex& h) { return static_cast<int>(h.winterChance[11]); }),
            std::vector<int>({0, 0, 7, 0, 0,   //
                              0, 5, 12, 5, 0,  //
                              0, 5, 5, 5, 0,   //
                              1, 0, 0, 0, 0}));
  // January: 200 + 100 on (4, 0) wraps to 44.
  EXPECT_EQ(ConvertedValues(map, [](const sHex& h) { return static_cast<int>(h.winterChance[0]); }),
            std::vector<int>({0, 0, 0, 0, 44,  //
                              0, 0, 0, 0, 0,   //
                              0, 0, 0, 0, 0,   //
                              0, 0, 0, 0, 0}));
  // March mud on (1, 0) alone: one row, one column.
  const std::vector<int> mud = ConvertedValues(map, [](const sHex& h) { return static_cast<int>(h.mudChance[2]); });
  EXPECT_EQ(std::pair(std::accumulate(mud.begin(), mud.end(), 0), map.GetHex(1, 0).mudChance[2]),
            std::pair(10, std::uint8_t{10}));

}

// An old map the conversion cannot use, or whose terrain the map reader
// would refuse, is refused with its log line: the process goes on, the map
// stays as it was and nothing is written.
TEST(MapConversion, UnusableOldMapIsRefusedWritingNothing) {
  const struct {
    const char* what;
    std::string hmf;  // empty: no "map.hmf" at all
    std::vector<std::wstring> lastLines;
  } cases[] = {
      {"missing", "", {L"Loading from %s... FAILED", L"ERROR: file does not exist"}},
      {"zero width", OldMapBytes(0, 3, {}), {L"Loading hexes data...", L"ERROR: map cannot have 0 heigth or 0 width!"}},
      {"short records", OldMapBytes(2, 2, {OldMapRecord(1, 0, 0, 0, 0, 0, 0, 0)}),
       {L"Loading hexes data...", L"ERROR: Map file \"%s\" is shorter than its header says"}},
      {"terrain 8", OldMapBytes(2, 1, {OldMapRecord(1, 0, 0, 0, 0, 0, 0, 0), OldMapRecord(8, 0, 0, 0, 0, 0, 0, 0)}),
       {L"Loading hexes data...", L"ERROR: %s: hex (1, 0) has terrain code 8 (0 to 7)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    twtest::TempDir dir;
    if (!c.hmf.empty()) dir.Write("map.hmf", c.hmf);
    dir.Write("weather.csv", "0;0;1;1\n");
    twtest::LogCapture log;
    cMap map;
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size 2 2\n", map, error)) << error;
    EXPECT_FALSE(map.ConvertHmfMap(Pattern(dir)));
    EXPECT_EQ(std::pair(map.GetWidth(), map.GetHeight()), std::pair(2, 2));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "output_map.tdw"));
    const std::vector<std::wstring> lines = log.Lines();
    ASSERT_GE(lines.size(), c.lastLines.size());
    const std::wstring path = dir.Path().wstring() + L"\\map.hmf";
    for (std::size_t i = 0; i < c.lastLines.size(); ++i) {
      EXPECT_EQ(lines[lines.size() - c.lastLines.size() + i], plat::Format(c.lastLines[i], path));
    }
  }
}

// A weather code the map reader would not take, or a file the process may
// not write whole, stops the conversion naming the file: a former
// "output_map.tdw" stays as it was and nothing is left beside it.
TEST(MapConversion, BadWeatherOrAnUnfinishedWriteLeavesTheFormerOutputWhole) {
  for (const bool cutShort : {false, true}) {
    SCOPED_TRACE(cutShort ? "file cut short" : "weather 3");
    twtest::TempDir dir;
    dir.Write("map.hmf", OldMapBytes(40, 30, std::vector<std::string>(40 * 30, OldMapRecord(1, 0, 0, 0, 0, 0, 0, 0))));
    dir.Write("weather.csv", cutShort ? "1;1;2;1\n" : "1;1;2;1\n# the third line\n2;2;3;0\n");
    dir.Write("output_map.tdw", "a map converted before");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 16384;  // the map's 44668 bytes pass it: the write fails part way
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    if (cutShort) setrlimit(RLIMIT_FSIZE, &low);
    cMap map;
    const sMapConversion outcome = map.ConvertHmfMap(Pattern(dir));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    const std::wstring folder = dir.Path().wstring() + L"\\";
    EXPECT_EQ(std::tuple(outcome.result, outcome.file, outcome.line, outcome.code),
              cutShort ? std::tuple(eMapConversion::kCannotWrite, folder + L"output_map.tdw", 0, 0)
                       : std::tuple(eMapConversion::kBadWeather, folder + L"weather.csv", 3, 3));
    std::string kept;
    ASSERT_TRUE(plat::ReadFileBytes(dir.File("output_map.tdw"), kept));
    EXPECT_TRUE(kept == "a map converted before") << kept.size() << " bytes";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);  // no temporary file
  }
}
