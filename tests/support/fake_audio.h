// A recording audio device for tests of the game's sound code: it keeps a
// record of every effect and stream it made (also after they are released)
// and of their plays and volumes. A file opens when it exists on disk, so
// tests choose what loads by the files they write. Header-only, so that any
// test program can use it without linking more.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "support/test_support.h"

namespace twtest {

struct FakeSoundRecord {
  std::string path;
  int voices = 0;
  std::vector<long> plays;  // the volume of each play
  std::vector<long> loops;  // the volume of each looping play
  int stops = 0;
  bool released = false;
};

struct FakeStreamRecord {
  std::string path;
  bool playing = false;  // a test sets it false to end the track
  float volume = 1.0f;
  int plays = 0;
  bool released = false;
};

class FakeAudioDevice : public plat::AudioDevice {
 public:
  bool initializeResult = true;
  bool formatResult = true;
  int formatChannels = 0, formatRate = 0, formatBits = 0;
  std::vector<std::shared_ptr<FakeSoundRecord>> sounds;
  std::vector<std::shared_ptr<FakeStreamRecord>> streams;

  bool Initialize() override { return initializeResult; }
  bool SetPrimaryFormat(int channels, int rate, int bits) override {
    formatChannels = channels;
    formatRate = rate;
    formatBits = bits;
    return formatResult;
  }
  std::unique_ptr<plat::Sound> LoadSound(const std::string& path, int voices) override {
    if (!std::filesystem::is_regular_file(path)) return nullptr;
    auto record = std::make_shared<FakeSoundRecord>();
    record->path = path;
    record->voices = voices;
    sounds.push_back(record);
    return std::make_unique<Sound>(record);
  }
  std::unique_ptr<plat::Stream> OpenStream(const std::string& path) override {
    if (!std::filesystem::is_regular_file(path)) return nullptr;
    auto record = std::make_shared<FakeStreamRecord>();
    record->path = path;
    streams.push_back(record);
    return std::make_unique<Stream>(record);
  }

  // The newest live record of a path, or null.
  std::shared_ptr<FakeStreamRecord> StreamOf(const std::string& path) const {
    for (auto it = streams.rbegin(); it != streams.rend(); ++it) {
      if ((*it)->path == path && !(*it)->released) return *it;
    }
    return nullptr;
  }
  std::shared_ptr<FakeSoundRecord> SoundOf(const std::string& path) const {
    for (auto it = sounds.rbegin(); it != sounds.rend(); ++it) {
      if ((*it)->path == path && !(*it)->released) return *it;
    }
    return nullptr;
  }
  // The live streams that are playing.
  int PlayingStreams() const {
    int n = 0;
    for (const auto& s : streams) n += (!s->released && s->playing) ? 1 : 0;
    return n;
  }

 private:
  class Sound : public plat::Sound {
   public:
    explicit Sound(std::shared_ptr<FakeSoundRecord> r) : r_(std::move(r)) {}
    ~Sound() override { r_->released = true; }
    void Play(long volume) override { r_->plays.push_back(volume); }
    void PlayLooping(long volume) override { r_->loops.push_back(volume); }
    void Stop() override { ++r_->stops; }
    int VoiceCount() const override { return r_->voices; }

   private:
    std::shared_ptr<FakeSoundRecord> r_;
  };
  class Stream : public plat::Stream {
   public:
    explicit Stream(std::shared_ptr<FakeStreamRecord> r) : r_(std::move(r)) {}
    ~Stream() override {
      r_->playing = false;
      r_->released = true;
    }
    void Play() override {
      r_->playing = true;
      ++r_->plays;
    }
    void Stop() override { r_->playing = false; }
    bool IsPlaying() const override { return r_->playing; }
    void SetVolume(float volume) override { r_->volume = volume; }

   private:
    std::shared_ptr<FakeStreamRecord> r_;
  };
};

}  // namespace twtest
