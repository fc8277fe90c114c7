// make_movies: draws the intro and credits movies frame by frame and encodes
// them as MPEG-4 video in AVI files with libavcodec.
//
//   make_movies <data folder> [--preview <folder>]
//
// writes intro.avi, intro2.avi, intro3.avi and credits.avi into the data
// folder. With --preview it decodes a few frames of each file again (through
// the game's own decoder) and saves them as PNG pictures for a look.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "platform/sdl/ffmpeg_movie.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 20;
constexpr float kPi = 3.14159265f;
const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu/";

struct Rgb {
  float r, g, b;
};
Rgb Mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// An RGB picture in floats (0..1), drawn with coverage-weighted blending.
class Canvas {
 public:
  Canvas() : px_(static_cast<size_t>(kWidth) * kHeight, Rgb{0, 0, 0}) {}
  void Blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || a <= 0) return;
    Rgb& p = px_[static_cast<size_t>(y) * kWidth + x];
    p = Mix(p, c, Clamp01(a));
  }
  void VerticalGradient(Rgb top, Rgb bottom) {
    for (int y = 0; y < kHeight; ++y) {
      Rgb c = Mix(top, bottom, static_cast<float>(y) / (kHeight - 1));
      for (int x = 0; x < kWidth; ++x) px_[static_cast<size_t>(y) * kWidth + x] = c;
    }
  }
  // Everything drawn so far towards black (fade = 0 black, 1 unchanged).
  void Fade(float fade) {
    for (auto& p : px_) p = {p.r * fade, p.g * fade, p.b * fade};
  }
  // Filled triangle, 4x4 samples per pixel.
  void Triangle(float x0, float y0, float x1, float y1, float x2, float y2, Rgb c, float alpha) {
    int minX = static_cast<int>(std::floor(std::min({x0, x1, x2}))), maxX = static_cast<int>(std::ceil(std::max({x0, x1, x2})));
    int minY = static_cast<int>(std::floor(std::min({y0, y1, y2}))), maxY = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
    float area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (std::fabs(area) < 1e-6f) return;
    auto edge = [](float ax, float ay, float bx, float by, float px, float py) {
      return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = std::max(minY, 0); y <= std::min(maxY, kHeight - 1); ++y) {
      for (int x = std::max(minX, 0); x <= std::min(maxX, kWidth - 1); ++x) {
        int inside = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) {
            float px = x + (sx + 0.5f) / 4, py = y + (sy + 0.5f) / 4;
            float e0 = edge(x1, y1, x2, y2, px, py), e1 = edge(x2, y2, x0, y0, px, py), e2 = edge(x0, y0, x1, y1, px, py);
            if (area > 0 ? (e0 >= 0 && e1 >= 0 && e2 >= 0) : (e0 <= 0 && e1 <= 0 && e2 <= 0)) ++inside;
          }
        }
        Blend(x, y, c, alpha * inside / 16.0f);
      }
    }
  }
  void Rect(float x0, float y0, float x1, float y1, Rgb c, float alpha) {
    Triangle(x0, y0, x1, y0, x1, y1, c, alpha);
    Triangle(x0, y0, x1, y1, x0, y1, c, alpha);
  }
  // A line of the given width with soft edges.
  void Line(float x0, float y0, float x1, float y1, float width, Rgb c, float alpha) {
    int minX = static_cast<int>(std::min(x0, x1) - width - 1), maxX = static_cast<int>(std::max(x0, x1) + width + 1);
    int minY = static_cast<int>(std::min(y0, y1) - width - 1), maxY = static_cast<int>(std::max(y0, y1) + width + 1);
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = std::max(minY, 0); y <= std::min(maxY, kHeight - 1); ++y) {
      for (int x = std::max(minX, 0); x <= std::min(maxX, kWidth - 1); ++x) {
        float px = x + 0.5f, py = y + 0.5f;
        float t = len2 > 0 ? Clamp01(((px - x0) * dx + (py - y0) * dy) / len2) : 0;
        float d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
        Blend(x, y, c, alpha * Clamp01(width / 2 + 0.5f - d));
      }
    }
  }
  void Ring(float cx, float cy, float radius, float width, Rgb c, float alpha) {
    for (int y = static_cast<int>(cy - radius - width - 1); y <= cy + radius + width + 1; ++y) {
      for (int x = static_cast<int>(cx - radius - width - 1); x <= cx + radius + width + 1; ++x) {
        float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius);
        Blend(x, y, c, alpha * Clamp01(width / 2 + 0.5f - d));
      }
    }
  }
  void Disc(float cx, float cy, float radius, Rgb c, float alpha) {
    for (int y = static_cast<int>(cy - radius - 1); y <= cy + radius + 1; ++y) {
      for (int x = static_cast<int>(cx - radius - 1); x <= cx + radius + 1; ++x) {
        float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
        Blend(x, y, c, alpha * Clamp01(radius + 0.5f - d));
      }
    }
  }
  // Text centred on cx with its top at y.
  void Text(TTF_Font* font, const std::string& text, float cx, float y, Rgb c, float alpha) {
    if (text.empty() || alpha <= 0) return;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!rendered) return;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!s) return;
    int left = static_cast<int>(std::lround(cx - s->w / 2.0f)), top = static_cast<int>(std::lround(y));
    for (int j = 0; j < s->h; ++j) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(s->pixels) + j * s->pitch);
      for (int i = 0; i < s->w; ++i) Blend(left + i, top + j, c, alpha * ((row[i] >> 24) / 255.0f));
    }
    SDL_FreeSurface(s);
  }
  // Rolling waves over the lower part: layers from the horizon forwards.
  void Waves(float t, float horizon, Rgb far, Rgb near) {
    const int layers = 5;
    for (int l = 0; l < layers; ++l) {
      float k = static_cast<float>(l) / (layers - 1);
      float base = horizon + (kHeight - horizon) * (0.1f + 0.85f * k);
      float amp = 1.5f + 5.0f * k, freq = 0.06f - 0.035f * k, speed = 0.8f + 1.2f * k;
      Rgb body = Mix(far, near, k), crest = Mix(body, Rgb{0.75f, 0.88f, 0.95f}, 0.45f);
      for (int x = 0; x < kWidth; ++x) {
        float wy = base + amp * std::sin(x * freq + t * speed + l * 1.7f) +
                   amp * 0.4f * std::sin(x * freq * 2.3f - t * speed * 1.3f + l);
        for (int y = static_cast<int>(wy); y < kHeight; ++y) {
          float cover = y == static_cast<int>(wy) ? 1 - (wy - std::floor(wy)) : 1;
          Blend(x, y, body, cover);
        }
        Blend(x, static_cast<int>(wy), crest, 0.7f);
      }
    }
  }
  void ToArgb(std::vector<std::uint32_t>& out) const {
    out.resize(px_.size());
    for (size_t i = 0; i < px_.size(); ++i) {
      auto q = [](float v) { return static_cast<std::uint32_t>(std::lround(Clamp01(v) * 255)); };
      out[i] = 0xFF000000u | q(px_[i].r) << 16 | q(px_[i].g) << 8 | q(px_[i].b);
    }
  }

 private:
  std::vector<Rgb> px_;
};

