// The air unit: its scenario values, ranges, rebasing, deployment, level-up,
// the reserve pool and death.
#include "world/jednostka_lotnicza.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/sound.h"
#include "world/air_sound.h"
#include "world/air_tables.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// The dimmed mark laid over the whole map while rebase targets are shown,
// and the rebase mark (the deploy mark is the land movement's).
constexpr std::uint32_t kMarkDimmed = 1u << 24;
constexpr std::uint32_t kMarkRebase = 128;

}  // namespace

cJednostkaLotnicza::cJednostkaLotnicza(cWorld* world) : cJednostka(world) {
  category = kCategoryAir;
  effectiveness = 100;
  if (world) id = world->ids.Take(*world, eIdKind::kAirUnit);
}

void cJednostkaLotnicza::ResetActionPoints() {
  actionPoints = 0;
  if (World() && supply != 0) actionPoints = air_tables::ByAirType(World()->constants.airActionPoints, type);
  startingActionPoints = actionPoints;
}

float cJednostkaLotnicza::GetBaseStrength() {
  if (!World()) return 0.0f;
  return static_cast<float>(air_tables::ByAirType(World()->constants.airBaseStrength, type));
}

float cJednostkaLotnicza::RangeMultiplier(const cWorld& world) const {
  const cCountry* country = world.GetCountry(countryId);
  const int level = country ? country->techLevel[kTechAircraft] : 1;
  return air_tables::RangeMultiplier(world.constants, level);
}

int cJednostkaLotnicza::GetRange(const cWorld& world) const {
  const sScenarioConstants& k = world.constants;
  const int base = type == kUnitStrategicBomber ? air_tables::StrategicAttackRange(k) : air_tables::FighterRange(k);
  return static_cast<int>(static_cast<float>(base) * RangeMultiplier(world));
}

int cJednostkaLotnicza::GetRebaseRange(const cWorld& world) const {
  const sScenarioConstants& k = world.constants;
  const int base = type == kUnitStrategicBomber ? air_tables::StrategicRebaseRange(k) : air_tables::RebaseRange(k);
  return static_cast<int>(static_cast<float>(base) * RangeMultiplier(world));
}

int cJednostkaLotnicza::GetReconRange(const cWorld& world) const {
  return static_cast<int>(static_cast<float>(air_tables::FighterRange(world.constants)) * RangeMultiplier(world));
}

bool cJednostkaLotnicza::IsWithin(const cWorld& world, int hx, int hy, int r) const {
  if (!world.GetMap().IsInside(hx, hy)) return false;
  return HexDistance(x, y, hx, hy) <= r;
}

bool cJednostkaLotnicza::CanRebaseNow(const cWorld& world) const {
  if (actionPoints != startingActionPoints) return false;
  const sScenarioConstants& k = world.constants;
  const int percent = air_tables::ByAirType(k.airRebaseValues, type);
  const int least = static_cast<int>(static_cast<float>(percent) / 100.0f * static_cast<float>(k.maxSupply));
  return supply >= least;
}

bool cJednostkaLotnicza::IsRebaseHex(const cWorld& world, int hx, int hy) const {
  if (!IsOnMap() || !IsWithin(world, hx, hy, GetRebaseRange(world))) return false;
  const sHex& hex = world.GetMap().GetHex(hx, hy);
  const int current = world.turnState.CurrentCountryId();
  return hex.IsLand() && !hex.unit && IsHexControllerFriendly(world, hex, current);
}

int cJednostkaLotnicza::CountRebaseHexes(cWorld& world, bool mark) {
  cMap& map = world.GetMap();
  if (!IsOnMap() || !CanRebaseNow(world)) return 0;
  // The map is dimmed around the targets only when there is one: a dimmed
  // map with nothing to click would tell the player to rebase a unit that
  // cannot.
  if (mark && CountRebaseHexes(world, false) == 0) return 0;
  if (mark) {
    for (int row = 0; row < map.GetHeight(); ++row) {
      for (int col = 0; col < map.GetWidth(); ++col) SetHexMark(map, map.GetHex(col, row), kMarkDimmed, -1);
    }
  }
  const int r = GetRebaseRange(world);
  int count = 0;
  const int top = std::max(0, y - r - 1), bottom = std::min(map.GetHeight() - 1, y + r + 1);
  const int left = std::max(0, x - r - 1), right = std::min(map.GetWidth() - 1, x + r + 1);
  for (int row = top; row <= bottom; ++row) {
    for (int col = left; col <= right; ++col) {
      if (!IsRebaseHex(world, col, row)) continue;
      ++count;
      if (mark) {
        sHex& hex = map.GetHex(col, row);
        ClearHexMark(map, hex, kMarkDimmed, false);
        SetHexMark(map, hex, kMarkRebase, -1);
      }
    }
  }
  return count;
}

