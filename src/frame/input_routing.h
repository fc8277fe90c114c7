// The window messages' switchboard: the active dialog of the dialog stack,
// the current menu and, on the map screen, the panels.
#pragma once

#include "platform/messages.h"

// Window messages: the visible active dialog first, then the current menu,
// else the map-screen panels. Always returns 0.
long MsgProc(const plat::Message& message, bool& noFurtherProcessing);

