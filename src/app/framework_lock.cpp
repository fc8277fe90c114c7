#include "app/framework_lock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/console_log.h"
#include "platform/clock.h"
#include "platform/critical_section.h"
#include "platform/text.h"

std::atomic<bool> g_bRunning{false};

namespace {

// Created and deleted by the start-up and shutdown code while only the main
// thread runs; the hold count only feeds the "release without hold" check.
std::unique_ptr<plat::CriticalSection> g_pFrameworkLock;
std::atomic<int> g_FrameworkLockHolds{0};
// The holds of the calling thread, for the suspension around a join.
thread_local int t_FrameworkLockHolds = 0;
// Threads blocked in AcquireFrameworkLock.
std::atomic<int> g_FrameworkLockWaiters{0};

// Longest sleep the game makes on purpose; anything longer smells of a hang.
constexpr int kLongSleepMs = 11000;
// The file name of a sleep trace is cut to this many units.
constexpr std::size_t kSleepFileUnits = 256;
// How long a stoppable sleep goes without looking at its stop flag.
constexpr int kStopSliceMs = 5;

}  // namespace

void CreateFrameworkLock() { g_pFrameworkLock = std::make_unique<plat::CriticalSection>(); }

void DeleteFrameworkLock() { g_pFrameworkLock.reset(); }

void AcquireFrameworkLock(const char* file, int line) {
  if (!g_bRunning.load()) return;
  if (file != nullptr) LogLine(L"AC:%s:%d", plat::WidenBytes(file), line);
  if (g_pFrameworkLock) {
    ++g_FrameworkLockWaiters;
    g_pFrameworkLock->Enter();
    --g_FrameworkLockWaiters;
  }
  ++g_FrameworkLockHolds;
  ++t_FrameworkLockHolds;
}

void GuardFrameWithFrameworkLock(bool begin) {
  constexpr int kHandOverMs = 20;
  if (begin) {
    LetFrameworkLockWaitersIn(kHandOverMs);
    AcquireFrameworkLock(nullptr, 0);
  } else {
    ReleaseFrameworkLock(nullptr, 0);
  }
}

void LetFrameworkLockWaitersIn(int maxMs) {
  // The lock is not fair: a thread that lets go and takes it again at once
  // keeps it. Wait (in short real sleeps) until the waiters have had it.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
  while (g_FrameworkLockWaiters.load() > 0 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

void ReleaseFrameworkLock(const char* file, int line) {
  if (!g_bRunning.load()) return;
  if (file != nullptr) LogLine(L"RC:%s:%d", plat::WidenBytes(file), line);
  if (g_FrameworkLockHolds.load() < 1) {
    LogLine(L"LCS przy C<=0");
    return;
  }
  if (t_FrameworkLockHolds < 1) {
    LogLine(L"LCS przy C<=0");
    return;
  }
  --g_FrameworkLockHolds;
  --t_FrameworkLockHolds;
  if (g_pFrameworkLock) g_pFrameworkLock->Leave();
}

int GetFrameworkLockHoldsOfThisThread() { return t_FrameworkLockHolds; }

void FailUnlessFrameworkLockHeld(const char* file, int line) {
  if (!g_bRunning.load() || t_FrameworkLockHolds > 0) return;
  LogLine(L"ERROR: the world changed without the framework lock at %s:%d", plat::WidenBytes(file), line);
  std::fprintf(stderr, "the world changed without the framework lock at %s:%d\n", file, line);
  std::abort();
}

cFrameworkLockSuspension::cFrameworkLockSuspension() {
  holds_ = t_FrameworkLockHolds;
  for (int i = 0; i < holds_; ++i) ReleaseFrameworkLock(nullptr, 0);
}

cFrameworkLockSuspension::~cFrameworkLockSuspension() {
  for (int i = 0; i < holds_; ++i) AcquireFrameworkLock(nullptr, 0);
}

int GetFrameworkLockHoldCount() { return g_FrameworkLockHolds.load(); }

int GetFrameworkLockWaiterCount() { return g_FrameworkLockWaiters.load(); }

namespace {

void LogSleepTrace(int ms, const char* file, int line) {
  if (ms > kLongSleepMs) {
    // The warning keeps the two units that stand where one Polish letter was
    // meant, exactly as the line has always been written.
    static const wchar_t kWarning[] = {L'O', L'j', L' ', L'c', L'h', L'y', L'b', L'a', L' ', L'b',
                                       0x00C4, 0x2122, L'd', L'z', L'i', L'e', L' ', L'z', L'w',
                                       L'i', L's', 0};
    LogLine(kWarning);
  }
  std::wstring name = plat::WidenOem(file != nullptr ? std::string_view(file) : std::string_view());
  if (name.size() > kSleepFileUnits) name.resize(kSleepFileUnits);
  LogLine(L"S: %s : %d : %d ms", name, line, ms);
}

// Sleeps ms in short slices, giving up as soon as stop is set, so a waiting
// thread answers a stop request within a slice.
bool SleepUnlessStopped(int ms, const std::atomic<bool>& stop) {
  while (ms > 0) {
    if (stop.load()) return false;
    const int slice = ms < kStopSliceMs ? ms : kStopSliceMs;
    plat::Sleep(slice);
    ms -= slice;
  }
  return !stop.load();
}

}  // namespace

void TracedSleep(int ms, const char* file, int line) {
  LogSleepTrace(ms, file, line);
  plat::Sleep(ms);
}

bool TracedSleepUnlessStopped(int ms, const char* file, int line, const std::atomic<bool>& stop) {
  if (stop.load()) return false;
  LogSleepTrace(ms, file, line);
  return SleepUnlessStopped(ms, stop);
}

bool TracedWaitUntil(int ms, const char* file, int line, const std::atomic<bool>* stop,
                     const std::function<bool(int leftMs)>& wait) {
  if (stop != nullptr && stop->load()) return false;
  LogSleepTrace(ms, file, line);
  // By the clock: a wait may end early without its event (a wake that
  // turned out to be for nothing).
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    if (wait(static_cast<int>(left))) break;
    if (stop != nullptr && stop->load()) return false;
  }
  return stop == nullptr || !stop->load();
}

bool TracedSleepUntil(int ms, const char* file, int line, const std::atomic<bool>* stop,
                      const std::function<bool()>& over) {
  if (stop != nullptr && stop->load()) return false;
  LogSleepTrace(ms, file, line);
  while (ms > 0 && !over()) {
    if (stop != nullptr && stop->load()) return false;
    plat::Sleep(1);
    --ms;
  }
  return stop == nullptr || !stop->load();
}
