#include "gui/dxut_listbox.h"

#include <algorithm>
#include <new>

#include "gui/gui_helpers.h"
#include "gui/hint_text.h"
#include "gui/dxut_dialog.h"
#include "platform/input_state.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L';' || c == L'|'; }

}  // namespace

CDXUTListBox::CDXUTListBox(CDXUTDialog* dialog) : CDXUTControl(dialog), m_ScrollBar(dialog) {
  m_Type = DXUT_CONTROL_LISTBOX;
}

CDXUTListBox::~CDXUTListBox() { RemoveAllItems(); }

HRESULT CDXUTListBox::OnInit() { return m_pDialog != nullptr ? m_pDialog->InitControl(&m_ScrollBar) : S_OK; }

void CDXUTListBox::SplitCells(std::wstring_view text, std::vector<std::wstring_view>& cells) {
  cells.clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos == text.size()) break;
    std::size_t end = pos;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    cells.push_back(text.substr(pos, end - pos));
    pos = end;
  }
}

void CDXUTListBox::UpdateRects() {
  CDXUTControl::UpdateRects();
  m_rcSelection = m_rcBoundingBox;
  m_rcSelection.right -= m_nSBWidth;
  m_rcSelection.left += m_nBorder;
  m_rcSelection.top += m_nBorder;
  m_rcSelection.right -= m_nBorder;
  m_rcSelection.bottom -= m_nBorder;
  int h = 0;
  if (m_pDialog != nullptr) {
    if (CDXUTElement* element = GetElement(0)) {
      if (plat::Font* font = m_pDialog->GetFont(element->iFont)) h = font->Height();
    }
  }
  m_rcHeader = m_rcSelection;
  m_rcHeader.bottom = m_rcHeader.top + h;
  m_rcText = {m_rcSelection.left + m_nMargin, m_rcSelection.top + h, m_rcSelection.right - m_nMargin,
              m_rcSelection.bottom};
  m_ScrollBar.SetLocation(m_rcBoundingBox.right - m_nSBWidth, m_rcBoundingBox.top);
  m_ScrollBar.SetSize(m_nSBWidth, m_height);
  if (h != 0) {
    m_ScrollBar.SetPageSize(m_rcText.Height() / h);
    m_ScrollBar.ShowItem(m_nSelected);
  }
}

HRESULT CDXUTListBox::AddItem(const wchar_t* text, void* data) {
  auto item = std::unique_ptr<DXUTListBoxItem>(new (std::nothrow) DXUTListBoxItem);
  if (!item) return E_OUTOFMEMORY;
  try {
    if (text != nullptr) item->strText = text;
    item->pData = data;
    m_Items.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  m_ScrollBar.SetTrackRange(0, GetSize());
  return S_OK;
}

DXUTListBoxItem* CDXUTListBox::GetItem(int index) const {
  if (index < 0 || index >= GetSize()) return nullptr;
  return m_Items[static_cast<std::size_t>(index)].get();
}

void CDXUTListBox::SendSelection(bool sound) {
  if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_LISTBOX_SELECTION, true, this, sound);
}

void CDXUTListBox::SelectItem(int index, bool sendEvent) {
  if (m_Items.empty()) return;
  index = std::clamp(index, 0, GetSize() - 1);
  if (index != m_nSelected) {
    m_nSelected = index;
    if (m_dwStyle & MULTISELECTION) SetRowFlag(m_nSelected, true);
    m_nSelStart = m_nSelected;
    m_ScrollBar.ShowItem(m_nSelected);
  }
  if (sendEvent) SendSelection(true);
}

int CDXUTListBox::GetSelectedIndex(int previous) const {
  if (previous < -1) return -1;
  if (!(m_dwStyle & MULTISELECTION)) return m_nSelected;
  for (int i = previous + 1; i < GetSize(); ++i) {
    if (m_Items[static_cast<std::size_t>(i)]->bSelected) return i;
  }
  return -1;
}

void* CDXUTListBox::GetSelectedData() const {
  const DXUTListBoxItem* item = GetItem(GetSelectedIndex(-1));
  return item != nullptr ? item->pData : nullptr;
}

void CDXUTListBox::RemoveAllItems() {
  m_Items.clear();
  m_ScrollBar.SetTrackRange(0, 1);
  m_nSelected = -1;
}

