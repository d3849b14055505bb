// A module for the host's tests: registers a few commands that use the
// prompts and reports its messages on the command line.
#include "acutprint.h"
#include "edcmdstack.h"
#include "edprompt.h"
#include "rxdynlink.h"
#include "windows.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) acutPrintf(L"\n[attach]\n");
  if (reason == DLL_PROCESS_DETACH) acutPrintf(L"\n[detach]\n");
  return TRUE;
}

static void PointCommand() {
  ads_point p;
  int rc = acedGetPoint(nullptr, L"\nFirst point: ", p);
  acutPrintf(L"\nrc=%d", rc);
  if (rc != RTNORM) return;
  acutPrintf(L" %.2f,%.2f,%.2f", p[0], p[1], p[2]);
  ads_point q;
  rc = acedGetCorner(p, L"\nOther corner: ", q);
  acutPrintf(L"\nrc=%d", rc);
  if (rc == RTNORM) acutPrintf(L" %.2f,%.2f,%.2f", q[0], q[1], q[2]);
}

static void AskCommand() {
  int n = 0;
  acedInitGet(RSG_NONEG, L"Auto Quit");
  int rc = acedGetInt(L"\nCount or [Auto/Quit]: ", &n);
  if (rc == RTKWORD) {
    ACHAR kw[133];
    acedGetInput(kw);
    acutPrintf(L"\nkeyword %s", kw);
  } else {
    acutPrintf(L"\nrc=%d n=%d", rc, n);
  }
  ACHAR text[133];
  rc = acedGetString(1, L"\nName: ", text);
  acutPrintf(L"\nrc=%d name=[%s]", rc, rc == RTNORM ? text : L"");
  double d = 0;
  rc = acedGetReal(L"\nSpacing: ", &d);
  acutPrintf(L"\nrc=%d d=%.3f", rc, d);
}

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      acedRegCmds->addCommand(L"HOSTTEST", L"_PTEST", L"PTEST", ACRX_CMD_MODAL, PointCommand);
      acedRegCmds->addCommand(L"HOSTTEST", L"_ASK", L"Frage", ACRX_CMD_MODAL, AskCommand);
      acutPrintf(L"\n[init]\n");
      break;
    case AcRx::kUnloadAppMsg:
      acedRegCmds->removeGroup(L"HOSTTEST");
      acutPrintf(L"\n[unload]\n");
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __declspec(dllexport) Adesk::UInt32 acrxGetApiVersion() { return ACRX_API_VERSION; }
