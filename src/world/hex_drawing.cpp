#include "world/hex_drawing.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/device_events.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/clock.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/map_draw_cache.h"
#include "world/sea_graph.h"

sMapDrawHooks g_MapDrawHooks;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kRiverMouthNearer = 0.0001f;
constexpr float kCoastMarkDepth = 0.5f;
constexpr float kTileShipNearer = 0.1f;
constexpr int kMaxFortificationPicture = 11;

// The sheets' pictures have three weather rows; a weather value outside
// them (bad data) reads as good weather rather than a picture off the sheet.
int WeatherRow(std::uint32_t weather) { return weather <= 2 ? static_cast<int>(weather) : 0; }

plat::RectI Cell(int left, int top) {
  return {left, top, left + skin_sheet_layout::kPicture, top + skin_sheet_layout::kPicture};
}

const plat::Texture* Sheet(int slot) { return g_Textures[slot].Get(); }

// What every cell of a frame reads the same: the sheets, the sprite depth
// table and the display settings, looked up once per frame rather than per
// picture.
struct sCellLook {
  const plat::Texture* terrain;
  const plat::Texture* others;
  const plat::Texture* eyeCandies;
  float depth[kSpriteDepthEntries];
  int level[kSpriteDepthEntries];
  int ownershipMode;
  int borderMode;
  std::uint32_t borderColor;
  bool showSeaZoneBorders;
  bool showWeather;
  bool showGrid;
  bool showAPLeft;
  int actionMode;

  // withActionMode: ask the map screen's action mode too (the sea node
  // markers need it).
  explicit sCellLook(bool withActionMode) {
    terrain = Sheet(kSlotTerrain);
    others = Sheet(kSlotOthers);
    eyeCandies = Sheet(kSlotEyeCandies);
    for (int i = 0; i < kSpriteDepthEntries; ++i) {
      depth[i] = g_SpriteDepths[i].depth;
      level[i] = g_SpriteDepths[i].level;
    }
    ownershipMode = g_Settings.MapOwnershipMode;
    borderMode = g_Settings.BorderMode;
    borderColor = g_Settings.BorderColor;
    showSeaZoneBorders = g_Settings.ShowSeaZonesBorders;
    showWeather = g_Settings.ShowWeather;
    showGrid = g_Settings.ShowGrid;
    showAPLeft = g_Settings.ShowAPLeft;
    actionMode = withActionMode && g_MapDrawHooks.actionMode ? g_MapDrawHooks.actionMode() : 0;
  }
  bool Hidden(int layer, const sEyeCandy& eyeCandy) const { return level[layer] == eyeCandy.alpha; }
};

// What changes between frames and so is drawn live, never kept in the
// map's cache.
enum eLiveDraw : int {
  kLiveMarkValue,
  kLiveCity,
  kLiveSeaNode,
  kLiveUnit,
  kLiveCityFlag,
  kLiveOddPicture,  // a picture whose source the cache cannot hold; the
                    // live draw's number is its place in the row's odd list
};

// A picture kept aside because its source is out of the cache's range
// (decoration words of bad data), drawn live at its place.
struct sOddPicture {
  const plat::Texture* sheet;
  plat::RectI source;
  int x, y;
  float z;
  std::uint32_t argb;
};

// Where a cell's pictures go: into the batch, or, while the map's cache
// records, into the cache (positions in map space, whole pixels) with the
// live draws noted at their places.
struct sCellOut {
  plat::SpriteBatch& sprite;
  cMapDrawCache* cache = nullptr;  // null: draw now
  std::vector<sOddPicture>* odd = nullptr;
  int cell = 0;  // the cell being recorded
};

inline void Put(sCellOut& out, const plat::Texture* sheet, const plat::RectI& source, float x, float y, float z,
                std::uint32_t argb = kWhite) {
  if (!sheet) return;
  if (!out.cache) {
    out.sprite.Draw(*sheet, &source, x, y, z, argb);
    return;
  }
  const int ix = static_cast<int>(x), iy = static_cast<int>(y);
  if (!out.cache->Add(*sheet, source, ix, iy, z, argb)) {
    out.cache->AddLive(kLiveOddPicture, static_cast<int>(out.odd->size()));
    out.odd->push_back(sOddPicture{sheet, source, ix, iy, z, argb});
  }
}

// The countries of the world by id for one frame: cells look up their
// owner and controller, which are few.
class cCountryLookup {
 public:
  // The ids looked up so far.
  template <typename Fn>
  void ForEachKnown(Fn&& fn) const {
    for (int id = 0; id < kIds; ++id) {
      if (known_[id]) fn(id, country_[id]);
    }
  }

