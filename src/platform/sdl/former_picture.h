// The software renderer's picture on the screen and the one shown before
// it, for an idle window (platform/frame_rest.h): the map's markers change
// between two pictures, and a probe whose picture is the one shown before
// puts it back (a copy of the screen's pixels) instead of drawing it again.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat::sdl {

class FormerPicture {
 public:
  // The frame just drawn, with the fingerprint given, is the picture on the
  // screen now.
  void Shown(std::uint64_t fingerprint) {
    has_shown_ = true;
    shown_ = fingerprint;
  }
  // The picture on the screen is not known (it was drawn without noting).
  void Unknown() { has_shown_ = false; }
  // The picture on the screen, in surface, with its fingerprint, is kept as
  // the former picture (before another is drawn over it); nothing is kept
  // when it is not known.
  void Keep(const SDL_Surface& surface);
  // Puts the former picture into surface when its fingerprint is the one
  // given, keeping the picture it replaces as the former one. False when
  // there is no such picture.
  bool Show(SDL_Surface& surface, std::uint64_t fingerprint);
  void Forget() { has_former_ = false; }

 private:
  bool has_shown_ = false;
  std::uint64_t shown_ = 0;  // the fingerprint of the picture on the screen
  bool has_former_ = false;
  int former_width_ = 0, former_height_ = 0;
  std::uint64_t former_ = 0;  // the fingerprint of the former picture
  std::vector<std::uint32_t> former_pixels_;
};

}  // namespace plat::sdl
