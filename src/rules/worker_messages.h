// Messages the worker puts over the map for the player to read.
#pragma once

#include <string>

class cWorld;

// Shows the text over the map and waits until the player has closed it:
// the request goes to the main thread, the wait is outside the framework
// lock and ends when the worker is told to stop. Without a view, or on the
// main thread itself, it does not wait. The caller must not hold the lock.
void ShowTextAndWait(cWorld& world, const std::wstring& text, const std::wstring& title);