  const cCountry* Get(int countryId) {
    if (countryId < 0 || countryId >= kIds) return g_pWorld ? g_pWorld->GetCountry(countryId) : nullptr;
    if (!known_[countryId]) {
      known_[countryId] = true;
      country_[countryId] = g_pWorld ? g_pWorld->GetCountry(countryId) : nullptr;
    }
    return country_[countryId];
  }

 private:
  static constexpr int kIds = 256;
  bool known_[kIds] = {};
  const cCountry* country_[kIds] = {};
};

bool CountryFirstColour(cCountryLookup& countries, int countryId, std::uint32_t& colour) {
  const cCountry* country = countries.Get(countryId);
  if (!country) return false;
  colour = country->colour[0];
  return true;
}

int CountryAllianceCode(cCountryLookup& countries, int countryId) {
  const cCountry* country = countries.Get(countryId);
  return country ? country->alliance : kNeutral;
}

// The city's own drawing at the cities layer: the city tile only while the
// layer is shown, the animation bit choosing the tile picture.
void DrawCity(plat::SpriteBatch& sprite, const sCellLook& look, const cCity& city, const sHexScreenPos& pos,
              bool layerVisible, int animationBit) {
  city.Draw(sprite, pos.x, pos.y, look.depth[kLayerCities], layerVisible, animationBit);
}

// The controller's flag in box B9 of the city appearance (political map).
void DrawCityFlag(plat::SpriteBatch& sprite, cCountryLookup& countries, const sHex& hex, const sHexScreenPos& pos) {
  const sCityAppearance* look = g_CityAppearance.current;
  if (!look || !look->valid[9]) return;
  const cCountry* controller = countries.Get(hex.controller);
  if (!controller) return;
  cTexture* flag = controller->GetFlagTextureHolder();
  if (!flag || !flag->Get()) flag = GetDefaultFlagTexture();
  if (!flag) return;
  const plat::RectI& box = look->box[9];
  DrawSpriteRect(&sprite, flag, {0, 0, 128, 85}, static_cast<int>(pos.x) + box.left, static_cast<int>(pos.y) + box.top,
                 box.Width(), box.Height(), kWhite, pos.z, true);
}

// Step 1 of the cell drawing. goodWeatherOnly: the terrain map mode.
void DrawTerrainPictures(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                         const sEyeCandy& eyeCandy, bool goodWeatherOnly) {
  const int row = hex.IsWater() || goodWeatherOnly ? 0 : WeatherRow(hex.weather);
  const float weatherShift = static_cast<float>(WeatherRow(hex.weather)) / 100.0f;
  const plat::Texture* sheet = look.terrain;
  if (!sheet) return;
  const int layer = TerrainLayer(hex.terrain);
  switch (hex.terrain) {
    case kTerrainForest:
    case kTerrainRough:
    case kTerrainHill:
    case kTerrainMountain:
      // The feature, then the plain it stands on; the plain stays even when
      // the feature's layer is hidden, so the cell never shows a hole.
      if (!look.Hidden(layer, eyeCandy)) {
        Put(out, sheet, skin_sheet_layout::Terrain(hex.terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer]);
      }
      Put(out, sheet, skin_sheet_layout::Terrain(kTerrainPlain, hex.tileVariant, row), pos.x, pos.y,
          look.depth[kLayerPlain] - weatherShift);
      break;
    default:
      if (!look.Hidden(layer, eyeCandy)) {
        const int terrain = layer == kLayerWater ? static_cast<int>(kTerrainWater) : static_cast<int>(hex.terrain);
        Put(out, sheet, skin_sheet_layout::Terrain(terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer] - weatherShift);
      }
      break;
  }
}

// Step 2: river mouths on water, river sides 1-3 on land.
void DrawRivers(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                const sEyeCandy& eyeCandy) {
  if (hex.riverMask == 0 || look.Hidden(kLayerRivers, eyeCandy)) return;
  if (hex.IsWater() && (hex.riverMask & kRiverMouthBit) != 0) {
    const float depth = look.depth[kLayerRivers] - kRiverMouthNearer;
    for (int side = 0; side < 6; ++side) {
      if ((hex.riverMask >> side) & 1) {
        Put(out, look.terrain, skin_sheet_layout::RiverMouth(side, hex.tileVariant), pos.x, pos.y, depth);
      }
    }
    return;
  }
  for (int side = 1; side <= 3; ++side) {
    if (hex.HasRiverOnSide(side)) {
      Put(out, look.others, skin_sheet_layout::River(side, hex.tileVariant), pos.x, pos.y,
          look.depth[kLayerRivers]);
    }
  }
}

