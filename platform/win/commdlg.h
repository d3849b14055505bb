// The common file dialogs: GetOpenFileNameW and GetSaveFileNameW, a simple
// dialog of the window system (a file name field over a list of the folder's
// matching files). Like every dialog it runs modally: on a display a person
// answers it, without one the scripted user's window lines do.
#pragma once

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
