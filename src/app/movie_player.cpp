#include "app/movie_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/console_log.h"
#include "platform/clock.h"
#include "platform/paths.h"

cMoviePlayer::cMoviePlayer() = default;
cMoviePlayer::~cMoviePlayer() = default;

bool cMoviePlayer::Open(const std::wstring& file) {
  decoder_.reset();
  texture_.reset();
  textureOwner_ = nullptr;
  running_ = frameChanged_ = false;
  playedBefore_ = 0;
  state_ = 0;

  const std::string path = plat::ResolvePath(file);
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fclose(f);
  } else {
    LogLine(L"-----Could not open video file: %ls", file);
    return false;
  }

  decoder_ = plat::CreateMovieDecoder();
  if (!decoder_ || !decoder_->Open(path) || decoder_->Width() <= 0 || decoder_->Height() <= 0) {
    decoder_.reset();
    state_ = kFailed;
    LogLine(L"-----Could not open video file: %ls", file);
    return false;
  }
  return true;
}

double cMoviePlayer::Position() const {
  if (!running_) return playedBefore_;
  return playedBefore_ + static_cast<std::uint32_t>(plat::GetTickCount() - startTick_) / 1000.0;
}

void cMoviePlayer::Poll() {
  if (running_ && decoder_ && decoder_->Advance(Position())) frameChanged_ = true;
}

void cMoviePlayer::Play() {
  if (state_ < 0 || !decoder_ || running_) return;
  startTick_ = plat::GetTickCount();
  running_ = true;
  Poll();
  int pitch = 0;
  if (!decoder_->CurrentFrameARGB(pitch) && decoder_->AtEnd()) {
    // Not a single frame could be decoded: the movie cannot run.
    running_ = false;
    state_ = kFailed;
    LogLine(L"-----Error when trying to play video");
  }
}

void cMoviePlayer::Stop() {
  if (state_ < 0 || !decoder_ || !running_) return;
  playedBefore_ = Position();
  running_ = false;
}

bool cMoviePlayer::IsPlaying() {
  if (state_ < 0 || !decoder_) return false;
  Poll();
  if (running_ && decoder_->AtEnd()) Stop();
  return running_;
}

void cMoviePlayer::Draw(plat::Renderer& renderer) {
  if (state_ < 0 || !decoder_) return;
  Poll();
  int pitch = 0;
  const std::uint32_t* frame = decoder_->CurrentFrameARGB(pitch);
  if (!frame) return;
  const int width = decoder_->Width();
  const int height = decoder_->Height();

  if (!texture_ || textureOwner_ != &renderer) {
    texture_ = renderer.CreateTexture(width, height);
    textureOwner_ = &renderer;
    frameChanged_ = true;
    if (!texture_) return;
  }
  if (frameChanged_) {
    int texPitch = 0;
    if (std::uint32_t* texels = texture_->Lock(texPitch)) {
      const int rows = std::min(height, texture_->Height());
      const int cols = std::min({width, texture_->Width(), pitch, texPitch});
      for (int y = 0; y < rows; ++y) {
        std::memcpy(texels + static_cast<size_t>(y) * texPitch, frame + static_cast<size_t>(y) * pitch,
                    static_cast<size_t>(cols) * sizeof(std::uint32_t));
      }
      texture_->Unlock();
    }
    frameChanged_ = false;
  }

  // The whole video, stretched over the whole screen.
  const float sw = static_cast<float>(renderer.ScreenWidth());
  const float sh = static_cast<float>(renderer.ScreenHeight());
  const plat::PointF corners[4] = {{0, 0}, {sw, 0}, {sw, sh}, {0, sh}};
  renderer.DrawQuad(*texture_, plat::RectI{0, 0, width, height}, corners, 0xFFFFFFFFu, 0.0f);
}
