#include "platform/sdl/sdl_renderer.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace plat::sdl {
namespace {

// The draw calls the notes tell apart.
enum eDrawCall { kCallClear = 1, kCallQuad, kCallRect, kCallRects, kCallLines, kCallClip, kCallKept };

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

// Whether the quad's corners (top-left, top-right, bottom-right,
// bottom-left) make an upright rectangle of some size.
bool AxisAligned(const PointF corners[4]) {
  const PointF &tl = corners[0], &tr = corners[1], &br = corners[2], &bl = corners[3];
  return tl.y == tr.y && bl.y == br.y && tl.x == bl.x && tr.x == br.x && tr.x > tl.x && bl.y > tl.y;
}

bool IsSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}

}  // namespace

SdlRenderer::SdlRenderer(SDL_Renderer* renderer, SDL_Surface* target, bool present, SDL_Window* window)
    : renderer_(renderer), target_(target), present_(present), life_(std::make_shared<RendererLife>()),
      window_(window), software_(IsSoftware(renderer)), packs_sheets_(!software_), kept_(renderer, software_) {
  life_->renderer = renderer;
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
}

std::string SdlRenderer::Name() const {
  SDL_RendererInfo info{};
  return SDL_GetRendererInfo(renderer_, &info) == 0 && info.name ? info.name : "unknown";
}

SdlRenderer::~SdlRenderer() {
  kept_.Forget();
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

void SdlRenderer::Clear(std::uint32_t argb) {
  kept_.Cleared(argb);
  Note(kCallClear, nullptr, argb);
  if (notes_.Probing()) return;
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  SDL_RenderClear(renderer_);
}

void SdlRenderer::EndScene() {
  if (notes_.Probing()) return;
  if (present_) {
    SDL_RenderPresent(renderer_);
  } else {
    SDL_RenderFlush(renderer_);
  }
}

void SdlRenderer::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                           std::uint32_t argb, float /*depth*/) {
  kept_.Drawn();
  Note(kCallQuad, &texture, source.left, source.top, source.right, source.bottom, corners[0], corners[1],
       corners[2], corners[3], argb);
  if (notes_.Probing()) return;
  PaintQuad(texture, source, corners, argb);
}

void SdlRenderer::DrawRect(const Texture& texture, const RectI& source, float left, float top, float right,
                           float bottom, std::uint32_t argb, float /*depth*/) {
  kept_.Drawn();
  Note(kCallRect, &texture, source.left, source.top, source.right, source.bottom, left, top, right, bottom, argb);
  if (notes_.Probing()) return;
  const PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  PaintQuad(texture, source, corners, argb);
}

void SdlRenderer::DrawRects(const RectDraw* draws, std::size_t count, float /*depth*/) {
  kept_.Drawn();
  for (std::size_t i = 0; i < count && notes_.Wanted(); ++i) {
    const RectDraw& d = draws[i];
    Note(kCallRects, d.texture, d.source.left, d.source.top, d.source.right, d.source.bottom, d.left, d.top,
         d.right, d.bottom, d.argb);
  }
  if (notes_.Probing()) return;
  PaintRects(draws, count);
}

void SdlRenderer::DrawLines(const PointF* points, int count, std::uint32_t argb) {
  kept_.Drawn();
  if (notes_.Wanted() && points != nullptr && count > 0) {
    FrameFingerprint hash;
    for (int i = 0; i < count; ++i) hash.AddValue(points[i]);
    Note(kCallLines, nullptr, count, argb, hash.Value());
  }
  if (notes_.Probing()) return;
  PaintLines(points, count, argb);
}

void SdlRenderer::SetClipRect(const RectI* clip) {
  const RectI none{-1, -1, -1, -1};
  const RectI& asked = clip != nullptr ? *clip : none;
  Note(kCallClip, nullptr, asked.left, asked.top, asked.right, asked.bottom);
  const SDL_Rect rect = clip != nullptr ? SDL_Rect{clip->left, clip->top, clip->Width(), clip->Height()} : SDL_Rect{};
  clip_empty_ = clip != nullptr && (rect.w <= 0 || rect.h <= 0);
  has_clip_ = clip != nullptr && !clip_empty_;
  if (has_clip_) clip_ = rect;
  SDL_RenderSetClipRect(renderer_, Clip());
}

bool SdlRenderer::BeginKeeping() {
  if (notes_.Probing() || !kept_.Begin(SoftwareSurface(), ScreenWidth(), ScreenHeight(), Clip())) return false;
  notes_.SetHeld(true);  // the draws in between are noted as the kept picture
  return true;
}

std::uint64_t SdlRenderer::EndKeeping() {
  if (!kept_.Keeping()) return 0;
  notes_.SetHeld(false);
  const std::uint64_t kept = kept_.End(SoftwareSurface(), Clip());
  Note(kCallKept, nullptr, kept);
  return kept;
}

