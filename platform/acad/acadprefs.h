// The CAD host's preferences in its automation model: the preferences
// object (IAcadPreferences) and its file preferences (IAcadPreferencesFiles)
// with the support search path. Both are dual interfaces whose own methods
// follow the four IDispatch entries of the function table in the order
// declared here, so that a client in another process calls them by slot:
//   IAcadPreferences       7 get_Application  8 get_Files
//   IAcadPreferencesFiles  7 get_Application  8 put_SupportPath  9 get_SupportPath
// Their marshallers are registered with the COM runtime when this library
// loads, on the client's side and the host's alike. The host implements them.
#pragma once

#include "comutil.h"
#include "unknwn.h"
#include "wintypes.h"

struct IAcadPreferencesFiles : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Application(IDispatch** application) = 0;
  // Replaces the support search path: folders separated by ";".
  virtual HRESULT put_SupportPath(BSTR path) = 0;
  // The support search path; a BSTR the caller frees.
  virtual HRESULT get_SupportPath(BSTR* path) = 0;
};

struct IAcadPreferences : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Application(IDispatch** application) = 0;
  virtual HRESULT get_Files(IAcadPreferencesFiles** files) = 0;
};

extern const IID IID_IAcadPreferences;
extern const IID IID_IAcadPreferencesFiles;
