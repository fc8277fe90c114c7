#include "platform/sdl/sdl_renderer.h"

#include <SDL_image.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <utility>

namespace plat::sdl {
namespace {

std::uint64_t NextId() {
  static std::atomic<std::uint64_t> s_next{0};
  return ++s_next;
}

// ARGB copy of a surface; null on failure. The caller frees it.
SDL_Surface* ToArgb(SDL_Surface* surface) {
  if (!surface) return nullptr;
  return SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
}

// The draw calls a fingerprint tells apart.
enum eDrawCall { kCallClear = 1, kCallQuad, kCallRect, kCallRects, kCallLines, kCallClip, kCallKept };

// Marks a draw call under way for its scope: the calls it makes are its own.
class DrawDepth {
 public:
  explicit DrawDepth(int& depth) : depth_(depth) { ++depth_; }
  ~DrawDepth() { --depth_; }
  DrawDepth(const DrawDepth&) = delete;
  DrawDepth& operator=(const DrawDepth&) = delete;

 private:
  int& depth_;
};

// The whole pixels a drawing between the edges may touch, a pixel more on
// each side for filtering.
SDL_Rect BoxOf(float left, float top, float right, float bottom) {
  constexpr float kFar = 1.0e7f;
  left = std::clamp(std::min(left, right), -kFar, kFar);
  right = std::clamp(std::max(left, right), -kFar, kFar);
  top = std::clamp(std::min(top, bottom), -kFar, kFar);
  bottom = std::clamp(std::max(top, bottom), -kFar, kFar);
  const int x0 = static_cast<int>(std::floor(left)) - 1, y0 = static_cast<int>(std::floor(top)) - 1;
  const int x1 = static_cast<int>(std::ceil(right)) + 1, y1 = static_cast<int>(std::ceil(bottom)) + 1;
  return SDL_Rect{x0, y0, x1 - x0, y1 - y0};
}

constexpr SDL_Rect kNoBox{0, 0, 0, 0};

// The pixels whose centres lie in [left, right) x [top, bottom), for
// edges within a few million pixels: where the software renderer puts a
// picture, so that pictures meeting edge to edge meet on the screen too.
// SDL's own scaled copy cuts the position and the size each on its own,
// and neighbours then miss each other by a pixel wherever the fractions
// add up.
SDL_Rect PixelsCovered(float left, float top, float right, float bottom) {
  const int x0 = static_cast<int>(std::ceil(left - 0.5f)), y0 = static_cast<int>(std::ceil(top - 0.5f));
  const int x1 = static_cast<int>(std::ceil(right - 0.5f)), y1 = static_cast<int>(std::ceil(bottom - 0.5f));
  return SDL_Rect{x0, y0, x1 - x0, y1 - y0};
}

// A PNG with alpha decodes in RGBA byte order (ABGR8888): its texels are
// put in ARGB order where they lie.
void RgbaToArgbInPlace(SDL_Surface* surface) {
  auto* rows = static_cast<unsigned char*>(surface->pixels);
  for (int y = 0; y < surface->h; ++y) {
    auto* texel = reinterpret_cast<std::uint32_t*>(rows + static_cast<std::size_t>(y) * surface->pitch);
    for (int x = 0; x < surface->w; ++x) {
      const std::uint32_t v = texel[x];
      texel[x] = (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
    }
  }
}

// An ARGB8888 texture of the renderer, blended and filtered; null on
// failure.
SDL_Texture* NewBlendedTexture(SDL_Renderer* renderer, int access, int width, int height) {
  SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, access, width, height);
  if (!t) return nullptr;
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
  return t;
}

// Whether the quad's corners (top-left, top-right, bottom-right,
// bottom-left) make an upright rectangle of some size.
bool AxisAligned(const PointF corners[4]) {
  const PointF &tl = corners[0], &tr = corners[1], &br = corners[2], &bl = corners[3];
  return tl.y == tr.y && bl.y == br.y && tl.x == bl.x && tr.x == br.x && tr.x > tl.x && bl.y > tl.y;
}

void CopyRows(const SDL_Surface* argb, std::uint32_t* out) {
  const auto* src = static_cast<const unsigned char*>(argb->pixels);
  for (int y = 0; y < argb->h; ++y) {
    std::memcpy(out + static_cast<std::size_t>(y) * argb->w, src + static_cast<std::size_t>(y) * argb->pitch,
                static_cast<std::size_t>(argb->w) * 4);
  }
}

}  // namespace

// ---------------------------------------------------------------------------

SdlTexture::SdlTexture(std::shared_ptr<RendererLife> life, SDL_Texture* texture, int width, int height,
                       std::string path, std::unique_ptr<SheetPacking> packing)
    : life_(std::move(life)), texture_(texture), width_(width), height_(height), path_(std::move(path)),
      id_(NextId()), packing_(std::move(packing)) {}

SdlTexture::~SdlTexture() {
  // Once the renderer is gone SDL has freed its textures already.
  if (life_->renderer && texture_) SDL_DestroyTexture(texture_);
}

std::uint32_t* SdlTexture::Lock(int& pitch) {
  pitch = width_;
  if (pixels_.empty()) {
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u);
    if (!path_.empty()) {
      SDL_Surface* loaded = IMG_Load(path_.c_str());
      SDL_Surface* argb = ToArgb(loaded);
      if (argb && argb->w == width_ && argb->h == height_) CopyRows(argb, pixels_.data());
      SDL_FreeSurface(argb);
      SDL_FreeSurface(loaded);
    }
  }
  return pixels_.data();
}