// Step 4: the cell's decoration for its weather.
void DrawDecoration(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                    const sEyeCandy& eyeCandy) {
  const plat::Texture* sheet = look.eyeCandies;
  if (!sheet || !(eyeCandy.scale > 0.5f)) return;
  const int w = WeatherRow(hex.weather);
  const int left = static_cast<int>(eyeCandy.words[2 * w]);
  const int top = static_cast<int>(eyeCandy.words[2 * w + 1]);
  // Words of bad data so large that the picture's far corner is no number
  // are left out.
  constexpr int kLastCorner = std::numeric_limits<int>::max() - skin_sheet_layout::kPicture;
  if (left > kLastCorner || top > kLastCorner) return;
  Put(out, sheet, Cell(left, top), pos.x, pos.y, eyeCandy.scale);
}

// Step 6's label: the value in the AP label style, shadow first.
void DrawMarkValue(plat::SpriteBatch& sprite, const sHexScreenPos& pos, int value) {
  const sTextStyle& style = g_CityAppearance.apLabel;
  if (!style.font) return;
  const plat::RectI& ap = g_CityAppearance.apRect;
  const int left = static_cast<int>(pos.x) + ap.left;
  const int top = static_cast<int>(pos.y) + ap.top;
  const std::wstring text = plat::Format(L"%i", value);
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextNoClip;
  plat::RectI shadow{left + 1, top + 1, left + ap.right + 1, top + ap.bottom + 1};
  style.font->DrawText(&sprite, text, shadow, kFlags, style.color2);
  plat::RectI box{left, top, left + ap.right, top + ap.bottom};
  style.font->DrawText(&sprite, text, box, kFlags, style.color);
}

void DrawTints(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
               const sHexScreenPos& pos) {
  const int mode = look.ownershipMode;
  if (mode == 0 || hex.controller == 0 || hex.owner == 0) return;
  std::uint32_t colour = 0;
  const float depth = look.depth[kLayerTint];
  if ((mode == 1 || mode == 3) && CountryFirstColour(countries, hex.controller, colour)) {
    Put(out, look.others, skin_sheet_layout::ControllerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
  if ((mode == 2 || mode == 3) && CountryFirstColour(countries, hex.owner, colour)) {
    Put(out, look.others, skin_sheet_layout::OwnerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
}

void DrawBorders(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos) {
  const int mode = look.borderMode;
  const float depth = look.depth[kLayerBorders];
  int firstBit = -1;
  if (mode == 2) firstBit = 0;       // owner borders
  else if (mode == 1) firstBit = 3;  // controller borders
  if (firstBit >= 0) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (firstBit + side - 1)) & 1) {
        Put(out, look.others, skin_sheet_layout::Border(side), pos.x, pos.y, depth, look.borderColor);
      }
    }
  }
  if (look.showSeaZoneBorders) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (5 + side)) & 1) {
        Put(out, look.others, skin_sheet_layout::SeaZoneBorder(side), pos.x, pos.y, depth);
      }
    }
  }
}

void DrawFortification(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                       const sEyeCandy& eyeCandy) {
  if (hex.fortification > 0 && hex.fortification <= kMaxFortificationPicture &&
      !look.Hidden(kLayerCities, eyeCandy)) {
    Put(out, look.others, skin_sheet_layout::Fortification(hex.fortification), pos.x, pos.y,
        look.depth[kLayerCities]);
  }
}

void DrawSeaNodeMarker(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                       bool highlight) {
  if (hex.seaNode == 0 || !g_pWorld) return;
  const sWezelGrafuMorz* node = g_pWorld->GetSeaGraph().GetNode(hex.seaNode);
  if (!node) return;
  // The node's drawing has no highlighted form: the marker is drawn plainly
  // in every action mode.
  (void)highlight;
  node->DrawMarker(sprite, pos.x, pos.y, look.depth[kLayerCities], hex.x, hex.y, false, false);
}

