// The connection to the X server lost (the server or the session ended, the
// window killed by the window system): Xlib calls its I/O error handler
// and, when that returns, exit(), whose static destructors would run while
// the program's threads still use what they destroy (a running thread's
// object aborts the process). The handler installed here calls the
// program's own end instead and never returns.
#pragma once

namespace plat::sdl {

// Called on the thread that met the loss; it should end the process (a
// handler that returns is followed by _Exit(1)). No X call may be made in it.
using DisplayLostHandler = void (*)();

// Installs handler for the X connections of the process when SDL's video
// driver is X11 and its Xlib is loaded (call once the window exists); false
// when there is nothing to install it in.
bool InstallDisplayLostHandler(DisplayLostHandler handler);

// What Xlib calls: the installed handler, then _Exit(1). Exposed for tests.
int OnDisplayConnectionLost(void* display);

}  // namespace plat::sdl
