#include "gui/dxut_dialog.h"

namespace {
CDXUTDialog* g_pDraggedDialog = nullptr;
}

void CDXUTDialog::ResetDrag() { g_pDraggedDialog = nullptr; }
CDXUTDialog* CDXUTDialog::DraggedDialog() { return g_pDraggedDialog; }
void CDXUTDialog::BeginDrag(CDXUTDialog* dialog) { g_pDraggedDialog = dialog; }