void SdlTexture::Unlock() {
  if (pixels_.empty() || !life_->renderer) return;
  if (packing_) {
    // Written whole: the texels no longer keep to the parts, so the native
    // texture becomes the whole picture.
    SDL_Texture* whole = NewBlendedTexture(life_->renderer, SDL_TEXTUREACCESS_STATIC, width_, height_);
    if (!whole) return;
    SDL_DestroyTexture(texture_);
    texture_ = whole;
    packing_.reset();
  }
  SDL_UpdateTexture(texture_, nullptr, pixels_.data(), width_ * 4);
  ++version_;
}

// ---------------------------------------------------------------------------

SdlRenderer::SdlRenderer(SDL_Renderer* renderer, SDL_Surface* target, bool present, SDL_Window* window)
    : renderer_(renderer), target_(target), present_(present), life_(std::make_shared<RendererLife>()),
      window_(window) {
  life_->renderer = renderer;
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
  SDL_RendererInfo info{};
  software_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  packs_sheets_ = !software_;
}

std::string SdlRenderer::Name() const {
  SDL_RendererInfo info{};
  return SDL_GetRendererInfo(renderer_, &info) == 0 && info.name ? info.name : "unknown";
}

SdlRenderer::~SdlRenderer() {
  ForgetKept();
  life_->renderer = nullptr;
  SDL_DestroyRenderer(renderer_);
  if (target_) SDL_FreeSurface(target_);
}

std::unique_ptr<SdlTexture> SdlRenderer::MakeTexture(int width, int height, const std::string& path) {
  if (width <= 0 || height <= 0) return nullptr;
  SDL_Texture* t = NewNative(width, height);
  if (!t) return nullptr;
  return std::make_unique<SdlTexture>(life_, t, width, height, path);
}

SDL_Texture* SdlRenderer::NewNative(int width, int height) {
  // The software renderer's textures are locked to be drawn exactly
  // (BlendExactly), and cost nothing more for it; the others keep a copy of
  // every texel in memory for a texture that can be locked, so theirs are
  // only written whole (Unlock).
  return NewBlendedTexture(renderer_, software_ ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC, width,
                           height);
}

std::unique_ptr<SdlTexture> SdlRenderer::TextureFromSurface(SDL_Surface* surface, const std::string& path) {
  if (!surface) return nullptr;
  if (software_ && surface->format->palette == nullptr && !SDL_HasColorKey(surface) && !SDL_MUSTLOCK(surface)) {
    // Converted straight into the texture: no third copy of a large sheet
    // on the way.
    auto texture = MakeTexture(surface->w, surface->h, path);
    if (!texture) return nullptr;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture->Native(), nullptr, &pixels, &pitch) == 0) {
      const bool converted = SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                                               surface->pitch, SDL_PIXELFORMAT_ARGB8888, pixels, pitch) == 0;
      SDL_UnlockTexture(texture->Native());
      if (converted) return texture;
    }
  }
  SDL_Surface* argb = ToArgb(surface);
  if (!argb) return nullptr;
  auto texture = UploadArgb(argb->pixels, argb->pitch, argb->w, argb->h, path);
  SDL_FreeSurface(argb);
  return texture;
}

std::unique_ptr<SdlTexture> SdlRenderer::UploadArgb(const void* pixels, int pitch, int width, int height,
                                                    const std::string& path) {
  auto texture = MakeTexture(width, height, path);
  if (texture && SDL_UpdateTexture(texture->Native(), nullptr, pixels, pitch) != 0) texture.reset();
  return texture;
}

std::unique_ptr<Texture> SdlRenderer::LoadTexture(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return nullptr;
  std::unique_ptr<SdlTexture> texture;
  if ((!software_ || packs_sheets_) && loaded->format->format == SDL_PIXELFORMAT_ABGR8888 &&
      !SDL_HasColorKey(loaded) && !SDL_MUSTLOCK(loaded) && loaded->pitch % 4 == 0) {
    // The GL renderers upload the decoded picture itself, its texels put in
    // ARGB order where they lie: the decoded picture and the driver's copy
    // are the only ones of a large sheet at any time. A large sheet that is
    // mostly transparent is uploaded as its parts packed.
    RgbaToArgbInPlace(loaded);
    constexpr long long kLeastPackedTexels = 512LL * 512;
    auto packing = std::make_unique<SheetPacking>();
    if (packs_sheets_ && static_cast<long long>(loaded->w) * loaded->h >= kLeastPackedTexels &&
        packing->Pack(static_cast<const std::uint32_t*>(loaded->pixels), loaded->pitch / 4, loaded->w, loaded->h,
                      std::min(MaxTextureWidth(), MaxTextureHeight()))) {
      const std::vector<std::uint32_t> packed =
          packing->Copy(static_cast<const std::uint32_t*>(loaded->pixels), loaded->pitch / 4);
      SDL_Texture* native = NewNative(packing->PackedWidth(), packing->PackedHeight());
      if (native && SDL_UpdateTexture(native, nullptr, packed.data(), packing->PackedWidth() * 4) == 0) {
        texture = std::make_unique<SdlTexture>(life_, native, loaded->w, loaded->h, path, std::move(packing));
      } else if (native) {
        SDL_DestroyTexture(native);
      }
    } else {
      texture = UploadArgb(loaded->pixels, loaded->pitch, loaded->w, loaded->h, path);
    }
  } else {
    texture = TextureFromSurface(loaded, path);
  }
  SDL_FreeSurface(loaded);
  return texture;
}

