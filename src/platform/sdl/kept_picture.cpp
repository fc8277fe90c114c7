#include "platform/sdl/kept_picture.h"

#include "platform/render.h"
#include "platform/sdl/sdl_texture.h"

namespace plat::sdl {

bool KeptPicture::Begin(const SDL_Surface* surface, int width, int height, const SDL_Rect* clip) {
  if (!fresh_ || keeping_ || width <= 0 || height <= 0) return false;
  if (software_) {
    // Drawn on the screen as usual and copied at the end.
    if (!PlainSurface(surface)) return false;
  } else {
    if (!texture_ || width_ != width || height_ != height) {
      Forget();
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
      if (!texture_) return false;
      width_ = width;
      height_ = height;
    }
    if (SDL_SetRenderTarget(renderer_, texture_) != 0) return false;
    // The texture starts as the screen does: cleared.
    SDL_SetRenderDrawColor(renderer_, (clear_colour_ >> 16) & 0xFF, (clear_colour_ >> 8) & 0xFF,
                           clear_colour_ & 0xFF, clear_colour_ >> 24);
    SDL_RenderClear(renderer_);
    SDL_RenderSetClipRect(renderer_, clip);
  }
  kept_ = 0;
  keeping_ = true;
  return true;
}

std::uint64_t KeptPicture::End(const SDL_Surface* surface, const SDL_Rect* clip) {
  if (!keeping_) return 0;
  keeping_ = false;
  std::uint64_t kept = 0;
  if (software_) {
    SDL_RenderFlush(renderer_);
    if (PlainSurface(surface)) {
      width_ = surface->w;
      height_ = surface->h;
      SurfaceToPixels(*surface, pixels_);
      kept = Renderer::NextKeptNumber();
    }
  } else {
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderSetClipRect(renderer_, clip);
    kept = Renderer::NextKeptNumber();
    Paint(nullptr, clip);
  }
  kept_ = kept;
  kept_colour_ = clear_colour_;
  fresh_ = false;
  return kept;
}

bool KeptPicture::CanShow(std::uint64_t kept, const SDL_Surface* surface, int width, int height) const {
  if (kept == 0 || kept != kept_ || !fresh_ || clear_colour_ != kept_colour_ || keeping_) return false;
  if (software_) return PlainSurface(surface) && surface->w == width_ && surface->h == height_;
  return texture_ && width == width_ && height == height_;
}

void KeptPicture::Paint(SDL_Surface* surface, const SDL_Rect* clip) {
  if (software_) {
    if (!surface || surface->w != width_ || surface->h != height_) return;
    SDL_RenderFlush(renderer_);  // the clear first
    PixelsToSurface(pixels_, *surface);
    return;
  }
  if (!texture_) return;
  // Copied as it is: the texture holds the cleared screen under the draws.
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderSetClipRect(renderer_, clip);
}

void KeptPicture::Forget() {
  kept_ = 0;
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
  width_ = height_ = 0;
  std::vector<std::uint32_t>().swap(pixels_);
}

}  // namespace plat::sdl
