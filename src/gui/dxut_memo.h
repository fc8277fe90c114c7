// A read-only block of word-wrapped text with its own vertical scroll bar
// (battle logs, reports, help texts). The owner sets the whole text; the
// memo measures it, sets the scroll range in lines and draws the lines from
// the scroll position on, clipped to its text area.
#pragma once

#include "gui/dxut_control.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_text_buffer.h"

// The memo's scroll bar: it may be put on a line the range does not reach
// (ScrollToEnd puts no cap on it).
class CDXUTMemoScrollBar : public CDXUTScrollBar {
 public:
  using CDXUTScrollBar::CDXUTScrollBar;
  void SetTrackPosUncapped(int position) {
    m_nPosition = position;
    UpdateThumbRect();
  }
};

class CDXUTMemo : public CDXUTControl {
 public:
  explicit CDXUTMemo(CDXUTDialog* dialog = nullptr);
  ~CDXUTMemo() override;

  HRESULT OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void UpdateRects() override;

  void SetText(const wchar_t* text);
  void ClearText();
  void ScrollToEnd();
  const wchar_t* GetText() const { return m_Buffer.GetBuffer(); }
  CDXUTScrollBar& GetScrollBar() { return m_ScrollBar; }

  int m_nBorder = 5;
  plat::RectI m_rcText;  // after a render: the rectangle the text was drawn in
  plat::RectI m_rcClip;
  plat::RectI m_rcRender[9];
  int m_nSpacing = 4;
  int m_nLineHeight = 1;
  unsigned m_dwTextFormat = 0x10;  // DT_WORDBREAK
  int m_nSBWidth = 16;

 protected:
  CUniBuffer m_Buffer;
  CDXUTMemoScrollBar m_ScrollBar;
};
