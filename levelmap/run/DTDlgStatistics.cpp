// The statistics table of the drive-test dialog: one block per measurement
// type (header, column titles, one row per band, separator) with counts,
// single and cumulative shares, and the two edit notifications: a band name
// is written back to the band table, a count moves the difference onto the
// following bands of its type.
#include "DTDlg.h"

#include "BandStatistics.h"
#include "GridCellNumeric.h"
#include "acedcolor.h"
#include "wstdlib.h"

namespace {

// The cell's number when an edit began, and the count an edit ended with.
int g_nOldValue = 0;
int g_nNewValue = 0;

const TCHAR kTypePrefix[] = _T("名称:");

CString FormatInt(int nValue) {
  CString strText;
  strText.Format(_T("%i"), nValue);
  return strText;
}

COLORREF IndexColour(int nColorIndex) { return (COLORREF)acedGetRGB(nColorIndex); }

}  // namespace

int CDTDlg::InsertTableRow(int nParentRow) {
  CTreeNode* pParent = nParentRow < 0 ? GTVI_ROOT : m_grid.GetTreeNode(nParentRow);
  CTreeNode* pNode = m_grid.InsertItem(_T(""), pParent, GTVI_LAST, FALSE);
  return pNode != NULL ? m_grid.GetNodeRow(pNode) : -1;
}

int CDTDlg::GetParentRow(int nRow) const {
  if (nRow < 0 || nRow >= m_grid.GetRowCount()) return -1;
  CTreeNode* pParent = m_grid.GetParentNode(m_grid.GetTreeNode(nRow));
  return pParent != NULL ? m_grid.GetNodeRow(pParent) : -1;
}

void CDTDlg::SetBandRowCounts(int nRow, int nCount, long long nCumulative) {
  m_grid.SetItemText(nRow, 3, FormatInt(nCount));
  m_grid.SetItemText(nRow, 4, FormatBandShare(nCount, m_nPointCount));
  m_grid.SetItemText(nRow, 5, FormatBandShare(nCumulative, m_nPointCount));
}

void CDTDlg::FillStatisticsGrid() {
  m_grid.DeleteAllItems();
  m_grid.SetColumnCount(7);
  m_grid.Refresh();

  LoadBandTable();

  // The grid's font at height 14 for the header, the colour dots.
  LOGFONT lf;
  memset(&lf, 0, sizeof(lf));
  CFont* pFont = m_grid.GetSafeHwnd() != NULL ? m_grid.GetFont() : NULL;
  if (pFont == NULL || pFont->GetSafeHandle() == NULL || !pFont->GetLogFont(&lf)) {
    wcsncpy(lf.lfFaceName, L"宋体", LF_FACESIZE - 1);
    lf.lfWeight = FW_NORMAL;
  }
  lf.lfHeight = 14;
  CString strHeaderRows;
  CString strPointCount;
  strPointCount.Format(_T("%i  "), m_nPointCount);
  m_grid.SetRedraw(TRUE, FALSE);

  int nFilled = 0;
  for (INT_PTR t = 0; t < m_typeNames.GetSize(); ++t) {
    CLevelBandArray* pBands = NULL;
    if (!m_levelMap.Lookup(m_typeNames[t], pBands) || pBands == NULL) continue;

    // Header: the type's name over columns 1 to 4, the number of points.
    int nHeader = InsertTableRow(-1);
    m_grid.SetItemText(nHeader, 1, CString(kTypePrefix) + m_typeNames[t]);
    m_grid.SetItemText(nHeader, 5, _T("总测数量:"));
    m_grid.SetItemText(nHeader, 6, strPointCount);
    for (int nCol : {1, 5, 6}) {
      m_grid.SetItemFgColour(nHeader, nCol, IndexColour(5));
      m_grid.SetItemFont(nHeader, nCol, &lf);
    }
    m_grid.MergeCells(CCellRange(nHeader, 1, nHeader, 4));
    strHeaderRows.Format(_T("%s|%i|"), (LPCTSTR)strHeaderRows, nHeader);

    // Column titles.
    int nTitles = InsertTableRow(nHeader);
    m_grid.SetItemText(nTitles, 2, _T("范围        "));
    m_grid.SetItemFormat(nTitles, 2, m_grid.GetItemFormat(nTitles, 1) | DT_CENTER);
    m_grid.SetItemText(nTitles, 3, _T("数量  "));
    m_grid.SetItemText(nTitles, 4, _T("单项(%)"));
    m_grid.SetItemText(nTitles, 5, _T("累计(%)"));
    for (int nCol = 2; nCol <= 5; ++nCol) m_grid.SetItemFgColour(nTitles, nCol, IndexColour(6));

    // One row per band; the cumulative share starts again for every type.
    long long nCumulative = 0;
    for (INT_PTR b = 0; b < pBands->GetSize(); ++b) {
      const levelmapdb& band = pBands->GetAt(b);
      int nRow = InsertTableRow(nHeader);
      m_grid.SetItemText(nRow, 0, band.head);
      m_grid.SetItemText(nRow, 1, _T("●"));
      m_grid.SetItemFgColour(nRow, 1, IndexColour(band.color));
      m_grid.SetItemFont(nRow, 1, &lf);
      m_grid.SetItemFormat(nRow, 1, m_grid.GetItemFormat(nRow, 0) | DT_RIGHT);
      m_grid.SetItemText(nRow, 2, band.name);
      nCumulative += band.num;
      SetBandRowCounts(nRow, band.num, nCumulative);
    }

    // Separator.
    int nSeparator = InsertTableRow(-1);
    m_grid.MergeCells(CCellRange(nSeparator, 0, nSeparator, 6));
    nFilled = nSeparator + 1;
  }
  while (m_grid.GetRowCount() > nFilled) m_grid.DeleteRow(m_grid.GetRowCount() - 1);

  m_grid.AutoSize(GVS_DEFAULT);
  m_grid.SetColumnWidth(1, 74);
  m_grid.SetColumnWidth(0, 0);

  // Only names and counts can be edited; separators are thin.
  for (int nRow = 0; nRow < m_grid.GetRowCount(); ++nRow) {
    for (int nCol : {0, 1, 4, 5, 6})
      m_grid.SetItemState(nRow, nCol, m_grid.GetItemState(nRow, nCol) | GVIS_READONLY);
    CString strMark;
    strMark.Format(_T("|%i|"), nRow);
    if (strHeaderRows.Find(strMark) >= 0) continue;
    CString strRange = m_grid.GetItemText(nRow, 2);
    if (strRange.IsEmpty()) {
      m_grid.SetRowHeight(nRow, 10);
      continue;
    }
    m_grid.SetRowHeight(nRow, 23);
    strRange.Trim(_T(" "));
    if (strRange == _T("范围"))
      m_grid.SetItemState(nRow, 2, m_grid.GetItemState(nRow, 2) | GVIS_MODIFIED);
    CString strCount = m_grid.GetItemText(nRow, 3);
    strCount.Trim(_T(" "));
    if (strCount == _T("数量"))
      m_grid.SetItemState(nRow, 3, m_grid.GetItemState(nRow, 3) | GVIS_MODIFIED);
    else
      m_grid.SetCellType(nRow, 3, RUNTIME_CLASS(CGridCellNumeric));
  }

  m_grid.Refresh();
  UpdateData(FALSE);
}

