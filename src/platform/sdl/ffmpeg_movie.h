// The movie decoder over FFmpeg: libavformat reads the container, libavcodec
// decodes the video stream and libswscale turns each frame into ARGB texels
// of the video's size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/movie.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace plat::sdl {

class FfmpegMovieDecoder final : public MovieDecoder {
 public:
  FfmpegMovieDecoder();
  ~FfmpegMovieDecoder() override;
  FfmpegMovieDecoder(const FfmpegMovieDecoder&) = delete;
  FfmpegMovieDecoder& operator=(const FfmpegMovieDecoder&) = delete;

  bool Open(const std::string& path) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  double Duration() const override { return duration_; }
  bool Advance(double seconds) override;
  const std::uint32_t* CurrentFrameARGB(int& pitch) const override;
  bool AtEnd() const override;

 private:
  void Close();
  // Decodes the next video frame into frame; false at the end of the stream
  // or on an error the decoder cannot go past.
  bool DecodeNext(AVFrame* frame);
  double TimeOf(const AVFrame* frame);
  bool Convert(const AVFrame* frame);

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  SwsContext* scaler_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* pending_ = nullptr;  // decoded, not yet due
  AVFrame* shown_ = nullptr;    // decoded and due
  int stream_ = -1;
  int width_ = 0;
  int height_ = 0;
  double frameTime_ = 0;  // seconds one frame stays on screen
  double duration_ = 0;
  double timeBase_ = 0;
  std::int64_t startPts_ = 0;
  double lastFrameTime_ = -1;
  double currentTime_ = 0;  // when the shown frame became due
  double pendingTime_ = 0;  // when the pending frame becomes due
  double now_ = 0;          // the time of the last Advance
  bool draining_ = false;
  bool endOfStream_ = false;
  bool havePending_ = false;
  bool haveFrame_ = false;
  std::vector<std::uint32_t> pixels_;
};

// The factory that the program installs with plat::SetMovieDecoderFactory.
std::unique_ptr<MovieDecoder> CreateFfmpegMovieDecoder();

}  // namespace plat::sdl
