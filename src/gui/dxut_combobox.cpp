#include "gui/dxut_combobox.h"

#include <algorithm>
#include <new>

#include "gui/dxut_dialog.h"
#include "platform/input_state.h"

CDXUTComboBox::CDXUTComboBox(CDXUTDialog* dialog) : CDXUTButton(dialog), m_ScrollBar(dialog) {
  m_Type = DXUT_CONTROL_COMBOBOX;
}

CDXUTComboBox::~CDXUTComboBox() { RemoveAllItems(); }

HRESULT CDXUTComboBox::OnInit() { return m_pDialog != nullptr ? m_pDialog->InitControl(&m_ScrollBar) : S_OK; }

void CDXUTComboBox::SetTextColor(std::uint32_t color) {
  for (unsigned index : {0u, 2u}) {
    if (CDXUTElement* element = GetElement(index)) element->FontColor.States[DXUT_STATE_NORMAL] = color;
  }
}

void CDXUTComboBox::UpdateRects() {
  CDXUTButton::UpdateRects();
  const plat::RectI& b = m_rcBoundingBox;
  const int h = b.Height();
  m_rcButton = b;
  m_rcText = b;
  m_rcText.right = b.right - h;
  m_rcDropdown = {b.left, b.top + h, b.right - m_nSBWidth, b.bottom + h + m_nDropHeight};
  const int w = m_rcDropdown.Width(), dh = m_rcDropdown.Height();
  const int dx = static_cast<int>(static_cast<float>(w) * 0.1f);
  const int dy = static_cast<int>(static_cast<float>(dh) * 0.1f);
  m_rcDropdownText = {m_rcDropdown.left + dx, m_rcDropdown.top + dy, m_rcDropdown.right - dx,
                      m_rcDropdown.bottom - dy};
  m_ScrollBar.SetLocation(m_rcDropdown.right, m_rcDropdown.top + 2);
  m_ScrollBar.SetSize(m_nSBWidth, m_rcDropdown.Height() - 2);
  if (m_pDialog != nullptr) {
    if (CDXUTElement* element = GetElement(2)) {
      plat::Font* font = m_pDialog->GetFont(element->iFont);
      if (font != nullptr && font->Height() != 0) {
        m_ScrollBar.SetPageSize(m_rcDropdownText.Height() / font->Height());
        m_ScrollBar.ShowItem(m_iSelected);
      }
    }
  }
}

HRESULT CDXUTComboBox::AddItem(const wchar_t* text, void* data) {
  if (text == nullptr) return E_INVALIDARG;
  auto item = std::unique_ptr<DXUTComboBoxItem>(new (std::nothrow) DXUTComboBoxItem);
  if (!item) return E_OUTOFMEMORY;
  try {
    item->strText = text;
    item->pData = data;
    m_Items.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    return S_OK;  // the item is dropped
  }
  m_ScrollBar.SetTrackRange(0, GetNumItems());
  if (GetNumItems() == 1) {
    m_iSelected = m_iFocused = 0;
    if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_COMBOBOX_SELECTION_CHANGED, false, this);
  }
  return S_OK;
}

void CDXUTComboBox::RemoveAllItems() {
  m_Items.clear();
  m_ScrollBar.SetTrackRange(0, 1);
  m_iSelected = m_iFocused = -1;
}

int CDXUTComboBox::FindItem(const wchar_t* text, int start) const {
  if (text == nullptr || start < 0 || start >= GetNumItems()) return -1;
  for (int i = start; i < GetNumItems(); ++i) {
    if (m_Items[static_cast<std::size_t>(i)]->strText == text) return i;
  }
  return -1;
}

DXUTComboBoxItem* CDXUTComboBox::GetSelectedItem() const { return m_iSelected < 0 ? nullptr : GetItem(m_iSelected); }

void* CDXUTComboBox::GetSelectedData() const {
  const DXUTComboBoxItem* item = GetSelectedItem();
  return item != nullptr ? item->pData : nullptr;
}

HRESULT CDXUTComboBox::SetSelectedByIndex(int index) {
  if (static_cast<unsigned>(index) >= static_cast<unsigned>(GetNumItems())) return E_INVALIDARG;
  m_iSelected = m_iFocused = index;
  if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_COMBOBOX_SELECTION_CHANGED, false, this);
  return S_OK;
}

HRESULT CDXUTComboBox::SetSelectedByData(void* data) {
  for (int i = 0; i < GetNumItems(); ++i) {
    if (m_Items[static_cast<std::size_t>(i)]->pData == data) {
      m_iSelected = m_iFocused = i;
      if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_COMBOBOX_SELECTION_CHANGED, false, this);
      return S_OK;
    }
  }
  return E_FAIL;
}

