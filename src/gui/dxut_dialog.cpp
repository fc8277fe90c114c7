#include "gui/dxut_dialog.h"

namespace {
CDXUTDialog* g_pDraggedDialog = nullptr;
}

bool CDXUTControl::MsgProc(const plat::Message&) { return false; }

CDXUTDialog::~CDXUTDialog() {
  if (g_pDraggedDialog == this) g_pDraggedDialog = nullptr;
}

CDXUTControl* CDXUTDialog::AddControl(std::unique_ptr<CDXUTControl> control) {
  if (!control) return nullptr;
  control->dialog_ = this;
  controls_.push_back(std::move(control));
  return controls_.back().get();
}

CDXUTControl* CDXUTDialog::GetControl(int id) const {
  for (const auto& control : controls_) {
    if (control->GetID() == id) return control.get();
  }
  return nullptr;
}

void CDXUTDialog::RemoveAllControls() { controls_.clear(); }

bool CDXUTDialog::MsgProc(const plat::Message& message) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if ((*it)->MsgProc(message)) return true;
  }
  return false;
}

void CDXUTDialog::ResetDrag() { g_pDraggedDialog = nullptr; }
CDXUTDialog* CDXUTDialog::DraggedDialog() { return g_pDraggedDialog; }
void CDXUTDialog::BeginDrag(CDXUTDialog* dialog) { g_pDraggedDialog = dialog; }
