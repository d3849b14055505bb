// The common print dialog: the default printer without a window, or the
// modal "Print" dialog in which the scripted user names the printer (the PDF
// file it writes) and presses OK or Cancel.
#include <cstring>
#include <string>
#include <vector>

#include "commdlg.h"
#include "dlgscript.h"

namespace win {
namespace {

DWORD g_lastError = 0;

// The dialog's state while it is up.
struct PrintDialogState {
  std::wstring printer;
};

INT_PTR CALLBACK PrintDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<PrintDialogState*>(lParam);
      SetWindowLongPtrW(hDlg, GWLP_USERDATA, lParam);
      SetDlgItemTextW(hDlg, IDC_PRINTER_NAME, state->printer.c_str());
      return TRUE;
    }
    case WM_COMMAND: {
      auto* state = reinterpret_cast<PrintDialogState*>(GetWindowLongPtrW(hDlg, GWLP_USERDATA));
      int id = LOWORD(wParam);
      if (id == IDOK && state) {
        wchar_t name[1024] = {0};
        GetDlgItemTextW(hDlg, IDC_PRINTER_NAME, name, 1024);
        state->printer = name;
        // No printer has an empty name: the dialog stays.
        if (state->printer.find_first_not_of(L" \t") == std::wstring::npos) return TRUE;
        EndDialog(hDlg, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

DialogResource PrintDialogTemplate() {
  DialogResource tmpl;
  tmpl.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  tmpl.cx = 260;
  tmpl.cy = 66;
  tmpl.caption = L"Print";
  tmpl.fontFace = L"MS Shell Dlg";
  tmpl.pointSize = 8;
  tmpl.items = {{L"Static", L"Printer (PDF file):", -1, 7, 9, 70, 10, SS_LEFT, 0},
                {L"Edit", L"", IDC_PRINTER_NAME, 78, 7, 175, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
                {L"Static", L"A4, 600 dpi, all pages", -1, 78, 24, 175, 10, SS_LEFT, 0},
                {L"Button", L"OK", IDOK, 148, 45, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
                {L"Button", L"Cancel", IDCANCEL, 203, 45, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0}};
  return tmpl;
}

std::wstring DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  std::vector<wchar_t> buffer(size + 1, 0);
  if (!GetDefaultPrinterW(buffer.data(), &size)) return {};
  return buffer.data();
}

}  // namespace
}  // namespace win

using namespace win;

HGLOBAL MakeDevNames(LPCWSTR driver, LPCWSTR device, LPCWSTR port, BOOL isDefault) {
  std::wstring strDriver = driver ? driver : L"", strDevice = device ? device : L"", strPort = port ? port : L"";
  const size_t header = (sizeof(DEVNAMES) + sizeof(wchar_t) - 1) / sizeof(wchar_t);
  size_t chars = header + strDriver.size() + 1 + strDevice.size() + 1 + strPort.size() + 1;
  if (chars > 0xFFFF) return nullptr;
  HGLOBAL block = GlobalAlloc(GHND, chars * sizeof(wchar_t));
  if (!block) return nullptr;
  auto* base = static_cast<wchar_t*>(GlobalLock(block));
  auto* names = reinterpret_cast<DEVNAMES*>(base);
  size_t at = header;
  auto put = [&](const std::wstring& s, WORD& offset) {
    offset = static_cast<WORD>(at);
    wmemcpy(base + at, s.c_str(), s.size() + 1);
    at += s.size() + 1;
  };
  put(strDriver, names->wDriverOffset);
  put(strDevice, names->wDeviceOffset);
  put(strPort, names->wOutputOffset);
  names->wDefault = isDefault ? DN_DEFAULTPRN : 0;
  GlobalUnlock(block);
  return block;
}

BOOL DevNamesDevice(HGLOBAL devNames, LPWSTR buffer, int size) {
  if (!devNames || !buffer || size <= 0) return FALSE;
  SIZE_T bytes = GlobalSize(devNames);
  auto* base = static_cast<const wchar_t*>(GlobalLock(devNames));
  if (!base) return FALSE;
  const auto* names = reinterpret_cast<const DEVNAMES*>(base);
  size_t chars = bytes / sizeof(wchar_t);
  BOOL ok = FALSE;
  if (names->wDeviceOffset < chars) {
    const wchar_t* device = base + names->wDeviceOffset;
    size_t len = wcsnlen(device, chars - names->wDeviceOffset);
    if (len < static_cast<size_t>(size) && names->wDeviceOffset + len < chars) {
      wmemcpy(buffer, device, len);
      buffer[len] = 0;
      ok = TRUE;
    }
  }
  GlobalUnlock(devNames);
  return ok;
}

DWORD CommDlgExtendedError() { return g_lastError; }

BOOL PrintDlgW(LPPRINTDLGW pd) {
  g_lastError = 0;
  if (!pd) return FALSE;
  // The printer chosen last time (or given by the caller), else the default.
  std::wstring printer;
  wchar_t given[1024] = {0};
  if (!(pd->Flags & PD_RETURNDEFAULT) && DevNamesDevice(pd->hDevNames, given, 1024)) printer = given;
  if (printer.empty()) printer = DefaultPrinterName();
  if (printer.empty()) return FALSE;

  if (!(pd->Flags & PD_RETURNDEFAULT)) {
    PrintDialogState state{printer};
    DialogResource tmpl = PrintDialogTemplate();
    HWND dlg = CreateDialogFromTemplate(tmpl, nullptr, pd->hwndOwner, PrintDialogProc,
                                        reinterpret_cast<LPARAM>(&state));
    if (!dlg) return FALSE;
    if (RunModalLoop(dlg) != IDOK) return FALSE;
    printer = state.printer;
  }
  if (pd->hDevNames) GlobalFree(pd->hDevNames);
  pd->hDevNames = MakeDevNames(L"WINSPOOL", printer.c_str(), L"", (pd->Flags & PD_RETURNDEFAULT) != 0);
  if (!pd->hDevMode) {
    pd->hDevMode = GlobalAlloc(GHND, sizeof(DEVMODEW));
    if (auto* dm = static_cast<DEVMODEW*>(GlobalLock(pd->hDevMode))) {
      wcsncpy(dm->dmDeviceName, printer.c_str(), CCHDEVICENAME - 1);
      dm->dmSize = sizeof(DEVMODEW);
      dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_YRESOLUTION | DM_COPIES;
      dm->dmOrientation = DMORIENT_PORTRAIT;
      dm->dmPaperSize = DMPAPER_A4;
      dm->dmPrintQuality = dm->dmYResolution = 600;
      dm->dmCopies = 1;
      GlobalUnlock(pd->hDevMode);
    }
  }
  if (pd->Flags & PD_RETURNDC) {
    auto* dm = static_cast<const DEVMODEW*>(GlobalLock(pd->hDevMode));
    pd->hDC = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, dm);
    GlobalUnlock(pd->hDevMode);
    if (!pd->hDC) return FALSE;
  }
  return TRUE;
}
