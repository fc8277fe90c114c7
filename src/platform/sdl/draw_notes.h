// The draw calls of a frame noted for an idle window (platform/frame_rest.h):
// each call, with the texture it draws and the version of that texture's
// texels, is folded into the frame's fingerprint, so that the same calls
// of the same textures with the same contents give the same value. While
// probing, calls are only noted: nothing is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/frame_rest.h"

namespace plat::sdl {

class DrawNotes {
 public:
  // A frame of more calls (the whole map at its farthest zoom) is not
  // noted further: noting it would cost more than drawing it, and it never
  // counts as the same picture.
  static constexpr std::size_t kMostNotedCalls = 60000;

  // A new frame: nothing noted yet.
  void Reset() {
    fingerprint_.Reset();
    count_ = 0;
  }
  std::uint64_t Fingerprint() const { return fingerprint_.Value(); }
  // While probing, the draw calls are noted and nothing is drawn or shown.
  void SetProbing(bool probing) { probing_ = probing; }
  bool Probing() const { return probing_; }
  // Whether frames drawn are noted at all (probes always are): a busy
  // window does not pay for it.
  void SetNoting(bool noting) { noting_ = noting; }
  // While held, calls are not noted one by one (the kept picture's draws:
  // the picture is noted whole when it is kept).
  void SetHeld(bool held) { held_ = held; }

  // Whether a call made now is noted.
  bool Wanted() const { return !held_ && (noting_ || probing_) && count_ < kMostNotedCalls; }
  // Notes one call: its kind, its texture (0, 0 for none) and its values,
  // packed side by side and folded in one pass.
  template <class... T>
  void Note(int call, std::uint64_t texture, std::uint64_t version, const T&... values) {
    if (!Wanted()) return;
    unsigned char packed[((sizeof call + sizeof texture + sizeof version) + ... + sizeof(T))];
    std::size_t at = 0;
    const auto put = [&](const auto& value) {
      std::memcpy(packed + at, &value, sizeof value);
      at += sizeof value;
    };
    put(call);
    put(texture);
    put(version);
    (put(values), ...);
    fingerprint_.Add(packed, at);
    if (++count_ == kMostNotedCalls) fingerprint_.AddValue(++overflows_);
  }

 private:
  FrameFingerprint fingerprint_;
  std::size_t count_ = 0;        // calls noted in this frame
  std::uint64_t overflows_ = 0;  // frames too large to note, each a new picture
  bool probing_ = false;
  bool noting_ = true;
  bool held_ = false;
};

}  // namespace plat::sdl