struct Fonts {
  TTF_Font* title = nullptr;   // serif bold, large
  TTF_Font* heading = nullptr; // serif bold, medium
  TTF_Font* body = nullptr;    // sans, small
  TTF_Font* small = nullptr;
};

const Rgb kSeaTop{0.02f, 0.06f, 0.13f}, kSeaBottom{0.04f, 0.20f, 0.33f};
const Rgb kBrass{0.86f, 0.72f, 0.42f}, kPale{0.88f, 0.92f, 0.95f}, kSteel{0.55f, 0.66f, 0.74f};

// An eight-pointed compass rose turned by angle (radians).
void CompassRose(Canvas& c, float cx, float cy, float r, float angle, float alpha) {
  c.Ring(cx, cy, r * 1.08f, 1.6f, kBrass, alpha);
  c.Ring(cx, cy, r * 0.98f, 0.8f, kBrass, alpha * 0.7f);
  for (int i = 0; i < 16; ++i) {  // ticks
    float a = angle + i * kPi / 8;
    c.Line(cx + std::sin(a) * r * 0.98f, cy - std::cos(a) * r * 0.98f, cx + std::sin(a) * r * 1.08f,
           cy - std::cos(a) * r * 1.08f, 1.0f, kBrass, alpha);
  }
  for (int pass = 0; pass < 2; ++pass) {  // short points first, long points over them
    for (int i = pass == 0 ? 1 : 0; i < 8; i += 2) {
      float a = angle + i * kPi / 4;
      float len = pass == 0 ? r * 0.62f : r * 0.95f, half = pass == 0 ? r * 0.11f : r * 0.15f;
      float tipX = cx + std::sin(a) * len, tipY = cy - std::cos(a) * len;
      float sideX = std::cos(a) * half, sideY = std::sin(a) * half;
      Rgb light = pass == 0 ? kSteel : kPale, dark = pass == 0 ? Mix(kSteel, kSeaTop, 0.5f) : kBrass;
      c.Triangle(cx, cy, tipX, tipY, cx + sideX, cy + sideY, light, alpha);
      c.Triangle(cx, cy, tipX, tipY, cx - sideX, cy - sideY, dark, alpha);
    }
  }
  c.Disc(cx, cy, r * 0.07f, kBrass, alpha);
}

