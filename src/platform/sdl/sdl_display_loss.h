// The display lost: the connection to the X server gone (the server or the
// session ended, the window killed by the window system), or the window
// destroyed by another program, after which every request on it fails with
// a protocol error (BadWindow, BadDrawable). Xlib hands the first to its
// I/O error handler and the second to its error handler; each of its own
// ends in exit(), whose static destructors would run while the program's
// threads still use what they destroy (a running thread's object aborts the
// process). The handlers installed here call the program's own end
// instead and never return.
#pragma once

namespace plat::sdl {

// Called on the thread that met the loss; it should end the process (a
// handler that returns is followed by _Exit(1)). No X call may be made in it.
using DisplayLostHandler = void (*)();

// Installs handler as the I/O error handler and the error handler of the X
// connections of the process when SDL's video driver is X11 and its Xlib is
// loaded (call once the window exists: the error handler takes the place of
// the one SDL's video set up); false when there is nothing to install it in.
bool InstallDisplayLostHandler(DisplayLostHandler handler);

// What Xlib calls on a lost connection: the installed handler, then
// _Exit(1). Exposed for tests.
int OnDisplayConnectionLost(void* display);

}  // namespace plat::sdl
