// Resource identifiers of the drive-test application module.
#pragma once

#include "afxwin.h"

#define IDI_MARLO 111          // the application's icon
#define IDD_ABOUTBOX 113       // the About dialog
#define IDC_STC_MAIL 113       // About: the mail link
#define IDC_STC_VERSION 114    // About: the version line
#define IDC_GRP_CONTACT 115    // About: the contact group box

// The product's title and contact, shown by the About dialog.
#define MARLO_PRODUCT_TITLE _T("路测仿真系统")
#define MARLO_PRODUCT_VERSION _T(" V1.0.0.1")
#define MARLO_CONTACT_MAIL _T("support@marlo-soft.cn")
#define MARLO_CONTACT_PHONE _T("电话：62781234")

// The resource handle of the module's own tables (dialog templates, icons).
HINSTANCE LevelmapResourceInstance();
