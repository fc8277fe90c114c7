#include "rules/purchases.h"

#include <cstddef>

#include "app/framework_lock.h"
#include "platform/format.h"
#include "platform/rand.h"
#include "world/air_tables.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/transport_tables.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

// The constants line that holds the build times, by item code (column
// code + 1).
constexpr int kBuildTimeLine = 154;

bool IsLand(int item) { return item >= kPurchaseFirstLand && item <= kPurchaseLastLand; }
bool IsAir(int item) { return item >= kPurchaseFirstAir && item <= kPurchaseLastAir; }
bool IsShip(int item) { return item >= kPurchaseFirstShip && item <= kPurchaseLastShip; }
bool IsKnown(int item) { return item >= 0 && item < kPurchaseItemCount; }

// 1 + the whole percentage surcharge of the level above 1.
float LevelMultiplier(int stepPercent, int level) {
  const int i = level - 1;
  return static_cast<float>(1 + stepPercent * i / 100);
}

std::size_t Index(int value, std::size_t size) {
  if (value < 0) return 0;
  const auto index = static_cast<std::size_t>(value);
  return index < size ? index : size - 1;
}

// A unit made by its constructor without taking an id: the constructors of
// land and air units draw the next id of the loaded world, which a unit not
// yet bought must not use up.
template <class T>
std::unique_ptr<T> NewWithoutId(cWorld& world) {
  const sIdCounters saved = world.ids;
  auto unit = std::make_unique<T>(&world);
  world.ids = saved;
  unit->id = 0;
  return unit;
}

void PrepareLandOrAir(const cWorld& world, cJednostka& unit, int level) {
  unit.level = level;
  unit.SetSupplySourceX(-1);
  unit.SetSupplySourceY(-1);
  unit.SetActionPoints(0);
  unit.SetStartingActionPoints(0);
  unit.SetSupply(world.constants.maxSupply);
}

}  // namespace

int PurchaseItemUnitType(int item) {
  if (IsLand(item)) return item;
  if (IsAir(item)) return item + (static_cast<int>(kUnitFighter) - kPurchaseFirstAir);
  if (IsShip(item)) return item + (static_cast<int>(kUnitAircraftCarrier) - kPurchaseFirstShip);
  return -1;
}

int PurchaseBuildTime(const sScenarioConstants& constants, int item) {
  if (PurchaseItemUnitType(item) < 0) return 0;
  return static_cast<int>(constants.Value(kBuildTimeLine, item + 1));
}

int PurchaseLevelLimit(const cCountry& country, int item) {
  if (item == kUnitArmouredDivision || item == kUnitArmouredCorps) return country.techLevel[kTechTanks];
  if (IsLand(item)) return country.techLevel[kTechArtillery];
  if (IsAir(item)) return country.techLevel[kTechAircraft];
  return -1;
}

float PurchasePrice(const cWorld& world, const cCountry& country, int item, int level) {
  const sScenarioConstants& k = world.constants;
  if (IsLand(item)) {
    const std::size_t row = Index(level - 1, k.landBaseStrength.size());
    const auto t = static_cast<std::size_t>(item);
    return k.levelCostFactors[t] * k.landBaseStrength[row][t] * LevelMultiplier(k.replacementBase, level);
  }
  if (IsAir(item)) {
    const int type = PurchaseItemUnitType(item);
    return static_cast<float>(air_tables::ByAirType(k.airBaseStrength, type)) *
           air_tables::ByAirType(k.airCostFactorsB, type) * LevelMultiplier(k.replacementMultiplier, level);
  }
  if (IsShip(item)) return k.purchaseFactors[static_cast<std::size_t>(item - kPurchaseFirstShip)];
  switch (item) {
    case kPurchaseStrategicMovement:
      return static_cast<float>(country.strategicMovementPurchases) * k.purchaseSlopes[0] + k.purchaseOffsets[0];
    case kPurchaseSeaTransport:
      return static_cast<float>(country.GetTotalSeaTransportPoints(world) / kSeaTransportLot) * k.purchaseSlopes[1] +
             k.purchaseOffsets[1];
    case kPurchaseAmphibious:
      return static_cast<float>(country.amphibiousInvasionPurchases) * k.purchaseSlopes[2] + k.purchaseOffsets[2];
    default:
      return 0.0f;
  }
}

const char* PurchaseRefusalKey(ePurchaseRefusal refusal) {
  switch (refusal) {
    case ePurchaseRefusal::kNone:
      return nullptr;
    case ePurchaseRefusal::kNoCountry:
      return "purchase_impossible_no_country";
    case ePurchaseRefusal::kUnknownItem:
      return "purchase_impossible_unknown_item";
    case ePurchaseRefusal::kLevelNotAvailable:
      return "purchase_impossible_level_not_available";
    case ePurchaseRefusal::kCannotAfford:
      return "purchase_impossible_cannot_afford";
  }
  return nullptr;
}

