// A texture of SDL's 2-D renderer, as the game's drawing sees it
// (platform/render.h): its texels can be read and written whole, and a large
// sheet that is mostly transparent may hold only its parts, packed.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/render.h"
#include "platform/sheet_packing.h"

namespace plat::sdl {

// Shared by a renderer and everything it made: textures outliving their
// renderer (globals released at exit) must not touch it any more. Its
// address marks the renderer's textures (Texture::Maker).
struct RendererLife {
  SDL_Renderer* renderer = nullptr;  // null once the renderer is gone
};

class SdlTexture final : public Texture {
 public:
  // packing: the parts of a sheet that texture holds packed (null: texture
  // is the whole picture).
  SdlTexture(std::shared_ptr<RendererLife> life, SDL_Texture* texture, int width, int height,
             std::string path, std::unique_ptr<SheetPacking> packing = nullptr);
  ~SdlTexture() override;

  // The texture behind texture when life's renderer made it; null for any
  // other.
  static const SdlTexture* Of(const Texture& texture, const RendererLife& life) {
    return texture.Maker() == &life ? static_cast<const SdlTexture*>(&texture) : nullptr;
  }

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uint32_t* Lock(int& pitch) override;
  void Unlock() override;
  std::uint64_t Id() const override { return id_; }
  // Grows with every write of the texels (Unlock): the same texture drawn
  // with new contents is a new picture.
  std::uint64_t Version() const { return version_; }
  SDL_Texture* Native() const { return texture_; }
  // Non-null when Native() holds only the parts of the picture (a mostly
  // transparent sheet under a GL driver): its draws are the draws of the
  // parts' pieces.
  const SheetPacking* Packing() const { return packing_.get(); }

 private:
  std::shared_ptr<RendererLife> life_;
  SDL_Texture* texture_;
  int width_, height_;
  std::string path_;  // to read the texels back for Lock
  std::uint64_t id_;
  std::uint64_t version_ = 0;
  std::vector<std::uint32_t> pixels_;  // CPU copy, made at the first Lock
  std::unique_ptr<SheetPacking> packing_;
};

// An ARGB8888 texture of the renderer, blended and filtered; null on
// failure.
SDL_Texture* NewBlendedTexture(SDL_Renderer* renderer, int access, int width, int height);

// ARGB copy of a surface; null on failure. The caller frees it.
SDL_Surface* ToArgb(SDL_Surface* surface);

// Whether a surface's pixels can be read and written as they lie: 32 bits
// each, no lock needed.
bool PlainSurface(const SDL_Surface* surface);
// The rows of a plain surface into pixels (edge to edge, resized to fit)
// and back.
void SurfaceToPixels(const SDL_Surface& surface, std::vector<std::uint32_t>& pixels);
void PixelsToSurface(const std::vector<std::uint32_t>& pixels, SDL_Surface& surface);

}  // namespace plat::sdl
