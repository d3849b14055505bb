// The exported global settings and reference tables of the CAD library, their
// filling from the configuration database, and the text helpers that go with them.
#include "GlobalVars.h"

#include <climits>
#include <cwchar>

#include "DBHelper.h"
#include "afxwin.h"
#include "textconv.h"

namespace {

CMenuArray* NewMenuArray() {
  CMenuArray* pMenu = new CMenuArray;
  pMenu->SetSize(0, 8);
  return pMenu;
}

}  // namespace

TCHAR CGlobalVars::g_CurPath[MAX_PATH] = {0};
CConfigMap CGlobalVars::g_mapConfig;
CStringArray CGlobalVars::g_arPLineName;
CPLineDataMap CGlobalVars::g_mapPLineData;
CStringArray CGlobalVars::g_arElementStatusName;
CElementStatusMap CGlobalVars::g_mapElementStatus;
CElementStatusOppMap CGlobalVars::g_mapElementStatusOpp;
CMenuArray* CGlobalVars::g_mMenu = NewMenuArray();
pldimdata CGlobalVars::g_pldDimData;
drowpldefpra CGlobalVars::g_praDrowPLDefPra;

namespace {

// The menu array lives as long as the module.
struct CMenuArrayOwner {
  ~CMenuArrayOwner() {
    delete CGlobalVars::g_mMenu;
    CGlobalVars::g_mMenu = NULL;
  }
} g_menuArrayOwner;

}  // namespace

int CGlobalVars::InitData() {
  if (!GetSysParam()) return 0;
  if (!CDBHelper::ReadMENU()) return 0;
  if (!CDBHelper::ReadPLineData()) return 0;
  if (!CDBHelper::ReadElementStatus()) return 0;
  GetPram();
  return 1;
}

int CGlobalVars::GetSysParam() {
  if (!CDBHelper::readConfigValue()) return 0;
  CString strValue;
  if (g_mapConfig.Lookup(_T("LPDIMDIS"), strValue)) {
    g_pldDimData.dimDistance = wcstod(strValue, NULL);
  } else {
    g_pldDimData.dimDistance = 1.0;
  }
  if (g_mapConfig.Lookup(_T("LPDIMROUND"), strValue)) {
    long nRound = wcstol(strValue, NULL, 10);
    g_pldDimData.dimRound = nRound > INT_MAX ? INT_MAX : (nRound < INT_MIN ? INT_MIN : (int)nRound);
  } else {
    g_pldDimData.dimRound = 2;
  }
  if (g_mapConfig.Lookup(_T("LPDIMSTYLE"), strValue)) {
    g_pldDimData.dimStyle = strValue;
  } else {
    g_pldDimData.dimStyle = _T("standard");
  }
  if (g_mapConfig.Lookup(_T("LPDIMUNIT"), strValue)) {
    g_pldDimData.dimUnit = strValue;
  } else {
    g_pldDimData.dimUnit = _T("M");
  }
  return 1;
}

void CGlobalVars::GetPram() {
  if (!g_praDrowPLDefPra.lineName.IsEmpty()) return;
  if (g_arPLineName.GetSize() > 0) g_praDrowPLDefPra.lineName = g_arPLineName.GetAt(0);
  if (g_arElementStatusName.GetSize() > 0) {
    int nId = 0;
    if (g_mapElementStatusOpp.Lookup(g_arElementStatusName.GetAt(0), nId)) g_praDrowPLDefPra.statusId = nId;
  }
  g_praDrowPLDefPra.typeCode = 1;
}

int CGlobalVars::SplitString(CString strText, CString strSeparator, CStringArray& arResult, int bKeepEmpty) {
  arResult.RemoveAll();
  CString strRest = strText;
  strRest.Trim();
  if (strRest.IsEmpty()) return 0;
  if (strSeparator.IsEmpty()) {
    arResult.Add(strRest);
    return 1;
  }
  int nSepLen = strSeparator.GetLength();
  for (;;) {
    int nPos = strRest.Find(strSeparator);
    if (nPos < 0) break;
    if (nPos == 0) {
      if (bKeepEmpty) arResult.Add(CString());
      strRest = strRest.Mid(nSepLen);
    } else {
      arResult.Add(strRest.Left(nPos));
      strRest = strRest.Mid(nPos + nSepLen);
    }
    strRest.TrimLeft();
  }
  if (!strRest.IsEmpty() || bKeepEmpty) arResult.Add(strRest);
  return (int)arResult.GetSize();
}

void CGlobalVars::SetWindownsText(CWnd* pWnd) {
  if (pWnd == NULL || !::IsWindow(pWnd->GetSafeHwnd())) return;
  CString strCaption;
  pWnd->GetWindowText(strCaption);
  pWnd->SetWindowText(CString(_T("Marlo")) + _T("-") + strCaption);
}

void CGlobalVars::ConvertUTF8toGB2312(CString strText, CString& strResult) {
  std::string bytes;
  for (int i = 0; i < strText.GetLength(); ++i) {
    wchar_t ch = strText.GetAt(i);
    if ((unsigned)ch > 0xFF) {
      strResult = strText;
      return;
    }
    bytes.push_back((char)(unsigned char)ch);
  }
  strResult = CString(std::wstring_view(win::Utf8ToWide(bytes)));
}
