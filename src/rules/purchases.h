// Buying with production points: new land, air and naval units, which wait
// in the world's reserve pools for their build time, and strategic
// movement, sea transport and amphibious invasion points. The purchases
// dialog and the computer opponent price and buy through these functions.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class cCountry;
class cUnit;
class cWorld;
struct sScenarioConstants;

// What can be bought, by item code: land types 0-6 (codes 0-6), air types
// 20-22 (codes 7-9), ships of types 40-43 (codes 10-13), then the three
// kinds of points.
enum ePurchaseItem : int {
  kPurchaseFirstLand = 0,
  kPurchaseLastLand = 6,
  kPurchaseFirstAir = 7,
  kPurchaseLastAir = 9,
  kPurchaseFirstShip = 10,
  kPurchaseLastShip = 13,
  kPurchaseStrategicMovement = 14,
  kPurchaseSeaTransport = 15,
  kPurchaseAmphibious = 16,
  kPurchaseItemCount = 17,
};

// Sea transport points come in lots of ten.
constexpr int kSeaTransportLot = 10;
// Unit levels run from 1 to 5.
constexpr int kPurchaseMaxLevel = 5;

// The unit type an item makes (land: the code; air: code + 13; ships: code
// + 30), or -1 for points and unknown codes.
int PurchaseItemUnitType(int item);
// Impulses until a bought unit may be deployed: line 154 of the constants
// by item code (column code + 1); 0 for points and unknown codes.
int PurchaseBuildTime(const sScenarioConstants& constants, int item);
// The technology level that caps the levels of an item: tanks for the
// armoured types (codes 4, 5), artillery for the other land types,
// aircraft for air units; -1 for ships, points and unknown codes (they
// have no level).
int PurchaseLevelLimit(const cCountry& country, int item);

// The price in production points of an item at a level (1-5; land and air
// only, the others ignore it), for the country as it stands now: the prices
// of points rise with the country's purchases so far. Level i = level - 1:
//   land type t: line 79[t] x lines 9-13[i][t] x (1 + line 82 x i / 100);
//   air type t:  line 14[t] x line 81[t] x (1 + line 83 x i / 100);
//     (the level surcharge is a whole number: the percentage times i is
//     divided by 100 as integers);
//   ships: line 85 by type;
//   strategic movement: purchases so far x line 87[0] + line 86[0];
//   sea transport: (total sea transport points / 10) x line 87[1] + line 86[1];
//   amphibious invasion: purchases so far x line 87[2] + line 86[2].
// 0 for an unknown item.
float PurchasePrice(const cWorld& world, const cCountry& country, int item, int level);

enum class ePurchaseRefusal {
  kNone = 0,
  kNoCountry,          // no active country of that id
  kUnknownItem,        // an item code outside 0-16
  kLevelNotAvailable,  // a level outside 1-5 or above the country's technology
  kCannotAfford,       // the price is above the country's production points
};

// The language key of a refusal; null for kNone.
const char* PurchaseRefusalKey(ePurchaseRefusal refusal);

// One purchase: who buys what at which level, and the name the new unit
// takes (empty: a name is drawn as for a new unit).
struct sPurchaseOrder {
  int countryId = 0;
  int item = 0;
  int level = 1;
  std::wstring name;
};

ePurchaseRefusal CheckPurchase(const cWorld& world, const sPurchaseOrder& order);

// Under the framework lock, runs the check, then: a unit joins
// the end of its reserve pool (land and air units, or ships) with the next
// id of its kind; points are added to the country (strategic movement and
// amphibious invasion: one, with the purchase counted; sea transport: a lot
// of ten); the country pays the price it had before the purchase. A refused
// order changes nothing.
ePurchaseRefusal Purchase(cWorld& world, const sPurchaseOrder& order);

// The name of a new unit from its type's name pattern and its number: the
// number takes the place of the pattern's first "%i" or "%d", or stands
// before the pattern ("<number> <pattern>") when it has none. "%%" is one
// per cent sign; any other per cent sign is kept as it is (a pattern is
// data, never a format). Cut to the longest unit name.
std::wstring NumberedUnitName(std::wstring_view pattern, int number);

// NumberedUnitName with a number drawn from 10 to 99 and the country's name
// pattern of the unit type; a type the country has no pattern for takes the
// type's own name (of the world's unit sizes). Bought units and artificial
// harbours are named by it.
std::wstring DrawNewUnitName(const cWorld& world, const cCountry& country, int unitType);

// A unit as an item makes it, not yet in any list and without an id (0):
// the country's, named by DrawNewUnitName unless a name is given, off the
// map, without commander or supply source, no action points, in reserve
// with the item's build time; land and air units at the level with the
// scenario's full supply (line 48), full strength (land 100, air its type's
// full strength) and their effectiveness computed; ships with the hit
// points of their type (line 73), in no fleet. Null for points and unknown
// items.
std::unique_ptr<cUnit> MakePurchasedUnit(cWorld& world, const cCountry& country, int item, int level,
                                         const std::wstring& name = std::wstring());