void CDXUTComboBox::OnFocusOut() {
  CDXUTButton::OnFocusOut();
  m_bOpened = false;
}

void CDXUTComboBox::OnHotkey() {
  if (m_bOpened || m_iSelected == -1) return;
  ++m_iSelected;
  if (m_iSelected >= GetNumItems()) m_iSelected = 0;
  m_iFocused = m_iSelected;
  SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
}

void CDXUTComboBox::SelectFromInput(int index) {
  m_iFocused = m_iSelected = index;
  SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
}

void CDXUTComboBox::CloseAndMaybeClearFocus() {
  m_bOpened = false;
  if (m_pDialog != nullptr && !m_pDialog->GetKeyboardInput()) CDXUTDialog::ClearFocus();
}

bool CDXUTComboBox::HandleKeyboard(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible) return false;
  if (message.msg != plat::kWmKeyDown) return false;
  switch (message.wParam) {
    case plat::kVkReturn:
      if (!m_bOpened) return false;
      if (m_iSelected != m_iFocused) SelectFromInput(m_iFocused);
      CloseAndMaybeClearFocus();
      return true;
    case plat::kVkF4:
      if (message.lParam & plat::kKeyRepeatBit) return true;
      m_bOpened = !m_bOpened;
      if (!m_bOpened) {
        SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
        if (m_pDialog != nullptr && !m_pDialog->GetKeyboardInput()) CDXUTDialog::ClearFocus();
      }
      return true;
    case plat::kVkLeft:
    case plat::kVkUp:
      if (m_iFocused > 0) {
        m_iFocused = m_iSelected = m_iFocused - 1;
        if (!m_bOpened) SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
      }
      return true;
    case plat::kVkRight:
    case plat::kVkDown:
      if (m_iFocused + 1 < GetNumItems()) {
        m_iFocused = m_iSelected = m_iFocused + 1;
        if (!m_bOpened) SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
      }
      return true;
    default:
      return false;
  }
}

bool CDXUTComboBox::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bEnabled || !m_bVisible) return false;
  if (m_bOpened && m_ScrollBar.HandleMouse(message, pt)) return true;
  auto inRect = [&pt](const plat::RectI& r) {
    return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
  };
  switch (message.msg) {
    case plat::kWmMouseMove: {
      if (!m_bOpened || !inRect(m_rcDropdown)) return false;
      for (int i = 0; i < GetNumItems(); ++i) {
        const DXUTComboBoxItem& item = *m_Items[static_cast<std::size_t>(i)];
        if (item.bVisible && inRect(item.rcActive)) m_iFocused = i;
      }
      return true;
    }
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk: {
      if (ContainsPoint(pt)) {
        m_bPressed = true;
        plat::GetInputState().SetCapture(true);
        if (!m_bHasFocus) {
          CDXUTDialog::RequestFocus(this);
          if (!m_bHasFocus) return true;
        }
        m_bOpened = !m_bOpened;
        UpdateRects();
        if (!m_bOpened && m_pDialog != nullptr && !m_pDialog->GetKeyboardInput()) CDXUTDialog::ClearFocus();
        return true;
      }
      if (m_bOpened && inRect(m_rcDropdown)) {
        for (int i = m_ScrollBar.GetTrackPos(); i < GetNumItems(); ++i) {
          const DXUTComboBoxItem& item = *m_Items[static_cast<std::size_t>(i)];
          if (item.bVisible && inRect(item.rcActive)) {
            SelectFromInput(i);
            if (m_pDialog != nullptr && !m_pDialog->GetKeyboardInput()) CDXUTDialog::ClearFocus();
            break;
          }
        }
        m_bOpened = false;
        return true;
      }
      if (m_bOpened) {
        m_iFocused = m_iSelected;
        SendUserEvent(EVENT_COMBOBOX_SELECTION_CHANGED);
        m_bOpened = false;
      }
      m_bPressed = false;
      if (m_pDialog != nullptr && !m_pDialog->GetKeyboardInput()) CDXUTDialog::ClearFocus();
      return false;
    }
    case plat::kWmLButtonUp:
      // The press ends wherever the button comes up, so the capture never
      // outlives it; only a release on the box is consumed.
      if (!m_bPressed) return false;
      m_bPressed = false;
      plat::GetInputState().SetCapture(false);
      return ContainsPoint(pt);
    case plat::kWmMouseWheel: {
      const int n = plat::WheelDelta(message.wParam) / 120;
      if (m_bOpened) {
        m_ScrollBar.Scroll(-n * kWheelScrollLines);
      } else if (n >= 1) {
        if (m_iFocused >= 1) SelectFromInput(m_iFocused - 1);
      } else if (m_iFocused + 1 < GetNumItems()) {
        SelectFromInput(m_iFocused + 1);
      }
      return true;
    }
    default:
      return false;
  }
}

