// The drive-test run behind the draw button: range and route picked in the
// drawing with the dialog hidden, points simulated along the route.
#include "DTDlg.h"

#include "PointSimulation.h"

void CDTDlg::OnDrawDriveTest() {
  // Leaving a count field runs its validation first.
  m_btnDraw.SetFocus();
  if (m_bNameChanged) SaveBandNames();

  BeginEditorCommand();
  ShowWindow(SW_HIDE);

  ResetBandQuotas();
  AcDbObjectIdArray rangeIds;
  SimulateRoutePoints(m_nPointCount, (double)m_nDrawCount / (double)m_nPointCount, m_levelMap, m_extRange,
                      rangeIds);
  g_routePoints.removeAll();

  CompleteEditorCommand(TRUE);
  ShowWindow(SW_SHOW);
}
