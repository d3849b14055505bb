// The grid's OLE drop target.
#include "GridDropTarget.h"

#include "GridCtrl.h"

CGridDropTarget::CGridDropTarget() : m_pGridCtrl(nullptr), m_bRegistered(FALSE) {}

CGridDropTarget::~CGridDropTarget() { Revoke(); }

BOOL CGridDropTarget::Register(CGridCtrl* pGridCtrl) {
  if (m_bRegistered) return m_pGridCtrl == pGridCtrl;
  if (!pGridCtrl || !pGridCtrl->GetSafeHwnd()) return FALSE;
  m_pGridCtrl = pGridCtrl;
  m_bRegistered = COleDropTarget::Register(pGridCtrl);
  return m_bRegistered;
}

void CGridDropTarget::Revoke() {
  m_bRegistered = FALSE;
  COleDropTarget::Revoke();
}

BOOL CGridDropTarget::IsOurGrid(CWnd* pWnd) const {
  return m_pGridCtrl && pWnd && pWnd->GetSafeHwnd() && pWnd->GetSafeHwnd() == m_pGridCtrl->GetSafeHwnd();
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!IsOurGrid(pWnd)) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!IsOurGrid(pWnd)) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragOver(pDataObject, dwKeyState, point);
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd) {
  if (IsOurGrid(pWnd)) m_pGridCtrl->OnDragLeave();
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
  if (!IsOurGrid(pWnd)) return FALSE;
  return m_pGridCtrl->OnDrop(pDataObject, dropEffect, point);
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
  (void)dwKeyState, (void)point;
  // The grid scrolls itself while the drag is over it; nothing to do here.
  return IsOurGrid(pWnd) ? DROPEFFECT_NONE : DROPEFFECT_NONE;
}
