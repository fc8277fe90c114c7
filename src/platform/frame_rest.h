// An idle window rests. After some frames in a row with no input, most of
// them drawing the same picture as the frame before, and with the
// program's leave (nothing runs that the player waits to see), the frame
// loop waits for input for up to a rest interval between frames, and the
// frames it draws then are probes: their draw calls are fingerprinted and
// compared with the picture on the screen, and only a changed picture is
// drawn and shown (or put back, when it is the picture shown before).
// Input or the program's leave taken back ends the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

// A 64-bit fingerprint of draw calls (a multiplicative hash of their values).
class FrameFingerprint {
 public:
  void Reset() { hash_ = kOffset; }
  void Add(const void* bytes, std::size_t size);
  template <class T>
  void AddValue(const T& value) {
    Add(&value, sizeof(value));
  }
  std::uint64_t Value() const { return hash_; }

 private:
  static constexpr std::uint64_t kOffset = 14695981039346656037ull;
  std::uint64_t hash_ = kOffset;
};

class FrameRest {
 public:
  // Frames in a row without input before a rest; at least half of them
  // must have drawn the picture of the frame before (a scroll never rests).
  static constexpr int kQuietFramesBeforeRest = 8;
  // The longest wait for input while resting: the map's markers change
  // their picture every 100 ms, and each change is shown within this.
  static constexpr int kRestMs = 100;

  // A frame drawn and shown: its fingerprint, whether input came before
  // it, and whether the program allows a rest now.
  void AfterShownFrame(std::uint64_t fingerprint, bool hadInput, bool mayRest);
  // A probe drawn while resting: true when its picture must be drawn and
  // shown after all (it changed, input came, or the rest is no longer
  // allowed; the last two end the rest).
  bool ProbeMustBeShown(std::uint64_t fingerprint, bool hadInput, bool mayRest);
  bool Resting() const { return resting_; }
  // The picture on the screen is gone (a device reset, a resize).
  void Wake();

 private:
  std::uint64_t shown_ = 0;
  bool has_shown_ = false;
  int quiet_frames_ = 0;
  unsigned same_frames_ = 0;  // of the quiet frames, bit i: the i-th last drew the same picture
  bool resting_ = false;
};

}  // namespace plat
