// The picture a renderer keeps from one frame for the next
// (Renderer::BeginKeeping): the screen as the first draws after a clear
// leave it, shown again in place of those draws. The software renderer
// copies its surface's pixels; the others draw those layers into a texture
// of the screen's size and copy that onto the screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat::sdl {

class KeptPicture {
 public:
  // software: the renderer draws into a surface whose pixels are copied.
  KeptPicture(SDL_Renderer* renderer, bool software) : renderer_(renderer), software_(software) {}
  KeptPicture(const KeptPicture&) = delete;
  KeptPicture& operator=(const KeptPicture&) = delete;

  // The screen was cleared in argb; something was drawn on it.
  void Cleared(std::uint32_t argb) {
    fresh_ = true;
    clear_colour_ = argb;
  }
  void Drawn() { fresh_ = false; }

  // The arguments below: surface, the software renderer's surface when it
  // can be drawn into straight (null otherwise, and for the others); width
  // and height, the screen's; clip, the clip to draw with again after the
  // render target changed (null: none).

  // Begins keeping the draws that follow; false (nothing changes) when
  // something was drawn since the last clear or the picture cannot be kept.
  bool Begin(const SDL_Surface* surface, int width, int height, const SDL_Rect* clip);
  bool Keeping() const { return keeping_; }
  // Ends the keeping; the draws are on the screen. The picture's number, 0
  // when it could not be kept.
  std::uint64_t End(const SDL_Surface* surface, const SDL_Rect* clip);
  // Whether the picture numbered kept can be shown now: the one kept,
  // nothing drawn since a clear in the colour it was kept over, the screen
  // of its size.
  bool CanShow(std::uint64_t kept, const SDL_Surface* surface, int width, int height) const;
  // The kept picture onto the screen.
  void Paint(SDL_Surface* surface, const SDL_Rect* clip);
  // The picture is lost (the screen's size changed, the device or its
  // render targets were reset, or the renderer goes: called before it is
  // destroyed).
  void Forget();

 private:
  SDL_Renderer* renderer_;
  bool software_;
  bool fresh_ = false;              // nothing drawn since the last clear
  std::uint32_t clear_colour_ = 0;  // of the last clear
  bool keeping_ = false;
  std::uint64_t kept_ = 0;         // its number, 0: none
  std::uint32_t kept_colour_ = 0;  // the clear's colour it was kept over
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;  // software: the surface's pixels
  SDL_Texture* texture_ = nullptr;     // others: a render target
};

}  // namespace plat::sdl
