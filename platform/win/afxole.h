// OLE drag and drop in the class library's terms: data offered by a drag
// source (COleDataSource), the same data seen by a drop target
// (COleDataObject), the drop targets windows register (COleDropTarget), and
// the drag loop (COleDataSource::DoDragDrop).
//
// The drag loop takes the scripted user's next lines while the left button
// is held: "@mouse ID move x,y [CTRL]" drags over the window at that point
// (drag-enter, drag-over, drag-leave of the registered targets, innermost
// first), "@mouse ID lup x,y" drops there, "^C" or "@key ESC" cancels; any
// other window line is carried out on the dialog as usual. The end of the
// script cancels. Control held means copy, otherwise move, where the target
// offers both.
#pragma once

#include <map>

#include "afxwin.h"

typedef DWORD DROPEFFECT;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000u

typedef WORD CLIPFORMAT;
typedef LONG SCODE;
#define DRAGDROP_S_DROP 0x00040100L
#define DRAGDROP_S_CANCEL 0x00040101L
#define DRAGDROP_S_USEDEFAULTCURSORS 0x00040102L

class COleDataSource;

// The data of a drag as a drop target sees it.
class COleDataObject {
 public:
  COleDataObject() = default;
  COleDataObject(const COleDataObject&) = delete;
  COleDataObject& operator=(const COleDataObject&) = delete;
  void Attach(COleDataSource* pSource) { m_pSource = pSource; }
  void Release() { m_pSource = nullptr; }
  BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
  // A copy of the data in a new global block (the caller frees it), or null.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;

 private:
  COleDataSource* m_pSource = nullptr;
};

// What may go on with a drag; the default ends it on the left button's
// release and cancels it on Escape.
class COleDropSource : public CObject {
 public:
  virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
};

class COleDataSource : public CObject {
 public:
  COleDataSource() = default;
  ~COleDataSource() override;
  COleDataSource(const COleDataSource&) = delete;
  COleDataSource& operator=(const COleDataSource&) = delete;
  // Offers a global block in a format; the data source owns it from now on.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
  void Empty();
  HGLOBAL GetCachedData(CLIPFORMAT cfFormat) const;
  // Runs the drag loop; the effect of the drop, or DROPEFFECT_NONE when the
  // drag was cancelled or nothing took it.
  DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

 private:
  std::map<CLIPFORMAT, HGLOBAL> m_data;
};

class COleDropTarget : public CObject {
 public:
  COleDropTarget() = default;
  ~COleDropTarget() override;
  COleDropTarget(const COleDropTarget&) = delete;
  COleDropTarget& operator=(const COleDropTarget&) = delete;

  // Makes the window a drop target; FALSE when it is already one.
  BOOL Register(CWnd* pWnd);
  virtual void Revoke();
  HWND GetRegisteredWnd() const { return m_hWnd; }

  // Points are client coordinates of the window; the key state has MK_*.
  virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // (DROPEFFECT)-1: not handled, OnDrop is called instead.
  virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                              CPoint point);
  virtual void OnDragLeave(CWnd* pWnd);
  virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

 protected:
  HWND m_hWnd = nullptr;
};
