// "map.tdw" (format Tdwv1): a 268-byte header, then one 37-byte record per
// cell, row by row, little-endian. And the conversion of the older
// "map.hmf" with its three weather files.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "world/map.h"

namespace {

constexpr std::size_t kHeaderSize = 268;
constexpr std::size_t kRecordSize = 37;
constexpr char kMagic[5] = {'T', 'd', 'w', 'v', '1'};
constexpr char kHeaderText[] = "Map for Tidewrack created by Brackmoor.";

constexpr std::size_t kHmfHeaderSize = 4148;
constexpr std::size_t kHmfRecordSize = 20;
// Cells carry their column and row in 16 signed bits.
constexpr std::int32_t kHmfMaxSide = 32767;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::int32_t I32(const unsigned char* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                   (static_cast<std::uint32_t>(p[2]) << 16) |
                                   (static_cast<std::uint32_t>(p[3]) << 24));
}
void PutU16(std::string& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

void DecodeRecord(const unsigned char* r, sHex& h) {
  h.terrain = r[0];
  h.extra = r[1];
  h.riverMask = r[2];
  h.seaZone = U16(r + 3);
  h.tileVariant = r[5];
  h.controller = r[6];
  h.owner = r[7];
  h.originalOwner = r[8];
  h.fortification = r[9];
  std::memcpy(h.mudChance, r + 10, 12);
  std::memcpy(h.winterChance, r + 22, 12);
  h.weather = r[34];
  const unsigned char flags = r[35];  // the reader looks at the low byte only
  h.coastal = flags & 1;
  h.hasWeather = (flags & 2) ? 0 : 1;
  h.city = nullptr;
  h.unit = nullptr;
  h.seaNode = 0;
  h.borderFlags = 0;
  h.markBits = 0;
  h.markValue = -1;
}

void EncodeRecord(const sHex& h, char* out) {
  auto* r = reinterpret_cast<unsigned char*>(out);
  r[0] = h.terrain;
  r[1] = h.extra;
  r[2] = h.riverMask;
  r[3] = static_cast<unsigned char>(h.seaZone & 0xFF);
  r[4] = static_cast<unsigned char>(h.seaZone >> 8);
  r[5] = h.tileVariant;
  r[6] = h.controller;
  r[7] = h.owner;
  r[8] = h.originalOwner;
  r[9] = h.fortification;
  std::memcpy(r + 10, h.mudChance, 12);
  std::memcpy(r + 22, h.winterChance, 12);
  r[34] = static_cast<unsigned char>(h.weather);
  // A coastal hex is stored as 1 whatever its weather flag.
  const std::uint16_t flags = h.coastal ? 1 : (h.hasWeather ? 0 : 2);
  r[35] = static_cast<unsigned char>(flags & 0xFF);
  r[36] = static_cast<unsigned char>(flags >> 8);
}

std::wstring PatternPath(std::wstring_view pattern, const wchar_t* fileName) {
  return plat::Format(pattern, fileName);
}

bool ReadWhole(const std::wstring& path, std::string& out) {
  return plat::ReadFileBytes(plat::ResolvePath(path), out);
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitWeatherFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t semi = line.find(';', start);
    if (semi == std::string_view::npos) {
      fields.push_back(TrimBlanks(line.substr(start)));
      return fields;
    }
    fields.push_back(TrimBlanks(line.substr(start, semi - start)));
    start = semi + 1;
  }
}

// A whole decimal number (optional sign) filling the field.
bool WeatherFieldToInt(std::string_view field, int& value) {
  // from_chars takes a minus but no plus: one plus before a digit is dropped.
  if (field.size() > 1 && field.front() == '+' && field[1] != '-') field.remove_prefix(1);
  if (field.empty()) return false;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  return ec == std::errc() && end == field.data() + field.size();
}

// The lines of a weather file that carry data, trimmed, each with its
// number in the file (the first line is 1).
template <class Apply>
void ForEachWeatherLine(std::string_view text, Apply apply) {
  plat::LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#') continue;
    apply(SplitWeatherFields(line), static_cast<int>(lines.LineNumber()));
  }
}

// Tells the conversion's caller what stopped it, when it asked.
void Refuse(sMapConversion* refusal, eMapConversion result, const std::wstring& file, int x = 0, int y = 0,
            int line = 0, int code = 0) {
  if (refusal != nullptr) *refusal = {result, file, x, y, line, code};
}

}  // namespace

cMap::cMap(std::wstring_view pathPattern) {
  const std::wstring path = PatternPath(pathPattern, L"map.tdw");
  if (ReadMapFile(path) != eMapReadResult::kOk) {
    FatalExit(1);
  }
}

