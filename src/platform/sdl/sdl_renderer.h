// The renderer over SDL2's 2-D renderer: a window renderer for the game and
// a software renderer that draws into a surface (headless tests, snapshots).
// What it draws is noted for an idle window (draw_notes.h); the pictures it
// shows again are kept apart (kept_picture.h, former_picture.h).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/render.h"
#include "platform/sdl/draw_notes.h"
#include "platform/sdl/former_picture.h"
#include "platform/sdl/kept_picture.h"
#include "platform/sdl/sdl_texture.h"

namespace plat::sdl {

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
  bool BeginKeeping() override;
  std::uint64_t EndKeeping() override;
  bool ShowKept(std::uint64_t kept) override;
  // The kept pictures are lost (the window's size changed, the device or
  // its render targets were reset).
  void ForgetKept();

  // The draw calls noted for an idle window (the fingerprint of a frame,
  // the probes that draw nothing).
  DrawNotes& Notes() { return notes_; }
  // The frame just drawn and noted is the picture on the screen now; or
  // that picture is not known (it was drawn without noting).
  void NoteShownPicture() { former_.Shown(notes_.Fingerprint()); }
  void ForgetShownPicture() { former_.Unknown(); }
  // Software renderer: the picture on the screen is kept as the former
  // picture (before another is drawn over it); nothing is kept when it is
  // not known.
  void KeepFormerPicture();
  // Puts the former picture back on the screen and shows it when its
  // frame's fingerprint is the one given, keeping the picture it replaces as
  // the former one: a picture that goes back and forth (the map's markers)
  // costs a copy rather than a drawing. False when there is no such picture.
  bool ShowFormerPicture(std::uint64_t fingerprint);

  // An ARGB surface (converted as needed) to a texture; null on failure.
  std::unique_ptr<SdlTexture> TextureFromSurface(SDL_Surface* surface, const std::string& path);
  // Software renderer only: writes what was drawn as a PNG file.
  bool SavePng(const std::string& path);
  SDL_Surface* Target() const { return target_; }
  // Whether mostly transparent sheets loaded from now on are packed (by
  // default under the GL drivers, whose textures take memory the software
  // renderer's do not need twice).
  void SetPacksSheets(bool packs) { packs_sheets_ = packs; }
  SDL_Renderer* Native() const { return renderer_; }
  // The name of SDL's render driver behind it, for the log.
  std::string Name() const;

 private:
  int MaxTextureHeight() const;
  std::unique_ptr<SdlTexture> MakeTexture(int width, int height, const std::string& path);
  // A texture of SDL's for MakeTexture, blended and filtered; null on
  // failure.
  SDL_Texture* NewNative(int width, int height);
  // A texture holding the ARGB8888 texels given; null on failure.
  std::unique_ptr<SdlTexture> UploadArgb(const void* pixels, int pitch, int width, int height,
                                         const std::string& path);
  // This renderer's texture behind texture; null for another's.
  const SdlTexture* Own(const Texture& texture) const { return SdlTexture::Of(texture, *life_); }
  // Notes a draw call of texture (null: none) with its values.
  template <class... T>
  void Note(int call, const Texture* texture, const T&... values) {
    if (!notes_.Wanted()) return;
    const SdlTexture* own = texture != nullptr ? Own(*texture) : nullptr;
    notes_.Note(call, texture != nullptr ? texture->Id() : 0, own != nullptr ? own->Version() : 0, values...);
  }
  // The clip SDL draws with (null: none).
  const SDL_Rect* Clip() const { return has_clip_ ? &clip_ : nullptr; }
  // The draw calls' drawing, once noted.
  void PaintQuad(const Texture& texture, const RectI& source, const PointF corners[4], std::uint32_t argb);
  void PaintRects(const RectDraw* draws, std::size_t count);
  void PaintLines(const PointF* points, int count, std::uint32_t argb);
  // The source rectangle of a native texture (width x height texels) onto
  // the quad with the corners given; upright: the quad's edges lie along
  // the axes.
  void PaintTexels(SDL_Texture* texture, float width, float height, const RectI& source, const PointF corners[4],
                   bool upright, std::uint32_t argb);
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
  bool packs_sheets_ = false;
  std::vector<int> texel_columns_;  // BlendExactly's per-pixel texel columns

  DrawNotes notes_;
  KeptPicture kept_;
  FormerPicture former_;
};

// Null when SDL cannot make a renderer for the window.
std::unique_ptr<Renderer> CreateWindowRenderer(SDL_Window* window);
// A renderer drawing into an ARGB8888 surface of the given size.
std::unique_ptr<SdlRenderer> CreateSoftwareRenderer(int width, int height);

// Fonts (sdl_font.cpp). The TrueType file used for a Windows face name.
std::string FontFileFor(const std::wstring& face, int weight);
std::unique_ptr<Font> CreateSdlFont(SdlRenderer& renderer, const std::wstring& face, int height, int weight);

}  // namespace plat::sdl
