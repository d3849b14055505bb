// CInPlaceList: the combo box the grid places over a combo cell, with its
// options, dropped down; CComboEdit: its edit part (drop-down style), which
// ends editing on Enter, Tab, Esc and (with Control) the move keys, and when
// the focus leaves the combo box altogether.
#pragma once

#include "afx.h"
#include "afxwin.h"

class CInPlaceList;

class AFX_EXT_CLASS CComboEdit : public CEdit {
 public:
  CComboEdit() = default;

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

  CInPlaceList* GetList() const;
};

class AFX_EXT_CLASS CInPlaceList : public CComboBox {
  friend class CComboEdit;

 public:
  CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, COLORREF crFore,
               COLORREF crBack, const CStringArray& Items, CString sInitText, UINT nFirstChar);
  ~CInPlaceList() override;

  void EndEdit();
  int GetDropDownHeight() const { return m_nNumLines; }
  CComboEdit m_edit;

 protected:
  void PostNcDestroy() override;
  // Ends editing with the key, or keeps going when it is not one that ends.
  BOOL HandleKey(UINT nChar);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

 private:
  int m_nNumLines;
  CString m_sInitText;
  int m_nRow;
  int m_nCol;
  UINT m_nLastChar;
  BOOL m_bExitOnArrows;
  COLORREF m_crForeClr, m_crBackClr;
  BOOL m_bAlreadyEnding;
};
