// The releases the host stands in for and their registry paths.
#include "releases.h"

#include "unknwn.h"

namespace host {

const std::vector<Release>& Releases() {
  static const std::vector<Release> releases = {
      // {854106B2-EFED-4A65-99E8-E56B905A0381}
      {L"R17.0", L"AutoCAD.Application.17",
       {0x854106B2, 0xEFED, 0x4A65, {0x99, 0xE8, 0xE5, 0x6B, 0x90, 0x5A, 0x03, 0x81}}, L"ACAD-5001:804",
       L"AutoCAD 2007"},
      // {B9B3E1EB-2718-4AEF-BD00-685A354028C5}
      {L"R17.1", L"AutoCAD.Application.17.1",
       {0xB9B3E1EB, 0x2718, 0x4AEF, {0xBD, 0x00, 0x68, 0x5A, 0x35, 0x40, 0x28, 0xC5}}, L"ACAD-6001:804",
       L"AutoCAD 2008"},
      // {28C99DC6-D846-4177-8818-BA6AD64D537F}
      {L"R17.2", L"AutoCAD.Application.17.2",
       {0x28C99DC6, 0xD846, 0x4177, {0x88, 0x18, 0xBA, 0x6A, 0xD6, 0x4D, 0x53, 0x7F}}, L"ACAD-7001:804",
       L"AutoCAD 2009"},
  };
  return releases;
}

const Release* FindRelease(const std::wstring& key) {
  for (const Release& r : Releases())
    if (r.key == key) return &r;
  return nullptr;
}

const Release* FindRelease(REFCLSID clsid) {
  for (const Release& r : Releases())
    if (com::SameGuid(r.clsid, clsid)) return &r;
  return nullptr;
}

std::wstring ReleaseKey(const Release& release) { return L"Software\\Autodesk\\AutoCAD\\" + release.key; }

std::wstring ProductKey(const Release& release) { return ReleaseKey(release) + L"\\" + release.curVer; }

std::wstring ProfileGeneralKey(const Release& release) {
  return ProductKey(release) + L"\\Profiles\\<<Unnamed Profile>>\\General";
}

}  // namespace host
