// Whether an air unit may take each of its orders now, and the localized
// hint that says why or why not.
#include <string>

#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_tables.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/strategic_movement.h"
#include "world/world.h"
#include "world/world_helpers.h"

void cJednostkaLotnicza::GetEffectivenessHint(std::wstring& buffer) {
  buffer = g_StringBase.GetText("unitpanel_effectiveness_air_hint");
}

bool cJednostkaLotnicza::CanUpgradeToCorps(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_upgrade_hint_air_unit");
}

bool cJednostkaLotnicza::CanLevelUp(std::wstring* hint) {
  if (level >= 5) return Answer(hint, false, "unitpanel_levelup_hint_max_level");
  const cCountry* country = GetCountry();
  if (!country || level >= country->techLevel[kTechAircraft]) {
    const std::wstring research = g_StringBase.GetText("research_aircraft");
    return Answer(hint, false, "unitpanel_levelup_hint_no_technology", level + 1, research.c_str());
  }
  if (actionPoints != startingActionPoints) {
    return Answer(hint, false, "unitpanel_levelup_hint_not_full_ap_or_frozen");
  }
  const float cost = GetLevelUpCost();
  const double points = country->productionPoints;
  if (static_cast<float>(points) < cost) {
    return Answer(hint, false, "unitpanel_levelup_hint_not_enough_pp", static_cast<double>(cost),
                  static_cast<double>(cost) - points);
  }
  return Answer(hint, true, "unitpanel_levelup_icon_hint", static_cast<double>(cost));
}

bool cJednostkaLotnicza::CanReplenish(std::wstring* hint) {
  if (actionPoints != startingActionPoints || actionPoints <= 0) {
    return Answer(hint, false, "unitpanel_strength_icon_hint_other_action_performed_or_no_ap");
  }
  if (strength >= GetBaseStrength()) return Answer(hint, false, "unitpanel_strength_icon_hint_max_strength");
  if (supply > 0 && turnsWithoutSupply < 1) return Answer(hint, true, "unitpanel_strength_icon_hint");
  return Answer(hint, false, "unitpanel_strength_icon_hint_no_supply");
}

bool cJednostkaLotnicza::CanStrategicMove(std::wstring* hint) {
  const eStrategicMoveBlock block =
      World() ? GetStrategicMoveBlock(*World(), *this) : eStrategicMoveBlock::kNoSupplySource;
  return Answer(hint, block == eStrategicMoveBlock::kNone, StrategicMoveBlockKey(block));
}

bool cJednostkaLotnicza::CanAirborneAssault(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_airborne_assault_icon_hint_not_airborne");
}

bool cJednostkaLotnicza::CanSeaTransport(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_sea_transport_icon_hint_not_land_unit");
}

bool cJednostkaLotnicza::CanAmphibiousTransport(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_amph_transport_icon_hint_not_land_unit");
}

bool cJednostkaLotnicza::CanAirFight(std::wstring* hint) {
  if (type != kUnitFighter) return Answer(hint, false, "unitpanel_airfight_icon_hint_not_airfighter_unit");
  if (actionPoints == 0) return Answer(hint, false, "unitpanel_airfight_icon_hint_not_enough_ap_or_frozen");
  if (MarkAirFightTargets(*World(), false) > 0) return Answer(hint, true, "unitpanel_airfight_icon_hint");
  return Answer(hint, false, "unitpanel_airfight_icon_hint_no_target");
}

bool cJednostkaLotnicza::CanBombard(std::wstring* hint) {
  if (type != kUnitTacticalBomber && type != kUnitStrategicBomber) {
    return Answer(hint, false, "unitpanel_bombardment_icon_hint_not_bomber_unit");
  }
  if (actionPoints == 0) return Answer(hint, false, "unitpanel_bombardment_icon_hint_not_enough_ap_or_frozen");
  if (MarkBombardmentTargets(*World(), false) > 0) return Answer(hint, true, "unitpanel_bombardment_icon_hint");
  return Answer(hint, false, "unitpanel_bombardment_icon_hint_no_target");
}

bool cJednostkaLotnicza::CanNuclearAttack(std::wstring* hint) {
  if (type != kUnitStrategicBomber) return Answer(hint, false, "unitpanel_nuclear_icon_hint_not_strategic_bomber");
  const cCountry* country = GetCountry();
  if (!country || country->nuclearBombs < 1) {
    return Answer(hint, false, "unitpanel_nuclear_icon_hint_no_nuclear_bomb");
  }
  if (actionPoints <= 0) return Answer(hint, false, "unitpanel_nuclear_icon_hint_not_enough_ap_or_frozen");
  if (MarkNuclearTargets(*World(), false) > 0) return Answer(hint, true, "unitpanel_nuclear_icon_hint");
  return Answer(hint, false, "unitpanel_nuclear_icon_hint_no_target");
}

bool cJednostkaLotnicza::CanAirRecon(std::wstring* hint) {
  if (actionPoints <= 0) return Answer(hint, false, "unitpanel_recon_icon_hint_not_enough_ap");
  if (reconDone) return Answer(hint, false, "unitpanel_recon_icon_hint_already_performed");
  if (MarkReconHexes(*World(), false) > 0) return Answer(hint, true, "unitpanel_recon_icon_hint");
  return Answer(hint, false, "unitpanel_recon_icon_hint_no_hexes_in_range");
}
