// A renderer without a screen: it records every call so that game logic can
// be tested for what it draws. Textures are CPU buffers; fonts have fixed
// metrics (every character height/2 pixels wide, lines height pixels apart),
// so tests can work out exact positions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/render.h"

namespace plat {

struct DrawRecord {
  enum Kind { kQuad, kText, kLines, kClear, kBegin, kEnd, kClip, kKept };
  Kind kind = kQuad;
  std::uint64_t texture = 0;  // kQuad: texture id; kText: font's line texture; kKept: the kept picture's number
  RectI source;               // kQuad: texels; kText: visible part of the line; kClip: the clip
  bool clip_set = false;      // kClip: false when the clip was cleared
  PointF corners[4];
  std::uint32_t argb = 0;     // tint, clear or line colour
  float depth = 0;
  std::wstring text;          // kText: the line
  std::vector<PointF> points; // kLines
};

class RecordingTexture : public Texture {
 public:
  RecordingTexture(int width, int height);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uint32_t* Lock(int& pitch) override;
  void Unlock() override { ++unlocks_; }
  std::uint64_t Id() const override { return id_; }
  int Unlocks() const { return unlocks_; }
  // The texels (allocated on first Lock; transparent black).
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

 private:
  int width_, height_;
  std::uint64_t id_;
  std::vector<std::uint32_t> pixels_;
  int unlocks_ = 0;
};

// One line of text as the recording font draws it.
class RecordingTextTexture final : public RecordingTexture {
 public:
  RecordingTextTexture(std::wstring text, int width, int height)
      : RecordingTexture(width, height), text_(std::move(text)) {}
  const std::wstring& Text() const { return text_; }

 private:
  std::wstring text_;
};

class RecordingFont final : public CachedTextFont {
 public:
  RecordingFont(Renderer& renderer, int height) : CachedTextFont(renderer, height) {}
  int GlyphWidth() const { return Height() > 1 ? Height() / 2 : 1; }

 protected:
  int MeasureWidth(std::wstring_view piece) const override {
    return static_cast<int>(piece.size()) * GlyphWidth();
  }
  int LineHeight() const override { return Height() > 0 ? Height() : 0; }
  std::unique_ptr<Texture> RenderLine(std::wstring_view line) override;
};

class RecordingRenderer final : public Renderer {
 public:
  RecordingRenderer(int screenWidth = 1024, int screenHeight = 768);

  std::unique_ptr<Texture> LoadTexture(const std::string& path) override;
  std::unique_ptr<Texture> CreateTexture(int width, int height) override;
  std::unique_ptr<Font> CreateFont(const std::wstring& face, int height, int weight) override;
  int MaxTextureWidth() const override { return 4096; }
  int ScreenWidth() const override { return screen_width_; }
  int ScreenHeight() const override { return screen_height_; }

  long BeginScene() override;
  void Clear(std::uint32_t argb) override;
  void EndScene() override;
  void DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4], std::uint32_t argb,
                float depth) override;
  void DrawRect(const Texture& texture, const RectI& source, float left, float top, float right, float bottom,
                std::uint32_t argb, float depth) override;
  void DrawRects(const RectDraw* draws, std::size_t count, float depth) override;
  void DrawLines(const PointF* points, int count, std::uint32_t argb) override;
  void SetClipRect(const RectI* clip) override;
  // With SetKeeping(true) the recorder keeps pictures as a screen would:
  // the draws between BeginKeeping and EndKeeping are recorded as usual,
  // and ShowKept records one kKept record.
  bool BeginKeeping() override;
  std::uint64_t EndKeeping() override;
  bool ShowKept(std::uint64_t kept) override;
  // The kept picture is lost (as with a changed screen or device).
  void ForgetKept() { kept_ = 0; }
  // The clip in force (null: none).
  const RectI* ClipRect() const { return has_clip_ ? &clip_ : nullptr; }

  // Test controls.
  void SetScreenSize(int width, int height) { screen_width_ = width, screen_height_ = height; }
  void SetBeginSceneResult(long code) { begin_scene_result_ = code; }
  // When off, calls are only counted (benchmarks).
  void SetStoreRecords(bool store) { store_records_ = store; }
  // Off by default: every draw is recorded.
  void SetKeeping(bool keeping) { keeping_enabled_ = keeping; }

  // Records in call order, and counters that go on even when not storing.
  std::vector<DrawRecord> records;
  std::size_t quad_count = 0, text_count = 0, lines_count = 0, kept_count = 0;

  std::vector<const DrawRecord*> Texts() const;
  std::vector<const DrawRecord*> Quads() const;

 private:
  bool IsTextLine(const Texture& texture);

  int screen_width_, screen_height_;
  long begin_scene_result_ = 0;
  bool store_records_ = true;
  bool has_clip_ = false;
  RectI clip_;
  const std::type_info* last_type_ = nullptr;
  bool last_is_text_ = false;
  bool keeping_enabled_ = false;
  bool fresh_ = false;  // nothing drawn since the last Clear
  bool keeping_ = false;
  std::uint32_t clear_colour_ = 0, kept_colour_ = 0;
  std::uint64_t kept_ = 0;
};

// Reads a PNG file's size from its header without decoding it; false when
// the file is missing or is no PNG.
bool ReadPngSize(const std::string& path, int& width, int& height);

}  // namespace plat
