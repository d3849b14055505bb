// CGridDropTarget: the OLE drop target of a grid. It passes drag-enter,
// drag-over, drag-leave and drop on to the grid's drag operations when the
// window under the drag is that grid, and refuses everything else.
#pragma once

#include "afxole.h"

class CGridCtrl;

class AFX_EXT_CLASS CGridDropTarget : public COleDropTarget {
 public:
  CGridDropTarget();
  ~CGridDropTarget() override;

  BOOL Register(CGridCtrl* pGridCtrl);
  void Revoke() override;
  BOOL IsRegistered() const { return m_bRegistered; }

  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  void OnDragLeave(CWnd* pWnd) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
  DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

  CGridCtrl* m_pGridCtrl;
  BOOL m_bRegistered;

 private:
  BOOL IsOurGrid(CWnd* pWnd) const;
};
