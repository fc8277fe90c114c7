// Sound output as the game uses it: short effects that may sound several
// times at once, and streamed sounds (music tracks, one-shot sounds) that are
// played, stopped and polled. The SDL layer provides the real device; tests
// install a recording one.
#pragma once

#include <memory>
#include <string>

namespace plat {

// Volumes of effects are given in hundredths of a decibel, 0 = full,
// -10000 = silent (gain 10^(v/2000)).
constexpr long kVolumeFull = 0;
constexpr long kVolumeSilent = -10000;

// A loaded effect with a fixed number of voices.
class Sound {
 public:
  virtual ~Sound() = default;
  // Starts the effect from its beginning on a voice that is not sounding;
  // when every voice sounds, the one started longest ago starts over.
  virtual void Play(long volume) = 0;
  // The same, repeating until stopped.
  virtual void PlayLooping(long volume) { Play(volume); }
  // Silences every voice (the next Play starts from the beginning anyway).
  virtual void Stop() = 0;
  virtual int VoiceCount() const = 0;
};

// A streamed sound. It never repeats by itself.
class Stream {
 public:
  virtual ~Stream() = default;
  // Plays from the beginning (a stream that sounds starts over).
  virtual void Play() = 0;
  virtual void Stop() = 0;
  virtual bool IsPlaying() const = 0;
  // 0..1; values outside are clamped.
  virtual void SetVolume(float volume) = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Starts the sound system; false when it cannot start. Repeated calls
  // after a success return true.
  virtual bool Initialize() = 0;
  // Opens the output with the given format; false on failure. When the
  // output is already open it stays as it is and this returns true.
  virtual bool SetPrimaryFormat(int channels, int samplesPerSecond, int bitsPerSample) = 0;
  // A wave file as an effect with voices (at least 1) voices; null when the
  // file cannot be read or the output cannot be opened.
  virtual std::unique_ptr<Sound> LoadSound(const std::string& path, int voices) = 0;
  // An audio file (WAV or OGG Vorbis, detected by content); null on failure.
  virtual std::unique_ptr<Stream> OpenStream(const std::string& path) = 0;
};

}  // namespace plat
