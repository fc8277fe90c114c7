#include "platform/recording_renderer.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <typeinfo>

namespace plat {
namespace {

std::uint64_t NextTextureId() {
  static std::atomic<std::uint64_t> s_next{0};
  return ++s_next;
}

// Large enough for any texture the game makes; bounds what a bad header asks for.
constexpr int kMaxTextureSide = 16384;

DrawRecord Make(DrawRecord::Kind kind) {
  DrawRecord r;
  r.kind = kind;
  return r;
}

}  // namespace

RecordingTexture::RecordingTexture(int width, int height)
    : width_(width), height_(height), id_(NextTextureId()) {}

std::uint32_t* RecordingTexture::Lock(int& pitch) {
  if (pixels_.empty() && width_ > 0 && height_ > 0) {
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u);
  }
  pitch = width_;
  return pixels_.empty() ? nullptr : pixels_.data();
}

std::unique_ptr<Texture> RecordingFont::RenderLine(std::wstring_view line) {
  return std::make_unique<RecordingTextTexture>(std::wstring(line), MeasureWidth(line), LineHeight());
}

bool ReadPngSize(const std::string& path, int& width, int& height) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char head[24];
  const std::size_t got = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (got != sizeof head || std::memcmp(head, kSignature, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0) {
    return false;
  }
  auto be32 = [&](int at) {
    return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
           (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
  };
  const std::uint32_t w = be32(16), h = be32(20);
  if (w == 0 || h == 0 || w > kMaxTextureSide || h > kMaxTextureSide) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

RecordingRenderer::RecordingRenderer(int screenWidth, int screenHeight)
    : screen_width_(screenWidth), screen_height_(screenHeight) {}

std::unique_ptr<Texture> RecordingRenderer::LoadTexture(const std::string& path) {
  int w = 0, h = 0;
  if (!ReadPngSize(path, w, h)) return nullptr;
  return std::make_unique<RecordingTexture>(w, h);
}

std::unique_ptr<Texture> RecordingRenderer::CreateTexture(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide) {
    return nullptr;
  }
  return std::make_unique<RecordingTexture>(width, height);
}

std::unique_ptr<Font> RecordingRenderer::CreateFont(const std::wstring& /*face*/, int height, int /*weight*/) {
  return std::make_unique<RecordingFont>(*this, height);
}

long RecordingRenderer::BeginScene() {
  if (store_records_) records.push_back(Make(DrawRecord::kBegin));
  return begin_scene_result_;
}

void RecordingRenderer::Clear(std::uint32_t argb) {
  fresh_ = true;
  clear_colour_ = argb;
  if (!store_records_) return;
  DrawRecord r = Make(DrawRecord::kClear);
  r.argb = argb;
  records.push_back(std::move(r));
}

void RecordingRenderer::EndScene() {
  if (store_records_) records.push_back(Make(DrawRecord::kEnd));
}

void RecordingRenderer::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                                 std::uint32_t argb, float depth) {
  fresh_ = false;
  const auto* text = IsTextLine(texture) ? static_cast<const RecordingTextTexture*>(&texture) : nullptr;
  if (text) {
    ++text_count;
  } else {
    ++quad_count;
  }
  if (!store_records_) return;
  DrawRecord r = Make(text ? DrawRecord::kText : DrawRecord::kQuad);
  r.texture = texture.Id();
  r.source = source;
  for (int i = 0; i < 4; ++i) r.corners[i] = corners[i];
  r.argb = argb;
  r.depth = depth;
  if (text) r.text = text->Text();
  records.push_back(std::move(r));
}

void RecordingRenderer::DrawRect(const Texture& texture, const RectI& source, float left, float top, float right,
                                 float bottom, std::uint32_t argb, float depth) {
  fresh_ = false;
  if (!store_records_) {
    if (IsTextLine(texture)) {
      ++text_count;
    } else {
      ++quad_count;
    }
    return;
  }
  const PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  DrawQuad(texture, source, corners, argb, depth);
}

void RecordingRenderer::DrawRects(const RectDraw* draws, std::size_t count, float depth) {
  fresh_ = false;
  if (store_records_) {
    Renderer::DrawRects(draws, count, depth);
    return;
  }
  // Counting only: a run of one texture is told apart once.
  const Texture* last = nullptr;
  bool lastIsText = false;
  for (std::size_t i = 0; i < count; ++i) {
    if (draws[i].texture != last) {
      last = draws[i].texture;
      lastIsText = IsTextLine(*last);
    }
    ++(lastIsText ? text_count : quad_count);
  }
}

void RecordingRenderer::DrawLines(const PointF* points, int count, std::uint32_t argb) {
  fresh_ = false;
  ++lines_count;
  if (!store_records_ || !points || count <= 0) return;
  DrawRecord r = Make(DrawRecord::kLines);
  r.argb = argb;
  r.points.assign(points, points + count);
  records.push_back(std::move(r));
}

bool RecordingRenderer::BeginKeeping() {
  if (!keeping_enabled_ || !fresh_ || keeping_) return false;
  keeping_ = true;
  kept_ = 0;
  return true;
}

std::uint64_t RecordingRenderer::EndKeeping() {
  if (!keeping_) return 0;
  keeping_ = false;
  fresh_ = false;
  kept_ = NextKeptNumber();
  kept_colour_ = clear_colour_;
  return kept_;
}

bool RecordingRenderer::ShowKept(std::uint64_t kept) {
  if (kept == 0 || kept != kept_ || !fresh_ || keeping_ || clear_colour_ != kept_colour_) return false;
  fresh_ = false;
  ++kept_count;
  if (store_records_) {
    DrawRecord r = Make(DrawRecord::kKept);
    r.texture = kept;
    records.push_back(std::move(r));
  }
  return true;
}

void RecordingRenderer::SetClipRect(const RectI* clip) {
  has_clip_ = clip != nullptr;
  if (clip) clip_ = *clip;
  if (!store_records_) return;
  DrawRecord r = Make(DrawRecord::kClip);
  r.clip_set = clip != nullptr;
  if (clip) r.source = *clip;
  records.push_back(std::move(r));
}

bool RecordingRenderer::IsTextLine(const Texture& texture) {
  // The answer depends on the dynamic type only; a frame's quads share a
  // few types, so the cast runs once per change of type.
  const std::type_info* type = &typeid(texture);
  if (type != last_type_) {
    last_type_ = type;
    last_is_text_ = dynamic_cast<const RecordingTextTexture*>(&texture) != nullptr;
  }
  return last_is_text_;
}

std::vector<const DrawRecord*> RecordingRenderer::Texts() const {
  std::vector<const DrawRecord*> out;
  for (const DrawRecord& r : records)
    if (r.kind == DrawRecord::kText) out.push_back(&r);
  return out;
}

std::vector<const DrawRecord*> RecordingRenderer::Quads() const {
  std::vector<const DrawRecord*> out;
  for (const DrawRecord& r : records)
    if (r.kind == DrawRecord::kQuad) out.push_back(&r);
  return out;
}

}  // namespace plat
