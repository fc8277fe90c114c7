// Structural controls: the nine-piece frame every window stands on, the tab
// frame that shows one tab's controls at a time, and the progress bar.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/dxut_control.h"

// A 3 x 3 grid of cells in the interface sheet.
struct DXUTFrameStyle {
  int x, y, w, h;
};
inline constexpr DXUTFrameStyle kFrameStyles[3] = {{0, 1913, 45, 45}, {1130, 370, 30, 30}, {221, 1895, 10, 10}};

class CDXUTFrame : public CDXUTControl {
 public:
  explicit CDXUTFrame(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  void UpdateRects() override;

  // 0 inner, then top-left, top, top-right, left, right, bottom-left,
  // bottom, bottom-right.
  plat::RectI m_rcPieces[9];
};

struct DXUTTabRecord {
  std::wstring caption;  // at most 255 characters
  int captionWidth = 0;
  unsigned value = 0;
  int firstId = 0;
  int lastId = 0;  // inclusive
};

class CDXUTTabFrame : public CDXUTControl {
 public:
  explicit CDXUTTabFrame(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  void UpdateRects() override;

  HRESULT AddTab(const wchar_t* caption, unsigned value, int firstId, int lastId);
  void SelectTab(int index, bool sendEvent);
  int GetSelectedTab(int previous = -1) const { return previous < -1 ? -1 : m_nSelected; }
  void RemoveAllTabs();
  int GetTabCount() const { return static_cast<int>(m_Tabs.size()); }
  const DXUTTabRecord* GetTab(int index) const;

 private:
  void ShowTabControls(int index, bool visible);

  plat::RectI m_rcHeader;
  int m_nPadding = 5;
  int m_nSelected = -1;
  bool m_bPressed = false;
  std::vector<std::unique_ptr<DXUTTabRecord>> m_Tabs;
};

class CDXUTProgressBar : public CDXUTControl {
 public:
  explicit CDXUTProgressBar(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void UpdateRects() override;

  void SetRange(int minimum, int maximum);
  void SetValue(int value);
  int GetValue() const { return m_nValue; }
  int GetFillWidth() const { return m_nFillWidth; }

 private:
  int m_nValue = 50;
  int m_nMin = 0;
  int m_nMax = 100;
  int m_nFillWidth = 0;
};