bool SdlRenderer::ShowKept(std::uint64_t kept) {
  SDL_Surface* surface = SoftwareSurface();
  if (!kept_.CanShow(kept, surface, ScreenWidth(), ScreenHeight())) return false;
  kept_.Drawn();
  Note(kCallKept, nullptr, kept);
  if (!notes_.Probing()) kept_.Paint(surface, Clip());
  return true;
}

void SdlRenderer::ForgetKept() {
  former_.Forget();
  kept_.Forget();
}

void SdlRenderer::KeepFormerPicture() {
  former_.Forget();
  SDL_Surface* surface = SoftwareSurface();
  if (notes_.Probing() || surface == nullptr) return;
  SDL_RenderFlush(renderer_);
  former_.Keep(*surface);
}

bool SdlRenderer::ShowFormerPicture(std::uint64_t fingerprint) {
  SDL_Surface* surface = SoftwareSurface();
  if (notes_.Probing() || surface == nullptr) return false;
  SDL_RenderFlush(renderer_);
  if (!former_.Show(*surface, fingerprint)) return false;
  if (present_) SDL_RenderPresent(renderer_);
  return true;
}

void SdlRenderer::PaintQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                            std::uint32_t argb) {
  if (clip_empty_) return;
  const SdlTexture* own = Own(texture);
  if (!own || !own->Native()) return;
  const bool upright = AxisAligned(corners);
  if (const SheetPacking* packing = own->Packing()) {
    const float width = static_cast<float>(packing->PackedWidth());
    const float height = static_cast<float>(packing->PackedHeight());
    packing->ForEachPieceOnQuad(source, corners, upright, [&](const RectI& packed, const PointF share[4]) {
      PaintTexels(own->Native(), width, height, packed, share, upright, argb);
    });
    return;
  }
  PaintTexels(own->Native(), static_cast<float>(own->Width()), static_cast<float>(own->Height()), source, corners,
              upright, argb);
}

void SdlRenderer::PaintTexels(SDL_Texture* texture, float width, float height, const RectI& source,
                              const PointF corners[4], bool upright, std::uint32_t argb) {
  const Uint8 a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  const PointF &tl = corners[0], &tr = corners[1], &br = corners[2], &bl = corners[3];
  if (upright) {
    SDL_SetTextureColorMod(texture, r, g, b);
    SDL_SetTextureAlphaMod(texture, a);
    const SDL_Rect src{source.left, source.top, source.Width(), source.Height()};
    // The software renderer's copy on the pixels the picture covers: a
    // frame's stretched pieces, drawn one at a time, meet without a gap.
    constexpr float kFar = 1.0e7f;
    if (software_ && std::fabs(tl.x) < kFar && std::fabs(tl.y) < kFar && std::fabs(br.x) < kFar &&
        std::fabs(br.y) < kFar) {
      const SDL_Rect dst = PixelsCovered(tl.x, tl.y, br.x, br.y);
      if (dst.w > 0 && dst.h > 0) SDL_RenderCopy(renderer_, texture, &src, &dst);
      return;
    }
    const SDL_FRect dst{tl.x, tl.y, tr.x - tl.x, bl.y - tl.y};
    SDL_RenderCopyF(renderer_, texture, &src, &dst);
    return;
  }
  SDL_SetTextureColorMod(texture, 255, 255, 255);
  SDL_SetTextureAlphaMod(texture, 255);
  if (width <= 0 || height <= 0) return;
  const float u0 = source.left / width, u1 = source.right / width;
  const float v0 = source.top / height, v1 = source.bottom / height;
  const SDL_Color colour{r, g, b, a};
  SDL_Vertex v[4] = {
      {{tl.x, tl.y}, colour, {u0, v0}},
      {{tr.x, tr.y}, colour, {u1, v0}},
      {{br.x, br.y}, colour, {u1, v1}},
      {{bl.x, bl.y}, colour, {u0, v1}},
  };
  static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
  SDL_RenderGeometry(renderer_, texture, v, 4, kIndices, 6);
}

void SdlRenderer::PaintRects(const RectDraw* draws, std::size_t count) {
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
    const SdlTexture* sdlTexture = Own(*d.texture);
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
    const PointF corners[4] = {{d.left, d.top}, {d.right, d.top}, {d.right, d.bottom}, {d.left, d.bottom}};
    PaintQuad(*d.texture, d.source, corners, d.argb);
    queued = true;
  }
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

void SdlRenderer::PaintLines(const PointF* points, int count, std::uint32_t argb) {
  if (!points || count < 2 || clip_empty_) return;
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  line_points_.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) line_points_[i] = SDL_FPoint{points[i].x, points[i].y};
  SDL_RenderDrawLinesF(renderer_, line_points_.data(), count);
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

