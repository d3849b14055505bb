// The in-place combo box and its edit part.
#include "InPlaceList.h"

#include "InPlaceEdit.h"

// ---------------------------------------------------------------- CComboEdit

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceList* CComboEdit::GetList() const {
  CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return dynamic_cast<CInPlaceList*>(pParent);
}

UINT CComboEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS; }

void CComboEdit::OnKillFocus(CWnd* pNewWnd) {
  Default();
  // The focus moving to the combo box itself is no end of editing.
  CInPlaceList* pList = GetList();
  if (pList && (!pNewWnd || pNewWnd->GetSafeHwnd() != pList->GetSafeHwnd())) pList->EndEdit();
}

void CComboEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  CInPlaceList* pList = GetList();
  if (pList && pList->HandleKey(nChar)) return;
  Default();
}

void CComboEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  // Enter, Tab and Esc were handled as keys; their characters go nowhere.
  if (nChar == VK_RETURN || nChar == VK_TAB || nChar == VK_ESCAPE) return;
  Default();
}

// ---------------------------------------------------------------- CInPlaceList

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceList::CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           COLORREF crFore, COLORREF crBack, const CStringArray& Items, CString sInitText,
                           UINT nFirstChar)
    : m_nNumLines(4),
      m_sInitText(sInitText),
      m_nRow(nRow),
      m_nCol(nColumn),
      m_nLastChar(0),
      m_bExitOnArrows(nFirstChar != VK_LBUTTON),
      m_crForeClr(crFore),
      m_crBackClr(crBack),
      m_bAlreadyEnding(FALSE) {
  if (!pParent) return;
  // The window reaches down far enough for the list of four rows.
  int nHeight = rect.Height();
  CRect rectCombo = rect;
  rectCombo.bottom = rectCombo.bottom + m_nNumLines * nHeight + ::GetSystemMetrics(SM_CYHSCROLL);
  DWORD dwComboStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | dwStyle;
  if (!Create(dwComboStyle, rectCombo, pParent, nID)) return;
  SetFont(pParent->GetFont());
  SetItemHeight(-1, static_cast<UINT>(nHeight));

  // The drop-down list is as wide as the widest option, a scroll bar and a
  // digit, but no wider than 200 pixels.
  int nMaxLength = 0;
  {
    CClientDC dc(pParent);
    CFont* pOldFont = dc.SelectObject(pParent->GetFont());
    for (INT_PTR i = 0; i < Items.GetSize(); ++i) {
      CSize size = dc.GetTextExtent(Items[i]);
      nMaxLength = std::max<int>(nMaxLength, size.cx);
      AddString(Items[i]);
    }
    nMaxLength += ::GetSystemMetrics(SM_CXVSCROLL) + dc.GetTextExtent(L"0", 1).cx;
    dc.SelectObject(pOldFont);
  }
  SetDroppedWidth(static_cast<UINT>(std::min(nMaxLength, 200)));

  int nIndex = FindStringExact(-1, sInitText);
  if (nIndex != CB_ERR) SetCurSel(nIndex);
  else SetWindowText(sInitText);

  // The list drops down once the focus is inside (taking the focus would
  // close it again).
  if ((dwStyle & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) {
    SetFocus();
    ShowDropDown(TRUE);
    return;
  }
  // A drop-down combo box types into its edit part, which starts from the
  // key as an in-place edit does.
  m_edit.SubclassDlgItem(IDC_COMBO_EDIT, this);
  SetFocus();
  ShowDropDown(TRUE);
  int nLength = GetWindowTextLength();
  switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
      SetEditSel(nLength, -1);
      return;
    case VK_BACK:
      SetEditSel(nLength, -1);
      break;
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
      SetEditSel(0, -1);
      return;
    default:
      SetEditSel(0, -1);
      break;
  }
  if (m_edit.GetSafeHwnd()) m_edit.SendMessage(WM_CHAR, nFirstChar, 1);
}

CInPlaceList::~CInPlaceList() = default;

void CInPlaceList::PostNcDestroy() {
  CComboBox::PostNcDestroy();
  delete this;
}

UINT CInPlaceList::OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS; }

BOOL CInPlaceList::HandleKey(UINT nChar) {
  if (nChar == VK_ESCAPE) SetWindowText(m_sInitText);
  bool bMove = nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RIGHT ||
               nChar == VK_LEFT;
  // In the list the arrows choose options; with Control they end editing.
  if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE || (bMove && GetKeyState(VK_CONTROL) < 0)) {
    if (nChar == VK_ESCAPE) {
      int nIndex = FindStringExact(-1, m_sInitText);
      if (nIndex != CB_ERR) SetCurSel(nIndex);
    }
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return TRUE;
  }
  return FALSE;
}

void CInPlaceList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  if (HandleKey(nChar)) return;
  Default();
}

void CInPlaceList::OnKillFocus(CWnd* pNewWnd) {
  Default();
  // The focus moving into the edit part is no end of editing.
  if (pNewWnd && m_edit.GetSafeHwnd() && pNewWnd->GetSafeHwnd() == m_edit.GetSafeHwnd()) return;
  EndEdit();
}

void CInPlaceList::EndEdit() {
  if (m_bAlreadyEnding) return;
  m_bAlreadyEnding = TRUE;
  CString str;
  if (::IsWindow(m_hWnd)) GetWindowText(str);
  // A drop-down list whose text is none of its options has no selection:
  // it reports the text editing began with rather than an empty one.
  if ((GetStyle() & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST && GetCurSel() == CB_ERR) str = m_sInitText;
  if (::IsWindow(m_hWnd)) ShowDropDown(FALSE);
  GridSendEndEdit(this, m_nRow, m_nCol, str, m_nLastChar);
  if (::IsWindow(m_hWnd)) DestroyWindow();
}