// A merchant ship's side view, bow to the right, waterline at y.
void Ship(Canvas& c, float x, float y, float s, Rgb colour, float alpha) {
  c.Triangle(x, y - 6 * s, x + 60 * s, y - 6 * s, x + 54 * s, y, colour, alpha);
  c.Triangle(x, y - 6 * s, x + 54 * s, y, x + 4 * s, y, colour, alpha);
  c.Triangle(x + 60 * s, y - 6 * s, x + 66 * s, y - 8 * s, x + 54 * s, y, colour, alpha);
  c.Rect(x + 20 * s, y - 13 * s, x + 38 * s, y - 6 * s, colour, alpha);
  c.Rect(x + 26 * s, y - 21 * s, x + 31 * s, y - 13 * s, colour, alpha);
  c.Line(x + 10 * s, y - 6 * s, x + 10 * s, y - 24 * s, 1.0f * s, colour, alpha);
  c.Line(x + 50 * s, y - 6 * s, x + 50 * s, y - 22 * s, 1.0f * s, colour, alpha);
}

using Scene = std::function<void(Canvas&, float t)>;

struct Movie {
  const char* file;
  float seconds;
  int bitRate;
  Scene scene;
};

float FadeInOut(float t, float length, float in = 0.8f, float out = 0.8f) {
  return Smooth(0, in, t) * (1 - Smooth(length - out, length, t));
}

