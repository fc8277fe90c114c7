// The shared members of every unit: type and name, commander links and the
// commander checks in combat, the subtype texts.
#include "world/unit.h"

#include <cmath>
#include <mutex>
#include <string>

#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/commander.h"
#include "world/cities.h"
#include "world/world.h"
#include "world/hex.h"

namespace {

// The world's constants; neutral ones for a unit of no world.
const sUnitConstants& Rules(const cWorld* world) {
  static const sUnitConstants kNone{};
  return world ? world->unitConstants : kNone;
}

}  // namespace

int CategoryOfUnitType(int type) {
  if (type >= kUnitInfantryDivision && type <= kUnitAirborneDivision) return kCategoryLand;
  if (type == kUnitArtificialHarbour) return kCategoryLand;
  if (type >= kUnitFighter && type <= kUnitStrategicBomber) return kCategoryAir;
  if (type >= kUnitAircraftCarrier && type <= kUnitAmphibiousShip) return kCategoryNaval;
  return -1;
}

namespace {
int HexUnitCountryOf(const cJednostka* unit) { return unit ? unit->countryId : 0; }
}  // namespace

cJednostka::cJednostka(cWorld* world) : cUnit(world) {
  // The city queries learn whose unit stands on a hex once units exist.
  static std::once_flag installed;
  std::call_once(installed, [] { SetLandUnitCountryFn(&HexUnitCountryOf); });
}

bool cUnit::ResolveInterception(cUnit*, sBombardmentResult&) { return false; }

void cUnit::UpdateEffectiveness() {}

void cUnit::ResolveAttack(sBombardmentResult&, cUnit*, sHex*) {}

void cUnit::Kill() {}

void cUnit::SetName(std::wstring_view text) {
  name.assign(text.substr(0, kUnitNameMaxLength));
}

void cUnit::SetType(int newType) {
  type = newType;
  const int newCategory = CategoryOfUnitType(newType);
  if (newCategory >= 0) category = newCategory;
}

cCountry* cUnit::GetCountry() const {
  return world_ ? world_->GetCountry(countryId) : nullptr;
}

cCommander* cUnit::GetCommander() const {
  return world_ ? world_->FindCommanderById(hqCommanderId) : nullptr;
}

void cUnit::SetCommander(const cCommander* commander) {
  hqCommanderId = commander ? commander->id : -1;
}

float cUnit::GetCommanderValue(const cWorld* world, const cCommander& commander, int distance) {
  const sUnitConstants& rules = Rules(world);
  const float v = static_cast<float>(static_cast<double>(rules.skillWeight * commander.skill) / 100.0) +
                  static_cast<float>(static_cast<double>(rules.experienceWeight * commander.experience) / 100.0);
  if (distance == 0) return v + 1.0f;
  const int commandRange = world ? world->constants.commanderRange[0] : 0;
  if (distance > commandRange) return v;
  return static_cast<float>(rules.distanceFalloff) * 0.01f / static_cast<float>(distance) * v;
}

int cUnit::GetHqCommanderBonus() const {
  const cCommander* commander = GetCommander();
  if (!commander || !commander->ledUnit) return 0;
  const cUnit& led = *commander->ledUnit;
  return static_cast<int>(GetCommanderValue(world_, *commander, HexDistance(x, y, led.x, led.y)));
}

cCommander* cUnit::GetCountingCommander() const {
  return ownCommander ? ownCommander : GetCommander();
}

int cUnit::GetCommanderDistance() const {
  const cCommander* commander = GetCountingCommander();
  if (!commander || !commander->ledUnit) return 100;
  return HexDistance(x, y, commander->ledUnit->x, commander->ledUnit->y);
}

float cUnit::GetCommanderDistanceFactor() const {
  if (ownCommander || hqCommanderId < 1) return 1.0f;
  const int distance = GetCommanderDistance();
  // The HQ commander's own unit is at distance 0 from itself only when it
  // is this unit, which has its own commander and never gets here; a zero
  // distance still must not divide.
  if (distance <= 0) return 1.0f;
  return static_cast<float>(static_cast<double>(Rules(world_).distanceFalloff) / distance);
}

int cUnit::CommanderThreshold(int weight) const {
  const cCommander* commander = GetCountingCommander();
  if (!commander) return -1;
  const float factor = GetCommanderDistanceFactor();
  const int w = weight * commander->skill;
  return static_cast<int>(std::trunc(factor * static_cast<float>(w)));
}

bool cUnit::CommanderPreventsLosses() const {
  const int t = CommanderThreshold(Rules(world_).lossPreventionWeight);
  if (t < 0) return false;
  return RandomRange(1, 100) < t;
}

bool cUnit::CommanderDoublesDamage() const {
  const int t = CommanderThreshold(Rules(world_).damageDoublingWeight);
  if (t < 0) return false;
  return RandomRange(1, 100) < t;
}

int cJednostka::GetCommanderBonus() const {
  const int t = CommanderThreshold(Rules(World()).bombardmentBonusWeight);
  return t < 0 ? 0 : t;
}

void cJednostka::AdjustLevel(int delta) {
  if (level + delta <= 0) return;
  level += delta;
  UpdateEffectiveness();
}

std::wstring cUnit::GetSubtypeText(const cWorld* world, int type) {
  const char* sizedKey = nullptr;
  bool large = false;
  switch (type) {
    case kUnitInfantryDivision: sizedKey = "unit_subtype_infantry_size_%i"; break;
    case kUnitInfantryCorps: sizedKey = "unit_subtype_infantry_size_%i"; large = true; break;
    case kUnitMechanizedDivision: sizedKey = "unit_subtype_mechanized_size_%i"; break;
    case kUnitMechanizedCorps: sizedKey = "unit_subtype_mechanized_size_%i"; large = true; break;
    case kUnitArmouredDivision: sizedKey = "unit_subtype_armoured_size_%i"; break;
    case kUnitArmouredCorps: sizedKey = "unit_subtype_armoured_size_%i"; large = true; break;
    case kUnitAirborneDivision: sizedKey = "unit_subtype_airborne_size_%i"; break;
    default: break;
  }
  std::string key;
  if (sizedKey) {
    int size = 1;
    if (world) size = (large ? world->largeUnitsSize : world->smallUnitsSize) + 1;
    key = plat::FormatNarrow(sizedKey, size);
  } else {
    switch (type) {
      case kUnitFighter: key = "unit_subtype_air_fighter"; break;
      case kUnitTacticalBomber: key = "unit_subtype_tactical_bomber"; break;
      case kUnitStrategicBomber: key = "unit_subtype_strategic_bomber"; break;
      case kUnitAircraftCarrier: key = "unit_subtype_aircraft_carrier"; break;
      case kUnitBattleship: key = "unit_subtype_battleship"; break;
      case kUnitCruiser: key = "unit_subtype_cruiser"; break;
      case kUnitSubmarine: key = "unit_subtype_submarine"; break;
      case kUnitCargoShip: key = "unit_subtype_cargo"; break;
      case kUnitAmphibiousShip: key = "unit_subtype_amphibious"; break;
      default: key = "unit_subtype_unknown"; break;
    }
  }
  const wchar_t* text = g_StringBase.GetText(key);
  return text ? std::wstring(text) : std::wstring();
}
