// The drive-test dialog's handlers: the two count fields and their
// validation, the network type, the About button, closing, and the band
// table operations the dialog runs on its own collections.
#include "DTDlg.h"

#include "About.h"
#include "PointSimulation.h"
#include "wstdlib.h"

namespace {

// The number a field holds, read as the user typed it: leading digits
// (after an optional sign), 0 when there are none.
int FieldNumber(CWnd& field) {
  CString strText;
  field.GetWindowText(strText);
  return _wtoi(strText);
}

CString FormatCount(int nCount) {
  CString strText;
  strText.Format(_T("%i"), nCount);
  return strText;
}

}  // namespace

BOOL CDTDlg::LoadBandTable() {
  CString strNetType;
  int nSel = m_cboType.GetSafeHwnd() != NULL ? m_cboType.GetCurSel() : CB_ERR;
  if (nSel != CB_ERR) m_cboType.GetLBText(nSel, strNetType);
  return CLevelBandTable::LoadBandTable(strNetType, m_nPointCount, m_levelMap, m_typeNames);
}

void CDTDlg::SaveBandNames() { CLevelBandTable::SaveBandNames(m_levelMap, m_typeNames); }

void CDTDlg::ResetBandQuotas() { ::ResetBandQuotas(m_levelMap); }

void CDTDlg::OnPointCountChanged() {
  int nValue = FieldNumber(m_editPointCount);
  if (nValue < 1) {
    m_editPointCount.SetWindowText(_T("2000"));
    nValue = DT_DEFAULT_POINT_COUNT;
  } else if (nValue > DT_MAX_POINT_COUNT) {
    // Quietly corrected like the other out-of-range counts: no run makes
    // more points than this, and no product of counts can overflow.
    nValue = DT_MAX_POINT_COUNT;
    m_editPointCount.SetWindowText(FormatCount(nValue));
  }
  m_nPointCount = nValue;

  if (FieldNumber(m_editDrawCount) > m_nPointCount) {
    m_editDrawCount.SetWindowText(FormatCount(m_nPointCount));
    m_nDrawCount = m_nPointCount;
  }
  FillStatisticsGrid();
}

void CDTDlg::OnDrawCountChanged() {
  int nValue = FieldNumber(m_editDrawCount);
  if (nValue < 1) nValue = DT_DEFAULT_POINT_COUNT;
  m_nDrawCount = nValue < m_nPointCount ? nValue : m_nPointCount;
  CString strText;
  m_editDrawCount.GetWindowText(strText);
  CString strCount = FormatCount(m_nDrawCount);
  if (strText != strCount) m_editDrawCount.SetWindowText(strCount);
}

void CDTDlg::OnTypeChanged() {
  ResetPreviews();
  UpdateData(FALSE);
  FillStatisticsGrid();
  UpdateData(FALSE);
}

void CDTDlg::OnExit() {
  CleanUp();
  OnOK();
}

void CDTDlg::OnClose() {
  CleanUp();
  CAcUiDialog::OnClose();
}

void CDTDlg::OnAbout() {
  CAbout dlg;
  dlg.DoModal();
}
