// The single-line text field: a caret that blinks, selection with the mouse
// and with Shift, word moves with Ctrl, insert and overwrite modes, the
// clipboard and an optional set of refused characters. Typed characters
// arrive as character messages; Enter sends EVENT_EDITBOX_STRING and every
// change EVENT_EDITBOX_CHANGE.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gui/dxut_control.h"
#include "gui/dxut_text_buffer.h"

class CDXUTEditBox : public CDXUTControl {
 public:
  explicit CDXUTEditBox(CDXUTDialog* dialog = nullptr);
  ~CDXUTEditBox() override;

  void Render(float elapsed) override;
  bool MsgProc(const plat::Message& message) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void OnFocusIn() override;
  void SetTextColor(std::uint32_t color) override { m_TextColor = color; }
  void UpdateRects() override;

  void SetText(const wchar_t* text, bool selectAll = false);
  const wchar_t* GetText() const { return m_Buffer.GetBuffer(); }
  int GetTextLength() const { return m_Buffer.GetTextSize(); }
  int GetCaret() const { return m_nCaret; }
  int GetSelStart() const { return m_nSelStart; }

  void PlaceCaret(int position);
  void DeleteSelectionText();
  void CopyToClipboard();
  void PasteFromClipboard();
  void ResetCaretBlink();

  // Characters a user may not type (null: none); the owner sets them.
  std::unique_ptr<std::wstring> m_pRefusedChars;
  int m_nBorder = 5;
  int m_nSpacing = 4;
  plat::RectI m_rcText;
  plat::RectI m_rcRender[9];
  double m_dfBlink;
  double m_dfLastBlink = 0;
  bool m_bCaretOn = true;
  int m_nCaret = 0;
  bool m_bInsertMode = true;
  int m_nSelStart = 0;
  int m_nFirstVisible = 0;
  std::uint32_t m_TextColor = 0xFF101010;
  std::uint32_t m_SelTextColor = 0xFFFFFFFF;
  std::uint32_t m_SelBkColor = 0xFF28325C;
  std::uint32_t m_CaretColor = 0xFFFFFFFF;
  unsigned m_dwDisabledTextFormat = 5;  // DT_CENTER | DT_VCENTER
  bool m_bMouseDrag = false;

 protected:
  CUniBuffer m_Buffer;

 private:
  void SendChange() { SendUserEvent(EVENT_EDITBOX_CHANGE); }
  void ClampSelection();
  // Caret and selection from a point in the box.
  bool CaretFromPoint(POINT pt);
};

// The caret blink period of the system, in seconds.
double DXUTCaretBlinkSeconds();

// The nine pieces of a box framed by 10-pixel borders: 0 the inner
// rectangle, then top left, top, top right, left, right, bottom left,
// bottom, bottom right.
void DXUTNinePieces(const plat::RectI& box, int border, plat::RectI pieces[9]);
