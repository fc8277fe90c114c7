// The check box and the radio button: a box from the interface sheet and a
// text beside it.
#pragma once

#include "gui/dxut_button.h"

class CDXUTCheckBox : public CDXUTButton {
 public:
  explicit CDXUTCheckBox(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  void OnHotkey() override { SetCheckedInternal(!m_bChecked, true, true); }
  bool ContainsPoint(POINT pt) override;
  void UpdateRects() override;

  bool GetChecked() const { return m_bChecked; }
  void SetChecked(bool checked) { SetCheckedInternal(checked, false, true); }
  virtual void SetCheckedInternal(bool checked, bool fromInput, bool sendEvent);

 protected:
  // What a completed click does.
  virtual void OnClick() { SetCheckedInternal(!m_bChecked, true, true); }

  bool m_bChecked = false;
  plat::RectI m_rcButton;
  plat::RectI m_rcText;
};

class CDXUTRadioButton : public CDXUTCheckBox {
 public:
  explicit CDXUTRadioButton(CDXUTDialog* dialog = nullptr);

  void OnHotkey() override { SetCheckedInternal(true, true, true, true); }
  void SetCheckedInternal(bool checked, bool fromInput, bool sendEvent) override {
    SetCheckedInternal(checked, false, fromInput, sendEvent);
  }
  virtual void SetCheckedInternal(bool checked, bool clearGroup, bool fromInput, bool sendEvent);
  void SetChecked(bool checked, bool clearGroup = true) { SetCheckedInternal(checked, clearGroup, false, true); }

  unsigned GetButtonGroup() const { return m_nButtonGroup; }
  void SetButtonGroup(unsigned group) { m_nButtonGroup = group; }

 protected:
  void OnClick() override;

  unsigned m_nButtonGroup = 0;
};
