// Upgrading a land division to its corps, raising a land unit's level, their
// costs and hints, and the breakdown of a land unit's effectiveness.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_tables.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

// B(l, t): the base strength of land type t at level l (bounded).
float Base(int lvl, int t) {
  const auto& table = LandUnitConstants().baseStrength;
  const auto& row = table[static_cast<std::size_t>(std::clamp(lvl, 1, 5) - 1)];
  return row[static_cast<std::size_t>(std::clamp(t, 0, 6))];
}

// P(t): the level-up price factor of land type t.
float Price(const cWorld* world, int t) {
  if (!world) return 0.0f;
  return air_tables::Bounded(world->constants.levelCostFactors, t);
}

// k: the surcharge per level above 1, in percent.
int Surcharge(const cWorld* world) { return world ? world->constants.replacementBase : 0; }

bool IsDivisionWithCorps(int t) { return t == 0 || t == 2 || t == 4; }

// The action-point test of the upgrade and the level-up: all points unspent,
// and a unit without points only while it is frozen.
bool ActionPointsAllowUpgrade(const cJednostkaLadowa& unit) {
  if (unit.actionPoints != unit.startingActionPoints) return false;
  return !(unit.actionPoints == 0 && unit.freezeTime == 0);
}

void AfterChange(cJednostkaLadowa& unit) {
  unit.actionPoints = 0;
  unit.reachableHexes.clear();
  if (unit.World()) ClearMapMarks(unit.World()->GetMap(), ~1u, true);
}

}  // namespace

float cJednostkaLadowa::GetLevelUpCost() {
  const float k = static_cast<float>(Surcharge(World()));
  auto value = [&](int l) {
    const float product = Base(l, type) * Price(World(), type);
    return product * (1.0f + k * static_cast<float>(l - 1) / 100.0f);
  };
  return value(level + 1) - value(level);
}

float cJednostkaLadowa::GetUpgradeToCorpsCost() {
  if (!IsDivisionWithCorps(type)) {
    // Only a division with a corps form has a price; any other type is a
    // refusal the caller reports, never the end of the game.
    LogLine(plat::Format(g_StringBase.GetText("error:_wrong_land_unit_type_(%i)_while_calculating_upgrade_to_corps_cost"),
                         type));
    return -1.0f;
  }
  const float k = static_cast<float>(Surcharge(World()));
  const float f = Price(World(), type + 1) * (Base(level, type + 1) - Base(level, type)) +
                  GetCombatStrength() * (Price(World(), type + 1) - Price(World(), type));
  return f * (1.0f + k * static_cast<float>(level - 1) / 100.0f);
}

bool cJednostkaLadowa::CanUpgradeToCorps(std::wstring* hint) {
  if (IsHarbour()) return Answer(hint, false, "unitpanel_upgrade_hint_mulberry");
  if (type == kUnitAirborneDivision) return Answer(hint, false, "unitpanel_upgrade_hint_airborne_division");
  if (IsCorps()) return Answer(hint, false, "unitpanel_upgrade_hint_already_corp");
  if (!IsDivisionWithCorps(type)) return Answer(hint, false, "unitpanel_upgrade_hint_already_corp");
  const sHex* hex = World() && World()->GetMap().IsInside(x, y) ? &World()->GetMap().GetHex(x, y) : nullptr;
  if (!hex || hex->owner != countryId) return Answer(hint, false, "unitpanel_upgrade_hint_not_in_owned_hex");
  if (!ActionPointsAllowUpgrade(*this)) return Answer(hint, false, "unitpanel_upgrade_hint_not_full_ap_or_frozen");
  const float cost = GetUpgradeToCorpsCost();
  const cCountry* country = GetCountry();
  const double points = country ? country->productionPoints : 0.0;
  if (cost >= 0.0f && static_cast<double>(cost) <= points) {
    return Answer(hint, true, "unitpanel_upgrade_hint", GetSubtypeText(World(), type).c_str(),
                  GetSubtypeText(World(), type + 1).c_str(), static_cast<double>(cost), points - static_cast<double>(cost));
  }
  return Answer(hint, false, "unitpanel_upgrade_hint_not_enough_pp", static_cast<double>(cost),
                static_cast<double>(cost) - points);
}

