// The renderer over SDL2's 2-D renderer: a window renderer for the game and
// a software renderer that draws into a surface (headless tests, snapshots).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/frame_rest.h"
#include "platform/render.h"
#include "platform/sheet_packing.h"

namespace plat::sdl {

// Shared by a renderer and everything it made: textures outliving their
// renderer (globals released at exit) must not touch it any more.
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
  int MaxTextureHeight() const;
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
  // The software renderer keeps a copy of its surface's pixels; the others
  // draw into a texture of the screen's size and copy it onto the screen.
  bool BeginKeeping() override;
  std::uint64_t EndKeeping() override;
  bool ShowKept(std::uint64_t kept) override;
  // The kept picture is lost (the window's size changed, the device or its
  // render targets were reset).
  void ForgetKept();

  // What an idle window needs (platform/frame_rest.h). The draw calls since
  // ResetFingerprint are fingerprinted, each with the area it covers: the
  // same calls of the same textures with the same contents give the same
  // value.
  void ResetFingerprint();
  std::uint64_t Fingerprint() const { return fingerprint_.Value(); }
  // While probing, draw calls are only fingerprinted: nothing is drawn and
  // EndScene shows nothing.
  void SetProbing(bool probing) { probing_ = probing; }
  // Whether frames drawn are noted at all (probes always are): a busy
  // window does not pay for it.
  void SetNoting(bool noting) { noting_ = noting; }
  bool Probing() const { return probing_; }
  // The calls of the frame just drawn are the picture on the screen now.
  void KeepShownCalls();
  // The picture on the screen is not known (it was drawn without noting).
  void ForgetShownCalls() { has_shown_calls_ = false; }
  // Software renderer: the picture on the screen, with its frame's
  // fingerprint and calls, is kept as the former picture (before another is
  // drawn over it); nothing is kept when it is not known.
  void KeepFormerPicture();
  // Puts the former picture back on the screen and shows it when its
  // frame's fingerprint is the one given, keeping the picture it replaces as
  // the former one: a picture that goes back and forth (the map's markers)
  // costs a copy rather than a drawing. False when there is no such picture.
  bool ShowFormerPicture(std::uint64_t fingerprint);
  // After a probe: the area its calls change against the picture on the
  // screen. False when all of it must be drawn: nothing was kept, the calls
  // differ in number, a clear or a clip differs, or this renderer does not
  // keep its picture from one frame to the next (only the software one
  // does).
  // The areas (apart from each other, at most kMostChangedAreas) are given
  // in areas.
  bool ChangedAreas(std::vector<SDL_Rect>& areas) const;
  // Drawing limited to the areas (null: no limit): a clear fills only them,
  // and each draw call is drawn in each area it meets, clipped to it.
  void LimitDrawingTo(const std::vector<SDL_Rect>* areas);
  static constexpr std::size_t kMostChangedAreas = 64;
  static constexpr std::size_t kMostNotedCalls = 60000;

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
  std::unique_ptr<SdlTexture> MakeTexture(int width, int height, const std::string& path);
  // A texture of SDL's for MakeTexture, blended and filtered; null on
  // failure.
  SDL_Texture* NewNative(int width, int height);
  // A texture holding the ARGB8888 texels given; null on failure.
  std::unique_ptr<SdlTexture> UploadArgb(const void* pixels, int pitch, int width, int height,
                                         const std::string& path);
  // One draw call noted: folded into the fingerprint and kept with the area
  // it covers (whole: its change redraws everything), unless it is made from
  // inside another (a fallback of DrawRects or DrawRect), so that a frame
  // gives the same value drawn or probed. True when it must not draw. A
  // frame of more than kMostNotedCalls calls (the whole map at its farthest
  // zoom) is not noted further: noting it would cost more than drawing it,
  // and it never counts as the same picture.
  template <class... T>
  bool Note(const Texture* texture, const SDL_Rect& box, bool whole, int call, const T&... values) {
    if (draw_depth_ > 0 || (!noting_ && !probing_) || calls_.size() >= kMostNotedCalls) return probing_;
    // The values packed side by side and hashed in one pass.
    unsigned char packed[((sizeof(int) + 2 * sizeof(std::uint64_t)) + ... + sizeof(T))];
    std::size_t at = 0;
    const auto put = [&](const auto& value) {
      std::memcpy(packed + at, &value, sizeof value);
      at += sizeof value;
    };
    put(call);
    NoteTexture(packed + at, texture);
    at += 2 * sizeof(std::uint64_t);
    (put(values), ...);
    FrameFingerprint hash;
    hash.Add(packed, at);
    fingerprint_.AddValue(hash.Value());
    calls_.push_back({hash.Value(), box, whole});
    if (calls_.size() == kMostNotedCalls) fingerprint_.AddValue(++overflows_);
    return probing_;
  }
  // The texture's id and the version of its texels, 16 bytes at out.
  static void NoteTexture(unsigned char* out, const Texture* texture);
  // The clip SDL draws with: the program's, cut to the area drawn in.
  void ApplyClip();
  // Runs paint once, or, with drawing limited, once in each area that box
  // meets, clipped to it (a call made from inside another is already in its
  // area).
  template <class Paint>
  void InAreas(const SDL_Rect& box, Paint paint) {
    if (!limited_ || draw_depth_ > 0) {
      paint();
      return;
    }
    for (const SDL_Rect& area : areas_) {
      if (!SDL_HasIntersection(&area, &box)) continue;
      area_ = &area;
      ApplyClip();
      paint();
    }
    area_ = nullptr;
  }
  // The draw calls' drawing, once noted.
  void PaintQuad(const Texture& texture, const RectI& source, const PointF corners[4], std::uint32_t argb);
  void PaintRect(const Texture& texture, const RectI& source, float left, float top, float right, float bottom,
                 std::uint32_t argb, float depth);
  void PaintRects(const RectDraw* draws, std::size_t count, float depth);
  void PaintLines(const PointF* points, int count, std::uint32_t argb);
  // A packed texture's draw of source onto the quad with the corners given
  // (top-left, top-right, bottom-right, bottom-left): each piece of source
  // holding anything onto its share of the quad.
  void PaintPacked(const SdlTexture& texture, const RectI& source, const PointF corners[4], std::uint32_t argb);
  // The surface SDL's software renderer draws into (null for others).
  SDL_Surface* SoftwareSurface() const;
  // One of DrawRects' pictures onto the pixels whose centres lie in
  // [left, right) x [top, bottom) of the software surface, each taking the
  // texel under its centre; false when it cannot be drawn that way.
  bool BlendExactly(SDL_Surface* surface, const SdlTexture& texture, const RectI& source, float left, float top,
                    float right, float bottom, std::uint32_t argb);

