// The events check's parts: the date range, the condition tree, the search
// for the next event to fire and the application of an option.
#pragma once

#include <unordered_set>

class cWorld;
struct sEvent;
struct sEventCondition;
struct sEventExpression;

// Whether the world's date lies in the event's range (bounds included; a
// bound whose day is unset is absent).
bool IsInDateRange(const cWorld& world, const sEvent& event);
// An empty node holds; an "and" node stops at its first false expression or
// child, an "or" node at its first true one (expressions before children).
bool EvaluateCondition(cWorld& world, const sEventCondition& condition, int eventId);
// Validates the expression again (an invalid one ends the program), then
// compares the left operand's value with the right one's, in that order.
bool EvaluateExpression(cWorld& world, const sEventExpression& expression, int eventId);
// One search over the world's events, leaving out the events whose ids are
// in spent (events that have fired as often as one events check allows);
// the event found is copied into the manager's firedEvent. False when none
// fires.
bool FindEventToFire(cWorld& world, const std::unordered_set<int>& spent = {});
// Empties the manager's messages and runs the option's effects in order;
// false (nothing run) when number is not an option's (1-based).
bool ApplyOption(cWorld& world, const sEvent& event, int number);