eMapReadResult cMap::ReadMapFile(const std::wstring& path) {
  LogLine(L"------ Loading map ------");
  std::string bytes;
  if (!ReadWhole(path, bytes)) {
    Clear();
    LogLine(L"Loading from %s... FAILED", path);
    return eMapReadResult::kCannotOpen;
  }
  return ReadMapBytes(bytes, path);
}

eMapReadResult cMap::ReadMapBytes(std::string_view bytes, const std::wstring& pathForLog) {
  Clear();
  if (bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    LogLine(L"ERROR: Wrong map file version");
    LogLine(L"ERROR: %s does not start with \"Tdwv1\"", pathForLog);
    return eMapReadResult::kWrongVersion;
  }
  if (bytes.size() < kHeaderSize) {
    LogLine(L"ERROR: Map file \"%s\" is shorter than its header says", pathForLog);
    return eMapReadResult::kTruncated;
  }
  const unsigned char* p = Bytes(bytes);
  const int w = U16(p + 264);
  const int h = U16(p + 266);
  LogLine(L"Map size: %ix%i", w, h);
  LogLine(L"Loading hexes data...");
  if (w == 0 || h == 0) {
    LogLine(L"ERROR: Map cannot have 0 heigth or 0 width");
    LogLine(L"ERROR: %s gives the map size %ix%i", pathForLog, w, h);
    return eMapReadResult::kZeroSize;
  }
  const std::size_t cells = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  if ((bytes.size() - kHeaderSize) / kRecordSize < cells) {
    LogLine(L"ERROR: Map file \"%s\" is shorter than its header says", pathForLog);
    return eMapReadResult::kTruncated;
  }
  SetWidth(w);
  SetHeight(h);
  CreateHexes();
  ResetEyeCandies();
  const unsigned char* r = p + kHeaderSize;
  for (std::size_t i = 0; i < cells; ++i, r += kRecordSize) DecodeRecord(r, hexes_[i]);
  if (!CheckHexValues(pathForLog)) {
    Clear();
    return eMapReadResult::kBadValue;
  }
  ReadPassesAndFit();
  LogLine(g_StringBase.GetText("loading_map_from_%s..._ok"), pathForLog);
  return eMapReadResult::kOk;
}

bool cMap::CheckHexValues(const std::wstring& pathForLog) {
  // Terrain codes index the rules' tables: an unknown one cannot be played.
  // Weather codes and monthly chances out of range are taken as good weather
  // and 100 per cent, each kind reported once with its first hex.
  int badWeather = 0, badChance = 0;
  int weatherAt = -1, chanceAt = -1;
  for (std::size_t i = 0; i < hexes_.size(); ++i) {
    sHex& hex = hexes_[i];
    const int x = static_cast<int>(i % static_cast<std::size_t>(width_));
    const int y = static_cast<int>(i / static_cast<std::size_t>(width_));
    if (hex.terrain > kTerrainDesert) {
      LogLine(L"ERROR: %s: hex (%i, %i) has terrain code %i (0 to %i)", pathForLog, x, y, hex.terrain,
              static_cast<int>(kTerrainDesert));
      return false;
    }
    if (hex.weather > 2) {
      if (badWeather++ == 0) weatherAt = static_cast<int>(i);
      hex.weather = 0;
    }
    for (int month = 0; month < 12; ++month) {
      for (std::uint8_t* chance : {&hex.mudChance[month], &hex.winterChance[month]}) {
        if (*chance <= 100) continue;
        if (badChance++ == 0) chanceAt = static_cast<int>(i);
        *chance = 100;
      }
    }
  }
  auto report = [&](int count, int at, const wchar_t* what) {
    if (count == 0) return;
    LogLine(L"WARNING: %s: %i %s out of range, the first at hex (%i, %i)", pathForLog, count, std::wstring(what),
            at % width_, at / width_);
  };
  report(badWeather, weatherAt, L"weather codes (0 to 2; taken as 0)");
  report(badChance, chanceAt, L"monthly mud or winter chances (0 to 100; taken as 100)");
  return true;
}

void cMap::ReadPassesAndFit() {
  AddRiverMouths();
  CreateFrontMarks();
  AssignCoastalSeaZones();
  ComputeFitScale();
}

