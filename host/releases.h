// The CAD releases cadhost stands in for as an automation server: registry
// key, program identifier, class identifier, the product key (the value of
// CurVer) and the product name.
#pragma once

#include <string>
#include <vector>

#include "wintypes.h"

namespace host {

struct Release {
  std::wstring key;        // "R17.2"
  std::wstring progId;     // "AutoCAD.Application.17.2"
  CLSID clsid;
  std::wstring curVer;     // "ACAD-7001:804"
  std::wstring product;    // "AutoCAD 2009"
};

const std::vector<Release>& Releases();
// Null when there is no such release.
const Release* FindRelease(const std::wstring& key);
const Release* FindRelease(REFCLSID clsid);

// HKEY_CURRENT_USER paths of a release: its key, its product key, and the
// profile's general settings (where the support path is kept, value "ACAD").
std::wstring ReleaseKey(const Release& release);
std::wstring ProductKey(const Release& release);
std::wstring ProfileGeneralKey(const Release& release);

}  // namespace host
