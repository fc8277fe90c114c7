#include "platform/sdl/former_picture.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/sdl/sdl_texture.h"

namespace plat::sdl {

void FormerPicture::Keep(const SDL_Surface& surface) {
  has_former_ = false;
  if (!has_shown_ || !PlainSurface(&surface)) return;
  SurfaceToPixels(surface, former_pixels_);
  former_width_ = surface.w;
  former_height_ = surface.h;
  former_ = shown_;
  has_former_ = true;
}

bool FormerPicture::Show(SDL_Surface& surface, std::uint64_t fingerprint) {
  if (!has_former_ || !has_shown_ || fingerprint != former_ || !PlainSurface(&surface) ||
      surface.w != former_width_ || surface.h != former_height_) {
    return false;
  }
  // The two pictures change places, row by row.
  auto* rows = static_cast<unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(rows + static_cast<std::size_t>(y) * surface.pitch);
    std::swap_ranges(row, row + surface.w, former_pixels_.begin() + static_cast<std::ptrdiff_t>(y) * surface.w);
  }
  std::swap(former_, shown_);
  return true;
}

}  // namespace plat::sdl
