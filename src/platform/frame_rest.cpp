#include "platform/frame_rest.h"

#include <bit>
#include <cstring>

namespace plat {

void FrameFingerprint::Add(const void* bytes, std::size_t size) {
  // Eight bytes a step, each folded in by a multiply and a shift: a frame
  // holds tens of thousands of calls, and a byte a step cost a tenth of an
  // idle window's time.
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  const auto* p = static_cast<const unsigned char*>(bytes);
  std::uint64_t h = hash_;
  while (size > 0) {
    std::uint64_t word = 0;
    const std::size_t n = size < sizeof word ? size : sizeof word;
    std::memcpy(&word, p, n);
    h = (h ^ word ^ n) * kMultiplier;
    h ^= h >> 29;
    p += n;
    size -= n;
  }
  hash_ = h;
}

void FrameRest::AfterShownFrame(std::uint64_t fingerprint, bool hadInput, bool mayRest) {
  const bool same = has_shown_ && fingerprint == shown_;
  shown_ = fingerprint;
  has_shown_ = true;
  if (hadInput || !mayRest) {
    Wake();
    has_shown_ = true;
    return;
  }
  if (resting_) return;
  constexpr unsigned kWindow = (1u << kQuietFramesBeforeRest) - 1u;
  same_frames_ = ((same_frames_ << 1) | (same ? 1u : 0u)) & kWindow;
  if (quiet_frames_ < kQuietFramesBeforeRest) ++quiet_frames_;
  resting_ = quiet_frames_ >= kQuietFramesBeforeRest &&
             2 * std::popcount(same_frames_) >= kQuietFramesBeforeRest;
}

bool FrameRest::ProbeMustBeShown(std::uint64_t fingerprint, bool hadInput, bool mayRest) {
  if (hadInput || !mayRest) {
    Wake();
    return true;
  }
  return !has_shown_ || fingerprint != shown_;
}

void FrameRest::Wake() {
  quiet_frames_ = 0;
  same_frames_ = 0;
  resting_ = false;
  has_shown_ = false;
}

}  // namespace plat
