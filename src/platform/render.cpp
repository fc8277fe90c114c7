#include "platform/render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>

namespace plat {

Matrix2D Matrix2D::Then(const Matrix2D& o) const {
  Matrix2D r;
  r.m11 = m11 * o.m11 + m12 * o.m21;
  r.m12 = m11 * o.m12 + m12 * o.m22;
  r.m21 = m21 * o.m11 + m22 * o.m21;
  r.m22 = m21 * o.m12 + m22 * o.m22;
  r.dx = dx * o.m11 + dy * o.m21 + o.dx;
  r.dy = dx * o.m12 + dy * o.m22 + o.dy;
  return r;
}

// ---------------------------------------------------------------------------
// Sprite batch

void SpriteBatch::Reset() {
  for (std::size_t i = 0; i < used_; ++i) {
    buckets_[i].items.clear();
    buckets_[i].runs.clear();
  }
  used_ = 0;
  std::fill(std::begin(slots_), std::end(slots_), std::int16_t{0});
  last_index_ = -1;
  loose_.clear();
  extras_.clear();
  clips_.clear();
  clip_ = 0;
  held_.clear();
}

void SpriteBatch::Begin() {
  if (open_) return;  // a second Begin keeps what was queued
  static std::atomic<std::uint64_t> s_generations{0};
  open_ = true;
  generation_ = ++s_generations;
  text_depth_ = 0.0f;
  Reset();
}

void SpriteBatch::SetClipRect(const RectI* clip) {
  if (!open_) return;
  if (clip == nullptr) {
    clip_ = 0;
    return;
  }
  const RectI* current = GetClipRect();
  if (current && current->left == clip->left && current->top == clip->top && current->right == clip->right &&
      current->bottom == clip->bottom) {
    return;
  }
  clips_.push_back(*clip);
  clip_ = static_cast<std::uint32_t>(clips_.size());
}

void SpriteBatch::DrawGeneral(const Texture& texture, const RectI* source, float x, float y, float z,
                              std::uint32_t argb, const Matrix2D& m) {
  if (!open_) return;
  const RectI src = source ? *source : RectI{0, 0, texture.Width(), texture.Height()};
  const float w = static_cast<float>(src.Width());
  const float h = static_cast<float>(src.Height());
  if (m.IsAxisAligned()) {
    // The corners Apply would give: the top-left and bottom-right carry
    // every coordinate of the four.
    const PointF tl = m.Apply({x, y});
    const PointF br = m.Apply({x + w, y + h});
    Queue(texture, src, z, nullptr, tl.x, tl.y, br.x, br.y, argb);
    return;
  }
  const PointF corners[4] = {m.Apply({x, y}), m.Apply({x + w, y}), m.Apply({x + w, y + h}), m.Apply({x, y + h})};
  Queue(texture, src, z, corners, 0, 0, 0, 0, argb);
}

void SpriteBatch::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                           std::uint32_t argb, float depth) {
  if (!open_) return;
  const PointF& tl = corners[0];
  const PointF& tr = corners[1];
  const PointF& br = corners[2];
  const PointF& bl = corners[3];
  if (tl.y == tr.y && bl.y == br.y && tl.x == bl.x && tr.x == br.x) {
    Queue(texture, source, depth, nullptr, tl.x, tl.y, br.x, br.y, argb);
  } else {
    Queue(texture, source, depth, corners, 0, 0, 0, 0, argb);
  }
}

std::uint64_t Renderer::NewInstance() {
  static std::atomic<std::uint64_t> s_instances{0};
  return ++s_instances;
}

std::uint64_t Renderer::NextKeptNumber() {
  static std::atomic<std::uint64_t> s_kept{0};
  return ++s_kept;
}

