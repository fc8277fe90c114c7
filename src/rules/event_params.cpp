#include "rules/event_params.h"

#include <cmath>
#include <climits>
#include <string>

#include "app/console_log.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"

int EventInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

void LogEventError(const sEventCall& call, std::wstring_view problem) {
  LogLine(L"ERR: event %i, %s (line %i): %s", call.eventId, std::wstring(call.method), call.line,
          std::wstring(problem));
}

cCountry* EventCountry(cWorld& world, double id, const sEventCall& call) {
  cCountry* country = world.GetCountry(EventInt(id));
  if (country == nullptr) LogEventError(call, plat::Format(L"no country with id %i", EventInt(id)));
  return country;
}

sHex* EventHex(cWorld& world, double x, double y, const sEventCall& call) {
  const int hx = EventInt(x);
  const int hy = EventInt(y);
  cMap& map = world.GetMap();
  if (!map.IsInside(hx, hy)) {
    LogEventError(call, plat::Format(L"hex (%i, %i) is off the map", hx, hy));
    return nullptr;
  }
  return &map.GetHex(hx, hy);
}

sWezelGrafuMorz* EventSeaNode(cWorld& world, double id, const sEventCall& call) {
  sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(EventInt(id));
  if (node == nullptr) LogEventError(call, plat::Format(L"no sea node with id %i", EventInt(id)));
  return node;
}

int EventIndex(double index, int count, const sEventCall& call) {
  const int i = EventInt(index);
  if (i < 0 || i >= count) {
    LogEventError(call, plat::Format(L"index %i outside 0..%i", i, count - 1));
    return -1;
  }
  return i;
}
