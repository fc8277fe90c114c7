#include "gui/bar_graph.h"

#include <algorithm>
#include <cmath>

#include "gui/dxut_dialog.h"

namespace {

constexpr unsigned kLeftMiddle = 0x4 | 0x20 | 0x100;   // DT_VCENTER | DT_SINGLELINE | DT_NOCLIP
constexpr unsigned kRightMiddle = 0x2 | 0x4 | 0x20 | 0x100;
constexpr std::uint32_t kBackground = 0xC0101820u;
constexpr std::uint32_t kTrack = 0x40FFFFFFu;
constexpr std::uint32_t kAxis = 0xFFB0B0B0u;
constexpr int kPadding = 6;
constexpr int kLineHeight = 20;
constexpr int kMaxRowHeight = 26;
constexpr int kValueWidth = 56;

// The colour halfway to white, for a bar's second part.
std::uint32_t Lighter(std::uint32_t colour) {
  std::uint32_t out = colour & 0xFF000000u;
  for (int shift : {0, 8, 16}) {
    const std::uint32_t c = (colour >> shift) & 0xFFu;
    out |= ((c + 255u) / 2u) << shift;
  }
  return out;
}

}  // namespace

CDXUTBarGraph::CDXUTBarGraph(CDXUTDialog* dialog) : CDXUTStatic(dialog) {}

void CDXUTBarGraph::SetLegend(const std::wstring& first, const std::wstring& second) {
  legend_first_ = first;
  legend_second_ = second;
}

void CDXUTBarGraph::SetBars(std::vector<sGraphBar> bars, double scaleFloor) {
  bars_ = std::move(bars);
  scale_floor_ = scaleFloor;
}

double CDXUTBarGraph::ScaleTop() const {
  double top = scale_floor_ > 0.0 ? scale_floor_ : 0.0;
  for (const sGraphBar& bar : bars_) {
    const double whole = std::max(bar.value, 0.0) + std::max(bar.second, 0.0);
    if (std::isfinite(whole)) top = std::max(top, whole);
  }
  return top;
}

int CDXUTBarGraph::BarLength(double value, double scaleTop, int trackWidth) {
  if (!(scaleTop > 0.0) || !(value > 0.0) || trackWidth <= 0 || !std::isfinite(value)) return 0;
  const double length = std::min(value, scaleTop) / scaleTop * trackWidth;
  // A value above nothing stays visible.
  return std::max(1, static_cast<int>(std::lround(length)));
}

void CDXUTBarGraph::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  CDXUTElement* element = GetElement(static_cast<unsigned>(m_TextElement));
  if (element == nullptr) return;
  element->FontColor.Blend(DXUT_STATE_NORMAL, elapsed);
  const plat::RectI& box = m_rcBoundingBox;
  m_pDialog->DrawRect(box, kBackground);
  int top = box.top + kPadding;
  const int left = box.left + kPadding, right = box.right - kPadding;
  auto text = [&](const std::wstring& s, const plat::RectI& rect, unsigned format) {
    if (s.empty()) return;
    element->dwTextFormat = format;
    m_pDialog->DrawText(s.c_str(), element, rect, true);
  };
  if (!m_strText.empty()) {
    text(m_strText, {left, top, right, top + kLineHeight}, kLeftMiddle);
    top += kLineHeight;
  }
  const bool twoParts = !legend_first_.empty() || !legend_second_.empty();
  if (twoParts) {
    // A swatch of each part's colour before its name.
    const std::uint32_t colour = bars_.empty() ? 0xFFD6A040u : bars_.front().colour;
    const int half = (right - left) / 2;
    for (int part = 0; part < 2; ++part) {
      const int x = left + part * half;
      m_pDialog->DrawRect({x, top + 5, x + 12, top + 15}, part == 0 ? colour : Lighter(colour));
      text(part == 0 ? legend_first_ : legend_second_, {x + 18, top, x + half, top + kLineHeight}, kLeftMiddle);
    }
    top += kLineHeight;
  }
  if (bars_.empty()) return;
  const double scale = ScaleTop();
  const int rows = static_cast<int>(bars_.size());
  const int rowHeight = std::min(kMaxRowHeight, std::max(1, (box.bottom - kPadding - top) / rows));
  const int labelRight = left + (right - left) * 2 / 5;
  const int trackLeft = labelRight + kPadding;
  const int trackRight = right - kValueWidth;
  const int track = trackRight - trackLeft;
  // The axis the bars start from.
  m_pDialog->DrawRect({trackLeft - 1, top, trackLeft, top + rowHeight * rows}, kAxis);
  for (int i = 0; i < rows; ++i) {
    const sGraphBar& bar = bars_[static_cast<std::size_t>(i)];
    const int y = top + i * rowHeight;
    text(bar.label, {left, y, labelRight, y + rowHeight}, kRightMiddle);
    const int barTop = y + std::max(1, rowHeight / 6), barBottom = y + rowHeight - std::max(1, rowHeight / 6);
    m_pDialog->DrawRect({trackLeft, barTop, trackRight, barBottom}, kTrack);
    const int first = BarLength(bar.value, scale, track);
    const int whole = BarLength(std::max(bar.value, 0.0) + std::max(bar.second, 0.0), scale, track);
    if (first > 0) m_pDialog->DrawRect({trackLeft, barTop, trackLeft + first, barBottom}, bar.colour);
    if (whole > first) m_pDialog->DrawRect({trackLeft + first, barTop, trackLeft + whole, barBottom}, Lighter(bar.colour));
    text(bar.valueText, {trackLeft + whole + 4, y, right, y + rowHeight}, kLeftMiddle);
  }
}