void SpriteBatch::DrawPrepared(const PreparedSprite* sprites, std::size_t count, float depth,
                               const Matrix2D& transform, int ox, int oy, std::uint64_t stamp) {
  if (!open_ || count == 0) return;
  if (std::isnan(depth)) depth = 0.0f;  // as Queue has it
  depth += 0.0f;
  const int index = transform.IsAxisAligned() ? BucketFor(depth) : -1;
  if (index < 0) {
    // No bucket for the depth (or a rotating transform): one draw each.
    for (std::size_t i = 0; i < count; ++i) {
      const PreparedSprite& s = sprites[i];
      const RectI source{s.source[0], s.source[1], s.source[2], s.source[3]};
      Draw(*s.texture, &source, static_cast<float>(static_cast<std::int64_t>(s.x) + ox),
           static_cast<float>(static_cast<std::int64_t>(s.y) + oy), depth, s.argb, transform);
    }
    return;
  }
  Bucket& bucket = buckets_[static_cast<std::size_t>(index)];
  if (!bucket.runs.empty()) {
    // Continuing the previous run with nothing queued between: one run.
    Run& last = bucket.runs.back();
    const Matrix2D& m = last.transform;
    if (last.at == bucket.items.size() && last.sprites + last.count == sprites && last.clip == clip_ &&
        last.ox == ox && last.oy == oy && m.m11 == transform.m11 && m.m22 == transform.m22 &&
        m.dx == transform.dx && m.dy == transform.dy && last.stamp == stamp) {
      last.count += count;
      return;
    }
  }
  bucket.runs.push_back(Run{sprites, count, bucket.items.size(), clip_, ox, oy, transform, stamp});
}

void SpriteBatch::Hold(std::shared_ptr<const void> owner) {
  if (open_ && owner) held_.push_back(std::move(owner));
}

int SpriteBatch::BucketFor(float depth) {
  std::uint32_t bits;
  std::memcpy(&bits, &depth, sizeof bits);
  std::size_t slot = Slot(bits);
  for (;;) {
    const int entry = slots_[slot];
    if (entry == 0) break;
    Bucket& bucket = buckets_[static_cast<std::size_t>(entry - 1)];
    if (bucket.depth == depth) return entry - 1;
    slot = (slot + 1) & (kSlots - 1);
  }
  if (used_ == kMaxBuckets) return -1;
  if (used_ == buckets_.size()) buckets_.push_back(Bucket{depth, {}, {}});  // capacity reserved: no move
  buckets_[used_].depth = depth;
  slots_[slot] = static_cast<std::int16_t>(++used_);
  return static_cast<int>(used_ - 1);
}

void SpriteBatch::Queue(const Texture& texture, const RectI& source, float depth, const PointF* corners, float left,
                        float top, float right, float bottom, std::uint32_t argb) {
  if (!open_) return;
  // A NaN depth would break the ordering; -0 and +0 are one depth.
  if (std::isnan(depth)) depth = 0.0f;
  depth += 0.0f;
  Item item{&texture, left, top, right, bottom, {}, argb, clip_};
  if (corners == nullptr && Fits16(source)) {
    item.source[0] = static_cast<std::int16_t>(source.left);
    item.source[1] = static_cast<std::int16_t>(source.top);
    item.source[2] = static_cast<std::int16_t>(source.right);
    item.source[3] = static_cast<std::int16_t>(source.bottom);
  } else {
    Extra extra{source, {}, argb, corners != nullptr};
    if (corners) {
      for (int i = 0; i < 4; ++i) extra.corners[i] = corners[i];
    } else {
      extra.corners[0] = {left, top};
      extra.corners[2] = {right, bottom};
    }
    extras_.push_back(extra);
    item.argb = static_cast<std::uint32_t>(extras_.size() - 1);
    item.clip |= kExtended;
  }
  int index = last_index_;
  if (index < 0 || depth != last_depth_) {
    index = BucketFor(depth);
    if (index < 0) {
      loose_.push_back(Loose{item, depth});
      return;
    }
    last_index_ = index;
    last_depth_ = depth;
  }
  buckets_[static_cast<std::size_t>(index)].items.push_back(item);
}

void SpriteBatch::Submit(const Item& it, float depth, std::uint32_t& applied) {
  const std::uint32_t clip = it.clip & ~kExtended;
  if (clip != applied) {
    applied = clip;
    renderer_.SetClipRect(applied != 0 ? &clips_[applied - 1] : nullptr);
  }
  if ((it.clip & kExtended) == 0) {
    const RectI source{it.source[0], it.source[1], it.source[2], it.source[3]};
    renderer_.DrawRect(*it.texture, source, it.left, it.top, it.right, it.bottom, it.argb, depth);
    return;
  }
  const Extra& extra = extras_[it.argb];
  if (extra.quad) {
    renderer_.DrawQuad(*it.texture, extra.source, extra.corners, extra.argb, depth);
  } else {
    renderer_.DrawRect(*it.texture, extra.source, extra.corners[0].x, extra.corners[0].y, extra.corners[2].x,
                       extra.corners[2].y, extra.argb, depth);
  }
}

