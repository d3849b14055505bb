// The drive-test dialog's previews and its clean-up: the Word button's
// message, and what closing the dialog releases (band collections, the
// reference drawing and its file "lc.dwg").
#include "DTDlg.h"

#include "TextDialog.h"
#include "fileapi.h"
#include "filefind.h"

int CDTDlg::ResetPreviews() { return 1; }

void CDTDlg::OnExportWord() {
  CTextDialog dlg(this, _T("功能完善中......"), TD_INFORMATION_ICON, FALSE);
  dlg.DoModal();
}

void CDTDlg::ReleaseDialogData() {
  if (!m_levelMap.IsEmpty()) CLevelBandTable::ClearBandMap(m_levelMap);
  if (m_typeNames.GetSize() > 0) m_typeNames.RemoveAll();

  if (m_pRefDb != NULL) {
    m_pRefDb->closeInput(true);
    delete m_pRefDb;
    m_pRefDb = NULL;
  }

  CString strPath = RefDrawingPath();
  CFileFind finder;
  if (finder.FindFile(strPath)) {
    finder.Close();
    ::DeleteFileW(strPath);
  }
  m_bCleanedUp = TRUE;
}

void CDTDlg::CleanUp() { ReleaseDialogData(); }
