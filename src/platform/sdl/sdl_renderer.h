// The renderer over SDL2's 2-D renderer: a window renderer for the game and
// a software renderer that draws into a surface (headless tests, snapshots).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/render.h"

namespace plat::sdl {

// Shared by a renderer and everything it made: textures outliving their
// renderer (globals released at exit) must not touch it any more.
struct RendererLife {
  SDL_Renderer* renderer = nullptr;  // null once the renderer is gone
};

class SdlTexture final : public Texture {
 public:
  SdlTexture(std::shared_ptr<RendererLife> life, SDL_Texture* texture, int width, int height,
             std::string path);
  ~SdlTexture() override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uint32_t* Lock(int& pitch) override;
  void Unlock() override;
  std::uint64_t Id() const override { return id_; }
  SDL_Texture* Native() const { return texture_; }

 private:
  std::shared_ptr<RendererLife> life_;
  SDL_Texture* texture_;
  int width_, height_;
  std::string path_;  // to read the texels back for Lock
  std::uint64_t id_;
  std::vector<std::uint32_t> pixels_;  // CPU copy, made at the first Lock
};

class SdlRenderer final : public Renderer {
 public:
  // Takes ownership of renderer and of target (the software surface, or
  // null for a window). present: EndScene shows the frame. window: the
  // window of a window renderer.
  SdlRenderer(SDL_Renderer* renderer, SDL_Surface* target, bool present, SDL_Window* window = nullptr);
  ~SdlRenderer() override;
  SdlRenderer(const SdlRenderer&) = delete;
  SdlRenderer& operator=(const SdlRenderer&) = delete;

  std::unique_ptr<Texture> LoadTexture(const std::string& path) override;
  std::unique_ptr<Texture> CreateTexture(int width, int height) override;
  std::unique_ptr<Font> CreateFont(const std::wstring& face, int height, int weight) override;
  int MaxTextureWidth() const override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;

  long BeginScene() override { return 0; }
  void Clear(std::uint32_t argb) override;
  void EndScene() override;
  void DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4], std::uint32_t argb,
                float depth) override;
  void DrawRect(const Texture& texture, const RectI& source, float left, float top, float right, float bottom,
                std::uint32_t argb, float depth) override;
  void DrawRects(const RectDraw* draws, std::size_t count, float depth) override;
  void DrawLines(const PointF* points, int count, std::uint32_t argb) override;
  void SetClipRect(const RectI* clip) override;

  // An ARGB surface (converted as needed) to a texture; null on failure.
  std::unique_ptr<SdlTexture> TextureFromSurface(SDL_Surface* surface, const std::string& path);
  // Software renderer only: writes what was drawn as a PNG file.
  bool SavePng(const std::string& path);
  SDL_Surface* Target() const { return target_; }
  SDL_Renderer* Native() const { return renderer_; }

 private:
  std::unique_ptr<SdlTexture> MakeTexture(int width, int height, const std::string& path);
  // The surface SDL's software renderer draws into (null for others).
  SDL_Surface* SoftwareSurface() const;
  // One of DrawRects' pictures onto the pixels whose centres lie in
  // [left, right) x [top, bottom) of the software surface, each taking the
  // texel under its centre; false when it cannot be drawn that way.
  bool BlendExactly(SDL_Surface* surface, const SdlTexture& texture, const RectI& source, float left, float top,
                    float right, float bottom, std::uint32_t argb);

  SDL_Renderer* renderer_;
  SDL_Surface* target_;
  bool present_;
  std::shared_ptr<RendererLife> life_;
  std::vector<SDL_FPoint> line_points_;
  bool clip_empty_ = false;  // a clip without area: nothing is drawn
  bool has_clip_ = false;
  SDL_Rect clip_{};
  SDL_Window* window_;  // the window a software renderer draws into, or null
  bool software_ = false;
  std::vector<int> texel_columns_;  // BlendExactly's per-pixel texel columns
};

// Null when SDL cannot make a renderer for the window.
std::unique_ptr<Renderer> CreateWindowRenderer(SDL_Window* window);
// A renderer drawing into an ARGB8888 surface of the given size.
std::unique_ptr<SdlRenderer> CreateSoftwareRenderer(int width, int height);

// Fonts (sdl_font.cpp). The TrueType file used for a Windows face name.
std::string FontFileFor(const std::wstring& face, int weight);
std::unique_ptr<Font> CreateSdlFont(SdlRenderer& renderer, const std::wstring& face, int height, int weight);

}  // namespace plat::sdl
