// A text label.
#pragma once

#include <string>

#include "gui/dxut_control.h"

class CDXUTStatic : public CDXUTControl {
 public:
  explicit CDXUTStatic(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  // Only while enabled: a disabled label lets clicks through.
  bool ContainsPoint(POINT pt) override;

  // Kept whole, however long (a long label wraps where its format says);
  // null empties it.
  HRESULT SetText(const wchar_t* text);
  const wchar_t* GetText() const { return m_strText.c_str(); }
  void SetTextFormat(unsigned format) { m_dwTextFormat = format; }

 protected:
  std::wstring m_strText;
  unsigned m_dwTextFormat = 0x104;  // DT_VCENTER | DT_NOCLIP
};