std::unique_ptr<Texture> SdlRenderer::CreateTexture(int width, int height) {
  auto texture = MakeTexture(width, height, {});
  if (!texture) return nullptr;
  // Streaming textures start undefined; the game expects transparent.
  int pitch = 0;
  texture->Lock(pitch);
  texture->Unlock();
  return texture;
}

std::unique_ptr<Font> SdlRenderer::CreateFont(const std::wstring& face, int height, int weight) {
  return CreateSdlFont(*this, face, height, weight);
}

int SdlRenderer::MaxTextureWidth() const {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_, &info) != 0 || info.max_texture_width <= 0) return 16384;  // no limit
  return info.max_texture_width;
}

int SdlRenderer::MaxTextureHeight() const {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_, &info) != 0 || info.max_texture_height <= 0) return 16384;  // no limit
  return info.max_texture_height;
}

int SdlRenderer::ScreenWidth() const {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  return w;
}

int SdlRenderer::ScreenHeight() const {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  return h;
}

void SdlRenderer::NoteTexture(unsigned char* out, const Texture* texture) {
  std::uint64_t id = 0, version = 0;
  if (texture != nullptr) {
    id = texture->Id();
    if (const auto* sdlTexture = dynamic_cast<const SdlTexture*>(texture)) version = sdlTexture->Version();
  }
  std::memcpy(out, &id, sizeof id);
  std::memcpy(out + sizeof id, &version, sizeof version);
}

void SdlRenderer::ResetFingerprint() {
  fingerprint_.Reset();
  calls_.clear();
}

void SdlRenderer::KeepShownCalls() {
  shown_calls_.swap(calls_);
  calls_.clear();
  has_shown_calls_ = true;
  shown_fingerprint_ = fingerprint_.Value();
}

namespace {

// The rows of a 32-bit surface into pixels (edge to edge) and back.
void SurfaceToPixels(const SDL_Surface& surface, std::vector<std::uint32_t>& pixels) {
  pixels.resize(static_cast<std::size_t>(surface.w) * static_cast<std::size_t>(surface.h));
  CopyRows(&surface, pixels.data());
}

void PixelsToSurface(const std::vector<std::uint32_t>& pixels, SDL_Surface& surface) {
  auto* rows = static_cast<unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    std::memcpy(rows + static_cast<std::size_t>(y) * surface.pitch,
                pixels.data() + static_cast<std::size_t>(y) * surface.w, static_cast<std::size_t>(surface.w) * 4);
  }
}

bool PlainSurface(const SDL_Surface* surface) {
  return surface != nullptr && surface->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(surface);
}

}  // namespace

void SdlRenderer::KeepFormerPicture() {
  has_former_ = false;
  SDL_Surface* surface = SoftwareSurface();
  if (!has_shown_calls_ || probing_ || !PlainSurface(surface)) return;
  SDL_RenderFlush(renderer_);
  SurfaceToPixels(*surface, former_pixels_);
  former_width_ = surface->w;
  former_height_ = surface->h;
  former_fingerprint_ = shown_fingerprint_;
  former_calls_ = shown_calls_;
  has_former_ = true;
}

bool SdlRenderer::ShowFormerPicture(std::uint64_t fingerprint) {
  SDL_Surface* surface = SoftwareSurface();
  if (!has_former_ || !has_shown_calls_ || probing_ || fingerprint != former_fingerprint_ ||
      !PlainSurface(surface) || surface->w != former_width_ || surface->h != former_height_) {
    return false;
  }
  SDL_RenderFlush(renderer_);
  // The two pictures change places, row by row.
  auto* rows = static_cast<unsigned char*>(surface->pixels);
  for (int y = 0; y < surface->h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(rows + static_cast<std::size_t>(y) * surface->pitch);
    std::swap_ranges(row, row + surface->w, former_pixels_.begin() + static_cast<std::ptrdiff_t>(y) * surface->w);
  }
  std::swap(former_fingerprint_, shown_fingerprint_);
  former_calls_.swap(shown_calls_);
  if (present_) SDL_RenderPresent(renderer_);
  return true;
}

bool SdlRenderer::ChangedAreas(std::vector<SDL_Rect>& areas) const {
  areas.clear();
  if (!software_ || !has_shown_calls_ || calls_.size() != shown_calls_.size() || calls_.size() >= kMostNotedCalls) {
    return false;
  }
  const auto add = [&](SDL_Rect box) {
    if (box.w <= 0 || box.h <= 0) return;
    // Areas never overlap: a picture drawn in two would be blended twice.
    for (std::size_t i = 0; i < areas.size();) {
      if (SDL_HasIntersection(&areas[i], &box)) {
        SDL_UnionRect(&areas[i], &box, &box);
        areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
        i = 0;
      } else {
        ++i;
      }
    }
    areas.push_back(box);
  };
  for (std::size_t i = 0; i < calls_.size(); ++i) {
    const sNotedCall& now = calls_[i];
    const sNotedCall& before = shown_calls_[i];
    if (now.hash == before.hash) continue;
    if (now.whole || before.whole || areas.size() > kMostChangedAreas) return false;
    add(now.box);
    add(before.box);
  }
  return areas.size() <= kMostChangedAreas;
}

