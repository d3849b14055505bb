// The command DTTest: the simulation warning, then the drive-test dialog.
#include "DTDlg.h"
#include "LevelmapApp.h"
#include "acutprint.h"

namespace {

// The command is transparent, so it could be typed at one of its own run's
// prompts; a second dialog on top of the first is refused.
BOOL g_bDriveTestRunning = FALSE;

}  // namespace

void CLevelmapApp::KXLevelmap_DTTest() {
  if (g_bDriveTestRunning) {
    acutPrintf(_T("\n路测仿真正在进行中，不能重复启动。\n"));
    return;
  }
  g_bDriveTestRunning = TRUE;

  acutPrintf(_T("\n该功能只是模拟，没有任何的理论作参考，请慎重使用！"));

  acDocManager->pushResourceHandle(theApp.GetModuleInstance());
  {
    CDTDlg dlg;
    dlg.DoModal();
  }
  acDocManager->popResourceHandle();

  g_bDriveTestRunning = FALSE;
}