void CDXUTComboBox::Render(float elapsed) {
  if (m_pDialog == nullptr) return;
  const unsigned dropState = m_bOpened ? DXUT_STATE_NORMAL : DXUT_STATE_HIDDEN;
  if (!m_bRendered) {
    m_bRendered = true;
    if (CDXUTElement* element = GetElement(4)) {
      if (plat::Font* font = m_pDialog->GetFont(element->iFont)) {
        const int height = m_rcDropdownText.Height();
        m_ScrollBar.SetPageSize(font->Height() != 0 ? height / font->Height() : height);
      }
    }
  }

  if (m_bOpened) {
    m_ScrollBar.Render(elapsed);
    const plat::RectI& d = m_rcDropdown;
    const int xs[4] = {d.left, d.left + 25, d.right - 25, d.right};
    const int ys[4] = {d.top, d.top + 25, d.bottom - 25, d.bottom};
    for (unsigned cell = 0; cell < 9; ++cell) {
      CDXUTElement* element = GetElement(4 + cell);
      if (element == nullptr) continue;
      element->TextureColor.Blend(dropState, elapsed, 0.8f);
      const unsigned cx = cell % 3, cy = cell / 3;
      m_pDialog->DrawSprite(element, {xs[cx], ys[cy], xs[cx + 1], ys[cy + 1]}, 0.2f);
    }
    CDXUTElement* focusElement = GetElement(3);
    CDXUTElement* itemElement = GetElement(12);
    if (focusElement != nullptr && itemElement != nullptr) {
      focusElement->FontColor.Current = ColorFromArgb(focusElement->FontColor.States[DXUT_STATE_NORMAL]);
      itemElement->FontColor.Current = ColorFromArgb(itemElement->FontColor.States[DXUT_STATE_NORMAL]);
      plat::Font* font = m_pDialog->GetFont(itemElement->iFont);
      const int f = font != nullptr ? font->Height() : 0;
      const plat::RectI& t = m_rcDropdownText;
      int remaining = t.Height();
      int top = t.top;
      // Rows scrolled off the top were not drawn this time either.
      for (int i = 0; i < GetNumItems() && i < m_ScrollBar.GetTrackPos(); ++i) m_Items[static_cast<std::size_t>(i)]->bVisible = false;
      for (int i = std::max(0, m_ScrollBar.GetTrackPos()); i < GetNumItems(); ++i) {
        DXUTComboBoxItem& item = *m_Items[static_cast<std::size_t>(i)];
        remaining -= f;
        if (remaining < 0) {
          item.bVisible = false;
          continue;
        }
        item.rcActive = {t.left, top, t.right, top + f};
        top += f;
        item.bVisible = true;
        // The item formats draw without clipping: long texts are cut at
        // the list's text area here.
        m_pDialog->SetClipRect(&item.rcActive);
        if (i == m_iFocused) {
          m_pDialog->DrawSprite(focusElement, {d.left, item.rcActive.top - 2, d.right, item.rcActive.bottom + 2}, 0.2f);
          m_pDialog->DrawText(item.strText.c_str(), focusElement, item.rcActive);
        } else {
          m_pDialog->DrawText(item.strText.c_str(), itemElement, item.rcActive);
        }
        m_pDialog->SetClipRect(nullptr);
      }
    }
  }

  unsigned state = VisualState(m_bPressed);
  if (m_bOpened) state = DXUT_STATE_PRESSED;
  const float rate = 0.8f;
  const int x = m_x, y = m_y, h = m_rcText.Height();
  int cap = h, m = m_width - 2 * h;
  // A box no wider than its two caps: two half-width caps.
  if (m <= 0) {
    cap = m_width / 2;
    m = 0;
  }
  auto draw = [&](unsigned index, const plat::RectI& rect, bool font) {
    CDXUTElement* element = GetElement(index);
    if (element == nullptr) return element;
    element->TextureColor.Blend(state, elapsed, rate);
    if (font) element->FontColor.Blend(state, elapsed, rate);
    m_pDialog->DrawSprite(element, rect, 0.2f);
    return element;
  };
  draw(0, {x, y, x + cap, y + h}, false);
  if (m > 0) draw(2, {x + cap, y, x + cap + m, y + h}, false);
  CDXUTElement* textElement = draw(1, {x + cap + m, y, x + 2 * cap + m, y + h}, true);
  if (textElement != nullptr && m_iSelected >= 0 && m_iSelected < GetNumItems()) {
    m_pDialog->DrawText(m_Items[static_cast<std::size_t>(m_iSelected)]->strText.c_str(), textElement, m_rcText);
  }
}
