// The drop-down choice: a closed box showing the selected item's text and,
// when opened, a list of the items below it with its own scroll bar.
// Selection changes go to the dialog's callback as
// EVENT_COMBOBOX_SELECTION_CHANGED.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/dxut_button.h"
#include "gui/dxut_scrollbar.h"

struct DXUTComboBoxItem {
  std::wstring strText;  // whole; cut only where drawn
  void* pData = nullptr;  // the caller's
  plat::RectI rcActive;   // where the item was last drawn in the open list
  bool bVisible = false;  // the item was drawn in the open list
};

class CDXUTComboBox : public CDXUTButton {
 public:
  explicit CDXUTComboBox(CDXUTDialog* dialog = nullptr);
  ~CDXUTComboBox() override;

  HRESULT OnInit() override;
  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  void OnFocusOut() override;
  void OnHotkey() override;
  void SetTextColor(std::uint32_t color) override;
  void UpdateRects() override;

  HRESULT AddItem(const wchar_t* text, void* data);
  void RemoveAllItems();
  // The first index from start on whose text is exactly text (case counts);
  // -1 for no text, a start outside the items or no such item.
  int FindItem(const wchar_t* text, int start = 0) const;
  bool ContainsItem(const wchar_t* text, int start = 0) const { return FindItem(text, start) != -1; }
  DXUTComboBoxItem* GetSelectedItem() const;
  void* GetSelectedData() const;
  int GetSelectedIndex() const { return m_iSelected; }
  int GetFocusedIndex() const { return m_iFocused; }
  HRESULT SetSelectedByIndex(int index);
  HRESULT SetSelectedByData(void* data);
  int GetNumItems() const { return static_cast<int>(m_Items.size()); }
  DXUTComboBoxItem* GetItem(int index) const {
    return index >= 0 && index < GetNumItems() ? m_Items[static_cast<std::size_t>(index)].get() : nullptr;
  }
  void SetDropHeight(int height) { m_nDropHeight = height; UpdateRects(); }
  bool IsOpened() const { return m_bOpened; }

  // Lines one wheel step scrolls (the window system's default).
  static constexpr int kWheelScrollLines = 3;

 protected:
  void SelectFromInput(int index);
  void CloseAndMaybeClearFocus();

  int m_iSelected = -1;
  int m_iFocused = -1;
  int m_nDropHeight = 100;
  CDXUTScrollBar m_ScrollBar;
  int m_nSBWidth = 25;
  bool m_bOpened = false;
  bool m_bRendered = false;
  plat::RectI m_rcText, m_rcButton, m_rcDropdown, m_rcDropdownText;
  std::vector<std::unique_ptr<DXUTComboBoxItem>> m_Items;
};
