// A piece of the program's start-up worth testing on its own: the failure
// path of the Unicode layer check.
#pragma once

// What start-up does when the Unicode layer library cannot be loaded: logs
// the text of "unicows.dll_not_found,_cannot_start_application", writes
// "error.txt" (text mode, no line end) and ends the process at once with
// exit code 0. On Linux the library is never needed, so start-up never calls
// it; it is kept for the record and for its test.
[[noreturn]] void ExitUnicodeLayerMissing();
