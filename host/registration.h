// cadhost's registration as the automation server of the releases it stands
// in for. Registering a release writes:
//   HKCU\Software\Autodesk\AutoCAD\<release>            CurVer = <product key>
//   HKCU\Software\Autodesk\AutoCAD\<release>\<product>  ProductName
//   HKCR\<ProgID>                                       (default) = "AutoCAD Application"
//   HKCR\<ProgID>\CLSID                                 (default) = {class id}
//   HKCR\CLSID\{class id}                               (default) = "AutoCAD Application"
//   HKCR\CLSID\{class id}\ProgID                        (default) = <ProgID>
//   HKCR\CLSID\{class id}\LocalServer32                 (default) = "<host path>" --automation
// Unregistering removes those keys, the product key with the profile the
// host kept below it (the support path), the CurVer value when it is the
// one registering wrote, and the release key when nothing else is left in it.
#pragma once

#include <string>
#include <vector>

#include "releases.h"

namespace host {

// The command line the runtime starts the host with: its own path (Windows
// form, quoted) and --automation.
std::wstring AutomationCommandLine();

// Registers or unregisters the releases; one line per release on standard
// output. False (with the reason on standard error) when the registry
// refused a change.
bool RegisterReleases(const std::vector<const Release*>& releases);
bool UnregisterReleases(const std::vector<const Release*>& releases);

}  // namespace host
