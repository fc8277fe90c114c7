#include "gui/dxut_editbox.h"

#include <algorithm>
#include <optional>
#include <string>

#include "gui/dxut_dialog.h"
#include "platform/clipboard.h"
#include "platform/framework.h"
#include "platform/input_state.h"

namespace {

// The window system's usual caret blink time; Linux desktops have no
// setting the game could read in the same way.
constexpr double kCaretBlinkMs = 530.0;

double Now() { return plat::GetFramework().GetTime(); }

bool KeyHeld(unsigned vk) { return plat::GetInputState().IsKeyDown(vk); }

}  // namespace

double DXUTCaretBlinkSeconds() { return kCaretBlinkMs * 0.001; }

void DXUTNinePieces(const plat::RectI& b, int border, plat::RectI pieces[9]) {
  const plat::RectI in{b.left + border, b.top + border, b.right - border, b.bottom - border};
  pieces[0] = in;
  pieces[1] = {b.left, b.top, in.left, in.top};
  pieces[2] = {in.left, b.top, in.right, in.top};
  pieces[3] = {in.right, b.top, b.right, in.top};
  pieces[4] = {b.left, in.top, in.left, in.bottom};
  pieces[5] = {in.right, in.top, b.right, in.bottom};
  pieces[6] = {b.left, in.bottom, in.left, b.bottom};
  pieces[7] = {in.left, in.bottom, in.right, b.bottom};
  pieces[8] = {in.right, in.bottom, b.right, b.bottom};
}

CDXUTEditBox::CDXUTEditBox(CDXUTDialog* dialog) : CDXUTControl(dialog), m_dfBlink(DXUTCaretBlinkSeconds()) {
  m_Type = DXUT_CONTROL_EDITBOX;
  if (dialog != nullptr) m_Buffer.SetFontIndex(std::max(dialog->GetFontIndex(0), 0));
  m_Buffer.SetText(L"");
}

CDXUTEditBox::~CDXUTEditBox() = default;

void CDXUTEditBox::UpdateRects() {
  CDXUTControl::UpdateRects();
  DXUTNinePieces(m_rcBoundingBox, 10, m_rcRender);
  const plat::RectI& b = m_rcBoundingBox;
  m_rcText = {b.left + m_nBorder, b.top + m_nBorder, b.right - m_nBorder, b.bottom - m_nBorder};
}

void CDXUTEditBox::SetText(const wchar_t* text, bool selectAll) {
  m_Buffer.SetText(text);
  if (!m_bEnabled) return;
  m_nFirstVisible = 0;
  PlaceCaret(m_Buffer.GetTextSize());
  m_nSelStart = selectAll ? 0 : m_nCaret;
}

void CDXUTEditBox::ResetCaretBlink() {
  m_bCaretOn = true;
  m_dfLastBlink = Now();
}

void CDXUTEditBox::OnFocusIn() {
  CDXUTControl::OnFocusIn();
  ResetCaretBlink();
}

void CDXUTEditBox::PlaceCaret(int position) {
  position = std::clamp(position, 0, m_Buffer.GetTextSize());
  m_nCaret = position;
  // The first visible character may point past a text that shrank.
  m_nFirstVisible = std::clamp(m_nFirstVisible, 0, m_Buffer.GetTextSize());
  int x1 = 0, x = 0, x2 = 0;
  if (FAILED(m_Buffer.CPtoX(m_nFirstVisible, false, &x1))) return;
  m_Buffer.CPtoX(position, false, &x);
  if (position == m_Buffer.GetTextSize()) {
    x2 = x;
  } else {
    m_Buffer.CPtoX(position, true, &x2);
  }
  if (x < x1) {
    m_nFirstVisible = position;
  } else if (x2 > x1 + m_rcText.Width()) {
    const int newLeft = x2 - m_rcText.Width();
    int cp = 0;
    bool trailing = false;
    if (FAILED(m_Buffer.XtoCP(newLeft, &cp, &trailing))) return;
    int cpX = 0;
    m_Buffer.CPtoX(cp, false, &cpX);
    if (cpX < newLeft) ++cp;
    m_nFirstVisible = std::min(cp, m_Buffer.GetTextSize());
  }
}

void CDXUTEditBox::ClampSelection() {
  // Owners write the caret and selection fields directly; keep them inside
  // the text before they index it.
  m_nCaret = std::clamp(m_nCaret, 0, m_Buffer.GetTextSize());
  m_nSelStart = std::clamp(m_nSelStart, 0, m_Buffer.GetTextSize());
}

void CDXUTEditBox::DeleteSelectionText() {
  ClampSelection();
  const int first = std::min(m_nCaret, m_nSelStart);
  const int last = std::max(m_nCaret, m_nSelStart);
  PlaceCaret(first);
  m_nSelStart = m_nCaret;
  for (int i = first; i < last; ++i) m_Buffer.RemoveChar(first);
}

void CDXUTEditBox::CopyToClipboard() {
  ClampSelection();
  if (m_nCaret == m_nSelStart) return;
  const int first = std::min(m_nCaret, m_nSelStart);
  const int last = std::max(m_nCaret, m_nSelStart);
  plat::GetClipboard().SetText(std::wstring_view(m_Buffer.GetBuffer() + first, static_cast<std::size_t>(last - first)));
}

