// The toolkit dialog that game dialogs and menus embed. The controls,
// drawing and message handling come with the GUI toolkit; what exists here is
// what the application services call already: visibility and the end of a
// panel drag.
#pragma once

class CDXUTControl;

class CDXUTDialog {
 public:
  CDXUTDialog() = default;
  virtual ~CDXUTDialog() = default;

  void SetVisible(bool visible) { visible_ = visible; }
  bool GetVisible() const { return visible_; }

  // Ends any panel drag in progress (the dragged dialog is shared by all).
  static void ResetDrag();
  // The dialog being dragged, or null.
  static CDXUTDialog* DraggedDialog();
  static void BeginDrag(CDXUTDialog* dialog);

 private:
  bool visible_ = true;
};
