// The module's resources: dialog templates and images, as tables in its code.
#include "resource.h"

#include "LevelmapImages.h"
#include "resourcetable.h"

namespace {

// Template 103: the drive-test dialog, laid out in dialog units of "Tahoma" 8.
win::DialogResource DriveTestTemplate() {
  const DWORD kGroup = BS_GROUPBOX;
  const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
  return win::DialogResource{
      IDD_DTDLG,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
      0, 0, 0, 569, 397, MARLO_PRODUCT_TITLE, L"Tahoma", 8,
      {{L"Button", L"路测分析数据", IDC_GRP_DATA, 7, 2, 315, 344, kGroup, 0},
       {L"MFCGridCtrl", L"自定义1", IDC_GRID, 14, 14, 301, 326, WS_TABSTOP, 0},
       {L"Button", L"选项", IDC_GRP_OPTIONS, 7, 349, 211, 41, kGroup, 0},
       {L"Static", L"路测点数：", -1, 19, 362, 41, 8, SS_LEFT, 0},
       {L"Edit", L"", IDC_EDT_POINTCOUNT, 62, 360, 50, 12, WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 0},
       {L"Static", L"绘制点数：", -1, 19, 377, 41, 8, SS_LEFT, 0},
       {L"Edit", L"", IDC_EDT_DRAWCOUNT, 62, 375, 50, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
       {L"Static", L"路测类型：", -1, 119, 362, 41, 8, SS_LEFT, 0},
       {L"ComboBox", L"", IDC_CBO_TYPE, 161, 360, 50, 30, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0},
       {L"Button", L"绘制路测图", IDOK, 235, 366, 29, 24, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
       {L"Button", L"输出到Word", IDC_BTN_WORD, 264, 366, 29, 24, kButton, 0},
       {L"Button", L"退出", IDCANCEL, 293, 366, 29, 24, kButton, 0},
       {L"Button", L"Button1", IDC_BTN_ABOUT, 293, 346, 29, 20, kButton, 0},
       {L"Button", L"路测图", IDC_GRP_MAP, 327, 2, 235, 388, kGroup, 0},
       {L"Static", L"静态", IDC_PREVIEW1, 333, 14, 223, 120, SS_SUNKEN, 0},
       {L"Static", L"静态", IDC_PREVIEW2, 333, 139, 223, 117, SS_SUNKEN, 0},
       {L"Static", L"静态", IDC_PREVIEW3, 333, 261, 223, 123, SS_SUNKEN, 0}}};
}

const win::ResourceTable kLevelmapResources{
    {win::DialogResource{IDD_ABOUTBOX,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 186, 125, MARLO_PRODUCT_TITLE, L"Tahoma", 8,
                         {{L"Static", MARLO_PRODUCT_TITLE MARLO_PRODUCT_VERSION, IDC_STC_VERSION,
                           51, 12, 83, 8, SS_LEFT, 0},
                          {L"Button", L"联系方式", IDC_GRP_CONTACT, 7, 56, 172, 38, BS_GROUPBOX, 0},
                          {L"Static", MARLO_CONTACT_MAIL, IDC_STC_MAIL, 53, 67, 89, 8, SS_LEFT | SS_NOTIFY, 0},
                          {L"Static", MARLO_CONTACT_PHONE, -1, 53, 79, 64, 8, SS_LEFT, 0},
                          {L"Button", L"确定", IDOK, 67, 102, 50, 16, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}},
     DriveTestTemplate()},
    {},
    {win::ImageResource{IDI_MARLO, IMAGE_ICON, kLevelmapIconPng, kLevelmapIconPngSize, 0, 0, {}},
     win::ImageResource{IDB_BUTTONS, IMAGE_BITMAP, kLevelmapButtonsPng, kLevelmapButtonsPngSize, 0, 0, {}},
     win::ImageResource{IDC_PREVIEW_DEFAULT, IMAGE_CURSOR, kLevelmapCursorDefaultPng, kLevelmapCursorDefaultPngSize,
                        0, 0, {}},
     win::ImageResource{IDC_PREVIEW_ORBIT, IMAGE_CURSOR, kLevelmapCursorOrbitPng, kLevelmapCursorOrbitPngSize, 0, 0,
                        {}},
     win::ImageResource{IDC_PREVIEW_PAN, IMAGE_CURSOR, kLevelmapCursorPanPng, kLevelmapCursorPanPngSize, 0, 0, {}}}};

}  // namespace

HINSTANCE LevelmapResourceInstance() { return kLevelmapResources.Instance(); }