void CDXUTEditBox::PasteFromClipboard() {
  DeleteSelectionText();
  const std::optional<std::wstring> text = plat::GetClipboard().GetText();
  if (text) {
    // The text ends at its first terminator, as a null-terminated copy does.
    const std::wstring pasted = text->substr(0, text->find(L'\0'));
    if (m_Buffer.InsertString(m_nCaret, pasted.c_str(), static_cast<int>(pasted.size()))) {
      PlaceCaret(m_nCaret + static_cast<int>(pasted.size()));
    }
  }
  m_nSelStart = m_nCaret;
}

bool CDXUTEditBox::MsgProc(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible || message.msg != plat::kWmChar) return false;
  const std::uintptr_t c = message.wParam;
  switch (c) {
    case 1:  // Ctrl+A
      if (m_nSelStart == m_nCaret) {
        m_nSelStart = 0;
        PlaceCaret(m_Buffer.GetTextSize());
      }
      return true;
    case 3:  // Ctrl+C
      CopyToClipboard();
      return true;
    case 24:  // Ctrl+X
      CopyToClipboard();
      DeleteSelectionText();
      SendChange();
      return true;
    case 22:  // Ctrl+V
      PasteFromClipboard();
      SendChange();
      return true;
    case 8:  // Backspace
      if (m_nCaret != m_nSelStart) {
        DeleteSelectionText();
      } else if (m_nCaret > 0) {
        PlaceCaret(m_nCaret - 1);
        m_nSelStart = m_nCaret;
        m_Buffer.RemoveChar(m_nCaret);
      } else {
        return true;
      }
      SendChange();
      ResetCaretBlink();
      return true;
    case 13:  // Enter
      SendUserEvent(EVENT_EDITBOX_STRING);
      return true;
    case 2: case 4: case 5: case 6: case 7: case 9: case 10: case 11: case 12: case 14: case 15: case 16:
    case 17: case 18: case 19: case 20: case 21: case 23: case 25: case 26: case 27: case 28: case 29:
      return true;
    default:
      break;
  }
  // Our wide characters hold a whole code point; anything beyond Unicode
  // is no character at all.
  if (c > 0x10FFFF) return true;
  const auto ch = static_cast<wchar_t>(c);
  if (m_pRefusedChars && m_pRefusedChars->find(ch) != std::wstring::npos) return true;
  if (m_nCaret != m_nSelStart) DeleteSelectionText();
  bool stored = false;
  if (!m_bInsertMode && m_nCaret < m_Buffer.GetTextSize()) {
    stored = m_Buffer.SetChar(m_nCaret, ch);
  } else {
    stored = m_Buffer.InsertChar(m_nCaret, ch);
  }
  if (stored) {
    PlaceCaret(m_nCaret + 1);
    m_nSelStart = m_nCaret;
  }
  ResetCaretBlink();
  SendChange();
  return true;
}

bool CDXUTEditBox::HandleKeyboard(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible || message.msg != plat::kWmKeyDown) return false;
  const bool shift = KeyHeld(plat::kVkShift);
  const bool ctrl = KeyHeld(plat::kVkControl);
  switch (message.wParam) {
    case plat::kVkEnd:
    case plat::kVkHome:
      PlaceCaret(message.wParam == plat::kVkEnd ? m_Buffer.GetTextSize() : 0);
      if (!shift) m_nSelStart = m_nCaret;
      ResetCaretBlink();
      return true;
    case plat::kVkLeft:
      if (ctrl) {
        int prior = m_nCaret;
        m_Buffer.GetPriorItemPos(m_nCaret, &prior);
        PlaceCaret(prior);
      } else if (m_nCaret > 0) {
        PlaceCaret(m_nCaret - 1);
      }
      if (!shift) m_nSelStart = m_nCaret;
      ResetCaretBlink();
      return true;
    case plat::kVkRight:
      if (ctrl) {
        int next = m_nCaret;
        m_Buffer.GetNextItemPos(m_nCaret, &next);
        PlaceCaret(next);
      } else if (m_nCaret < m_Buffer.GetTextSize()) {
        PlaceCaret(m_nCaret + 1);
      }
      if (!shift) m_nSelStart = m_nCaret;
      ResetCaretBlink();
      return true;
    case plat::kVkUp:
    case plat::kVkDown:
      return true;
    case plat::kVkInsert:
      if (ctrl) {
        CopyToClipboard();
      } else if (shift) {
        PasteFromClipboard();
      } else {
        m_bInsertMode = !m_bInsertMode;
      }
      return false;
    case plat::kVkDelete:
      if (m_nCaret != m_nSelStart) {
        DeleteSelectionText();
      } else if (!m_Buffer.RemoveChar(m_nCaret)) {
        ResetCaretBlink();
        return true;
      }
      SendChange();
      ResetCaretBlink();
      return true;
    case plat::kVkEscape:
      return false;
    default:
      return true;
  }
}

