// Extension modules of the class library: a module that shares the class
// library with its host initialises its module record once when it attaches
// and puts a dynamic-link-library record on the process's resource chain, so
// that resource searches see the module's own resources; it terminates the
// record when it detaches, which takes its records off the chain again.
#pragma once

#include <vector>

#include "afxwin.h"

// Resource types, as numbers.
#ifndef RT_CURSOR
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#endif

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};

// Initialises the record for the module once (a second call only answers
// TRUE). FALSE when no module is given.
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the module's records on the resource chain and marks the record
// uninitialised. bAll is accepted for the original's signature; there is one
// user-interface thread, so every record of the module goes.
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One entry of the resource chain, made with new by the module on attach and
// deleted by AfxTermExtensionModule (or by the caller).
class CDynLinkLibrary : public CCmdTarget {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  ~CDynLinkLibrary() override;
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
};

// The first of the current resource handle and the chain's resource handles
// (in the order the records were made) whose tables hold the resource; the
// current resource handle when none does. lpszType is RT_DIALOG, RT_STRING,
// RT_BITMAP, RT_ICON or RT_CURSOR (RT_GROUP_ICON and RT_GROUP_CURSOR too).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

namespace win {
// The resource handles of the chain's records, oldest first.
std::vector<HINSTANCE> ExtensionModuleChain();
}  // namespace win
