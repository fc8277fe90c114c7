#pragma once
// A picture of the screen written as PNG quickly: zlib's fastest level and
// one cheap row filter. The files are larger than SDL_image's but take a
// quarter of the time to write, which matters where a picture is taken at
// every step of a scripted play.
#include <string>

struct SDL_Surface;

namespace plat::sdl {

// Writes a 32-bit ARGB8888 surface as an RGBA PNG at PATH; false (and no
// file left behind) when the surface has another format or the file cannot
// be written.
bool SaveSurfacePngQuickly(const SDL_Surface& surface, const std::string& path);

}  // namespace plat::sdl
