// The in-place edit control.
#include "InPlaceEdit.h"

#include "GridCellBase.h"

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
  ON_WM_KILLFOCUS()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void AFX_EXT_API GridSendEndEdit(CWnd* pEditor, int nRow, int nColumn, const CString& strText, UINT nLastChar) {
  if (!pEditor || !::IsWindow(pEditor->GetSafeHwnd())) return;
  GV_DISPINFO dispinfo{};
  dispinfo.hdr.hwndFrom = pEditor->GetSafeHwnd();
  dispinfo.hdr.idFrom = static_cast<UINT_PTR>(pEditor->GetDlgCtrlID());
  dispinfo.hdr.code = GVN_ENDLABELEDIT;
  dispinfo.item.mask = GVIF_TEXT | GVIF_PARAM;
  dispinfo.item.row = nRow;
  dispinfo.item.col = nColumn;
  dispinfo.item.strText = strText;
  dispinfo.item.lParam = static_cast<LPARAM>(nLastChar);
  CWnd* pOwner = pEditor->GetOwner();
  if (pOwner && ::IsWindow(pOwner->GetSafeHwnd()))
    pOwner->SendMessage(WM_NOTIFY, dispinfo.hdr.idFrom, reinterpret_cast<LPARAM>(&dispinfo));
}

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           CString sInitText, UINT nFirstChar)
    : m_nRow(nRow),
      m_nColumn(nColumn),
      m_sInitText(sInitText),
      m_nLastChar(0),
      // Arrows end editing unless a mouse click began it.
      m_bExitOnArrows(nFirstChar != VK_LBUTTON),
      m_Rect(rect),
      m_bAlreadyEnding(FALSE) {
  DWORD dwEditStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle;
  if (!pParent || !CWnd::CreateEx(0, WC_EDITW, L"", dwEditStyle, rect, pParent, nID)) return;
  if (dwStyle & ES_NUMBER) LimitText(kMaxDigits);
  SetFont(pParent->GetFont());
  SetWindowText(sInitText);
  SetFocus();

  int nLength = sInitText.GetLength();
  switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
      SetSel(nLength, -1);
      return;
    case VK_BACK:
      // The caret at the end, then the Backspace takes the last character.
      SetSel(nLength, -1);
      break;
    case VK_TAB:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      SetSel(0, -1);
      return;
    default:
      SetSel(0, -1);
      break;
  }
  // The key that began editing is typed: it replaces the selected text (a
  // character beyond 127 arrives as one wide character).
  if (::IsWindow(m_hWnd)) SendMessage(WM_CHAR, nFirstChar, 1);
}

CInPlaceEdit::~CInPlaceEdit() = default;

void CInPlaceEdit::PostNcDestroy() {
  CEdit::PostNcDestroy();
  delete this;
}

UINT CInPlaceEdit::OnGetDlgCode() {
  // Enter, Esc and Tab come here inside a dialog too.
  return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
}

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  if ((nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RIGHT ||
       nChar == VK_LEFT) &&
      (m_bExitOnArrows || GetKeyState(VK_CONTROL) < 0)) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  Default();
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  if (nChar == VK_TAB || nChar == VK_RETURN) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  if (nChar == VK_ESCAPE) {
    // Back to the text editing began with: the grid sees no change.
    SetWindowText(m_sInitText);
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  Default();
  if (!::IsWindow(m_hWnd)) return;

  // Grows to the right to show the text (and two spaces), up to the
  // parent's client edge.
  CString str;
  GetWindowText(str);
  str += L"  ";
  CWindowDC dc(this);
  CFont* pFontDC = dc.SelectObject(GetFont());
  CSize size = dc.GetTextExtent(str);
  dc.SelectObject(pFontDC);
  CRect ParentRect;
  GetParent()->GetClientRect(&ParentRect);
  if (size.cx > m_Rect.Width()) {
    if (size.cx + m_Rect.left < ParentRect.right) m_Rect.right = m_Rect.left + size.cx;
    else m_Rect.right = ParentRect.right;
    MoveWindow(&m_Rect);
  }
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd) {
  (void)pNewWnd;
  Default();
  EndEdit();
}

void CInPlaceEdit::EndEdit() {
  if (m_bAlreadyEnding) return;
  m_bAlreadyEnding = TRUE;
  CString str;
  if (::IsWindow(m_hWnd)) GetWindowText(str);
  GridSendEndEdit(this, m_nRow, m_nColumn, str, m_nLastChar);
  // Gone with its window; nothing of this object is used after.
  if (::IsWindow(m_hWnd)) DestroyWindow();
}
