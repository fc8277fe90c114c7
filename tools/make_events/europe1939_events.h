// The scripted events of "Europe, September 1939" for 1939 to 1941: the war
// as it went, with the choices its leaders had.
#pragma once

#include <string>
#include <vector>

#include "make_events/event_script.h"
#include "make_events/scenario_geo.h"

namespace evscript {

// The event files in the order the scenario lists them (names inside the
// scenario's "events" folder).
std::vector<std::string> Europe1939EventFiles();
std::vector<Event> Europe1939Events(const ScenarioGeo& geo);

}  // namespace evscript
