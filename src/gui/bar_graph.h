// A horizontal bar graph: one row per bar with its label on the left, the
// bar scaled to the largest value (or to a floor given by the owner) and the
// value's text at the bar's end. A bar may carry a second part drawn on after
// the first in a lighter shade (for example units in reserve after those on
// the map); the legend then names the two parts under the caption.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/dxut_static.h"

struct sGraphBar {
  std::wstring label;
  double value = 0.0;
  // The second part of the bar, drawn after the first.
  double second = 0.0;
  std::uint32_t colour = 0xFFD6A040u;
  // The text at the bar's end.
  std::wstring valueText;

  bool operator==(const sGraphBar&) const = default;
};

class CDXUTBarGraph : public CDXUTStatic {
 public:
  explicit CDXUTBarGraph(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;

  // The caption drawn above the bars (the static's own text).
  void SetCaption(const std::wstring& caption) { m_strText = caption; }
  // Names of the two parts of the bars; empty: no legend.
  void SetLegend(const std::wstring& first, const std::wstring& second);
  // The bars and the smallest top of the scale (the scale reaches the
  // largest bar when that is higher).
  void SetBars(std::vector<sGraphBar> bars, double scaleFloor = 0.0);
  void Clear() { SetBars({}); SetCaption(L""); SetLegend(L"", L""); }
  const std::vector<sGraphBar>& Bars() const { return bars_; }
  // The value at the right end of the bar track: at least the floor and
  // every bar's whole length; 0 when nothing is to be drawn.
  double ScaleTop() const;
  // Width in pixels of a bar part of that value on a track of that width;
  // 0 for an empty scale or a value not above 0.
  static int BarLength(double value, double scaleTop, int trackWidth);

 private:
  std::vector<sGraphBar> bars_;
  double scale_floor_ = 0.0;
  std::wstring legend_first_;
  std::wstring legend_second_;
};