void CDXUTListBox::SetColumnsList(int count, const wchar_t* captions, std::initializer_list<int> percents) {
  m_Columns.clear();
  if (count <= 0) return;
  std::vector<std::wstring_view> tokens;
  if (captions != nullptr) SplitCells(captions, tokens);
  const int textWidth = m_rcText.right - m_rcText.left;
  const int* percent = percents.begin();
  for (int i = 0; i < count; ++i) {
    DXUTListBoxColumn column;
    if (static_cast<std::size_t>(i) < tokens.size()) column.strCaption = tokens[static_cast<std::size_t>(i)];
    const int p = static_cast<std::size_t>(i) < percents.size() ? percent[i] : 0;
    column.nWidth = static_cast<int>(textWidth * (p / 100.0));
    m_Columns.push_back(std::move(column));
  }
}

void CDXUTListBox::SetColumnHeaders(const wchar_t* hints) {
  if (hints == nullptr) return;
  std::vector<std::wstring_view> tokens;
  SplitCells(hints, tokens);
  for (std::size_t i = 0; i < m_Columns.size(); ++i) {
    m_Columns[i].strHint = i < tokens.size() ? std::wstring(tokens[i]) : std::wstring();
  }
}

int CDXUTListBox::RowAt(int y) const {
  if (m_nTextHeight == 0) return -1;
  return m_ScrollBar.GetTrackPos() + (y - m_rcText.top) / m_nTextHeight;
}

void CDXUTListBox::OnMouseLeave() {
  m_bMouseOver = false;
  m_nHoveredRow = -1;
  m_nHoveredColumn = -1;
}

bool CDXUTListBox::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bEnabled || !m_bVisible) return false;
  if (message.msg == plat::kWmLButtonDown && !m_bHasFocus) CDXUTDialog::RequestFocus(this);
  if (m_ScrollBar.HandleMouse(message, pt)) return true;
  const bool multi = (m_dwStyle & MULTISELECTION) != 0;
  const int position = m_ScrollBar.GetTrackPos();
  const int page = m_ScrollBar.GetPageSize();
  switch (message.msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk: {
      if (m_Items.empty() || !InRect(m_rcSelection, pt)) return false;
      const int row = RowAt(pt.y);
      if (row < position || row >= GetSize() || row >= position + page) return true;
      plat::GetInputState().SetCapture(true);
      m_bDrag = true;
      if (message.msg == plat::kWmLButtonDblClk) {
        if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_LISTBOX_ITEM_DBLCLK, true, this);
        return true;
      }
      m_nSelected = row;
      const bool shift = (message.wParam & plat::kMkShift) != 0;
      const bool ctrl = (message.wParam & plat::kMkControl) != 0;
      if (!shift) m_nSelStart = row;
      if (multi) {
        if (ctrl && !shift) {
          SetRowFlag(row, !RowFlag(row));
        } else if (shift && !ctrl) {
          const int begin = std::min(m_nSelStart, row), end = std::max(m_nSelStart, row);
          for (int i = 0; i < GetSize(); ++i) SetRowFlag(i, i >= begin && i <= end);
        } else if (shift && ctrl) {
          const int begin = std::min(m_nSelStart, row), end = std::max(m_nSelStart, row);
          const bool flag = RowFlag(m_nSelStart);
          for (int i = begin + 1; i < end; ++i) SetRowFlag(i, flag);
          SetRowFlag(row, true);
          m_nSelected = m_nSelStart;
        } else {
          for (int i = 0; i < GetSize(); ++i) SetRowFlag(i, false);
          SetRowFlag(row, true);
        }
      }
      SendSelection(true);
      return true;
    }
    case plat::kWmLButtonUp: {
      plat::GetInputState().SetCapture(false);
      m_bDrag = false;
      if (m_nSelected != -1) {
        const bool flag = RowFlag(m_nSelStart);
        const int begin = std::min(m_nSelStart, m_nSelected), end = std::max(m_nSelStart, m_nSelected);
        for (int i = begin + 1; i < end; ++i) SetRowFlag(i, flag);
        SetRowFlag(m_nSelected, flag);
        if (m_nSelStart != m_nSelected) SendSelection(false);
      }
      return false;
    }
    case plat::kWmMouseMove: {
      if (m_bDrag) {
        const int row = RowAt(pt.y);
        const int last = std::min(GetSize(), position + page);
        if (row == -1 && m_nTextHeight == 0) return false;
        if (row >= position && row < last) {
          m_nSelected = row;
          SendSelection(false);
        } else if (row < position) {
          m_ScrollBar.Scroll(-1);
          m_nSelected = m_ScrollBar.GetTrackPos();
          SendSelection(false);
        } else if (row >= position + page) {
          m_ScrollBar.Scroll(1);
          m_nSelected = std::min(GetSize(), m_ScrollBar.GetTrackPos() + page) - 1;
          SendSelection(false);
        }
        return false;
      }
      if (!InRect(m_rcBoundingBox, pt)) {
        m_nHoveredRow = -1;
        m_nHoveredColumn = -1;
        return false;
      }
      m_nHoveredRow = RowAt(pt.y);
      int x = pt.x - m_rcText.left;
      int column = 0;
      for (const DXUTListBoxColumn& c : m_Columns) {
        if (x <= c.nWidth) break;
        x -= c.nWidth;
        ++column;
      }
      if (column == m_nHoveredColumn) return false;
      if (column >= static_cast<int>(m_Columns.size())) {
        m_nHoveredColumn = -1;
        return false;
      }
      m_nHoveredColumn = column;
      SetHint(m_Columns[static_cast<std::size_t>(column)].strHint.c_str());
      g_HintText.SetControl(this, true);
      return false;
    }
    case plat::kWmMouseWheel:
      m_ScrollBar.Scroll(-(plat::WheelDelta(message.wParam) / 120) * kWheelScrollLines);
      return true;
    default:
      return false;
  }
}

