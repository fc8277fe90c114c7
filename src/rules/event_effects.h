// The effects of an applied option: ExecuteEventEffect holds the framework
// lock for one effect and runs the method its name picks. The methods come
// in three families, each in its own file: countries (event_country_effects),
// the map, units, cities and sea zones (event_map_effects), and the computer
// opponent's settings, weather areas, flags, commanders and the view
// (event_settings_effects).
#pragma once

class cWorld;
struct sEventEffect;

// Runs the effect for the event eventId. A name no family knows does
// nothing.
void ExecuteEventEffect(cWorld& world, const sEventEffect& effect, int eventId);

// Each family runs the effect when it knows the name and says whether it
// did. Called by ExecuteEventEffect with the framework lock held.
bool RunCountryEffect(cWorld& world, const sEventEffect& effect, int eventId);
bool RunMapEffect(cWorld& world, const sEventEffect& effect, int eventId);
bool RunSettingsEffect(cWorld& world, const sEventEffect& effect, int eventId);
