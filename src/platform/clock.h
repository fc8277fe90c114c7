// Tick counts and sleeps on a clock that tests can replace.
#pragma once

#include <atomic>
#include <cstdint>

namespace plat {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount).
  virtual std::uint32_t TickCount() = 0;
  // Blocks the calling thread for ms milliseconds (0 or less yields).
  virtual void Sleep(int ms) = 0;
};

// The clock in use: the real one unless a test installed another.
Clock& GetClock();
// Installs a clock (nullptr restores the real one). The caller keeps it alive
// while installed.
void SetClock(Clock* clock);

inline std::uint32_t GetTickCount() { return GetClock().TickCount(); }
inline void Sleep(int ms) { GetClock().Sleep(ms); }

// A clock for tests: Sleep advances the tick count at once and records the
// total slept; nothing blocks.
class ManualClock final : public Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(int ms) override;
  void Advance(int ms);
  std::uint64_t TotalSlept() const;
  int SleepCalls() const;

 private:
  // Both threads may sleep on it at once.
  std::atomic<std::uint64_t> now_{0};
  std::atomic<std::uint64_t> slept_{0};
  std::atomic<int> calls_{0};
};

}  // namespace plat
