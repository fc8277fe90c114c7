// The toolkit dialog that game dialogs and menus embed. The controls,
// drawing and message handling come with the GUI toolkit; what exists here is
// what the application services call already: visibility, the end of a
// panel drag, the GUI-event callback, the list of controls with their ids,
// places and hint texts, and the offer of a window message.
#pragma once

#include <memory>
#include <vector>

#include "platform/messages.h"

class CDXUTDialog;
class CDXUTControl;

// Receives the events the controls of a dialog raise (button clicked, ...).
using PCALLBACKDXUTGUIEVENT = void (*)(unsigned event, int controlId, CDXUTControl* control);

class CDXUTControl {
 public:
  explicit CDXUTControl(int id = 0) : id_(id) {}
  virtual ~CDXUTControl() = default;
  CDXUTControl(const CDXUTControl&) = delete;
  CDXUTControl& operator=(const CDXUTControl&) = delete;

  int GetID() const { return id_; }
  CDXUTDialog* GetDialog() const { return dialog_; }

  void SetLocation(int x, int y) { x_ = x; y_ = y; }
  void SetSize(int width, int height) { width_ = width; height_ = height; }
  int GetX() const { return x_; }
  int GetY() const { return y_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }

  // The text the hint display shows while the mouse rests on the control;
  // the caller keeps it alive. Null: no hint.
  void SetHint(const wchar_t* hint) { hint_ = hint; }
  const wchar_t* GetHint() const { return hint_; }

  // Offers a window message to the control; true when it consumed it.
  virtual bool MsgProc(const plat::Message& message);

 private:
  friend class CDXUTDialog;
  int id_;
  CDXUTDialog* dialog_ = nullptr;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  const wchar_t* hint_ = nullptr;
};

class CDXUTDialog {
 public:
  CDXUTDialog() = default;
  virtual ~CDXUTDialog();
  CDXUTDialog(const CDXUTDialog&) = delete;
  CDXUTDialog& operator=(const CDXUTDialog&) = delete;

  void SetVisible(bool visible) { visible_ = visible; }
  bool GetVisible() const { return visible_; }

  void SetCallback(PCALLBACKDXUTGUIEVENT callback) { callback_ = callback; }
  PCALLBACKDXUTGUIEVENT GetCallback() const { return callback_; }

  // Takes ownership of control; returns it.
  CDXUTControl* AddControl(std::unique_ptr<CDXUTControl> control);
  // The first control with this id, or null.
  CDXUTControl* GetControl(int id) const;
  void RemoveAllControls();

  // Offers a window message to the dialog's controls, the last added first;
  // true when one of them consumed it.
  virtual bool MsgProc(const plat::Message& message);

  // Ends any panel drag in progress (the dragged dialog is shared by all).
  static void ResetDrag();
  // The dialog being dragged, or null.
  static CDXUTDialog* DraggedDialog();
  static void BeginDrag(CDXUTDialog* dialog);

 private:
  bool visible_ = true;
  PCALLBACKDXUTGUIEVENT callback_ = nullptr;
  std::vector<std::unique_ptr<CDXUTControl>> controls_;
};