void SdlRenderer::LimitDrawingTo(const std::vector<SDL_Rect>* areas) {
  areas_.clear();
  if (areas != nullptr) areas_ = *areas;
  limited_ = areas != nullptr;
  area_ = nullptr;
  ApplyClip();
}

void SdlRenderer::ApplyClip() {
  bool set = program_clip_set_;
  SDL_Rect rect{};
  if (set) rect = SDL_Rect{program_clip_.left, program_clip_.top, program_clip_.Width(), program_clip_.Height()};
  bool empty = set && (rect.w <= 0 || rect.h <= 0);
  if (limited_ && !empty) {
    const SDL_Rect limit = area_ != nullptr ? *area_ : kNoBox;
    if (set) {
      empty = !SDL_IntersectRect(&rect, &limit, &rect);
    } else {
      rect = limit;
      set = true;
      empty = rect.w <= 0 || rect.h <= 0;
    }
  }
  clip_empty_ = set && empty;
  has_clip_ = set && !empty;
  if (has_clip_) clip_ = rect;
  SDL_RenderSetClipRect(renderer_, has_clip_ ? &rect : nullptr);
}

void SdlRenderer::Clear(std::uint32_t argb) {
  // Drawn only in some areas, a clear leaves the rest of the screen.
  fresh_ = !limited_;
  clear_colour_ = argb;
  if (Note(nullptr, kNoBox, true, kCallClear, argb)) return;
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  if (!limited_) {
    SDL_RenderClear(renderer_);
    return;
  }
  // A clear ignores the clip: only the areas are filled, as a clear would.
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
  SDL_RenderSetClipRect(renderer_, nullptr);
  for (const SDL_Rect& area : areas_) SDL_RenderFillRect(renderer_, &area);
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
  ApplyClip();
}

void SdlRenderer::EndScene() {
  if (probing_) return;
  if (present_) {
    SDL_RenderPresent(renderer_);
  } else {
    SDL_RenderFlush(renderer_);
  }
}

void SdlRenderer::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                           std::uint32_t argb, float /*depth*/) {
  Drawn();
  const float xs[4] = {corners[0].x, corners[1].x, corners[2].x, corners[3].x};
  const float ys[4] = {corners[0].y, corners[1].y, corners[2].y, corners[3].y};
  const SDL_Rect box = BoxOf(*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4),
                             *std::max_element(xs, xs + 4), *std::max_element(ys, ys + 4));
  if (Note(&texture, box, false, kCallQuad, source.left, source.top, source.right, source.bottom, corners[0],
           corners[1], corners[2], corners[3], argb)) {
    return;
  }
  InAreas(box, [&] { PaintQuad(texture, source, corners, argb); });
}

void SdlRenderer::PaintQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                            std::uint32_t argb) {
  if (clip_empty_) return;
  const auto* sdlTexture = dynamic_cast<const SdlTexture*>(&texture);
  if (!sdlTexture || !sdlTexture->Native()) return;
  if (sdlTexture->Packing()) {
    PaintPacked(*sdlTexture, source, corners, argb);
    return;
  }
  SDL_Texture* t = sdlTexture->Native();
  const Uint8 a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  const PointF& tl = corners[0];
  const PointF& tr = corners[1];
  const PointF& br = corners[2];
  const PointF& bl = corners[3];
  const bool axisAligned = AxisAligned(corners);
  if (axisAligned) {
    SDL_SetTextureColorMod(t, r, g, b);
    SDL_SetTextureAlphaMod(t, a);
    SDL_Rect src{source.left, source.top, source.Width(), source.Height()};
    SDL_FRect dst{tl.x, tl.y, tr.x - tl.x, bl.y - tl.y};
    SDL_RenderCopyF(renderer_, t, &src, &dst);
    return;
  }
  SDL_SetTextureColorMod(t, 255, 255, 255);
  SDL_SetTextureAlphaMod(t, 255);
  const float w = static_cast<float>(sdlTexture->Width());
  const float h = static_cast<float>(sdlTexture->Height());
  if (w <= 0 || h <= 0) return;
  const float u0 = source.left / w, u1 = source.right / w, v0 = source.top / h, v1 = source.bottom / h;
  const SDL_Color colour{r, g, b, a};
  SDL_Vertex v[4] = {
      {{tl.x, tl.y}, colour, {u0, v0}},
      {{tr.x, tr.y}, colour, {u1, v0}},
      {{br.x, br.y}, colour, {u1, v1}},
      {{bl.x, bl.y}, colour, {u0, v1}},
  };
  static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
  SDL_RenderGeometry(renderer_, t, v, 4, kIndices, 6);
}

void SdlRenderer::DrawRect(const Texture& texture, const RectI& source, float left, float top, float right,
                           float bottom, std::uint32_t argb, float depth) {
  Drawn();
  const SDL_Rect box = BoxOf(left, top, right, bottom);
  if (Note(&texture, box, false, kCallRect, source.left, source.top, source.right, source.bottom, left, top, right,
           bottom, argb)) {
    return;
  }
  InAreas(box, [&] { PaintRect(texture, source, left, top, right, bottom, argb, depth); });
}

