// Messages the worker puts over the map for the player to read.
#pragma once

#include <string>

class cWorld;
struct sBombardmentResult;

// Shows the text over the map and waits until the player has closed it:
// the request goes to the main thread, the wait is outside the framework
// lock and ends when the worker is told to stop. Without a view, or on the
// main thread itself, it does not wait. The caller must not hold the lock.
void ShowTextAndWait(cWorld& world, const std::wstring& text, const std::wstring& title);

// Shows the computer's combat report over the map for the computer's result
// delay ("Delay/AICombatResult") and waits, outside the lock and stoppable,
// until the player or the countdown closes it. Nothing when that delay is 0
// or nothing shows the world. The caller must not hold the lock.
void ShowComputerCombatResultAndWait(cWorld& world, const sBombardmentResult& result);
