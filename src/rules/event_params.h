// How an event's query or effect turns its numeric parameters into ids,
// coordinates and amounts, and looks up what they name. A script may name
// anything: every look-up is checked, and one that finds nothing writes an
// "ERR:" line naming the event, the method and its line, and gives null
// (the query then answers 0, the effect is skipped).
#pragma once

#include <string_view>

class cCountry;
class cWorld;
struct sHex;
struct sWezelGrafuMorz;

// The event and the script line a query or effect runs for.
struct sEventCall {
  int eventId = 0;
  std::wstring_view method;
  int line = 0;
};

// A parameter as a whole number, truncated toward zero; NaN gives 0 and
// values beyond the int range the nearest bound, so no conversion is
// undefined.
int EventInt(double value);

// Writes "ERR: event %i, %s (line %i): " and the problem.
void LogEventError(const sEventCall& call, std::wstring_view problem);

// The country of that id, or null after the error line.
cCountry* EventCountry(cWorld& world, double id, const sEventCall& call);
// The map cell at (x, y), or null (off the map, or no map) after the error
// line.
sHex* EventHex(cWorld& world, double x, double y, const sEventCall& call);
// The sea node of that id (1-based), or null after the error line.
sWezelGrafuMorz* EventSeaNode(cWorld& world, double id, const sEventCall& call);
// An index into a table of count entries, or -1 after the error line.
int EventIndex(double index, int count, const sEventCall& call);
