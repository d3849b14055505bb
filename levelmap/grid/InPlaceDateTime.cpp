// The in-place date-time picker.
#include "InPlaceDateTime.h"

#include "GridCellDateTime.h"
#include "GridCtrl.h"
#include "InPlaceEdit.h"

BEGIN_MESSAGE_MAP(CInPlaceDateTime, CDateTimeCtrl)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceDateTime::CInPlaceDateTime(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                                   COLORREF crFore, COLORREF crBack, time_t* pTime, UINT nFirstChar)
    : m_pTime(pTime),
      m_dwStyle(dwStyle),
      m_nRow(nRow),
      m_nCol(nColumn),
      m_crForeClr(crFore),
      m_crBackClr(crBack),
      m_nLastChar(0),
      m_bAlreadyEnding(FALSE) {
  if (!pParent || !pTime) return;
  DWORD dwStl = WS_BORDER | WS_VISIBLE | WS_CHILD | DTS_UPDOWN | dwStyle;
  if (!Create(dwStl, rect, pParent, nID)) return;
  SYSTEMTIME st = CGridCellDateTime::ToSystemTime(*m_pTime);
  SetTime(&st);
  SetFont(pParent->GetFont());
  SetFocus();
  switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return;
    default:
      break;
  }
  if (::IsWindow(m_hWnd)) SendMessage(WM_CHAR, nFirstChar, 1);
}

CInPlaceDateTime::~CInPlaceDateTime() = default;

void CInPlaceDateTime::PostNcDestroy() {
  CDateTimeCtrl::PostNcDestroy();
  delete this;
}

UINT CInPlaceDateTime::OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS; }

void CInPlaceDateTime::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE) {
    // Esc keeps the cell's time: the editor's copy goes back to it.
    if (nChar == VK_ESCAPE && m_pTime) {
      SYSTEMTIME st = CGridCellDateTime::ToSystemTime(*m_pTime);
      SetTime(&st);
    }
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  Default();
}

void CInPlaceDateTime::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE) return;
  Default();
}

void CInPlaceDateTime::OnKillFocus(CWnd* pNewWnd) {
  (void)pNewWnd;
  Default();
  EndEdit();
}

void CInPlaceDateTime::EndEdit() {
  if (m_bAlreadyEnding) return;
  m_bAlreadyEnding = TRUE;
  SYSTEMTIME st{};
  time_t newTime = m_pTime ? *m_pTime : 0;
  if (::IsWindow(m_hWnd) && GetTime(&st) == GDT_VALID) newTime = CGridCellDateTime::FromSystemTime(st);
  CWnd* pParent = GetParent();
  auto* pGrid = dynamic_cast<CGridCtrl*>(pParent);
  CString strOld = pGrid ? pGrid->GetItemText(m_nRow, m_nCol) : CString();
  CString str = CGridCellDateTime::FormatTime(newTime, m_dwStyle, strOld);
  GridSendEndEdit(this, m_nRow, m_nCol, str, m_nLastChar);
  // The grid took the text (or it did not change): the cell keeps the time.
  if (m_pTime && pGrid && ::IsWindow(pGrid->GetSafeHwnd()) && pGrid->GetItemText(m_nRow, m_nCol) == str)
    *m_pTime = newTime;
  if (::IsWindow(m_hWnd)) DestroyWindow();
}
