// CTitleTip: the popup that shows the whole text of a grid cell whose text
// is cut off, over the cell. While it shows it holds the mouse: leaving the
// hover rectangle hides it, a button press hides it and goes on to the
// window under the pointer, a key hides it and goes on to the grid.
#pragma once

#include "afxwin.h"

#define TITLETIP_CLASSNAME L"ZTitleTip"

class AFX_EXT_CLASS CTitleTip : public CWnd {
 public:
  CTitleTip();
  ~CTitleTip() override;

  virtual BOOL Create(CWnd* pParentWnd);
  // rectTitle and lpHoverRect are in the parent's client coordinates. The tip
  // shows only when the text (with a space either side) is wider than the cell.
  virtual void Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = nullptr,
                    const LOGFONT* lpLogFont = nullptr, COLORREF crTextClr = CLR_DEFAULT,
                    COLORREF crBackClr = CLR_DEFAULT);
  virtual void Hide();
  BOOL IsShowing() const { return m_hWnd && IsWindowVisible(); }
  CString GetTitle() const { return m_strTitle; }

 protected:
  // Sends a button message on to the window under the screen point, as a
  // client or non-client message as its hit test says.
  void ForwardButton(UINT nClientMsg, UINT nNonClientMsg, UINT nFlags, CPoint screen);

  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

  CWnd* m_pParentWnd;
  CRect m_rectHover;
  DWORD m_dwLastLButtonDown;
  DWORD m_dwDblClickMsecs;
  BOOL m_bCreated;
  CString m_strTitle;
  LOGFONT m_lf;
  BOOL m_bHaveFont;
  COLORREF m_crText, m_crBack;
};
