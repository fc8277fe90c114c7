// The map view: position, glide, zoom and the geometry that follows from the
// scale (visible columns and rows, view bounds, minimap outline and fit).
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/string_base.h"
#include "world/game_phase.h"
#include "world/world.h"
#include "world/map.h"

float g_MapTargetScale = 1.0f;
float g_MapZoomLevel = 1.0f;
sMapDrag g_MapDrag;
std::function<void()> g_OnMapEmptyClick;
std::function<void(const sMinimapRect&)> g_OnMinimapRect;

namespace {

constexpr int kMinimapLayoutEntry = 315;

int GamePhase() { return g_pWorld ? g_pWorld->GetGameState() : 0; }
bool HumanInputPhase() {
  const int phase = GamePhase();
  return phase == kPhaseHumanTurn || phase == kPhaseHumanMove;
}

float ClampHigh(float v, float lo, float hi) {
  if (v > hi) return hi;
  if (v < lo) return lo;
  return v;
}

void ClampIntoBounds(float& v, int lo, int hi) { v = ClampHigh(v, static_cast<float>(lo), static_cast<float>(hi)); }

// Moves value toward target by step; true when it arrived.
bool Glide(float& value, float target, float& velocity, float& pending, float elapsed) {
  const float step = velocity * elapsed * 50.0f;
  const float remaining = target - value;
  const bool sameSign = (remaining > 0) == (step > 0);
  if (sameSign && std::fabs(remaining) < std::fabs(step)) {
    value = target;
    velocity = 0;
    pending = 0;
    return true;
  }
  value += step;
  return value == target;
}

}  // namespace

void cMap::ScrollView(float dx, float dy, float speed) {
  targetX += dx;
  targetY += dy;
  targetX = ClampHigh(targetX, static_cast<float>(minViewX), static_cast<float>(maxViewX));
  targetY = ClampHigh(targetY, static_cast<float>(minViewY), static_cast<float>(maxViewY));
  velocityX = speed * (targetX - viewX);
  velocityY = speed * (targetY - viewY);
  // Slow glides get a minimum pace so they always arrive; a slow glide
  // downward keeps a deliberately gentle 0.005.
  if (velocityX > 0 && velocityX < 0.1f) velocityX = 0.1f;
  if (velocityX < 0 && velocityX > -0.1f) velocityX = -0.1f;
  if (velocityY > 0 && velocityY < 0.1f) velocityY = 0.005f;
  if (velocityY < 0 && velocityY > -0.1f) velocityY = -0.1f;
}

void cMap::ScrollViewTo(sMapPointF point, bool enterMovingPhase) {
  ScrollView(point.x - viewX, point.y - viewY, 1.0f);
  if (enterMovingPhase && g_pWorld) g_pWorld->SetGameState(kPhaseViewGlide);
}

void cMap::CenterAtHex(int x, int y, int) {
  if (!IsInside(x, y)) {
    LogLine(g_StringBase.GetText("warning:_attempt_to_center_map_on_hex_(%i,%i)_which_is_out_of_range!"), x, y);
    return;
  }
  LogLine(L"CenterAtHex");
  ScrollView(static_cast<float>(x * kHexColumnWidth) - targetX, static_cast<float>(y * kHexRowHeight) - targetY,
             1.0f);
}

void cMap::CenterAtMinimapCursor(int mouseX, int mouseY) {
  if (minimapRect.width <= 0 || minimapRect.height <= 0) return;  // no minimap yet
  const int column = static_cast<int>(static_cast<float>(mouseX - minimapRect.x) / minimapRect.width * width_);
  const int row = static_cast<int>(static_cast<float>(mouseY - minimapRect.y) / minimapRect.height * height_);
  CenterAtHex(column, row);
}

void cMap::StopScrolling() {
  if (GamePhase() == kPhaseViewGlide || g_MapDrag.dragging || g_MapDrag.released) return;
  targetX = viewX;
  targetY = viewY;
  velocityX = velocityY = 0;
}

void cMap::Zoom(int step, int mouseX, int mouseY) {
  const float oldScale = g_MapTargetScale;
  // The level is kept in whole hundredths so that repeated steps land on
  // exact values (0.75 and not 0.7499999, which would switch to the small
  // step one step early).
  int hundredths = static_cast<int>(std::lround(g_MapZoomLevel * 100.0f));
  hundredths -= step * (hundredths >= 75 ? 5 : 1);
  hundredths = std::clamp(hundredths, 0, 100);
  g_MapZoomLevel = hundredths / 100.0f;
  const float sw = static_cast<float>(g_Settings.ResolutionX);
  const float newScale = sw / (g_MapZoomLevel * (static_cast<float>(width_ * kHexColumnWidth) - sw) + sw);
  g_MapTargetScale = newScale;
  // The player zoomed: the next game opens at this zoom.
  SetZoomSetting(newScale);
  if (HumanInputPhase()) {
    pendingZoomX += mouseX / oldScale - mouseX / newScale;
    pendingZoomY += mouseY / oldScale - mouseY / newScale;
  } else {
    pendingZoomX = pendingZoomY = 0;
  }
}

