// The real clock and the replaceable clock pointer.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace plat {
namespace {

class RealClock final : public Clock {
 public:
  constexpr RealClock() = default;
  // The monotonic clock counts from boot, like the Windows tick count.
  std::uint32_t TickCount() override {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
  }
  void Sleep(int ms) override {
    if (ms <= 0) {
      std::this_thread::yield();
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
  }
};

// Both are constant-initialised, so the clock works during static
// initialisation of other files too.
constinit RealClock g_realClock;
constinit std::atomic<Clock*> g_clock{nullptr};

}  // namespace

Clock& GetClock() {
  Clock* clock = g_clock.load(std::memory_order_acquire);
  return clock ? *clock : g_realClock;
}

void SetClock(Clock* clock) { g_clock.store(clock, std::memory_order_release); }

std::uint32_t ManualClock::TickCount() { return static_cast<std::uint32_t>(now_.load()); }

void ManualClock::Sleep(int ms) {
  calls_.fetch_add(1);
  if (ms > 0) {
    now_.fetch_add(static_cast<std::uint64_t>(ms));
    slept_.fetch_add(static_cast<std::uint64_t>(ms));
  }
}

void ManualClock::Advance(int ms) {
  if (ms > 0) now_.fetch_add(static_cast<std::uint64_t>(ms));
}

std::uint64_t ManualClock::TotalSlept() const { return slept_.load(); }

int ManualClock::SleepCalls() const { return calls_.load(); }

}  // namespace plat
