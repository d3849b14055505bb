// Saving and loading the grid as delimited text: one line per row, fields
// separated by one character; the first line holds the column headings.
#include <vector>

#include "GridCtrl.h"

BOOL CGridCtrl::Save(LPCTSTR filename, TCHAR chSeparator) {
  CStdioFile File;
  CFileException ex;
  if (!File.Open(filename, CFile::modeWrite | CFile::modeCreate | CFile::typeText, &ex)) {
    ex.ReportError();
    return FALSE;
  }
  try {
    for (int row = 0; row < GetRowCount(); ++row) {
      CString strLine;
      for (int col = 0; col < GetColumnCount(); ++col) {
        if (col > 0) strLine += chSeparator;
        strLine += GetItemText(row, col);
      }
      if (GetColumnCount() > 0) strLine += L'\n';
      File.WriteString(strLine);
    }
    File.Close();
  } catch (CFileException* e) {
    e->Delete();
    File.Abort();
    AfxMessageBox(L"Unable to save grid list");
    return FALSE;
  }
  return TRUE;
}

BOOL CGridCtrl::Load(LPCTSTR filename, TCHAR chSeparator) {
  if (GetVirtualMode()) return FALSE;

  CStdioFile File;
  CFileException ex;
  if (!File.Open(filename, CFile::modeRead | CFile::typeText, &ex)) {
    ex.ReportError();
    return FALSE;
  }

  // The whole file is read first; a file that cannot be read to its end
  // leaves the grid as it was. Lines may be of any length; fields may be
  // empty.
  std::vector<std::vector<CString>> arLines;
  try {
    CString strLine;
    while (File.ReadString(strLine)) {
      std::vector<CString> arFields;
      int nStart = 0;
      for (;;) {
        int nEnd = strLine.Find(chSeparator, nStart);
        arFields.push_back(nEnd < 0 ? strLine.Mid(nStart) : strLine.Mid(nStart, nEnd - nStart));
        if (nEnd < 0) break;
        nStart = nEnd + 1;
      }
      arLines.push_back(std::move(arFields));
    }
    File.Close();
  } catch (CException* e) {
    e->Delete();
    File.Abort();
    AfxMessageBox(L"Unable to load grid data");
    return FALSE;
  }

  BOOL bAllowDraw = m_bAllowDraw;
  m_bAllowDraw = FALSE;
  DeleteAllItems();
  if (!arLines.empty()) {
    for (const CString& strHeading : arLines.front()) InsertColumn(strHeading, GRID_LOAD_COLUMN_FORMAT, -1);
    for (size_t i = 1; i < arLines.size(); ++i) {
      const std::vector<CString>& arFields = arLines[i];
      int nRow = InsertRow(arFields.front(), -1);
      if (nRow < 0) continue;
      // Fields beyond the columns have nowhere to go.
      for (size_t field = 1; field < arFields.size() && static_cast<int>(field) < GetColumnCount(); ++field)
        SetItemText(nRow, static_cast<int>(field), arFields[field]);
    }
  }
  m_bAllowDraw = bAllowDraw;
  AutoSize(static_cast<UINT>(GetAutoSizeStyle()));
  return TRUE;
}