void cJednostkaLadowa::UpgradeToCorps() {
  const float cost = GetUpgradeToCorpsCost();
  if (cost < 0.0f) return;
  const float b0 = Base(level, type);
  const float b1 = Base(level, type + 1);
  if (b1 > 0.0f) {
    strength = static_cast<int>((b1 - b0) * 100.0f / b1 + static_cast<float>(strength) * b0 / b1);
  }
  if (cCountry* country = GetCountry()) country->AddProductionPoints(-static_cast<double>(cost));
  type += 1;
  AfterChange(*this);
}

bool cJednostkaLadowa::CanLevelUp(std::wstring* hint) {
  if (IsHarbour()) return Answer(hint, false, "unitpanel_levelup_hint_mulberry");
  if (level >= 5) return Answer(hint, false, "unitpanel_levelup_hint_max_level");
  const cCountry* country = GetCountry();
  const bool armour = type == kUnitArmouredDivision || type == kUnitArmouredCorps;
  const int research = country ? country->techLevel[armour ? kTechTanks : kTechArtillery] : 0;
  if (level >= research) {
    const std::wstring name = g_StringBase.GetText(armour ? "research_tanks" : "research_artillery");
    return Answer(hint, false, "unitpanel_levelup_hint_no_technology", level + 1, name.c_str());
  }
  if (!ActionPointsAllowUpgrade(*this)) return Answer(hint, false, "unitpanel_levelup_hint_not_full_ap_or_frozen");
  const float cost = GetLevelUpCost();
  const double points = country ? country->productionPoints : 0.0;
  if (static_cast<double>(cost) <= points) {
    return Answer(hint, true, "unitpanel_levelup_icon_hint", static_cast<double>(cost));
  }
  return Answer(hint, false, "unitpanel_levelup_hint_not_enough_pp", static_cast<double>(cost),
                static_cast<double>(cost) - points);
}

void cJednostkaLadowa::LevelUp() {
  RaiseLevel();
  AfterChange(*this);
}

void cJednostkaLadowa::RaiseLevel() {
  const float cost = GetLevelUpCost();
  const float b0 = Base(level, type);
  const float b1 = Base(level + 1, type);
  if (b1 > 0.0f) {
    strength = static_cast<int>(std::ceil((b1 - b0) * 100.0f / b1 + static_cast<float>(strength) * b0 / b1));
  }
  if (cCountry* country = GetCountry()) country->AddProductionPoints(-static_cast<double>(cost));
  level += 1;
  actionPoints = 0;
}

void cJednostkaLadowa::GetEffectivenessHint(std::wstring& buffer) {
  const sLandUnitConstants& k = LandUnitConstants();
  const cCountry* country = GetCountry();
  const int doctrine = country ? country->techLevel[kTechDoctrine] : 0;
  const double doctrineBonus = static_cast<double>(k.doctrineEffectivenessBonus * doctrine);
  double commanderBonus = 0.0;
  if (ownCommander) {
    commanderBonus = (static_cast<double>(GetCommanderValue(World(), *ownCommander, 0)) - 1.0) * 100.0;
  } else if (GetCommander()) {
    commanderBonus = static_cast<double>(GetHqCommanderBonus());
  }
  double supplyEffect = -100.0;
  if (!k.supplyEffectiveness.empty()) {
    const std::size_t index =
        static_cast<std::size_t>(std::clamp(supply, 0, static_cast<int>(k.supplyEffectiveness.size()) - 1));
    supplyEffect = static_cast<double>(k.supplyEffectiveness[index]) - 100.0;
  }
  const double cutOff = turnsWithoutSupply > 0 && k.supplyCutOffLimit != 0
                            ? -static_cast<double>(turnsWithoutSupply) / static_cast<double>(k.supplyCutOffLimit)
                            : 0.0;
  buffer = plat::Format(g_StringBase.GetText("unitpanel_effectiveness_land_hint"), doctrineBonus, commanderBonus,
                        supplyEffect, cutOff, -static_cast<double>(shoreBombardmentEffect),
                        static_cast<double>(eventsEffect));
}
