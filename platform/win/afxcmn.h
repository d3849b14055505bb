// The class library's common controls: image lists and the date-time picker.
#pragma once

#include "afxwin.h"
#include "commctrl.h"

class CImageList : public CObject {
 public:
  HIMAGELIST m_hImageList = nullptr;
  CImageList() = default;
  ~CImageList() override { DeleteImageList(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // A strip bitmap from the resources cut into images `cx` wide.
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
  BOOL DeleteImageList();
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* bitmap, COLORREF mask) {
    return bitmap ? ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject), mask) : -1;
  }
  int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  HICON ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, 0); }
  BOOL Draw(CDC* dc, int index, POINT pt, UINT style) {
    return dc && ImageList_Draw(m_hImageList, index, dc->m_hDC, pt.x, pt.y, style);
  }
  COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
};

class CDateTimeCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    InitCommonControls();
    return CWnd::Create(DATETIMEPICK_CLASSW, L"", style, rect, parent, id);
  }
  BOOL SetTime(const SYSTEMTIME* time) {
    return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, time ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(time)));
  }
  DWORD GetTime(SYSTEMTIME* time) const { return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time))); }
  BOOL SetFormat(LPCTSTR format) { return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format))); }
};