void CDTDlg::OnGridBeginEdit(NMHDR* pNotifyStruct, LRESULT* pResult) {
  const NM_GRIDVIEW* pItem = reinterpret_cast<const NM_GRIDVIEW*>(pNotifyStruct);
  g_nOldValue = _wtoi(m_grid.GetItemText(pItem->iRow, pItem->iColumn));
  *pResult = 0;
}

void CDTDlg::OnGridEndEdit(NMHDR* pNotifyStruct, LRESULT* pResult) {
  const NM_GRIDVIEW* pItem = reinterpret_cast<const NM_GRIDVIEW*>(pNotifyStruct);
  int nRow = pItem->iRow;
  int nCol = pItem->iColumn;
  *pResult = 0;

  // The type is named in the header the row belongs to; a header or a
  // separator belongs to none.
  int nParent = GetParentRow(nRow);
  CLevelBandArray* pBands = NULL;
  if (nParent >= 0) {
    CString strType = m_grid.GetItemText(nParent, 1);
    strType.Replace(kTypePrefix, _T(""));
    if (!m_levelMap.Lookup(strType, pBands)) pBands = NULL;
  }
  if (pBands == NULL) {
    m_grid.SetItemText(nRow, nCol, FormatInt(g_nOldValue));
    return;
  }
  CString strKey = m_grid.GetItemText(nRow, 0);

  if (nCol == 2) {
    INT_PTR nBand = FindBandByHead(*pBands, strKey);
    if (nBand >= 0) {
      pBands->ElementAt(nBand).name = m_grid.GetItemText(nRow, nCol);
      m_bNameChanged = TRUE;
    }
  } else if (nCol == 3) {
    g_nNewValue = _wtoi(m_grid.GetItemText(nRow, nCol));
    INT_PTR nBand = FindBandByHead(*pBands, strKey);
    if (g_nNewValue > m_nPointCount || nBand < 0) {
      m_grid.SetItemText(nRow, nCol, FormatInt(g_nOldValue));
      return;
    }
    ShiftBandCount(*pBands, nBand, g_nNewValue, g_nOldValue);
    long long nCumulative = 0;
    for (INT_PTR b = 0; b < pBands->GetSize(); ++b) {
      nCumulative += pBands->GetAt(b).num;
      SetBandRowCounts(nParent + 2 + (int)b, pBands->GetAt(b).num, nCumulative);
    }
  }

  SaveBandNames();
  m_grid.Refresh();
}
