// cadhost as an out-of-process automation server: the application object a
// client creates through the release's ProgID, and the preferences objects
// it hands out. Members of the application object by dispatch identifier:
//    1 Visible      get/put  the application's visible flag; showing makes the
//                            main window visible (without activating it)
//    7 Height       get      the main window's height in pixels
//    8 WindowLeft   get      its left edge, screen pixels
//   11 WindowTop    get      its top edge, screen pixels
//   13 Width        get      its width in pixels
//   14 Preferences  get      the preferences object (IAcadPreferences)
//   19 LoadArx      method   loads the module at the full path given; a path
//                            with no file is HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
//                            a module that does not load DISP_E_EXCEPTION
//                            with the loader's reason
//   24 Update       method   repaints the main window
//   25 ZoomAll      method   zooms the current view to the drawing's limits
//                            and extents
//   34 WindowState  get/put  1 normal, 2 minimised, 3 maximised
// The file preferences keep the support search path in the registry, under
// the release's profile (releases.h), so that a later session sees it.
#pragma once

#include <string>

#include "comserver.h"
#include "releases.h"
#include "unknwn.h"

namespace host {

// The support search path of a release's profile: the registry's value, or
// the host's own "support" folder when none was stored.
std::wstring SupportPath(const Release& release);
// Stores it; false when the registry refused.
bool SetSupportPath(const Release& release, const std::wstring& path);

// A new application object of the release, with one reference.
IDispatch* CreateApplicationObject(const Release& release);

// Zooms the current view to the limits and extents of the working drawing.
void ZoomAll();

// Runs the host as the server of the client that started it: offers the
// releases' class objects and serves until the client lets go. The main
// window stays hidden unless a client makes the application visible.
com::ServerEnd ServeAutomationClient();

}  // namespace host
