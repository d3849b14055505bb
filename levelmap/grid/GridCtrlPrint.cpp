// Printing the grid through the framework's print loop: the print font and
// its average character, the page layout (WYSIWYG, or the whole grid width
// fitted to the paper), and each page's header, column headings, rows and
// footer with "Page %d of %d" and the date.
#include <cstdint>
#include <ctime>
#include <cwchar>

#include "GridCtrl.h"

namespace {

// The text whose first 52 characters give the print font's average width.
const wchar_t kCharSizeText[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";

LONG MulDiv64(LONG a, LONG b, LONG c) {
  if (c == 0) return 0;
  int64_t value = static_cast<int64_t>(a) * b / c;
  return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

BOOL CGridCtrl::Print(CPrintDialog* pPrntDialog) {
  CDC dc;
  if (!pPrntDialog) {
    CPrintDialog printDlg(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          GetParent());
    if (printDlg.DoModal() != IDOK) return FALSE;
    dc.Attach(printDlg.GetPrinterDC());
  } else {
    HDC hdc = pPrntDialog->GetPrinterDC();
    if (!hdc) hdc = pPrntDialog->CreatePrinterDC();
    // The context is the print job's from here on.
    pPrntDialog->m_pd.hDC = nullptr;
    dc.Attach(hdc);
  }
  if (!dc.GetSafeHdc()) return FALSE;
  dc.m_bPrinting = TRUE;

  CString strTitle;
  if (CWnd* pParent = GetParent()) pParent->GetWindowText(strTitle);
  if (strTitle.IsEmpty()) strTitle = L"Grid";
  DOCINFO di{sizeof(DOCINFO), strTitle, nullptr, nullptr, 0};
  if (dc.StartDoc(&di) <= 0) {
    dc.DeleteDC();
    return FALSE;
  }

  CPrintInfo info;
  info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
  OnBeginPrinting(&dc, &info);
  BOOL bPrintingOK = info.m_bContinuePrinting && info.GetMaxPage() >= info.GetMinPage();
  for (UINT nPage = info.GetMinPage(); bPrintingOK && nPage <= info.GetMaxPage(); ++nPage) {
    if (dc.StartPage() <= 0) {
      bPrintingOK = FALSE;
      break;
    }
    info.m_nCurPage = nPage;
    OnPrint(&dc, &info);
    bPrintingOK = dc.EndPage() > 0;
  }
  OnEndPrinting(&dc, &info);
  if (bPrintingOK) bPrintingOK = dc.EndDoc() > 0;
  else dc.AbortDoc();
  dc.DeleteDC();
  return bPrintingOK;
}

void CGridCtrl::SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin, int nGap) {
  m_nHeaderHeight = std::max(0, nHeaderHeight);
  m_nFooterHeight = std::max(0, nFooterHeight);
  m_nLeftMargin = std::max(0, nLeftMargin);
  m_nRightMargin = std::max(0, nRightMargin);
  m_nGap = std::max(0, nGap);
}

int CGridCtrl::GetPrintPageFirstRow(int nPage) const {
  if (nPage < 1 || nPage > GetPrintPageCount()) return -1;
  return m_arPageFirstRows[static_cast<size_t>(nPage - 1)];
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  if (!pInfo) return;
  m_arPageFirstRows.clear();
  auto fail = [&] {
    m_arPageFirstRows.clear();
    pInfo->m_bContinuePrinting = FALSE;
    pInfo->SetMaxPage(0);
  };
  if (!pDC || !pDC->GetSafeHdc()) return fail();

  // The print font, and the average character measured in it.
  m_PrinterFont.DeleteObject();
  if (!m_PrinterFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial"))
    return fail();
  CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
  CSize size = pDC->GetTextExtent(kCharSizeText, 52);
  pDC->SelectObject(pOldFont);
  m_CharSize = CSize(std::max<LONG>(1, size.cx / 52), std::max<LONG>(1, size.cy));
  const LONG nMargins = (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;

  m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
  if (m_PaperSize.cx <= 0 || m_PaperSize.cy <= 0) return fail();
  if (m_bWysiwygPrinting) {
    // About the grid's screen size: printer dots scaled by screen over
    // printer dots per inch, times 3/4.
    CDC dcScreen;
    int nScreenX = 96, nScreenY = 96;
    if (dcScreen.CreateCompatibleDC(nullptr)) {
      nScreenX = dcScreen.GetDeviceCaps(LOGPIXELSX);
      nScreenY = dcScreen.GetDeviceCaps(LOGPIXELSY);
    }
    int nPrinterX = pDC->GetDeviceCaps(LOGPIXELSX), nPrinterY = pDC->GetDeviceCaps(LOGPIXELSY);
    if (nPrinterX <= 0 || nPrinterY <= 0 || nScreenX <= 0 || nScreenY <= 0) return fail();
    m_LogicalPageSize.cx = MulDiv64(MulDiv64(m_PaperSize.cx, nScreenX, nPrinterX), 3, 4);
    m_LogicalPageSize.cy = MulDiv64(MulDiv64(m_PaperSize.cy, nScreenY, nPrinterY), 3, 4);
  } else {
    // The whole grid width on the paper; the height from its aspect.
    m_LogicalPageSize.cx = static_cast<LONG>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(GetVirtualWidth()) + nMargins));
    m_LogicalPageSize.cy = MulDiv64(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
  }
  if (m_LogicalPageSize.cx <= 0 || m_LogicalPageSize.cy <= 0) return fail();

  int64_t nBody = static_cast<int64_t>(m_LogicalPageSize.cy) - GetFixedRowHeight(FALSE) -
                  static_cast<int64_t>(m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * m_CharSize.cy;
  m_nPageHeight = static_cast<int>(std::clamp<int64_t>(nBody, INT32_MIN, INT32_MAX));
  if (m_nPageHeight <= 0) return fail();

  // Pages: rows while they fit. A page starts only at a row that shows, and
  // only after the page before holds one; a row taller than the body gets a
  // page of its own.
  int64_t nUsed = 0;
  bool bPageHasRow = false;
  for (int row = GetFixedRowCount(); row < GetRowCount(); ++row) {
    int nHeight = GetRowHeight(row);
    if (nHeight <= 0) {
      if (m_arPageFirstRows.empty()) m_arPageFirstRows.push_back(row);
      continue;
    }
    if (m_arPageFirstRows.empty() || (bPageHasRow && nUsed + nHeight > m_nPageHeight)) {
      if (m_arPageFirstRows.empty() || bPageHasRow) m_arPageFirstRows.push_back(row);
      nUsed = 0;
    }
    nUsed += nHeight;
    bPageHasRow = true;
  }
  // Nothing that shows: no page.
  if (!bPageHasRow) return fail();
  pInfo->SetMinPage(1);
  pInfo->SetMaxPage(static_cast<UINT>(m_arPageFirstRows.size()));
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  if (!pDC || !pInfo || pInfo->m_nCurPage < 1 || pInfo->m_nCurPage > m_arPageFirstRows.size()) return;
  int nSaved = pDC->SaveDC();
  // Logical units are the grid's; the page is scaled onto the paper, the
  // left margin kept clear.
  pDC->SetMapMode(MM_ANISOTROPIC);
  pDC->SetWindowExt(m_LogicalPageSize);
  pDC->SetViewportExt(m_PaperSize);
  pDC->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, 0);
  CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
  pInfo->m_rectDraw.SetRect(0, 0, m_LogicalPageSize.cx - (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx,
                            m_LogicalPageSize.cy);

  PrintHeader(pDC, pInfo);
  PrintColumnHeadings(pDC, pInfo);
  size_t nPage = pInfo->m_nCurPage - 1;
  int nFirst = m_arPageFirstRows[nPage];
  int nLast = nPage + 1 < m_arPageFirstRows.size() ? m_arPageFirstRows[nPage + 1] - 1 : GetRowCount() - 1;
  int y = (m_nHeaderHeight + m_nGap) * m_CharSize.cy + GetFixedRowHeight(FALSE);
  // Rows print inside the body; a row taller than it is cut at the footer.
  int nSavedBody = pDC->SaveDC();
  pDC->IntersectClipRect(-m_nLeftMargin * m_CharSize.cx, y, m_LogicalPageSize.cx, y + m_nPageHeight);
  PrintRows(pDC, nFirst, nLast, y);
  pDC->RestoreDC(nSavedBody);
  PrintFooter(pDC, pInfo);

  pDC->SelectObject(pOldFont);
  pDC->RestoreDC(nSaved);
}

void CGridCtrl::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {
  (void)pDC, (void)pInfo;
  m_PrinterFont.DeleteObject();
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo) {
  (void)pInfo;
  if (GetFixedRowCount() > 0) PrintRows(pDC, 0, GetFixedRowCount() - 1, (m_nHeaderHeight + m_nGap) * m_CharSize.cy);
}

int CGridCtrl::PrintRows(CDC* pDC, int nFirst, int nLast, int y) {
  // Column positions: hidden columns take no room.
  std::vector<std::pair<int, int>> arCols;
  int x = 0;
  for (int col = 0; col < GetColumnCount(); ++col) {
    int nWidth = GetColumnWidth(col);
    if (nWidth <= 0) continue;
    arCols.emplace_back(col, x);
    x += nWidth;
  }
  CPen penGrid(PS_SOLID, 1, m_crGridLineColour);
  for (int row = nFirst; row <= nLast && row < GetRowCount(); ++row) {
    int nHeight = GetRowHeight(row);
    if (nHeight <= 0) continue;
    for (const auto& [col, left] : arCols) {
      CRect rect(left, y, left + GetColumnWidth(col), y + nHeight);
      // A merged range prints once, from its top-left cell (or, where the
      // range began on an earlier page, from its first row here).
      CCellRange range = GetMergedRangeOf(row, col);
      int nCellRow = row, nCellCol = col;
      if (range.IsValid()) {
        bool bStartsHere = col == range.GetMinCol() && (row == range.GetMinRow() || (row == nFirst && range.GetMinRow() < nFirst));
        if (!bStartsHere) continue;
        nCellRow = range.GetMinRow();
        rect.right = left;
        for (int c = range.GetMinCol(); c <= range.GetMaxCol(); ++c) rect.right += std::max(0, GetColumnWidth(c));
        rect.bottom = y;
        for (int r = row; r <= range.GetMaxRow() && r <= nLast; ++r) rect.bottom += std::max(0, GetRowHeight(r));
      }
      if (CGridCellBase* pCell = GetCell(nCellRow, nCellCol)) pCell->PrintCell(pDC, nCellRow, nCellCol, rect);
      if (m_nGridLines != GVL_NONE) {
        CPen* pOldPen = pDC->SelectObject(&penGrid);
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
          pDC->MoveTo(rect.left, rect.bottom - 1);
          pDC->LineTo(rect.right, rect.bottom - 1);
        }
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
          pDC->MoveTo(rect.right - 1, rect.top);
          pDC->LineTo(rect.right - 1, rect.bottom);
        }
        pDC->SelectObject(pOldPen);
      }
    }
    y += nHeight;
  }
  return y;
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo) {
  // The title of the window the grid is in, at the top left.
  CString strTitle;
  if (CWnd* pParent = GetParent()) pParent->GetWindowText(strTitle);
  if (strTitle.IsEmpty()) return;
  LOGFONT lf{};
  m_PrinterFont.GetLogFont(&lf);
  lf.lfWeight = FW_BOLD;
  CFont fontBold;
  fontBold.CreateFontIndirect(&lf);
  CFont* pOldFont = pDC->SelectObject(&fontBold);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkMode(TRANSPARENT);
  CRect rect(0, 0, pInfo->m_rectDraw.Width(), m_nHeaderHeight * m_CharSize.cy);
  pDC->DrawText(strTitle, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo) {
  int nWidth = pInfo->m_rectDraw.Width();
  int nTop = m_LogicalPageSize.cy - m_nFooterHeight * m_CharSize.cy;
  CRect rect(0, nTop, nWidth, m_LogicalPageSize.cy);

  // A line across the page, then the page and the date in a bold copy of
  // the print font.
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* pOldPen = pDC->SelectObject(&pen);
  pDC->MoveTo(0, nTop);
  pDC->LineTo(nWidth, nTop);
  pDC->SelectObject(pOldPen);

  LOGFONT lf{};
  m_PrinterFont.GetLogFont(&lf);
  lf.lfWeight = FW_BOLD;
  CFont fontBold;
  fontBold.CreateFontIndirect(&lf);
  CFont* pOldFont = pDC->SelectObject(&fontBold);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkMode(TRANSPARENT);
  CString strPage;
  strPage.Format(L"Page %d of %d", pInfo->m_nCurPage, GetPrintPageCount());
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  wchar_t szDate[128] = {0};
  if (std::wcsftime(szDate, 128, L"%c", &local) == 0) szDate[0] = 0;
  // On a page too narrow for both side by side the date takes the footer's
  // lower half, so that neither text runs over the other.
  CRect rectPage = rect, rectDate = rect;
  CSize sizePage = pDC->GetTextExtent(strPage), sizeDate = pDC->GetTextExtent(szDate, static_cast<int>(wcslen(szDate)));
  if (sizePage.cx + sizeDate.cx + m_CharSize.cx > nWidth) {
    rectPage.bottom = rectDate.top = rect.top + rect.Height() / 2;
  }
  pDC->DrawText(strPage, rectPage, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  pDC->DrawText(szDate, -1, rectDate, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  pDC->SelectObject(pOldFont);
}
