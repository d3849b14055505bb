// The launcher application's start: the library's set-up, then the dialog.
#include "KX.h"

#include "KXDlg.h"
#include "afxdisp.h"
#include "commctrl.h"

CKXApp::CKXApp() {}

BOOL CKXApp::InitInstance() {
  INITCOMMONCONTROLSEX InitCtrls;
  InitCtrls.dwSize = sizeof(InitCtrls);
  InitCtrls.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&InitCtrls);

  CWinApp::InitInstance();
  AfxEnableControlContainer();
  SetRegistryKey(_T("Local AppWizard-Generated Applications"));
  // The launcher's dialog template and icon are in its own tables.
  AfxSetResourceHandle(LauncherResourceInstance());

  CKXDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = NULL;
  // The dialog has closed: the program ends instead of running a message loop.
  return FALSE;
}
