// Whether a land unit may take each of its orders now, and the localized
// hint that says why or why not.
#include <string>

#include "app/string_base.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/strategic_movement.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

template <std::size_t N>
int CostOf(const std::array<int, N>& table, int type) {
  return type >= 0 && type < static_cast<int>(N) ? table[static_cast<std::size_t>(type)] : 0;
}

}  // namespace

bool cJednostkaLadowa::CanReplenish(std::wstring* hint) {
  if (actionPoints != startingActionPoints) {
    return Answer(hint, false, "unitpanel_strength_icon_hint_other_action_performed_or_frozen");
  }
  if (strength >= 100) return Answer(hint, false, "unitpanel_strength_icon_hint_max_strength");
  if (supply != 0 && turnsWithoutSupply == 0) return Answer(hint, true, "unitpanel_strength_icon_hint");
  return Answer(hint, false, "unitpanel_strength_icon_hint_no_supply");
}

bool cJednostkaLadowa::CanStrategicMove(std::wstring* hint) {
  const eStrategicMoveBlock block =
      World() ? GetStrategicMoveBlock(*World(), *this) : eStrategicMoveBlock::kNoPoints;
  return Answer(hint, block == eStrategicMoveBlock::kNone, StrategicMoveBlockKey(block));
}

bool cJednostkaLadowa::CanAirborneAssault(std::wstring* hint) {
  if (type != kUnitAirborneDivision) {
    return Answer(hint, false, "unitpanel_airborne_assault_icon_hint_not_airborne");
  }
  if (actionPoints != startingActionPoints || freezeTime > 0) {
    return Answer(hint, false, "unitpanel_airborne_assault_hint_not_full_ap_or_frozen");
  }
  const int maxSupply = World() ? World()->constants.maxSupply : 0;
  if (supply < static_cast<int>(static_cast<double>(maxSupply) * 0.66)) {
    return Answer(hint, false, "unitpanel_airborne_assault_hint_supply_too_low");
  }
  const int preparation = LandUnitConstants().paradropPreparationTurns;
  if (turnsSinceParadrop >= preparation) return Answer(hint, true, "unitpanel_airborne_assault_icon_hint");
  return Answer(hint, false, "unitpanel_airborne_assault_hint_not_prepared", preparation - turnsSinceParadrop);
}

bool cJednostkaLadowa::CanSeaTransport(std::wstring* hint) {
  int portX = -1, portY = -1;
  if (!FindAdjacentPort(*World(), portX, portY)) {
    return Answer(hint, false, "unitpanel_sea_transport_icon_hint_not_in_or_near_friendly_port");
  }
  if (actionPoints <= 0 || freezeTime > 0) {
    return Answer(hint, false, "unitpanel_sea_transport_hint_not_enough_ap_or_frozen");
  }
  const cCountry* country = GetCountry();
  const int cost = World() ? CostOf(World()->constants.seaTransportCost, type) : 0;
  if (country && country->seaTransportPoints >= cost) {
    return Answer(hint, true, "unitpanel_sea_transport_icon_hint", cost);
  }
  return Answer(hint, false, "unitpanel_sea_transport_icon_hint_not_enough_sea_transport_points", cost);
}

bool cJednostkaLadowa::CanAmphibiousTransport(std::wstring* hint) {
  int portX = -1, portY = -1;
  if (!FindAdjacentPort(*World(), portX, portY)) {
    return Answer(hint, false, "unitpanel_amph_transport_icon_hint_not_in_or_near_friendly_port");
  }
  if (actionPoints <= 0 || freezeTime > 0) {
    return Answer(hint, false, "unitpanel_amph_transport_hint_not_enough_ap_or_frozen");
  }
  const cCountry* country = GetCountry();
  const int cost = World() ? CostOf(World()->constants.amphibiousTransportCost, type) : 0;
  if (!country || country->amphibiousInvasionPoints < cost) {
    return Answer(hint, false, "unitpanel_amph_transport_icon_hint_not_enough_sea_invasion_points", cost);
  }
  const int maxSupply = World() ? World()->constants.maxSupply : 0;
  if (supply >= static_cast<int>(static_cast<double>(maxSupply) * 0.66)) {
    return Answer(hint, true, "unitpanel_amph_transport_icon_hint", cost);
  }
  return Answer(hint, false, "unitpanel_amph_transport_icon_hint_not_enough_supply");
}

bool cJednostkaLadowa::CanAirFight(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_airfight_icon_hint_not_airfighter_unit");
}
bool cJednostkaLadowa::CanBombard(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_bombardment_icon_hint_not_bomber_unit");
}
bool cJednostkaLadowa::CanNuclearAttack(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_nuclear_icon_hint_not_strategic_bomber");
}
bool cJednostkaLadowa::CanAirRecon(std::wstring* hint) {
  return Answer(hint, false, "unitpanel_recon_icon_hint_not_air_unit");
}
