// Plays one video file in the game window. The intro and credits screens make
// a player per movie, open and play it, poll IsPlaying every frame (drawing it
// with Draw) until it turns false or the player skips, then stop it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/movie.h"
#include "platform/render.h"

class cMoviePlayer {
 public:
  cMoviePlayer();
  ~cMoviePlayer();
  cMoviePlayer(const cMoviePlayer&) = delete;
  cMoviePlayer& operator=(const cMoviePlayer&) = delete;

  // Opens the file with a decoder from plat::CreateMovieDecoder. A missing or
  // unplayable file is logged and gives false; the player then never plays.
  bool Open(const std::wstring& file);
  // Starts (or resumes) the movie clock; the movie runs on plat::GetTickCount.
  void Play();
  void Stop();
  // Decodes up to the frame that is due; false once the movie has ended, was
  // stopped, or never opened.
  bool IsPlaying();
  // Draws the current frame stretched over the renderer's whole screen (call
  // between BeginScene and EndScene). Nothing is drawn before the first frame.
  void Draw(plat::Renderer& renderer);

  // The texture the frames are copied into; null before the first Draw.
  const plat::Texture* FrameTexture() const { return texture_.get(); }

 private:
  static constexpr long kFailed = -1;

  void Poll();
  double Position() const;

  long state_ = 0;  // negative after a failure
  std::unique_ptr<plat::MovieDecoder> decoder_;
  std::unique_ptr<plat::Texture> texture_;
  const plat::Renderer* textureOwner_ = nullptr;
  bool running_ = false;
  bool frameChanged_ = false;
  std::uint32_t startTick_ = 0;  // tick count when the clock last started
  double playedBefore_ = 0;      // seconds played before that
};
