// The application object and the program start of class-library programs.
#include "afxwinapp.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "display.h"
#include "dlgscript.h"
#include "module.h"
#include "objbase.h"
#include "script.h"
#include "textconv.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;

const char* kUsage =
    "  --script FILE   read the user's lines from FILE instead of standard input\n"
    "  --out DIR       folder for snapshots (default: out)\n"
    "  --display[=NAME]  show the windows on the X display NAME (default: $DISPLAY) for a person;\n"
    "                  without it the program is headless and its user is the script\n"
    "  --help          show this text\n";

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  m_strAppName = lpszAppName ? lpszAppName : AfxGetAppName();
  m_pszAppName = m_strAppName.c_str();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_nExitCode = static_cast<int>(msg.wParam);
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
  HINSTANCE instance = AfxGetResourceHandle();
  if (!instance) instance = m_hInstance ? m_hInstance : ::GetModuleHandleW(nullptr);
  return ::LoadIconW(instance, lpszResourceName);
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : L"";
  m_pszRegistryKey = m_strRegistryKey.c_str();
  m_pszProfileName = m_pszAppName;
}

void CWinApp::OnHelp() { AfxMessageBox(L"No help is available for this program.", MB_OK | MB_ICONINFORMATION); }

CWinApp* AFXAPI AfxGetApp() { return g_app; }

CWnd* AFXAPI AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

int AFXAPI AfxWinMain(int argc, char** argv) {
  const char* program = argc > 0 && argv[0] ? argv[0] : "program";
  if (const char* slash = std::strrchr(program, '/')) program = slash + 1;
  std::string script;
  std::string out = "out";
  bool display = false;
  std::string displayName;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::printf("usage: %s [--script FILE] [--out DIR] [--display[=NAME]]\n%s", program, kUsage);
      return 0;
    }
    if (a == "--display" || a.rfind("--display=", 0) == 0) {
      display = true;
      displayName = a.size() > 9 ? a.substr(10) : "";
      continue;
    }
    if ((a == "--script" || a == "--out") && i + 1 < argc && argv[i + 1][0]) {
      (a == "--script" ? script : out) = argv[++i];
      continue;
    }
    std::fprintf(stderr, "%s: %s\nusage: %s [--script FILE] [--out DIR] [--display[=NAME]]\n%s", program,
                 (a == "--script" || a == "--out") ? ("option " + a + " needs a value").c_str()
                                                   : ("unknown option \"" + a + "\"").c_str(),
                 program, kUsage);
    return 2;
  }
  if (!script.empty()) {
    if (!user::Script::Instance().OpenFile(script)) {
      std::fprintf(stderr, "%s: cannot read the script \"%s\"\n", program, script.c_str());
      return 1;
    }
  } else if (display) {
    // The person at the display is the user; nothing is read from the terminal.
    user::Script::Instance().UseLines({});
  } else {
    user::Script::Instance().UseDescriptor(0);
  }
  win::SetSnapshotFolder(out);
  if (display) {
    std::string error;
    if (!win::display::Open(displayName, error)) {
      std::fprintf(stderr, "%s: %s\n", program, error.c_str());
      return 1;
    }
  }

  CWinApp* app = AfxGetApp();
  if (!app) {
    std::fprintf(stderr, "%s: the program has no application object\n", program);
    return 1;
  }
  app->m_hInstance = ::GetModuleHandleW(nullptr);
  int code;
  if (!app->InitApplication() || !app->InitInstance()) {
    if (app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd)) app->m_pMainWnd->DestroyWindow();
    code = app->ExitInstance();
  } else {
    code = app->Run();
  }
  win::display::Close();
  // A server that took over the script reads on; the program ends after it.
  com::WaitForHandedOverServers();
  return code;
}
