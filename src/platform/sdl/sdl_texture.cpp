#include "platform/sdl/sdl_texture.h"

#include <SDL_image.h>

#include <atomic>
#include <cstring>
#include <utility>

namespace plat::sdl {
namespace {

std::uint64_t NextId() {
  static std::atomic<std::uint64_t> s_next{0};
  return ++s_next;
}

}  // namespace

SDL_Texture* NewBlendedTexture(SDL_Renderer* renderer, int access, int width, int height) {
  SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, access, width, height);
  if (!t) return nullptr;
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
  return t;
}

SDL_Surface* ToArgb(SDL_Surface* surface) {
  if (!surface) return nullptr;
  return SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
}

bool PlainSurface(const SDL_Surface* surface) {
  return surface != nullptr && surface->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(surface);
}

void SurfaceToPixels(const SDL_Surface& surface, std::vector<std::uint32_t>& pixels) {
  pixels.resize(static_cast<std::size_t>(surface.w) * static_cast<std::size_t>(surface.h));
  const auto* rows = static_cast<const unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * surface.w,
                rows + static_cast<std::size_t>(y) * surface.pitch, static_cast<std::size_t>(surface.w) * 4);
  }
}

void PixelsToSurface(const std::vector<std::uint32_t>& pixels, SDL_Surface& surface) {
  auto* rows = static_cast<unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    std::memcpy(rows + static_cast<std::size_t>(y) * surface.pitch,
                pixels.data() + static_cast<std::size_t>(y) * surface.w, static_cast<std::size_t>(surface.w) * 4);
  }
}

SdlTexture::SdlTexture(std::shared_ptr<RendererLife> life, SDL_Texture* texture, int width, int height,
                       std::string path, std::unique_ptr<SheetPacking> packing)
    : Texture(life.get()), life_(std::move(life)), texture_(texture), width_(width), height_(height),
      path_(std::move(path)), id_(NextId()), packing_(std::move(packing)) {}

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
      if (argb && argb->w == width_ && argb->h == height_) SurfaceToPixels(*argb, pixels_);
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

}  // namespace plat::sdl
