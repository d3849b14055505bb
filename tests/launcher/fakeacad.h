// A stand-in for the CAD host's application object inside the test process:
// it answers the launcher's calls, records each with the launcher dialog's
// caption at that moment, and fails where a test tells it to.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "acadprefs.h"
#include "afxwin.h"
#include "objbase.h"

namespace fakeacad {

struct Host {
  // What the launcher did, one entry per call: "24", "get 14", "put 1 -1",
  // "19 <path>", "files put <path>", each followed by " | <caption>".
  std::vector<std::string> calls;
  int created = 0;
  long live = 0;  // objects of the host alive
  // Failures: the result of a member (dispatch id), the n-th load failing
  // (1-based) with loadFailure, the preferences object without its
  // early-bound interface, the support-path write's result.
  std::map<DISPID, HRESULT> failures;
  int failingLoad = 0;
  HRESULT loadFailure = S_OK;
  bool prefsWithoutInterface = false;
  bool noPreferences = false;
  HRESULT putPathResult = S_OK;
  std::wstring supportPath = L"C:\\Acad\\Support";
  std::vector<std::wstring> loaded;
  bool visible = false;
  LONG windowState = 0;
  LONG left = 100, top = 20, width = 800;
  // The window whose caption is recorded with each call.
  HWND dialog = nullptr;
};

Host& State();
void Reset();

// Registers a class with the ProgID in this process; its objects report to
// State().
void RegisterClass(const CLSID& clsid, const wchar_t* progId);
void UnregisterClass(const CLSID& clsid);

}  // namespace fakeacad
