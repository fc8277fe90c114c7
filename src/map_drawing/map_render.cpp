// The map drawn from kept pictures: each row of visible cells is recorded
// once and replayed until something it was made from changes.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/hex_drawing_parts.h"
#include "map_drawing/map_draw_cache.h"
#include "platform/clock.h"
#include "world/country.h"
#include "world/map.h"
#include "world/world.h"

using namespace map_draw;

namespace {

// What a frame's kept pictures were made from besides the cells.
struct sMapFrame {
  int mode = 0;
  int width = 0, height = 0;
  const plat::Texture* sheets[3] = {};
  std::uint64_t sheetIds[3] = {};  // a sheet loaded again where the old one stood is another
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
    for (int i = 0; i < 3; ++i) sheetIds[i] = sheets[i] ? sheets[i]->Id() : 0;
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

// One map's kept pictures, which the map holds: the rows by map row (null:
// none kept), the frame they were made for and the countries they read.
struct sMapPictures final : cMapKeptPictures {
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

// The map's kept pictures, made empty the first time it is drawn.
std::shared_ptr<sMapPictures> PicturesOf(const cMap& map) {
  std::shared_ptr<cMapKeptPictures>& kept = map.KeptPictures();
  if (!kept) kept = std::make_shared<sMapPictures>();
  return std::static_pointer_cast<sMapPictures>(kept);
}

// The map's pictures become a copy of its current ones (sharing their rows),
// which the caller may change while the open batch reads the old.
std::shared_ptr<sMapPictures> CopyPicturesOf(const cMap& map, const sMapPictures& current) {
  auto copy = std::make_shared<sMapPictures>(current);
  map.KeptPictures() = copy;
  return copy;
}

}  // namespace

void ForgetMapPictures(const cMap& map) { map.KeptPictures().reset(); }

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
  const sCellLook look;
  frame.Describe(look);
  const bool haveDecorations = decorations_.size() == hexes_.size();
  const sEyeCandy noDecoration;
  auto eyeCandyAt = [&](std::size_t index) -> const sEyeCandy& {
    return haveDecorations ? decorations_[index] : noDecoration;
  };

  // The rows whose kept pictures no longer fit; all of them when the frame
  // or a country they read differs.
  std::shared_ptr<sMapPictures> pictures = PicturesOf(*this);
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
    if (pictures.use_count() > 2) pictures = CopyPicturesOf(*this, *pictures);
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
