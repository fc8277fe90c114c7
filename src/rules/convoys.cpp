#include "rules/convoys.h"

#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/rule_helpers.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/naval_spotting.h"
#include "world/unit.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

constexpr int kConvoyReportType = 24;
// How often the worker looks whether the player has closed the results.
constexpr int kResultsPollMs = 100;
// Supply-convoy cost per land unit type 0..6 in the convoy factors; the
// sea transport points per production point in the last one.
constexpr int kLandTypes = 7;
constexpr std::size_t kPointsPerProductionFactor = 10;

template <class... Args>
std::wstring TextOf(const char* key, const Args&... args) {
  return plat::Format(std::wstring(LangText(key)), args...);
}

const std::wstring& NameOf(const cWorld& world, int countryId) {
  static const std::wstring kNobody;
  const cCountry* country = world.GetCountry(countryId);
  return country ? country->name : kNobody;
}

int ControllerOf(const cCity* city) { return city ? city->GetControllerId() : 0; }

int SupplyFor(const cCity& city, int countryId) {
  const auto index = static_cast<std::size_t>(countryId - 1);
  return countryId >= 1 && index < city.supplyInfo.size() ? city.supplyInfo[index] : 0;
}

bool SuppliedByConvoy(const cCity& city, int countryId) {
  const auto index = static_cast<std::size_t>(countryId - 1);
  return countryId >= 1 && index < city.convoyInfo.size() && city.convoyInfo[index] != 0;
}

// The holder of a city is the owner itself or one of its allies.
bool FriendlyTo(const cCountry& owner, int controller) {
  return controller != 0 && (controller == owner.id || owner.IsAlliedWith(controller));
}

// The sea route from the departure's node to the destination's over friendly
// ports and straits, in sailing order; empty when there is none.
std::vector<int> SeaRoute(cWorld& world, const cConvoy& convoy) {
  const int from = ConvoySeaNodeOfCity(world, convoy.departure);
  const int to = ConvoySeaNodeOfCity(world, convoy.destination);
  std::vector<int> route;
  if (from < 1 || to < 1 || !world.GetSeaGraph().FindPath(world, from, to, convoy.owner, true, route)) return {};
  std::reverse(route.begin(), route.end());
  return route;
}

std::wstring RefusalText(const cWorld& world, const cConvoy& convoy, eConvoyRefusal refusal) {
  const std::wstring& owner = NameOf(world, convoy.owner);
  const std::wstring& from = convoy.departure->GetName();
  const std::wstring& to = convoy.destination->GetName();
  const char* key = ConvoyRefusalKey(refusal);
  switch (refusal) {
    case eConvoyRefusal::kNeutralAtPeace:
    case eConvoyRefusal::kNoProduction:
    case eConvoyRefusal::kNoTransportPoints:
      return TextOf(key, owner);
    case eConvoyRefusal::kDepartureNotOwned: return TextOf(key, from, owner);
    case eConvoyRefusal::kDestinationEnemy: return TextOf(key, to);
    case eConvoyRefusal::kSameController:
      return TextOf(key, from, to, NameOf(world, ControllerOf(convoy.departure)));
    case eConvoyRefusal::kDepartureNotFriendly:
    case eConvoyRefusal::kDepartureUnsupplied:
      return TextOf(key, from);
    case eConvoyRefusal::kWellSupplied:
      return plat::Format(std::wstring(L"Convoy not executed: %s is already well-supplied (supply=%i)"), to,
                          SupplyFor(*convoy.destination, convoy.owner));
    case eConvoyRefusal::kNoSeaRoute: return TextOf(key, from, to);
    default: return key ? LangText(key) : L"";
  }
}

// The group of land-connected cities that holds the city; null for none.
const std::vector<cCity*>* GroupOf(const ConvoyCityGroups& groups, const cCity* city) {
  for (const std::vector<cCity*>& group : groups) {
    if (std::find(group.begin(), group.end(), city) != group.end()) return &group;
  }
  return nullptr;
}

void AddConvoyReport(cWorld& world, const cConvoy& convoy, const sConvoyResult& result) {
  FileReport(world, kConvoyReportType, convoy.owner,
             plat::Format(std::wstring(L"Convoy with %i of %s from %s to %s\n\nResult: %s\n\nDetails: %s"),
                          convoy.value, std::wstring(convoy.type == kConvoyProduction ? L"PP" : L"supply"),
                          result.departureName, result.destinationName, result.resultText, result.detailsText));
}

// A player at this screen controls the country.
bool ShownHere(const cWorld& world, const cCountry& country) {
  if (!country.human) return false;
  if (!world.playByEmail) return true;
  const cCountry* viewer = world.turnState.viewCountry;
  return viewer != nullptr && country.pbemPlayerId == viewer->pbemPlayerId;
}

}  // namespace

