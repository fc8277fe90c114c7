// The map family's name table and its effects on hexes, cities, ports,
// convoys and areas of the map.
#include "rules/event_map_effects.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "platform/format.h"
#include "rules/event_effects.h"
#include "rules/hex_control.h"
#include "rules/rule_helpers.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// Fortification levels run 0 to 9; ports 1 to 9 (what the sea-node file
// holds and the port marker shows); city types 0 to 4; convoys carry
// supplies (0) or production points (1); sides are 1 to 4.
constexpr int kMaxFortLevel = 9;
constexpr int kMaxPortSize = 9;
constexpr int kCityTypeCount = 5;
constexpr int kConvoyTypeCount = 2;
constexpr int kSideCount = 4;


// The city on the hex at (x, y), or null after the error line.
cCity* EventCity(cWorld& world, double x, double y, const sEventCall& call) {
  sHex* hex = EventHex(world, x, y, call);
  if (hex == nullptr) return nullptr;
  if (hex->city == nullptr) {
    LogEventError(call, plat::Format(L"no city on hex (%i, %i)", EventInt(x), EventInt(y)));
  }
  return hex->city;
}

// A port city on (x, y) that a convoy can sail from or to (its hex belongs
// to a sea node), or null after the error line.
cCity* EventConvoyPort(cWorld& world, double x, double y, const sEventCall& call) {
  cCity* city = EventCity(world, x, y, call);
  if (city == nullptr) return nullptr;
  if (!city->IsPort() || ConvoySeaNodeOfCity(world, city) < 0) {
    LogEventError(call, plat::Format(L"the city on hex (%i, %i) is no port", EventInt(x), EventInt(y)));
    return nullptr;
  }
  return city;
}

// The port node of that id, or null after the error line.
sWezelGrafuMorz* EventPort(cWorld& world, double id, const sEventCall& call) {
  sWezelGrafuMorz* node = EventSeaNode(world, id, call);
  if (node != nullptr && node->IsSeaZone()) {
    LogEventError(call, plat::Format(L"sea node %i is no port", node->id));
    return nullptr;
  }
  return node;
}

// --- hexes ---

void SetFortLevel(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr) return;
  const int level = EventIndex(P(effect, 2), kMaxFortLevel + 1, call);
  if (level < 0) return;
  hex->fortification = static_cast<std::uint8_t>(level);
  ShowMapChange(false);
}

void ChangeFortLevel(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr) return;
  const int level = EventInt(hex->fortification + P(effect, 2));
  hex->fortification = static_cast<std::uint8_t>(std::clamp(level, 0, kMaxFortLevel));
  ShowMapChange(false);
}

void ChangeStripe(cWorld& world, const sEventEffect& effect, const sEventCall& call, bool originalOwnerToo) {
  const cCountry* country = EventCountry(world, P(effect, 3), call);
  if (country == nullptr) return;
  const int x = EventInt(P(effect, 0));
  const int firstY = EventInt(P(effect, 1));
  const int count = EventInt(P(effect, 2));
  // The stripe operation checks the stripe against the map and logs its
  // own error line.
  const bool changed = originalOwnerToo
                           ? ChangeHexStripeControllerOwnerAndOriginalOwner(world, x, firstY, count, country->id)
                           : ChangeHexStripeControllerAndOwner(world, x, firstY, count, country->id);
  if (changed) ShowMapChange(true);
}

void ChangeStripeControllerAndOwner(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  ChangeStripe(world, effect, call, false);
}

void ChangeStripeControllerOwnerAndOriginalOwner(cWorld& world, const sEventEffect& effect,
                                                 const sEventCall& call) {
  ChangeStripe(world, effect, call, true);
}

void ChangeEffectivenessInArea(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  if (EventHex(world, P(effect, 0), P(effect, 1), call) == nullptr) return;
  if (EventHex(world, P(effect, 2), P(effect, 3), call) == nullptr) return;
  const int side = EventInt(P(effect, 4));
  if (side < 1 || side > kSideCount) {
    LogEventError(call, plat::Format(L"side %i outside 1..%i", side, kSideCount));
    return;
  }
  AddEventEffectInArea(world, EventInt(P(effect, 0)), EventInt(P(effect, 1)), EventInt(P(effect, 2)),
                       EventInt(P(effect, 3)), side, EventInt(P(effect, 5)));
}

// --- cities ---

void SetCityProduction(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  cCity* city = EventCity(world, P(effect, 0), P(effect, 1), call);
  if (city == nullptr) return;
  city->productionPoints = static_cast<float>(P(effect, 2));
  ShowMapChange(false);
}

void ChangeCityProduction(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  cCity* city = EventCity(world, P(effect, 0), P(effect, 1), call);
  if (city == nullptr) return;
  city->productionPoints = static_cast<float>(city->productionPoints + P(effect, 2));
  ShowMapChange(false);
}

void SetCityType(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  cCity* city = EventCity(world, P(effect, 0), P(effect, 1), call);
  if (city == nullptr) return;
  const int type = EventIndex(P(effect, 2), kCityTypeCount, call);
  if (type < 0) return;
  // A port city needs a sea node on its hex: a game holding a port without
  // one could not be loaded again.
  const bool port = type == kCitySupplyPort || type == kCityPort;
  if (port && world.GetMap().GetHex(EventInt(P(effect, 0)), EventInt(P(effect, 1))).seaNode == 0) {
    LogEventError(call, L"no sea node on the city's hex for a port");
    return;
  }
  city->type = type;
  ShowMapChange(false);
}

