// The link cell.
#include "GridURLCell.h"

#include "GridCtrl.h"
#include "sysinfoapi.h"

IMPLEMENT_DYNCREATE(CGridURLCell, CGridCell)

namespace {

// The prefixes that make a text a link, in the order they are searched.
const wchar_t* const kUrlPrefixes[] = {L"www.",    L"http:",    L"mailto:", L"ftp:", L"https:", L"news:",
                                       L"gopher:", L"telnet:", L"url:",    L"file:", L"ftp."};

// Only these are handed to the shell: a word merely containing "file:" or
// "telnet:" somewhere is not opened.
const wchar_t* const kLaunchPrefixes[] = {L"http:", L"https:", L"mailto:", L"ftp:", L"www.", L"ftp."};

// The hand: cursor 106 of the help program in the Windows folder, loaded
// once and copied; the platform's own hand when that is not there.
HCURSOR HandCursor() {
  static HCURSOR hCursor = [] {
    HCURSOR hHand = nullptr;
    wchar_t szFolder[MAX_PATH] = {0};
    UINT nLength = ::GetWindowsDirectoryW(szFolder, MAX_PATH);
    if (nLength > 0 && nLength < MAX_PATH) {
      CString strFile = CString(szFolder) + L"\\winhlp32.exe";
      if (HMODULE hModule = ::LoadLibraryW(strFile)) {
        if (HCURSOR hLoaded = ::LoadCursorW(reinterpret_cast<HINSTANCE>(hModule), MAKEINTRESOURCEW(106)))
          hHand = static_cast<HCURSOR>(::CopyIcon(static_cast<HICON>(hLoaded)));
        ::FreeLibrary(hModule);
      }
    }
    return hHand ? hHand : ::LoadCursorW(nullptr, IDC_HAND);
  }();
  return hCursor;
}

}  // namespace

CGridURLCell::CGridURLCell() : m_clrUrl(::GetSysColor(COLOR_HIGHLIGHT)), m_bLaunchUrl(TRUE) {}

void CGridURLCell::OnCopy(const CGridCellBase& cell) {
  if (const auto* pOther = dynamic_cast<const CGridURLCell*>(&cell)) {
    m_clrUrl = pOther->m_clrUrl;
    m_bLaunchUrl = pOther->m_bLaunchUrl;
  }
}

BOOL CGridURLCell::HasUrl(const CString& str) {
  for (const wchar_t* pszPrefix : kUrlPrefixes)
    if (str.Find(pszPrefix) >= 0) return TRUE;
  return FALSE;
}

BOOL CGridURLCell::IsLaunchableUrl(const CString& strWord) {
  for (const wchar_t* pszPrefix : kLaunchPrefixes)
    if (strWord.Find(pszPrefix) == 0 && strWord.GetLength() > static_cast<int>(wcslen(pszPrefix))) return TRUE;
  return FALSE;
}

BOOL CGridURLCell::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  // A link shows in the link colour (a selected cell keeps the selection's).
  COLORREF crOld = m_crFgClr;
  if (HasUrl(GetText()) && !IsSelected()) m_crFgClr = m_clrUrl;
  BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
  m_crFgClr = crOld;
  CRect rectText = rect;
  GetTextRect(rectText);
  m_ptOrigin = rect.TopLeft();
  m_Rect = rectText;
  m_Rect.OffsetRect(-rect.left, -rect.top);
  return bResult;
}

BOOL CGridURLCell::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)nRow, (void)nCol, (void)rect, (void)point, (void)nID, (void)nChar;
  return FALSE;
}

CString CGridURLCell::GetUrlUnderPoint(CPoint PointCellRelative) {
  CString strText = GetText();
  if (strText.IsEmpty() || m_Rect.IsRectEmpty() || !m_Rect.PtInRect(PointCellRelative)) return CString();

  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return CString();
  CFont* pOldFont = dc.SelectObject(GetFontObject());
  CSize size = dc.GetTextExtent(strText);
  dc.SelectObject(pOldFont);
  if (size.cx <= 0) return CString();

  // Where the drawn text starts, as its alignment puts it.
  int nLeft = m_Rect.left;
  DWORD nFormat = GetFormat();
  if (nFormat & DT_RIGHT) nLeft = m_Rect.right - size.cx;
  else if (nFormat & DT_CENTER) nLeft = m_Rect.left + (m_Rect.Width() - size.cx) / 2;
  int nOffset = PointCellRelative.x - nLeft;
  if (nOffset < 0 || nOffset >= size.cx) return CString();

  // The character index from the average character width, then the word
  // between the spaces around it.
  double dAverage = static_cast<double>(size.cx) / strText.GetLength();
  int nIndex = std::min(strText.GetLength() - 1, static_cast<int>(nOffset / dAverage));
  if (strText[nIndex] == L' ') return CString();
  int nStart = nIndex;
  while (nStart > 0 && strText[nStart - 1] != L' ') --nStart;
  int nEnd = strText.Find(L' ', nIndex);
  if (nEnd < 0) nEnd = strText.GetLength();
  CString strWord = strText.Mid(nStart, nEnd - nStart);
  return HasUrl(strWord) ? strWord : CString();
}

BOOL CGridURLCell::OnSetCursor() {
  CGridCtrl* pGrid = GetGrid();
  if (pGrid && pGrid->GetSafeHwnd()) {
    CPoint point;
    ::GetCursorPos(&point);
    pGrid->ScreenToClient(&point);
    if (!GetUrlUnderPoint(CPoint(point.x - m_ptOrigin.x, point.y - m_ptOrigin.y)).IsEmpty()) {
      ::SetCursor(HandCursor());
      return TRUE;
    }
  }
  return CGridCell::OnSetCursor();
}

void CGridURLCell::OnClick(CPoint PointCellRelative) {
  if (!m_bLaunchUrl) return;
  CString strWord = GetUrlUnderPoint(PointCellRelative);
  // A link the shell cannot open is let be.
  if (!strWord.IsEmpty() && IsLaunchableUrl(strWord)) ::ShellExecuteW(nullptr, L"open", strWord, nullptr, nullptr, SW_SHOW);
}
