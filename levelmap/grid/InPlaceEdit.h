// CInPlaceEdit: the edit control the grid places over a cell to edit its
// text. It starts from the key that began editing, grows to the right while
// text is typed, and ends when it loses the focus: it tells its owner (the
// grid) with GVN_ENDLABELEDIT, carrying the final text and the key that
// ended editing, and destroys itself.
#pragma once

#include "afxwin.h"

class AFX_EXT_CLASS CInPlaceEdit : public CEdit {
 public:
  // dwStyle: ES_LEFT, ES_CENTER, ES_RIGHT, ES_NUMBER (at most 9 digits).
  CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, CString sInitText,
               UINT nFirstChar);
  ~CInPlaceEdit() override;

  void EndEdit();
  int GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nColumn; }
  UINT GetLastChar() const { return m_nLastChar; }

  // The longest number a digits-only editor takes: 9 digits always fit an int.
  static const int kMaxDigits = 9;

 protected:
  void PostNcDestroy() override;
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  int m_nRow;
  int m_nColumn;
  CString m_sInitText;
  UINT m_nLastChar;
  BOOL m_bExitOnArrows;
  CRect m_Rect;
  BOOL m_bAlreadyEnding;
};

// Tells the owner of an in-place editor that editing ended (GVN_ENDLABELEDIT
// with mask GVIF_TEXT | GVIF_PARAM, the text and the ending key).
void AFX_EXT_API GridSendEndEdit(CWnd* pEditor, int nRow, int nColumn, const CString& strText, UINT nLastChar);
