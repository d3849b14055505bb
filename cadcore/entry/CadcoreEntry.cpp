// Process entry of the shared CAD library: remembers the module instance,
// refuses the load when the COM module could not initialise, and keeps
// CGlobalVars::g_CurPath, the module's own folder, up to date.
#include "afx.h"
#include "CadcoreApp.h"
#include "GlobalVars.h"
#include "splitpath.h"

static HINSTANCE g_hCadcoreInstance = NULL;
extern CCadcoreApp theApp;

// Drive and folder of the module file, with the trailing backslash.
static void UpdateCurPath(HINSTANCE hInstance) {
  TCHAR szFullPath[MAX_PATH] = {0};
  if (GetModuleFileNameW(hInstance, szFullPath, MAX_PATH - 1) == 0) return;
  TCHAR szDrive[_MAX_DRIVE] = {0};
  TCHAR szDir[_MAX_DIR] = {0};
  TCHAR szName[_MAX_FNAME] = {0};
  TCHAR szExt[_MAX_EXT] = {0};
  _wsplitpath(szFullPath, szDrive, szDir, szName, szExt);
  CString strPath = CString(szDrive) + szDir;
  int nLength = strPath.GetLength() < MAX_PATH - 1 ? strPath.GetLength() : MAX_PATH - 1;
  wmemcpy(CGlobalVars::g_CurPath, strPath.GetString(), nLength);
  CGlobalVars::g_CurPath[nLength] = 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    g_hCadcoreInstance = hInstance;
    theApp.SetModuleInstance(hInstance);
    _AtlModule.m_hInstance = hInstance;
    if (_AtlModule.m_bInitFailed) return FALSE;
  } else if (dwReason == DLL_PROCESS_DETACH) {
    g_hCadcoreInstance = NULL;
  }
  UpdateCurPath(hInstance);
  return TRUE;
}
