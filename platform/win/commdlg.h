// The common print dialog. PrintDlgW either takes the default printer
// without showing anything (PD_RETURNDEFAULT) or shows a modal "Print"
// dialog that the scripted user answers: the printer's name, which is the
// PDF file it writes, in edit control 1139, then OK (1) or Cancel (2).
#pragma once

#include "winspool.h"
#include "winuser.h"

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