// The draws that change between frames, drawn now.
void DrawLive(plat::SpriteBatch& sprite, int kind, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  switch (kind) {
    case kLiveMarkValue: DrawMarkValue(sprite, pos, hex.markValue); break;
    case kLiveCity:
      if (hex.city) DrawCity(sprite, look, *hex.city, pos, !look.Hidden(kLayerCities, eyeCandy), animationPhase & 1);
      break;
    case kLiveSeaNode: {
      const int action = look.actionMode;
      DrawSeaNodeMarker(sprite, look, hex, pos, action == 13 || action == 14 || action == 15 || action == 3);
      break;
    }
    case kLiveUnit:
      if (hex.unit && g_MapDrawHooks.drawUnit) {
        sHexScreenPos unitPos = pos;
        unitPos.z = look.depth[kLayerUnits];
        g_MapDrawHooks.drawUnit(sprite, hex, unitPos, animationPhase & 1);
      }
      break;
    case kLiveCityFlag: DrawCityFlag(sprite, countries, hex, pos); break;
    default: break;
  }
}

// A live draw: now, or noted in the cache being recorded.
void Live(sCellOut& out, int kind, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
          const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  if (out.cache) {
    out.cache->AddLive(kind, out.cell);
  } else {
    DrawLive(out.sprite, kind, look, countries, hex, pos, eyeCandy, animationPhase);
  }
}

void DrawCell(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  // 1-2: terrain and rivers.
  DrawTerrainPictures(out, look, hex, pos, eyeCandy, false);
  DrawRivers(out, look, hex, pos, eyeCandy);
  // 3: weather overlay.
  if (hex.IsLand() && look.showWeather) {
    Put(out, look.others, skin_sheet_layout::WeatherOverlay(hex.tileVariant, WeatherRow(hex.weather)), pos.x,
        pos.y, look.depth[kLayerWeather]);
  }
  // 4: decoration.
  DrawDecoration(out, look, hex, pos, eyeCandy);
  // 5: ownership tint.
  DrawTints(out, look, countries, hex, pos);
  // 6: marks and the value beside them.
  if (hex.markBits != 0) {
    Put(out, look.others, skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        look.depth[kLayerMarks]);
  }
  if (look.showAPLeft && hex.markValue >= 0) {
    Live(out, kLiveMarkValue, look, countries, hex, pos, eyeCandy, animationPhase);
  }
  // 7-8: borders.
  DrawBorders(out, look, hex, pos);
  // 9: grid.
  if (hex.IsLand() && look.showGrid) {
    Put(out, look.others, skin_sheet_layout::Grid(), pos.x, pos.y, look.depth[kLayerGrid]);
  }
  // 10: city or fortification.
  if (hex.city) {
    Live(out, kLiveCity, look, countries, hex, pos, eyeCandy, animationPhase);
  } else {
    DrawFortification(out, look, hex, pos, eyeCandy);
  }
  // 11: sea node.
  if (hex.seaNode != 0) Live(out, kLiveSeaNode, look, countries, hex, pos, eyeCandy, animationPhase);
  // 12: unit.
  if (hex.unit && g_MapDrawHooks.drawUnit) Live(out, kLiveUnit, look, countries, hex, pos, eyeCandy, animationPhase);
}

void DrawCellTerrain(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                     const sEyeCandy& eyeCandy) {
  DrawTerrainPictures(out, look, hex, pos, eyeCandy, true);
  DrawRivers(out, look, hex, pos, eyeCandy);
  DrawDecoration(out, look, hex, pos, eyeCandy);
}

void DrawCellPolitical(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
                       const sHexScreenPos& pos) {
  static const sEyeCandy noDecoration;
  if (hex.IsWater()) {
    Put(out, look.terrain, skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
        look.depth[kLayerWater]);
    return;
  }
  const int alliance = CountryAllianceCode(countries, hex.controller);
  Put(out, look.others, skin_sheet_layout::AllianceColour(alliance), pos.x, pos.y, look.depth[kLayerPlain]);
  if (hex.city) Live(out, kLiveCityFlag, look, countries, hex, pos, noDecoration, 0);
}

void DrawCellWithCoastMark(sCellOut& out, const sCellLook& look, cCountryLookup& countries,
                           const sHex& hex, const sHexScreenPos& pos, const sEyeCandy& eyeCandy) {
  DrawCell(out, look, countries, hex, pos, eyeCandy, 0);
  if (IsHexCoastal(hex)) Put(out, look.others, skin_sheet_layout::CoastMark(), pos.x, pos.y, kCoastMarkDepth);
}

// ---------------------------------------------------------------------------
// The map's kept pictures