void SdlRenderer::PaintRect(const Texture& texture, const RectI& source, float left, float top, float right,
                            float bottom, std::uint32_t argb, float depth) {
  const DrawDepth nested(draw_depth_);
  // A mirrored or empty rectangle takes the general path, as DrawQuad does.
  if (!(right > left && bottom > top)) {
    Renderer::DrawRect(texture, source, left, top, right, bottom, argb, depth);
    return;
  }
  if (clip_empty_) return;
  const auto* sdlTexture = dynamic_cast<const SdlTexture*>(&texture);
  if (!sdlTexture || !sdlTexture->Native()) return;
  if (sdlTexture->Packing()) {
    const PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    PaintPacked(*sdlTexture, source, corners, argb);
    return;
  }
  SDL_Texture* t = sdlTexture->Native();
  SDL_SetTextureColorMod(t, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  SDL_SetTextureAlphaMod(t, argb >> 24);
  const SDL_Rect src{source.left, source.top, source.Width(), source.Height()};
  // The software renderer's copy on the pixels the picture covers: a
  // frame's stretched pieces, drawn one at a time, meet without a gap.
  constexpr float kFar = 1.0e7f;
  if (software_ && std::fabs(left) < kFar && std::fabs(top) < kFar && std::fabs(right) < kFar &&
      std::fabs(bottom) < kFar) {
    const SDL_Rect dst = PixelsCovered(left, top, right, bottom);
    if (dst.w > 0 && dst.h > 0) SDL_RenderCopy(renderer_, t, &src, &dst);
    return;
  }
  const SDL_FRect dst{left, top, right - left, bottom - top};
  SDL_RenderCopyF(renderer_, t, &src, &dst);
}

void SdlRenderer::DrawRects(const RectDraw* draws, std::size_t count, float depth) {
  Drawn();
  if (!noting_ && !probing_ && !limited_) {
    PaintRects(draws, count, depth);
    return;
  }
  SDL_Rect all = kNoBox;
  for (std::size_t i = 0; i < count; ++i) {
    const RectDraw& d = draws[i];
    const SDL_Rect box = BoxOf(d.left, d.top, d.right, d.bottom);
    Note(d.texture, box, false, kCallRects, d.source.left, d.source.top, d.source.right, d.source.bottom, d.left,
         d.top, d.right, d.bottom, d.argb);
    if (i == 0) {
      all = box;
    } else {
      SDL_UnionRect(&all, &box, &all);
    }
  }
  if (probing_ || count == 0) return;
  if (!limited_ || draw_depth_ > 0) {
    PaintRects(draws, count, depth);
    return;
  }
  // Each area gets the pictures that meet it, in their order.
  for (const SDL_Rect& area : areas_) {
    if (!SDL_HasIntersection(&area, &all)) continue;
    area_draws_.clear();
    for (std::size_t i = 0; i < count; ++i) {
      const RectDraw& d = draws[i];
      const SDL_Rect box = BoxOf(d.left, d.top, d.right, d.bottom);
      if (SDL_HasIntersection(&area, &box)) area_draws_.push_back(d);
    }
    if (area_draws_.empty()) continue;
    area_ = &area;
    ApplyClip();
    PaintRects(area_draws_.data(), area_draws_.size(), depth);
  }
  area_ = nullptr;
}

void SdlRenderer::PaintRects(const RectDraw* draws, std::size_t count, float depth) {
  const DrawDepth nested(draw_depth_);
  // Pictures that meet edge to edge. SDL's software renderer turns a
  // scaled copy into whole pixels by cutting its position and its size each
  // on its own, and scales the picture by the ratio of those whole numbers:
  // neighbours then miss each other by a pixel wherever the fractions add
  // up, and the insides of the pictures (the cells' edges) drift by as
  // much, which drew seams across the zoomed map. Scaled to a fraction of
  // a pixel they are blended here instead, each pixel taking the texel
  // under its centre. Whole sizes need no help; other renderers place
  // their quads exactly.
  SDL_Surface* surface = software_ ? SoftwareSurface() : nullptr;
  bool queued = true;  // SDL may hold draws that must come first
  for (std::size_t i = 0; i < count; ++i) {
    const RectDraw& d = draws[i];
    const float width = d.right - d.left, height = d.bottom - d.top;
    const auto* sdlTexture = dynamic_cast<const SdlTexture*>(d.texture);
    const bool fits = width > 0 && height > 0 && std::fabs(d.left) < 1.0e7f && std::fabs(d.top) < 1.0e7f &&
                      width < 1.0e7f && height < 1.0e7f;
    if (surface && sdlTexture && sdlTexture->Native() && !sdlTexture->Packing() && !clip_empty_ && fits) {
      if (width == std::floor(width) && height == std::floor(height)) {
        // Whole sizes: SDL's own (filtered) copy, on the pixels whose
        // centres the picture covers, as for the others.
        const SDL_Rect dst = PixelsCovered(d.left, d.top, d.right, d.bottom);
        if (dst.w > 0 && dst.h > 0) {
          SDL_Texture* t = sdlTexture->Native();
          SDL_SetTextureColorMod(t, (d.argb >> 16) & 0xFF, (d.argb >> 8) & 0xFF, d.argb & 0xFF);
          SDL_SetTextureAlphaMod(t, d.argb >> 24);
          const SDL_Rect src{d.source.left, d.source.top, d.source.Width(), d.source.Height()};
          SDL_RenderCopy(renderer_, t, &src, &dst);
          queued = true;
        }
        continue;
      }
      if (queued) SDL_RenderFlush(renderer_);
      queued = false;
      if (BlendExactly(surface, *sdlTexture, d.source, d.left, d.top, d.right, d.bottom, d.argb)) continue;
    }
    DrawRect(*d.texture, d.source, d.left, d.top, d.right, d.bottom, d.argb, depth);
    queued = true;
  }
}

void SdlRenderer::PaintPacked(const SdlTexture& texture, const RectI& source, const PointF corners[4],
                              std::uint32_t argb) {
  const SheetPacking& packing = *texture.Packing();
  const int sw = source.Width(), sh = source.Height();
  if (sw <= 0 || sh <= 0) return;
  SDL_Texture* t = texture.Native();
  const PointF &tl = corners[0], &tr = corners[1], &br = corners[2], &bl = corners[3];
  const bool axisAligned = AxisAligned(corners);
  const Uint8 a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  if (axisAligned) {
    SDL_SetTextureColorMod(t, r, g, b);
    SDL_SetTextureAlphaMod(t, a);
  } else {
    SDL_SetTextureColorMod(t, 255, 255, 255);
    SDL_SetTextureAlphaMod(t, 255);
  }
  const float packedWidth = static_cast<float>(packing.PackedWidth());
  const float packedHeight = static_cast<float>(packing.PackedHeight());
  // A point of the quad at the share (s, u) of the source across and down.
  const auto at = [&](float s, float u) {
    const PointF top{tl.x + (tr.x - tl.x) * s, tl.y + (tr.y - tl.y) * s};
    const PointF bottom{bl.x + (br.x - bl.x) * s, bl.y + (br.y - bl.y) * s};
    return PointF{top.x + (bottom.x - top.x) * u, top.y + (bottom.y - top.y) * u};
  };
  packing.ForEachPiece(source, [&](const RectI& piece, const SheetPacking::Part& part) {
    // The whole source keeps the corners as they are.
    const float s0 = piece.left == source.left ? 0.0f : static_cast<float>(piece.left - source.left) / sw;
    const float s1 = piece.right == source.right ? 1.0f : static_cast<float>(piece.right - source.left) / sw;
    const float u0 = piece.top == source.top ? 0.0f : static_cast<float>(piece.top - source.top) / sh;
    const float u1 = piece.bottom == source.bottom ? 1.0f : static_cast<float>(piece.bottom - source.top) / sh;
    const int dx = part.packedX - part.sheet.left, dy = part.packedY - part.sheet.top;
    const SDL_Rect src{piece.left + dx, piece.top + dy, piece.Width(), piece.Height()};
    if (axisAligned) {
      const float x0 = s0 == 0.0f ? tl.x : tl.x + (tr.x - tl.x) * s0;
      const float x1 = s1 == 1.0f ? tr.x : tl.x + (tr.x - tl.x) * s1;
      const float y0 = u0 == 0.0f ? tl.y : tl.y + (bl.y - tl.y) * u0;
      const float y1 = u1 == 1.0f ? bl.y : tl.y + (bl.y - tl.y) * u1;
      const SDL_FRect dst{x0, y0, x1 - x0, y1 - y0};
      SDL_RenderCopyF(renderer_, t, &src, &dst);
      return;
    }
    const PointF p[4] = {at(s0, u0), at(s1, u0), at(s1, u1), at(s0, u1)};
    const float tu0 = src.x / packedWidth, tu1 = (src.x + src.w) / packedWidth;
    const float tv0 = src.y / packedHeight, tv1 = (src.y + src.h) / packedHeight;
    const SDL_Color colour{r, g, b, a};
    SDL_Vertex v[4] = {
        {{p[0].x, p[0].y}, colour, {tu0, tv0}},
        {{p[1].x, p[1].y}, colour, {tu1, tv0}},
        {{p[2].x, p[2].y}, colour, {tu1, tv1}},
        {{p[3].x, p[3].y}, colour, {tu0, tv1}},
    };
    static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(renderer_, t, v, 4, kIndices, 6);
  });
}

SDL_Surface* SdlRenderer::SoftwareSurface() const {
  if (!software_) return nullptr;
  // Drawing straight into it needs SDL's own drawing to be unscaled.
  float scaleX = 1, scaleY = 1;
  SDL_RenderGetScale(renderer_, &scaleX, &scaleY);
  SDL_Rect viewport{};
  SDL_RenderGetViewport(renderer_, &viewport);
  if (scaleX != 1 || scaleY != 1 || viewport.x != 0 || viewport.y != 0) return nullptr;
  if (target_) return target_;
  return window_ ? SDL_GetWindowSurface(window_) : nullptr;
}

namespace {

// One row of BlendExactly: the texels of ROW at COLUMNS, coloured by ARGB,
// blended as SDL blends onto the COUNT pixels from OUT. The caller has
// bounded every index (the columns and the row lie in the locked texture,
// the pixels in the surface and its clip), so the sanitizers' checks on
// each pixel are left out here: in the sanitizer builds they made this loop
// the game's largest cost by far.
__attribute__((no_sanitize("address", "undefined"))) void BlendTexelRow(const std::uint32_t* row,
                                                                        const int* columns, std::uint32_t* out,
                                                                        int count, std::uint32_t argb,
                                                                        bool keepAlpha) {
  const std::uint32_t modA = argb >> 24, modR = (argb >> 16) & 0xFF, modG = (argb >> 8) & 0xFF, modB = argb & 0xFF;
  const bool plain = (argb | 0xFF000000u) == 0xFFFFFFFFu;  // no colour to multiply
  for (int i = 0; i < count; ++i) {
    const std::uint32_t t = row[columns[i]];
    std::uint32_t a = t >> 24, r = (t >> 16) & 0xFF, g = (t >> 8) & 0xFF, b = t & 0xFF;
    if (!plain) {
      r = r * modR / 255, g = g * modG / 255, b = b * modB / 255;
    }
    a = a * modA / 255;
    if (a == 0) continue;
    std::uint32_t& d = out[i];
    if (a == 255) {
      d = 0xFF000000u | (r << 16) | (g << 8) | b;
      continue;
    }
    // SDL's blending: colour src * a + dst * (1 - a), alpha a + dst * (1 - a).
    const std::uint32_t da = d >> 24, dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
    const std::uint32_t keep = 255 - a;
    r = (r * a + dr * keep) / 255;
    g = (g * a + dg * keep) / 255;
    b = (b * a + db * keep) / 255;
    const std::uint32_t na = keepAlpha ? a + da * keep / 255 : 0xFF;
    d = (na << 24) | (r << 16) | (g << 8) | b;
  }
}

}  // namespace

bool SdlRenderer::BlendExactly(SDL_Surface* surface, const SdlTexture& texture, const RectI& source, float left,
                               float top, float right, float bottom, std::uint32_t argb) {
  if ((surface->format->format != SDL_PIXELFORMAT_ARGB8888 && surface->format->format != SDL_PIXELFORMAT_RGB888) ||
      SDL_MUSTLOCK(surface)) {
    return false;
  }
  const int sw = source.Width(), sh = source.Height();
  if (sw <= 0 || sh <= 0 || source.left < 0 || source.top < 0 || source.right > texture.Width() ||
      source.bottom > texture.Height()) {
    return false;
  }
  // The pixels whose centres lie inside, limited to the surface and clip.
  const auto first = [](float edge) { return std::ceil(edge - 0.5f); };
  int x0 = 0, y0 = 0, x1 = surface->w, y1 = surface->h;
  if (has_clip_) {
    x0 = std::max(x0, clip_.x);
    y0 = std::max(y0, clip_.y);
    x1 = std::min(x1, clip_.x + clip_.w);
    y1 = std::min(y1, clip_.y + clip_.h);
  }
  const float fx0 = std::max(first(left), static_cast<float>(x0));
  const float fy0 = std::max(first(top), static_cast<float>(y0));
  const float fx1 = std::min(first(right), static_cast<float>(x1));
  const float fy1 = std::min(first(bottom), static_cast<float>(y1));
  if (!(fx1 > fx0 && fy1 > fy0)) return true;  // nothing of it shows
  x0 = static_cast<int>(fx0), y0 = static_cast<int>(fy0), x1 = static_cast<int>(fx1), y1 = static_cast<int>(fy1);

  void* locked = nullptr;
  int texturePitch = 0;
  if (SDL_LockTexture(texture.Native(), nullptr, &locked, &texturePitch) != 0) return false;
  // Every texel column must lie within a row of the locked texels (the rows
  // are unchecked below).
  if (texturePitch < texture.Width() * 4) {
    SDL_UnlockTexture(texture.Native());
    return false;
  }
  const double ratioX = sw / (static_cast<double>(right) - left);
  const double ratioY = sh / (static_cast<double>(bottom) - top);
  texel_columns_.resize(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const int u = static_cast<int>(std::floor((x + 0.5 - left) * ratioX));
    texel_columns_[static_cast<std::size_t>(x - x0)] = source.left + std::clamp(u, 0, sw - 1);
  }
  const bool keepAlpha = surface->format->format == SDL_PIXELFORMAT_ARGB8888;
  const auto* texels = static_cast<const unsigned char*>(locked);
  auto* pixels = static_cast<unsigned char*>(surface->pixels);
  for (int y = y0; y < y1; ++y) {
    const int v = source.top + std::clamp(static_cast<int>(std::floor((y + 0.5 - top) * ratioY)), 0, sh - 1);
    const auto* row = reinterpret_cast<const std::uint32_t*>(texels + static_cast<std::size_t>(v) * texturePitch);
    auto* out = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::size_t>(y) * surface->pitch);
    BlendTexelRow(row, texel_columns_.data(), out + x0, x1 - x0, argb, keepAlpha);
  }
  SDL_UnlockTexture(texture.Native());
  return true;
}

