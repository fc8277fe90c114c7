#include "platform/sdl/quick_png.h"

#include <SDL.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace plat::sdl {

namespace {

// Writes the rows; libpng reports its errors by longjmp, so nothing here
// owns anything that a jump past it would leak.
bool WriteRows(std::FILE* file, const SDL_Surface& surface) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.w), static_cast<png_uint_32>(surface.h), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  // ARGB8888 lies in memory as B, G, R, A on this little-endian platform.
  png_set_bgr(png);
  const auto* pixels = static_cast<const unsigned char*>(surface.pixels);
  for (int y = 0; y < surface.h; ++y) {
    png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * surface.pitch));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SaveSurfacePngQuickly(const SDL_Surface& surface, const std::string& path) {
  if (surface.format == nullptr || surface.format->format != SDL_PIXELFORMAT_ARGB8888 || surface.w <= 0 ||
      surface.h <= 0 || surface.pixels == nullptr) {
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WriteRows(file, surface);
  if (std::fclose(file) != 0 || !written) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
  }
  return true;
}

}  // namespace plat::sdl