int cJednostkaLotnicza::ComputeMoveRange(bool countOnly) {
  reachableHexes.clear();
  return CountRebaseHexes(*World(), !countOnly);
}

void PlayAirSound(int effect) {
  ChangeWorldView([effect](cWorldView&) { PlaySoundEffect(effect); });
}

void cJednostkaLotnicza::PlayFlyingSound() const { PlayAirSound(SND_PLANE_FLYING); }

void cJednostkaLotnicza::Rebase(cWorld& world, int hx, int hy, bool sound) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  if (sound) PlayAirSound(SND_PLANE_FLYING);
  cMap& map = world.GetMap();
  if (map.IsInside(x, y) && map.GetHex(x, y).unit == this) map.GetHex(x, y).unit = nullptr;
  map.GetHex(hx, hy).unit = this;
  x = hx;
  y = hy;
  actionPoints = 0;
}

int cJednostkaLotnicza::MarkDeployHexes(bool mark) {
  if (!World()) return 0;
  cWorld& world = *World();
  cMap& map = world.GetMap();
  if (mark) map.ClearHexMarks(kMarkDeploy, true);
  const int current = world.turnState.CurrentCountryId();
  const cCountry* country = world.GetCountry(current);
  if (!country) return 0;
  const bool atWar = country->IsAtWarWithAnyone();
  const int halfSupply = world.constants.maxSupply / 2;
  int count = 0;
  auto take = [&](sHex& hex) {
    ++count;
    if (mark) SetHexMark(map, hex, kMarkDeploy, -1);
  };
  for (cCity* city : world.Cities()) {
    if (!city || city->type == kCityResources) continue;
    if (!map.IsInside(city->x, city->y)) continue;
    sHex& cityHex = map.GetHex(city->x, city->y);
    if (cityHex.controller != current || cityHex.owner != current) continue;
    if (atWar) {
      const std::size_t slot = static_cast<std::size_t>(current - 1);
      const int supplyValue = slot < city->supplyInfo.size() ? city->supplyInfo[slot] : 0;
      const bool convoy = slot < city->convoyInfo.size() && city->convoyInfo[slot] != 0;
      if (supplyValue < halfSupply || convoy) continue;
    }
    if (!cityHex.unit) take(cityHex);
    for (int dir = 0; dir < 6; ++dir) {
      sHex* next = map.GetNeighbour(city->x, city->y, dir);
      if (next && !next->unit && next->controller == current && next->owner == current) take(*next);
    }
  }
  return count;
}

void cJednostkaLotnicza::Kill() { KillUnitInWorld(*World(), this); }

float cJednostkaLotnicza::GetLevelUpCost() {
  if (!World()) return 0.0f;
  const sScenarioConstants& k = World()->constants;
  const float base = static_cast<float>(air_tables::ByAirType(k.airBaseStrength, type)) *
                     air_tables::ByAirType(k.airCostFactorsB, type);
  const int percent = k.replacementMultiplier;
  auto price = [&](int lvl) { return base + base * static_cast<float>(percent * lvl) / 100.0f; };
  return price(level) - price(level - 1);
}

void cJednostkaLotnicza::LevelUp() {
  if (cCountry* country = GetCountry()) country->AddProductionPoints(-static_cast<double>(GetLevelUpCost()));
  ++level;
  actionPoints = 0;
}

float cJednostkaLotnicza::GetUpgradeToCorpsCost() {
  LogLine(L"Error: jednostek lotniczych nie da sie upgradeowac na korpus");
  return 0.0f;
}

void cJednostkaLotnicza::UpgradeToCorps() { LogLine(L"Error: jednostek lotniczych nie da sie upgradeowac na korpus"); }