// What a frame's kept pictures were made from besides the cells.
struct sMapFrame {
  int mode = 0;
  int width = 0, height = 0;
  const plat::Texture* sheets[3] = {};
  std::uint32_t depthBits[kSpriteDepthEntries] = {};  // bits: a NaN entry still compares equal
  int level[kSpriteDepthEntries] = {};
  int ownershipMode = 0;
  int borderMode = 0;
  std::uint32_t borderColor = 0;
  bool showSeaZoneBorders = false;
  bool showWeather = false;
  bool showGrid = false;
  bool showAPLeft = false;
  bool unitHook = false;

  void Describe(const sCellLook& look) {
    sheets[0] = look.terrain;
    sheets[1] = look.others;
    sheets[2] = look.eyeCandies;
    std::memcpy(depthBits, look.depth, sizeof depthBits);
    std::copy(std::begin(look.level), std::end(look.level), level);
    ownershipMode = look.ownershipMode;
    borderMode = look.borderMode;
    borderColor = look.borderColor;
    showSeaZoneBorders = look.showSeaZoneBorders;
    showWeather = look.showWeather;
    showGrid = look.showGrid;
    showAPLeft = look.showAPLeft;
    unitHook = static_cast<bool>(g_MapDrawHooks.drawUnit);
  }
  bool operator==(const sMapFrame&) const = default;
};

// Everything of a cell and its decoration the kept pictures follow from,
// and which live draws it has.
struct sCellKey {
  std::uint8_t terrain = 0, riverMask = 0, tileVariant = 0, fortification = 0;
  std::uint8_t owner = 0, controller = 0, weatherRow = 0, flags = 0;
  std::uint16_t borderFlags = 0;
  std::uint32_t markBits = 0;
  std::int32_t alpha = 0;
  std::uint32_t scaleBits = 0, word0 = 0, word1 = 0;

  bool operator==(const sCellKey&) const = default;
};

inline sCellKey KeyOf(const sHex& hex, const sEyeCandy& eyeCandy, bool unitHook) {
  sCellKey key;
  key.terrain = hex.terrain;
  key.riverMask = hex.riverMask;
  key.tileVariant = hex.tileVariant;
  key.fortification = hex.fortification;
  key.owner = hex.owner;
  key.controller = hex.controller;
  key.weatherRow = static_cast<std::uint8_t>(WeatherRow(hex.weather));
  key.flags = static_cast<std::uint8_t>((hex.city ? 1 : 0) | (hex.seaNode != 0 ? 2 : 0) |
                                        (hex.unit && unitHook ? 4 : 0) | (hex.markValue >= 0 ? 8 : 0) |
                                        (hex.seaZone != 0 ? 16 : 0));
  key.borderFlags = hex.borderFlags;
  key.markBits = hex.markBits;
  key.alpha = eyeCandy.alpha;
  std::memcpy(&key.scaleBits, &eyeCandy.scale, sizeof key.scaleBits);
  key.word0 = eyeCandy.words[2 * key.weatherRow];
  key.word1 = eyeCandy.words[2 * key.weatherRow + 1];
  return key;
}

// A country as the kept pictures read it (tint colour, alliance).
struct sCountryUse {
  int id;
  bool exists;
  std::uint32_t colour;
  int alliance;
  bool operator==(const sCountryUse&) const = default;
};

sCountryUse CountryUse(int id, const cCountry* country) {
  return country ? sCountryUse{id, true, country->colour[0], country->alliance} : sCountryUse{id, false, 0, 0};
}

// The kept pictures of one row of cells (those visible) and what they were
// made from. Rows are kept apart so that a change redraws its row only.
struct sRowPictures {
  cMapDrawCache cache;
  std::vector<sOddPicture> odd;
  int firstColumn = 0, endColumn = 0;
  std::vector<sCellKey> cells;