void SdlRenderer::DrawLines(const PointF* points, int count, std::uint32_t argb) {
  Drawn();
  if (draw_depth_ == 0 && points != nullptr && count > 0) {
    float left = points[0].x, top = points[0].y, right = left, bottom = top;
    FrameFingerprint hash;
    for (int i = 0; i < count; ++i) {
      left = std::min(left, points[i].x), right = std::max(right, points[i].x);
      top = std::min(top, points[i].y), bottom = std::max(bottom, points[i].y);
      hash.AddValue(points[i]);
    }
    const SDL_Rect box = BoxOf(left, top, right, bottom);
    if (Note(nullptr, box, false, kCallLines, count, argb, hash.Value())) return;
    InAreas(box, [&] { PaintLines(points, count, argb); });
    return;
  }
  if (probing_) return;
  PaintLines(points, count, argb);
}

void SdlRenderer::PaintLines(const PointF* points, int count, std::uint32_t argb) {
  if (!points || count < 2 || clip_empty_) return;
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  line_points_.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) line_points_[i] = SDL_FPoint{points[i].x, points[i].y};
  SDL_RenderDrawLinesF(renderer_, line_points_.data(), count);
}

void SdlRenderer::SetClipRect(const RectI* clip) {
  const RectI none{-1, -1, -1, -1};
  const RectI& asked = clip != nullptr ? *clip : none;
  Note(nullptr, kNoBox, true, kCallClip, asked.left, asked.top, asked.right, asked.bottom);
  program_clip_set_ = clip != nullptr;
  if (program_clip_set_) program_clip_ = *clip;
  ApplyClip();
}