void cMap::ZoomToScale(float scale) {
  const float sw = static_cast<float>(g_Settings.ResolutionX);
  const float span = static_cast<float>(width_ * kHexColumnWidth) - sw;
  if (!(scale > 0.0f) || !(span > 0.0f) || !(sw > 0.0f)) return;
  const int hundredths = std::clamp(static_cast<int>(std::lround((sw / scale - sw) / span * 100.0f)), 0, 100);
  g_MapZoomLevel = hundredths / 100.0f;
  g_MapTargetScale = sw / (g_MapZoomLevel * span + sw);
  pendingZoomX = pendingZoomY = 0;
}

void cMap::UpdateView(float elapsed) {
  float& scale = g_Settings.MapZoom;
  bool scaleChanged = false;
  bool moved = false;

  if (scale != g_MapTargetScale) {
    const float d = scale - g_MapTargetScale;
    const float limit = elapsed * 50.0f;
    const float change = std::clamp(-d, -limit, limit);
    scale += change;
    const float r = std::fabs(change / d);
    if (pendingZoomY != 0) {
      viewY += pendingZoomY * r;
      pendingZoomY -= pendingZoomY * r;
    }
    if (pendingZoomX != 0) {
      viewX += pendingZoomX * r;
      pendingZoomX -= pendingZoomX * r;
    }
    scaleChanged = true;
  }

  bool arrived = false;
  if (g_MapDrag.dragging) {
    viewX = targetX - g_MapDrag.dx / scale;
    viewY = targetY - g_MapDrag.dy / scale;
    velocityX = velocityY = 0;
    pendingZoomX = pendingZoomY = 0;
    ClampIntoBounds(viewX, minViewX, maxViewX);
    ClampIntoBounds(viewY, minViewY, maxViewY);
    moved = true;
  } else {
    if (g_MapDrag.released) {
      targetX -= g_MapDrag.dx / scale;
      targetY -= g_MapDrag.dy / scale;
      viewX = targetX;
      viewY = targetY;
      velocityX = velocityY = 0;
      pendingZoomX = pendingZoomY = 0;
      ClampIntoBounds(viewX, minViewX, maxViewX);
      ClampIntoBounds(viewY, minViewY, maxViewY);
      g_MapDrag.released = false;
      moved = true;
      // A release after a tiny drag is a click on the empty map.
      if (std::abs(g_MapDrag.dx) < 10 && std::abs(g_MapDrag.dy) < 10 && HumanInputPhase() && g_OnMapEmptyClick) {
        g_OnMapEmptyClick();
      }
    }
    bool arrivedX = true, arrivedY = true;
    if (targetX != viewX) {
      arrivedX = Glide(viewX, targetX, velocityX, pendingZoomX, elapsed);
      moved = true;
    }
    if (targetY != viewY) {
      arrivedY = Glide(viewY, targetY, velocityY, pendingZoomY, elapsed);
      moved = true;
    }
    arrived = arrivedX && arrivedY;
  }

  if (moved) {
    const int vx = static_cast<int>(viewX);
    centreColumn = (vx - 166) / kHexColumnWidth;
    offsetX = vx % kHexColumnWidth;
    centreRow = static_cast<int>((viewY - 166.0f) / kHexRowHeight);
    offsetY = static_cast<int>(viewY - 166.0f) % kHexRowHeight;
  }
  if (arrived && g_pWorld) {
    const int phase = g_pWorld->GetGameState();
    if (phase == kPhaseViewGlide) g_pWorld->SetGameState(kPhaseHumanTurn);
    if (phase == kPhaseGlideToEndOfTurn) g_pWorld->SetGameState(kPhaseEndOfTurn);
  }
  if (moved || scaleChanged) RecomputeMinimapOutline();
  if (scaleChanged) ApplyScaleChange();
}

void cMap::ApplyCurrentZoom() {
  ApplyScaleChange();
  RecomputeMinimapOutline();
}

void cMap::ApplyScaleChange() {
  const float s = g_Settings.MapZoom;
  const float sw = static_cast<float>(g_Settings.ResolutionX);
  const float sh = static_cast<float>(g_Settings.ResolutionY);
  visibleColumns = static_cast<int>(baseVisibleColumns / s + 2);
  visibleRows = static_cast<int>(baseVisibleRows / s + 2);
  maxViewX = static_cast<int>(static_cast<float>((width_ + 5) * kHexColumnWidth) - sw / (2 * s));
  maxViewY = static_cast<int>(static_cast<float>((height_ + 5) * kHexRowHeight) - sh / (2 * s));
  minViewX = static_cast<int>(sw / (2 * s) - 415);
  minViewY = static_cast<int>(sh / (2 * s) - 490);
  // A screen wider than the map plus five cells each side: the view stays
  // in the middle.
  if (minViewX > maxViewX) minViewX = maxViewX = static_cast<int>((minViewX + maxViewX) * 0.5);
  if (minViewY > maxViewY) minViewY = maxViewY = static_cast<int>((minViewY + maxViewY) * 0.5);
  viewTransform = sMatrix4::Scaling(s, s);
  // City and unit labels have their sizes per zoom band.
  SelectMapFontForZoom();
  SelectUnitFontsForZoom();
}

