// When the game's window may rest (platform/frame_rest.h): nothing goes on
// that the player waits to see. Menus, the player's own turn, the pause
// menu and a computer's combat report waiting for a click may rest; a move
// being stepped, the rest of the computer's turn, the end of an impulse, a
// glide of the view, sea battles and any request of the worker waiting for
// the main thread may not.
#pragma once

class cWorld;

bool WindowMayRest(const cWorld* world);
