// A module for the end-to-end runs: the command PROBEDLG opens a small dialog
// (an edit, a label, a combo box, a dark box) and prints what was entered.
#include "acutprint.h"
#include "dlgscript.h"
#include "edcmdstack.h"
#include "rxdynlink.h"
#include "windows.h"

namespace {

constexpr UINT IDD_PROBE = 300;
constexpr int IDC_COUNT = 1000, IDC_LABEL = 1001, IDC_NET = 1002, IDC_BOX = 1003;

const win::ResourceTable kResources{
    {win::DialogResource{IDD_PROBE,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 160, 90, L"Probe", L"Tahoma", 8,
                         {{L"Static", L"数量", IDC_LABEL, 7, 9, 40, 8, SS_LEFT, 0},
                          {L"Edit", L"", IDC_COUNT, 50, 7, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
                          {L"ComboBox", L"", IDC_NET, 50, 25, 60, 80, CBS_DROPDOWNLIST | WS_TABSTOP, 0},
                          {L"Static", L"", IDC_BOX, 120, 7, 30, 30, SS_BLACKRECT, 0},
                          {L"Button", L"确定", IDOK, 55, 70, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}}}};

wchar_t g_count[64];

INT_PTR CALLBACK ProbeProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) {
    for (const wchar_t* net : {L"GSM", L"WCDMA"}) SendDlgItemMessageW(dlg, IDC_NET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(net));
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    GetDlgItemTextW(dlg, IDC_COUNT, g_count, 64);
    EndDialog(dlg, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ProbeCommand() {
  INT_PTR rc = DialogBoxParamW(kResources.Instance(), MAKEINTRESOURCEW(IDD_PROBE), nullptr, ProbeProc, 0);
  acutPrintf(L"\ndialog %d, count [%s]\n", static_cast<int>(rc), g_count);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  if (msg == AcRx::kInitAppMsg) {
    acrxDynamicLinker->unlockApplication(appId);
    acedRegCmds->addCommand(L"PROBE", L"PROBEDLG", L"PROBEDLG", ACRX_CMD_MODAL, ProbeCommand);
  } else if (msg == AcRx::kUnloadAppMsg) {
    acedRegCmds->removeGroup(L"PROBE");
  }
  return AcRx::kRetOK;
}

extern "C" __declspec(dllexport) Adesk::UInt32 acrxGetApiVersion() { return ACRX_API_VERSION; }
