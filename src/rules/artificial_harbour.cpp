#include "rules/artificial_harbour.h"

#include "app/file_text.h"
#include "app/framework_lock.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

const char* HarbourRefusalKey(eHarbourRefusal refusal) {
  switch (refusal) {
    case eHarbourRefusal::kNone:
      return "hexpanel_mulberry_hint";
    case eHarbourRefusal::kNotLand:
      return "hexpanel_mulberry_hint_not_land_hex";
    case eHarbourRefusal::kNotCoastal:
      return "hexpanel_mulberry_hint_not_coastal_hex";
    case eHarbourRefusal::kOccupied:
      return "hexpanel_mulberry_hint_occupied";
    case eHarbourRefusal::kNotFriendly:
      return "hexpanel_mulberry_hint_not_friendly_hex";
    case eHarbourRefusal::kNotEnoughPoints:
      return "hexpanel_mulberry_hint_not_enough_pp";
  }
  return "hexpanel_mulberry_hint";
}

double HarbourCost(const cWorld& world) { return world.constants.mulberryValues[0]; }

eHarbourRefusal CheckHarbour(const sHex& hex, const cCountry& country, double cost) {
  const int controller = hex.controller;
  const bool friendly = controller != 0 && (controller == country.id || (!country.IsAtWarWith(controller) &&
                                                                         country.IsAlliedWith(controller)));
  if (hex.terrain == 0) return eHarbourRefusal::kNotLand;
  if (hex.coastal == 0) return eHarbourRefusal::kNotCoastal;
  if (hex.unit != nullptr) return eHarbourRefusal::kOccupied;
  if (!friendly) return eHarbourRefusal::kNotFriendly;
  if (country.productionPoints < cost) return eHarbourRefusal::kNotEnoughPoints;
  return eHarbourRefusal::kNone;
}

eHarbourRefusal CheckBuildHarbour(const cWorld& world, const sHex& hex, const cCountry& country) {
  return CheckHarbour(hex, country, HarbourCost(world));
}

eHarbourRefusal BuildHarbour(cWorld& world, cCountry& country, sHex& hex, const std::wstring& name) {
  const cFrameworkLockGuard lock;
  const eHarbourRefusal refusal = CheckBuildHarbour(world, hex, country);
  if (refusal != eHarbourRefusal::kNone) return refusal;
  if (PlaceNewHarbour(world, hex.controller, name, hex) == nullptr) return eHarbourRefusal::kOccupied;
  country.AddProductionPoints(-HarbourCost(world));
  return eHarbourRefusal::kNone;
}

cMulberry* PlaceNewHarbour(cWorld& world, int countryId, const std::wstring& name, sHex& hex) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  if (hex.unit != nullptr) return nullptr;
  // The land unit's constructor draws its id from the loaded game, which
  // need not be this world: the id is taken here.
  const sIdCounters counters = world.ids;
  auto* harbour = new cMulberry(&world);
  world.ids = counters;
  harbour->id = world.ids.Take(world, eIdKind::kLandUnit);
  harbour->countryId = countryId;
  harbour->SetName(name);
  harbour->x = hex.x;
  harbour->y = hex.y;
  harbour->level = 1;
  harbour->inReserve = false;
  harbour->SetCommander(nullptr);
  const sScenarioConstants& k = world.constants;
  harbour->SetStrength(files::TruncateToInt(k.mulberryValues[2]));
  harbour->SetSupply(k.maxSupply);
  harbour->UpdateEffectiveness();
  harbour->SetSupplySourceX(-1);
  harbour->SetSupplySourceY(-1);
  harbour->ResetActionPoints();
  harbour->remainingMonths = files::TruncateToInt(k.mulberryValues[3]);
  world.Units().landUnits.push_back(harbour);
  hex.unit = harbour;
  return harbour;
}
