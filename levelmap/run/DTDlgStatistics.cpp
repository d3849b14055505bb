// The statistics table of the drive-test dialog.
#include "DTDlg.h"

#include "BandStatistics.h"

void CDTDlg::FillStatisticsGrid() {
  m_grid.DeleteAllItems();
  m_grid.SetColumnCount(7);
  m_grid.Refresh();
  LoadBandTable();
}

void CDTDlg::OnGridBeginEdit(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CDTDlg::OnGridEndEdit(NMHDR*, LRESULT* pResult) { *pResult = 0; }
