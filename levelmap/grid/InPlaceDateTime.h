// CInPlaceDateTime: the date-time picker the grid places over a date cell.
// It edits a copy of the cell's time; when it loses the focus it tells the
// grid the new time's text (GVN_ENDLABELEDIT) and, when the grid took that
// text, stores the new time in the cell.
#pragma once

#include <ctime>

#include "afxcmn.h"

class AFX_EXT_CLASS CInPlaceDateTime : public CDateTimeCtrl {
 public:
  // pTime: the cell's time; dwStyle: the picker's style (DTS_SHORTDATEFORMAT,
  // DTS_TIMEFORMAT ...); the text the grid gets is formatted as the cell does.
  CInPlaceDateTime(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, COLORREF crFore,
                   COLORREF crBack, time_t* pTime, UINT nFirstChar);
  ~CInPlaceDateTime() override;

  void EndEdit();

 protected:
  void PostNcDestroy() override;
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  time_t* m_pTime;
  DWORD m_dwStyle;
  int m_nRow;
  int m_nCol;
  COLORREF m_crForeClr, m_crBackClr;
  UINT m_nLastChar;
  BOOL m_bAlreadyEnding;
};
