#include "app/log_rotation.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/console_log.h"

std::string RotatedLogPath(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".1";
  return path.substr(0, dot) + ".1" + path.substr(dot);
}

bool RotateLogIfLarger(cConsoleLog& log, std::uint64_t limitBytes) {
  if (!log.IsEnabled()) return false;
  struct stat info {};
  if (::stat(log.Path().c_str(), &info) != 0 || static_cast<std::uint64_t>(info.st_size) <= limitBytes) {
    return false;
  }
  // The open file is renamed under the writers: what they write until the
  // restart still reaches it. The restart writes the batch of this thread,
  // closes it and begins a new file under the log's own name.
  const std::string rotated = RotatedLogPath(log.Path());
  if (std::rename(log.Path().c_str(), rotated.c_str()) != 0) return false;
  log.Restart();
  log.NotifyRotated(rotated);
  return true;
}