bool CDXUTEditBox::CaretFromPoint(POINT pt) {
  int x1 = 0;
  m_Buffer.CPtoX(m_nFirstVisible, false, &x1);
  int cp = 0;
  bool trailing = false;
  if (FAILED(m_Buffer.XtoCP(pt.x - m_rcText.left + x1, &cp, &trailing))) return false;
  if (trailing && cp < m_Buffer.GetTextSize()) {
    PlaceCaret(cp + 1);
  } else {
    PlaceCaret(cp);
  }
  return true;
}

bool CDXUTEditBox::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bEnabled || !m_bVisible) return false;
  switch (message.msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk:
      if (!m_bHasFocus) CDXUTDialog::RequestFocus(this);
      if (!ContainsPoint(pt)) return false;
      m_bMouseDrag = true;
      plat::GetInputState().SetCapture(true);
      if (!CaretFromPoint(pt)) return true;
      m_nSelStart = m_nCaret;
      ResetCaretBlink();
      return true;
    case plat::kWmMouseMove:
      if (m_bMouseDrag) CaretFromPoint(pt);
      return false;
    case plat::kWmLButtonUp:
      plat::GetInputState().SetCapture(false);
      m_bMouseDrag = false;
      return false;
    default:
      return false;
  }
}

void CDXUTEditBox::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  ClampSelection();
  CDXUTElement* textElement = GetElement(0);
  if (textElement != nullptr) {
    const int font = m_pDialog->GetFontIndex(textElement->iFont);
    if (font >= 0) m_Buffer.SetFontIndex(font);
    if (m_bEnabled) PlaceCaret(m_nCaret);
  }

  for (unsigned i = 0; i < 9; ++i) {
    CDXUTElement* element = GetElement(i);
    if (element == nullptr) continue;
    element->TextureColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    m_pDialog->DrawSprite(element, m_rcRender[i], 0.2f);
  }
  if (textElement == nullptr) return;

  int x1 = 0, xc = 0, xs = 0;
  const bool selection = m_nCaret != m_nSelStart;
  plat::RectI selRect{};
  if (m_bEnabled) {
    m_Buffer.CPtoX(m_nFirstVisible, false, &x1);
    m_Buffer.CPtoX(m_nCaret, false, &xc);
    if (selection) {
      m_Buffer.CPtoX(m_nSelStart, false, &xs);
    } else {
      xs = xc;
    }
    if (m_bHasFocus && selection) {
      const int shift = m_rcText.left - x1;
      selRect = {std::min(xc, xs) + shift, m_rcText.top, std::max(xc, xs) + shift, m_rcText.bottom};
      selRect.left = std::max(selRect.left, m_rcText.left);
      selRect.right = std::min(selRect.right, m_rcText.right);
      if (selRect.right > selRect.left) m_pDialog->DrawRect(selRect, m_SelBkColor);
    }
  }

  textElement->FontColor.Current =
      ColorFromArgb(textElement->FontColor.States[m_bHasFocus ? DXUT_STATE_FOCUS : DXUT_STATE_NORMAL]);
  textElement->dwTextFormat = m_bEnabled ? plat::kTextVCenter : (m_dwDisabledTextFormat | plat::kTextVCenter);
  // Text scrolled past either edge must not show outside the field.
  m_pDialog->SetClipRect(&m_rcText);
  m_pDialog->DrawText(m_Buffer.GetBuffer() + std::min(m_nFirstVisible, m_Buffer.GetTextSize()), textElement,
                      m_rcText);

  if (m_bHasFocus && selection && m_bEnabled && selRect.right > selRect.left) {
    textElement->FontColor.Current = ColorFromArgb(m_SelTextColor);
    const int first = std::max(m_nFirstVisible, std::min(m_nCaret, m_nSelStart));
    const int last = std::max(m_nCaret, m_nSelStart);
    if (last > first) {
      // The selected run starts where its own left edge is, which may lie
      // left of the clipped selection rectangle when it began off-screen.
      int xFirst = 0;
      m_Buffer.CPtoX(first, false, &xFirst);
      plat::RectI runRect{m_rcText.left - x1 + xFirst, m_rcText.top, m_rcText.right, m_rcText.bottom};
      m_pDialog->SetClipRect(&selRect);
      m_pDialog->DrawText(m_Buffer.GetBuffer() + first, textElement, runRect, false, last - first);
    }
  }
  m_pDialog->SetClipRect(nullptr);

  if (m_bEnabled) {
    const double now = Now();
    if (now - m_dfLastBlink >= m_dfBlink) {
      m_bCaretOn = !m_bCaretOn;
      m_dfLastBlink = now;
    }
    if (m_bHasFocus && m_bCaretOn) {
      const int x = m_rcText.left - x1 + xc;
      plat::RectI caret{x - 1, m_rcText.top, x + 1, m_rcText.bottom};
      if (!m_bInsertMode) {
        int xTrail = 0;
        m_Buffer.CPtoX(m_nCaret, true, &xTrail);
        caret.right = m_rcText.left - x1 + xTrail;
        // At the end of the text there is no character to cover.
        caret.right = std::max(caret.right, x + 1);
      }
      m_pDialog->DrawRect(caret, m_CaretColor);
    }
  }
}