bool SdlRenderer::BeginKeeping() {
  if (probing_ || limited_ || !fresh_ || keeping_) return false;
  const int width = ScreenWidth(), height = ScreenHeight();
  if (width <= 0 || height <= 0) return false;
  if (software_) {
    // Drawn on the screen as usual and copied at the end.
    const SDL_Surface* surface = SoftwareSurface();
    if (!surface || surface->format->BytesPerPixel != 4 || SDL_MUSTLOCK(surface)) return false;
  } else {
    if (!kept_texture_ || kept_width_ != width || kept_height_ != height) {
      ForgetKept();
      kept_texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
      if (!kept_texture_) return false;
      kept_width_ = width;
      kept_height_ = height;
    }
    if (SDL_SetRenderTarget(renderer_, kept_texture_) != 0) return false;
    // The texture starts as the screen does: cleared.
    SDL_SetRenderDrawColor(renderer_, (clear_colour_ >> 16) & 0xFF, (clear_colour_ >> 8) & 0xFF,
                           clear_colour_ & 0xFF, clear_colour_ >> 24);
    SDL_RenderClear(renderer_);
    ApplyClip();
  }
  kept_ = 0;
  keeping_ = true;
  ++draw_depth_;  // the draws in between are noted as the kept picture
  return true;
}