bool CDXUTListBox::HandleKeyboard(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible) return false;
  if (message.msg != plat::kWmKeyDown) return false;
  const int page = m_ScrollBar.GetPageSize();
  int next = 0;
  switch (message.wParam) {
    case plat::kVkUp: next = m_nSelected - 1; break;
    case plat::kVkDown: next = m_nSelected + 1; break;
    case plat::kVkNext: next = m_nSelected + page - 1; break;
    case plat::kVkPrior: next = m_nSelected - page + 1; break;
    case plat::kVkHome: next = 0; break;
    case plat::kVkEnd: next = GetSize() - 1; break;
    default: return false;
  }
  if (m_Items.empty()) return true;
  next = std::clamp(next, 0, GetSize() - 1);
  if (next == m_nSelected) return true;
  m_nSelected = next;
  if (m_dwStyle & MULTISELECTION) {
    for (auto& item : m_Items) item->bSelected = false;
    if (plat::GetInputState().IsKeyDown(plat::kVkShift)) {
      const int begin = std::max(0, std::min(m_nSelStart, m_nSelected));
      const int end = std::min(GetSize() - 1, std::max(m_nSelStart, m_nSelected));
      for (int i = begin; i <= end; ++i) SetRowFlag(i, true);
    } else {
      SetRowFlag(m_nSelected, true);
      m_nSelStart = m_nSelected;
    }
  } else {
    m_nSelStart = m_nSelected;
  }
  m_ScrollBar.ShowItem(m_nSelected);
  SendSelection(true);
  return true;
}

bool CDXUTListBox::IsHighlighted(int index) const {
  if (!(m_dwStyle & MULTISELECTION)) return index == m_nSelected;
  if (m_bDrag && ((m_nSelected <= index && index < m_nSelStart) || (m_nSelStart < index && index <= m_nSelected))) {
    return RowFlag(m_nSelStart);
  }
  return RowFlag(index);
}