const char* ConvoyRefusalKey(eConvoyRefusal refusal) {
  switch (refusal) {
    case eConvoyRefusal::kNone: return nullptr;
    case eConvoyRefusal::kSameCity: return "convoy_not_executed:_departure_city_is_the_same_like_arrival_city!";
    case eConvoyRefusal::kNeutralAtPeace:
      return "convoy_not_executed:_supply_convoys_are_not_executed_for_neutral_countries_not_waging_war_(like_%s),_"
             "all_units_owned_by_such_countries_recieve_peace-time_supply_(half_of_max_supply)_automatically.";
    case eConvoyRefusal::kDepartureNotOwned:
      return "convoy_not_executed:_for_resource_convoys,_departure_city_must_be_controlled_by_convoy's_owner._%s_is_"
             "not_controlled_by_%s.";
    case eConvoyRefusal::kDestinationEnemy: return "convoy_not_executed:_%s_is_controlled_by_enemy.";
    case eConvoyRefusal::kSameController:
      return "convoy_not_executed:_both_%s_and_%s_are_controlled_by_%s._transporting_resources_within_one_country_"
             "is_not_needed.";
    case eConvoyRefusal::kDepartureNotFriendly:
      return "convoy_not_executed:_invalid_departure_city._%s_must_be_friendly_controlled_to_serve_as_a_departure_"
             "city_for_a_convoy";
    case eConvoyRefusal::kDepartureUnsupplied:
      return "convoy_not_executed:_invalid_departure_city._%s_must_have_land_connection_with_valid_supply_source_to_"
             "serve_as_a_departure_city_for_a_convoy";
    case eConvoyRefusal::kDestinationNotFriendly:
      return "convoy_not_executed:_cannot_send_supplies_to_enemy_or_neutral_countries";
    case eConvoyRefusal::kWellSupplied: return nullptr;  // a text of its own, not in the language base
    case eConvoyRefusal::kNoSeaRoute:
      return "convoy_not_executed:_there_is_no_sea_connection_between_%s_and_%s_(at_least_one_strait_on_the_way_is_"
             "not_friendly_controlled)";
    case eConvoyRefusal::kZeroProduction: return "convoy_not_executed:_convoy_cannot_transport_0_production_points";
    case eConvoyRefusal::kNoProduction: return "convoy_not_executed:_%s_has_no_production_points!";
    case eConvoyRefusal::kNoUnitsToSupply:
      return "convoy_not_executed:_there_aren't_any_units_that_could_use_supplies_provided_by_this_convoy!";
    case eConvoyRefusal::kNoTransportPoints: return "convoy_not_executed:_%s_has_no_sea_transport_points";
    case eConvoyRefusal::kTooFewTransportPoints:
      return "convoy_not_executed:_%s_doesn't_have_enough_sea_transport_points_to_execute_this_convoy_(%i_available,_"
             "%i_needed)";
  }
  return nullptr;
}

eConvoyRefusal CheckConvoy(cWorld& world, const cConvoy& convoy) {
  const cCountry* owner = world.GetCountry(convoy.owner);
  // A convoy without its cities or its owner cannot sail anywhere.
  if (!owner || !convoy.departure || !convoy.destination) return eConvoyRefusal::kNoSeaRoute;
  const bool supplies = convoy.type != kConvoyProduction;
  const int from = ControllerOf(convoy.departure);
  const int to = ControllerOf(convoy.destination);
  const int full = world.constants.maxSupply;
  if (convoy.departure == convoy.destination) return eConvoyRefusal::kSameCity;
  if (supplies && owner->alliance == kNeutral && !owner->IsAtWarWithAnyone()) return eConvoyRefusal::kNeutralAtPeace;
  if (!supplies && from != owner->id) return eConvoyRefusal::kDepartureNotOwned;
  if (owner->IsAtWarWith(to)) return eConvoyRefusal::kDestinationEnemy;
  if (!supplies && from == to) return eConvoyRefusal::kSameController;
  if (!FriendlyTo(*owner, from)) return eConvoyRefusal::kDepartureNotFriendly;
  if (supplies) {
    const int supply = SupplyFor(*convoy.departure, owner->id);
    if (supply < full || (supply == full && SuppliedByConvoy(*convoy.departure, owner->id))) {
      return eConvoyRefusal::kDepartureUnsupplied;
    }
    if (!FriendlyTo(*owner, to)) return eConvoyRefusal::kDestinationNotFriendly;
    if (SupplyFor(*convoy.destination, owner->id) >= full * 80 / 100) return eConvoyRefusal::kWellSupplied;
  }
  if (SeaRoute(world, convoy).empty()) return eConvoyRefusal::kNoSeaRoute;
  if (!supplies) {
    if (convoy.value <= 0) return eConvoyRefusal::kZeroProduction;
    if (owner->productionPoints < 1.0) return eConvoyRefusal::kNoProduction;
  }
  return eConvoyRefusal::kNone;
}

