#include "app/music_player.h"

#include <charconv>
#include <string_view>

#include "app/console_log.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

cMusicPlayer* g_pMusicPlayer = nullptr;

namespace {

// The whole text as a whole number (spaces around it allowed); false for
// anything else, so "1.5" or "x" name no playlist.
bool ParseWholeNumber(std::string_view text, int& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool IsComment(std::string_view line) { return line.empty() || line[0] == ';' || line[0] == '#'; }

}  // namespace

cMusicPlayer::cMusicPlayer() : device_(GetAudioDevice()), volume_(g_Settings.MusicVolume) {
  ReadPlaylistTable();
}

cMusicPlayer::~cMusicPlayer() {
  if (current_track_ >= 0 && static_cast<std::size_t>(current_track_) < streams_.size()) {
    streams_[static_cast<std::size_t>(current_track_)]->Stop();
  }
  playlists_.clear();
  ReleaseStreams();
  one_shot_.reset();
}

void cMusicPlayer::ReadPlaylistTable() {
  std::string data;
  if (!plat::ReadFileBytes(plat::ResolvePath("data/Music/playlists.csv"), data)) {
    LogLine(g_StringBase.GetText("error:_could_not_open_file_data/music/playlists.csv"));
    return;
  }
  plat::LineReader reader(data);
  std::string_view line;
  while (reader.Next(line)) {
    if (IsComment(line)) continue;
    std::size_t sep = line.find(';');
    if (sep == std::string_view::npos || sep == 0 || sep == line.size() - 1) continue;
    int number = 0;
    if (!ParseWholeNumber(line.substr(0, sep), number)) continue;
    std::string path(line.substr(sep + 1));
    // A number listed twice takes the later line's file.
    playlists_[number] = path;
    LogLine(g_StringBase.GetText("playlist_%d:_%s"), number, plat::WidenBytes(path));
  }
}

void cMusicPlayer::ReleaseStreams() {
  streams_.clear();
  current_track_ = -1;
}

bool cMusicPlayer::PlayPlaylist(int number) {
  auto it = playlists_.find(number);
  if (it == playlists_.end()) return false;
  if (number == current_playlist_) return true;
  OpenPlaylistStreams(it->second);
  current_playlist_ = number;
  return true;
}

void cMusicPlayer::OpenPlaylistStreams(const std::string& path) {
  std::string data;
  bool readable = plat::ReadFileBytes(plat::ResolvePath(path), data);
  ReleaseStreams();
  if (!readable) {
    LogLine(L"Could not open playlist %hs", path);
    return;
  }
  plat::LineReader reader(data);
  std::string_view line;
  while (reader.Next(line)) {
    if (IsComment(line)) continue;
    std::string track(line);
    std::unique_ptr<plat::Stream> stream = device_ ? device_->OpenStream(plat::ResolvePath(track)) : nullptr;
    if (!stream) {
      LogLine(L"Could not open music track %hs", track);
      continue;
    }
    stream->SetVolume(volume_);
    streams_.push_back(std::move(stream));
  }
  // With no track that opened nothing plays and Update has nothing to do.
  current_track_ = PickNextTrack(-1);
  if (current_track_ >= 0) streams_[static_cast<std::size_t>(current_track_)]->Play();
}

void cMusicPlayer::Update() {
  if (current_playlist_ == kNoPlaylist || current_track_ < 0) return;
  if (streams_[static_cast<std::size_t>(current_track_)]->IsPlaying()) return;
  current_track_ = PickNextTrack(current_track_);
  streams_[static_cast<std::size_t>(current_track_)]->Play();
}

int cMusicPlayer::PickNextTrack(int current) const {
  const int n = static_cast<int>(streams_.size());
  if (n == 0) return -1;
  if (n == 1) return 0;
  // An even pick among the tracks other than current, with one draw:
  // RandomRange(0, m) gives 0 .. m-1 and m only for the draw's top value,
  // which joins m-1.
  const bool skip = current >= 0 && current < n;
  const int choices = skip ? n - 1 : n;
  int pick = RandomRange(0, choices);
  if (pick > choices - 1) pick = choices - 1;
  if (pick < 0) pick = 0;
  if (skip && pick >= current) ++pick;
  return pick;
}

void cMusicPlayer::SetVolume(float volume) {
  volume_ = volume;
  for (auto& stream : streams_) stream->SetVolume(volume);
}

void cMusicPlayer::PlayFile(const std::string& path) {
  std::unique_ptr<plat::Stream> stream = device_ ? device_->OpenStream(plat::ResolvePath(path)) : nullptr;
  // A file that does not open leaves no one-shot sound, not the old one.
  one_shot_ = std::move(stream);
  if (one_shot_) one_shot_->Play();
}

void cMusicPlayer::StopFile() {
  if (one_shot_ && one_shot_->IsPlaying()) one_shot_->Stop();
  one_shot_.reset();
}
