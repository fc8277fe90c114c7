// The steps of the turn flow that the worker thread runs on the world
// between the countries' turns.
#pragma once

class cWorld;

// The end of an impulse, run by the worker thread in phase 3 once every
// country has moved (realEnd true), and once when a new scenario starts.
void EndImpulse(cWorld& world, bool realEnd);
// The events check, run on the worker thread.
void CheckEvents(cWorld& world);
