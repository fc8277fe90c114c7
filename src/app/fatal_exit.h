// The one way the game ends the process on a fatal data error (a scenario,
// save, layout or sound file it cannot run with): the caller has written
// its log line(s), or passes one; the last of them, the reason, goes to
// stderr as well; the frame is shut down and the process ends with the
// exit code. A hook may take the exit's place: the game start's, so that a
// game that cannot load sends the player back to the scenario menu, and
// the tests', which throws, so a fatal path can be checked without ending
// the test program.
//
// The process belongs to the main thread: called on another thread, the
// fatal exit asks the main thread to end the program (it does so in its
// next frame move, hook included) and unwinds the calling thread's work by
// throwing sThreadFatalStop, which that thread's body catches and ends on.
#pragma once

#include <functional>
#include <string_view>

// Called with the exit code before the frame is shut down. A hook that
// returns lets the exit go ahead; a hook that throws takes the exit's place.
// It runs on the main thread only.
using FatalExitHook = std::function<void(int exitCode)>;

// Installs the hook (an empty one restores the real exit) and returns the
// previous one.
FatalExitHook SetFatalExitHook(FatalExitHook hook);

// Shuts the frame down and ends the process with exitCode.
[[noreturn]] void FatalExit(int exitCode = 1);
// Writes logLine to the log first.
[[noreturn]] void FatalExit(std::wstring_view logLine, int exitCode = 1);

// The end both take, on any thread, without the hook: the frame is told to
// shut down, the standard streams are flushed and the process ends at once
// with the exit code. No static destructor runs: the worker thread may
// still be alive, and a running thread's object destroyed at exit would
// abort the process. Also for a loss the program cannot go on from, such as
// its display gone.
[[noreturn]] void EndProcessAtOnce(int exitCode);

// What the test hook throws.
struct sFatalExitError {
  int exitCode = 1;
};

// What a fatal exit throws on a thread other than the main one, once the
// main thread has been asked to end the program.
struct sThreadFatalStop {
  int exitCode = 1;
};

// The hook for the scope; the previous one comes back at its end.
class cScopedFatalExitHook {
 public:
  explicit cScopedFatalExitHook(FatalExitHook hook);
  ~cScopedFatalExitHook();
  cScopedFatalExitHook(const cScopedFatalExitHook&) = delete;
  cScopedFatalExitHook& operator=(const cScopedFatalExitHook&) = delete;

 private:
  FatalExitHook previous_;
};

// For tests: for the scope, fatal exits throw sFatalExitError instead of
// ending the process.
class cScopedThrowingFatalHook : public cScopedFatalExitHook {
 public:
  cScopedThrowingFatalHook();
};
