#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace plat::sdl {

// The audio subsystem, the open output and the table of channels in use.
// Shared by the device and everything it made, and closed by the last.
struct MixerState {
  bool subsystem = false;
  bool open = false;
  std::vector<bool> used;
  std::uint64_t plays = 0;  // stamps the order in which voices started

  ~MixerState() {
    if (open) {
      Mix_HaltChannel(-1);
      Mix_CloseAudio();
      Mix_Quit();
    }
    if (subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  int AllocateChannel() {
    auto it = std::find(used.begin(), used.end(), false);
    if (it == used.end()) {
      std::size_t grown = used.size() + 16;
      if (Mix_AllocateChannels(static_cast<int>(grown)) != static_cast<int>(grown)) return -1;
      used.resize(grown, false);
      it = used.begin() + static_cast<std::ptrdiff_t>(grown - 16);
    }
    *it = true;
    return static_cast<int>(it - used.begin());
  }

  void ReleaseChannel(int channel) {
    Mix_HaltChannel(channel);
    Mix_Volume(channel, MIX_MAX_VOLUME);
    used[static_cast<std::size_t>(channel)] = false;
  }
};

int MixVolumeFromHundredthsDb(long volume) {
  volume = std::clamp(volume, kVolumeSilent, kVolumeFull);
  double gain = std::pow(10.0, static_cast<double>(volume) / 2000.0);
  return static_cast<int>(std::lround(gain * MIX_MAX_VOLUME));
}

namespace {

class SdlSound final : public Sound {
 public:
  SdlSound(std::shared_ptr<MixerState> state, Mix_Chunk* chunk, std::vector<int> channels)
      : state_(std::move(state)), chunk_(chunk), channels_(std::move(channels)),
        started_(channels_.size(), 0) {}
  ~SdlSound() override {
    for (int c : channels_) state_->ReleaseChannel(c);
    Mix_FreeChunk(chunk_);
  }

  void Play(long volume) override { Start(volume, 0); }
  void PlayLooping(long volume) override { Start(volume, -1); }

  // loops: 0 plays once, -1 repeats until stopped.
  void Start(long volume, int loops) {
    std::size_t voice = 0;
    bool found = false;
    for (std::size_t i = 0; i < channels_.size(); ++i) {
      if (!Mix_Playing(channels_[i])) {
        voice = i;
        found = true;
        break;
      }
    }
    if (!found) {
      voice = static_cast<std::size_t>(std::min_element(started_.begin(), started_.end()) - started_.begin());
    }
    int channel = channels_[voice];
    Mix_HaltChannel(channel);
    Mix_Volume(channel, MixVolumeFromHundredthsDb(volume));
    if (Mix_PlayChannel(channel, chunk_, loops) == channel) started_[voice] = ++state_->plays;
  }

  void Stop() override {
    for (int c : channels_) Mix_HaltChannel(c);
  }

  int VoiceCount() const override { return static_cast<int>(channels_.size()); }

 private:
  std::shared_ptr<MixerState> state_;
  Mix_Chunk* chunk_;
  std::vector<int> channels_;
  std::vector<std::uint64_t> started_;
};

class SdlStream final : public Stream {
 public:
  SdlStream(std::shared_ptr<MixerState> state, Mix_Chunk* chunk, int channel)
      : state_(std::move(state)), chunk_(chunk), channel_(channel) {
    Mix_Volume(channel_, MIX_MAX_VOLUME);
  }
  ~SdlStream() override {
    state_->ReleaseChannel(channel_);
    Mix_FreeChunk(chunk_);
  }

  void Play() override {
    Mix_HaltChannel(channel_);
    Mix_PlayChannel(channel_, chunk_, 0);
  }
  void Stop() override { Mix_HaltChannel(channel_); }
  bool IsPlaying() const override { return Mix_Playing(channel_) != 0; }
  void SetVolume(float volume) override {
    volume = std::clamp(volume, 0.0f, 1.0f);
    Mix_Volume(channel_, static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
  }

 private:
  std::shared_ptr<MixerState> state_;
  Mix_Chunk* chunk_;
  int channel_;
};

}  // namespace

SdlAudioDevice::SdlAudioDevice() : state_(std::make_shared<MixerState>()) {}

SdlAudioDevice::~SdlAudioDevice() = default;

namespace {

// A machine without a sound card (or without a sound server) still plays
// the game: the output falls back to SDL's silent driver.
bool SwitchToSilentDriver() {
  const char* current = SDL_GetCurrentAudioDriver();
  if (current != nullptr && SDL_strcmp(current, "dummy") == 0) return false;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

bool SdlAudioDevice::Initialize() {
  if (state_->subsystem) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 && !SwitchToSilentDriver()) return false;
  state_->subsystem = true;
  return true;
}

bool SdlAudioDevice::SetPrimaryFormat(int channels, int samplesPerSecond, int bitsPerSample) {
  if (state_->open) return true;
  if (!Initialize()) return false;
  if (channels < 1 || channels > 2 || samplesPerSecond <= 0) return false;
  // The music shares this output, so it is mixed at 16 bits whatever the
  // effects are stored in; 8 would only add hiss.
  (void)bitsPerSample;
  Mix_Init(MIX_INIT_OGG);
  if (Mix_OpenAudio(samplesPerSecond, AUDIO_S16SYS, channels, 1024) != 0 &&
      (!SwitchToSilentDriver() || Mix_OpenAudio(samplesPerSecond, AUDIO_S16SYS, channels, 1024) != 0)) {
    return false;
  }
  state_->open = true;
  state_->used.assign(static_cast<std::size_t>(Mix_AllocateChannels(-1)), false);
  return true;
}

bool SdlAudioDevice::EnsureOpen() { return SetPrimaryFormat(1, 22050, 16); }

std::unique_ptr<Sound> SdlAudioDevice::LoadSound(const std::string& path, int voices) {
  if (voices < 1 || !EnsureOpen()) return nullptr;
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (!chunk) return nullptr;
  std::vector<int> channels;
  for (int i = 0; i < voices; ++i) {
    int c = state_->AllocateChannel();
    if (c < 0) {
      for (int got : channels) state_->ReleaseChannel(got);
      Mix_FreeChunk(chunk);
      return nullptr;
    }
    channels.push_back(c);
  }
  return std::make_unique<SdlSound>(state_, chunk, std::move(channels));
}

std::unique_ptr<Stream> SdlAudioDevice::OpenStream(const std::string& path) {
  if (!EnsureOpen()) return nullptr;
  // Mix_LoadWAV detects WAV, OGG Vorbis and the other formats the mixer
  // decodes by their content, whatever the file's extension.
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (!chunk) return nullptr;
  int channel = state_->AllocateChannel();
  if (channel < 0) {
    Mix_FreeChunk(chunk);
    return nullptr;
  }
  return std::make_unique<SdlStream>(state_, chunk, channel);
}

}  // namespace plat::sdl
