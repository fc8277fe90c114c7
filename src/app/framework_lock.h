// The framework lock that serialises the worker thread against rendering and
// input, the traced sleep, the wait for a dialog to close, and the running
// flag that switches the lock on and off.
#pragma once

#include <atomic>

class cDialog;

// True from start-up until the main loop has ended; while false the lock
// operations do nothing.
extern std::atomic<bool> g_bRunning;

void CreateFrameworkLock();
void DeleteFrameworkLock();

// file may be null (the frame render passes null and leaves no trace).
void AcquireFrameworkLock(const char* file, int line);
void ReleaseFrameworkLock(const char* file, int line);
// Holds not yet released, summed over both threads.
int GetFrameworkLockHoldCount();

// Logs "S: <file> : <line> : <ms> ms" and sleeps; the lock is not touched.
void TracedSleep(int ms, const char* file, int line);

// As TracedSleep (one trace line), but the sleep is cut into short slices
// and ends early once stop is set: false when it ended that way.
bool TracedSleepUnlessStopped(int ms, const char* file, int line, const std::atomic<bool>& stop);

// Returns once dialog is no longer on the dialog stack, polling every 100 ms
// under the framework lock. The caller must not hold the lock. With a stop
// flag, every poll also looks at it and the wait gives up (false) once it
// is set; true when the dialog has closed.
bool WaitForDialogClose(cDialog* dialog, const char* file, int line,
                        const std::atomic<bool>* stop = nullptr);
