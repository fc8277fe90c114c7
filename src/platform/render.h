// Drawing, as the game asks for it: textures, a sprite batch with a 2-D
// transform and per-sprite depth, fonts that draw text into rectangles, and
// lines. Game code sees only these interfaces; the back-ends (the SDL window,
// a software surface that can be saved as PNG, and a recorder for tests) sit
// behind Renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <list>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plat {

// A rectangle as edges (left, top, right, bottom), the form the game stores.
struct RectI {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct PointF {
  float x = 0, y = 0;
};

class Texture;

// A sprite made once and drawn in many frames (SpriteBatch::DrawPrepared):
// a source rectangle of a texture with its top-left at a whole-pixel
// position, tinted argb.
struct PreparedSprite {
  const Texture* texture;
  std::int32_t x, y;
  std::int16_t source[4];  // left, top, right, bottom
  std::uint32_t argb;
};

// 2-D affine transform of row vectors, as the game's 4x4 matrices use it:
// x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct Matrix2D {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  static Matrix2D Identity() { return {}; }
  static Matrix2D Scaling(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
  // this first, then other (the order of D3DXMatrixMultiply(out, this, other)).
  Matrix2D Then(const Matrix2D& other) const;
  PointF Apply(PointF p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  // True when the transform only scales (and translates): no rotation or shear.
  bool IsAxisAligned() const { return m12 == 0 && m21 == 0; }
};

// Text format flags, with the values of the Windows DrawText flags the game
// passes.
enum TextFlags : unsigned {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextVCenter = 0x4,
  kTextBottom = 0x8,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextNoClip = 0x100,
  kTextCalcRect = 0x400,
};

// The line layout both font back-ends share, so measuring and drawing agree
// with the Windows DrawText rules: paragraphs end at '\n' (ignored with
// kTextSingleLine), kTextWordBreak wraps at spaces to the rectangle's width
// (a word wider than the rectangle keeps a line of its own), lines are placed
// left, centred or right, and kTextVCenter / kTextBottom place a single line
// vertically.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int Width(std::wstring_view piece) const = 0;  // pixels
};

struct TextLine {
  std::size_t begin = 0, end = 0;  // characters of the text
  int x = 0, y = 0, width = 0;     // top-left corner and measured width
};

// Fills lines (reused, cleared first) and returns the height DrawText
// reports. With kTextCalcRect, rect's right and bottom get the measured size.
int LayoutText(std::wstring_view text, RectI& rect, unsigned flags, int lineHeight,
               const TextMeasure& measure, std::vector<TextLine>& lines);

// The part of a line box (x, y, width x height) visible inside clip: the
// visible rectangle in line-local pixels (source) and on screen (dest).
// False when nothing is visible.
bool ClipTextBox(const RectI& clip, int x, int y, int width, int height, RectI& source, RectI& dest);

class Texture {
 public:
  virtual ~Texture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // CPU access to the ARGB texels (row pitch in pixels). Unlock uploads them.
  virtual std::uint32_t* Lock(int& pitch) = 0;
  virtual void Unlock() = 0;
  // A number that names this texture in recordings and caches.
  virtual std::uint64_t Id() const = 0;
  // The mark of the renderer that made this texture (null: none): a
  // renderer tells its own textures by it, and only those it can draw.
  const void* Maker() const { return maker_; }

 protected:
  Texture() = default;
  explicit Texture(const void* maker) : maker_(maker) {}

 private:
  const void* maker_ = nullptr;
};

class SpriteBatch;

// An axis-aligned quad as the sprite batch hands them over in bulk.
struct RectDraw {
  const Texture* texture;
  RectI source;
  float left, top, right, bottom;
  std::uint32_t argb;
};

class Font {
 public:
  virtual ~Font() = default;
  // Draws text into rect with the flags above and an ARGB colour. With
  // kTextCalcRect nothing is drawn: rect's right and bottom are set to the
  // measured size (word-wrapped at rect's width when kTextWordBreak is set).
  // Returns the height of the text drawn or measured. With a sprite batch
  // the text joins the batch at depth 0 (drawn with it); without one it is
  // drawn at once.
  virtual int DrawText(SpriteBatch* batch, std::wstring_view text, RectI& rect, unsigned flags,
                       std::uint32_t argb) = 0;
  // The height it was made with (Renderer::CreateFont).
  virtual int Height() const = 0;
};

// What a back-end must do; the sprite batch and the fonts use it.
class Renderer {
 public:
  virtual ~Renderer() = default;