// --- ports ---

// The current size of a port, kept within 1 and the largest size a port
// has; a port set above its own maximum grows to that size for good.
void StorePortSize(sWezelGrafuMorz& node, double size) {
  node.size = std::clamp(EventInt(size), 1, kMaxPortSize);
  node.maxSize = std::max(node.maxSize, node.size);
}

void SetPortSize(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = EventPort(world, P(effect, 0), call);
  if (node == nullptr) return;
  StorePortSize(*node, P(effect, 1));
}

void ChangePortSize(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = EventPort(world, P(effect, 0), call);
  if (node == nullptr) return;
  StorePortSize(*node, node->size + P(effect, 1));
}

// --- convoys ---

void AddConvoy(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = EventCountry(world, P(effect, 0), call);
  if (country == nullptr) return;
  const int type = EventIndex(P(effect, 1), kConvoyTypeCount, call);
  if (type < 0) return;
  const int value = EventInt(P(effect, 2));
  if (value < 0) {
    LogEventError(call, plat::Format(L"a convoy of value %i", value));
    return;
  }
  const cCity* departure = EventConvoyPort(world, P(effect, 3), P(effect, 4), call);
  if (departure == nullptr) return;
  const cCity* destination = EventConvoyPort(world, P(effect, 5), P(effect, 6), call);
  if (destination == nullptr) return;
  world.Units().convoys.AddConvoy(world, country->id, type, value, departure->x, departure->y, destination->x,
                                  destination->y);
}

void RemoveConvoy(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = EventCountry(world, P(effect, 0), call);
  if (country == nullptr) return;
  const int type = EventIndex(P(effect, 1), kConvoyTypeCount, call);
  if (type < 0) return;
  const cCity* departure = EventCity(world, P(effect, 2), P(effect, 3), call);
  if (departure == nullptr) return;
  const cCity* destination = EventCity(world, P(effect, 4), P(effect, 5), call);
  if (destination == nullptr) return;
  world.Units().convoys.RemoveConvoys(world, country->id, type, departure->x, departure->y, destination->x,
                                      destination->y);
}

const std::unordered_map<std::wstring_view, MapEffectFn>& MapEffects() {
  static const std::unordered_map<std::wstring_view, MapEffectFn> effects = {
      {L"Hex.AddLandUnit", AddLandUnit},
      {L"Hex.AddUnitAndPassControlOverHexIfEmpty", AddLandUnitAndTakeHex},
      // The name the method table also accepts for the same effect.
      {L"Hex.AddLandUnitAndPassControlOverHexIfEmpty", AddLandUnitAndTakeHex},
      {L"City.FirePartisans", FirePartisans},
      {L"Hex.AddAirUnit", AddAirUnit},
      {L"Hex.AddNavalUnit", AddShipToReserve},
      {L"Hex.AddMulberry", AddHarbour},
      {L"Hex.KillUnit", KillUnitOnHex},
      {L"Hex.SetFortLevel", SetFortLevel},
      {L"Hex.ChangeFortLevel", ChangeFortLevel},
      {L"HexStripe.ChangeControllerAndOwner", ChangeStripeControllerAndOwner},
      {L"HexStripe.ChangeControllerOwnerAndOriginalOwner", ChangeStripeControllerOwnerAndOriginalOwner},
      {L"Unit.Teleport", TeleportUnit},
      {L"Unit.Freeze", FreezeUnit},
      {L"Unit.FreezeIfOwnedByCountry", FreezeUnitOfCountry},
      {L"Unit.Unfreeze", UnfreezeUnit},
      {L"Unit.Remove", RemoveUnit},
      {L"City.SetProductionPoints", SetCityProduction},
      {L"City.ChangeProductionPoints", ChangeCityProduction},
      {L"City.SetType", SetCityType},
      {L"Port.SetSize", SetPortSize},
      {L"Port.ChangeSize", ChangePortSize},
      {L"Country.AddConvoy", AddConvoy},
      {L"Country.RemoveConvoy", RemoveConvoy},
      {L"Area.ChangeEffectivityOfAllUnits", ChangeEffectivenessInArea},
      {L"Country.DamageRandomShipsInSeaZone", DamageShipsInSeaZone},
      {L"SeaNode.AddLandUnit", AddLandUnitAtSea},
      {L"SeaNode.AddLandingLandUnit", AddLandingLandUnit},
      {L"SeaNode.AddNavalUnit", AddShipAtSeaNode},
  };
  return effects;
}

}  // namespace

void ShowMapChange(bool controlChanged) {
  ChangeWorldView([](cWorldView& view) { view.RefreshSelection(); });
  // The minimap's ownership layer is a picture the main thread keeps.
  if (controlChanged) ChangeWorldView([](cWorldView& view) { view.RefreshMinimapOwnership(); });
}

bool RunMapEffect(cWorld& world, const sEventEffect& effect, int eventId) {
  const auto& effects = MapEffects();
  const auto found = effects.find(effect.method);
  if (found == effects.end()) return false;
  found->second(world, effect, sEventCall{eventId, effect.method, effect.line});
  return true;
}
