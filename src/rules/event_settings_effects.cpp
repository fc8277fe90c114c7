// The scripted events' effects on the computer opponent's settings and
// lists of a country, on the weather of map areas, on the event flags, on
// the commanders and on the player's view. A script may give any number:
// ids, coordinates and indexes are checked (rules/event_params.h), and an
// effect with a bad one is skipped after its "ERR:" line.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/console_log.h"
#include "app/settings.h"
#include "platform/format.h"
#include "rules/event_effects.h"
#include "rules/event_params.h"
#include "rules/rule_helpers.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// One effect being run; country is the country of param0 for the effects
// that name one there, else null.
struct sSettingsRun {
  cWorld& world;
  const sEventEffect& effect;
  const sEventCall& call;
  cCountry* country;

  double P(int i) const { return effect.param[static_cast<std::size_t>(i)]; }
  int I(int i) const { return EventInt(P(i)); }
  sCountryAiData& Ai() const { return country->aiData; }
};

struct sSettingsEffect {
  void (*run)(sSettingsRun&);
  bool countryInParam0;
};

// The city on the hex of param1 and param2, or null after the error line
// (off the map, or no city there).
cCity* CityAt(const sSettingsRun& r) {
  const sHex* hex = EventHex(r.world, r.P(1), r.P(2), r.call);
  if (hex == nullptr) return nullptr;
  if (hex->city == nullptr) {
    LogEventError(r.call, plat::Format(L"no city on hex (%i, %i)", r.I(1), r.I(2)));
  }
  return hex->city;
}

// Appends the city of the hex of param1 and param2 unless it is listed.
void AddCityOnce(sSettingsRun& r, std::vector<cCity*>& list) {
  cCity* city = CityAt(r);
  if (city != nullptr && std::find(list.begin(), list.end(), city) == list.end()) list.push_back(city);
}

// Each land hex of the rectangle of corners (param0, param1) and (param2,
// param3) gets the weather value and the flag that lets the monthly weather
// roll change it again. Nothing when a lower bound exceeds its upper one.
void MarkWeatherArea(sSettingsRun& r, std::uint32_t weather, bool rolled) {
  if (EventHex(r.world, r.P(0), r.P(1), r.call) == nullptr) return;
  if (EventHex(r.world, r.P(2), r.P(3), r.call) == nullptr) return;
  cMap& map = r.world.GetMap();
  for (int x = r.I(0); x <= r.I(2); ++x) {
    for (int y = r.I(1); y <= r.I(3); ++y) {
      sHex& hex = map.GetHex(x, y);
      if (hex.IsWater()) continue;
      hex.weather = weather;
      hex.hasWeather = rolled ? 1 : 0;
    }
  }
}

// The flag of param0, or -1 after the error line.
int FlagIndex(const sSettingsRun& r) {
  return EventIndex(r.P(0), static_cast<int>(r.world.eventFlags.size()), r.call);
}

void SetFlagValue(sSettingsRun& r) {
  const int index = r.I(0);
  if (index >= kEventFlagCount) {
    LogLine(L"ERR: Flag.SetValue arg out of range: %d, max is %d", index, kEventFlagCount);
    LogEventError(r.call, L"the flag is not set");
    return;
  }
  if (const int flag = FlagIndex(r); flag >= 0) r.world.eventFlags[static_cast<std::size_t>(flag)] = r.I(1);
}

// A land commander of the country, not assigned, with the id after the
// last commander's (1 for the first). Units name their commander by id, so
// none may repeat: where that id is in use, or past the greatest int, he
// takes the id after the greatest in use (past the greatest int the lowest
// free one).
void AddNewCommander(sSettingsRun& r) {
  auto& commanders = r.world.Units().commanders;
  std::unordered_set<int> ids;
  for (const cCommander* commander : commanders) ids.insert(commander->id);
  const long long afterLast = commanders.empty() ? 1 : commanders.back()->id + 1LL;
  auto commander = std::make_unique<cCommander>();
  commander->id = afterLast >= 1 && afterLast <= INT_MAX && ids.count(static_cast<int>(afterLast)) == 0
                      ? static_cast<int>(afterLast)
                      : NewIdBeside(ids);
  commander->name = r.effect.paramString[0];
  commander->countryId = r.country->id;
  commander->type = 0;
  commander->skill = r.I(1);
  commander->experience = r.I(2);
  commander->state = kCommanderNotAssigned;
  commanders.push_back(commander.release());
}

// The commander of param0, or null after the error line.
cCommander* CommanderOf(const sSettingsRun& r) {
  cCommander* commander = r.world.FindCommanderById(r.I(0));
  if (commander == nullptr) LogEventError(r.call, plat::Format(L"no commander with id %i", r.I(0)));
  return commander;
}

