#include "app/console_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/log_rotation.h"
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

// A batch that has grown this large is written at once.
constexpr std::size_t kBatchWriteBytes = 256 * 1024;

// The calling thread's batch: its depth and the units of its lines. Lines
// wait in it only while the depth is above 0 (the depth, trivially
// destroyed, is what the log's own end at exit may still read).
thread_local int t_batchDepth = 0;
// The keeper of this thread's last line, while one lives.
thread_local cLastLogLine* t_lastLine = nullptr;
thread_local std::string t_batchUnits;
// The last line this thread wrote while the log was enabled (its first
// kLastLineUnits - 1 characters), trivially destroyed, as a line written
// while the program ends may still reach it.
constexpr std::size_t kLastLineUnits = 2048;
thread_local wchar_t t_lastWritten[kLastLineUnits];
thread_local std::size_t t_lastWrittenLength = 0;

}  // namespace

cConsoleLog g_ConsoleLog;

cConsoleLog::cConsoleLog() : path_("ConsoleOut.txt") {
  // A rotated file of an earlier run is not this run's.
  std::remove(RotatedLogPath(path_).c_str());
  OpenFile();
}

cConsoleLog::~cConsoleLog() { Close(); }

void cConsoleLog::OpenFile() {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

void cConsoleLog::Lock() {
  while (g_LogBusy.test_and_set(std::memory_order_acquire)) plat::Sleep(25);
}

void cConsoleLog::Unlock() { g_LogBusy.clear(std::memory_order_release); }

void cConsoleLog::WriteLine(std::wstring_view text) {
  if (t_lastLine != nullptr) t_lastLine->line_.assign(text);
  if (!enabled_) return;
  t_lastWrittenLength = std::min(text.size(), kLastLineUnits - 1);
  text.copy(t_lastWritten, t_lastWrittenLength);
  static constexpr char kCrLf[4] = {'\r', 0, '\n', 0};
  if (t_batchDepth > 0) {
    plat::AppendUtf16LE(t_batchUnits, text);
    t_batchUnits.append(kCrLf, sizeof kCrLf);
    if (t_batchUnits.size() >= kBatchWriteBytes) {
      Lock();
      WriteBatchLocked();
      Unlock();
    }
    return;
  }
  // The conversion buffer of each thread grows once and is then reused.
  thread_local std::string units;
  units.clear();
  plat::AppendUtf16LE(units, text);
  // The line and its end in one write: a line costs one system call.
  units.append(kCrLf, sizeof kCrLf);
  Lock();
  if (fd_ >= 0) WriteAll(fd_, units.data(), units.size());
  Unlock();
}

void cConsoleLog::BeginBatch() { ++t_batchDepth; }

void cConsoleLog::EndBatch() {
  if (t_batchDepth <= 0 || --t_batchDepth > 0 || t_batchUnits.empty()) return;
  Lock();
  if (fd_ >= 0) WriteAll(fd_, t_batchUnits.data(), t_batchUnits.size());
  t_batchUnits.clear();
  Unlock();
}

void cConsoleLog::WriteBatchLocked() {
  if (t_batchDepth <= 0) return;
  if (fd_ >= 0) WriteAll(fd_, t_batchUnits.data(), t_batchUnits.size());
  t_batchUnits.clear();
}

void cConsoleLog::Restart() {
  // The restart takes the writers' busy flag too, so that a line written by
  // the other thread meanwhile is neither lost nor written to a closed file.
  Lock();
  WriteBatchLocked();
  if (fd_ >= 0) ::close(fd_);
  OpenFile();
  static constexpr char kBom[2] = {'\xFF', '\xFE'};
  if (fd_ >= 0) WriteAll(fd_, kBom, sizeof kBom);
  Unlock();
}

void cConsoleLog::Close() {
  Lock();
  WriteBatchLocked();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  Unlock();
}

void cConsoleLog::RedirectTo(const std::string& path) {
  Lock();
  WriteBatchLocked();
  if (fd_ >= 0) ::close(fd_);
  path_ = path;
  OpenFile();
  Unlock();
}

std::wstring LastLogLineOfThisThread() { return std::wstring(t_lastWritten, t_lastWrittenLength); }

cLastLogLine::cLastLogLine() : previous_(t_lastLine) { t_lastLine = this; }

cLastLogLine::~cLastLogLine() { t_lastLine = previous_; }
