#include "gui/dxut_element.h"

#include <algorithm>
#include <cmath>

namespace {
std::uint32_t Channel(float v) {
  v = std::clamp(v, 0.0f, 1.0f);
  return static_cast<std::uint32_t>(v * 255.0f + 0.5f);
}
}  // namespace

DXUTColorF ColorFromArgb(std::uint32_t argb) {
  return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
          static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
}

std::uint32_t ArgbFromColor(const DXUTColorF& c) {
  return (Channel(c.a) << 24) | (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b);
}

void DXUTBlendColor::Init(std::uint32_t defaultColor, std::uint32_t disabledColor, std::uint32_t hiddenColor) {
  for (std::uint32_t& state : States) state = defaultColor;
  States[DXUT_STATE_DISABLED] = disabledColor;
  States[DXUT_STATE_HIDDEN] = hiddenColor;
  Current = ColorFromArgb(hiddenColor);
}

void DXUTBlendColor::Blend(unsigned state, float elapsed, float rate) {
  if (state >= MAX_CONTROL_STATES) state = DXUT_STATE_NORMAL;
  const DXUTColorF target = ColorFromArgb(States[state]);
  const float k = 1.0f - std::pow(rate, 30.0f * elapsed);
  Current.r += (target.r - Current.r) * k;
  Current.g += (target.g - Current.g) * k;
  Current.b += (target.b - Current.b) * k;
  Current.a += (target.a - Current.a) * k;
}

void CDXUTElement::Refresh() {
  TextureColor.Current = ColorFromArgb(TextureColor.States[DXUT_STATE_HIDDEN]);
  FontColor.Current = ColorFromArgb(FontColor.States[DXUT_STATE_HIDDEN]);
}