// The camera is the main thread's: it is asked to centre the hex. The
// human country to play next keeps that place as its view of the map.
void CenterViewAt(sSettingsRun& r) {
  if (EventHex(r.world, r.P(0), r.P(1), r.call) == nullptr) return;
  const int x = r.I(0);
  const int y = r.I(1);
  FollowHexInView(x, y);
  if (cCountry* next = r.world.turnState.FindNextHumanCountry(r.world.Countries())) {
    next->SaveMapView(static_cast<float>(x * kHexColumnWidth), static_cast<float>(y * kHexRowHeight),
                      g_Settings.MapZoom);
  }
}

const std::unordered_map<std::wstring_view, sSettingsEffect>& SettingsEffects() {
  static const std::unordered_map<std::wstring_view, sSettingsEffect> effects = {
      // --- the computer opponent's lists ---
      {L"AI.AddInvasionTarget",
       {[](sSettingsRun& r) {
          if (EventHex(r.world, r.P(1), r.P(2), r.call) != nullptr) {
            r.Ai().currentTargets.push_back({r.I(1), r.I(2), r.I(3)});
          }
        },
        true}},
      {L"AI.RemoveInvasionTarget",
       {[](sSettingsRun& r) {
          std::erase_if(r.Ai().currentTargets,
                        [&](const sAiTarget& target) { return target.a == r.I(1) && target.b == r.I(2); });
        },
        true}},
      // The invasion planner sails to these cities: only ports.
      {L"AI.AddPortForObligatoryInvasion",
       {[](sSettingsRun& r) {
          cCity* city = CityAt(r);
          if (city == nullptr) return;
          if (!city->IsPort()) {
            LogEventError(r.call, plat::Format(L"the city on hex (%i, %i) is not a port", r.I(1), r.I(2)));
            return;
          }
          auto& ports = r.Ai().obligatorySeaInvasionTargets;
          if (r.I(3) == 0) {
            ports.push_back(city);
          } else {
            ports.insert(ports.begin(), city);
          }
        },
        true}},
      {L"AI.RemovePortForObligatoryInvasion",
       {[](sSettingsRun& r) {
          if (const sHex* hex = EventHex(r.world, r.P(1), r.P(2), r.call); hex != nullptr && hex->city != nullptr) {
            std::erase(r.Ai().obligatorySeaInvasionTargets, hex->city);
          }
        },
        true}},
      {L"AI.AddDoNotAttackCity", {[](sSettingsRun& r) { AddCityOnce(r, r.Ai().doNotAttackCities); }, true}},
      {L"AI.RemoveDoNotAttackCity", {[](sSettingsRun& r) { r.country->RemoveDoNotAttackCity(r.I(1), r.I(2)); }, true}},
      {L"AI.AddExtraCityToGarrison", {[](sSettingsRun& r) { AddCityOnce(r, r.Ai().extraCitiesToGarrison); }, true}},
      {L"AI.AddSeaZoneToPatrolList",
       {[](sSettingsRun& r) {
          if (EventSeaNode(r.world, r.P(1), r.call) != nullptr) r.Ai().seaZonesToPatrol.Set(r.I(1), r.I(2));
        },
        true}},
      {L"AI.RemoveSeaZoneFromPatrolList", {[](sSettingsRun& r) { r.Ai().seaZonesToPatrol.RemoveFirst(r.I(1)); }, true}},
      {L"AI.AddCountryToPress",
       {[](sSettingsRun& r) {
          if (const cCountry* pressed = EventCountry(r.world, r.P(1), r.call)) {
            r.Ai().countriesToPress.push_back(pressed->id);
          }
        },
        true}},
      // --- the computer opponent's settings ---
      {L"AI.SetMakesSeaInvasionsParameter", {[](sSettingsRun& r) { r.Ai().makesSeaInvasions = r.P(1) != 0.0; }, true}},
      {L"AI.SetMaxNumberOfFrontsForSeaInvasion",
       {[](sSettingsRun& r) { r.Ai().maxNumberOfFrontsForSeaInvasion = r.I(1); }, true}},
      {L"AI.TransportUnitsToFrontsBySea", {[](sSettingsRun& r) { r.Ai().transportsUnitsToFrontsBySea = r.I(1) != 0; }, true}},
      {L"AI.SetDesiredStrategicMovementPoints",
       {[](sSettingsRun& r) { r.Ai().desiredStrategicMovementPoints = r.I(1); }, true}},
      {L"AI.SetDesiredTechLevel",
       {[](sSettingsRun& r) {
          auto& levels = r.Ai().desiredTechLevels;
          const int tech = EventIndex(r.P(1), static_cast<int>(levels.size()), r.call);
          if (tech >= 0) levels[static_cast<std::size_t>(tech)] = r.I(2);
        },
        true}},
      // Entry 0 is the desired strategic movement points, entries 1 on the
      // unit purchase preferences.
      {L"Country.NewUnitPurchasePreferences",
       {[](sSettingsRun& r) {
          auto& preferences = r.Ai().newUnitPurchasePreferences;
          const int entry = EventIndex(r.P(1), static_cast<int>(preferences.size()) + 1, r.call);
          if (entry == 0) {
            r.Ai().desiredStrategicMovementPoints = r.I(2);
          } else if (entry > 0) {
            preferences[static_cast<std::size_t>(entry - 1)] = r.I(2);
          }
        },
        true}},
      {L"Country.SetDesiredLandForcesStructure",
       {[](sSettingsRun& r) {
          auto& structure = r.Ai().desiredLandForcesStructure;
          const int slot = EventIndex(r.P(1), static_cast<int>(structure.size()), r.call);
          if (slot >= 0) structure[static_cast<std::size_t>(slot)] = r.I(2);
        },
        true}},
      {L"AI.SetMultipleSideAttackPreferences",
       {[](sSettingsRun& r) { r.Ai().multipleSideAttackPreferences = {r.I(1), r.I(2), r.I(3)}; }, true}},
      {L"AI.SetOneSideAttackPreferences",
       {[](sSettingsRun& r) { r.Ai().oneSideAttackPreferences = {r.I(1), r.I(2), r.I(3)}; }, true}},
      {L"Country.SetMinRatioToPatchFront", {[](sSettingsRun& r) { r.Ai().minRatioToPatchFront = ToFloat(r.P(1)); }, true}},
      {L"Country.SetMaxUnitCountOnFront", {[](sSettingsRun& r) { r.Ai().maxUnitCountOnFront = r.I(1); }, true}},
      {L"Country.SetMaxCoveringUnitDistance", {[](sSettingsRun& r) { r.Ai().maxCoveringUnitDistance = r.I(1); }, true}},
      {L"Country.SetMaxSafeMoveCost", {[](sSettingsRun& r) { r.Ai().maxSafeMoveCost = r.I(1); }, true}},
      // Param0 is the first priority here, not a country: every country
      // gets the nine priorities.
      {L"Country.SetAICarrierTargetsPriorities",
       {[](sSettingsRun& r) {
          for (auto& country : r.world.Countries()) {
            auto& priorities = country->aiData.carrierTargetsPriorities;
            for (std::size_t k = 0; k < priorities.size(); ++k) priorities[k] = r.I(static_cast<int>(k));
          }
        },
        false}},
      // Priority numbers run from 1 to 9.
      {L"Country.ChangeAICarrierTargetsPriorities",
       {[](sSettingsRun& r) {
          auto& priorities = r.Ai().carrierTargetsPriorities;
          const int number = r.I(1);
          if (number < 1 || number > static_cast<int>(priorities.size())) {
            LogEventError(r.call, plat::Format(L"carrier priority number %i outside 1..%i", number,
                                               static_cast<int>(priorities.size())));
            return;
          }
          priorities[static_cast<std::size_t>(number - 1)] = r.I(2);
        },
        true}},
      // --- weather areas (1 winter, 2 mud, 0 fair) ---
      {L"New.StartWinterArea", {[](sSettingsRun& r) { MarkWeatherArea(r, 1, r.I(4) != 0); }, false}},
      {L"New.EndWinterArea", {[](sSettingsRun& r) { MarkWeatherArea(r, 0, true); }, false}},
      {L"New.StartMudArea", {[](sSettingsRun& r) { MarkWeatherArea(r, 2, r.I(4) != 0); }, false}},
      // Ending a scripted mud area gives it back to the monthly roll; the
      // ground stays muddy until that roll decides again.
      {L"New.EndMudArea", {[](sSettingsRun& r) { MarkWeatherArea(r, 2, true); }, false}},
      // --- event flags ---
      {L"Flag.SetValue", {SetFlagValue, false}},
      {L"Flag.ChangeValue",
       {[](sSettingsRun& r) {
          if (const int flag = FlagIndex(r); flag >= 0) {
            int& value = r.world.eventFlags[static_cast<std::size_t>(flag)];
            value = SaturatedSum(value, r.I(1));
          }
        },
        false}},
      // --- commanders (a commander's level is his skill) ---
      {L"Commander.AddNew", {AddNewCommander, true}},
      {L"Commander.SetLevel",
       {[](sSettingsRun& r) {
          if (cCommander* commander = CommanderOf(r)) commander->skill = r.I(1);
        },
        false}},
      {L"Commander.ChangeLevel",
       {[](sSettingsRun& r) {
          if (cCommander* commander = CommanderOf(r)) commander->skill = SaturatedSum(commander->skill, r.I(1));
        },
        false}},
      // --- the view ---
      {L"View.CenterAt", {CenterViewAt, false}},
  };
  return effects;
}

}  // namespace

bool RunSettingsEffect(cWorld& world, const sEventEffect& effect, int eventId) {
  const auto& effects = SettingsEffects();
  const auto found = effects.find(effect.method);
  if (found == effects.end()) return false;
  const sEventCall call{eventId, effect.method, effect.line};
  cCountry* country = nullptr;
  if (found->second.countryInParam0) {
    country = EventCountry(world, effect.param[0], call);
    if (country == nullptr) return true;
  }
  sSettingsRun run{world, effect, call, country};
  found->second.run(run);
  return true;
}
