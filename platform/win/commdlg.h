// The common dialogs. GetOpenFileNameW and GetSaveFileNameW: a simple dialog
// of the window system (a file name field over a list of the folder's
// matching files). PrintDlgW either takes the default printer without showing
// anything (PD_RETURNDEFAULT) or shows a modal "Print" dialog: the printer's
// name, which is the PDF file it writes, in edit control 1139, then OK (1) or
// Cancel (2). Like every dialog they run modally: on a display a person
// answers them, without one the scripted user's window lines do.
#pragma once

#include "winspool.h"
#include "winuser.h"

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000

// The file name field and the list of files of the dialog.
#define IDC_FILEDLG_NAME 1152
#define IDC_FILEDLG_LIST 1088
#define IDC_FILEDLG_FOLDER 1089

struct OPENFILENAMEW {
  DWORD lStructSize = sizeof(OPENFILENAMEW);
  HWND hwndOwner = nullptr;
  HINSTANCE hInstance = nullptr;
  LPCWSTR lpstrFilter = nullptr;  // "Name\0*.a;*.b\0...\0\0"; the first pair is used
  LPWSTR lpstrCustomFilter = nullptr;
  DWORD nMaxCustFilter = 0;
  DWORD nFilterIndex = 0;
  LPWSTR lpstrFile = nullptr;  // in: the name to start with; out: the full path
  DWORD nMaxFile = 0;
  LPWSTR lpstrFileTitle = nullptr;
  DWORD nMaxFileTitle = 0;
  LPCWSTR lpstrInitialDir = nullptr;
  LPCWSTR lpstrTitle = nullptr;
  DWORD Flags = 0;
  WORD nFileOffset = 0;
  WORD nFileExtension = 0;
  LPCWSTR lpstrDefExt = nullptr;
};
using LPOPENFILENAMEW = OPENFILENAMEW*;

// TRUE with the chosen file's full Windows path in lpstrFile; FALSE when the
// dialog was cancelled or the path does not fit nMaxFile.
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_RETURNDC 0x00000100
#define PD_RETURNDEFAULT 0x00000400
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_HIDEPRINTTOFILE 0x00100000

// The print dialog's printer-name field.
#define IDC_PRINTER_NAME 1139

typedef struct tagPDW {
  DWORD lStructSize;
  HWND hwndOwner;
  HGLOBAL hDevMode;   // a DEVMODEW
  HGLOBAL hDevNames;  // a DEVNAMES block
  HDC hDC;
  DWORD Flags;
  WORD nFromPage;
  WORD nToPage;
  WORD nMinPage;
  WORD nMaxPage;
  WORD nCopies;
  HINSTANCE hInstance;
  LPARAM lCustData;
} PRINTDLGW, PRINTDLG, *LPPRINTDLGW, *LPPRINTDLG;

// TRUE when a printer was chosen (and, with PD_RETURNDC, its context made);
// FALSE when the user cancelled or there is no printer.
BOOL PrintDlgW(LPPRINTDLGW pd);
DWORD CommDlgExtendedError();

// The printer names of a DEVNAMES block: driver, device (the printer) and
// output port. A new block for them (GlobalFree it), and the device read back.
HGLOBAL MakeDevNames(LPCWSTR driver, LPCWSTR device, LPCWSTR port, BOOL isDefault);
BOOL DevNamesDevice(HGLOBAL devNames, LPWSTR buffer, int size);

#define PrintDlg PrintDlgW
