// The log: "ConsoleOut.txt" in the working folder, UTF-16LE, one line per
// call ended by CR LF. Both threads write; a busy flag (not the framework
// lock) orders them, so code that holds the lock may log.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "platform/format.h"

class cConsoleLog {
 public:
  // Creates (or empties) "ConsoleOut.txt" in the working folder.
  cConsoleLog();
  ~cConsoleLog();
  cConsoleLog(const cConsoleLog&) = delete;
  cConsoleLog& operator=(const cConsoleLog&) = delete;

  // Writes one line: the text's UTF-16 units, then CR LF. Does nothing while
  // disabled or when the file could not be created. Inside a batch of the
  // calling thread the line waits in the batch.
  void WriteLine(std::wstring_view text);
  // A batch: the lines this thread writes until the matching EndBatch are
  // written together, a burst of lines costing one system call instead of
  // one each (a very long batch is written in parts). Batches nest; the
  // outermost end writes. Only for stretches without waits, so that the
  // lines reach the file when the work that wrote them is done.
  void BeginBatch();
  void EndBatch();
  // Empties the file and starts it with the byte-order mark FF FE.
  void Restart();
  void Close();

  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool IsEnabled() const { return enabled_; }

  // For tests: closes the current file and creates path in its place; later
  // restarts recreate path.
  void RedirectTo(const std::string& path);
  const std::string& Path() const { return path_; }

  // Told the rotated file's path each time the log is rotated (a tool that
  // reads a whole game's log reads each part before the next rotation
  // replaces it). Set before the game's threads run.
  void SetRotationObserver(std::function<void(const std::string& rotatedPath)> observer) {
    rotationObserver_ = std::move(observer);
  }
  void NotifyRotated(const std::string& rotatedPath) const {
    if (rotationObserver_) rotationObserver_(rotatedPath);
  }

 private:
  void Lock();
  void Unlock();
  void OpenFile();
  // Writes the lines of this thread's open batch; the caller holds the busy
  // flag.
  void WriteBatchLocked();

  std::atomic<bool> enabled_{true};
  int fd_ = -1;
  std::string path_;
  std::function<void(const std::string&)> rotationObserver_;
};

// The program's log.
extern cConsoleLog g_ConsoleLog;

// The batch of the lines written while it lives (see BeginBatch).
class cConsoleLogBatch {
 public:
  cConsoleLogBatch() { g_ConsoleLog.BeginBatch(); }
  ~cConsoleLogBatch() { g_ConsoleLog.EndBatch(); }
  cConsoleLogBatch(const cConsoleLogBatch&) = delete;
  cConsoleLogBatch& operator=(const cConsoleLogBatch&) = delete;
};

// The last line the calling thread wrote to the log (while it was enabled;
// its first 2047 characters); empty before its first.
std::wstring LastLogLineOfThisThread();

// Keeps the last line the constructing thread writes to the log while it
// lives: a failure that ends a piece of work with a log line can be told to
// the player in the same words. Keepers nest; the innermost one keeps.
class cLastLogLine {
 public:
  cLastLogLine();
  ~cLastLogLine();
  cLastLogLine(const cLastLogLine&) = delete;
  cLastLogLine& operator=(const cLastLogLine&) = delete;

  // Empty while nothing was written.
  const std::wstring& Line() const { return line_; }

 private:
  friend class cConsoleLog;
  std::wstring line_;
  cLastLogLine* previous_;
};

// Formats a whole line with the program's formatter and writes it.
template <class... A>
void LogLine(std::wstring_view format, const A&... args) {
  if constexpr (sizeof...(A) == 0) {
    g_ConsoleLog.WriteLine(format);
  } else {
    g_ConsoleLog.WriteLine(plat::Format(format, args...));
  }
}
