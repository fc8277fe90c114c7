// The vertical scroll bar that list boxes, combo boxes and memos embed, and
// the horizontal value slider. The scroll bar maps a track position to the
// first visible row and sends no events; its owner reads the position.
#pragma once

#include <cstdint>

#include "gui/dxut_control.h"

class CDXUTScrollBar : public CDXUTControl {
 public:
  explicit CDXUTScrollBar(CDXUTDialog* dialog = nullptr);
  ~CDXUTScrollBar() override;

  void Render(float elapsed) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return false; }
  void UpdateRects() override;

  void SetTrackRange(int start, int end);
  void SetPageSize(int size);
  void Scroll(int delta);
  // Scrolls the least needed to bring index into the page.
  void ShowItem(int index);

  int GetTrackPos() const { return m_nPosition; }
  int GetPageSize() const { return m_nPageSize; }
  int GetTrackStart() const { return m_nStart; }
  int GetTrackEnd() const { return m_nEnd; }
  bool IsThumbShown() const { return m_bShowThumb; }
  const plat::RectI& GetThumbRect() const { return m_rcThumb; }
  // The held-arrow repeat: first after kArrowDelayMs, then every
  // kArrowRepeatMs, timed on the tick clock (plat::GetTickCount). Render
  // runs it; owners may call it as well.
  void UpdateArrowRepeat();
  static constexpr std::uint32_t kArrowDelayMs = 330;
  static constexpr std::uint32_t kArrowRepeatMs = 50;
  // The scroll bar whose thumb is being dragged (one mouse, so at most one).
  static CDXUTScrollBar* GetDragging() { return s_pDragging; }
  static void ResetDrag() { s_pDragging = nullptr; }

 protected:
  void Cap();
  void UpdateThumbRect();
  // The page the bar scrolls and sizes its thumb by: a page that shows no
  // row still counts as one, so that every row can be scrolled to.
  int ScrollPage() const { return m_nPageSize > 0 ? m_nPageSize : 1; }

  enum ArrowState { CLEAR, CLICKED_UP, CLICKED_DOWN, HELD_UP, HELD_DOWN };

  bool m_bShowThumb = true;
  plat::RectI m_rcUpButton, m_rcDownButton, m_rcTrack, m_rcThumb;
  int m_nPosition = 0;
  int m_nPageSize = 1;
  int m_nStart = 0;
  int m_nEnd = 1;
  POINT m_LastMouse;
  ArrowState m_Arrow = CLEAR;
  std::uint32_t m_dArrowTS = 0;  // tick count of the last arrow step

  static CDXUTScrollBar* s_pDragging;
  static int s_nThumbOffsetY;
};

class CDXUTSlider : public CDXUTControl {
 public:
  explicit CDXUTSlider(CDXUTDialog* dialog = nullptr);

  bool ContainsPoint(POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  void UpdateRects() override;
  void Render(float elapsed) override;

  void SetValue(int value) { SetValueInternal(value, false, true); }
  int GetValue() const { return m_nValue; }
  void GetRange(int& minimum, int& maximum) const { minimum = m_nMin, maximum = m_nMax; }
  void SetRange(int minimum, int maximum);
  void SetValueInternal(int value, bool fromInput, bool sendEvent);
  int ValueFromPos(int x) const;
  bool IsPressed() const { return m_bPressed; }
  const plat::RectI& GetThumbRect() const { return m_rcButton; }

  int m_nValue = 50;
  int m_nMin = 0;
  int m_nMax = 100;

 protected:
  // The thumb has room to travel and the range is not empty.
  bool CanMap() const { return m_nMax > m_nMin && m_width > 20; }
  int Clamp(int value) const;
  // The value moved by delta without overflowing.
  int Step(int delta) const;

  int m_nDragX = 0;
  int m_nDragOffset = 0;
  int m_nButtonX = 0;
  bool m_bPressed = false;
  plat::RectI m_rcButton;
};
