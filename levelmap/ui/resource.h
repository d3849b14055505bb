// Resource identifiers of the drive-test application module.
#pragma once

#include "afxwin.h"

#define IDI_MARLO 111          // the application's icon
#define IDB_BUTTONS 107        // the strip of the drive-test dialog's button images
#define IDD_ABOUTBOX 113       // the About dialog
#define IDC_STC_MAIL 113       // About: the mail link
#define IDC_STC_VERSION 114    // About: the version line
#define IDC_GRP_CONTACT 115    // About: the contact group box

// The drive-test dialog and its controls (the draw button is IDOK, the exit
// button IDCANCEL).
#define IDD_DTDLG 103
#define IDC_GRID 100             // the band table
#define IDC_PREVIEW1 101         // the preview of the first measurement type
#define IDC_PREVIEW2 102
#define IDC_PREVIEW3 103
#define IDC_BTN_WORD 104         // "输出到Word"
#define IDC_CBO_TYPE 105         // the network type
#define IDC_EDT_POINTCOUNT 106   // number of drive-test points
#define IDC_EDT_DRAWCOUNT 107    // number of points to draw
#define IDC_GRP_MAP 108
#define IDC_GRP_OPTIONS 109
#define IDC_GRP_DATA 110
#define IDC_BTN_ABOUT 112

// The preview's cursors: the default one, the one shown while orbiting and
// the one shown while panning.
#define IDC_PREVIEW_DEFAULT 39464
#define IDC_PREVIEW_ORBIT 40464
#define IDC_PREVIEW_PAN 41464

// The product's title and contact, shown by the About dialog; the family
// title goes with the product title into the host's main-window caption.
#define MARLO_PRODUCT_TITLE _T("路测仿真系统")
#define MARLO_FAMILY_TITLE _T("室内分布设计平台")
#define MARLO_PRODUCT_VERSION _T(" V1.0.0.1")
#define MARLO_CONTACT_MAIL _T("support@marlo-soft.cn")
#define MARLO_CONTACT_PHONE _T("电话：62781234")

// The resource handle of the module's own tables (dialog templates, icons).
HINSTANCE LevelmapResourceInstance();
