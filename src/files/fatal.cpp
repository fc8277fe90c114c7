#include "files/fatal.h"

#include <cstdlib>
#include <mutex>
#include <utility>

#include "app/console_log.h"
#include "platform/framework.h"

namespace {

std::mutex g_hookMutex;
FilesFatalHook g_hook;

}  // namespace

FilesFatalHook SetFilesFatalHook(FilesFatalHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  std::swap(g_hook, hook);
  return hook;
}

void FilesFatalExit(int exitCode) {
  FilesFatalHook hook;
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

void FilesFatalExit(std::wstring_view logLine, int exitCode) {
  g_ConsoleLog.WriteLine(logLine);
  FilesFatalExit(exitCode);
}

cScopedThrowingFatalHook::cScopedThrowingFatalHook()
    : previous_(SetFilesFatalHook([](int code) { throw sFilesFatalError{code}; })) {}

cScopedThrowingFatalHook::~cScopedThrowingFatalHook() { SetFilesFatalHook(std::move(previous_)); }
