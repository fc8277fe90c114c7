// The sound device over SDL2_mixer. Every voice of an effect and every
// stream owns a mixer channel of its own for its whole life, so effects,
// the playlist's tracks and a one-shot sound never take each other's
// channels. Streams are decoded whole into memory when opened (the game's
// tracks are short), which lets a playlist keep all its tracks open while
// one plays and a one-shot sound plays beside it.
#pragma once

#include <memory>
#include <string>

#include "platform/audio.h"

namespace plat::sdl {

struct MixerState;

class SdlAudioDevice final : public AudioDevice {
 public:
  SdlAudioDevice();
  // Sounds and streams still alive keep the output open until they go.
  ~SdlAudioDevice() override;
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  bool Initialize() override;
  bool SetPrimaryFormat(int channels, int samplesPerSecond, int bitsPerSample) override;
  std::unique_ptr<Sound> LoadSound(const std::string& path, int voices) override;
  std::unique_ptr<Stream> OpenStream(const std::string& path) override;

 private:
  // Opens the output with a default format when nobody chose one.
  bool EnsureOpen();

  std::shared_ptr<MixerState> state_;
};

// Mixer channel volume (0..128) for a volume in hundredths of a decibel.
int MixVolumeFromHundredthsDb(long volume);

}  // namespace plat::sdl
