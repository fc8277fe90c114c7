#include "world/landings.h"

#include <algorithm>

#include "app/sound.h"
#include "world/air_tables.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/transport_tables.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

constexpr std::uint32_t kMarkDropSpare = 4;
constexpr std::uint32_t kMarkDropLast = 16;

}  // namespace

int GetParadropRange(const cWorld& world, const cJednostkaLadowa& unit) {
  const cCountry* country = world.GetCountry(unit.countryId);
  const int level = country ? country->techLevel[kTechAircraft] : 0;
  const float range = air_tables::RangeMultiplier(world.constants, level) *
                      static_cast<float>(transport_tables::ParadropRange(world.constants));
  return range > 0.0f ? static_cast<int>(std::min(range, 1000.0f)) : 0;
}

bool IsParadropTarget(const cWorld& world, const cJednostkaLadowa& unit, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y) || !map.IsInside(unit.x, unit.y)) return false;
  if (HexDistance(unit.x, unit.y, x, y) > GetParadropRange(world, unit)) return false;
  return IsHexAirborneDropTarget(world, map.GetHex(x, y), world.turnState.CurrentCountryId());
}

int MarkParadropHexes(cWorld& world, const cJednostkaLadowa& unit) {
  cMap& map = world.GetMap();
  if (!map.IsInside(unit.x, unit.y)) return 0;
  const int r = GetParadropRange(world, unit);
  const std::uint32_t bits = unit.actionPoints <= 1 ? kMarkDropLast : kMarkDropSpare;
  const int x0 = std::max(0, unit.x - r), x1 = std::min(map.GetWidth() - 1, unit.x + r);
  const int y0 = std::max(0, unit.y - r), y1 = std::min(map.GetHeight() - 1, unit.y + r);
  int count = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (!IsParadropTarget(world, unit, x, y)) continue;
      SetHexMark(map, map.GetHex(x, y), bits, -1);
      ++count;
    }
  }
  return count;
}

void PlayParadropSound() {
  ChangeWorldView([](cWorldView&) { PlaySoundEffect(SND_PARADROP); });
}

void PlayLandingCombatSound() {
  ChangeWorldView([](cWorldView&) { PlaySoundEffect(SND_LAND_COMBAT); });
}
