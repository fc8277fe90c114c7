#include "app/fatal_exit.h"

#include <cstdlib>
#include <mutex>
#include <utility>

#include "app/console_log.h"
#include "platform/framework.h"

namespace {

std::mutex g_hookMutex;
FatalExitHook g_hook;

}  // namespace

FatalExitHook SetFatalExitHook(FatalExitHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  std::swap(g_hook, hook);
  return hook;
}

void FatalExit(int exitCode) {
  FatalExitHook hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_hook;
  }
  if (hook) hook(exitCode);
  // The world under construction is not torn down here: the process ends at
  // once and nothing of it survives.
  plat::GetFramework().Shutdown(exitCode);
  std::exit(exitCode);
}

void FatalExit(std::wstring_view logLine, int exitCode) {
  g_ConsoleLog.WriteLine(logLine);
  FatalExit(exitCode);
}

cScopedThrowingFatalHook::cScopedThrowingFatalHook()
    : previous_(SetFatalExitHook([](int code) { throw sFatalExitError{code}; })) {}

cScopedThrowingFatalHook::~cScopedThrowingFatalHook() { SetFatalExitHook(std::move(previous_)); }
