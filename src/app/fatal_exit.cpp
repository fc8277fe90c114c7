#include "app/fatal_exit.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "app/console_log.h"
#include "app/main_thread_queue.h"
#include "platform/framework.h"
#include "platform/text.h"

namespace {

std::mutex g_hookMutex;
FatalExitHook g_hook;

// The line the fatal error wrote last, the reason, goes to the terminal the
// program was started from as well: a player who started the game there,
// and a tool's caller, see why it stopped.
void TellStderr(const std::wstring& line) {
  if (line.empty()) return;
  std::fprintf(stderr, "%s\n", plat::ToUtf8(line).c_str());
  std::fflush(stderr);
}

// The hook, else the end of the process; on the main thread.
[[noreturn]] void EndOnMainThread(int exitCode) {
  FatalExitHook hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_hook;
  }
  if (hook) hook(exitCode);
  // The world under construction is not torn down here: the process ends at
  // once and nothing of it survives. The log is written line by line
  // without a buffer.
  EndProcessAtOnce(exitCode);
}

}  // namespace

FatalExitHook SetFatalExitHook(FatalExitHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  std::swap(g_hook, hook);
  return hook;
}

void FatalExit(int exitCode) {
  TellStderr(LastLogLineOfThisThread());
  if (!IsMainThread()) {
    LogLine(L"Fatal error on a worker thread: the main thread ends the game (exit code %d)", exitCode);
    PostToMainThread([exitCode] { EndOnMainThread(exitCode); });
    throw sThreadFatalStop{exitCode};
  }
  EndOnMainThread(exitCode);
}

void EndProcessAtOnce(int exitCode) {
  plat::GetFramework().Shutdown(exitCode);
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

void FatalExit(std::wstring_view logLine, int exitCode) {
  g_ConsoleLog.WriteLine(logLine);
  FatalExit(exitCode);
}

cScopedFatalExitHook::cScopedFatalExitHook(FatalExitHook hook) : previous_(SetFatalExitHook(std::move(hook))) {}

cScopedFatalExitHook::~cScopedFatalExitHook() { SetFatalExitHook(std::move(previous_)); }

cScopedThrowingFatalHook::cScopedThrowingFatalHook()
    : cScopedFatalExitHook([](int code) { throw sFatalExitError{code}; }) {}