std::vector<Movie> Movies(const Fonts& f) {
  std::vector<Movie> movies;
  // The studio card: a compass rose turning into place over the sea, then the title.
  movies.push_back({"intro.avi", 5.0f, 240000, [&f](Canvas& c, float t) {
                      c.VerticalGradient(kSeaTop, kSeaBottom);
                      c.Waves(t, 170, Rgb{0.05f, 0.18f, 0.28f}, Rgb{0.02f, 0.09f, 0.16f});
                      float rose = Smooth(0.2f, 1.6f, t);
                      CompassRose(c, kWidth / 2.0f, 88, 52, (1 - rose) * -1.2f, rose);
                      float title = Smooth(1.6f, 2.6f, t);
                      c.Text(f.title, "TIDEWRACK", kWidth / 2.0f + 1, 151, Rgb{0, 0, 0}, title * 0.6f);
                      c.Text(f.title, "TIDEWRACK", kWidth / 2.0f, 150, kPale, title);
                      c.Text(f.small, "presents", kWidth / 2.0f, 190, kBrass, Smooth(2.6f, 3.3f, t));
                      c.Fade(FadeInOut(t, 5.0f, 0.5f, 0.7f));
                    }});
  // The second card: a night sea, a ship crossing the horizon, the era.
  movies.push_back({"intro2.avi", 5.0f, 280000, [&f](Canvas& c, float t) {
                      c.VerticalGradient(Rgb{0.01f, 0.02f, 0.06f}, Rgb{0.08f, 0.12f, 0.22f});
                      std::uint32_t seed = 12345;
                      for (int i = 0; i < 60; ++i) {
                        seed = seed * 214013 + 2531011;
                        float x = static_cast<float>((seed >> 8) % kWidth);
                        seed = seed * 214013 + 2531011;
                        float y = static_cast<float>((seed >> 8) % 130);
                        float twinkle = 0.5f + 0.5f * std::sin(t * 3 + i);
                        c.Blend(static_cast<int>(x), static_cast<int>(y), kPale, 0.3f + 0.5f * twinkle);
                      }
                      c.Disc(255, 45, 13, Rgb{0.93f, 0.91f, 0.80f}, 0.9f);
                      c.Disc(250, 42, 12, Rgb{0.01f, 0.02f, 0.06f}, 0.92f);
                      Ship(c, -70 + t * 40, 150, 1.0f, Rgb{0.01f, 0.02f, 0.04f}, 1);
                      c.Waves(t, 150, Rgb{0.06f, 0.10f, 0.19f}, Rgb{0.01f, 0.03f, 0.07f});
                      c.Text(f.heading, "1939 \xE2\x80\x93 1945", kWidth / 2.0f, 170, kBrass, Smooth(0.8f, 1.8f, t));
                      c.Text(f.body, "A game of the Second World War", kWidth / 2.0f, 202, kPale, Smooth(1.8f, 2.8f, t));
                      c.Fade(FadeInOut(t, 5.0f));
                    }});
  // The third card: a chart with a convoy route drawing itself across it.
  movies.push_back({"intro3.avi", 5.0f, 300000, [&f](Canvas& c, float t) {
                      c.VerticalGradient(Rgb{0.80f, 0.74f, 0.58f}, Rgb{0.68f, 0.60f, 0.44f});
                      Rgb ink{0.22f, 0.18f, 0.12f};
                      for (int x = 20; x < kWidth; x += 40) c.Line(x, 0, x, kHeight, 0.6f, ink, 0.25f);
                      for (int y = 20; y < kHeight; y += 40) c.Line(0, y, kWidth, y, 0.6f, ink, 0.25f);
                      c.Triangle(0, 0, 70, 0, 0, 90, Rgb{0.45f, 0.52f, 0.36f}, 0.7f);  // coasts
                      c.Triangle(250, 240, 320, 120, 320, 240, Rgb{0.45f, 0.52f, 0.36f}, 0.7f);
                      float drawn = Smooth(0.3f, 3.2f, t);
                      float px = 40, py = 70;
                      const int steps = 60;
                      for (int i = 1; i <= static_cast<int>(steps * drawn); ++i) {
                        float u = static_cast<float>(i) / steps;
                        float x = 40 + 240 * u, y = 70 + 110 * u * u - 40 * std::sin(u * kPi);
                        if (i % 2) c.Line(px, py, x, y, 1.6f, Rgb{0.55f, 0.08f, 0.06f}, 0.9f);
                        px = x, py = y;
                      }
                      c.Disc(px, py, 3.5f, Rgb{0.55f, 0.08f, 0.06f}, drawn > 0 ? 1 : 0);
                      CompassRose(c, 270, 55, 26, 0, 0.35f);
                      c.Text(f.heading, "Command the convoys.", kWidth / 2.0f, 150, ink, Smooth(1.2f, 2.0f, t));
                      c.Text(f.heading, "Turn the tide.", kWidth / 2.0f, 178, ink, Smooth(2.4f, 3.2f, t));
                      c.Fade(FadeInOut(t, 5.0f));
                    }});
  // The credits, rolling upwards over a dark sea.
  movies.push_back({"credits.avi", 12.0f, 110000, [&f](Canvas& c, float t) {
                      c.VerticalGradient(kSeaTop, Rgb{0.03f, 0.12f, 0.21f});
                      c.Waves(t, 215, Rgb{0.04f, 0.14f, 0.22f}, Rgb{0.02f, 0.07f, 0.12f});
                      struct Entry {
                        const char* text;
                        TTF_Font* font;
                        Rgb colour;
                        float gap;
                      };
                      const Entry lines[] = {
                          {"TIDEWRACK", f.title, kPale, 44},
                          {"A game of the Second World War", f.body, kBrass, 40},
                          {"Design and programming", f.small, kSteel, 18},
                          {"The Tidewrack developers", f.body, kPale, 34},
                          {"Maps, pictures and sounds", f.small, kSteel, 18},
                          {"Made by the Tidewrack developers", f.body, kPale, 34},
                          {"Built with", f.small, kSteel, 18},
                          {"SDL, FFmpeg and the DejaVu fonts", f.body, kPale, 40},
                          {"Thank you for playing", f.heading, kBrass, 0},
                      };
                      // Rolls until the last line rests in the middle of the picture.
                      float y = kHeight + 10 - std::min(38 * t, 386.0f);
                      for (const Entry& e : lines) {
                        float edge = Smooth(8, 40, y) * (1 - Smooth(190, 222, y));
                        c.Text(e.font, e.text, kWidth / 2.0f, y, e.colour, edge);
                        y += e.gap;
                      }
                      c.Fade(FadeInOut(t, 12.0f, 0.6f, 1.0f));
                    }});
  return movies;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "make_movies: %s\n", what);
  return false;
}

