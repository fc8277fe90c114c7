#pragma once
// What the computer opponent's source files share: whether a country is at
// war with another, and the view following a hex it acts on
// (FollowHexInView).

#include "world/country.h"
#include "world/world_view.h"

inline bool AtWar(const cCountry& country, int other) { return other > 0 && country.IsAtWarWith(other); }
