// Background music in playlists, and single long sounds (the credits
// music). "data/Music/playlists.csv" maps playlist numbers to playlist files;
// a playlist file lists audio files, one a line. All tracks of the current
// playlist are open at once, one plays, and when it ends another is picked
// at random, never the same one twice in a row (a single track repeats).
// Playlist numbers: a country's id, or -1 for the general playlist.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"

class cMusicPlayer {
 public:
  static constexpr int kNoPlaylist = -2;

  // Uses the audio device installed with SetAudioDevice (sound.h) and starts
  // at the music volume of the settings. Reads the playlist table.
  cMusicPlayer();
  ~cMusicPlayer();
  cMusicPlayer(const cMusicPlayer&) = delete;
  cMusicPlayer& operator=(const cMusicPlayer&) = delete;

  // False when the number has no playlist; true without any change when it
  // is the current one; otherwise opens its tracks, plays one and returns
  // true.
  bool PlayPlaylist(int number);
  // Replaces the open tracks by those of the playlist file and plays one.
  void OpenPlaylistStreams(const std::string& path);
  // Every frame: when the current track has ended, plays the next.
  void Update();
  // A random track index other than current (0 with one track, -1 with none).
  int PickNextTrack(int current) const;
  // Stores the volume and gives it to every track of the playlist.
  void SetVolume(float volume);

  // Plays an audio file beside the music, replacing an earlier one-shot
  // sound; a file that cannot be opened is not played.
  void PlayFile(const std::string& path);
  void StopFile();

  // Observers.
  int CurrentTrack() const { return current_track_; }
  int CurrentPlaylist() const { return current_playlist_; }
  std::size_t TrackCount() const { return streams_.size(); }

 private:
  void ReadPlaylistTable();
  void ReleaseStreams();

  plat::AudioDevice* device_;
  std::vector<std::unique_ptr<plat::Stream>> streams_;
  int current_track_ = -1;
  float volume_;
  std::map<int, std::string> playlists_;
  int current_playlist_ = kNoPlaylist;
  std::unique_ptr<plat::Stream> one_shot_;
};

// The music player of the loaded game; null when there is none.
extern cMusicPlayer* g_pMusicPlayer;
