// Pieces of the program's start-up that are worth testing on their own: the
// window title (also the menus' version line) and the failure path of the
// Unicode layer check.
#pragma once

#include <string>

// "Tidewrack v%.2f", with " [build %3i]" appended when the build number is
// not a multiple of 100.
std::wstring VersionTitle(float version, int build);

// What start-up does when the Unicode layer library cannot be loaded: logs
// the text of "unicows.dll_not_found,_cannot_start_application", writes
// "error.txt" (text mode, no line end) and ends the process at once with
// exit code 0. On Linux the library is never needed, so start-up never calls
// it; it is kept for the record and for its test.
[[noreturn]] void ExitUnicodeLayerMissing();
