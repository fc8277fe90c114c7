// The price of one strength point of replacements for a land or air unit and
// the most points its country may buy now: the replacements dialog's slider
// and price, and the computer opponent's replacements.
#pragma once

class cJednostka;
class cWorld;

// Land: base strength x replacement factor of its type / 100, raised by the
// land level step per level above 1. Air: the air replacement cost of its
// type, raised by the air level step per level above 1. 0 for a unit of no
// known type.
float ReplacementPricePerPoint(const cWorld& world, cJednostka& unit);

// The strength replacements fill a unit up to: 100 for a land unit, the full
// strength of its type (consts line 14) for an air unit.
int ReplacementFullStrength(const cWorld& world, const cJednostka& unit);

// The smallest of what the country can afford (its production points / the
// price, truncated), the supply cap (land or air table by the unit's supply
// when its hex is owned by its country, else 10) and what the unit lacks of
// its full strength. Never negative; 0 with a price of 0.
int ReplacementMaximum(const cWorld& world, cJednostka& unit);
