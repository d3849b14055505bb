// Printing and scaled drawing: the map modes that scale logical units to
// device units, and printer device contexts. A printer here writes PDF: it is
// named by the PDF file it writes (a Windows or POSIX path), its pages are
// A4 at 600 dots per inch unless a DEVMODE says otherwise, and a document
// goes to the printer's file or to DOCINFO's lpszOutput when that is given.
#pragma once

#include "wingdi.h"

// Map modes beyond MM_TEXT.
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

int GetMapMode(HDC hdc);
BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE old);
BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE old);
BOOL GetWindowExtEx(HDC hdc, LPSIZE ext);
BOOL GetViewportExtEx(HDC hdc, LPSIZE ext);

// More device capabilities.
#define TECHNOLOGY 2
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113

// Printer settings.
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_PAPERLENGTH 0x00000004L
#define DM_PAPERWIDTH 0x00000008L
#define DM_COPIES 0x00000100L
#define DM_PRINTQUALITY 0x00000400L
#define DM_YRESOLUTION 0x00002000L
#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2
#define DMPAPER_LETTER 1
#define DMPAPER_LEGAL 5
#define DMPAPER_A3 8
#define DMPAPER_A4 9
#define DMPAPER_A5 11

typedef struct _devicemodeW {
  WCHAR dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmOrientation;
  short dmPaperSize;
  short dmPaperLength;  // tenths of a millimetre
  short dmPaperWidth;
  short dmScale;
  short dmCopies;
  short dmDefaultSource;
  short dmPrintQuality;  // dots per inch across
  short dmColor;
  short dmDuplex;
  short dmYResolution;  // dots per inch down
  short dmTTOption;
  short dmCollate;
  WCHAR dmFormName[CCHFORMNAME];
} DEVMODEW, DEVMODE, *LPDEVMODEW, *LPDEVMODE;

// The names of a printer, in one block after this header (offsets in
// characters from the start of the block).
typedef struct tagDEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

typedef struct _DOCINFOW {
  int cbSize;
  LPCWSTR lpszDocName;
  LPCWSTR lpszOutput;  // a file to print to instead of the printer's own
  LPCWSTR lpszDatatype;
  DWORD fwType;
} DOCINFOW, DOCINFO, *LPDOCINFOW, *LPDOCINFO;

#define SP_ERROR (-1)

// A printer device context; `device` names the printer (the PDF file it
// writes). Null for a device that is no printer.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW* devMode);
// A job number above 0, or SP_ERROR (the file cannot be written, a document
// is already open).
int StartDocW(HDC hdc, const DOCINFOW* docInfo);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
// Completes the PDF file; SP_ERROR when it could not be written whole.
int EndDoc(HDC hdc);
// Drops the document: its file is removed.
int AbortDoc(HDC hdc);
// The default printer's name: $MARLO_PRINTER, else print.pdf in the
// snapshot folder (as a Windows path). `size` counts characters with the
// terminator; too small a buffer fails with the size needed.
BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size);

#define CreateDC CreateDCW
#define StartDoc StartDocW
#define GetDefaultPrinter GetDefaultPrinterW