eConvoyRefusal ExecuteConvoy(cWorld& world, cConvoy& convoy, sConvoyResult& result, const ConvoyCityGroups& groups,
                             const std::vector<sConvoySupplyDraw>& draws) {
  const bool supplies = convoy.type != kConvoyProduction;
  result = sConvoyResult{};
  result.departureName = convoy.departure ? convoy.departure->GetName() : std::wstring();
  result.destinationName = convoy.destination ? convoy.destination->GetName() : std::wstring();
  result.cargoText = supplies ? LangText("supplies") : TextOf("resources_(%i_pp)", convoy.value);
  result.resultText = LangText("convoy_not_executed");
  result.detailsText = LangText("details_here...");
  convoy.suppliedUnits = 0;
  convoy.supplyCost = 0.0f;
  convoy.destinationGroup = nullptr;
  const auto refuse = [&](eConvoyRefusal refusal, std::wstring text) {
    result.detailsText = std::move(text);
    LogLine(L"Convoy %i: %s", convoy.id, result.detailsText);
    return refusal;
  };
  if (const eConvoyRefusal refusal = CheckConvoy(world, convoy); refusal != eConvoyRefusal::kNone) {
    // A convoy that lost its owner or cities reads as having no route.
    if (!convoy.departure || !convoy.destination || !world.GetCountry(convoy.owner)) {
      return refuse(refusal, L"");
    }
    return refuse(refusal, RefusalText(world, convoy, refusal));
  }
  cCountry& owner = *world.GetCountry(convoy.owner);
  const int full = world.constants.maxSupply;
  const auto& factors = world.constants.convoyFactors;

  std::wstring details;
  if (!supplies && convoy.value > owner.productionPoints) {
    const int had = static_cast<int>(owner.productionPoints);
    details = TextOf(
        "note:_this_convoy_was_supposed_to_carry_resources_worth_%i_pp,_while_%s_has_only_%i_pp._amount_of_pp_carried_"
        "by_convoy_has_been_set_to_%i._",
        convoy.value, owner.name, had, had);
    convoy.value = had;
    result.cargoText = TextOf("resources_(%i_pp)", convoy.value);
  }

  // What the convoy needs.
  int needed = 0;
  const std::vector<cCity*>* group = nullptr;
  if (supplies) {
    const std::wstring noUnits = LangText(ConvoyRefusalKey(eConvoyRefusal::kNoUnitsToSupply));
    group = GroupOf(groups, convoy.destination);
    if (!group) {
      // The supply pass found no land around the destination: nobody can
      // use what would arrive.
      LogLine(L" City %s has not been found in any city group while determining supply convoy cost. Country id=%i. "
              L"Report this as a bug.",
              convoy.destination->GetName(), owner.id);
      return refuse(eConvoyRefusal::kNoUnitsToSupply, details + noUnits);
    }
    float cost = 0.0f;
    for (const sConvoySupplyDraw& draw : draws) {
      if (!draw.unit || draw.unit->countryId != owner.id || !draw.city) continue;
      if (std::find(group->begin(), group->end(), draw.city) == group->end()) continue;
      ++convoy.suppliedUnits;
      const int type = draw.unit->type;
      if (type >= 0 && type < kLandTypes) cost += factors[static_cast<std::size_t>(type)];
    }
    convoy.supplyCost = cost;
    if (convoy.suppliedUnits == 0) return refuse(eConvoyRefusal::kNoUnitsToSupply, details + noUnits);
    result.cargoText = TextOf("supply_for_%i_units", convoy.suppliedUnits);
    needed = std::max(1, std::min(static_cast<int>(cost), convoy.value));
  } else {
    needed = std::max(1, static_cast<int>(factors[kPointsPerProductionFactor] * static_cast<float>(convoy.value)));
  }
  result.stpNeeded = needed;

  // The sea transport points it takes.
  int sent = needed;
  const int free = owner.seaTransportPoints;
  if (free <= 0) {
    return refuse(eConvoyRefusal::kNoTransportPoints,
                  details + RefusalText(world, convoy, eConvoyRefusal::kNoTransportPoints));
  }
  if (free < needed) {
    if (!supplies) {
      const char* key = ConvoyRefusalKey(eConvoyRefusal::kTooFewTransportPoints);
      return refuse(eConvoyRefusal::kTooFewTransportPoints, details + TextOf(key, owner.name, free, needed));
    }
    sent = free;
    details += TextOf(
        "warning:_%s_doesn't_have_enough_sea_transport_points_to_carry_all_needed_supplies_(%i_available,_%i_needed)._"
        "all_available_sea_transport_points_have_been_used._",
        owner.name, free, needed);
  }
  // The points sail with the convoy and come back when the country's
  // convoys next set out.
  owner.seaTransportPoints -= sent;
  owner.seaTransportPointsInConvoys += sent;
  result.stpSent = sent;

  // The route and its raids.
  details += LangText("convoy_route:_");
  sConvoyVoyage voyage;
  voyage.stpCarried = sent;
  const std::vector<int> route = SeaRoute(world, convoy);
  for (std::size_t i = 0; i < route.size(); ++i) {
    ResolveConvoyAttacks(world, owner.id, route[i], voyage, i + 1 == route.size());
  }
  details += voyage.routeText;
  const int lost = std::min(voyage.stpLost, sent);
  result.stpLost = lost;

  if (lost >= sent) {
    details += LangText("convoy_was_destroyed_and_did_not_reach_its_destination._");
    result.resultText = LangText("failure");
    result.detailsText = details;
    return eConvoyRefusal::kNone;
  }
  result.resultText = LangText(lost == 0 ? "success" : "partial_success");
  if (!supplies) {
    const int delivered = (sent - lost) * convoy.value / sent;
    const int collectorId = ControllerOf(convoy.destination);
    cCountry* collector = world.GetCountry(collectorId);
    owner.AddProductionPoints(-static_cast<double>(convoy.value));
    if (collector) collector->AddProductionPoints(static_cast<double>(delivered));
    details += TextOf("convoy_arrives,_carrying_resources_worth_%.1f_production_points._%s_collects_%.1f_pp._",
                      static_cast<double>(delivered), NameOf(world, collectorId), static_cast<double>(delivered));
  } else {
    const int delivered = (sent - lost) * full / needed;
    details += TextOf(
        "convoy_arrives,_carrying_supplies_worth_%i._%s_and_all_cities_with_land_connection_recieve_supply_%i_unless_"
        "their_own_supply_value_is_higher._",
        delivered, convoy.destination->GetName(), delivered);
    const auto index = static_cast<std::size_t>(owner.id - 1);
    for (cCity* city : *group) {
      if (index < city->convoyInfo.size()) city->convoyInfo[index] = 1;
      if (index >= city->supplyInfo.size()) continue;
      const int own = city->supplyInfo[index];
      if (own < delivered) {
        city->supplyInfo[index] = delivered;
        LogLine(L"%s", TextOf("%s_takes_supply_from_convoy_(%i)_because_its_own_supply_is_lower_(%i)", city->GetName(),
                       delivered, own));
      } else {
        LogLine(L"%s", TextOf("%s_does_not_take_supply_from_convoy_(%i)_because_its_own_supply_is_already_higher_(%i)",
                       city->GetName(), delivered, own));
      }
    }
  }
  result.detailsText = details;
  return eConvoyRefusal::kNone;
}

