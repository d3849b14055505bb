// The module's application object: message handlers, the command table, the
// caption and icon of the host's main window.
#include "LevelmapApp.h"

#include "acedframe.h"
#include "resource.h"

IMPLEMENT_ARX_ENTRYPOINT(CLevelmapApp)

AcApDataManager<CDocData> DocVars;

namespace {

const AcRxArxCommandEntry kCommands[] = {
    {_T("KXLevelmap"), _T("_DT"), _T("DTTest"), ACRX_CMD_TRANSPARENT, &CLevelmapApp::KXLevelmap_DTTest, NULL, 0},
    {NULL, NULL, NULL, 0, NULL, NULL, 0}};

}  // namespace

CString LevelmapMainCaption() {
  CString strCaption;
  strCaption.Format(_T("Marlo[%s__%s]"), MARLO_FAMILY_TITLE, MARLO_PRODUCT_TITLE);
  return strCaption;
}

const AcRxArxCommandEntry* CLevelmapApp::GetCommandTable() const { return kCommands; }

AcRx::AppRetCode CLevelmapApp::On_kInitAppMsg(void* pkt) {
  AcRx::AppRetCode retCode = AcRxArxApp::On_kInitAppMsg(pkt);

  AddMenu();

  CWnd* pMainWnd = acedGetAcadFrame();
  if (pMainWnd != NULL) {
    pMainWnd->SetWindowText(LevelmapMainCaption());
    HICON hIcon = ::LoadIcon(m_hdllInstance, MAKEINTRESOURCE(IDI_MARLO));
    if (hIcon == NULL) hIcon = ::LoadIcon(LevelmapResourceInstance(), MAKEINTRESOURCE(IDI_MARLO));
    pMainWnd->SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
  }
  return retCode;
}

AcRx::AppRetCode CLevelmapApp::On_kUnloadAppMsg(void* pkt) { return AcRxArxApp::On_kUnloadAppMsg(pkt); }