  template <typename EyeCandyAt>
  bool Fits(const sMapFrame& frame, int y, int firstColumn_, int endColumn_, const std::vector<sHex>& hexes,
            EyeCandyAt&& eyeCandyAt) const {
    if (firstColumn != firstColumn_ || endColumn != endColumn_) return false;
    const sCellKey* key = cells.data();
    const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width);
    for (int x = firstColumn; x < endColumn; ++x) {
      const std::size_t index = rowStart + static_cast<std::size_t>(x);
      if (!(KeyOf(hexes[index], eyeCandyAt(index), frame.unitHook) == *key++)) return false;
    }
    return true;
  }

  // The row's cells drawn into the cache, in map space.
  template <typename EyeCandyAt>
  void Record(const sMapFrame& frame, const sCellLook& look, int y, int firstColumn_, int endColumn_,
              const std::vector<sHex>& hexes, EyeCandyAt&& eyeCandyAt, cCountryLookup& countries,
              plat::SpriteBatch& sprite) {
    cache.Clear();
    odd.clear();
    cells.clear();
    firstColumn = firstColumn_;
    endColumn = endColumn_;
    sCellOut out{sprite, &cache, &odd};
    for (int x = firstColumn; x < endColumn; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + x;
      const sHex& hex = hexes[index];
      const sEyeCandy& eyeCandy = eyeCandyAt(index);
      cells.push_back(KeyOf(hex, eyeCandy, frame.unitHook));
      out.cell = static_cast<int>(index);
      sHexScreenPos pos;
      pos.x = static_cast<float>(x * kHexColumnWidth);
      pos.y = static_cast<float>(y * kHexRowHeight + (IsOddColumn(x) ? 0 : kHexEvenColumnDrop));
      switch (frame.mode) {
        case 1: DrawCellTerrain(out, look, hex, pos, eyeCandy); break;
        case 2: DrawCellPolitical(out, look, countries, hex, pos); break;
        case 3: DrawCellWithCoastMark(out, look, countries, hex, pos, eyeCandy); break;
        default: DrawCell(out, look, countries, hex, pos, eyeCandy, 0); break;
      }
    }
  }
};

// One map's kept pictures: the rows by map row (null: none kept), the
// frame they were made for and the countries they read.
struct sMapPictures {
  sMapFrame frame;
  std::vector<sCountryUse> countries;
  std::vector<std::shared_ptr<sRowPictures>> rows;

  bool CountriesFit() const {
    for (const sCountryUse& use : countries) {
      if (!(CountryUse(use.id, g_pWorld ? g_pWorld->GetCountry(use.id) : nullptr) == use)) return false;
    }
    return true;
  }
  void NoteCountries(const cCountryLookup& lookup) {
    lookup.ForEachKnown([this](int id, const cCountry* country) {
      for (const sCountryUse& use : countries) {
        if (use.id == id) return;
      }
      countries.push_back(CountryUse(id, country));
    });
  }
};

// The kept pictures of every map drawn, by map. A map forgets its own when
// it is cleared or goes away (which may happen on a loading thread).
struct sPicturesRegistry {
  std::mutex mutex;
  std::vector<std::pair<const cMap*, std::shared_ptr<sMapPictures>>> maps;
};

sPicturesRegistry& Registry() {
  static auto* registry = new sPicturesRegistry;  // never destroyed: maps may go away at exit
  return *registry;
}

std::shared_ptr<sMapPictures> PicturesOf(const cMap* map) {
  sPicturesRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (auto& [owner, pictures] : r.maps) {
    if (owner == map) return pictures;
  }
  r.maps.emplace_back(map, std::make_shared<sMapPictures>());
  return r.maps.back().second;
}

// The map's pictures become a copy of its current ones (sharing their rows),
// which the caller may change while the open batch reads the old.
std::shared_ptr<sMapPictures> CopyPicturesOf(const cMap* map, const sMapPictures& current) {
  auto copy = std::make_shared<sMapPictures>(current);
  sPicturesRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (auto& [owner, pictures] : r.maps) {
    if (owner == map) pictures = copy;
  }
  return copy;
}

}  // namespace

int TerrainLayer(int terrain) {
  switch (terrain) {
    case kTerrainPlain: return kLayerPlain;
    case kTerrainForest: return kLayerForest;
    case kTerrainRough: return kLayerRough;
    case kTerrainSwamp: return kLayerSwamp;
    case kTerrainHill: return kLayerHill;
    case kTerrainMountain: return kLayerMountain;
    case kTerrainDesert: return kLayerDesert;
    default: return kLayerWater;
  }
}

float LayerDepth(int layer) { return g_SpriteDepths[layer].depth; }

bool IsLayerHidden(int layer, const sEyeCandy& eyeCandy) { return g_SpriteDepths[layer].level == eyeCandy.alpha; }

