// The Windows runtime's generator, one per thread.
#include "platform/rand.h"

#include <cstdint>
#include <utility>

namespace plat {
namespace {

thread_local std::uint32_t t_state = 1;
thread_local std::function<int()>* t_override = nullptr;

}  // namespace

int Rand() {
  if (t_override && *t_override) return (*t_override)();
  t_state = t_state * 214013u + 2531011u;
  return static_cast<int>((t_state >> 16) & 0x7FFF);
}

void Srand(unsigned seed) { t_state = static_cast<std::uint32_t>(seed); }

ScopedRandOverride::ScopedRandOverride(std::function<int()> source)
    : source_(std::move(source)), previous_(t_override) {
  t_override = &source_;
}

ScopedRandOverride::~ScopedRandOverride() { t_override = previous_; }

}  // namespace plat
