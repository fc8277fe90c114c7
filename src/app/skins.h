// The map and unit skins: the sprite sheets of texture slots 12-16, the
// sprite depth table and the appearance tables that place counters, city
// icons and labels. Each appearance table holds one entry per zoom band; the
// drawing code uses the table's current entry, which the zoom choice sets.
#pragma once

#include <functional>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/render.h"

constexpr int kSpriteDepthEntries = 18;
constexpr int kAppearanceEntries = 10;
// The city table's file fills at most this many entries; the zoom choice
// looks at one more.
constexpr int kCityEntriesRead = 4;
constexpr int kCityEntriesChosen = 5;
// An entry the file did not fill; no zoom is below it.
constexpr int kUnusedThreshold = -100;

// Texture table slots of the skins.
constexpr int kSlotUnits = 12;
constexpr int kSlotUnitInfo = 13;
constexpr int kSlotTerrain = 14;
constexpr int kSlotOthers = 15;
constexpr int kSlotEyeCandies = 16;

struct sSpriteDepth {
  int level = 0;
  float depth = 0.0f;  // smaller lies in front
};

// A font description of a table and the font made from it.
struct sTextStyle {
  std::wstring face;
  int height = 0;
  int weight = 0;             // file value * 8 + 100
  plat::Font* font = nullptr; // owned by the skin module, made on device events
  std::uint32_t color = 0;    // 0xFFRRGGBB
  std::uint32_t color2 = 0;   // 0xFFRRGGBB, the shadow
};

struct sCityAppearance {
  int threshold = 0;          // per cent of zoom
  plat::RectI source[6];      // A0..A5
  plat::RectI box[11];        // B0..B10
  bool valid[11] = {};
  sTextStyle text[3];         // for B6, B7, B8
};

// The tables point into themselves (current), so they are never copied.
struct sCityAppearanceTable {
  sCityAppearanceTable() = default;
  sCityAppearanceTable(const sCityAppearanceTable&) = delete;
  sCityAppearanceTable& operator=(const sCityAppearanceTable&) = delete;
  // Back to the state at start-up (fonts are not released).
  void Reset();

  sCityAppearance entries[kAppearanceEntries];
  sCityAppearance* current = &entries[0];
  // The action-points label of the map ("#AP" line).
  sTextStyle apLabel;
  plat::RectI apRect;         // left, top, width, height as read
};

struct sUnitAppearance {
  std::wstring name;
  int threshold = 0;
  plat::RectI source[9];      // A0..A8 (land 9, air 7, naval 3)
  plat::RectI box[14];        // B0..B13
  bool valid[14] = {};
  sTextStyle text[3];
};

struct sUnitAppearanceTable {
  sUnitAppearanceTable() = default;
  sUnitAppearanceTable(const sUnitAppearanceTable&) = delete;
  sUnitAppearanceTable& operator=(const sUnitAppearanceTable&) = delete;
  void Reset();

  sUnitAppearance entries[kAppearanceEntries];
  sUnitAppearance* current = &entries[0];
};

extern sSpriteDepth g_SpriteDepths[kSpriteDepthEntries];
extern sCityAppearanceTable g_CityAppearance;
extern sUnitAppearanceTable g_LandAppearance;
extern sUnitAppearanceTable g_AirAppearance;
extern sUnitAppearanceTable g_NavalAppearance;

// The shape of each unit table's groups of lines.
struct sUnitTableShape {
  int groupLines;     // 25 land, 21 air, 13 naval
  int sourceRects;    // 9 land, 7 air, 3 naval
  // After the source/box pairs: plain boxes, then text boxes with their
  // styles, then plain boxes up to the end of the group.
  int leadingBoxes;
  int textBoxes;
};
constexpr sUnitTableShape kLandTableShape{25, 9, 0, 3};
constexpr sUnitTableShape kAirTableShape{21, 7, 0, 3};
constexpr sUnitTableShape kNavalTableShape{13, 3, 1, 2};

// Rectangle from fields 1-4 (index 0-3); with relative the third and fourth
// are a width and a height. Fewer than 4 fields give an all-zero rectangle.
plat::RectI RectFromFields(const std::vector<std::wstring>& fields, bool relative);
// Text style from fields 5-13 (index 4-12); fewer than 13 fields leave the
// style unchanged.
void TextStyleFromFields(const std::vector<std::wstring>& fields, sTextStyle& style);

// Entry k: level 2k, depth 1 - 0.02k.
void ResetSpriteDepthTable();
// Reads "sprites_depth.csv" (CR LF or LF); a missing file leaves the table.
void ReadSpriteDepthTable(std::wstring_view fileName);
// Reads "appearance.csv" into the city table and marks the entries after the
// last one read (up to the fourth) unused. False when the file cannot be read.
bool ReadCityAppearanceTable(std::wstring_view fileName);
// Reads one unit table with cCsvReader. Entries not filled become unused and
// the current entry is the first. False when the file cannot be opened.
bool ReadUnitAppearanceTable(std::wstring_view fileName, sUnitAppearanceTable& table,
                             const sUnitTableShape& shape);

// "data\gfx\[MapSkin]%s" and "data\gfx\[UnitsSkin]%s".
std::wstring MapSkinFolder(std::wstring_view name);
std::wstring UnitsSkinFolder(std::wstring_view name);

// placeEyeCandies, when given, is called once the eye-candy picture is
// loaded (with whether the skin has one), so that a loaded game places its
// decorations for it (files/world_skins.h).
void LoadMapSkin(std::wstring_view name,
                 const std::function<void(bool hasEyeCandyPicture)>& placeEyeCandies = {});
void LoadUnitsSkin(std::wstring_view name);

// The zoom choice for the current map zoom (g_Settings.MapZoom): an entry
// whose threshold is above the zoom in per cent becomes current; a later
// match replaces an earlier one. The unit tables change only while
// "UnitsDisplay/DynamicAppearance" is on.
void SelectUnitFontsForZoom();
// The entry the farthest zoom chooses: the last one the file filled (the
// first when none was).
sUnitAppearance& FarthestUnitAppearance(sUnitAppearanceTable& table);
void SelectMapFontForZoom();
void SelectUnitFontsForZoomPercent(int zoomPercent);
void SelectMapFontForZoomPercent(int zoomPercent);

// Makes the fonts of every used entry (threshold above 0) and of the AP
// label with the renderer; releases those made before. Null renderer: the
// fonts are only released.
void CreateSkinFonts(plat::Renderer* renderer);
void ReleaseSkinFonts();
