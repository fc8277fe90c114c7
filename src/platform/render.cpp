#include "platform/render.h"

#include <algorithm>
#include <atomic>
#include <cmath>

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

PointF Matrix2D::Apply(PointF p) const {
  return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy};
}

// ---------------------------------------------------------------------------
// Sprite batch

void SpriteBatch::Begin() {
  if (open_) return;  // a second Begin keeps what was queued
  static std::atomic<std::uint64_t> s_generations{0};
  open_ = true;
  generation_ = ++s_generations;
  items_.clear();
  clips_.clear();
  clip_ = 0;
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

void SpriteBatch::Draw(const Texture& texture, const RectI* source, float x, float y, float z,
                       std::uint32_t argb) {
  if (!open_) return;
  RectI src = source ? *source : RectI{0, 0, texture.Width(), texture.Height()};
  const float w = static_cast<float>(src.Width());
  const float h = static_cast<float>(src.Height());
  PointF corners[4] = {
      transform_.Apply({x, y}),
      transform_.Apply({x + w, y}),
      transform_.Apply({x + w, y + h}),
      transform_.Apply({x, y + h}),
  };
  DrawQuad(texture, src, corners, argb, z);
}

void SpriteBatch::DrawQuad(const Texture& texture, const RectI& source, const PointF corners[4],
                           std::uint32_t argb, float depth) {
  if (!open_) return;
  // A NaN depth would break the ordering the sort relies on.
  if (std::isnan(depth)) depth = 0.0f;
  Item item{&texture, source, {corners[0], corners[1], corners[2], corners[3]}, argb, depth, clip_};
  items_.push_back(item);
}

void SpriteBatch::End() {
  if (!open_) return;
  open_ = false;
  const std::size_t n = items_.size();
  order_.resize(n);
  for (std::size_t i = 0; i < n; ++i) order_[i] = static_cast<std::uint32_t>(i);
  // Back to front; the index breaks ties so equal depths keep their order.
  // (std::stable_sort would take a scratch buffer on every call.)
  const Item* items = items_.data();
  std::sort(order_.begin(), order_.end(), [items](std::uint32_t a, std::uint32_t b) {
    if (items[a].depth != items[b].depth) return items[a].depth > items[b].depth;
    return a < b;
  });
  std::uint32_t applied = 0;
  for (std::uint32_t index : order_) {
    const Item& it = items_[index];
    if (it.clip != applied) {
      applied = it.clip;
      renderer_.SetClipRect(applied != 0 ? &clips_[applied - 1] : nullptr);
    }
    renderer_.DrawQuad(*it.texture, it.source, it.corners, it.argb, it.depth);
  }
  if (applied != 0) renderer_.SetClipRect(nullptr);
  items_.clear();
  clips_.clear();
  clip_ = 0;
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

CachedTextFont::CachedTextFont(Renderer& renderer, std::wstring face, int height, int weight)
    : renderer_(renderer), face_(std::move(face)), height_(height), weight_(weight) {}

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
      batch->DrawQuad(*texture, source, corners, argb, 0.0f);
    } else {
      renderer_.DrawQuad(*texture, source, corners, argb, 0.0f);
    }
  }
  return result;
}

}  // namespace plat
