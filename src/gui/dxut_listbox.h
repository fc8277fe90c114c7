// The scrolling list most dialogs use for their tables: one wide string per
// row, optional columns with captions in a header band, widths fixed from
// percentages of the text width and hints shown over a column; with more
// than one column a row is cut into cells at ';' and '|'. Single or
// multiple selection; EVENT_LISTBOX_SELECTION and EVENT_LISTBOX_ITEM_DBLCLK
// go to the dialog's callback.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/dxut_scrollbar.h"

struct DXUTListBoxItem {
  std::wstring strText;  // whole; cut only where drawn
  void* pData = nullptr;  // the caller's
  plat::RectI rcActive;   // unused
  bool bSelected = false;
};

struct DXUTListBoxColumn {
  int nWidth = 0;  // pixels
  std::wstring strCaption;
  std::wstring strHint;
};

enum : std::uint32_t { MULTISELECTION = 1 };

class CDXUTListBox : public CDXUTControl {
 public:
  explicit CDXUTListBox(CDXUTDialog* dialog = nullptr);
  ~CDXUTListBox() override;

  HRESULT OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void OnMouseLeave() override;
  void UpdateRects() override;

  HRESULT AddItem(const wchar_t* text, void* data);
  DXUTListBoxItem* GetItem(int index) const;
  int GetSize() const { return static_cast<int>(m_Items.size()); }
  void SelectItem(int index, bool sendEvent);
  int GetSelectedIndex(int previous = -1) const;
  DXUTListBoxItem* GetSelectedItem(int previous = -1) const { return GetItem(GetSelectedIndex(previous)); }
  void* GetSelectedData() const;
  void RemoveAllItems();

  // Columns: the captions cut at ';' or '|', then one width percentage per
  // column. Missing captions are empty; missing widths are 0.
  template <typename... Percent>
  void SetColumns(int count, const wchar_t* captions, Percent... percents) {
    SetColumnsList(count, captions, {static_cast<int>(percents)...});
  }
  void SetColumnsList(int count, const wchar_t* captions, std::initializer_list<int> percents);
  // One hint per existing column, cut like the captions; missing ones are empty.
  void SetColumnHeaders(const wchar_t* hints);
  const std::vector<DXUTListBoxColumn>& GetColumns() const { return m_Columns; }

  std::uint32_t GetStyle() const { return m_dwStyle; }
  void SetStyle(std::uint32_t style) { m_dwStyle = style; }
  CDXUTScrollBar& GetScrollBar() { return m_ScrollBar; }

  // The row under a dialog y; -1 before the first render with items.
  int RowAt(int y) const;
  // The non-empty pieces of text between ';' and '|' (pieces are views of text).
  static void SplitCells(std::wstring_view text, std::vector<std::wstring_view>& cells);

  static constexpr int kWheelScrollLines = 3;

 protected:
  bool RowFlag(int index) const { return index >= 0 && index < GetSize() && m_Items[static_cast<std::size_t>(index)]->bSelected; }
  void SetRowFlag(int index, bool flag) {
    if (index >= 0 && index < GetSize()) m_Items[static_cast<std::size_t>(index)]->bSelected = flag;
  }
  void SendSelection(bool sound);
  bool IsHighlighted(int index) const;

  plat::RectI m_rcHeader, m_rcText, m_rcSelection;
  int m_nHoveredColumn = -1, m_nHoveredRow = -1;
  CDXUTScrollBar m_ScrollBar;
  int m_nSBWidth = 16, m_nBorder = 6, m_nMargin = 5;
  int m_nTextHeight = 0;
  std::uint32_t m_dwStyle = 0;
  int m_nSelected = -1;
  int m_nSelStart = 0;
  bool m_bDrag = false;
  std::vector<DXUTListBoxColumn> m_Columns;
  std::vector<std::unique_ptr<DXUTListBoxItem>> m_Items;
  std::vector<std::wstring_view> m_Cells;  // scratch of Render
  std::wstring m_CellText;                 // scratch of Render
};
