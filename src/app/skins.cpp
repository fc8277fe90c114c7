#include "app/skins.h"

#include <climits>
#include <cwchar>
#include <memory>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/settings.h"
#include "app/texture.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

sSpriteDepth g_SpriteDepths[kSpriteDepthEntries];
sCityAppearanceTable g_CityAppearance;
sUnitAppearanceTable g_LandAppearance;
sUnitAppearanceTable g_AirAppearance;
sUnitAppearanceTable g_NavalAppearance;

namespace {

// The text lines of the skin files are read up to this length; the rest of
// a longer line is dropped rather than read as a line of its own.
constexpr std::size_t kMaxSkinLine = 499;
constexpr int kMaxDepthLevel = 39;

// The owners of the fonts the tables name.
std::unique_ptr<plat::Font> g_CityFontOwners[kAppearanceEntries][3];
std::unique_ptr<plat::Font> g_ApFontOwner;
std::unique_ptr<plat::Font> g_UnitFontOwners[3][kAppearanceEntries][3];

sUnitAppearanceTable* const kUnitTables[3] = {&g_LandAppearance, &g_AirAppearance,
                                              &g_NavalAppearance};

// Decimal conversion of the C runtime: leading blanks, a sign and digits;
// anything else ends the number, no digits give 0. Saturates instead of
// overflowing.
int ToInt(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

int FieldInt(const std::vector<std::wstring>& fields, std::size_t index) {
  return index < fields.size() ? ToInt(fields[index]) : 0;
}

std::uint32_t ColorFromFields(const std::vector<std::wstring>& fields, std::size_t first) {
  return 0xFF000000u | (static_cast<std::uint32_t>(FieldInt(fields, first) & 255) << 16) |
         (static_cast<std::uint32_t>(FieldInt(fields, first + 1) & 255) << 8) |
         static_cast<std::uint32_t>(FieldInt(fields, first + 2) & 255);
}

// Splits a line at ';'; runs of ';' count as one separator, so no field is
// empty.
std::vector<std::wstring> SplitFields(const std::wstring& line) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find(L';', start);
    if (end == std::wstring::npos) end = line.size();
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

// The file's lines as wide text (Windows-1252), CR LF or LF; false when the
// file cannot be read.
bool ReadSkinLines(std::wstring_view fileName, std::vector<std::wstring>& lines) {
  std::string bytes;
  if (!plat::ReadFileBytes(plat::ResolvePath(fileName), bytes)) return false;
  plat::LineReader reader(bytes);
  std::string_view line;
  while (reader.Next(line)) {
    if (line.size() > kMaxSkinLine) line = line.substr(0, kMaxSkinLine);
    lines.push_back(plat::WidenAnsi(line));
  }
  return true;
}

void MarkUnused(sTextStyle (&styles)[3], int& threshold) {
  threshold = kUnusedThreshold;
  for (sTextStyle& style : styles) style.face.clear();
}

bool HasSize(const plat::RectI& r) { return r.right != 0 && r.bottom != 0; }

void SetCityValidity(sCityAppearance& entry) {
  for (int i = 0; i < 6; ++i) entry.valid[i] = HasSize(entry.source[i]) && HasSize(entry.box[i]);
  for (int i = 6; i < 9; ++i) {
    const plat::RectI& b = entry.box[i];
    entry.valid[i] = HasSize(b) && b.right != b.left && b.bottom != b.top;
  }
  for (int i = 9; i < 11; ++i) entry.valid[i] = HasSize(entry.box[i]);
}

void FillCityLine(sCityAppearance& entry, int line, const std::vector<std::wstring>& fields) {
  if (line == 0) {
    entry.threshold = FieldInt(fields, 0);
  } else if (line <= 12) {
    if (line % 2 == 1) {
      entry.source[(line - 1) / 2] = RectFromFields(fields, true);
    } else {
      entry.box[line / 2 - 1] = RectFromFields(fields, false);
    }
  } else if (line <= 15) {
    entry.box[line - 7] = RectFromFields(fields, true);
    TextStyleFromFields(fields, entry.text[line - 13]);
  } else if (line <= 17) {
    entry.box[line - 7] = RectFromFields(fields, false);
  }
}

void SetApLabel(const std::vector<std::wstring>& fields) {
  // Field 1 is the "#AP" marker itself.
  if (fields.size() >= 5) {
    g_CityAppearance.apRect = {FieldInt(fields, 1), FieldInt(fields, 2), FieldInt(fields, 3),
                               FieldInt(fields, 4)};
  }
  if (fields.size() >= 14) {
    sTextStyle& style = g_CityAppearance.apLabel;
    style.face = fields[5];
    style.height = FieldInt(fields, 6);
    style.weight = FieldInt(fields, 7) * 8 + 100;
    style.color = ColorFromFields(fields, 8);
    style.color2 = ColorFromFields(fields, 11);
  }
}

void FillUnitLine(sUnitAppearance& entry, int line, const std::vector<std::wstring>& fields,
                  const sUnitTableShape& shape) {
  if (line == 0) {
    entry.name = fields[0];
    return;
  }
  if (line == 1) {
    entry.threshold = FieldInt(fields, 0);
    return;
  }
  const int pairEnd = 2 + 2 * shape.sourceRects;
  if (line < pairEnd) {
    const int k = (line - 2) / 2;
    if ((line - 2) % 2 == 0) {
      entry.source[k] = RectFromFields(fields, true);
    } else {
      entry.box[k] = RectFromFields(fields, false);
    }
    return;
  }
  // The boxes after the pairs follow one another: plain ones, then the text
  // boxes with their styles, then plain ones again.
  const int k = line - pairEnd;
  const int box = shape.sourceRects + k;
  if (box >= 14) return;
  const bool isText = k >= shape.leadingBoxes && k < shape.leadingBoxes + shape.textBoxes;
  entry.box[box] = RectFromFields(fields, isText);
  if (isText) TextStyleFromFields(fields, entry.text[k - shape.leadingBoxes]);
}

void SetUnitValidity(sUnitAppearance& entry, const sUnitTableShape& shape) {
  for (int i = 0; i < 14; ++i) {
    entry.valid[i] = HasSize(entry.box[i]) && (i >= shape.sourceRects || HasSize(entry.source[i]));
  }
}

std::unique_ptr<plat::Font> MakeFont(plat::Renderer* renderer, sTextStyle& style) {
  std::unique_ptr<plat::Font> font;
  if (renderer != nullptr) font = renderer->CreateFont(style.face, style.height, style.weight);
  style.font = font.get();
  return font;
}

void ReleaseCityFonts() {
  for (int e = 0; e < kAppearanceEntries; ++e) {
    for (int s = 0; s < 3; ++s) {
      g_CityAppearance.entries[e].text[s].font = nullptr;
      g_CityFontOwners[e][s].reset();
    }
  }
  g_CityAppearance.apLabel.font = nullptr;
  g_ApFontOwner.reset();
}

void ReleaseUnitFonts() {
  for (int t = 0; t < 3; ++t) {
    for (int e = 0; e < kAppearanceEntries; ++e) {
      for (int s = 0; s < 3; ++s) {
        kUnitTables[t]->entries[e].text[s].font = nullptr;
        g_UnitFontOwners[t][e][s].reset();
      }
    }
  }
}

void CreateCityFonts(plat::Renderer* renderer) {
  ReleaseCityFonts();
  for (int e = 0; e < kAppearanceEntries; ++e) {
    sCityAppearance& entry = g_CityAppearance.entries[e];
    if (entry.threshold <= 0) continue;
    for (int s = 0; s < 3; ++s) g_CityFontOwners[e][s] = MakeFont(renderer, entry.text[s]);
  }
  // Before any skin is read the label has no face and needs no font.
  if (!g_CityAppearance.apLabel.face.empty()) g_ApFontOwner = MakeFont(renderer, g_CityAppearance.apLabel);
}

void CreateUnitFonts(plat::Renderer* renderer) {
  ReleaseUnitFonts();
  for (int t = 0; t < 3; ++t) {
    for (int e = 0; e < kAppearanceEntries; ++e) {
      sUnitAppearance& entry = kUnitTables[t]->entries[e];
      if (entry.threshold <= 0) continue;
      for (int s = 0; s < 3; ++s) g_UnitFontOwners[t][e][s] = MakeFont(renderer, entry.text[s]);
    }
  }
}

plat::Renderer* SkinsRenderer() { return plat::GetFramework().GetRenderer(); }

int CurrentZoomPercent() { return static_cast<int>(g_Settings.MapZoom * 100.0f); }

std::uint8_t MipLevelsAbove(int width) {
  plat::Renderer* renderer = SkinsRenderer();
  return renderer != nullptr && renderer->MaxTextureWidth() > width ? 3 : 1;
}

void LoadSlot(int slot, const std::wstring& fileName, std::uint8_t mipLevels) {
  g_Textures[slot].Release();
  g_Textures[slot].Load(fileName.c_str(), cTexture::kFromFile, mipLevels);
}

}  // namespace

void sCityAppearanceTable::Reset() {
  for (sCityAppearance& entry : entries) entry = sCityAppearance{};
  current = &entries[0];
  apLabel = sTextStyle{};
  apRect = plat::RectI{};
}

void sUnitAppearanceTable::Reset() {
  for (sUnitAppearance& entry : entries) entry = sUnitAppearance{};
  current = &entries[0];
}

plat::RectI RectFromFields(const std::vector<std::wstring>& fields, bool relative) {
  if (fields.size() < 4) return {};
  plat::RectI rect{FieldInt(fields, 0), FieldInt(fields, 1), FieldInt(fields, 2), FieldInt(fields, 3)};
  if (relative) {
    rect.right += rect.left;
    rect.bottom += rect.top;
  }
  return rect;
}

void TextStyleFromFields(const std::vector<std::wstring>& fields, sTextStyle& style) {
  if (fields.size() < 13) return;
  style.face = fields[4];
  style.height = FieldInt(fields, 5);
  style.weight = FieldInt(fields, 6) * 8 + 100;
  style.color = ColorFromFields(fields, 7);
  style.color2 = ColorFromFields(fields, 10);
}

void ResetSpriteDepthTable() {
  for (int k = 0; k < kSpriteDepthEntries; ++k) {
    g_SpriteDepths[k].level = 2 * k;
    g_SpriteDepths[k].depth = 1.0f - 0.02f * static_cast<float>(k);
  }
}

void ReadSpriteDepthTable(std::wstring_view fileName) {
  std::vector<std::wstring> lines;
  if (!ReadSkinLines(fileName, lines)) return;
  int entry = 0;
  for (const std::wstring& line : lines) {
    if (entry >= kSpriteDepthEntries) break;
    if (!line.empty() && line[0] == L'#') continue;
    const std::vector<std::wstring> fields = SplitFields(line);
    if (fields.empty()) continue;
    const std::wstring& first = fields[0];
    std::size_t i = 0;
    while (i < first.size() && (first[i] == L' ' || first[i] == L'\t')) ++i;
    if (i < first.size() && (first[i] == L'-' || first[i] == L'+')) ++i;
    // A line whose first field holds no number cannot be read.
    if (i >= first.size() || first[i] < L'0' || first[i] > L'9') continue;
    int level = ToInt(first);
    if (level > kMaxDepthLevel) level = kMaxDepthLevel;
    g_SpriteDepths[entry].level = level;
    g_SpriteDepths[entry].depth = static_cast<float>(kMaxDepthLevel - level) / 100.0f + 0.6f;
    ++entry;
  }
}

bool ReadCityAppearanceTable(std::wstring_view fileName) {
  std::vector<std::wstring> lines;
  if (!ReadSkinLines(fileName, lines)) return false;
  int current = -1;  // the entry being filled
  int line = 0;      // its line counter
  for (const std::wstring& text : lines) {
    if (text.empty() || text[0] == L';') continue;
    const std::vector<std::wstring> fields = SplitFields(text);
    if (fields.empty()) continue;
    if (text[0] == L'#') {
      if (text.compare(0, 3, L"#AP") == 0) SetApLabel(fields);
      if (current >= 0) SetCityValidity(g_CityAppearance.entries[current]);
      if (current + 1 >= kCityEntriesRead) break;
      ++current;
      line = 0;
      continue;
    }
    if (current >= 0) FillCityLine(g_CityAppearance.entries[current], line++, fields);
  }
  for (int e = current + 1; e < kCityEntriesRead; ++e) {
    sCityAppearance& entry = g_CityAppearance.entries[e];
    MarkUnused(entry.text, entry.threshold);
  }
  return true;
}

bool ReadUnitAppearanceTable(std::wstring_view fileName, sUnitAppearanceTable& table,
                             const sUnitTableShape& shape) {
  int filled = 0;  // complete groups
  bool opened = false;
  {
    cCsvReader reader(fileName);
    opened = reader.IsOpened();
    int line = 0;
    while (opened && !reader.AtEnd() && filled < kAppearanceEntries) {
      if (reader.ReadRecord(false) == 0 || reader.FieldCount() == 0) continue;
      sUnitAppearance& entry = table.entries[filled];
      if (line == 0) entry = sUnitAppearance{};
      FillUnitLine(entry, line, reader.Fields(), shape);
      if (++line == shape.groupLines) {
        SetUnitValidity(entry, shape);
        ++filled;
        line = 0;
      }
    }
  }
  // An entry whose group did not end is not used either.
  for (int e = filled; e < kAppearanceEntries; ++e) {
    sUnitAppearance& entry = table.entries[e];
    MarkUnused(entry.text, entry.threshold);
  }
  table.current = &table.entries[0];
  return opened;
}

std::wstring MapSkinFolder(std::wstring_view name) {
  return plat::Format(L"data\\gfx\\[MapSkin]%s", std::wstring(name));
}

std::wstring UnitsSkinFolder(std::wstring_view name) {
  return plat::Format(L"data\\gfx\\[UnitsSkin]%s", std::wstring(name));
}

void LoadMapSkin(std::wstring_view name, const std::function<void(bool hasEyeCandyPicture)>& placeEyeCandies) {
  const std::wstring folder = MapSkinFolder(name);
  if (plat::FolderExists(plat::ToUtf8(folder))) {
    const std::uint8_t mips = MipLevelsAbove(2048);
    LoadSlot(kSlotTerrain, plat::Format(L"%s\\terrain.png", folder), mips);
    LoadSlot(kSlotOthers, plat::Format(L"%s\\others.png", folder), mips);
    LoadSlot(kSlotEyeCandies, plat::Format(L"%s\\eyecandies.png", folder), mips);
    if (placeEyeCandies) placeEyeCandies(g_Textures[kSlotEyeCandies].Get() != nullptr);
    ResetSpriteDepthTable();
    ReadSpriteDepthTable(plat::Format(L"%s\\sprites_depth.csv", folder));
  }
  const std::wstring tableName = plat::Format(L"%s\\appearance.csv", folder);
  LogLine(L"Opening file with cities appearance definition...");
  g_ConsoleLog.WriteLine(tableName);
  if (!ReadCityAppearanceTable(tableName)) return;
  CreateCityFonts(SkinsRenderer());
  SelectMapFontForZoom();
}

void LoadUnitsSkin(std::wstring_view name) {
  const std::wstring folder = UnitsSkinFolder(name);
  const std::wstring sheet = plat::Format(L"%s\\units.png", folder);
  if (plat::FileExists(plat::ToUtf8(sheet))) {
    LoadSlot(kSlotUnits, sheet, MipLevelsAbove(1024));
    LoadSlot(kSlotUnitInfo, plat::Format(L"%s\\info.png", folder), 1);
  }
  const std::wstring land = plat::Format(L"%s\\land_units.csv", folder);
  if (!ReadUnitAppearanceTable(land, g_LandAppearance, kLandTableShape)) {
    LogLine(L"ERROR during opening CSV file %s", land);
  }
  ReadUnitAppearanceTable(plat::Format(L"%s\\air_units.csv", folder), g_AirAppearance, kAirTableShape);
  const std::wstring naval = plat::Format(L"%s\\naval_units.csv", folder);
  if (!ReadUnitAppearanceTable(naval, g_NavalAppearance, kNavalTableShape)) {
    LogLine(L"ERROR during opening CSV file %s", naval);
  }
  CreateUnitFonts(SkinsRenderer());
  SelectUnitFontsForZoom();
}

void SelectUnitFontsForZoomPercent(int zoomPercent) {
  if (!g_Settings.DynamicAppearance) return;
  for (sUnitAppearanceTable* table : kUnitTables) {
    for (sUnitAppearance& entry : table->entries) {
      if (entry.threshold > zoomPercent) table->current = &entry;
    }
  }
}

void SelectMapFontForZoomPercent(int zoomPercent) {
  for (int e = 0; e < kCityEntriesChosen; ++e) {
    sCityAppearance& entry = g_CityAppearance.entries[e];
    if (entry.threshold > zoomPercent) g_CityAppearance.current = &entry;
  }
}

sUnitAppearance& FarthestUnitAppearance(sUnitAppearanceTable& table) {
  sUnitAppearance* farthest = &table.entries[0];
  for (sUnitAppearance& entry : table.entries) {
    if (entry.threshold != kUnusedThreshold) farthest = &entry;
  }
  return *farthest;
}

void SelectUnitFontsForZoom() { SelectUnitFontsForZoomPercent(CurrentZoomPercent()); }
void SelectMapFontForZoom() { SelectMapFontForZoomPercent(CurrentZoomPercent()); }

void CreateSkinFonts(plat::Renderer* renderer) {
  CreateCityFonts(renderer);
  CreateUnitFonts(renderer);
}

void ReleaseSkinFonts() {
  ReleaseCityFonts();
  ReleaseUnitFonts();
}
