// A texture together with what is needed to make it again: the file it came
// from, how it was made and its mip-level count. Every image of the game
// lives in one: the global table of 19, the country records, the screens.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/render.h"

class cTexture {
 public:
  enum Kind : std::uint8_t { kNone = 0, kFromFile = 1, kCreated = 2 };

  cTexture();
  ~cTexture();
  cTexture(const cTexture&) = delete;
  cTexture& operator=(const cTexture&) = delete;

  // Releases what it held; kind 0 returns 0; kind 1 loads the file (logging
  // "Loading file \"%s\" (%i) [OK]" or "[FAILED]"); kind 2 creates an empty
  // 256 x 256 texture; other kinds return 20. A null name stores an empty one.
  long Load(const wchar_t* fileName, std::uint8_t kind, std::uint8_t mipLevels);
  // An empty texture of the given size; kind 2, one mip level.
  long Create(int width, int height);
  void Release();

  long OnDeviceCreated();
  long OnDeviceReset();
  void OnDeviceLost();

  plat::Texture* Get() const { return texture_.get(); }
  const std::wstring& FileName() const { return file_name_; }
  std::uint8_t MipLevels() const { return mip_levels_; }
  std::uint8_t GetKind() const { return kind_; }

 private:
  // The empty 256 x 256 texture of a created holder.
  long CreateDefault();

  std::shared_ptr<plat::Texture> texture_;  // a file's may be shared (LoadFileTexture)
  std::wstring file_name_;
  std::uint8_t mip_levels_ = 0;
  std::uint8_t kind_ = kNone;
};

// One texture per picture file: a file asked for again while a texture
// loaded from it is still held anywhere (a holder above, the GUI toolkit's
// resource manager) gets that texture, not a second copy. Textures of
// another renderer are never handed out. Null when the file cannot be
// loaded. The textures of files are only drawn, never written.
std::shared_ptr<plat::Texture> LoadFileTexture(plat::Renderer& renderer, const std::string& path);

constexpr int kTextureTableSize = 19;
extern cTexture g_Textures[kTextureTableSize];

// Draws the source rectangle of texture stretched into the destination
// rectangle (x, y, width, height) at depth, tinted argb. With combine the
// scaling is put before the batch's current transform. The caller has begun
// the batch. Returns 0, or a negative code when nothing could be drawn.
long DrawSpriteRect(plat::SpriteBatch* sprite, cTexture* texture, const plat::RectI& source, int x,
                    int y, int width, int height, std::uint32_t argb, float depth, bool combine);

// Draws a frame cut from a 3 x 3 grid of square pieces of size piece whose
// top-left is (sheetX, sheetY) in texture: corners as they are, edges and
// centre stretched to fill the box (x, y, width, height).
void DrawNineSlice(plat::SpriteBatch* sprite, cTexture* texture, int sheetX, int sheetY, int piece,
                   int x, int y, int width, int height, std::uint32_t argb);
