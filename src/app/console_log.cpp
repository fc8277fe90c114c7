#include "app/console_log.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/text.h"

namespace {

// The process-wide busy flag that orders the writers of both threads.
std::atomic_flag g_LogBusy = ATOMIC_FLAG_INIT;

void WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) return;  // a failed write loses the line; the game goes on
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace

cConsoleLog g_ConsoleLog;

cConsoleLog::cConsoleLog() : path_("ConsoleOut.txt") { OpenFile(); }

cConsoleLog::~cConsoleLog() { Close(); }

void cConsoleLog::OpenFile() {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

void cConsoleLog::Lock() {
  while (g_LogBusy.test_and_set(std::memory_order_acquire)) plat::Sleep(25);
}

void cConsoleLog::Unlock() { g_LogBusy.clear(std::memory_order_release); }

void cConsoleLog::WriteLine(std::wstring_view text) {
  if (!enabled_) return;
  // The conversion buffer of each thread grows once and is then reused.
  thread_local std::string units;
  units.clear();
  plat::AppendUtf16LE(units, text);
  // The line and its end in one write: a line costs one system call.
  static constexpr char kCrLf[4] = {'\r', 0, '\n', 0};
  units.append(kCrLf, sizeof kCrLf);
  Lock();
  if (fd_ >= 0) WriteAll(fd_, units.data(), units.size());
  Unlock();
}

void cConsoleLog::Restart() {
  // The restart takes the writers' busy flag too, so that a line written by
  // the other thread meanwhile is neither lost nor written to a closed file.
  Lock();
  if (fd_ >= 0) ::close(fd_);
  OpenFile();
  static constexpr char kBom[2] = {'\xFF', '\xFE'};
  if (fd_ >= 0) WriteAll(fd_, kBom, sizeof kBom);
  Unlock();
}

void cConsoleLog::Close() {
  Lock();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  Unlock();
}

void cConsoleLog::RedirectTo(const std::string& path) {
  Lock();
  if (fd_ >= 0) ::close(fd_);
  path_ = path;
  OpenFile();
  Unlock();
}
