// The window messages' switchboard: the active dialog of the dialog stack,
// the current menu and, on the map screen, the panels.
#pragma once

#include "platform/messages.h"

// Window messages: the visible active dialog first, then the current menu,
// else the map-screen panels. Always returns 0. Who owns a press, a key and
// the screen's top is told in input_routing.cpp.
long MsgProc(const plat::Message& message, bool& noFurtherProcessing);

// A frame was drawn at frameTime: notes what lay on top in it, which a
// press must have shown for a while to reach (the frame render calls it).
void NoteFrameDrawn(double frameTime);