bool Encode(const Movie& movie, const std::string& path) {
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()) < 0 || !out) return Fail("no AVI muxer");
  out->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!codec) return Fail("no MPEG-4 encoder");
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = kWidth;
  enc->height = kHeight;
  enc->time_base = AVRational{1, kFps};
  enc->framerate = AVRational{kFps, 1};
  enc->pix_fmt = AV_PIX_FMT_YUV420P;
  enc->bit_rate = movie.bitRate;
  enc->gop_size = kFps * 2;
  enc->max_b_frames = 0;
  enc->thread_count = 1;
  enc->flags |= AV_CODEC_FLAG_BITEXACT;
  if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(enc, codec, nullptr) < 0) return Fail("cannot open the encoder");
  avcodec_parameters_from_context(stream->codecpar, enc);
  stream->time_base = enc->time_base;
  if (avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return Fail("cannot write the file");
  if (avformat_write_header(out, nullptr) < 0) return Fail("cannot write the header");

  SwsContext* sws = sws_getContext(kWidth, kHeight, AV_PIX_FMT_RGB32, kWidth, kHeight, AV_PIX_FMT_YUV420P,
                                   SWS_BICUBIC, nullptr, nullptr, nullptr);
  AVFrame* frame = av_frame_alloc();
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = kWidth;
  frame->height = kHeight;
  av_frame_get_buffer(frame, 0);
  AVPacket* packet = av_packet_alloc();
  auto drain = [&] {
    while (avcodec_receive_packet(enc, packet) == 0) {
      av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(out, packet);
    }
  };
  std::vector<std::uint32_t> argb;
  const int frames = static_cast<int>(movie.seconds * kFps);
  for (int i = 0; i < frames; ++i) {
    Canvas canvas;
    movie.scene(canvas, static_cast<float>(i) / kFps);
    canvas.ToArgb(argb);
    av_frame_make_writable(frame);
    const uint8_t* src[1] = {reinterpret_cast<const uint8_t*>(argb.data())};
    const int srcStride[1] = {kWidth * 4};
    sws_scale(sws, src, srcStride, 0, kHeight, frame->data, frame->linesize);
    frame->pts = i;
    avcodec_send_frame(enc, frame);
    drain();
  }
  avcodec_send_frame(enc, nullptr);
  drain();
  av_write_trailer(out);
  avio_closep(&out->pb);
  av_packet_free(&packet);
  av_frame_free(&frame);
  sws_freeContext(sws);
  avcodec_free_context(&enc);
  avformat_free_context(out);
  return true;
}

bool Preview(const std::string& moviePath, const std::string& pngStem) {
  plat::sdl::FfmpegMovieDecoder decoder;
  if (!decoder.Open(moviePath)) return Fail("cannot decode the movie just written");
  for (double at : {1.0, 2.5, 4.0, 7.0, 11.0}) {
    if (at > decoder.Duration()) break;
    decoder.Advance(at);
    int pitch = 0;
    const std::uint32_t* px = decoder.CurrentFrameARGB(pitch);
    if (!px) return Fail("no frame decoded");
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(px), decoder.Width(),
                                                        decoder.Height(), 32, pitch * 4, SDL_PIXELFORMAT_ARGB8888);
    std::string png = pngStem + "_" + std::to_string(static_cast<int>(at * 10)) + ".png";
    IMG_SavePNG(s, png.c_str());
    SDL_FreeSurface(s);
    std::printf("preview %s\n", png.c_str());
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
    std::fprintf(stderr, "usage: make_movies <data folder> [--preview <folder>]\n");
    return 2;
  }
  if (TTF_Init() != 0) return Fail("SDL_ttf cannot start"), 1;
  std::string fonts = kFontFolder;
  Fonts f{TTF_OpenFont((fonts + "DejaVuSerif-Bold.ttf").c_str(), 34),
          TTF_OpenFont((fonts + "DejaVuSerif-Bold.ttf").c_str(), 20),
          TTF_OpenFont((fonts + "DejaVuSans.ttf").c_str(), 15), TTF_OpenFont((fonts + "DejaVuSans.ttf").c_str(), 12)};
  if (!f.title || !f.heading || !f.body || !f.small) return Fail("DejaVu fonts not found (fonts-dejavu-core)"), 1;

  const std::string folder = argv[1];
  for (const Movie& movie : Movies(f)) {
    const std::string path = folder + "/" + movie.file;
    if (!Encode(movie, path)) return 1;
    std::printf("wrote %s\n", path.c_str());
    if (argc == 4) {
      std::string stem = std::string(argv[3]) + "/" + movie.file;
      stem.resize(stem.size() - 4);
      if (!Preview(path, stem)) return 1;
    }
  }
  for (TTF_Font* font : {f.title, f.heading, f.body, f.small}) TTF_CloseFont(font);
  TTF_Quit();
  return 0;
}