void cMap::RecomputeMinimapOutline() {
  if (width_ <= 0 || height_ <= 0) return;
  const float s = g_Settings.MapZoom;
  const float sw = static_cast<float>(g_Settings.ResolutionX);
  const float sh = static_cast<float>(g_Settings.ResolutionY);
  const float mx = static_cast<float>(minimapRect.x), my = static_cast<float>(minimapRect.y);
  const float mw = static_cast<float>(minimapRect.width), mh = static_cast<float>(minimapRect.height);
  const float halfW = (mw * sw / s) / static_cast<float>(width_ * kHexColumnWidth) * 0.5f;
  const float halfH = (mh * sh / s) / static_cast<float>(height_ * kHexRowHeight) * 0.5f;
  float left = mx + static_cast<float>(centreColumn + 1) / width_ * mw - halfW;
  float top = my + static_cast<float>(centreRow + 1) / height_ * mh - halfH;
  float right = left + 2 * halfW;
  float bottom = top + 2 * halfH;
  left = std::clamp(left, mx, mx + mw);
  right = std::clamp(right, mx, mx + mw);
  top = std::clamp(top, my, my + mh);
  bottom = std::clamp(bottom, my, my + mh);
  minimapViewOutline[0] = {left, top};
  minimapViewOutline[1] = {right, top};
  minimapViewOutline[2] = {right, bottom};
  minimapViewOutline[3] = {left, bottom};
  minimapViewOutline[4] = {left, top};
}

void cMap::ComputeFitScale() {
  if (width_ <= 0 || height_ <= 0) return;
  const float fx = static_cast<float>(g_Settings.ResolutionX) / static_cast<float>(width_ * kHexColumnWidth);
  const float fy = static_cast<float>(g_Settings.ResolutionY) / static_cast<float>(height_ * kHexRowHeight);
  fitScale = std::min(fx, fy);
  g_Settings.MapZoom = fitScale;
  // The target follows, or the next frame would ease the map back.
  g_MapTargetScale = fitScale;
}

void cMap::FitMinimapPicture(int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || width_ <= 0 || height_ <= 0) return;
  const float mapRatio = static_cast<float>(width_) / static_cast<float>(height_);
  int partW = 0, partH = 0;
  if (mapRatio > 1.0f) {
    partW = pictureWidth;
    partH = static_cast<int>(static_cast<std::int64_t>(pictureWidth) * height_ / width_);
  } else {
    partH = pictureHeight;
    partW = static_cast<int>(static_cast<std::int64_t>(pictureHeight) * width_ / height_);
  }
  const sLayoutRect& panel = g_GuiLayout[kMinimapLayoutEntry];
  if (partW <= 0 || partH <= 0 || panel.c <= 0 || panel.d <= 0) return;
  minimapImageWidth = partW;
  minimapImageHeight = partH;
  sMinimapRect rect;
  if (static_cast<float>(panel.c) / static_cast<float>(panel.d) < mapRatio) {
    minimapScale = static_cast<float>(panel.c) / static_cast<float>(partW);
    rect.x = panel.a;
    rect.width = panel.c;
    rect.height = static_cast<int>(partH * minimapScale);
    rect.y = panel.b + static_cast<int>((panel.d - partH * minimapScale) * 0.5f);
  } else {
    minimapScale = static_cast<float>(panel.d) / static_cast<float>(partH);
    rect.y = panel.b;
    rect.height = panel.d;
    rect.width = static_cast<int>(partW * minimapScale);
    rect.x = panel.a + static_cast<int>((panel.c - partW * minimapScale) * 0.5f);
  }
  minimapRect = rect;
  minimapTransform = sMatrix4::Scaling(minimapScale, minimapScale);
  minimapOriginX = static_cast<int>(rect.x / minimapScale);
  minimapOriginY = static_cast<int>(rect.y / minimapScale);
  if (g_OnMinimapRect) g_OnMinimapRect(rect);
}

void cMap::VisibleRange(int& firstColumn, int& endColumn, int& firstRow, int& endRow) const {
  firstColumn = std::max(0, centreColumn - visibleColumns / 2);
  endColumn = std::min(width_, centreColumn + visibleColumns / 2 + 2);
  firstRow = std::max(0, centreRow - visibleRows / 2 - 1);
  endRow = std::min(height_, centreRow + visibleRows / 2 + 2);
}