namespace skin_sheet_layout {

plat::RectI Terrain(int terrain, int variant, int weather) {
  const int column = (terrain / 4) * 6 + variant % 6;
  const int row = (terrain % 4) * 3 + weather;
  return Cell(column * kCell + 1, row * kCell + 1);
}

plat::RectI RiverMouth(int side, int variant) { return Cell(kCell * side + 1, variant % 2 ? 335 : 168); }

plat::RectI River(int side, int variant) {
  static constexpr int kLeft[4] = {0, 1, 335, 669};
  return Cell(kLeft[side] + (variant % 2 ? kCell : 0), 1);
}

plat::RectI ControllerTint() { return Cell(168, 335); }
plat::RectI OwnerTint() { return Cell(335, 335); }
plat::RectI Grid() { return Cell(836, 335); }

plat::RectI Border(int side) {
  static constexpr int kLeft[4] = {0, 1, 168, 335};
  return Cell(kLeft[side], 669);
}

plat::RectI SeaZoneBorder(int side) {
  static constexpr int kLeft[4] = {0, 502, 669, 836};
  return Cell(kLeft[side], 669);
}

plat::RectI AttackerArrow(int side) { return Cell(kCell * side + 1, 836); }

plat::RectI WeatherOverlay(int variant, int weather) { return Cell((variant % 2 + 2 * weather) * kCell + 1, 1170); }

plat::RectI Fortification(int level) { return Cell(kCell * level - 166, 1671); }

plat::RectI CoastMark() { return Cell(1838, 1671); }

plat::RectI Mark(int bit) { return Cell(1003 + (bit % 6) * kCell, (bit / 6) * kCell); }

plat::RectI AllianceColour(int alliance) { return alliance <= 0 ? Cell(1, 335) : Cell(kCell * alliance - 166, 168); }

}  // namespace skin_sheet_layout

void DrawHex(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy,
             int animationPhase) {
  const sCellLook look(true);
  cCountryLookup countries;
  sCellOut out{sprite};
  DrawCell(out, look, countries, hex, pos, eyeCandy, animationPhase);
}

void DrawHexTerrain(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy,
                    int) {
  sCellOut out{sprite};
  DrawCellTerrain(out, sCellLook(false), hex, pos, eyeCandy);
}

void DrawHexPolitical(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos) {
  cCountryLookup countries;
  sCellOut out{sprite};
  DrawCellPolitical(out, sCellLook(false), countries, hex, pos);
}

void DrawHexWithCoastMark(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy) {
  const sCellLook look(true);
  cCountryLookup countries;
  sCellOut out{sprite};
  DrawCellWithCoastMark(out, look, countries, hex, pos, eyeCandy);
}

void DrawHexSeaNode(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos) {
  const sCellLook look(true);
  const int action = look.actionMode;
  DrawSeaNodeMarker(sprite, look, hex, pos, action == 13 || action == 14 || action == 15);
}

void DrawHexTile(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, bool) {
  sCellOut out{sprite};
  Put(out, Sheet(kSlotTerrain), skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
      LayerDepth(kLayerWater));
  if (hex.markBits != 0) {
    Put(out, Sheet(kSlotOthers), skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        LayerDepth(kLayerMarks));
  }
  if (g_MapDrawHooks.drawTileShip) {
    sHexScreenPos shipPos = pos;
    shipPos.z = pos.z - kTileShipNearer;
    g_MapDrawHooks.drawTileShip(sprite, hex, shipPos);
  }
}

