#include "rxarxapp.h"

#include <cwchar>

#include "winuser.h"

AcRx::AppRetCode AcRxArxApp::On_kInitAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxDbxApp::On_kInitAppMsg(pkt);
  CreateCustomClasses();
  m_nRegistered = 0;
  for (const AcRxArxCommandEntry* p = GetCommandTable(); p && p->pszCmdGlobalName; ++p) {
    // The local name comes from the module's strings when an id is given.
    const ACHAR* pszLocal = p->pszCmdLocalName;
    wchar_t szLocal[256] = {0};
    if (p->localNameID != 0 && ::LoadStringW(m_hdllInstance, p->localNameID, szLocal, 256) > 0) pszLocal = szLocal;
    HINSTANCE hResource = (p->commandFlags & ACRX_CMD_SESSION) ? nullptr : m_hdllInstance;
    if (acedRegCmds->addCommand(p->pszCmdGroupName, p->pszCmdGlobalName, pszLocal, p->commandFlags, p->pCmdFct,
                                p->pUIContext, -1, hResource) == Acad::eOk)
      ++m_nRegistered;
  }
  return result;
}

AcRx::AppRetCode AcRxArxApp::On_kUnloadAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxDbxApp::On_kUnloadAppMsg(pkt);
  DeleteCustomClasses();
  for (const AcRxArxCommandEntry* p = GetCommandTable(); p && p->pszCmdGlobalName; ++p)
    acedRegCmds->removeCmd(p->pszCmdGroupName, p->pszCmdGlobalName);
  return result;
}
