#include "platform/sdl/ffmpeg_movie.h"

#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace plat::sdl {

namespace {
// Frames larger than this are refused: no movie of ours comes near it, and a
// damaged header must not make us allocate gigabytes.
constexpr int kMaxSide = 8192;
constexpr double kDefaultFrameRate = 25.0;
// A time stamp that jumps further than this (or backwards) is taken as
// damaged; the frame then follows its predecessor at the frame rate, so a bad
// file can neither freeze the picture nor end the movie early.
constexpr double kMaxGap = 5.0;

double ValidRate(AVRational r) {
  if (r.num <= 0 || r.den <= 0) return 0;
  double v = av_q2d(r);
  return (v >= 1.0 && v <= 240.0) ? v : 0;
}
}  // namespace

FfmpegMovieDecoder::FfmpegMovieDecoder() = default;

FfmpegMovieDecoder::~FfmpegMovieDecoder() { Close(); }

void FfmpegMovieDecoder::Close() {
  if (scaler_) sws_freeContext(scaler_);
  scaler_ = nullptr;
  av_frame_free(&pending_);
  av_frame_free(&shown_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  if (format_) avformat_close_input(&format_);
  stream_ = -1;
  width_ = height_ = 0;
  frameTime_ = duration_ = timeBase_ = 0;
  startPts_ = 0;
  lastFrameTime_ = -1;
  currentTime_ = now_ = pendingTime_ = 0;
  draining_ = endOfStream_ = havePending_ = haveFrame_ = false;
  pixels_.clear();
}

bool FfmpegMovieDecoder::Open(const std::string& path) {
  Close();
  static const bool quiet = [] {
    av_log_set_level(AV_LOG_FATAL);
    return true;
  }();
  (void)quiet;

  if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) < 0) {
    format_ = nullptr;
    return false;
  }
  const AVCodec* decoder = nullptr;
  if (avformat_find_stream_info(format_, nullptr) < 0 ||
      (stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)) < 0 || !decoder) {
    Close();
    return false;
  }
  AVStream* stream = format_->streams[stream_];
  codec_ = avcodec_alloc_context3(decoder);
  if (!codec_ || avcodec_parameters_to_context(codec_, stream->codecpar) < 0 ||
      avcodec_open2(codec_, decoder, nullptr) < 0) {
    Close();
    return false;
  }
  if (codec_->width <= 0 || codec_->height <= 0 || codec_->width > kMaxSide || codec_->height > kMaxSide) {
    Close();
    return false;
  }
  packet_ = av_packet_alloc();
  pending_ = av_frame_alloc();
  shown_ = av_frame_alloc();
  if (!packet_ || !pending_ || !shown_) {
    Close();
    return false;
  }
  width_ = codec_->width;
  height_ = codec_->height;
  pixels_.assign(static_cast<size_t>(width_) * height_, 0xFF000000u);
  // Frames per second as the file declares them, a default when it does not.
  double frameRate = ValidRate(stream->avg_frame_rate);
  if (frameRate == 0) frameRate = ValidRate(stream->r_frame_rate);
  if (frameRate == 0) frameRate = kDefaultFrameRate;
  frameTime_ = 1.0 / frameRate;
  timeBase_ = stream->time_base.num > 0 && stream->time_base.den > 0 ? av_q2d(stream->time_base) : 0;
  startPts_ = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
  if (format_->duration > 0) {
    duration_ = static_cast<double>(format_->duration) / AV_TIME_BASE;
  } else if (stream->duration > 0 && timeBase_ > 0) {
    duration_ = static_cast<double>(stream->duration) * timeBase_;
  }
  return true;
}

bool FfmpegMovieDecoder::DecodeNext(AVFrame* frame) {
  if (!codec_) return false;
  for (;;) {
    int r = avcodec_receive_frame(codec_, frame);
    if (r == 0) return true;
    if (r != AVERROR(EAGAIN)) return false;  // drained, or a fatal decoder error
    if (draining_) return false;
    if (av_read_frame(format_, packet_) < 0) {
      // End of the file (or a read error): let the decoder give up what it
      // still holds.
      draining_ = true;
      avcodec_send_packet(codec_, nullptr);
      continue;
    }
    if (packet_->stream_index == stream_) {
      // A damaged packet is skipped; the next key frame recovers.
      avcodec_send_packet(codec_, packet_);
    }
    av_packet_unref(packet_);
  }
}

double FfmpegMovieDecoder::TimeOf(const AVFrame* frame) {
  double t = lastFrameTime_ < 0 ? 0 : lastFrameTime_ + frameTime_;
  std::int64_t pts = frame->best_effort_timestamp;
  if (pts != AV_NOPTS_VALUE && timeBase_ > 0) {
    double stamped = static_cast<double>(pts - startPts_) * timeBase_;
    double previous = lastFrameTime_ < 0 ? 0 : lastFrameTime_;
    if (std::isfinite(stamped) && stamped >= previous && stamped <= previous + kMaxGap) t = stamped;
  }
  lastFrameTime_ = t;
  return t;
}

bool FfmpegMovieDecoder::Advance(double seconds) {
  if (!codec_) return false;
  now_ = seconds;
  bool changed = false;
  for (;;) {
    if (!havePending_) {
      if (endOfStream_) break;
      if (!DecodeNext(pending_)) {
        endOfStream_ = true;
        break;
      }
      havePending_ = true;
      pendingTime_ = TimeOf(pending_);
    }
    double due = pendingTime_;
    // The first frame shows at once; later ones when their time has come.
    if (haveFrame_ && due > seconds) break;
    av_frame_unref(shown_);
    av_frame_move_ref(shown_, pending_);
    havePending_ = false;
    haveFrame_ = true;
    currentTime_ = due;
    changed = true;
  }
  if (changed && !Convert(shown_)) changed = false;
  return changed;
}

bool FfmpegMovieDecoder::Convert(const AVFrame* frame) {
  if (frame->width <= 0 || frame->height <= 0 || frame->width > kMaxSide || frame->height > kMaxSide) {
    return false;
  }
  scaler_ = sws_getCachedContext(scaler_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                 width_, height_, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!scaler_) return false;
  uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(pixels_.data()), nullptr, nullptr, nullptr};
  int dstStride[4] = {width_ * 4, 0, 0, 0};
  if (sws_scale(scaler_, frame->data, frame->linesize, 0, frame->height, dst, dstStride) <= 0) return false;
  // Video has no alpha: the texels are opaque whatever the converter left.
  for (auto& p : pixels_) p |= 0xFF000000u;
  return true;
}

const std::uint32_t* FfmpegMovieDecoder::CurrentFrameARGB(int& pitch) const {
  pitch = width_;
  return haveFrame_ ? pixels_.data() : nullptr;
}

bool FfmpegMovieDecoder::AtEnd() const {
  if (!codec_) return true;
  if (!endOfStream_ || havePending_) return false;
  return !haveFrame_ || now_ >= currentTime_ + frameTime_;
}

std::unique_ptr<MovieDecoder> CreateFfmpegMovieDecoder() { return std::make_unique<FfmpegMovieDecoder>(); }

}  // namespace plat::sdl