void SetHexOwner(cMap& map, sHex& hex, int countryId) {
  hex.owner = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexController(cMap& map, sHex& hex, int countryId) {
  hex.controller = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexMark(cMap& map, sHex& hex, std::uint32_t bits, int value) {
  // A cell whose bits were cleared without leaving the list is still in it;
  // listing it again would make later passes visit it twice.
  if (!hex.markListed) {
    map.MarkedHexes().push_back(&hex);
    hex.markListed = 1;
  }
  hex.markBits |= bits;
  hex.markValue = value;
}

void ClearHexMark(cMap& map, sHex& hex, std::uint32_t bits, bool removeFromList) {
  if (removeFromList && hex.markListed) {
    auto& list = map.MarkedHexes();
    list.erase(std::remove(list.begin(), list.end(), &hex), list.end());
    hex.markListed = 0;
  }
  hex.markBits &= ~bits;
  hex.markValue = -1;
}

bool IsHexCoastal(const sHex& hex) { return hex.IsLand() && hex.seaZone != 0; }

void ForgetMapPictures(const cMap* map) {
  std::shared_ptr<sMapPictures> gone;  // released outside the lock
  sPicturesRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (auto it = r.maps.begin(); it != r.maps.end(); ++it) {
    if (it->first == map) {
      gone = std::move(it->second);
      r.maps.erase(it);
      break;
    }
  }
}

void cMap::Render() const {
  if (g_pSprite) Render(*g_pSprite);
}

void cMap::Render(plat::SpriteBatch& sprite) const {
  const plat::Matrix2D saved = sprite.GetTransform();
  const sMatrix4& m = viewTransform;
  const plat::Matrix2D transform{m.m[0][0], m.m[0][1], m.m[1][0], m.m[1][1], m.m[3][0], m.m[3][1]};
  sprite.SetTransform(transform);

  const float scale = g_Settings.MapZoom;
  const int ox = static_cast<int>(static_cast<float>(g_Settings.ResolutionX) / (2.0f * scale) - viewX);
  const int oy = static_cast<int>(static_cast<float>(g_Settings.ResolutionY) / (2.0f * scale) - viewY);
  int firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
  VisibleRange(firstColumn, endColumn, firstRow, endRow);
  // Cells not made yet for the map's size: nothing to draw.
  const auto side = [](int n) { return static_cast<std::size_t>(std::max(n, 0)); };
  if (hexes_.size() < side(width_) * side(height_)) firstRow = endRow = 0;
  sMapFrame frame;
  // An unknown mode setting draws the full map rather than nothing.
  frame.mode = g_Settings.MapMode >= 0 && g_Settings.MapMode <= 3 ? g_Settings.MapMode : 0;
  frame.width = width_;
  frame.height = height_;
  const int animationPhase = static_cast<int>((plat::GetTickCount() / 100) % 6);
  const sCellLook look(frame.mode == 0 || frame.mode == 3);
  frame.Describe(look);
  const bool haveDecorations = decorations_.size() == hexes_.size();
  const sEyeCandy noDecoration;
  auto eyeCandyAt = [&](std::size_t index) -> const sEyeCandy& {
    return haveDecorations ? decorations_[index] : noDecoration;
  };

  // The rows whose kept pictures no longer fit; all of them when the frame
  // or a country they read differs.
  std::shared_ptr<sMapPictures> pictures = PicturesOf(this);
  const bool allStale = !(pictures->frame == frame) || !pictures->CountriesFit();
  std::vector<int> staleRows;
  for (int y = firstRow; y < endRow; ++y) {
    const std::size_t row = static_cast<std::size_t>(y);
    const bool kept = !allStale && row < pictures->rows.size() && pictures->rows[row] &&
                      pictures->rows[row]->Fits(frame, y, firstColumn, endColumn, hexes_, eyeCandyAt);
    if (!kept) staleRows.push_back(y);
  }
  if (allStale || !staleRows.empty()) {
    // The open batch may still read these pictures: change a copy.
    if (pictures.use_count() > 2) pictures = CopyPicturesOf(this, *pictures);
    if (allStale) {
      pictures->frame = frame;
      pictures->countries.clear();
      pictures->rows.clear();
    }
    pictures->rows.resize(static_cast<std::size_t>(std::max(height_, 0)));
    cCountryLookup lookup;
    for (int y : staleRows) {
      std::shared_ptr<sRowPictures>& row = pictures->rows[static_cast<std::size_t>(y)];
      if (!row || row.use_count() > 1) row = std::make_shared<sRowPictures>();  // shared rows stay as they are
      row->Record(frame, look, y, firstColumn, endColumn, hexes_, eyeCandyAt, lookup, sprite);
    }
    pictures->NoteCountries(lookup);
  }
  sprite.Hold(pictures);

  cCountryLookup countries;
  const int livePhase = frame.mode == 3 ? 0 : animationPhase;
  for (int y = firstRow; y < endRow; ++y) {
    const sRowPictures& row = *pictures->rows[static_cast<std::size_t>(y)];
    row.cache.Replay(sprite, transform, ox, oy, [&](const cMapDrawCache::sLive& live) {
      if (live.kind == kLiveOddPicture) {
        const sOddPicture& odd = row.odd[static_cast<std::size_t>(live.cell)];
        sprite.Draw(*odd.sheet, &odd.source, static_cast<float>(odd.x + ox), static_cast<float>(odd.y + oy), odd.z,
                    odd.argb);
        return;
      }
      const std::size_t index = static_cast<std::size_t>(live.cell);
      const int x = live.cell % width_;
      sHexScreenPos pos;
      pos.x = static_cast<float>(x * kHexColumnWidth + ox);
      pos.y = static_cast<float>(y * kHexRowHeight + oy + (IsOddColumn(x) ? 0 : kHexEvenColumnDrop));
      DrawLive(sprite, live.kind, look, countries, hexes_[index], pos, eyeCandyAt(index), livePhase);
    });
  }
  if ((frame.mode == 0 || frame.mode == 1) && g_MapDrawHooks.drawAfterCells) {
    g_MapDrawHooks.drawAfterCells(sprite, *this, ox, oy, frame.mode);
  }
  sprite.SetTransform(saved);
}
