// The stack of modal dialogs: the last one is active and alone receives
// input; the frame render draws every visible one from the bottom up. The
// stack does not own the dialogs: a dialog deletes itself when it closes.
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "platform/screen_serial.h"

class cDialog;

extern std::vector<cDialog*> g_DialogStack;
// Normally the last dialog of the stack; null when the stack is empty.
extern cDialog* g_pActiveDialog;

// Inserts dialog at (size + offset), offset 0 or negative; the last element
// becomes active.
void PushDialog(cDialog* dialog, int offset = 0);
// Closes the active dialog count times; -1 closes all. Every dialog leaves
// the stack here (a countdown's close too).
void PopDialogs(int count);
// Called once a PopDialogs has taken a dialog or more off the stack. The
// map screen installs one while it exists (it tells the world, whose
// worker may wait for a dialog); returns the hook it replaces.
using DialogsClosedHook = std::function<void()>;
DialogsClosedHook SetDialogsClosedHook(DialogsClosedHook hook);
// Closes the topmost dialog with this id and every dialog above it.
void CloseDialogsDownTo(int id);
// The lowest dialog with this id, or null.
cDialog* FindDialogById(int id);
// Whether the dialog of this serial (cDialog::Serial) is on the stack.
bool IsOnDialogStack(plat::ScreenSerial serial);

// The active dialog when it exists and is shown (a hidden one gets no
// input), else null.
cDialog* VisibleActiveDialog();
