// The pieces of a cell's drawing shared by the single-hex drawing and the
// map's kept pictures. Internal to those two files.
#pragma once

#include <cstdint>
#include <vector>

#include "app/skins.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/map_draw_cache.h"
#include "platform/render.h"
#include "world/map.h"
#include "world/world.h"

namespace map_draw {

// The sheets' pictures have three weather rows; a weather value outside
// them (bad data) reads as good weather rather than a picture off the sheet.
inline int WeatherRow(std::uint32_t weather) { return weather <= 2 ? static_cast<int>(weather) : 0; }

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

  sCellLook();
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

// The draws that change between frames, drawn now.
void DrawLive(plat::SpriteBatch& sprite, int kind, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase);

// A cell drawn whole, in the terrain map mode, in the political map mode and
// with its coast mark: into the batch or the cache being recorded.
void DrawCell(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase);
void DrawCellTerrain(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                     const sEyeCandy& eyeCandy);
void DrawCellPolitical(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
                       const sHexScreenPos& pos);
void DrawCellWithCoastMark(sCellOut& out, const sCellLook& look, cCountryLookup& countries,
                           const sHex& hex, const sHexScreenPos& pos, const sEyeCandy& eyeCandy);

}  // namespace map_draw