  // PNG file to an ARGB texture of the file's size; null on failure.
  virtual std::unique_ptr<Texture> LoadTexture(const std::string& path) = 0;
  virtual std::unique_ptr<Texture> CreateTexture(int width, int height) = 0;
  // face: a Windows face name ("Arial", "Tahoma"); weight 100..900.
  virtual std::unique_ptr<Font> CreateFont(const std::wstring& face, int height, int weight) = 0;
  virtual int MaxTextureWidth() const = 0;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;

  // 0 or a negative failure code.
  virtual long BeginScene() = 0;
  virtual void Clear(std::uint32_t argb) = 0;
  virtual void EndScene() = 0;

  // One textured quad: the source rectangle of the texture mapped onto the
  // four corners (top-left, top-right, bottom-right, bottom-left), the texel
  // colours multiplied by argb. depth is informative (the batch has sorted).
  virtual void DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                        std::uint32_t argb, float depth) = 0;
  // The same for an axis-aligned quad with the corners (left, top) and
  // (right, bottom); the default hands the four corners to DrawQuad.
  virtual void DrawRect(const Texture& texture, const RectI& source, float left, float top, float right,
                        float bottom, std::uint32_t argb, float depth) {
    const PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    DrawQuad(texture, source, corners, argb, depth);
  }
  // DrawRect for each of count quads at one depth, in order. These are the
  // prepared sprites (SpriteBatch::DrawPrepared): pictures laid edge to
  // edge, like the map's cells, so a renderer that places scaled quads on
  // whole pixels must keep an edge two of them share in one place.
  virtual void DrawRects(const RectDraw* draws, std::size_t count, float depth) {
    for (std::size_t i = 0; i < count; ++i) {
      const RectDraw& d = draws[i];
      DrawRect(*d.texture, d.source, d.left, d.top, d.right, d.bottom, d.argb, depth);
    }
  }
  virtual void DrawLines(const PointF* points, int count, std::uint32_t argb) = 0;
  // Limits the following draws to clip (screen pixels; right and bottom
  // excluded); null draws everywhere again. Back-ends without a scissor may
  // ignore it.
  virtual void SetClipRect(const RectI* clip) { (void)clip; }

  // A picture kept from one frame for the next: the screen as the draws
  // between BeginKeeping and EndKeeping leave it, when they are the first
  // after a Clear. ShowKept puts it on the screen again in place of those
  // draws. The renderer keeps one picture; it is lost when the screen's size
  // or the device changes.
  // BeginKeeping: false (nothing changes; draw as usual) when this renderer
  // keeps no pictures or something was drawn since the last Clear.
  virtual bool BeginKeeping() { return false; }
  // Ends the keeping; the draws are on the screen. The kept picture's number
  // (never 0, never given twice), or 0 when nothing could be kept.
  virtual std::uint64_t EndKeeping() { return 0; }
  // Shows the kept picture numbered kept; false (nothing drawn) when it is
  // not the one kept any more, something was drawn since the last Clear or
  // that Clear's colour is not the one the picture was kept over.
  virtual bool ShowKept(std::uint64_t kept) { (void)kept; return false; }
  // A new number for a kept picture (unique in the process).
  static std::uint64_t NextKeptNumber();
  // Tells this renderer from every other one made in the process, even one
  // made where a renderer gone before stood.
  std::uint64_t Instance() const { return instance_; }

 private:
  static std::uint64_t NewInstance();
  std::uint64_t instance_ = NewInstance();
};