std::string cMap::MapFileBytes() const {
  std::string out(kHeaderSize + hexes_.size() * kRecordSize, '\0');
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  std::memcpy(out.data() + 5, kHeaderText, sizeof kHeaderText);  // with its terminator
  const float version = 1.0f;
  std::uint32_t bits = 0;
  std::memcpy(&bits, &version, 4);
  for (int i = 0; i < 4; ++i) out[260 + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  PutU16(out, 264, static_cast<std::uint32_t>(width_) & 0xFFFF);
  PutU16(out, 266, static_cast<std::uint32_t>(height_) & 0xFFFF);
  char* r = out.data() + kHeaderSize;
  for (const sHex& h : hexes_) {
    EncodeRecord(h, r);
    r += kRecordSize;
  }
  return out;
}

bool cMap::SaveMapFile(std::wstring_view folder, std::wstring_view pathPattern) {
  const std::wstring path = !pathPattern.empty() ? PatternPath(pathPattern, kConvertedMapFileName)
                                                 : std::wstring(folder) + L"\\map.tdw";
  // The conversion's file may already hold a converted map: it is replaced
  // whole or not at all. A save writes into a folder of its own that is
  // swapped in once complete.
  const std::string disk = plat::ResolvePath(path);
  const std::string image = MapFileBytes();
  if (!(pathPattern.empty() ? plat::WriteFileBytes(disk, image) : plat::ReplaceFileBytes(disk, image))) {
    LogLine(L"Saving map using Tdwv1 format to \"%s\" FAILED", path);
    return false;
  }
  return true;
}

eMapReadResult cMap::ReadHmfBytes(std::string_view bytes, const std::wstring& pathForLog, sMapConversion* refusal) {
  if (bytes.size() < kHmfHeaderSize) {
    LogLine(L"ERROR: Map file \"%s\" is shorter than its header says", pathForLog);
    Refuse(refusal, eMapConversion::kTruncated, pathForLog);
    return eMapReadResult::kTruncated;
  }
  const unsigned char* p = Bytes(bytes);
  const std::int32_t w = I32(p + 4132);
  const std::int32_t h = I32(p + 4136);
  LogLine(L"Map size: %ix%i", w, h);
  LogLine(L"Loading hexes data...");
  if (w == 0 || h == 0) {
    LogLine(L"ERROR: map cannot have 0 heigth or 0 width!");
    Refuse(refusal, eMapConversion::kZeroSize, pathForLog);
    return eMapReadResult::kZeroSize;
  }
  if (w < 0 || h < 0 || w > kHmfMaxSide || h > kHmfMaxSide) {
    LogLine(L"ERROR: Wrong map size %ix%i", w, h);
    Refuse(refusal, eMapConversion::kBadSize, pathForLog, w, h);
    return eMapReadResult::kBadSize;
  }
  // The length is checked before anything is made of the size.
  const std::size_t cells = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  if ((bytes.size() - kHmfHeaderSize) / kHmfRecordSize < cells) {
    LogLine(L"ERROR: Map file \"%s\" is shorter than its header says", pathForLog);
    Refuse(refusal, eMapConversion::kTruncated, pathForLog);
    return eMapReadResult::kTruncated;
  }
  // A terrain code the map reader refuses would make an "output_map.tdw"
  // no game can load.
  for (std::size_t i = 0; i < cells; ++i) {
    const int terrain = p[kHmfHeaderSize + i * kHmfRecordSize];
    if (terrain <= kTerrainDesert) continue;
    const int x = static_cast<int>(i % static_cast<std::size_t>(w));
    const int y = static_cast<int>(i / static_cast<std::size_t>(w));
    LogLine(L"ERROR: %s: hex (%i, %i) has terrain code %i (0 to %i)", pathForLog, x, y, terrain,
            static_cast<int>(kTerrainDesert));
    Refuse(refusal, eMapConversion::kBadTerrain, pathForLog, x, y, 0, terrain);
    return eMapReadResult::kBadValue;
  }
  Clear();
  SetWidth(w);
  SetHeight(h);
  CreateHexes();
  const unsigned char* r = p + kHmfHeaderSize;
  for (std::size_t i = 0; i < cells; ++i, r += kHmfRecordSize) {
    // The default cell has no weather, no chances and weather rolls on.
    sHex& c = hexes_[i];
    c.terrain = r[0];
    c.riverMask = r[2];
    c.controller = r[3];
    c.owner = r[4];
    c.originalOwner = r[5];
    c.extra = r[12];
    c.seaZone = r[13];
    c.coastal = r[13] != 0 ? 1 : 0;
    c.fortification = r[14];
  }
  AddRiverMouths();
  AssignCoastalSeaZones();
  return eMapReadResult::kOk;
}

bool cMap::ApplyWeatherText(std::string_view text, const std::wstring& pathForLog, sMapConversion* refusal) {
  bool taken = true;
  ForEachWeatherLine(text, [&](const std::vector<std::string_view>& f, int lineNumber) {
    if (!taken || f.size() < 4) return;
    int v[4];
    for (int i = 0; i < 4; ++i) {
      if (!WeatherFieldToInt(f[static_cast<std::size_t>(i)], v[i])) {
        LogLine(L"WARNING: wrong value in file %s (line %i)", pathForLog, lineNumber);
        return;
      }
    }
    if (!IsInside(v[0], v[1])) return;
    // The map file keeps the weather in one byte that the reader takes only
    // as 0 good, 1 snow or 2 mud.
    if (v[2] < 0 || v[2] > 2) {
      LogLine(L"ERROR: weather code %i (0 to 2) in file %s (line %i)", v[2], pathForLog, lineNumber);
      Refuse(refusal, eMapConversion::kBadWeather, pathForLog, 0, 0, lineNumber, v[2]);
      taken = false;
      return;
    }
    sHex& c = GetHex(v[0], v[1]);
    c.weather = static_cast<std::uint32_t>(v[2]);
    c.hasWeather = v[3] == 1 ? 1 : 0;
  });
  return taken;
}

void cMap::ApplyAreaText(std::string_view text, bool winter, const std::wstring& pathForLog) {
  ForEachWeatherLine(text, [&](const std::vector<std::string_view>& f, int lineNumber) {
    if (f.size() < 16) return;
    int v[16];
    bool emptyField = false;
    for (int i = 0; i < 16; ++i) {
      const std::string_view field = f[static_cast<std::size_t>(i)];
      if (i >= 4 && field.empty()) {
        v[i] = 0;
        emptyField = true;
      } else if (!WeatherFieldToInt(field, v[i])) {
        // A field that is not a whole number makes the line unusable.
        LogLine(L"WARNING: wrong value in file %s (line %i)", pathForLog, lineNumber);
        return;
      }
    }
    if (emptyField) LogLine(L"WARNING: empty field in file %s (line %i)", pathForLog, lineNumber);
    // Columns x1 to x2 with x2, rows y1 to y2 without y2, within the map.
    const int x1 = std::max(v[0], 0), x2 = std::min(v[2], width_ - 1);
    const int y1 = std::max(v[1], 0), y2 = std::min(v[3], height_);
    for (int y = y1; y < y2; ++y) {
      for (int x = x1; x <= x2; ++x) {
        sHex& c = hexes_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
        std::uint8_t* chance = winter ? c.winterChance : c.mudChance;
        // Byte additions: overlapping areas add up and wrap above 255.
        for (int m = 0; m < 12; ++m) {
          chance[m] = static_cast<std::uint8_t>(chance[m] + static_cast<unsigned>(v[4 + m]));
        }
      }
    }
  });
}

sMapConversion cMap::ConvertHmfMap(std::wstring_view pathPattern) {
  sMapConversion outcome;
  const std::wstring path = PatternPath(pathPattern, kOldMapFileName);
  LogLine(L"------ Converting HMF map to TDW ------");
  std::string bytes;
  if (!ReadWhole(path, bytes)) {
    LogLine(L"Loading from %s... FAILED", path);
    LogLine(L"ERROR: file does not exist");
    Refuse(&outcome, eMapConversion::kCannotOpen, path);
    return outcome;
  }
  if (ReadHmfBytes(bytes, path, &outcome) != eMapReadResult::kOk) return outcome;

  LogLine(L"Loading weather state from weather.csv");
  const std::wstring weatherPath = PatternPath(pathPattern, L"weather.csv");
  std::string text;
  if (!ReadWhole(weatherPath, text)) {
    LogLine(L"ERROR: file does not exist");
  } else if (!ApplyWeatherText(text, weatherPath, &outcome)) {
    return outcome;
  }
  const struct {
    const wchar_t* name;
    const wchar_t* line;
    bool winter;
  } areas[] = {{L"winter_area.csv", L"Loading winter_area.csv", true},
               {L"mud_area.csv", L"Loading mud_area.csv", false}};
  for (const auto& a : areas) {
    LogLine(a.line);
    const std::wstring areaPath = PatternPath(pathPattern, a.name);
    if (!ReadWhole(areaPath, text)) {
      LogLine(L"ERROR: file does not exist");
      continue;
    }
    ApplyAreaText(text, a.winter, areaPath);
  }
  outcome.file = PatternPath(pathPattern, kConvertedMapFileName);
  if (!SaveMapFile({}, pathPattern)) outcome.result = eMapConversion::kCannotWrite;
  return outcome;
}