std::uint64_t SdlRenderer::EndKeeping() {
  if (!keeping_) return 0;
  keeping_ = false;
  --draw_depth_;
  std::uint64_t kept = 0;
  if (software_) {
    SDL_RenderFlush(renderer_);
    const SDL_Surface* surface = SoftwareSurface();
    if (PlainSurface(surface)) {
      kept_width_ = surface->w;
      kept_height_ = surface->h;
      SurfaceToPixels(*surface, kept_pixels_);
      kept = NextKeptNumber();
    }
  } else {
    SDL_SetRenderTarget(renderer_, nullptr);
    ApplyClip();
    kept = NextKeptNumber();
    PaintKept();
  }
  kept_ = kept;
  kept_colour_ = clear_colour_;
  fresh_ = false;
  Note(nullptr, kNoBox, true, kCallKept, kept);
  return kept;
}

bool SdlRenderer::ShowKept(std::uint64_t kept) {
  if (kept == 0 || kept != kept_ || !fresh_ || clear_colour_ != kept_colour_ || limited_ || keeping_) return false;
  if (software_) {
    const SDL_Surface* surface = SoftwareSurface();
    if (!surface || surface->w != kept_width_ || surface->h != kept_height_ || surface->format->BytesPerPixel != 4 ||
        SDL_MUSTLOCK(surface)) {
      return false;
    }
  } else if (!kept_texture_ || ScreenWidth() != kept_width_ || ScreenHeight() != kept_height_) {
    return false;
  }
  fresh_ = false;
  if (Note(nullptr, kNoBox, true, kCallKept, kept)) return true;
  PaintKept();
  return true;
}

void SdlRenderer::PaintKept() {
  if (software_) {
    SDL_Surface* surface = SoftwareSurface();
    if (!surface || surface->w != kept_width_ || surface->h != kept_height_) return;
    SDL_RenderFlush(renderer_);  // the clear first
    PixelsToSurface(kept_pixels_, *surface);
    return;
  }
  if (!kept_texture_) return;
  // Copied as it is: the texture holds the cleared screen under the draws.
  SDL_SetTextureBlendMode(kept_texture_, SDL_BLENDMODE_NONE);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderCopy(renderer_, kept_texture_, nullptr, nullptr);
  ApplyClip();
}

void SdlRenderer::ForgetKept() {
  has_former_ = false;
  kept_ = 0;
  if (kept_texture_ && life_->renderer) SDL_DestroyTexture(kept_texture_);
  kept_texture_ = nullptr;
  kept_width_ = kept_height_ = 0;
  std::vector<std::uint32_t>().swap(kept_pixels_);
}

bool SdlRenderer::SavePng(const std::string& path) {
  if (!target_) return false;
  SDL_RenderFlush(renderer_);
  return IMG_SavePNG(target_, path.c_str()) == 0;
}

std::unique_ptr<Renderer> CreateWindowRenderer(SDL_Window* window) {
  if (!window) return nullptr;
  SDL_Renderer* r = SDL_CreateRenderer(window, -1, 0);
  if (!r) return nullptr;
  return std::make_unique<SdlRenderer>(r, nullptr, true, window);
}

std::unique_ptr<SdlRenderer> CreateSoftwareRenderer(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  SDL_Renderer* r = SDL_CreateSoftwareRenderer(surface);
  if (!r) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  return std::make_unique<SdlRenderer>(r, surface, false);
}

}  // namespace plat::sdl
