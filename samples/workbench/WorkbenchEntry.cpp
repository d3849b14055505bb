// Module entry of the workbench: registers the commands of the command files
// under the group "WORKBENCH" and removes them again on unload.
#include "Workbench.h"

#include "edcmdstack.h"
#include "rxdynlink.h"

static HINSTANCE g_hWorkbenchInstance = NULL;
static WorkbenchCommand* g_pFirstCommand = NULL;

WorkbenchCommand::WorkbenchCommand(const wchar_t* globalName, const wchar_t* localName, Handler handler)
    : m_globalName(globalName), m_localName(localName), m_handler(handler), m_pNext(g_pFirstCommand) {
  g_pFirstCommand = this;
}

WorkbenchCommand* WorkbenchCommand::First() { return g_pFirstCommand; }

HINSTANCE WorkbenchInstance() { return g_hWorkbenchInstance; }

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) g_hWorkbenchInstance = hInstance;
  else if (dwReason == DLL_PROCESS_DETACH) g_hWorkbenchInstance = NULL;
  return TRUE;
}

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      for (WorkbenchCommand* pCmd = WorkbenchCommand::First(); pCmd != NULL; pCmd = pCmd->m_pNext)
        acedRegCmds->addCommand(L"WORKBENCH", pCmd->m_globalName, pCmd->m_localName, ACRX_CMD_MODAL,
                                pCmd->m_handler);
      break;
    case AcRx::kUnloadAppMsg:
      acedRegCmds->removeGroup(L"WORKBENCH");
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __declspec(dllexport) Adesk::UInt32 acrxGetApiVersion() { return ACRX_API_VERSION; }