// The shared sprite object: collects draws between Begin and End and at End
// submits them back to front by depth (larger depth first; equal depths in
// the order drawn).
class SpriteBatch {
 public:
  explicit SpriteBatch(Renderer& renderer) : renderer_(renderer) {
    buckets_.reserve(kMaxBuckets);  // all the buckets a batch can have, made once
    Reset();
  }
  SpriteBatch(const SpriteBatch&) = delete;
  SpriteBatch& operator=(const SpriteBatch&) = delete;

  void Begin();
  // Draws the source rectangle (null: the whole texture) with its top-left at
  // position transformed by the current transform, at depth z, tinted argb.
  void Draw(const Texture& texture, const RectI* source, float x, float y, float z, std::uint32_t argb) {
    Draw(texture, source, x, y, z, argb, transform_);
  }
  // The same through the given transform instead of the current one.
  void Draw(const Texture& texture, const RectI* source, float x, float y, float z, std::uint32_t argb,
            const Matrix2D& transform) {
    if (source != nullptr && transform.IsAxisAligned()) {
      // The corners Apply gives: top-left and bottom-right carry every
      // coordinate of the four.
      const PointF tl = transform.Apply({x, y});
      const PointF br = transform.Apply(
          {x + static_cast<float>(source->Width()), y + static_cast<float>(source->Height())});
      QueueRect(texture, *source, z, tl.x, tl.y, br.x, br.y, argb);
    } else {
      DrawGeneral(texture, source, x, y, z, argb, transform);
    }
  }
  // Queues count prepared sprites at depth, each as Draw(*texture, &source,
  // x + ox, y + oy, depth, argb, transform) would, in one call. The sprites
  // are read at End, so they must stay as they are until then; Hold keeps
  // their owner alive that long.
  // stamp: 0, or a number the owner changes whenever the sprites at that
  // address change (and never gives two lists). The farthest depths of a
  // batch that hold nothing but stamped prepared sprites, drawn first after
  // a Clear, are kept by the renderer (Renderer::BeginKeeping) and shown
  // again while the next batches queue the same sprites the same way.
  void DrawPrepared(const PreparedSprite* sprites, std::size_t count, float depth, const Matrix2D& transform,
                    int ox, int oy, std::uint64_t stamp = 0);
  // Keeps owner alive until End (or the next Begin).
  void Hold(std::shared_ptr<const void> owner);
  // Queues a quad prepared elsewhere (fonts put their cached text here).
  void DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                std::uint32_t argb, float depth);
  void End();
  // The clip rectangle (screen pixels) for the draws queued after this call,
  // null for none. Each queued draw keeps the clip that was set when it was
  // queued, so sorting by depth cannot move a draw out of its clip; End
  // hands the changes to the renderer in submission order and clears the
  // renderer's clip afterwards. Begin starts without a clip; outside a
  // batch the call does nothing.
  void SetClipRect(const RectI* clip);
  const RectI* GetClipRect() const { return open_ && clip_ != 0 ? &clips_[clip_ - 1] : nullptr; }

  const Matrix2D& GetTransform() const { return transform_; }
  void SetTransform(const Matrix2D& m) { transform_ = m; }
  // The depth at which fonts queue their text (0, in front of everything,
  // from each Begin): a label that belongs to a layer of the map takes that
  // layer's depth, so that what lies above the layer covers it.
  float GetTextDepth() const { return text_depth_; }
  void SetTextDepth(float depth) { text_depth_ = depth; }
  bool InBatch() const { return open_; }
  // Changes at every Begin (unique across batches): lets a cache tell which
  // of its entries the open batch still refers to.
  std::uint64_t Generation() const { return generation_; }
  // Of the last End: how many depths were drawn from the renderer's kept
  // picture (0: none) and how many were drawn into it anew.
  std::size_t KeptDepthsShown() const { return kept_shown_; }
  std::size_t KeptDepthsDrawn() const { return kept_drawn_; }

 private:
  // A queued draw, kept small since a full map frame queues hundreds of
  // thousands. The common case is an axis-aligned quad (its top-left and
  // bottom-right corners) with a source that fits 16 bits; anything else is
  // extended: its source, corners and tint wait in extras_ and argb holds
  // the index there.
  struct Item {
    const Texture* texture;
    float left, top, right, bottom;
    std::int16_t source[4];  // left, top, right, bottom
    std::uint32_t argb;
    std::uint32_t clip;  // low bits: 0 none, else clips_[clip - 1]; kExtended
  };
  static constexpr std::uint32_t kExtended = 0x80000000u;
  struct Extra {
    RectI source;
    PointF corners[4];
    std::uint32_t argb;
    bool quad;  // false: corners 0 and 2 are those of a rectangle
  };
  static bool Fits16(const RectI& r) {
    auto fits = [](int v) { return v >= -32768 && v <= 32767; };
    return fits(r.left) && fits(r.top) && fits(r.right) && fits(r.bottom);
  }
  // Prepared sprites queued in one piece; they go to the renderer after the
  // first `at` items of their bucket.
  struct Run {
    const PreparedSprite* sprites;
    std::size_t count;
    std::size_t at;
    std::uint32_t clip;
    int ox, oy;
    Matrix2D transform;
    std::uint64_t stamp;
  };
  // What the kept picture was drawn from: per depth, then per run, all
  // that places its sprites (the stamp standing for their contents).
  struct KeptEntry {
    std::uint64_t stamp;
    const PreparedSprite* sprites;
    std::size_t count;
    std::uint32_t depthBits;
    int ox, oy;
    Matrix2D transform;
    RectI clip;
    bool clipped;
    bool operator==(const KeptEntry& o) const {
      return stamp == o.stamp && sprites == o.sprites && count == o.count && depthBits == o.depthBits &&
             ox == o.ox && oy == o.oy && transform.m11 == o.transform.m11 && transform.m12 == o.transform.m12 &&
             transform.m21 == o.transform.m21 && transform.m22 == o.transform.m22 &&
             transform.dx == o.transform.dx && transform.dy == o.transform.dy && clipped == o.clipped &&
             (!clipped || (clip.left == o.clip.left && clip.top == o.clip.top && clip.right == o.clip.right &&
                           clip.bottom == o.clip.bottom));
    }
  };
  // The draws of one depth in submission order. A frame uses few distinct
  // depths, so keeping them apart leaves End only the buckets to order.
  struct Bucket {
    float depth;
    std::vector<Item> items;
    std::vector<Run> runs;
  };
  // Draws beyond the bucket limit (many distinct depths) wait here; End then
  // sorts them by depth, keeping the submission order. A depth is either a
  // bucket's or loose for the whole batch, so the two merge by depth alone.
  struct Loose {
    Item item;
    float depth;
  };
  static constexpr std::size_t kMaxBuckets = 64;
  static constexpr std::size_t kSlots = 256;  // open addressing, at most a quarter full

  void DrawGeneral(const Texture& texture, const RectI* source, float x, float y, float z, std::uint32_t argb,
                   const Matrix2D& transform);
  // The hot path: an axis-aligned quad whose depth has a bucket already,
  // filled in place (a temporary copied in would stall on its own stores).
  void QueueRect(const Texture& texture, const RectI& source, float depth, float left, float top, float right,
                 float bottom, std::uint32_t argb) {
    int index = last_index_;
    if (index < 0 || !(depth == last_depth_)) {
      std::uint32_t bits;
      std::memcpy(&bits, &depth, sizeof bits);
      const int entry = slots_[Slot(bits)];
      index = entry != 0 && buckets_[static_cast<std::size_t>(entry - 1)].depth == depth ? entry - 1 : -1;
    }
    if (index < 0 || !open_ || !Fits16(source)) {
      Queue(texture, source, depth, nullptr, left, top, right, bottom, argb);
      return;
    }
    last_index_ = index;
    last_depth_ = depth;
    Item& item = buckets_[static_cast<std::size_t>(index)].items.emplace_back();
    item.texture = &texture;
    item.left = left;
    item.top = top;
    item.right = right;
    item.bottom = bottom;
    item.source[0] = static_cast<std::int16_t>(source.left);
    item.source[1] = static_cast<std::int16_t>(source.top);
    item.source[2] = static_cast<std::int16_t>(source.right);
    item.source[3] = static_cast<std::int16_t>(source.bottom);
    item.argb = argb;
    item.clip = clip_;
  }
  static std::size_t Slot(std::uint32_t depthBits) { return (depthBits * 0x9E3779B1u) >> 24; }  // kSlots = 256
  void Queue(const Texture& texture, const RectI& source, float depth, const PointF* corners, float left, float top,
             float right, float bottom, std::uint32_t argb);
  // The bucket of depth (made when new); -1 when the buckets are used up.
  int BucketFor(float depth);
  void Submit(const Item& item, float depth, std::uint32_t& applied);
  void SubmitBucket(const Bucket& bucket, std::uint32_t& applied);
  void SubmitRun(const Run& run, float depth, std::uint32_t& applied);
  void FlushRects(float depth);
  void Reset();
  // The first buckets of the order that the renderer may keep, and their
  // description in kept_now_.
  std::size_t KeepableBuckets();

  Renderer& renderer_;
  Matrix2D transform_;
  float text_depth_ = 0.0f;
  std::vector<Bucket> buckets_;      // the first used_ are this batch's; the rest keep their storage
  std::size_t used_ = 0;
  std::int16_t slots_[kSlots];       // bucket index + 1, 0: free
  float last_depth_ = 0;             // the bucket the previous draw went to
  int last_index_ = -1;
  std::vector<Loose> loose_;
  std::vector<Extra> extras_;
  std::vector<std::uint32_t> bucket_order_;
  std::vector<std::shared_ptr<const void>> held_;
  std::vector<RectDraw> chunk_;  // prepared sprites on their way to the renderer
  std::size_t pending_ = 0;      // of them in chunk_
  std::vector<RectI> clips_;
  std::uint32_t clip_ = 0;
  bool open_ = false;
  std::uint64_t generation_ = 0;
  std::vector<KeptEntry> kept_now_;   // of the batch being ended
  std::vector<KeptEntry> kept_from_;  // of the renderer's kept picture kept_
  std::uint64_t kept_ = 0;
  std::size_t kept_shown_ = 0, kept_drawn_ = 0;
};

