// Extension-module records and the resource chain they form.
#include "afxdllx.h"

#include <algorithm>

#include "resourcetable.h"

namespace {

std::vector<CDynLinkLibrary*>& Chain() {
  static std::vector<CDynLinkLibrary*> chain;
  return chain;
}

UINT IdOf(LPCTSTR name) { return IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<uintptr_t>(name)) : 0; }

bool ModuleHolds(HINSTANCE instance, UINT id, UINT type) {
  for (const win::ResourceTable* table : win::TablesOfModule(instance)) {
    switch (type) {
      case 5:  // RT_DIALOG
        if (table->FindDialog(id)) return true;
        break;
      case 6:  // RT_STRING
        if (table->FindString(id)) return true;
        break;
      case 2:  // RT_BITMAP
        if (table->FindImage(id, IMAGE_BITMAP)) return true;
        break;
      case 3:
      case 14:  // RT_ICON, RT_GROUP_ICON
        if (table->FindImage(id, IMAGE_ICON)) return true;
        break;
      case 1:
      case 12:  // RT_CURSOR, RT_GROUP_CURSOR
        if (table->FindImage(id, IMAGE_CURSOR)) return true;
        break;
      default:
        break;
    }
  }
  return false;
}

}  // namespace

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (state.bInitialized) return TRUE;
  if (!hModule) return FALSE;
  state.hModule = hModule;
  state.hResource = hModule;
  state.bInitialized = TRUE;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*bAll*/) {
  if (!state.bInitialized) return;
  std::vector<CDynLinkLibrary*> mine;
  for (CDynLinkLibrary* dll : Chain())
    if (dll->m_hModule == state.hModule) mine.push_back(dll);
  for (CDynLinkLibrary* dll : mine) delete dll;  // each takes itself off the chain
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
  Chain().push_back(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE) {
  Chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() { std::erase(Chain(), this); }

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  UINT id = IdOf(lpszName);
  UINT type = IdOf(lpszType);
  HINSTANCE current = AfxGetResourceHandle();
  if (ModuleHolds(current, id, type)) return current;
  for (CDynLinkLibrary* dll : Chain())
    if (ModuleHolds(dll->m_hResource, id, type)) return dll->m_hResource;
  return current;
}

namespace win {
std::vector<HINSTANCE> ExtensionModuleChain() {
  std::vector<HINSTANCE> handles;
  for (CDynLinkLibrary* dll : Chain()) handles.push_back(dll->m_hResource);
  return handles;
}
}  // namespace win
