#include "platform/sdl/sdl_renderer.h"

#include <SDL_image.h>

#include <atomic>
#include <cstring>

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
                       std::string path)
    : life_(std::move(life)), texture_(texture), width_(width), height_(height), path_(std::move(path)),
      id_(NextId()) {}

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
  SDL_UpdateTexture(texture_, nullptr, pixels_.data(), width_ * 4);
}

// ---------------------------------------------------------------------------

SdlRenderer::SdlRenderer(SDL_Renderer* renderer, SDL_Surface* target, bool present)
    : renderer_(renderer), target_(target), present_(present), life_(std::make_shared<RendererLife>()) {
  life_->renderer = renderer;
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
}

SdlRenderer::~SdlRenderer() {
  life_->renderer = nullptr;
  SDL_DestroyRenderer(renderer_);
  if (target_) SDL_FreeSurface(target_);
}

std::unique_ptr<SdlTexture> SdlRenderer::MakeTexture(int width, int height, const std::string& path) {
  if (width <= 0 || height <= 0) return nullptr;
  SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (!t) return nullptr;
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
  return std::make_unique<SdlTexture>(life_, t, width, height, path);
}

std::unique_ptr<SdlTexture> SdlRenderer::TextureFromSurface(SDL_Surface* surface, const std::string& path) {
  SDL_Surface* argb = ToArgb(surface);
  if (!argb) return nullptr;
  auto texture = MakeTexture(argb->w, argb->h, path);
  if (texture && SDL_UpdateTexture(texture->Native(), nullptr, argb->pixels, argb->pitch) != 0) texture.reset();
  SDL_FreeSurface(argb);
  return texture;
}

std::unique_ptr<Texture> SdlRenderer::LoadTexture(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return nullptr;
  auto texture = TextureFromSurface(loaded, path);
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
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  SDL_RenderClear(renderer_);
}

void SdlRenderer::EndScene() {
  if (present_) {
    SDL_RenderPresent(renderer_);
  } else {
    SDL_RenderFlush(renderer_);
  }
}

void SdlRenderer::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                           std::uint32_t argb, float /*depth*/) {
  if (clip_empty_) return;
  const auto* sdlTexture = dynamic_cast<const SdlTexture*>(&texture);
  if (!sdlTexture || !sdlTexture->Native()) return;
  SDL_Texture* t = sdlTexture->Native();
  const Uint8 a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  const PointF& tl = corners[0];
  const PointF& tr = corners[1];
  const PointF& br = corners[2];
  const PointF& bl = corners[3];
  const bool axisAligned = tl.y == tr.y && bl.y == br.y && tl.x == bl.x && tr.x == br.x && tr.x > tl.x && bl.y > tl.y;
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
  // A mirrored or empty rectangle takes the general path, as DrawQuad does.
  if (!(right > left && bottom > top)) {
    Renderer::DrawRect(texture, source, left, top, right, bottom, argb, depth);
    return;
  }
  if (clip_empty_) return;
  const auto* sdlTexture = dynamic_cast<const SdlTexture*>(&texture);
  if (!sdlTexture || !sdlTexture->Native()) return;
  SDL_Texture* t = sdlTexture->Native();
  SDL_SetTextureColorMod(t, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  SDL_SetTextureAlphaMod(t, argb >> 24);
  const SDL_Rect src{source.left, source.top, source.Width(), source.Height()};
  const SDL_FRect dst{left, top, right - left, bottom - top};
  SDL_RenderCopyF(renderer_, t, &src, &dst);
}

void SdlRenderer::DrawLines(const PointF* points, int count, std::uint32_t argb) {
  if (!points || count < 2 || clip_empty_) return;
  SDL_SetRenderDrawColor(renderer_, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
  line_points_.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) line_points_[i] = SDL_FPoint{points[i].x, points[i].y};
  SDL_RenderDrawLinesF(renderer_, line_points_.data(), count);
}

void SdlRenderer::SetClipRect(const RectI* clip) {
  clip_empty_ = clip != nullptr && (clip->right <= clip->left || clip->bottom <= clip->top);
  if (clip == nullptr || clip_empty_) {
    SDL_RenderSetClipRect(renderer_, nullptr);
    return;
  }
  const SDL_Rect rect{clip->left, clip->top, clip->Width(), clip->Height()};
  SDL_RenderSetClipRect(renderer_, &rect);
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
  return std::make_unique<SdlRenderer>(r, nullptr, true);
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
