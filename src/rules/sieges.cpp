// Sieges: a held city whose every land neighbour is held by enemies of its
// controller (at least two of them) is checked at the end of every real
// impulse; its defender may lose a level or surrender.
#include <string>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/end_impulse.h"
#include "rules/rule_helpers.h"
#include "world/air_strikes.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/unit.h"
#include "world/world.h"
#include "world/worker_steps.h"
#include "world/world_view.h"

namespace {


int OwnCommanderSkill(const cJednostka& unit) { return unit.ownCommander != nullptr ? unit.ownCommander->skill : 0; }

}  // namespace

void ResolveSiege(cWorld& world, cCity& city, std::wstring& text) {
  cMap& map = world.GetMap();
  cJednostka* defender = map.GetHex(city.x, city.y).unit;
  if (defender == nullptr) return;
  FollowHexInView(city.x, city.y);

  float attackers = 0.0f;
  int attackerSkill = 0;
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* hex = map.GetNeighbour(city.x, city.y, dir);
    if (hex == nullptr || hex->unit == nullptr) continue;
    attackers += hex->unit->GetEffectiveCombatStrength();
    attackerSkill += OwnCommanderSkill(*hex->unit);
  }
  const float defence = defender->GetEffectiveCombatStrength();
  const int defenderSkill = OwnCommanderSkill(*defender);

  const auto& f = world.constants.siegeFactors;
  const float baseChance = f[0], ratioFactor = f[1], commanderFactor = f[2], supplyFactor = f[3];
  const float airFactor = f[4], airDivisor = f[5], ratioDivisor = f[6];
  // A defender without strength stands as one of strength 1: the ratio
  // stays defined.
  const float ratio = attackers / (defence > 0.0f ? defence : 1.0f);
  const float strengthTerm = ratio < 1.0f ? ratio * ratioFactor : (ratio - 1.0f) * ratioFactor / ratioDivisor;
  const float commanderTerm = static_cast<float>(attackerSkill - defenderSkill) * commanderFactor;
  const float supplyTerm = -static_cast<float>(city.supply) * supplyFactor;
  const float q = GetAirSuperiorityRatio(world, defender->countryId, city.x, city.y);
  float airTerm = 0.0f;
  if (q == -1.0f) {
    airTerm = airFactor;
  } else if (q <= 1.0f) {
    airTerm = (1.0f - q) * airFactor;
  } else {
    airTerm = -(q - 1.0f) * airFactor / airDivisor;
  }
  const float chance = baseChance + strengthTerm + commanderTerm / 100.0f + supplyTerm / 100.0f + airTerm;

  text = plat::Format(Text("siege_report"), defender->name, baseChance * 100.0f, strengthTerm * 100.0f, supplyTerm,
                      commanderTerm, airTerm * 100.0f, chance * 100.0f);
  const int draw = RandomRange(1, 1000);
  if (static_cast<float>(draw) >= chance * 1000.0f) {
    text += Text("check_failed,_siege_continues...");
    return;
  }
  if (defender->level >= 2) {
    defender->AdjustLevel(-1);
    text += plat::Format(Text("check_succeeded,_%s_loses_1_level"), defender->name);
    return;
  }
  text += plat::Format(Text("check_succeeded,_%s_surrenders!"), defender->name);
  KillUnitInWorld(world, defender);
}

void CheckSieges(cWorld& world) {
  LogLine(L"CHECKING FOR SIEGES...");
  for (std::size_t index = 0; index < world.Cities().size(); ++index) {
    std::wstring shown;
    std::wstring title;
    LockedStep([&] {
      cCity& city = *world.Cities()[index];
      LogLine(L"Checking city %s", city.name);
      if (!city.IsBesieged(world)) return;
      const cCountry* controller = world.GetCountry(city.GetControllerId());
      const std::wstring controllerName = controller != nullptr ? controller->name : std::wstring();
      std::wstring outcome;
      ResolveSiege(world, city, outcome);
      title = plat::Format(L"Siege of %s (%s)", city.name, controllerName);
      shown = plat::Format(L"Siege of %s (%s)\n\n%s", city.name, controllerName, outcome);
      for (const auto& country : world.Countries()) {
        FileReport(world, kReportSiege, country->id, shown);
      }
    });
    if (!shown.empty()) ShowTextAndWait(world, shown, title);
  }
  LogLine(L"CHECKING FOR SIEGES FINISHED");
}