void CDXUTListBox::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  const unsigned state = DXUT_STATE_NORMAL;
  const float rate = 0.7f;
  for (unsigned index = 0; index < 14; ++index) {
    CDXUTElement* element = GetElement(index);
    if (element == nullptr) continue;
    if (index <= 8 || index >= 12) element->TextureColor.Blend(state, elapsed, rate);
    if (index == 8 || index >= 12) element->FontColor.Blend(state, elapsed, rate);
  }
  const plat::RectI& b = m_rcBoundingBox;
  const int hb = m_rcHeader.bottom;
  const int w = b.Width() - 50;
  {
    const int xs[4] = {b.left, b.left + 25, b.left + 25 + w, b.right};
    const int ys[4] = {b.top, hb, b.bottom - 25, b.bottom};
    for (unsigned cell = 0; cell < 9; ++cell) {
      CDXUTElement* element = GetElement(cell);
      if (element == nullptr) continue;
      const unsigned cx = cell % 3, cy = cell / 3;
      m_pDialog->DrawSprite(element, {xs[cx], ys[cy], xs[cx + 1], ys[cy + 1]}, 0.2f);
    }
  }

  CDXUTElement* headerElement = GetElement(9);
  if (!m_Columns.empty() && headerElement != nullptr) {
    headerElement->dwTextFormat = plat::kTextVCenter;
    headerElement->TextureColor.Blend(state, elapsed, rate);
    headerElement->FontColor.Blend(state, elapsed, rate);
    for (unsigned index : {10u, 11u}) {
      if (CDXUTElement* element = GetElement(index)) element->TextureColor.Blend(state, elapsed, rate);
    }
    int x = m_rcText.left;
    for (std::size_t i = 0; i < m_Columns.size(); ++i) {
      const DXUTListBoxColumn& column = m_Columns[i];
      if (i > 0) {
        m_pDialog->DrawSprite(headerElement, {x - 12, b.top, x + 13, hb}, 0.2f);
        if (CDXUTElement* middle = GetElement(10)) m_pDialog->DrawSprite(middle, {x - 12, hb, x + 13, b.bottom - 25}, 0.2f);
        if (CDXUTElement* bottom = GetElement(11)) m_pDialog->DrawSprite(bottom, {x - 12, b.bottom - 25, x + 13, b.bottom}, 0.2f);
      }
      m_pDialog->DrawText(column.strCaption.c_str(), headerElement, {x, b.top, x + column.nWidth, hb});
      if (static_cast<int>(i) == m_nHoveredColumn) {
        if (CDXUTElement* hover = GetElement(13)) m_pDialog->DrawSprite(hover, {x, b.top, x + column.nWidth, b.bottom}, 0.2f);
      }
      x += column.nWidth;
      headerElement->dwTextFormat = plat::kTextCenter | plat::kTextVCenter;
    }
  }

  CDXUTElement* rowElement = GetElement(m_Columns.empty() ? 8 : 9);
  CDXUTElement* selectedElement = GetElement(12);
  if (!m_Items.empty() && rowElement != nullptr && selectedElement != nullptr) {
    plat::Font* font = m_pDialog->GetFont(rowElement->iFont);
    m_nTextHeight = font != nullptr ? font->Height() : 0;
    plat::RectI row = m_rcText;
    row.bottom = row.top + m_nTextHeight;
    for (int i = std::max(0, m_ScrollBar.GetTrackPos()); i < GetSize() && m_nTextHeight > 0; ++i) {
      if (row.bottom > m_rcText.bottom) break;
      const DXUTListBoxItem& item = *m_Items[static_cast<std::size_t>(i)];
      const plat::RectI band{m_rcSelection.left, row.top, m_rcSelection.right, row.bottom};
      if (i == m_nHoveredRow) m_pDialog->DrawSprite(selectedElement, band, 0.2f);
      CDXUTElement* element = rowElement;
      if (IsHighlighted(i)) {
        m_pDialog->DrawSprite(selectedElement, band, 0.2f);
        element = selectedElement;
      }
      if (m_Columns.size() > 1) {
        SplitCells(item.strText, m_Cells);
        int x = m_rcText.left;
        const std::size_t cells = std::min(m_Cells.size(), m_Columns.size());
        for (std::size_t c = 0; c < cells; ++c) {
          const int width = m_Columns[c].nWidth;
          element->dwTextFormat = c == 0 ? plat::kTextVCenter : (plat::kTextCenter | plat::kTextVCenter);
          m_CellText.assign(m_Cells[c]);
          m_pDialog->DrawText(m_CellText.c_str(), element, {x, row.top, x + width, row.bottom});
          x += width;
        }
      } else {
        element->dwTextFormat = plat::kTextVCenter;
        m_pDialog->DrawText(item.strText.c_str(), element, row);
      }
      row.top += m_nTextHeight;
      row.bottom += m_nTextHeight;
    }
  }
  m_ScrollBar.Render(elapsed);
}
