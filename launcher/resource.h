// Resource identifiers of the launcher.
#pragma once

#include "afxwin.h"

#define IDR_MAINFRAME 128      // the application icon
#define IDD_KX_DIALOG 102      // the launcher dialog
#define IDC_CMB_VERSION 1000   // the CAD version list

// The product's title, shown in the dialog's caption after "Marlo".
#define MARLO_LAUNCHER_CAPTION _T("Marlo[路测仿真系统]")

// The resource handle of the launcher's own tables.
HINSTANCE LauncherResourceInstance();
