// The module's pop-up menu, built through the host's automation model: one
// item "Road Text" whose macro types "DTTest " into the command line.
#include "LevelmapApp.h"

#include "acadi.h"
#include "acutprint.h"
#include "rxmfcapi.h"
#include "stringapiset.h"

namespace {

VARIANT IntIndex(long nIndex) {
  VARIANT var;
  VariantInit(&var);
  var.vt = VT_I4;
  var.lVal = nIndex;
  return var;
}

}  // namespace

void CLevelmapApp::AddMenu() {
  IDispatch* pDisp = AcadGetIDispatch(TRUE);
  if (pDisp == NULL) return;
  IAcadApplication* pAcad = NULL;
  HRESULT hr = pDisp->QueryInterface(__uuidof(IAcadApplication), (void**)&pAcad);
  pDisp->Release();
  if (FAILED(hr) || pAcad == NULL) return;

  pAcad->put_Visible(VARIANT_TRUE);
  IAcadMenuBar* pMenuBar = NULL;
  IAcadMenuGroups* pMenuGroups = NULL;
  pAcad->get_MenuBar(&pMenuBar);
  pAcad->get_MenuGroups(&pMenuGroups);
  pAcad->Release();
  if (pMenuBar == NULL || pMenuGroups == NULL) {
    if (pMenuBar != NULL) pMenuBar->Release();
    if (pMenuGroups != NULL) pMenuGroups->Release();
    return;
  }

  long numberOfMenus = 0;
  pMenuBar->get_Count(&numberOfMenus);
  pMenuBar->Release();

  IAcadMenuGroup* pMenuGroup = NULL;
  pMenuGroups->Item(IntIndex(0), &pMenuGroup);
  pMenuGroups->Release();
  if (pMenuGroup == NULL) return;
  IAcadPopupMenus* pPopUpMenus = NULL;
  pMenuGroup->get_Menus(&pPopUpMenus);
  pMenuGroup->Release();
  if (pPopUpMenus == NULL) return;

  CString strTitle;
  strTitle.Format(_T("%s——Marlo"), _T("设计助手"));
  IAcadPopupMenu* pPopUpMenu = NULL;
  pPopUpMenus->Add((BSTR)(LPCTSTR)strTitle, &pPopUpMenu);

  if (pPopUpMenu != NULL) {
    // The label and the macro in the ANSI code page, converted to wide text.
    WCHAR wstrMenuName[256];
    WCHAR wstrMenuMacro[256];
    MultiByteToWideChar(CP_ACP, 0, "Road Text", -1, wstrMenuName, 256);
    MultiByteToWideChar(CP_ACP, 0, "DTTest ", -1, wstrMenuMacro, 256);
    IAcadPopupMenuItem* pPopUpMenuItem = NULL;
    pPopUpMenu->AddMenuItem(IntIndex(0), wstrMenuName, wstrMenuMacro, &pPopUpMenuItem);
    if (pPopUpMenuItem != NULL) pPopUpMenuItem->Release();
    pPopUpMenu->InsertInMenuBar(IntIndex(numberOfMenus - 2));
    pPopUpMenu->Release();
  } else {
    acutPrintf(_T("\nMenu not created."));
  }
  pPopUpMenus->Release();
}