ePurchaseRefusal CheckPurchase(const cWorld& world, const sPurchaseOrder& order) {
  const cCountry* country = world.GetCountry(order.countryId);
  if (country == nullptr || !country->active) return ePurchaseRefusal::kNoCountry;
  if (!IsKnown(order.item)) return ePurchaseRefusal::kUnknownItem;
  const int limit = PurchaseLevelLimit(*country, order.item);
  if (limit != -1 && (order.level < 1 || order.level > kPurchaseMaxLevel || order.level > limit)) {
    return ePurchaseRefusal::kLevelNotAvailable;
  }
  const float price = PurchasePrice(world, *country, order.item, order.level);
  if (static_cast<double>(price) > country->productionPoints) return ePurchaseRefusal::kCannotAfford;
  return ePurchaseRefusal::kNone;
}

ePurchaseRefusal Purchase(cWorld& world, const sPurchaseOrder& order) {
  // The check, the new unit's id and the change are one step: the main
  // thread never sees a unit without its payment, nor the worker a price
  // that changed after its check.
  const cFrameworkLockGuard lock;
  const ePurchaseRefusal refusal = CheckPurchase(world, order);
  if (refusal != ePurchaseRefusal::kNone) return refusal;
  cCountry& country = *world.GetCountry(order.countryId);
  const float price = PurchasePrice(world, country, order.item, order.level);
  std::unique_ptr<cUnit> unit = MakePurchasedUnit(world, country, order.item, order.level, order.name);
  switch (order.item) {
    case kPurchaseStrategicMovement:
      ++country.strategicMovementPurchases;
      country.AddStrategicMovementPoints(1);
      break;
    case kPurchaseSeaTransport:
      country.AddSeaTransportPoints(kSeaTransportLot);
      break;
    case kPurchaseAmphibious:
      ++country.amphibiousInvasionPurchases;
      country.AddAmphibiousInvasionPoints(1);
      break;
    default:
      break;
  }
  if (unit != nullptr) {
    sUnitLists& lists = world.Units();
    if (unit->category == kCategoryNaval) {
      unit->id = world.ids.Take(world, eIdKind::kShip);
      lists.navalReservePool.push_back(static_cast<cJednostkaMorska*>(unit.release()));
    } else {
      unit->id = world.ids.Take(world, unit->category == kCategoryAir ? eIdKind::kAirUnit : eIdKind::kLandUnit);
      lists.reservePool.push_back(static_cast<cJednostka*>(unit.release()));
    }
  }
  country.AddProductionPoints(-static_cast<double>(price));
  return ePurchaseRefusal::kNone;
}

std::wstring NumberedUnitName(std::wstring_view pattern, int number) {
  const std::wstring digits = std::to_wstring(number);
  std::wstring name;
  bool numbered = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    if (c == L'%' && next == L'%') {
      name += L'%';
      ++i;
    } else if (c == L'%' && (next == L'i' || next == L'd') && !numbered) {
      name += digits;
      numbered = true;
      ++i;
    } else {
      name += c;
    }
  }
  if (!numbered) name = digits + L" " + name;
  if (name.size() > kUnitNameMaxLength) name.resize(kUnitNameMaxLength);
  return name;
}

std::wstring DrawNewUnitName(const cWorld& world, const cCountry& country, int unitType) {
  const int number = plat::Rand() % 90 + 10;
  const wchar_t* own = country.GetUnitTypeName(unitType);
  const std::wstring pattern = own != nullptr && *own != L'\0' ? std::wstring(own) : cUnit::GetSubtypeText(&world, unitType);
  return NumberedUnitName(pattern, number);
}

std::unique_ptr<cUnit> MakePurchasedUnit(cWorld& world, const cCountry& country, int item, int level,
                                         const std::wstring& name) {
  const int type = PurchaseItemUnitType(item);
  if (type < 0) return nullptr;
  std::unique_ptr<cUnit> made;
  if (IsLand(item)) {
    auto land = NewWithoutId<cJednostkaLadowa>(world);
    land->strength = 100;
    made = std::move(land);
  } else if (IsAir(item)) {
    auto air = NewWithoutId<cJednostkaLotnicza>(world);
    air->strength = static_cast<float>(air_tables::ByAirType(world.constants.airBaseStrength, type));
    made = std::move(air);
  } else {
    auto ship = std::make_unique<cJednostkaMorska>(&world);
    ship->hitPoints = ship->maxHitPoints = transport_tables::NewShipHitPoints(world.constants, type);
    ship->fleet = nullptr;
    ship->fleetId = -1;
    made = std::move(ship);
  }
  made->countryId = country.id;
  made->SetType(type);
  made->SetName(name.empty() ? DrawNewUnitName(world, country, type) : name);
  made->x = -1;
  made->y = -1;
  made->SetCommander(nullptr);
  made->inReserve = true;
  made->availableInTurns = PurchaseBuildTime(world.constants, item);
  if (auto* unit = dynamic_cast<cJednostka*>(made.get())) {
    PrepareLandOrAir(world, *unit, level);
    unit->UpdateEffectiveness();
  }
  return made;
}
