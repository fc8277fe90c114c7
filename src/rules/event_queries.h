// The query methods of event conditions: an operand is a constant or a call
// that reads the game (countries, relations, hexes, flags, the computer's
// settings, a random number). Every result is a double; truth is 1 or 0.
#pragma once

class cWorld;
struct sEventOperand;

// The operand's value for the event eventId: its constant when given, else
// its method's result (0 when what the method names does not exist).
double EvaluateOperand(cWorld& world, const sEventOperand& operand, int eventId);