void ExecuteCountryConvoys(cWorld& world, int countryId, const ConvoyCityGroups& groups,
                           const std::vector<sConvoySupplyDraw>& draws) {
  cConvoyStore& store = world.Units().convoys;
  cCountry* country = world.GetCountry(countryId);
  std::vector<cConvoy>* convoys = store.ConvoysOf(countryId);
  std::vector<sConvoyResult>* results = store.ResultsOf(countryId);
  if (!country || !convoys || !results) return;
  LogLine(L"%s", TextOf("executing_all_convoys_for_%s", country->name));
  country->seaTransportPoints += country->seaTransportPointsInConvoys;
  country->seaTransportPointsInConvoys = 0;
  results->clear();
  for (cConvoy& convoy : *convoys) {
    sConvoyResult result;
    ExecuteConvoy(world, convoy, result, groups, draws);
    results->push_back(result);
    if (world.impulseCounters[0] > 0) AddConvoyReport(world, convoy, result);
  }
}

void ExecuteConvoys(cWorld& world) {
  std::vector<int> shown;
  LockedStep([&world, &shown] {
    for (const auto& country : world.Countries()) {
      if (!country->active || country->politicalStrength < 0 || !ShownHere(world, *country)) continue;
      const std::vector<sConvoyResult>* results = world.Units().convoys.ResultsOf(country->id);
      if (results && !results->empty()) shown.push_back(country->id);
    }
  });
  for (const int countryId : shown) {
    if (WorkerStopping(world)) return;
    // The dialog is the main thread's to make.
    bool opened = false;
    const bool asked = RunOnMainThread(
        [&world, countryId, &opened] {
          if (cWorldView* view = world.View()) opened = view->ShowConvoyResults(countryId);
        },
        world.WorkerStopFlag());
    if (!asked) return;
    // On the main thread the frames that would close the results cannot
    // run while it waits: they stay open for the player instead.
    if (!opened || IsMainThread()) continue;
    const bool closed =
        WaitWhileViewShows(world, &cWorldView::ConvoyResultsOpen, kResultsPollMs, __FILE__, __LINE__);
    if (!closed) return;
  }
}