void SpriteBatch::FlushRects(float depth) {
  if (pending_ == 0) return;
  renderer_.DrawRects(chunk_.data(), pending_, depth);
  pending_ = 0;
}

void SpriteBatch::SubmitRun(const Run& run, float depth, std::uint32_t& applied) {
  if (run.clip != applied) {
    FlushRects(depth);
    applied = run.clip;
    renderer_.SetClipRect(applied != 0 ? &clips_[applied - 1] : nullptr);
  }
  // Gathered in chunks: one renderer call per chunk, across the runs of a
  // bucket (FlushRects hands over the rest).
  constexpr std::size_t kChunk = 256;
  if (chunk_.size() < kChunk) chunk_.resize(kChunk);
  RectDraw* chunk = chunk_.data();
  const Matrix2D& m = run.transform;
  for (std::size_t i = 0; i < run.count; ++i) {
    const PreparedSprite& s = run.sprites[i];
    // The corners Draw gives for the position (x + ox, y + oy).
    const float x = static_cast<float>(static_cast<std::int64_t>(s.x) + run.ox);
    const float y = static_cast<float>(static_cast<std::int64_t>(s.y) + run.oy);
    const PointF tl = m.Apply({x, y});
    const PointF br = m.Apply({x + static_cast<float>(s.source[2] - s.source[0]),
                               y + static_cast<float>(s.source[3] - s.source[1])});
    chunk[pending_++] =
        RectDraw{s.texture, {s.source[0], s.source[1], s.source[2], s.source[3]}, tl.x, tl.y, br.x, br.y, s.argb};
    if (pending_ == kChunk) FlushRects(depth);
  }
}

void SpriteBatch::SubmitBucket(const Bucket& bucket, std::uint32_t& applied) {
  std::size_t next = 0;
  for (const Run& run : bucket.runs) {
    if (next < run.at) FlushRects(bucket.depth);
    for (; next < run.at; ++next) Submit(bucket.items[next], bucket.depth, applied);
    SubmitRun(run, bucket.depth, applied);
  }
  FlushRects(bucket.depth);
  for (; next < bucket.items.size(); ++next) Submit(bucket.items[next], bucket.depth, applied);
}

void SpriteBatch::End() {
  if (!open_) return;
  open_ = false;
  std::uint32_t applied = 0;
  // The buckets back to front, each in submission order.
  bucket_order_.resize(used_);
  for (std::size_t i = 0; i < used_; ++i) bucket_order_[i] = static_cast<std::uint32_t>(i);
  const Bucket* buckets = buckets_.data();
  std::sort(bucket_order_.begin(), bucket_order_.end(),
            [buckets](std::uint32_t a, std::uint32_t b) { return buckets[a].depth > buckets[b].depth; });
  // Many depths: the loose draws sorted back to front (stable: submission
  // order within a depth) and merged with the buckets, whose depths they
  // never share.
  std::stable_sort(loose_.begin(), loose_.end(), [](const Loose& a, const Loose& b) { return a.depth > b.depth; });
  std::size_t nextLoose = 0;
  // The farthest depths the renderer may keep: shown from its picture when
  // they are queued as they were when it was kept, else drawn into a new one.
  const std::size_t keepable = KeepableBuckets();
  std::size_t first = 0;
  kept_shown_ = kept_drawn_ = 0;
  if (keepable > 0) {
    if (kept_ != 0 && kept_now_ == kept_from_ && renderer_.ShowKept(kept_)) {
      first = keepable;
      kept_shown_ = keepable;
    } else if (renderer_.BeginKeeping()) {
      for (std::size_t i = 0; i < keepable; ++i) SubmitBucket(buckets_[bucket_order_[i]], applied);
      if (applied != 0) renderer_.SetClipRect(nullptr);
      applied = 0;
      kept_ = renderer_.EndKeeping();
      kept_from_.swap(kept_now_);
      if (kept_ == 0) kept_from_.clear();
      first = keepable;
      kept_drawn_ = keepable;
    }
  }
  for (std::size_t i = first; i < bucket_order_.size(); ++i) {
    const Bucket& bucket = buckets_[bucket_order_[i]];
    for (; nextLoose < loose_.size() && loose_[nextLoose].depth > bucket.depth; ++nextLoose) {
      Submit(loose_[nextLoose].item, loose_[nextLoose].depth, applied);
    }
    SubmitBucket(bucket, applied);
  }
  for (; nextLoose < loose_.size(); ++nextLoose) Submit(loose_[nextLoose].item, loose_[nextLoose].depth, applied);
  if (applied != 0) renderer_.SetClipRect(nullptr);
  Reset();
}

