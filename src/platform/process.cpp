#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace plat {

bool IsOtherProcessRunning(long long pid) {
  if (pid <= 0 || pid > 0x7fffffff || pid == static_cast<long long>(::getpid())) return false;
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno == EPERM;
}

}  // namespace plat
