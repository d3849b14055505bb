// The grid's cells as plain text on the clipboard: copy, cut, paste and
// clearing the selected cells.
#include <vector>

#include "GridCtrl.h"

namespace {

std::string ToCodePage(const CString& text) {
  if (text.IsEmpty()) return {};
  int nBytes = ::WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(std::max(nBytes, 0)), '\0');
  if (nBytes > 0) ::WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), bytes.data(), nBytes, nullptr, nullptr);
  return bytes;
}

CString FromCodePage(const char* bytes, int nLength) {
  if (nLength <= 0) return CString();
  int nChars = ::MultiByteToWideChar(CP_ACP, 0, bytes, nLength, nullptr, 0);
  if (nChars <= 0) return CString();
  std::wstring text(static_cast<size_t>(nChars), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes, nLength, text.data(), nChars);
  return CString(text.c_str(), nChars);
}

// The first tab or comma at or after nStart, or -1.
int FindSeparator(const CString& strLine, int nStart) {
  int nTab = strLine.Find(L'\t', nStart), nComma = strLine.Find(L',', nStart);
  if (nTab < 0) return nComma;
  if (nComma < 0) return nTab;
  return std::min(nTab, nComma);
}

}  // namespace

HGLOBAL CGridCtrl::CopySelectedTextToGlobal() {
  CCellRange Selection = GetSelectedCellRange();
  if (!IsValid(Selection)) return nullptr;

  std::vector<int> arRows;
  for (int row = Selection.GetMinRow(); row <= Selection.GetMaxRow(); ++row)
    if (GetRowHeight(row) > 0) arRows.push_back(row);
  if (arRows.empty()) return nullptr;

  HGLOBAL hMem = nullptr;
  try {
    CSharedFile sf(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT);
    for (size_t i = 0; i < arRows.size(); ++i) {
      int row = arRows[i];
      CString str;
      bool bFirst = true;
      for (int col = Selection.GetMinCol(); col <= Selection.GetMaxCol(); ++col) {
        if (GetColumnWidth(col) <= 0 || !IsCellSelected(row, col)) continue;
        if (!bFirst) str += L'\t';
        str += GetItemText(row, col);
        bFirst = false;
      }
      if (i + 1 < arRows.size()) str += L"\r\n";
      std::string bytes = ToCodePage(str);
      if (!bytes.empty()) sf.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    char chTerminator = 0;
    sf.Write(&chTerminator, 1);
    hMem = sf.Detach();
  } catch (CException* e) {
    e->Delete();
    return nullptr;
  }
  return hMem;
}

BOOL CGridCtrl::CopyTextToClipboard() {
  // Without a selection (selecting switched off, say) the clipboard keeps
  // what it holds.
  HGLOBAL hMem = CopySelectedTextToGlobal();
  if (!hMem) return FALSE;
  if (!::OpenClipboard(m_hWnd)) {
    ::GlobalFree(hMem);
    return FALSE;
  }
  ::EmptyClipboard();
  BOOL bResult = ::SetClipboardData(CF_TEXT, hMem) != nullptr;
  if (!bResult) ::GlobalFree(hMem);
  ::CloseClipboard();
  return bResult;
}

BOOL CGridCtrl::ClearSelectedText() {
  if (!IsEditable()) return FALSE;
  std::vector<CCellID> arCells(m_SelectedCellMap.begin(), m_SelectedCellMap.end());
  for (const CCellID& cell : arCells)
    if (IsValid(cell) && IsCellEditable(cell.row, cell.col)) PasteTextToCell(cell.row, cell.col, L"");
  return TRUE;
}

BOOL CGridCtrl::CutSelectedText() {
  if (!IsEditable()) return FALSE;
  if (!CopyTextToClipboard()) return FALSE;
  return ClearSelectedText();
}

BOOL CGridCtrl::PasteTextFromClipboard(CCellID cell, BOOL bSelectPastedCells) {
  if (!IsEditable() || !IsValid(cell) || !IsCellEditable(cell.row, cell.col)) return FALSE;
  if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(m_hWnd)) return FALSE;
  CString strText;
  BOOL bHaveText = FALSE;
  if (HANDLE hMem = ::GetClipboardData(CF_TEXT)) {
    if (auto* pBytes = static_cast<const char*>(::GlobalLock(hMem))) {
      SIZE_T nSize = ::GlobalSize(hMem);
      SIZE_T nLength = 0;
      while (nLength < nSize && pBytes[nLength]) ++nLength;
      strText = FromCodePage(pBytes, static_cast<int>(nLength));
      ::GlobalUnlock(hMem);
      bHaveText = TRUE;
    }
  }
  ::CloseClipboard();
  if (!bHaveText) return FALSE;
  return PasteTextToGrid(cell, strText, bSelectPastedCells);
}

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, LPCTSTR szText, BOOL bSelectPastedCells) {
  if (!IsEditable() || !IsValid(cell) || !IsCellEditable(cell.row, cell.col) || !szText) return FALSE;

  // Lines end at "\n" (a "\r" before it goes too); one empty last line, as
  // a copied block ends with, is no line of its own.
  std::vector<CString> arLines;
  CString strText = szText;
  int nStart = 0;
  for (;;) {
    int nEnd = strText.Find(L'\n', nStart);
    CString strLine = nEnd < 0 ? strText.Mid(nStart) : strText.Mid(nStart, nEnd - nStart);
    if (!strLine.IsEmpty() && strLine[strLine.GetLength() - 1] == L'\r') strLine = strLine.Left(strLine.GetLength() - 1);
    arLines.push_back(strLine);
    if (nEnd < 0) break;
    nStart = nEnd + 1;
  }
  if (arLines.size() > 1 && arLines.back().IsEmpty()) arLines.pop_back();

  int nRow = cell.row, nMaxRow = cell.row, nMaxCol = cell.col;
  for (const CString& strLine : arLines) {
    while (nRow < m_nRows && GetRowHeight(nRow) <= 0) ++nRow;
    if (nRow >= m_nRows) break;
    int nCol = cell.col;
    int nFieldStart = 0;
    for (;;) {
      int nFieldEnd = FindSeparator(strLine, nFieldStart);
      while (nCol < m_nCols && GetColumnWidth(nCol) <= 0) ++nCol;
      if (nCol >= m_nCols) break;
      CString strField = nFieldEnd < 0 ? strLine.Mid(nFieldStart) : strLine.Mid(nFieldStart, nFieldEnd - nFieldStart);
      // A read-only cell inside the pasted block keeps its text.
      if (IsCellEditable(nRow, nCol)) PasteTextToCell(nRow, nCol, strField);
      nMaxCol = std::max(nMaxCol, nCol);
      ++nCol;
      if (nFieldEnd < 0) break;
      nFieldStart = nFieldEnd + 1;
    }
    nMaxRow = nRow;
    ++nRow;
  }
  if (bSelectPastedCells) SetSelectedRange(cell.row, cell.col, nMaxRow, nMaxCol, TRUE);
  Refresh();
  return TRUE;
}