// A font that draws each laid-out line from a texture of that line rendered
// in white and tinted at draw time. The textures are cached per line text so
// a frame of unchanged labels rasterises nothing; the cache keeps at most
// kCacheLimit entries, dropping the least recently used (never one the open
// batch still holds).
class CachedTextFont : public Font {
 public:
  static constexpr std::size_t kCacheLimit = 2048;

  CachedTextFont(Renderer& renderer, int height);
  ~CachedTextFont() override;

  int DrawText(SpriteBatch* batch, std::wstring_view text, RectI& rect, unsigned flags,
               std::uint32_t argb) override;
  int Height() const override { return height_; }

  // How many line textures were made so far, and how many are cached.
  std::size_t RasterisedCount() const { return rasterised_; }
  std::size_t CachedCount() const { return cache_.size(); }

 protected:
  // Pixel width of a piece of one line.
  virtual int MeasureWidth(std::wstring_view piece) const = 0;
  // Distance between lines.
  virtual int LineHeight() const = 0;
  // The line in white on transparent; null when it cannot be made.
  virtual std::unique_ptr<Texture> RenderLine(std::wstring_view line) = 0;

 private:
  struct Entry;
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view s) const { return std::hash<std::wstring_view>{}(s); }
  };
  using Lru = std::list<Entry>;
  const Texture* LineTexture(std::wstring_view line, const SpriteBatch* batch);
  void Trim(const SpriteBatch* batch);

  Renderer& renderer_;
  int height_;
  Lru lru_;  // least recently used first
  std::unordered_map<std::wstring, Lru::iterator, KeyHash, std::equal_to<>> cache_;
  std::vector<TextLine> lines_;
  std::size_t rasterised_ = 0;
};

}  // namespace plat
