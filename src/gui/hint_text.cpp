#include "gui/hint_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/draw_objects.h"
#include "app/gui_layout.h"
#include "app/hoverable.h"
#include "app/texture.h"
#include "gui/dxut_dialog.h"
#include "gui/gui_helpers.h"
#include "platform/clock.h"
#include "platform/render.h"

cHintText g_HintText;

namespace {

// The hint frame's nine 10-pixel pieces lie in a 3 x 3 grid of the GUI sheet
// (texture table slot 2) starting here.
constexpr int kFrameSheetX = 200;
constexpr int kFrameSheetY = 1895;
constexpr int kFramePiece = 10;
constexpr int kGuiSheetSlot = 2;

void TrackButton(bool down, bool& wasDown, int x, int y, int& startX, int& startY, bool& dragging,
                 bool& released, int& dragX, int& dragY, bool& pressedNow, bool& releasedNow) {
  if (down && !wasDown) {
    startX = x;
    startY = y;
    dragging = true;
    released = false;
    dragX = dragY = 0;
    pressedNow = true;
  } else if (!down && wasDown) {
    dragging = false;
    released = true;
    releasedNow = true;
  }
  if (dragging) {
    dragX = x - startX;
    dragY = y - startY;
  }
  wasDown = down;
}

}  // namespace

void cHintText::Init(int offsetX, int offsetY, int delayMs, const wchar_t* text) {
  offset_x_ = offsetX;
  offset_y_ = offsetY;
  delay_ = delayMs;
  left_down_ = right_down_ = false;
  left_dragging_ = right_dragging_ = false;
  left_released_ = right_released_ = false;
  left_released_now_ = right_pressed_now_ = false;
  left_start_x_ = left_start_y_ = right_start_x_ = right_start_y_ = 0;
  left_drag_x_ = left_drag_y_ = right_drag_x_ = right_drag_y_ = 0;
  // The clock starts now, so the first frame does not count the time before.
  last_tick_ = plat::GetTickCount();
  running_time_ = 0;
  waited_ = 0;
  SetText(text);
  anchor_ = nullptr;
  control_ = nullptr;
}

void cHintText::SetText(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') {
    text_ = nullptr;
    box_width_ = box_height_ = 0;
    waited_ = 0;
    return;
  }
  text_ = text;
  plat::RectI measured{0, 0, kWrapWidth, 0};
  if (plat::Font* font = g_GuiFonts[0].font) {
    font->DrawText(nullptr, text, measured, plat::kTextCalcRect | plat::kTextWordBreak, kWhite);
  } else {
    measured = {};  // no device yet: nothing can be measured
  }
  box_width_ = measured.Width() + kMargin;
  box_height_ = measured.Height() + kMargin;
}

void cHintText::SetAnchor(cHoverable* anchor) {
  anchor_ = anchor;
  if (anchor == nullptr) return;
  waited_ = 0;
  text_ = nullptr;
  box_width_ = box_height_ = 0;
  anchor->GetTooltipSize(box_width_, box_height_);
}

void cHintText::SetControl(CDXUTControl* control, bool force) {
  if (control == control_ && !force) return;
  control_ = control;
  SetText(control != nullptr ? control->GetHint() : nullptr);
}

void cHintText::UpdateMouse(bool leftDown, bool rightDown, int x, int y) {
  mouse_x_ = x;
  mouse_y_ = y;
  right_pressed_now_ = false;
  left_released_now_ = false;
  bool unusedLeftPressed = false;
  bool unusedRightReleased = false;
  TrackButton(leftDown, left_down_, x, y, left_start_x_, left_start_y_, left_dragging_,
              left_released_, left_drag_x_, left_drag_y_, unusedLeftPressed, left_released_now_);
  TrackButton(rightDown, right_down_, x, y, right_start_x_, right_start_y_, right_dragging_,
              right_released_, right_drag_x_, right_drag_y_, right_pressed_now_,
              unusedRightReleased);
}

void cHintText::OnFrameRender() {
  const std::uint32_t now = plat::GetTickCount();
  const std::uint32_t elapsed = now - last_tick_;  // wraps with the tick count
  last_tick_ = now;
  running_time_ = static_cast<int>(static_cast<std::uint32_t>(running_time_) + elapsed);
  if (text_ == nullptr && anchor_ == nullptr) return;
  if (waited_ >= delay_) {
    Draw(static_cast<float>(mouse_x_), static_cast<float>(mouse_y_));
  } else {
    waited_ = static_cast<int>(std::min<std::int64_t>(INT_MAX, std::int64_t{waited_} + elapsed));
  }
}

void cHintText::Draw(float mouseX, float mouseY) {
  int screenWidth = 0, screenHeight = 0;
  GetScreenSize(screenWidth, screenHeight);
  float x = mouseX + static_cast<float>(offset_x_);
  float y = mouseY + static_cast<float>(offset_y_);
  // Flip to the other side of the mouse rather than leave the screen.
  if (x + static_cast<float>(box_width_) > static_cast<float>(screenWidth)) {
    x -= static_cast<float>(offset_x_ + box_width_);
  }
  if (y + static_cast<float>(box_height_) > static_cast<float>(screenHeight)) {
    y -= static_cast<float>(offset_y_ + box_height_);
  }
  plat::SpriteBatch* sprite = g_pSprite;
  if (sprite == nullptr) return;
  sprite->Begin();
  sprite->SetTransform(plat::Matrix2D::Identity());
  if (text_ == nullptr) {
    if (anchor_ != nullptr) anchor_->DrawTooltip(x, y);
  } else {
    const int left = static_cast<int>(x);
    const int top = static_cast<int>(y);
    DrawFrame(left, top);
    if (plat::Font* font = g_GuiFonts[0].font) {
      constexpr int inset = kMargin / 2;
      plat::RectI area{left + inset, top + inset, left + box_width_ - inset,
                       top + box_height_ - inset};
      font->DrawText(sprite, text_, area, plat::kTextWordBreak | plat::kTextVCenter, kWhite);
    }
  }
  sprite->End();
}

void cHintText::DrawFrame(int x, int y) {
  DrawNineSlice(g_pSprite, &g_Textures[kGuiSheetSlot], kFrameSheetX, kFrameSheetY, kFramePiece, x, y,
                box_width_, box_height_, kWhite);
}