  // The kept picture onto the screen.
  void PaintKept();
  // Something is drawn: the screen is no longer as the last Clear left it.
  void Drawn() { fresh_ = false; }

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

  struct sNotedCall {
    std::uint64_t hash;
    SDL_Rect box;
    bool whole;
  };
  FrameFingerprint fingerprint_;
  std::vector<sNotedCall> calls_;        // of the frame being drawn
  std::vector<sNotedCall> shown_calls_;  // of the picture on the screen
  bool has_shown_calls_ = false;
  std::uint64_t shown_fingerprint_ = 0;  // of the picture on the screen
  // The former picture (KeepFormerPicture): its pixels, fingerprint and calls.
  bool has_former_ = false;
  int former_width_ = 0, former_height_ = 0;
  std::uint64_t former_fingerprint_ = 0;
  std::vector<std::uint32_t> former_pixels_;
  std::vector<sNotedCall> former_calls_;
  std::uint64_t overflows_ = 0;  // frames too large to note, each a new picture
  bool probing_ = false;
  bool noting_ = true;
  int draw_depth_ = 0;  // draw calls under way (nested ones are not noted)
  bool program_clip_set_ = false;  // the clip the program asked for
  RectI program_clip_{};
  bool limited_ = false;
  std::vector<SDL_Rect> areas_;      // while limited, the areas drawn in
  const SDL_Rect* area_ = nullptr;  // the one being drawn in
  std::vector<RectDraw> area_draws_;  // DrawRects' pictures of one area

  // The kept picture (BeginKeeping).
  bool fresh_ = false;              // nothing drawn since the last Clear
  std::uint32_t clear_colour_ = 0;  // of the last Clear
  bool keeping_ = false;
  std::uint64_t kept_ = 0;          // its number, 0: none
  std::uint32_t kept_colour_ = 0;   // the Clear's colour it was kept over
  int kept_width_ = 0, kept_height_ = 0;
  std::vector<std::uint32_t> kept_pixels_;  // software: the surface's pixels
  SDL_Texture* kept_texture_ = nullptr;     // others: a render target
};

// Null when SDL cannot make a renderer for the window.
std::unique_ptr<Renderer> CreateWindowRenderer(SDL_Window* window);
// A renderer drawing into an ARGB8888 surface of the given size.
std::unique_ptr<SdlRenderer> CreateSoftwareRenderer(int width, int height);

// Fonts (sdl_font.cpp). The TrueType file used for a Windows face name.
std::string FontFileFor(const std::wstring& face, int weight);
std::unique_ptr<Font> CreateSdlFont(SdlRenderer& renderer, const std::wstring& face, int height, int weight);

}  // namespace plat::sdl