std::size_t SpriteBatch::KeepableBuckets() {
  kept_now_.clear();
  std::size_t count = 0;
  for (std::uint32_t b : bucket_order_) {
    const Bucket& bucket = buckets_[b];
    if (!bucket.items.empty() || bucket.runs.empty()) break;
    // The loose draws (sorted, the farthest first) go in before the first
    // bucket they are farther than.
    if (!loose_.empty() && !(bucket.depth > loose_.front().depth)) break;
    bool stamped = true;
    for (const Run& run : bucket.runs) stamped = stamped && run.stamp != 0;
    if (!stamped) break;
    std::uint32_t depthBits;
    std::memcpy(&depthBits, &bucket.depth, sizeof depthBits);
    for (const Run& run : bucket.runs) {
      const RectI clip = run.clip != 0 ? clips_[run.clip - 1] : RectI{};
      kept_now_.push_back(
          KeptEntry{run.stamp, run.sprites, run.count, depthBits, run.ox, run.oy, run.transform, clip, run.clip != 0});
    }
    ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------
// Text layout

namespace {

bool IsBreakSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

// Splits one paragraph [begin, end) into lines no wider than width, breaking
// at spaces; the spaces at a break belong to no line.
void WrapParagraph(std::wstring_view text, std::size_t begin, std::size_t end, int width,
                   const TextMeasure& measure, std::vector<TextLine>& lines) {
  std::size_t lineStart = begin;
  std::size_t lineEnd = begin;  // end of the last word placed on the line
  bool hasWord = false;
  std::size_t pos = begin;
  while (pos < end) {
    std::size_t wordStart = pos;
    while (wordStart < end && IsBreakSpace(text[wordStart])) ++wordStart;
    if (wordStart == end) break;  // trailing spaces
    std::size_t wordEnd = wordStart;
    while (wordEnd < end && !IsBreakSpace(text[wordEnd])) ++wordEnd;
    if (hasWord && measure.Width(text.substr(lineStart, wordEnd - lineStart)) > width) {
      lines.push_back({lineStart, lineEnd, 0, 0, 0});
      lineStart = wordStart;
    }
    hasWord = true;
    lineEnd = wordEnd;
    pos = wordEnd;
  }
  lines.push_back({lineStart, hasWord ? lineEnd : lineStart, 0, 0, 0});
}

}  // namespace

int LayoutText(std::wstring_view text, RectI& rect, unsigned flags, int lineHeight,
               const TextMeasure& measure, std::vector<TextLine>& lines) {
  lines.clear();
  if (lineHeight < 0) lineHeight = 0;
  const bool single = (flags & kTextSingleLine) != 0;
  const bool wrap = !single && (flags & kTextWordBreak) != 0;
  if (!text.empty()) {
    if (single) {
      lines.push_back({0, text.size(), 0, 0, 0});
    } else {
      std::size_t start = 0;
      while (start <= text.size()) {
        std::size_t nl = text.find(L'\n', start);
        const bool last = nl == std::wstring_view::npos;
        std::size_t end = last ? text.size() : nl;
        if (last && start == text.size() && start != 0) break;  // a final '\n' adds no line
        std::size_t trimmed = end;
        if (trimmed > start && text[trimmed - 1] == L'\r') --trimmed;
        if (wrap) {
          WrapParagraph(text, start, trimmed, rect.Width(), measure, lines);
        } else {
          lines.push_back({start, trimmed, 0, 0, 0});
        }
        if (last) break;
        start = nl + 1;
      }
    }
  }

  int widest = 0;
  for (TextLine& line : lines) {
    line.width = line.end > line.begin ? measure.Width(text.substr(line.begin, line.end - line.begin)) : 0;
    widest = std::max(widest, line.width);
  }
  const int total = static_cast<int>(lines.size()) * lineHeight;

  if (flags & kTextCalcRect) {
    rect.right = rect.left + widest;
    rect.bottom = rect.top + total;
    return total;
  }

  int y = rect.top;
  if (single && (flags & kTextBottom)) {
    y = rect.bottom - total;
  } else if (single && (flags & kTextVCenter)) {
    y = rect.top + (rect.Height() - total) / 2;
  }
  const int top = y;
  for (TextLine& line : lines) {
    if (flags & kTextRight) {
      line.x = rect.right - line.width;
    } else if (flags & kTextCenter) {
      line.x = rect.left + (rect.Width() - line.width) / 2;
    } else {
      line.x = rect.left;
    }
    line.y = y;
    y += lineHeight;
  }
  // Windows reports the offset of the text's bottom from the top edge when
  // the text was placed vertically.
  if (single && (flags & (kTextBottom | kTextVCenter))) return top + total - rect.top;
  return total;
}

bool ClipTextBox(const RectI& clip, int x, int y, int width, int height, RectI& source, RectI& dest) {
  dest.left = std::max(x, clip.left);
  dest.top = std::max(y, clip.top);
  dest.right = std::min(x + width, clip.right);
  dest.bottom = std::min(y + height, clip.bottom);
  if (dest.right <= dest.left || dest.bottom <= dest.top) return false;
  source = {dest.left - x, dest.top - y, dest.right - x, dest.bottom - y};
  return true;
}

// ---------------------------------------------------------------------------
// Fonts drawing cached lines

struct CachedTextFont::Entry {
  std::wstring text;
  std::unique_ptr<Texture> texture;  // null when the line could not be made
  std::uint64_t generation = 0;      // of the batch that last queued it
};

CachedTextFont::CachedTextFont(Renderer& renderer, int height) : renderer_(renderer), height_(height) {}

CachedTextFont::~CachedTextFont() = default;

const Texture* CachedTextFont::LineTexture(std::wstring_view line, const SpriteBatch* batch) {
  const std::uint64_t generation = batch ? batch->Generation() : 0;
  auto found = cache_.find(line);
  if (found != cache_.end()) {
    lru_.splice(lru_.end(), lru_, found->second);  // most recently used
    found->second->generation = generation;
    return found->second->texture.get();
  }
  Trim(batch);
  ++rasterised_;
  lru_.push_back(Entry{std::wstring(line), RenderLine(line), generation});
  auto it = std::prev(lru_.end());
  cache_.emplace(it->text, it);
  return it->texture.get();
}

void CachedTextFont::Trim(const SpriteBatch* batch) {
  const std::uint64_t busy = batch && batch->InBatch() ? batch->Generation() : 0;
  while (cache_.size() >= kCacheLimit && !lru_.empty()) {
    Entry& oldest = lru_.front();
    // The open batch still points at this texture: everything newer is in
    // use as well, so the cache grows for this frame instead.
    if (busy != 0 && oldest.generation == busy) break;
    cache_.erase(oldest.text);
    lru_.pop_front();
  }
}

int CachedTextFont::DrawText(SpriteBatch* batch, std::wstring_view text, RectI& rect, unsigned flags,
                             std::uint32_t argb) {
  const int lineHeight = LineHeight();
  struct Measure final : TextMeasure {
    const CachedTextFont* font;
    int Width(std::wstring_view piece) const override { return font->MeasureWidth(piece); }
  } measure;
  measure.font = this;
  const int result = LayoutText(text, rect, flags, lineHeight, measure, lines_);
  if (flags & kTextCalcRect) return result;
  if (batch && !batch->InBatch()) batch = nullptr;  // drawn at once instead

  const Matrix2D transform = batch ? batch->GetTransform() : Matrix2D::Identity();
  for (const TextLine& line : lines_) {
    if (line.end <= line.begin) continue;
    std::wstring_view piece = text.substr(line.begin, line.end - line.begin);
    const Texture* texture = LineTexture(piece, batch);
    if (!texture) continue;
    RectI source{0, 0, texture->Width(), texture->Height()};
    RectI dest{line.x, line.y, line.x + source.right, line.y + source.bottom};
    if (!(flags & kTextNoClip) && !ClipTextBox(rect, line.x, line.y, source.right, source.bottom, source, dest)) {
      continue;
    }
    const float l = static_cast<float>(dest.left), t = static_cast<float>(dest.top);
    const float r = static_cast<float>(dest.right), b = static_cast<float>(dest.bottom);
    PointF corners[4] = {transform.Apply({l, t}), transform.Apply({r, t}), transform.Apply({r, b}),
                         transform.Apply({l, b})};
    if (batch) {
      batch->DrawQuad(*texture, source, corners, argb, batch->GetTextDepth());
    } else {
      renderer_.DrawQuad(*texture, source, corners, argb, 0.0f);
    }
  }
  return result;
}

}  // namespace plat
